#include "reporteador/Reporteador.h"

#include "orvlib/AlSalir.h"
#include "orvlib/ListasDeValores.h"
#include "orvlib/Sentencias.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/LecturaAnticipada.h"
#include "reporteador/SalidaDeReporte.h"
#include "reporteador/Seleccion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <utility>

namespace {

Reporteador::Presentador& presentador() {
    static Reporteador::Presentador instalado;
    return instalado;
}

Reporteador::FabricaDeImpresora& fabricaDeImpresora() {
    static Reporteador::FabricaDeImpresora instalada;
    return instalada;
}

QString sinComillas(QString valor) {
    valor = valor.trimmed();
    if (valor.size() >= 2 &&
        (valor.front() == QLatin1Char('"') || valor.front() == QLatin1Char('\'')) &&
        valor.back() == valor.front()) {
        return valor.mid(1, valor.size() - 2);
    }
    return valor;
}

// The formulas' values of the job put into the template; a formula the template lacks, or a
// text value left unclosed, is the engine's formula error.
void ponFormulas(const TrabajoDeReporte& t, Plantilla& p) {
    for (const QString& formula : t.formulas) {
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
                                     .arg(formula, QFileInfo(t.plantilla).fileName()));
        }
        p.valoresDeFormulas[indice] = sinComillas(formula.mid(igual + 1));
    }
}

QString ubicacion(const TrabajoDeReporte& t, int indice, const TablaDePlantilla& tabla) {
    const QString u = t.ubicaciones.value(indice);
    return u.isEmpty() ? tabla.nombre : u;
}

// The files of a run are named by the template's archivo line for its first document
// (A-2000), else after the template and the selected key (fmtremision-4711).
QString nombreDeSalida(const TrabajoDeReporte& t, const Plantilla& p,
                       const QVector<DatosDeDocumento>& documentos) {
    static const QRegularExpression prohibido(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    static const QRegularExpression orillas(QStringLiteral("^[\\s.-]+|[\\s.-]+$"));
    if (!p.archivo.isEmpty() && !documentos.isEmpty()) {
        QString nombre = ResolutorDePlantilla(p).ResuelveEnDocumento(p.archivo, documentos.first());
        nombre.replace(prohibido, QStringLiteral("_")).remove(orillas);
        if (!nombre.isEmpty()) {
            return nombre;
        }
    }
    static const QRegularExpression noValido(QStringLiteral("[^A-Za-z0-9_-]"));
    QString clave = t.seleccion.mid(t.seleccion.lastIndexOf(QLatin1Char('=')) + 1);
    clave.remove(noValido);
    return QFileInfo(t.plantilla).completeBaseName().toLower() +
           (clave.isEmpty() ? QString() : QLatin1Char('-') + clave);
}

} // namespace

Reporteador::Reporteador()
    : datos_(std::make_unique<OrigenDeDatos>()) {}

Reporteador::~Reporteador() = default;

Reporteador::Presentador Reporteador::PonPresentador(Presentador nuevo) {
    return std::exchange(presentador(), std::move(nuevo));
}

void Reporteador::PonFabricaDeImpresora(FabricaDeImpresora fabrica) {
    fabricaDeImpresora() = std::move(fabrica);
}

void Reporteador::IniciaCorrida(const QString& textoDeConexion) {
    TerminaCorrida();
    datos_->Conecta(textoDeConexion);
    datos_->IniciaCorrida();
    enCorrida_ = true;
}

void Reporteador::Anticipa(const QStringList& selecciones, const QStringList& tablasQueCambian) {
    if (enCorrida_) {
        anticipada_.Anuncia(selecciones, tablasQueCambian);
    }
}

void Reporteador::TerminaCorrida() {
    enCorrida_ = false;
    anticipada_.Olvida();
    documento_.reset();
    datos_->CierraAuxiliar();
    datos_->TerminaCorrida();
    plantillaDeCorrida_.reset();
    rutaDeCorrida_.clear();
    unicasDeCorrida_.clear();
    imagenesDeCorrida_.clear();
}

QString Reporteador::CierraDocumento() {
    if (!documento_) {
        return {};
    }
    QElapsedTimer reloj;
    reloj.start();
    const std::unique_ptr<DocumentoDeCorrida> documento = std::move(documento_);
    const QString ruta = documento->Termina();
    tiempos_.salida += reloj.nsecsElapsed() / 1000;
    return ruta;
}

Plantilla Reporteador::plantillaDe(const QString& ruta) {
    if (enCorrida_ && plantillaDeCorrida_ && ruta == rutaDeCorrida_) {
        return *plantillaDeCorrida_;
    }
    Plantilla p = ArchivoDePlantilla::LeeArchivo(ruta);
    if (enCorrida_) {
        plantillaDeCorrida_ = p;
        rutaDeCorrida_ = ruta;
    }
    return p;
}

