#include "reporteador/ControlDeReporte.h"

#include "orvlib/ListasDeValores.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/Pintor.h"
#include "reporteador/Seleccion.h"
#include "reporteador/VistaPrevia.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace {

constexpr int kNoSoportada = 438;

QString sinComillas(QString valor) {
    valor = valor.trimmed();
    if (valor.size() >= 2 &&
        (valor.front() == QLatin1Char('"') || valor.front() == QLatin1Char('\'')) &&
        valor.back() == valor.front()) {
        return valor.mid(1, valor.size() - 2);
    }
    return valor;
}

QString igualA(const QString& campo, const QVariant& valor) {
    return OrigenDeDatos::CitaNombre(campo) + QLatin1Char('=') + OrigenDeDatos::Literal(valor);
}

void paginasEn(QPainter& pintor, QPagedPaintDevice& dispositivo,
               const QVector<PaginaMaquetada>& paginas, double unidadesPorMm) {
    for (int i = 0; i < paginas.size(); ++i) {
        if (i > 0) {
            dispositivo.newPage();
        }
        Pintor::Pinta(pintor, paginas[i], unidadesPorMm);
    }
}

} // namespace

ControlDeReporte::ControlDeReporte()
    : ubicaciones_(kTablas)
    , formulas_(kFormulas)
    , ordenDeGrupos_(kFormulas)
    , datos_(std::make_unique<OrigenDeDatos>()) {}

ControlDeReporte::~ControlDeReporte() = default;

void ControlDeReporte::Asigna(int id, const QVariant& valor) {
    switch (id) {
    case 3:
        archivo_ = valor.toString();
        break;
    case 8:
        titulo_ = valor.toString();
        break;
    case 12:
        orden_ = valor.toString();
        break;
    case 13:
        seleccion_ = valor.toString();
        break;
    case 15:
        estado_ = valor.toInt();
        break;
    case 17:
        if (valor.toInt() == 1) {
            ejecuta();
        }
        break;
    case 20:
        conexion_ = valor.toString();
        break;
    case 24:
        destino_ = valor.toInt();
        break;
    case 25:
        copias_ = valor.toInt();
        break;
    case 47:
        controlador_ = valor.toString();
        break;
    case 48:
        impresora_ = valor.toString();
        break;
    case 49:
        puerto_ = valor.toString();
        break;
    default:
        throw ErrorDeReporte(
            kNoSoportada, QStringLiteral("El control de reporte no tiene la propiedad %1").arg(id));
    }
}

void ControlDeReporte::AsignaIndexada(int id, int indice, const QVariant& valor) {
    QVector<QString>* lista = id == 32   ? &ubicaciones_
                              : id == 29 ? &formulas_
                              : id == 30 ? &ordenDeGrupos_
                                         : nullptr;
    if (lista == nullptr || indice < 0 || indice >= lista->size()) {
        throw ErrorDeReporte(kNoSoportada, QStringLiteral("El control de reporte no tiene la "
                                                          "propiedad %1(%2)")
                                               .arg(id)
                                               .arg(indice));
    }
    (*lista)[indice] = valor.toString();
}

QVariant ControlDeReporte::Lee(int id, int indice) const {
    switch (id) {
    case 3:
        return archivo_;
    case 13:
        return seleccion_;
    case 20:
        return conexion_;
    case 24:
        return destino_;
    case 29:
        return formulas_.value(indice);
    case 32:
        return ubicaciones_.value(indice);
    case 48:
        return impresora_;
    default:
        return {};
    }
}

void ControlDeReporte::Desvia(Desvio desvio, const QString& carpeta) {
    desvio_ = desvio;
    carpetaDeSalida_ = carpeta;
}

void ControlDeReporte::DirigeAPdf(const QString& carpeta) {
    Desvia(carpeta.isEmpty() ? Desvio::Ninguno : Desvio::Pdf, carpeta);
}

QString ControlDeReporte::ubicacion(int indice, const TablaDePlantilla& tabla) const {
    const QString u = ubicaciones_.value(indice);
    return u.isEmpty() ? tabla.nombre : u;
}

