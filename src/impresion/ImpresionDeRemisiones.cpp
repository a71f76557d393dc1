#include "impresion/ImpresionDeRemisiones.h"

#include "impresion/ImpresionDeDocumento.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ErrorDeReporte.h"

#include <exception>

namespace {

QString cuantas(const ResultadoDeImpresion& r) {
    return r.impresas == 1
               ? QStringLiteral("Se imprimió 1 de %1 remisiones.").arg(r.total)
               : QStringLiteral("Se imprimieron %1 de %2 remisiones.").arg(r.impresas).arg(r.total);
}

} // namespace

QString ResultadoDeImpresion::Mensaje() const {
    if (Fallo()) {
        const QString donde =
            fallidaImpresa
                ? QStringLiteral("La remisión ") + remisionFallida +
                      QStringLiteral(" se imprimió, pero la impresión se detuvo al terminarla")
            : remisionFallida.isEmpty()
                ? QStringLiteral("La impresión no pudo comenzar")
                : QStringLiteral("La impresión se detuvo en la remisión ") + remisionFallida;
        return donde + QStringLiteral(" (plantilla ") + ImpresionDeRemisiones::Plantilla() +
               QStringLiteral(").\r\n") + cuantas(*this) + QStringLiteral("\r\n\r\n") + error;
    }
    if (!Completa()) {
        return QStringLiteral("Impresión cancelada. ") + cuantas(*this);
    }
    return ImpresionDeRemisiones::Aviso() + QStringLiteral(": %1").arg(impresas);
}

QString ResultadoDeImpresion::Resumen() const {
    QString texto = QStringLiteral("impresas %1 de %2").arg(impresas).arg(total);
    if (Fallo()) {
        return texto +
               (fallidaImpresa ? QStringLiteral("; detenida después de imprimir ")
                               : QStringLiteral("; detenida en ")) +
               (remisionFallida.isEmpty() ? QStringLiteral("el inicio") : remisionFallida) +
               QStringLiteral(": ") + error;
    }
    return Completa() ? texto : texto + QStringLiteral("; cancelada");
}

ImpresionDeRemisiones::ImpresionDeRemisiones(Conexion& cnn)
    : cnn_(cnn) {}

ResultadoDeImpresion ImpresionDeRemisiones::Imprime(const Avance& avance, qint32 desde) {
    cancelado_ = false;
    ResultadoDeImpresion resultado;
    try {
        imprimeCopias(resultado, avance, desde);
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
    if (!resultado.Completa() && EnUnSoloPdf()) {
        resultado.impresas = 0;
        resultado.fallidaImpresa = false;
        resultado.idSiguiente = 0;
    }
    return resultado;
}

bool ImpresionDeRemisiones::EnUnSoloPdf() {
    return modRPTs::actual().crpReport.DesvioActual() == ControlDeReporte::Desvio::PdfUnico;
}

void ImpresionDeRemisiones::imprimeCopias(ResultadoDeImpresion& resultado, const Avance& avance,
                                          qint32 desde) {
    const auto ajuste = [this](const char* nombre) {
        return EsVerdadero(
            BasesDD::LeeDato(QString::fromLatin1(nombre), cnn_, QStringLiteral("configura")));
    };
    const qint16 desglose = ajuste("VariosIVAs") || ajuste("VariosImpAd") ? 6 : 0;
    Recordset copias;
    BasesDD::AbrirTabla(copias, cnn_,
                        QStringLiteral("tmpremisiones where Id>=%1 order by Id").arg(desde));
    resultado.total = copias.cuenta();
    if (copias.fin()) {
        return;
    }
    PreparativosDeImpresion preparativos(cnn_, Plantilla());
    notasPorCliente_.clear();
    for (; !copias.fin() && !cancelado_; copias.siguiente()) {
        const QString folio = copias.campo(QStringLiteral("Factura")).toString();
        resultado.remisionFallida =
            (copias.campo(QStringLiteral("Serie")).toString() + QLatin1Char(' ') + folio).trimmed();
        if (avance) {
            avance(resultado.impresas + 1, resultado.total, folio);
        }
        RemisionAImprimir remision;
        remision.id = copias.campo(QStringLiteral("Id")).toInt();
        resultado.idSiguiente = remision.id;
        remision.seleccion = QStringLiteral("{Remisiones.Id}=%1").arg(remision.id);
        remision.conDesglose = desglose;
        remision.textoNotas = notasDe(copias.campo(QStringLiteral("Cliente")).toString());
        remision.tablaEncabezado = QStringLiteral("tmpremisiones");
        remision.tablaDetalle = QStringLiteral("tmpremisionesdetalle");
        remision.nombre = resultado.remisionFallida;
        try {
            ImprimeDocumento(remision, copias, cnn_, preparativos);
        } catch (const ErrorDespuesDeImprimir&) {
            ++resultado.impresas;
            copias.siguiente();
            resultado.idSiguiente = copias.fin() ? 0 : copias.campo(QStringLiteral("Id")).toInt();
            throw;
        }
        ++resultado.impresas;
    }
    resultado.idSiguiente = copias.fin() ? 0 : copias.campo(QStringLiteral("Id")).toInt();
    if (resultado.impresas == resultado.total) {
        cierraDocumento();
    }
    resultado.remisionFallida.clear();
    BasesDD::CierraTabla(copias);
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

// The run's one PDF, when it goes to one, is written and named once its last note is in it.
void ImpresionDeRemisiones::cierraDocumento() {
    try {
        modRPTs::actual().crpReport.CierraDocumentoDeCorrida();
    } catch (const ErrorDeReporte& e) {
        throw ErrorOrvlib(e.numero(), e.texto(), Plantilla());
    }
}