ResultadoDeReporte Reporteador::Ejecuta(const TrabajoDeReporte& t) {
    QElapsedTimer reloj;
    reloj.start();
    if (!QFileInfo::exists(t.plantilla)) {
        throw ErrorDeReporte(ErrorDeReporte::kSinArchivo,
                             QStringLiteral("No existe el archivo de reporte ") + t.plantilla);
    }
    Plantilla p = plantillaDe(t.plantilla);
    ponFormulas(t, p);
    QVector<DatosDeDocumento> documentos;
    {
        // The auxiliary file is let go however the reading ends: the print driver removes it.
        // A run keeps it open: the same file serves all its reports.
        const AlSalir cierra([this] {
            if (!enCorrida_) {
                datos_->CierraAuxiliar();
            }
        });
        documentos = leeDatos(t, p);
    }
    tiempos_.lectura += reloj.nsecsElapsed() / 1000;
    reloj.start();
    QHash<QString, QImage> imagenesDelReporte;
    const QVector<PaginaMaquetada> paginas =
        Maquetador(p, enCorrida_ ? imagenesDeCorrida_ : imagenesDelReporte).Maqueta(documentos);
    tiempos_.maquetado += reloj.nsecsElapsed() / 1000;
    reloj.start();
    ++tiempos_.reportes;
    ResultadoDeReporte resultado;
    resultado.paginas = static_cast<int>(paginas.size());
    if (t.destino == TrabajoDeReporte::Destino::Ventana) {
        if (!presentador()) {
            throw ErrorDeReporte(ErrorDeReporte::kSalida,
                                 QStringLiteral("No hay ventana de vista previa"));
        }
        // A title that leaves the report's name empty ('') gets the template's.
        QString titulo = t.titulo.isEmpty() ? p.nombre : t.titulo;
        titulo.replace(QLatin1String("''"), QLatin1Char('\'') + p.nombre + QLatin1Char('\''));
        presentador()(titulo, paginas, QSizeF(p.anchoHoja, p.altoHoja));
        return resultado;
    }
    imprime(t, p, paginas, nombreDeSalida(t, p, documentos), resultado);
    tiempos_.salida += reloj.nsecsElapsed() / 1000;
    return resultado;
}

void Reporteador::imprime(const TrabajoDeReporte& t, const Plantilla& p,
                          const QVector<PaginaMaquetada>& paginas, const QString& nombre,
                          ResultadoDeReporte& resultado) {
    switch (t.destino) {
    case TrabajoDeReporte::Destino::PdfUnico:
        if (!documento_) {
            QDir().mkpath(QFileInfo(t.archivoDeSalida).absolutePath());
            documento_ = std::make_unique<DocumentoDeCorrida>(
                t.archivoDeSalida, QString(), DocumentoDeCorrida::Indice::ConMarcadores,
                enCorrida_ ? PinturaDePaginas::Hilo::Propio : PinturaDePaginas::Hilo::ElMismo);
        }
        SalidaDeReporte::AvisaEnvio(t, t.archivoDeSalida, nombre);
        documento_->Agrega(p, paginas, t.marcador);
        // Outside a run the report is the whole document.
        if (!enCorrida_) {
            resultado.archivos << CierraDocumento();
        }
        break;
    case TrabajoDeReporte::Destino::Pdf:
        QDir().mkpath(t.carpetaDeSalida);
        resultado.archivos << SalidaDeReporte::EnPdf(t, p, paginas, nombre);
        break;
    case TrabajoDeReporte::Destino::Png:
        QDir().mkpath(t.carpetaDeSalida);
        resultado.archivos << SalidaDeReporte::EnPng(t, p, paginas, nombre);
        break;
    default:
        SalidaDeReporte::EnImpresora(t, p, paginas, nombre, resultado, fabricaDeImpresora());
    }
}

// The row of a one-row table; within a run a server table's is read by the run's first report.
Fila Reporteador::unica(const TrabajoDeReporte& t, const Plantilla& p, int i,
                        const std::function<QVector<Fila>(int, const QString&)>& lee) {
    const TablaDePlantilla& tabla = p.tablas[i];
    const QString donde = ubicacion(t, p.indiceDeUbicacion(i), tabla);
    const bool guardada = enCorrida_ && !tabla.deAccess;
    if (guardada && unicasDeCorrida_.contains(donde)) {
        return unicasDeCorrida_.value(donde);
    }
    const QVector<Fila> filas = lee(i, {});
    const Fila fila = filas.isEmpty() ? Fila() : filas.first();
    if (guardada) {
        unicasDeCorrida_.insert(donde, fila);
    }
    return fila;
}

