#include "reporteador/DocumentoDeCorrida.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/Plantilla.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QTemporaryFile>

namespace {

ErrorDeReporte errorDeSalida(const ErrorOrvlib& e) {
    return ErrorDeReporte(ErrorDeReporte::kSalida,
                          QStringLiteral("%1 (%2)").arg(e.descripcion(), e.contexto()));
}

} // namespace

DocumentoDeCorrida::DocumentoDeCorrida(QString ruta, QString titulo, Indice indice,
                                       PinturaDePaginas::Hilo hilo)
    : ruta_(std::move(ruta))
    , titulo_(titulo.isEmpty() ? QFileInfo(ruta_).completeBaseName() : std::move(titulo))
    , indice_(indice)
    , hilo_(hilo) {}

DocumentoDeCorrida::~DocumentoDeCorrida() {
    // What was painted goes to the scratch file, which goes with the writer.
    pintura_.reset();
    if (pintor_.isActive()) {
        pintor_.end();
    }
}

QString DocumentoDeCorrida::FaltaAlPdf(const SalidaRevisada& salida) {
    if (salida.escritos() == 0) {
        return QStringLiteral("quedó vacío");
    }
    if (!salida.cola().trimmed().endsWith("%%EOF")) {
        return QStringLiteral("quedó sin su cierre (%%EOF)");
    }
    return {};
}

void DocumentoDeCorrida::abre(const Plantilla& p) {
    try {
        archivo_ = std::make_unique<EscritorDeArchivo>(ruta_);
    } catch (const ErrorOrvlib& e) {
        throw errorDeSalida(e);
    }
    if (indice_ == Indice::ConMarcadores) {
        const QFileInfo info(ruta_);
        borrador_ = std::make_unique<QTemporaryFile>(
            info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".XXXXXX")));
        if (!borrador_->open()) {
            throw ErrorDeReporte(ErrorDeReporte::kSalida, QStringLiteral("No se puede escribir ") +
                                                              borrador_->fileTemplate() +
                                                              QStringLiteral(": ") +
                                                              borrador_->errorString());
        }
    }
    pdf_ = std::make_unique<QPdfWriter>(borrador_ ? static_cast<QIODevice*>(borrador_.get())
                                                  : &archivo_->dispositivo());
    pdf_->setResolution(1200);
    pdf_->setPageSize(QPageSize(QSizeF(p.anchoHoja, p.altoHoja), QPageSize::Millimeter, p.nombre));
    pdf_->setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf_->setTitle(titulo_);
    pdf_->setCreator(QStringLiteral("DeRemisiones"));
    if (!pintor_.begin(pdf_.get())) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No se puede escribir ") + ruta_);
    }
    pintura_ = std::make_unique<PinturaDePaginas>(pintor_, *pdf_, hilo_);
}

void DocumentoDeCorrida::Agrega(const Plantilla& p, const QVector<PaginaMaquetada>& paginas,
                                const QString& marcador) {
    if (!pintura_) {
        abre(p);
    }
    if (indice_ == Indice::ConMarcadores && !marcador.isEmpty() && !paginas.isEmpty()) {
        marcadores_.Agrega(marcador, paginas_);
    }
    paginas_ += static_cast<int>(paginas.size());
    pintura_->Pinta(paginas);
}

// Qt's PDF, whole in the scratch copy, goes to the file with its outline; a write the disk
// refused there is told as that file's, with the system's reason.
void DocumentoDeCorrida::ponIndice() {
    if (!borrador_->flush() || borrador_->error() != QFileDevice::NoError) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No se puede escribir %1: %2 (%3)")
                                 .arg(borrador_->fileName(), borrador_->errorString(), ruta_));
    }
    try {
        marcadores_.Escribe(borrador_->fileName(), archivo_->dispositivo());
    } catch (const ErrorDeReporte&) {
        if (archivo_->dispositivo().fallo()) {
            throw errorDeSalida(archivo_->dispositivo().error());
        }
        throw;
    }
    borrador_.reset();
}

QString DocumentoDeCorrida::Termina() {
    if (!pintura_) {
        throw ErrorDeReporte(
            ErrorDeReporte::kSalida,
            QStringLiteral("El PDF %1 no tiene páginas").arg(QFileInfo(ruta_).fileName()));
    }
    const bool terminado = pintura_->Termina();
    const QString fallo = pintura_->Fallo();
    pintura_.reset();
    if (terminado && borrador_) {
        ponIndice();
    }
    try {
        archivo_->termina([&](const SalidaRevisada& salida) {
            const QString falta = terminado         ? FaltaAlPdf(salida)
                                  : fallo.isEmpty() ? QStringLiteral("no se terminó")
                                                    : QStringLiteral("no se terminó: ") + fallo;
            return falta.isEmpty()
                       ? falta
                       : QStringLiteral("El PDF %1 %2").arg(QFileInfo(ruta_).fileName(), falta);
        });
    } catch (const ErrorOrvlib& e) {
        throw errorDeSalida(e);
    }
    return ruta_;
}