QVector<DatosDeDocumento> ControlDeReporte::leeDatos(const Plantilla& p) {
    const auto esOdbc = [](const TablaDePlantilla& t) { return !t.deAccess; };
    if (std::any_of(p.tablas.begin(), p.tablas.end(), esOdbc)) {
        datos_->Conecta(conexion_);
    }
    const auto lee = [this, &p](int i, const QString& condicion, const QString& orden = {}) {
        const TablaDePlantilla& t = p.tablas[i];
        return datos_->Lee(ubicacion(p.indiceDeUbicacion(i), t), t.deAccess ? t.nombre : QString(),
                           condicion, orden);
    };
    int principal = -1;
    QHash<QString, Fila> unicas;
    for (int i = 0; i < p.tablas.size(); ++i) {
        const TablaDePlantilla& t = p.tablas[i];
        if (t.papel == TablaDePlantilla::Papel::Principal && principal < 0) {
            principal = i;
        } else if (t.papel == TablaDePlantilla::Papel::Unica) {
            const QVector<Fila> filas = lee(i, {});
            unicas.insert(t.nombre.toLower(), filas.isEmpty() ? Fila() : filas.first());
        }
    }
    if (principal < 0) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("La plantilla no tiene tabla principal"));
    }
    QVector<DatosDeDocumento> documentos;
    for (const Fila& fila :
         lee(principal, Seleccion::CondicionSql(seleccion_, p.tablas[principal].nombre))) {
        DatosDeDocumento d;
        d.principal = fila;
        d.unicas = unicas;
        const auto deLaPrincipal = [&](const TablaDePlantilla& t) {
            return t.tablaEnlace.compare(p.tablas[principal].nombre, Qt::CaseInsensitive) == 0;
        };
        for (int i = 0; i < p.tablas.size(); ++i) {
            const TablaDePlantilla& t = p.tablas[i];
            if (t.papel == TablaDePlantilla::Papel::Detalle) {
                for (const Fila& r :
                     lee(i, igualA(t.campoPropio, fila.valor(t.campoEnlace)), t.orden)) {
                    d.detalle.append({r, {}});
                }
            } else if (t.papel == TablaDePlantilla::Papel::Busqueda && deLaPrincipal(t)) {
                const QVector<Fila> filas =
                    lee(i, igualA(t.campoPropio, fila.valor(t.campoEnlace)));
                d.unicas.insert(t.nombre.toLower(), filas.isEmpty() ? Fila() : filas.first());
            }
        }
        // Look-ups of the detail rows: one query per table for all the rows of the document.
        for (int i = 0; i < p.tablas.size(); ++i) {
            const TablaDePlantilla& t = p.tablas[i];
            if (t.papel != TablaDePlantilla::Papel::Busqueda || deLaPrincipal(t) ||
                d.detalle.isEmpty()) {
                continue;
            }
            QStringList valores;
            for (const DatosDeDocumento::Renglon& r : d.detalle) {
                valores << OrigenDeDatos::Literal(r.fila.valor(t.campoEnlace));
            }
            valores.removeDuplicates();
            QHash<QString, Fila> porClave;
            for (const QString& lista : ListasDeValores::Lotes(valores)) {
                for (const Fila& f :
                     lee(i, OrigenDeDatos::CitaNombre(t.campoPropio) + QStringLiteral(" IN (") +
                                lista + QLatin1Char(')'))) {
                    porClave.insert(f.valor(t.campoPropio).toString(), f);
                }
            }
            for (DatosDeDocumento::Renglon& r : d.detalle) {
                r.busquedas.insert(t.nombre.toLower(),
                                   porClave.value(r.fila.valor(t.campoEnlace).toString()));
            }
        }
        documentos.append(d);
    }
    return documentos;
}

void ControlDeReporte::ejecuta() {
    QElapsedTimer reloj;
    reloj.start();
    if (!QFileInfo::exists(archivo_)) {
        throw ErrorDeReporte(20507, QStringLiteral("No existe el archivo de reporte ") + archivo_);
    }
    Plantilla p = ArchivoDePlantilla::LeeArchivo(archivo_);
    for (const QString& formula : formulas_) {
        if (formula.trimmed().isEmpty()) {
            continue;
        }
        const qsizetype igual = formula.indexOf(QLatin1Char('='));
        const int indice = igual > 0 ? p.indiceDeFormula(formula.left(igual)) : -1;
        const QString valor = formula.mid(igual + 1).trimmed();
        const bool comillaSinCerrar = valor.startsWith(QLatin1Char('"')) !=
                                      (valor.size() > 1 && valor.endsWith(QLatin1Char('"')));
        if (indice < 0 || comillaSinCerrar) {
            throw ErrorDeReporte(ErrorDeReporte::kFormula,
                                 QStringLiteral("No se puede usar la fórmula '%1' en el reporte %2")
                                     .arg(formula, QFileInfo(archivo_).fileName()));
        }
        p.valoresDeFormulas[indice] = sinComillas(formula.mid(igual + 1));
    }
    const QVector<DatosDeDocumento> documentos = leeDatos(p);
    datos_->CierraAuxiliar();
    tiempos_.lectura += reloj.restart();
    Maquetador maquetador(p);
    const QVector<PaginaMaquetada> paginas = maquetador.Maqueta(documentos);
    paginas_ = static_cast<int>(paginas.size());
    tiempos_.maquetado += reloj.restart();
    ++tiempos_.reportes;
    if (destino_ == 0 || desvio_ == Desvio::Ventana) {
        muestra(p, paginas);
        return;
    }
    imprime(p, paginas, nombreDeSalida(p, documentos));
    tiempos_.salida += reloj.elapsed();
}

void ControlDeReporte::muestra(const Plantilla& p, const QVector<PaginaMaquetada>& paginas) {
    // A title that leaves the report's name empty ('') gets the template's.
    QString titulo = titulo_.isEmpty() ? p.nombre : titulo_;
    titulo.replace(QLatin1String("''"), QLatin1Char('\'') + p.nombre + QLatin1Char('\''));
    VistaPrevia vista(titulo, paginas, QSizeF(p.anchoHoja, p.altoHoja), ventana_);
    vista.exec();
}

