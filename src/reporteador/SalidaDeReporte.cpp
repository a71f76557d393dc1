#include "reporteador/SalidaDeReporte.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "reporteador/ColaDeCups.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/Pintor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <optional>

namespace {

void paginasEn(QPainter& pintor, QPagedPaintDevice& dispositivo,
               const QVector<PaginaMaquetada>& paginas, double unidadesPorMm) {
    for (int i = 0; i < paginas.size(); ++i) {
        if (i > 0) {
            dispositivo.newPage();
        }
        Pintor::Pinta(pintor, paginas[i], unidadesPorMm);
    }
}

// A path in the folder that no file has: base + extension, else base-2 + extension…
QString rutaLibre(const QString& carpeta, const QString& base, const QString& extension) {
    const QDir dir(carpeta);
    QString ruta = dir.filePath(base + extension);
    for (int n = 2; QFileInfo::exists(ruta); ++n) {
        ruta = dir.filePath(QStringLiteral("%1-%2%3").arg(base, QString::number(n), extension));
    }
    return ruta;
}

} // namespace

void SalidaDeReporte::AvisaEnvio(const TrabajoDeReporte& t, const QString& destino,
                                 const QString& documento) {
    if (t.alEnviar) {
        t.alEnviar(destino, documento);
    }
}

// A PDF file of its own for the pages of one report: the one it replaces, else a new name.
QString SalidaDeReporte::EnPdf(const TrabajoDeReporte& t, const Plantilla& p,
                               const QVector<PaginaMaquetada>& paginas, const QString& nombre) {
    const QString ruta = t.archivoDeSalida.isEmpty()
                             ? rutaLibre(t.carpetaDeSalida, nombre, QStringLiteral(".pdf"))
                             : t.archivoDeSalida;
    AvisaEnvio(t, ruta, nombre);
    DocumentoDeCorrida documento(ruta, nombre);
    documento.Agrega(p, paginas);
    return documento.Termina();
}

// One PNG file per page, base-1.png, base-2.png…; a page that cannot be saved takes the pages
// saved before it away.
QStringList SalidaDeReporte::EnPng(const TrabajoDeReporte& t, const Plantilla& p,
                                   const QVector<PaginaMaquetada>& paginas, const QString& nombre) {
    constexpr double kPuntosPorMm = 150 / 25.4;
    const QDir carpeta(t.carpetaDeSalida);
    QString base = nombre;
    for (int n = 2; QFileInfo::exists(carpeta.filePath(base + QStringLiteral("-1.png"))); ++n) {
        base = nombre + QLatin1Char('-') + QString::number(n);
    }
    QStringList rutas;
    for (int i = 0; i < paginas.size(); ++i) {
        const QString ruta =
            carpeta.filePath(QStringLiteral("%1-%2.png").arg(base, QString::number(i + 1)));
        try {
            EscritorDeArchivo archivo(ruta);
            const bool hecha =
                Pintor::Hoja(paginas[i], QSizeF(p.anchoHoja, p.altoHoja), kPuntosPorMm)
                    .save(&archivo.dispositivo(), "PNG");
            archivo.termina([&](const SalidaRevisada&) {
                return hecha ? QString()
                             : QStringLiteral("No se pudo hacer la imagen %1")
                                   .arg(QFileInfo(ruta).fileName());
            });
        } catch (const ErrorOrvlib& e) {
            for (const QString& guardada : std::as_const(rutas)) {
                QFile::remove(guardada);
            }
            throw ErrorDeReporte(ErrorDeReporte::kSalida,
                                 QStringLiteral("%1 (%2)").arg(e.descripcion(), e.contexto()));
        }
        rutas << ruta;
    }
    return rutas;
}

namespace {

std::unique_ptr<QPrinter> impresoraPara(const TrabajoDeReporte& t,
                                        const Reporteador::FabricaDeImpresora& fabrica) {
    QPrinterInfo destino = QPrinterInfo::printerInfo(t.impresora);
    if (destino.isNull()) {
        destino = QPrinterInfo::defaultPrinter();
    }
    if (fabrica) {
        return fabrica(destino);
    }
    if (destino.isNull() && !ColaDeCups::ServicioResponde()) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("El servicio de impresión (CUPS) no responde en %1: "
                                            "enciéndalo (sudo systemctl start cups)")
                                 .arg(ColaDeCups::Servidor()));
    }
    if (destino.isNull()) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No hay impresora disponible"));
    }
    return std::make_unique<QPrinter>(destino, QPrinter::HighResolution);
}

} // namespace

void SalidaDeReporte::EnImpresora(const TrabajoDeReporte& t, const Plantilla& p,
                                  const QVector<PaginaMaquetada>& paginas, const QString& nombre,
                                  ResultadoDeReporte& resultado,
                                  const Reporteador::FabricaDeImpresora& fabrica) {
    const std::unique_ptr<QPrinter> impresora = impresoraPara(t, fabrica);
    impresora->setDocName(nombre);
    impresora->setFullPage(true);
    impresora->setPageSize(
        QPageSize(QSizeF(p.anchoHoja, p.altoHoja), QPageSize::Millimeter, p.nombre));
    if (t.copias > 1) {
        impresora->setCopyCount(t.copias);
    }
    // A document for a system queue: what CUPS made of it is asked once it was handed over.
    std::optional<ColaDeCups> cola;
    if (impresora->outputFormat() == QPrinter::NativeFormat &&
        !impresora->printerName().isEmpty()) {
        cola.emplace(impresora->printerName());
    }
    AvisaEnvio(t, impresora->printerName(), nombre);
    QPainter pintor;
    if (!pintor.begin(impresora.get())) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No se puede imprimir en ") + impresora->printerName());
    }
    paginasEn(pintor, *impresora, paginas, impresora->resolution() / 25.4);
    // The printer takes the document at the end: a refusal there is the run's error.
    if (!pintor.end()) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("La impresora no tomó el documento: ") +
                                 impresora->printerName());
    }
    if (!cola) {
        return;
    }
    const ColaDeCups::Entrega entrega = cola->Entregado(nombre);
    resultado.trabajoCups = entrega.trabajo;
    resultado.estadoCups = entrega.estado;
    if (!entrega.rechazo.isEmpty()) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida, entrega.rechazo);
    }
}
