#include "impresion/ImpresionDeRemisiones.h"

#include "impresion/BloquesDeLaCorrida.h"
#include "impresion/ImpresionDeDocumento.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/SeguimientoDeNotas.h"
#include "impresion/modRPTs.h"
#include "orvlib/AlSalir.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ColaDeCups.h"
#include "reporteador/ErrorDeReporte.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <exception>
#include <utility>

namespace {

ControlDeReporte& control() {
    return modRPTs::actual().crpReport;
}

ControlDeReporte::Desvio desvio() {
    return control().DesvioActual();
}

// A note the engine stopped at, after its document reached the printer's queue.
class ColaQueFalla : public ErrorOrvlib {
public:
    explicit ColaQueFalla(const QString& texto)
        : ErrorOrvlib(ErrorDeReporte::kSalida, texto, QString()) {}
};

} // namespace

ImpresionDeRemisiones::ImpresionDeRemisiones(Conexion& cnn)
    : cnn_(cnn) {}

bool ImpresionDeRemisiones::EnUnSoloPdf() {
    return desvio() == ControlDeReporte::Desvio::PdfUnico;
}

QString ImpresionDeRemisiones::Destino() {
    switch (desvio()) {
    case ControlDeReporte::Desvio::Pdf:
        return QStringLiteral("pdf ") + QDir::toNativeSeparators(control().CarpetaDeSalida());
    case ControlDeReporte::Desvio::PdfUnico:
        return QStringLiteral("pdf-unico ") + QDir::toNativeSeparators(control().CarpetaDeSalida());
    default:
        return QStringLiteral("impresora");
    }
}

ResultadoDeImpresion ImpresionDeRemisiones::Imprime(const Avance& avance) {
    ResultadoDeImpresion resultado = corre(avance);
    resultado.impresas = hechas_;
    return resultado;
}

ResultadoDeImpresion ImpresionDeRemisiones::Imprime(PlanDeImpresion& plan, LibroDeImpresion& libro,
                                                    const Avance& avance, const Espera& espera) {
    plan_ = &plan;
    libro_ = &libro;
    colaVista_.clear();
    alPdfAnotadas_ = false;
    ids_.clear();
    for (int numero : plan.numeros()) {
        ids_.insert(plan.corrida().notas[numero - 1].id, numero - 1);
    }
    const AlSalir suelta([this] {
        plan_ = nullptr;
        libro_ = nullptr;
        control().AlEnviar({});
    });
    ResultadoDeImpresion resultado;
    try {
        plan.Inicia(libro);
    } catch (const ErrorOrvlib& e) {
        resultado.total = static_cast<int>(ids_.size());
        resultado.error = e.texto();
        resultado.causa = e;
        return resultado;
    }
    control().AlEnviar(
        [this](const QString& destino, const QString& documento) { enviada(destino, documento); });
    resultado = corre(avance);
    terminaEnElLibro(resultado, espera);
    return resultado;
}

ResultadoDeImpresion ImpresionDeRemisiones::corre(const Avance& avance) {
    cancelado_ = false;
    hechas_ = 0;
    ResultadoDeImpresion resultado;
    try {
        imprimeCopias(resultado, avance);
    } catch (const ErrorDespuesDeImprimir& e) {
        resultado.fallidaImpresa = true;
        resultado.error = e.texto();
        resultado.causa = e;
    } catch (const ErrorOrvlib& e) {
        // The engine's errors come with the template's name, which the message gives already.
        const bool delMotor = e.contexto().compare(Plantilla(), Qt::CaseInsensitive) == 0;
        resultado.error = delMotor ? modRPTs::TextoDelError(e) : e.texto();
        resultado.causa = delMotor ? ErrorOrvlib(e.numero(), e.descripcion(), QString()) : e;
    } catch (const std::exception& e) {
        resultado.error = QString::fromLocal8Bit(e.what());
    }
    // A run into one PDF that did not end wrote nothing: its file is written whole or not at all.
    if ((resultado.Fallo() || resultado.cancelada) && EnUnSoloPdf()) {
        hechas_ = 0;
        resultado.fallidaImpresa = false;
    }
    return resultado;
}