QString ControlDeReporte::nombreDeSalida(const Plantilla& p,
                                         const QVector<DatosDeDocumento>& documentos) const {
    static const QRegularExpression prohibido(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    static const QRegularExpression orillas(QStringLiteral("^[\\s.-]+|[\\s.-]+$"));
    if (!p.archivo.isEmpty() && !documentos.isEmpty()) {
        Maquetador maquetador(p);
        QString nombre = maquetador.ResuelveEnDocumento(p.archivo, documentos.first());
        nombre.replace(prohibido, QStringLiteral("_")).remove(orillas);
        if (!nombre.isEmpty()) {
            return nombre;
        }
    }
    static const QRegularExpression noValido(QStringLiteral("[^A-Za-z0-9_-]"));
    QString clave = seleccion_.mid(seleccion_.lastIndexOf(QLatin1Char('=')) + 1);
    clave.remove(noValido);
    return QFileInfo(archivo_).completeBaseName().toLower() +
           (clave.isEmpty() ? QString() : QLatin1Char('-') + clave);
}

QString ControlDeReporte::rutaLibre(const QString& base, const QString& extension) const {
    const QDir carpeta(carpetaDeSalida_);
    QString ruta = carpeta.filePath(base + extension);
    for (int n = 2; QFileInfo::exists(ruta); ++n) {
        ruta = carpeta.filePath(QStringLiteral("%1-%2%3").arg(base, QString::number(n), extension));
    }
    return ruta;
}

void ControlDeReporte::imprimeEnPdf(const Plantilla& p, const QVector<PaginaMaquetada>& paginas,
                                    const QString& nombre) {
    const QString ruta = rutaLibre(nombre, QStringLiteral(".pdf"));
    QPdfWriter pdf(ruta);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(QSizeF(p.anchoHoja, p.altoHoja), QPageSize::Millimeter, p.nombre));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(nombre);
    pdf.setCreator(QStringLiteral("DeRemisiones"));
    QPainter pintor;
    if (!pintor.begin(&pdf)) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No se puede escribir ") + ruta);
    }
    paginasEn(pintor, pdf, paginas, pdf.resolution() / 25.4);
    pintor.end();
    generados_ << ruta;
}

void ControlDeReporte::imprimeEnPng(const Plantilla& p, const QVector<PaginaMaquetada>& paginas,
                                    const QString& nombre) {
    constexpr double kPuntosPorMm = 150 / 25.4;
    QString base = nombre;
    for (int n = 2;
         QFileInfo::exists(QDir(carpetaDeSalida_).filePath(base + QStringLiteral("-1.png"))); ++n) {
        base = nombre + QLatin1Char('-') + QString::number(n);
    }
    for (int i = 0; i < paginas.size(); ++i) {
        QImage hoja(QSizeF(p.anchoHoja * kPuntosPorMm, p.altoHoja * kPuntosPorMm).toSize(),
                    QImage::Format_RGB32);
        hoja.setDotsPerMeterX(static_cast<int>(kPuntosPorMm * 1000));
        hoja.setDotsPerMeterY(static_cast<int>(kPuntosPorMm * 1000));
        hoja.fill(Qt::white);
        QPainter pintor(&hoja);
        Pintor::Pinta(pintor, paginas[i], kPuntosPorMm);
        pintor.end();
        const QString ruta =
            QDir(carpetaDeSalida_)
                .filePath(QStringLiteral("%1-%2.png").arg(base, QString::number(i + 1)));
        if (!hoja.save(ruta, "PNG")) {
            throw ErrorDeReporte(ErrorDeReporte::kSalida,
                                 QStringLiteral("No se puede escribir ") + ruta);
        }
        generados_ << ruta;
    }
}

void ControlDeReporte::imprime(const Plantilla& p, const QVector<PaginaMaquetada>& paginas,
                               const QString& nombre) {
    if (desvio_ == Desvio::Pdf || desvio_ == Desvio::Png) {
        QDir().mkpath(carpetaDeSalida_);
        if (desvio_ == Desvio::Pdf) {
            imprimeEnPdf(p, paginas, nombre);
        } else {
            imprimeEnPng(p, paginas, nombre);
        }
        return;
    }
    const QPageSize hoja(QSizeF(p.anchoHoja, p.altoHoja), QPageSize::Millimeter, p.nombre);
    QPrinterInfo destino = QPrinterInfo::printerInfo(impresora_);
    if (destino.isNull()) {
        destino = QPrinterInfo::defaultPrinter();
    }
    if (destino.isNull()) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No hay impresora disponible"));
    }
    QPrinter impresora(destino, QPrinter::HighResolution);
    impresora.setDocName(nombre);
    impresora.setFullPage(true);
    impresora.setPageSize(hoja);
    if (copias_ > 1) {
        impresora.setCopyCount(copias_);
    }
    QPainter pintor;
    if (!pintor.begin(&impresora)) {
        throw ErrorDeReporte(ErrorDeReporte::kSalida,
                             QStringLiteral("No se puede imprimir en ") + destino.printerName());
    }
    paginasEn(pintor, impresora, paginas, impresora.resolution() / 25.4);
    pintor.end();
}
