#pragma once

#include <QCommandLineParser>
#include <QStringList>

// A job run from the command line: its options, the shared start (configuration, connection
// settings) and its exit code: 0 done, 1 failed, 2 refused (options or inputs that cannot be
// used, a job another workstation is running). Output goes to standard output, errors and
// refusals to standard error.
class OrdenDeConsola {
public:
    virtual ~OrdenDeConsola() = default;

    // Runs the subcommand named first in the arguments; -1 when there is none.
    static int Ejecuta(const QStringList& argumentos);

protected:
    virtual void defineOpciones(QCommandLineParser& opciones) = 0;
    // Runs the job once the configuration is loaded; returns the exit code.
    virtual int ejecuta(const QCommandLineParser& opciones) = 0;

    static void Escribe(const QString& texto);
    static int Falla(const QString& texto);
    static bool LeeFecha(const QCommandLineParser& opciones, const QString& nombre, QDate& fecha);
    static bool LeeNumero(const QCommandLineParser& opciones, const QString& nombre,
                          double& numero);
    // --imprimir and --pdf CARPETA, shared by the reprint jobs.
    static void DefineImpresion(QCommandLineParser& opciones);
    // Prints the working copies when --imprimir was given, to PDF when --pdf names a folder;
    // returns the exit code: 0 when nothing was asked or every copy was printed.
    static int ImprimeSiSePide(const QCommandLineParser& opciones, class Conexion& cnn,
                               const QString& trabajo);
    // Opens the main database of the configuration; false after saying why.
    static bool AbreBase(class Conexion& cnn);
};