void ImpresionDeRemisiones::imprimeCopias(ResultadoDeImpresion& resultado, const Avance& avance) {
    const auto ajuste = [this](const char* nombre) {
        return EsVerdadero(
            BasesDD::LeeDato(QString::fromLatin1(nombre), cnn_, QStringLiteral("configura")));
    };
    const qint16 desglose = ajuste("VariosIVAs") || ajuste("VariosImpAd") ? 6 : 0;
    Recordset copias;
    BasesDD::AbrirTabla(copias, cnn_, QStringLiteral("tmpremisiones order by Id"));
    resultado.total = plan_ != nullptr ? static_cast<int>(ids_.size()) : copias.cuenta();
    if (resultado.total == 0) {
        return;
    }
    PreparativosDeImpresion preparativos(cnn_, Plantilla());
    BloquesDeLaCorrida bloques(cnn_, idsAImprimir(), QStringLiteral("tmpremisionesdetalle"));
    notasPorCliente_.clear();
    for (; !copias.fin(); copias.siguiente()) {
        const qint32 id = copias.campo(QStringLiteral("Id")).toInt();
        if (plan_ != nullptr && !ids_.contains(id)) {
            continue;
        }
        if (cancelado_) {
            resultado.cancelada = true;
            break;
        }
        if (avance) {
            avance(hechas_ + 1, resultado.total,
                   copias.campo(QStringLiteral("Factura")).toString());
        }
        imprimeUna(copias, resultado, desglose, preparativos, bloques);
        revisaLaCola(resultado);
    }
    if (!resultado.cancelada) {
        cierraDocumento();
    }
    resultado.remisionFallida.clear();
    BasesDD::CierraTabla(copias);
}

// The Ids of the working copies the run prints, in print order.
QList<qint32> ImpresionDeRemisiones::idsAImprimir() {
    QList<qint32> ids;
    QSqlQuery q = cnn_.consulta(QStringLiteral("SELECT Id FROM tmpremisiones ORDER BY Id"));
    while (q.next()) {
        const qint32 id = q.value(0).toInt();
        if (plan_ == nullptr || ids_.contains(id)) {
            ids << id;
        }
    }
    return ids;
}

void ImpresionDeRemisiones::imprimeUna(const Recordset& copias, ResultadoDeImpresion& resultado,
                                       qint16 desglose, PreparativosDeImpresion& preparativos,
                                       BloquesDeLaCorrida& bloques) {
    RemisionAImprimir remision;
    remision.id = copias.campo(QStringLiteral("Id")).toInt();
    remision.seleccion = BloquesDeLaCorrida::SeleccionDe(remision.id);
    remision.conDesglose = desglose;
    remision.textoNotas = notasDe(copias.campo(QStringLiteral("Cliente")).toString());
    remision.tablaEncabezado = QStringLiteral("tmpremisiones");
    remision.tablaDetalle = QStringLiteral("tmpremisionesdetalle");
    remision.nombre = (copias.campo(QStringLiteral("Serie")).toString() + QLatin1Char(' ') +
                       copias.campo(QStringLiteral("Factura")).toString())
                          .trimmed();
    resultado.remisionFallida = remision.nombre;
    idEnCurso_ = remision.id;
    enviadaEnCurso_ = false;
    bloques.Antes(remision.id);
    remision.lineas = bloques.Lineas(remision.id);
    remision.tallasDelBloque = bloques.ConTallas(remision.id);
    // A note printed before into a PDF of this folder is written over, not copied beside it.
    NotaDelLibro* nota = notaEnCurso();
    if (nota != nullptr && desvio() == ControlDeReporte::Desvio::Pdf &&
        QFileInfo(nota->destino).absolutePath() ==
            QDir(control().CarpetaDeSalida()).absolutePath()) {
        control().Reemplaza(nota->destino);
    }
    try {
        ImprimeDocumento(remision, copias, cnn_, preparativos);
        try {
            bloques.Despues(remision.id);
        } catch (const ErrorOrvlib& e) {
            throw ErrorDespuesDeImprimir(e);
        }
    } catch (const ErrorDespuesDeImprimir&) {
        ++hechas_;
        if (nota != nullptr) {
            tras(*nota);
        }
        throw;
    } catch (const ErrorOrvlib& e) {
        if (nota != nullptr && enviadaEnCurso_) {
            // What the printer's queue refused failed there; a file not written is still to do.
            const bool aUnaCola = desvio() == ControlDeReporte::Desvio::Ninguno;
            nota->estado = aUnaCola ? EstadoDeNota::Fallida : EstadoDeNota::Pendiente;
            nota->causa = aUnaCola ? e.descripcion() : QString();
            libro_->Anota(plan_->corrida().id, *nota);
        }
        throw;
    }
    ++hechas_;
    if (nota != nullptr) {
        tras(*nota);
    }
}

