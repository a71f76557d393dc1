#pragma once

#include <QCommandLineParser>
#include <QStringList>
#include <optional>

class Conexion;
class CorridaDetenida;

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
    // --imprimir, --pdf CARPETA, --pdf-unico ARCHIVO and --desde-remision FOLIO, shared by the
    // reprint jobs.
    static QList<QCommandLineOption> OpcionesDeImpresion();
    // --pdf, --pdf-unico or --desde-remision without --imprimir, or --pdf and --pdf-unico
    // together, are refused: false after saying so.
    static bool ImpresionCoherente(const QCommandLineParser& opciones);
    // Says what a database or file error means and what to do, then its number, text and
    // statement; returns 1.
    static int FallaPorError(const class ErrorOrvlib& error);
    // "No hay remisiones con esos datos".
    static QString SinRemisiones() { return QStringLiteral("No hay remisiones con esos datos"); }
    // Prints the working copies when --imprimir was given, to PDF when --pdf names a folder or
    // to one PDF when --pdf-unico names a file, from the folio --desde-remision names of the
    // job's stopped run; returns the exit code: 0 when nothing was asked or every copy was
    // printed. A run that stops is kept for --desde-remision.
    static int ImprimeSiSePide(const QCommandLineParser& opciones, class Conexion& cnn,
                               const QString& trabajo);
    // Where --desde-remision goes on from; Rechazo when the job has no stopped run, the
    // working copies are not the ones it printed, or none has the folio.
    static std::optional<CorridaDetenida> DesdeLaRemision(const QCommandLineParser& opciones,
                                                          Conexion& cnn, const QString& trabajo);
    // Opens the main database of the configuration; false after saying why.
    static bool AbreBase(class Conexion& cnn);
    // Opens the main database and takes the reprint lock of it for the whole run; 0, or the
    // exit code after saying why not.
    static int AbreParaReimprimir(class Conexion& cnn, class CandadoDeReimpresion& candado);
};
