#include "trabajos/tope/NotasElegidas.h"

#include "orvlib/Conexion.h"
#include "orvlib/libKwtm.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QSqlQuery>

QVector<NotaElegida> NotasElegidas::DelDia(Conexion& cnn, const QDate& fecha) {
    QSqlQuery q = cnn.consulta(
        QStringLiteral("SELECT r.Serie, r.Factura, r.Cliente, r.Nombre, "
                       "r.Subtotal+r.IVA+r.ImpuestoAd, t.Factura FROM tmpremisiones t JOIN "
                       "remisiones r ON r.Id=t.Id WHERE t.Fecha='%1' ORDER BY t.Factura")
            .arg(libKwtm::FechaSQL(fecha)));
    QVector<NotaElegida> notas;
    while (q.next()) {
        notas.append({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toString(),
                      q.value(3).toString(), Importe::DeVariant(q.value(4)),
                      q.value(5).toLongLong()});
    }
    return notas;
}

Importe NotasElegidas::ParteDelTope(const DiaDeTope& dia, const ResultadoDeTope& resultado,
                                    Importe tope) {
    if (resultado.real <= Importe()) {
        return Importe();
    }
    // tope × día ÷ período in exact 128-bit arithmetic, then to cents.
    const Entero128 producto =
        static_cast<Entero128>(tope.Diezmilesimos()) * dia.totalReal.Diezmilesimos();
    const Entero128 parte = producto / resultado.real.Diezmilesimos();
    return Importe::DeDiezmilesimos(static_cast<qint64>(parte)).EnCentavos();
}

QString NotasElegidas::Resumen(const ResultadoDeTope& resultado, Importe tope) {
    return QStringLiteral("Elegido %1 de un tope de %2 (cada día incluye la remisión que alcanza "
                          "su parte)")
        .arg(RejaDeTope::Dinero(resultado.impreso), RejaDeTope::Dinero(tope));
}
