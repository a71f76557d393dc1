#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class Conexion;
class LibroDeImpresion;
class PlanDeImpresion;

// A job run from the command line: its options, the shared start (configuration, connection
// settings) and its exit code: 0 done, 1 failed, 2 refused (options or inputs that cannot be
// used, a job another workstation is running). Output goes to standard output, errors and
// refusals to standard error.
class OrdenDeConsola {
public:
    virtual ~OrdenDeConsola() = default;

    // Runs the subcommand named first in the arguments; -1 when there is none.
    static int Ejecuta(const QStringList& argumentos);
    // The program's own help: every subcommand with its synopsis.
    static QString AyudaGeneral();

protected:
    // "tope --desde DD/MM/AAAA …": the subcommand and its required options.
    virtual QString sinopsis() const = 0;
    virtual QString descripcion() const = 0;
    virtual QList<QCommandLineOption> opciones() const = 0;
    // Whether the job needs the program's configuration loaded before it runs; the commands
    // that set it up or check it do not.
    virtual bool necesitaConfiguracion() const { return true; }
    // Whether the job itself refuses a run with another account's home (configura, which
    // gives the whole set-up to run as that account); the others are refused before they start.
    virtual bool revisaLaCasaPorSuCuenta() const { return false; }
    // Runs the job; returns the exit code.
    virtual int ejecuta(const QCommandLineParser& opciones) = 0;

    // The subcommand's help, in Spanish: synopsis, description, options and exit codes.
    QString ayuda() const;

    static void Escribe(const QString& texto);
    static int Falla(const QString& texto);
    static bool LeeFecha(const QCommandLineParser& opciones, const QString& nombre, QDate& fecha);
    static bool LeeNumero(const QCommandLineParser& opciones, const QString& nombre,
                          double& numero);
    // A delivery note's folio: a whole number from 1 to 2,147,483,647 (digit groups allowed),
    // as the windows take it; anything else is refused, false after saying so.
    static bool LeeFolio(const QCommandLineParser& opciones, const QString& nombre, qint64& folio);
    // The run's exit code, made 1 (after saying so) when the trail lost a line of a job that
    // went well: what the job did stands, only its record is missing.
    static int ConSuBitacora(int codigo);
    // --imprimir, --pdf CARPETA, --pdf-unico ARCHIVO, --continuar, --desde-remision FOLIO and
    // --omitir-pendientes, shared by the reprint jobs.
    static QList<QCommandLineOption> OpcionesDeImpresion();
    // The printing options without --imprimir, --pdf with --pdf-unico, --continuar with
    // --desde-remision, or --omitir-pendientes without --desde-remision, are refused: false
    // after saying so.
    static bool ImpresionCoherente(const QCommandLineParser& opciones);
    // Says what a database or file error means and what to do, then its number, text and
    // statement; returns 1.
    static int FallaPorError(const class ErrorOrvlib& error);
    // "No hay remisiones con esos datos".
    static QString SinRemisiones() { return QStringLiteral("No hay remisiones con esos datos"); }
    // Prints the working copies when --imprimir was given (the job's run of those parameters;
    // its name in the trail, "tope imprimir (consola)"), to PDF when --pdf names a folder or to
    // one PDF when --pdf-unico names a file: all of them, or with --continuar the notes of the
    // job's last run that did not print, or with --desde-remision that run's notes from that
    // folio on. Says what it will print first. Returns the exit code: 0 when nothing was asked
    // or every note printed; 1 when a note failed, waits in a queue or the run stopped.
    static int ImprimeSiSePide(const QCommandLineParser& opciones, class Conexion& cnn,
                               const QString& trabajo, const QString& parametros);
    // The plan the options ask for; Rechazo when there is nothing to go on with, the working
    // copies are not the last run's, no note has the folio, or notes that never printed would
    // be left out without --omitir-pendientes.
    static PlanDeImpresion PlanPedido(const QCommandLineParser& opciones, Conexion& cnn,
                                      LibroDeImpresion& libro, const QString& trabajo,
                                      const QString& parametros);
    // A file named on the command line, taken from the folder the command was run in: reading
    // the configuration makes the program folder the current one.
    static QString RutaDada(const QString& ruta);
    // Opens the main database of the configuration; false after saying why.
    static bool AbreBase(class Conexion& cnn);
    // Opens the main database and takes the reprint lock of it for the whole run; 0, or the
    // exit code after saying why not.
    static int AbreParaReimprimir(class Conexion& cnn, class CandadoDeReimpresion& candado);
};
