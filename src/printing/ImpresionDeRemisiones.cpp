#include "printing/ImpresionDeRemisiones.h"

#include "orvlib/BasesDD.h"
#include "printing/ImpresionDeDocumento.h"

ImpresionDeRemisiones::ImpresionDeRemisiones(Conexion& cnn)
    : cnn_(cnn) {}

int ImpresionDeRemisiones::Imprime(const std::function<void(const QString&)>& avance) {
    cancelado_ = false;
    const auto ajuste = [this](const char* nombre) {
        return EsVerdadero(
            BasesDD::LeeDato(QString::fromLatin1(nombre), cnn_, QStringLiteral("configura")));
    };
    const qint16 desglose = ajuste("VariosIVAs") || ajuste("VariosImpAd") ? 6 : 0;
    Recordset copias;
    BasesDD::AbrirTabla(copias, cnn_, QStringLiteral("tmpremisiones order by Id"));
    int impresas = 0;
    for (; !copias.fin() && !cancelado_; copias.siguiente()) {
        if (avance) {
            avance(QStringLiteral("Remisión ") +
                   copias.campo(QStringLiteral("Factura")).toString());
        }
        const qint32 id = copias.campo(QStringLiteral("Id")).toInt();
        const QString notas = TextoDeNotas(copias.campo(QStringLiteral("Cliente")).toString(),
                                           QStringLiteral("CLI"), cnn_);
        ImprimeDocumento(QStringLiteral("{Remisiones.Id}=%1").arg(id),
                         QStringLiteral("fmtRemision.rpt"), 2, id, cnn_, desglose, notas,
                         QStringLiteral("tmpremisiones"), QStringLiteral("tmpremisionesdetalle"));
        ++impresas;
    }
    BasesDD::CierraTabla(copias);
    return impresas;
}