NotaDelLibro* ImpresionDeRemisiones::notaEnCurso() {
    const auto posicion = ids_.constFind(idEnCurso_);
    if (plan_ == nullptr || posicion == ids_.constEnd()) {
        return nullptr;
    }
    return &plan_->corrida().notas[*posicion];
}

// Written before the document is written or handed over: a kill from here on leaves the note
// sent, to be looked for where it went.
void ImpresionDeRemisiones::enviada(const QString& destino, const QString& documento) {
    NotaDelLibro* nota = notaEnCurso();
    if (nota == nullptr) {
        return;
    }
    if (EnUnSoloPdf()) {
        enviadasAlPdf(*nota, destino);
        return;
    }
    nota->estado = EstadoDeNota::Enviada;
    nota->destino = destino;
    nota->documento = documento;
    nota->trabajoCups = 0;
    nota->causa.clear();
    nota->enviada = QDateTime::currentMSecsSinceEpoch();
    nota->previo =
        QFileInfo(destino).isAbsolute() ? SeguimientoDeNotas::HuellaDeArchivo(destino) : QString();
    libro_->Anota(plan_->corrida().id, *nota);
    enviadaEnCurso_ = true;
    if (desvio() == ControlDeReporte::Desvio::Ninguno) {
        colaVista_ = destino;
    }
}

// The run's one PDF is written whole, under its name, or not at all: its notes are written sent
// together when its first goes in, and what a kill leaves of them is found by that file.
void ImpresionDeRemisiones::enviadasAlPdf(const NotaDelLibro& nota, const QString& archivo) {
    enviadaEnCurso_ = true;
    if (std::exchange(alPdfAnotadas_, true)) {
        return;
    }
    const qint64 ahora = QDateTime::currentMSecsSinceEpoch();
    const QString previo = SeguimientoDeNotas::HuellaDeArchivo(archivo);
    QVector<NotaDelLibro> enviadas;
    for (int numero : plan_->numeros()) {
        NotaDelLibro& n = plan_->corrida().notas[numero - 1];
        if (numero >= nota.numero) {
            n.estado = EstadoDeNota::Enviada;
            n.destino = archivo;
            n.trabajoCups = 0;
            n.causa.clear();
            n.enviada = ahora;
            n.previo = previo;
            enviadas << n;
        }
    }
    libro_->Anota(plan_->corrida().id, enviadas);
}

// After the engine produced the note: a PDF file is whole and synced, a note in the run's one
// PDF waits for the file to be closed, and one handed to a CUPS queue waits for its job.
void ImpresionDeRemisiones::tras(NotaDelLibro& nota) {
    if (plan_ == nullptr || EnUnSoloPdf()) {
        return;
    }
    const ResultadoDeReporte& ultimo = control().UltimoResultado();
    nota.trabajoCups = ultimo.trabajoCups;
    const bool esperaASuTrabajo = desvio() == ControlDeReporte::Desvio::Ninguno &&
                                  ultimo.trabajoCups > 0 && !ColaDeCups::Impreso(ultimo.estadoCups);
    nota.estado = esperaASuTrabajo ? EstadoDeNota::EnCola : EstadoDeNota::Impresa;
    libro_->Anota(plan_->corrida().id, nota);
}

// Between notes sent to a printer: a job of the run that failed in the queue stops the run, so
// that the notes after it are not sent to a printer that does not print.
void ImpresionDeRemisiones::revisaLaCola(ResultadoDeImpresion& resultado) {
    if (plan_ == nullptr || desvio() != ControlDeReporte::Desvio::Ninguno) {
        return;
    }
    SeguimientoDeNotas(*libro_, plan_->corrida()).Actualiza();
    for (int numero : plan_->numeros()) {
        const NotaDelLibro& n = plan_->corrida().notas[numero - 1];
        if (n.estado == EstadoDeNota::Fallida && n.enviada > 0) {
            resultado.remisionFallida = n.folio;
            throw ColaQueFalla(QStringLiteral("La impresora no imprimió la remisión %1: %2")
                                   .arg(n.folio, n.causa));
        }
    }
}

