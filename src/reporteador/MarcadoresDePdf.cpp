#include "reporteador/MarcadoresDePdf.h"

#include "reporteador/ErrorDeReporte.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QStorageInfo>
// Only the std::shared_ptr interfaces of libqpdf, without its old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <exception>
#include <map>
#include <qpdf/QPDF.hh>
#include <set>

namespace {

// The PDF's folder on a disk with (almost) no room left: the file was cut short or its copy
// could not be written, whatever words the library found for it.
bool sinEspacio(const QString& origen) {
    constexpr qint64 kMinimo = 64 * 1024;
    const QStorageInfo disco(QFileInfo(origen).absolutePath());
    return disco.isValid() && disco.bytesAvailable() < kMinimo;
}

ErrorDeReporte errorDe(const QString& origen, const QString& causa) {
    const QString porQue =
        sinEspacio(origen)
            ? QStringLiteral("no hay espacio en el disco de la carpeta %1; libere espacio en ese "
                             "disco y vuelva a intentar (%2)")
                  .arg(QFileInfo(origen).absolutePath(), causa)
            : causa;
    return ErrorDeReporte(ErrorDeReporte::kSalida,
                          QStringLiteral("No se pudieron poner los marcadores al PDF %1: %2")
                              .arg(QFileInfo(origen).fileName(), porQue));
}

QByteArray referencia(int numero) {
    return QByteArray::number(numero) + " 0 R";
}

QByteArray referencia(const QPDFObjGen& objeto) {
    return QByteArray::number(objeto.getObj()) + ' ' + QByteArray::number(objeto.getGen()) + " R";
}

// A dictionary's entries but those named, as PDF text.
QByteArray entradasSalvo(QPDFObjectHandle diccionario, const std::set<std::string>& salvo) {
    QByteArray texto;
    for (const std::string& clave : diccionario.getKeys()) {
        if (salvo.count(clave) == 0) {
            texto += QByteArray::fromStdString(clave) + ' ' +
                     QByteArray::fromStdString(diccionario.getKey(clave).unparse()) + ' ';
        }
    }
    return texto;
}

// Where the last cross-reference section starts, from the file's closing lines.
qint64 ultimaReferencia(QFile& archivo) {
    archivo.seek(std::max<qint64>(0, archivo.size() - 1024));
    static const QRegularExpression startxref(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QRegularExpressionMatch m = startxref.match(QString::fromLatin1(archivo.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

// The pages in order, walking the page tree: only its nodes and the pages' own dictionaries are
// read (libqpdf's page list checks and copies every page's inherited attributes, 0.2 ms a page).
void agregaPaginas(QPDFObjectHandle nodo, std::vector<QPDFObjGen>& paginas, int profundidad = 0) {
    if (profundidad > 64) {
        throw std::runtime_error("árbol de páginas demasiado profundo");
    }
    QPDFObjectHandle hijos = nodo.getKey("/Kids");
    for (int i = 0; i < hijos.getArrayNItems(); ++i) {
        QPDFObjectHandle hijo = hijos.getArrayItem(i);
        if (hijo.getKey("/Type").isNameAndEquals("/Pages")) {
            agregaPaginas(hijo, paginas, profundidad + 1);
        } else {
            paginas.push_back(hijo.getObjGen());
        }
    }
}

// Copies the file whole to the device; the bytes copied.
qint64 copia(QFile& archivo, QIODevice& destino) {
    archivo.seek(0);
    qint64 copiados = 0;
    while (!archivo.atEnd()) {
        const QByteArray bloque = archivo.read(1 << 20);
        if (bloque.isEmpty() || destino.write(bloque) != bloque.size()) {
            throw std::runtime_error(destino.errorString().toStdString());
        }
        copiados += bloque.size();
    }
    return copiados;
}

// What an incremental update adds after a PDF of inicio bytes: objects, new or replacing old
// ones of the same number, their cross-reference sections and a trailer pointing back at the
// PDF's own.
class Actualizacion {
public:
    explicit Actualizacion(qint64 inicio)
        : inicio_(inicio) {}

    void objeto(const QPDFObjGen& objeto, const QByteArray& cuerpo) {
        posiciones_[objeto.getObj()] = {inicio_ + texto_.size(), objeto.getGen()};
        texto_ += QByteArray::number(objeto.getObj()) + ' ' + QByteArray::number(objeto.getGen()) +
                  " obj\n" + cuerpo + "\nendobj\n";
    }

    // The update whole: its objects, one cross-reference subsection per run of consecutive
    // numbers, and the trailer (the PDF's entries, its new size and the previous section).
    QByteArray cierra(QPDFObjectHandle trailer, int tamano, qint64 anterior) {
        const qint64 referencias = inicio_ + texto_.size();
        texto_ += "xref\n";
        for (auto it = posiciones_.begin(); it != posiciones_.end();) {
            auto fin = it;
            int cuantos = 0;
            for (; fin != posiciones_.end() && fin->first == it->first + cuantos; ++fin) {
                ++cuantos;
            }
            texto_ += QByteArray::number(it->first) + ' ' + QByteArray::number(cuantos) + '\n';
            for (; it != fin; ++it) {
                texto_ += QByteArray::number(it->second.first).rightJustified(10, '0') + ' ' +
                          QByteArray::number(it->second.second).rightJustified(5, '0') + " n\r\n";
            }
        }
        texto_ += "trailer\n<< " + entradasSalvo(trailer, {"/Size", "/Prev", "/XRefStm"}) +
                  "/Size " + QByteArray::number(tamano) + " /Prev " + QByteArray::number(anterior) +
                  " >>\nstartxref\n" + QByteArray::number(referencias) + "\n%%EOF\n";
        return texto_;
    }

private:
    qint64 inicio_;
    QByteArray texto_;
    std::map<int, std::pair<qint64, int>> posiciones_;
};

// The outline as objects numbered from primero: its root, then one entry per bookmark in order.
void agregaIndice(Actualizacion& actualizacion, int primero,
                  const QVector<MarcadoresDePdf::Marcador>& marcadores,
                  const std::vector<QPDFObjGen>& paginas) {
    const int cuenta = static_cast<int>(marcadores.size());
    actualizacion.objeto(QPDFObjGen(primero, 0), "<< /Type /Outlines /First " +
                                                     referencia(primero + 1) + " /Last " +
                                                     referencia(primero + cuenta) + " /Count " +
                                                     QByteArray::number(cuenta) + " >>");
    for (int i = 0; i < cuenta; ++i) {
        const MarcadoresDePdf::Marcador& m = marcadores[i];
        QByteArray entrada =
            "<< /Title " +
            QByteArray::fromStdString(
                QPDFObjectHandle::newUnicodeString(m.titulo.toStdString()).unparse()) +
            " /Parent " + referencia(primero) + " /Dest [" +
            referencia(paginas[static_cast<std::size_t>(m.pagina)]) + " /Fit]";
        if (i > 0) {
            entrada += " /Prev " + referencia(primero + i);
        }
        if (i + 1 < cuenta) {
            entrada += " /Next " + referencia(primero + i + 2);
        }
        actualizacion.objeto(QPDFObjGen(primero + 1 + i, 0), entrada + " >>");
    }
}

} // namespace

void MarcadoresDePdf::Agrega(const QString& titulo, int pagina) {
    marcadores_.append({titulo, pagina});
}

// The outline goes in an incremental update after the PDF as Qt wrote it: the outline's
// objects and the catalogue again with /Outlines. libqpdf reads the original's catalogue, page
// tree and trailer.
void MarcadoresDePdf::Escribe(const QString& origen, QIODevice& destino) const {
    try {
        QPDF pdf;
        // A PDF that reads only with repairs is not the one Qt wrote: it was cut or damaged.
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        pdf.processFile(QFile::encodeName(origen).constData());
        std::vector<QPDFObjGen> paginas;
        agregaPaginas(pdf.getRoot().getKey("/Pages"), paginas);
        QFile archivo(origen);
        const qint64 anterior = archivo.open(QIODevice::ReadOnly) ? ultimaReferencia(archivo) : -1;
        if (pdf.anyWarnings() || anterior < 0) {
            throw errorDe(origen, QStringLiteral("está dañado"));
        }
        for (const Marcador& m : marcadores_) {
            if (m.pagina < 0 || static_cast<std::size_t>(m.pagina) >= paginas.size()) {
                throw errorDe(origen, QStringLiteral("no tiene la página %1").arg(m.pagina + 1));
            }
        }
        Actualizacion actualizacion(copia(archivo, destino));
        if (marcadores_.isEmpty()) {
            return;
        }
        const int tamano = pdf.getTrailer().getKey("/Size").getIntValueAsInt();
        agregaIndice(actualizacion, tamano, marcadores_, paginas);
        QPDFObjectHandle raiz = pdf.getRoot();
        actualizacion.objeto(raiz.getObjGen(),
                             "<< " + entradasSalvo(raiz, {"/Outlines", "/PageMode"}) +
                                 "/Outlines " + referencia(tamano) + " /PageMode /UseOutlines >>");
        const QByteArray agregado = actualizacion.cierra(
            pdf.getTrailer(), tamano + static_cast<int>(marcadores_.size()) + 1, anterior);
        if (destino.write(agregado) != agregado.size()) {
            throw std::runtime_error(destino.errorString().toStdString());
        }
    } catch (const ErrorDeReporte&) {
        throw;
    } catch (const std::exception& e) {
        throw errorDe(origen, QString::fromStdString(e.what()));
    }
}
