#include "reporteador/MarcadoresDePdf.h"

#include "reporteador/ErrorDeReporte.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
// Only the std::shared_ptr interfaces of libqpdf, without its old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <exception>
#include <qpdf/Pl_Function.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

ErrorDeReporte errorDe(const QString& origen, const QString& causa) {
    return ErrorDeReporte(ErrorDeReporte::kSalida,
                          QStringLiteral("No se pudo poner el índice al PDF %1: %2")
                              .arg(QFileInfo(origen).fileName(), causa));
}

} // namespace

void MarcadoresDePdf::Agrega(const QString& titulo, int pagina) {
    marcadores_.append({titulo, pagina});
}

void MarcadoresDePdf::Escribe(const QString& origen, QIODevice& destino) const {
    try {
        QPDF pdf;
        // A PDF that reads only with repairs is not the one Qt wrote: it was cut or damaged.
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(origen).constData());
        if (pdf.anyWarnings()) {
            throw errorDe(origen, QStringLiteral("está dañado"));
        }
        const std::vector<QPDFObjectHandle>& paginas = pdf.getAllPages();
        QPDFObjectHandle raiz = pdf.getRoot();
        QPDFObjectHandle indice =
            pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Outlines >>"));
        QPDFObjectHandle anterior;
        for (const Marcador& m : marcadores_) {
            if (m.pagina < 0 || static_cast<std::size_t>(m.pagina) >= paginas.size()) {
                throw errorDe(origen, QStringLiteral("no tiene la página %1").arg(m.pagina + 1));
            }
            QPDFObjectHandle destino = QPDFObjectHandle::newArray();
            destino.appendItem(paginas[static_cast<std::size_t>(m.pagina)]);
            destino.appendItem(QPDFObjectHandle::newName("/Fit"));
            QPDFObjectHandle marcador = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            marcador.replaceKey("/Title",
                                QPDFObjectHandle::newUnicodeString(m.titulo.toStdString()));
            marcador.replaceKey("/Parent", indice);
            marcador.replaceKey("/Dest", destino);
            if (anterior.isInitialized()) {
                marcador.replaceKey("/Prev", anterior);
                anterior.replaceKey("/Next", marcador);
            } else {
                indice.replaceKey("/First", marcador);
            }
            anterior = marcador;
        }
        if (anterior.isInitialized()) {
            indice.replaceKey("/Last", anterior);
            indice.replaceKey("/Count", QPDFObjectHandle::newInteger(marcadores_.size()));
            raiz.replaceKey("/Outlines", indice);
            raiz.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        }
        Pl_Function salida("destino", nullptr, [&destino](unsigned char const* datos, size_t n) {
            if (destino.write(reinterpret_cast<const char*>(datos), static_cast<qint64>(n)) !=
                static_cast<qint64>(n)) {
                throw std::runtime_error(destino.errorString().toStdString());
            }
        });
        QPDFWriter escritor(pdf);
        escritor.setOutputPipeline(&salida);
        escritor.write();
    } catch (const ErrorDeReporte&) {
        throw;
    } catch (const std::exception& e) {
        throw errorDe(origen, QString::fromStdString(e.what()));
    }
}