void ImpresionDeRemisiones::terminaEnElLibro(ResultadoDeImpresion& resultado,
                                             const Espera& espera) {
    CorridaDelLibro& corrida = plan_->corrida();
    // The run's one PDF that was not closed wrote nothing: its notes are still to print.
    QVector<NotaDelLibro> sinArchivo;
    for (int numero : plan_->numeros()) {
        NotaDelLibro& n = corrida.notas[numero - 1];
        if (EnUnSoloPdf() && n.estado == EstadoDeNota::Enviada) {
            n.estado = EstadoDeNota::Pendiente;
            sinArchivo << n;
        }
    }
    QString porQueEsperan;
    try {
        if (!sinArchivo.isEmpty()) {
            libro_->Anota(corrida.id, sinArchivo);
        }
        SeguimientoDeNotas seguimiento(*libro_, corrida);
        // A run that stopped still follows the jobs it sent, so its counts are CUPS's.
        if (cancelado_) {
            seguimiento.Actualiza();
        } else {
            seguimiento.Sigue(SeguimientoDeNotas::SegundosDeEspera(), espera);
        }
        porQueEsperan = seguimiento.PorQueEsperan();
    } catch (const ErrorOrvlib& e) {
        if (!resultado.Fallo()) {
            resultado.error = e.texto();
            resultado.causa = e;
        }
    }
    cuentaEnElLibro(resultado, porQueEsperan);
}

void ImpresionDeRemisiones::cuentaEnElLibro(ResultadoDeImpresion& resultado,
                                            const QString& porQueEsperan) {
    resultado.impresas = resultado.enCola = resultado.conError = 0;
    for (int numero : plan_->numeros()) {
        const NotaDelLibro& n = plan_->corrida().notas[numero - 1];
        resultado.impresas += n.estado == EstadoDeNota::Impresa ? 1 : 0;
        resultado.enCola +=
            n.estado == EstadoDeNota::EnCola || n.estado == EstadoDeNota::Enviada ? 1 : 0;
        if (n.estado == EstadoDeNota::Fallida && n.enviada > 0) {
            if (resultado.primerError.isEmpty()) {
                resultado.primerError = n.folio + QStringLiteral(": ") + n.causa;
            }
            ++resultado.conError;
        }
    }
    resultado.porQueEsperan = resultado.enCola > 0 ? porQueEsperan : QString();
    resultado.destino = desvio() == ControlDeReporte::Desvio::Ninguno && !colaVista_.isEmpty()
                            ? QStringLiteral("impresora «%1»").arg(colaVista_)
                            : Destino();
    const QString salida = QDir::toNativeSeparators(control().CarpetaDeSalida());
    if (desvio() == ControlDeReporte::Desvio::Pdf && resultado.impresas > 0) {
        resultado.dondeQuedaron = QStringLiteral("En la carpeta ") + salida;
    } else if (EnUnSoloPdf() && resultado.impresas > 0) {
        resultado.dondeQuedaron = QStringLiteral("En el archivo ") + salida;
    }
}

// A client's note text is looked up once in a run, however many of its notes it prints.
QString ImpresionDeRemisiones::notasDe(const QString& cliente) {
    auto guardada = notasPorCliente_.constFind(cliente);
    if (guardada == notasPorCliente_.constEnd()) {
        guardada =
            notasPorCliente_.insert(cliente, TextoDeNotas(cliente, QStringLiteral("CLI"), cnn_));
    }
    return *guardada;
}

// The run's one PDF, when it goes to one, is written and named once its last note is in it;
// then its notes are printed.
void ImpresionDeRemisiones::cierraDocumento() {
    try {
        if (control().CierraDocumentoDeCorrida().isEmpty() || plan_ == nullptr) {
            return;
        }
    } catch (const ErrorDeReporte& e) {
        throw ErrorOrvlib(e.numero(), e.texto(), Plantilla());
    }
    QVector<NotaDelLibro> impresas;
    for (int numero : plan_->numeros()) {
        NotaDelLibro& n = plan_->corrida().notas[numero - 1];
        if (n.estado == EstadoDeNota::Enviada) {
            n.estado = EstadoDeNota::Impresa;
            impresas << n;
        }
    }
    libro_->Anota(plan_->corrida().id, impresas);
}
