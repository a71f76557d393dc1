#pragma once

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
// host's Orvane.ini names for it and runs the engine. Its settings are module-wide, one print
// at a time. A print that the engine could not produce throws ErrorOrvlib with the engine's
// number and text and the template's name; the extracted template is removed in every case.
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

    // A print run of one template: before the first document the template is written out with
    // its images, read and checked against the store (every table, field, formula and image it
    // names) and the data source is connected, once; every print of that template until
    // TerminaCorrida uses them. Throws ErrorOrvlib with the template's name and its problems,
    // or the cause of a refused connection; then nothing of the run is left.
    void IniciaCorrida(Conexion& conexionHost, const QString& archivoFormato);
    void TerminaCorrida();

    void InicializaReporte();
    void ImprimeFormato(const QString& archivoFormato, const QString& seleccion,
                        Conexion& conexionHost, const QString& rutaAuxiliar,
                        const QString& tablaEncabezadoFormato, const QString& tablaEncabezado,
                        const QString& tablaDetalleFormato, const QString& tablaDetalle);
    void EjecutaReporte(Conexion& conexionHost, const QString& rutaAuxiliar,
                        const QString& tablaEncabezadoFormato, const QString& tablaEncabezado,
                        const QString& tablaDetalleFormato, const QString& tablaDetalle);

    // Writes the stored file of that name into the folder; an empty folder means the process's
    // scratch folder, which is then given back in carpeta with a trailing separator.
    static void ExtraeFormato(Conexion& conexion, const QString& archivo, QString& carpeta,
                              const QString& tabla);
    qint16 TablasDelFormato(QString archivo, QStringList& tablas);
    static QString InterpretaTabla(const QByteArray& ventana);
    static bool ExisteFormula(QString archivo, const QString& nombre);
    void ImpresoraDelFormato(const QString& nombre, QString& impresora);
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
    // The written-out template of the run in progress, its images and the printer it goes to.
    QString formatoDeCorrida_;
    QStringList imagenesDeCorrida_;
    bool impresoraDeCorridaLeida_ = false;
    std::array<QString, 3> impresoraDeCorrida_;
    // The first listing of the run's template: its entries and where its Generales entries are.
    QStringList tablasDeCorrida_;
    QVector<qint32> posicionesDeCorrida_;

    bool deLaCorrida() const;
    void ponImpresora();
};
