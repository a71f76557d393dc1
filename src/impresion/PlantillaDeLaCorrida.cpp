#include "impresion/PlantillaDeLaCorrida.h"

#include "impresion/CatalogoDeLaTienda.h"
#include "impresion/ImagenesDeFormato.h"
#include "impresion/modRPTs.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/RevisorDePlantilla.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/OrigenesODBC.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString rutaDeFormato(const QString& archivoFormato) {
    QString nombre = archivoFormato.toLower();
    if (!nombre.contains(QLatin1String(".rpt"))) {
        nombre += QStringLiteral(".rpt");
    }
    return QDir(TemporalDelProceso::Carpeta()).filePath(nombre);
}

} // namespace

PlantillaDeLaCorrida::PlantillaDeLaCorrida(Conexion& host, const QString& archivoFormato)
    : FormatoDeLaCorrida(rutaDeFormato(archivoFormato)) {
    const QString nombre = QFileInfo(ruta_).fileName();
    try {
        prepara(host);
    } catch (const ErrorDeReporte& e) {
        deshace();
        throw ErrorOrvlib(e.numero(), e.texto(), nombre);
    } catch (const ErrorOrvlib& e) {
        deshace();
        const bool esLaPlantilla = e.contexto().compare(nombre, Qt::CaseInsensitive) == 0;
        throw ErrorOrvlib(e.numero(),
                          esLaPlantilla ? e.descripcion()
                                        : e.descripcion() + QStringLiteral(" (") + e.contexto() +
                                              QLatin1Char(')'),
                          nombre);
    } catch (...) {
        deshace();
        throw;
    }
}

PlantillaDeLaCorrida::~PlantillaDeLaCorrida() {
    deshace();
}

void PlantillaDeLaCorrida::prepara(Conexion& host) {
    ActualizaOrigenesODBC();
    QString carpeta = QFileInfo(ruta_).path();
    modRPTs::ExtraeFormato(host, ruta_, carpeta, QStringLiteral("reportesbin"));
    imagenes_ = ImagenesDeFormato::Extrae(host, ruta_, QStringLiteral("reportesbin"));
    const Plantilla p = ArchivoDePlantilla::LeeArchivo(ruta_);
    const QStringList problemas =
        RevisorDePlantilla(p, CatalogoDeLaTienda::Lee(host, p), false).Revisa();
    if (!problemas.isEmpty()) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("La plantilla tiene problemas; corríjala y "
                                            "guárdela con «plantillas guarda»:\r\n") +
                                 problemas.join(QStringLiteral("\r\n")));
    }
    QFile archivo(ruta_);
    if (!archivo.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta_);
    }
    contenido_ = archivo.readAll();
    posiciones_.resize(1);
    modRPTs::ListaTablas(contenido_, 1, tablas_, &posiciones_);
    const QString nombre = QFileInfo(ruta_).fileName();
    if (nombre.startsWith(QLatin1String("fmt"))) {
        impresora_ = modRPTs::ImpresoraDe(nombre);
    }
    modRPTs::actual().crpReport.IniciaCorrida(modRPTs::TextoDeConexion());
}

void PlantillaDeLaCorrida::deshace() {
    modRPTs::actual().crpReport.TerminaCorrida();
    for (const QString& imagen : std::as_const(imagenes_)) {
        QFile::remove(imagen);
    }
    imagenes_.clear();
    QFile::remove(ruta_);
}