QVector<DatosDeDocumento> Reporteador::leeDatos(const TrabajoDeReporte& t, const Plantilla& p) {
    const auto esOdbc = [](const TablaDePlantilla& tabla) { return !tabla.deAccess; };
    if (std::any_of(p.tablas.begin(), p.tablas.end(), esOdbc)) {
        datos_->Conecta(t.textoDeConexion);
    }
    // A server table placed where the template's auxiliary tables are is read from that file.
    QSet<QString> delArchivo;
    for (int i = 0; i < p.tablas.size(); ++i) {
        if (p.tablas[i].deAccess) {
            delArchivo.insert(ubicacion(t, p.indiceDeUbicacion(i), p.tablas[i]));
        }
    }
    const auto deArchivo = [&](int i) {
        return p.tablas[i].deAccess ||
               delArchivo.contains(ubicacion(t, p.indiceDeUbicacion(i), p.tablas[i]));
    };
    // What the block read ahead answers is not read again.
    const auto lee = [&](int i, const QString& condicion, const QString& orden = {}) {
        if (std::optional<QVector<Fila>> leidas = anticipada_.Busca(i, condicion, orden)) {
            return *leidas;
        }
        const QString donde = ubicacion(t, p.indiceDeUbicacion(i), p.tablas[i]);
        return datos_->Lee(donde, deArchivo(i) ? p.tablas[i].nombre : QString(), condicion, orden);
    };
    int principal = -1;
    QHash<QString, Fila> unicas;
    for (int i = 0; i < p.tablas.size(); ++i) {
        const TablaDePlantilla& tabla = p.tablas[i];
        if (tabla.papel == TablaDePlantilla::Papel::Principal && principal < 0) {
            principal = i;
        } else if (tabla.papel == TablaDePlantilla::Papel::Unica) {
            unicas.insert(tabla.nombre.toLower(), unica(t, p, i, lee));
        }
    }
    if (principal < 0) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("La plantilla no tiene tabla principal"));
    }
    anticipada_.Prepara(
        t.seleccion,
        t.plantilla + QChar(0x1f) + t.ubicaciones.join(QChar(0x1f)) + QChar(0x1f) +
            t.textoDeConexion,
        p, principal, [&](int i) { return !deArchivo(i); }, lee);
    QVector<DatosDeDocumento> documentos;
    for (const Fila& fila :
         lee(principal, Seleccion::CondicionSql(t.seleccion, p.tablas[principal].nombre,
                                                p.tablas[principal].motor()))) {
        DatosDeDocumento d;
        d.principal = fila;
        d.unicas = unicas;
        const auto deLaPrincipal = [&](const TablaDePlantilla& tabla) {
            return tabla.tablaEnlace.compare(p.tablas[principal].nombre, Qt::CaseInsensitive) == 0;
        };
        for (int i = 0; i < p.tablas.size(); ++i) {
            const TablaDePlantilla& tabla = p.tablas[i];
            if (tabla.papel == TablaDePlantilla::Papel::Detalle) {
                for (const Fila& r :
                     lee(i, LecturaAnticipada::IgualA(tabla, fila.valor(tabla.campoEnlace)),
                         tabla.orden)) {
                    d.detalle.append({r, {}});
                }
            } else if (tabla.papel == TablaDePlantilla::Papel::Busqueda && deLaPrincipal(tabla)) {
                const QVector<Fila> filas =
                    lee(i, LecturaAnticipada::IgualA(tabla, fila.valor(tabla.campoEnlace)));
                d.unicas.insert(tabla.nombre.toLower(), filas.isEmpty() ? Fila() : filas.first());
            }
        }
        // Look-ups of the detail rows: one query per table for all the rows of the document.
        for (int i = 0; i < p.tablas.size(); ++i) {
            const TablaDePlantilla& tabla = p.tablas[i];
            if (tabla.papel != TablaDePlantilla::Papel::Busqueda || deLaPrincipal(tabla) ||
                d.detalle.isEmpty()) {
                continue;
            }
            QStringList valores;
            for (const DatosDeDocumento::Renglon& r : d.detalle) {
                valores << Sentencias::Literal(r.fila.valor(tabla.campoEnlace), tabla.motor());
            }
            valores.removeDuplicates();
            QHash<QString, Fila> porClave;
            for (const QString& lista : ListasDeValores::Lotes(valores)) {
                for (const Fila& f :
                     lee(i, LecturaAnticipada::EnLista(tabla, tabla.campoPropio, lista))) {
                    porClave.insert(f.valor(tabla.campoPropio).toString(), f);
                }
            }
            for (DatosDeDocumento::Renglon& r : d.detalle) {
                r.busquedas.insert(tabla.nombre.toLower(),
                                   porClave.value(r.fila.valor(tabla.campoEnlace).toString()));
            }
        }
        documentos.append(d);
    }
    return documentos;
}
