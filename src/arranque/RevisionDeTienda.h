#pragma once

#include "tienda/PermisosDeLaTienda.h"

#include <QString>
#include <QStringList>

class Conexion;

// The checks «configura» makes before it writes and «verifica» makes of a set-up, in the same
// words: each gives "" when the piece is right, else what is wrong and one thing to do that
// mends it.
class RevisionDeTienda {
public:
    // The account the program runs as, and whether it is root.
    static QString Cuenta();
    static uint IdDeLaCuenta();
    static bool EsRoot();
    // The account that owns the home folder ($HOME) when it is not this one, else "".
    static QString DuenoDeOtraCasa();
    // "" unless the account runs with another account's home (sudo -E keeps HOME): then that
    // nothing was done, and the order (as the terminal takes it) run as that account.
    static QString OtraCasa(const QString& orden);
    // "sudo -u ana ORDEN (donde no hay sudo, como root: runuser -u ana -- ORDEN)".
    static QString ComoLaCuenta(const QString& cuenta, const QString& orden);
    // A value as the shell takes it whole.
    static QString ParaLaTerminal(const QString& valor);
    // A file the program writes (descripcion says which: "El archivo de orígenes ODBC"): the file
    // and its folder writable by this account, or the folder one it can make.
    static QString ArchivoEscribible(const QString& archivo, const QString& descripcion);
    // The pieces configura writes, in the order it checks them.
    enum class Pieza { CarpetaDeOrvane, Programa, Instalaciones, Origenes };
    struct Revision {
        Pieza pieza;
        QString problema; // "" when the piece is right
    };
    // The one table of the file checks: configura refuses the first problem, verifica says
    // each under its piece.
    static QVector<Revision> Archivos(const QString& carpetaOrvane, bool escribeOrvaneIni);
    static QString Problema(const QVector<Revision>& revisiones, Pieza pieza);
    // The host folder: a folder this account can write (or make), not another account's folder
    // with the sticky bit, and its Orvane.ini readable and, when escribeOrvaneIni, writable.
    static QString CarpetaDeOrvane(const QString& carpeta, bool escribeOrvaneIni);
    // How to give the host folder to a group of the clerks, as advice that follows a fault.
    static QString ComoCompartir(const QString& carpeta);
    // The MariaDB or MySQL ODBC driver: registered and its library loadable; its name in
    // nombre.
    static QString Controlador(QString* nombre = nullptr);
    // What the account lacks of what the program needs, with the GRANT statements that give it;
    // the invoice job's privileges count only when the menu shows that job.
    static QString Permisos(const QVector<PermisosDeLaTienda::Falta>& faltas, bool conFacturas,
                            const QString& usuario, const QString& cuenta);
    // The invoice job's privileges the account lacks while the job is hidden, as a note.
    static QString PermisosSoloParaFacturas(const QVector<PermisosDeLaTienda::Falta>& faltas);
    // The two files every print needs, fmtRemision.rpt and Auxiliar.MDB, that the store's
    // reportesbin lacks.
    static QStringList PlantillasQueFaltan(Conexion& cnn);
    // Whether the program's ini shows the invoice job in the menu (Mostrar reprocesamiento=1).
    static bool ConFacturas(const QString& archivoIni);
};
