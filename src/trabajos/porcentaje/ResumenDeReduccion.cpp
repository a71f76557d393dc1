#include "trabajos/porcentaje/ResumenDeReduccion.h"

#include "orvlib/Conexion.h"
#include "orvlib/Formato.h"

#include <QSqlQuery>

namespace {

QString dinero(const QVariant& valor) {
    return Formato::Numero(Importe::DeVariant(valor).ADouble(), QStringLiteral("###,###,##0.00"));
}

} // namespace

DatosDeResumen ResumenDeReduccion::Datos(Conexion& cnn, const ResumenDePorcentaje& resumen,
                                         const QString& parametros, const QString& bitacora) {
    DatosDeResumen d;
    d.titulo = QStringLiteral("Reimpresión de remisiones (%)");
    d.parametros =
        QStringList{QStringLiteral("Datos: ") + parametros,
                    QStringLiteral("Remisiones encontradas: %1").arg(resumen.remisiones)} +
        ReimpresionConPorcentaje::Resumen(resumen).split(QStringLiteral("\r\n"));
    d.encabezados = {QStringLiteral("Remisión"), QStringLiteral("Fecha"),
                     QStringLiteral("Total real"), QStringLiteral("Nuevo total")};
    QSqlQuery q = cnn.consulta(QStringLiteral(
        "SELECT t.Serie, t.Factura, t.Fecha, r.Subtotal+r.IVA+r.ImpuestoAd, "
        "t.Subtotal+t.IVA+t.ImpuestoAd FROM tmpremisiones t JOIN remisiones r ON r.Id=t.Id "
        "ORDER BY t.Serie, t.Factura"));
    while (q.next()) {
        const QString serie = q.value(0).toString().trimmed();
        d.filas.append({serie.isEmpty() ? q.value(1).toString()
                                        : serie + QLatin1Char(' ') + q.value(1).toString(),
                        Formato::DiaCorto(q.value(2).toDate()), dinero(q.value(3)),
                        dinero(q.value(4))});
    }
    d.totales = {QStringLiteral("Totales:"), QString(),
                 Formato::Numero(resumen.totalReal().ADouble(), QStringLiteral("###,###,##0.00")),
                 Formato::Numero(resumen.totalNuevo().ADouble(), QStringLiteral("###,###,##0.00"))};
    d.bitacora = bitacora;
    return d;
}
