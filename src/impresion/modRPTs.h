#pragma once

#include "impresion/FormatoDeLaCorrida.h"
#include "reporteador/ControlDeReporte.h"

#include <QByteArray>
#include <QPrinterInfo>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class Conexion;

// Prints report templates kept in the host's reportesbin table through the report engine: writes
// the template out into the process's scratch folder, points its tables at the working tables
// and the print's auxiliary file, drops formulas the template lacks, picks the printer the
// host's Orvane.ini names for it and runs the engine on the template of a print run
// once it is ready (FormatoDeLaCorrida; PlantillaDeLaCorrida writes it out and removes it). Its
// settings are module-wide, one print at a time. A print that the engine could not produce throws
// ErrorOrvlib with the engine's number and text and the template's name.
class modRPTs {
public:
    static modRPTs& actual();

    ControlDeReporte crpReport;

    QString stArchivoReporte;
    qint16 inDestino = 0;
    QString stSeleccion;
    QString stControlador;
    QString stImpresora;
    QString stPuerto;
    std::array<QString, 21> stFormulas;
    QVector<qint32> lnPosiciones{0}; // element 0 unused, as the listing counts from 1
    qint16 inPosicionesGenerales = 0;
    qint16 inReintento = 0;

    // The note's bookmark in a run's one PDF.
    QString stMarcador;

    void InicializaReporte();
    // Prints the run's template with the settings above, its tables pointed at the working
    // tables and the auxiliary file.
    void ImprimeFormato(const FormatoDeLaCorrida& plantilla, const QString& seleccion,
                        const QString& rutaAuxiliar, const QString& tablaEncabezadoFormato,
                        const QString& tablaEncabezado, const QString& tablaDetalleFormato,
                        const QString& tablaDetalle);

    // Writes the stored file of that name into the folder; an empty folder means the process's
    // scratch folder, which is then given back in carpeta with a trailing separator.
    static void ExtraeFormato(Conexion& conexion, const QString& archivo, QString& carpeta,
                              const QString& tabla);
    qint16 TablasDelFormato(QString archivo, QStringList& tablas);
    // The table entries of a template's bytes from a position (from 1), each once, and, when
    // asked, the positions of its Generales entries appended.
    static void ListaTablas(const QByteArray& datos, qsizetype inicio, QStringList& tablas,
                            QVector<qint32>* posicionesGenerales);
    static QString InterpretaTabla(const QByteArray& ventana);
    static bool ExisteFormula(QString archivo, const QString& nombre);
    static bool ExisteFormulaEn(const QByteArray& datos, const QString& nombre);
    void ImpresoraDelFormato(const QString& nombre, QString& impresora);
    // Driver, device and port of the installed printer the host's ini names for the template;
    // empty when none is named or installed. nombrada, when given, gets the name in the ini.
    static std::array<QString, 3> ImpresoraDe(const QString& nombre, QString* nombrada = nullptr);
    // The installed printer of that name, letter case aside; null when there is none.
    static QPrinterInfo ImpresoraInstalada(const QString& nombre);

    // What the user is shown for a print the engine could not produce: the formulas the
    // template may lack, or "Error no. N: description".
    static QString TextoDelError(const class ErrorOrvlib& e);
    static inline const QString kFormulasQueFaltan =
        QStringLiteral("Es posible que una de estas fórmulas no exista en el formato:");

    // The connect text the engine gets: "DSN=myodbc3-test;SERVER=…;DB=…;UID=…;PWD=…;".
    static QString TextoDeConexion();
    // The table location of one template table entry ("A Generales", "M remisiones").
    static QString UbicacionDeTabla(const QString& entrada, const QString& rutaAuxiliar,
                                    const QString& tablaEncabezadoFormato,
                                    const QString& tablaEncabezado,
                                    const QString& tablaDetalleFormato,
                                    const QString& tablaDetalle);
    // The same with the database a table without one is read from.
    static QString UbicacionDeTabla(const QString& entrada, const QString& rutaAuxiliar,
                                    const QString& tablaEncabezadoFormato,
                                    const QString& tablaEncabezado,
                                    const QString& tablaDetalleFormato, const QString& tablaDetalle,
                                    const QString& base);

private:
    struct Tablas {
        const QString& rutaAuxiliar;
        const QString& encabezadoFormato;
        const QString& encabezado;
        const QString& detalleFormato;
        const QString& detalle;
    };
    void ejecutaUnaVez(const FormatoDeLaCorrida& plantilla, const Tablas& tablas);
    void asignaTablas(const QStringList& entradas, const Tablas& tablas);
    void asignaFormulas(const FormatoDeLaCorrida& plantilla);
    void asignaTrabajo();
};
