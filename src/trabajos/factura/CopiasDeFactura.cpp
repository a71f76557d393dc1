#include "trabajos/factura/CopiasDeFactura.h"

#include "orvlib/Conexion.h"
#include "tienda/BaseDeFactura.h"
#include "tienda/LimitesDeImporte.h"
#include "tienda/ReglasDeImpuestos.h"
#include "tienda/TablasDeTrabajo.h"
#include "trabajos/factura/SeleccionDeFactura.h"

#include <QSqlQuery>
#include <QStringList>

TotalesDeFactura CopiasDeFactura::Aplica(Conexion& principal, Conexion& temporal,
                                         const SeleccionDeFactura& seleccion,
                                         const std::function<void()>& alAvanzar,
                                         CopiasAplicadas& aplicadas) {
    LimitesDeImporte::Revisa(principal, seleccion.Condicion());
    copia(principal, temporal, seleccion, alAvanzar);
    aplicadas.partidas = Partidas(principal);
    aplicadas.huella = Huella(principal);
    return totales(temporal, aplicadas.partidas);
}

void CopiasDeFactura::copia(Conexion& principal, Conexion& temporal,
                            const SeleccionDeFactura& seleccion,
                            const std::function<void()>& alAvanzar) {
    temporal.ejecuta(QStringLiteral("Truncate table remisiones"));
    temporal.ejecuta(QStringLiteral("Truncate table remisionesdetalle"));
    const QString base = BaseDeFactura::Nombre();
    principal.ejecuta(QStringLiteral("Insert into ") + base +
                      QStringLiteral(".remisiones SELECT * from ") + seleccion.Condicion() +
                      QStringLiteral(" order by Fecha"));
    if (alAvanzar) {
        alAvanzar();
    }
    // The lines of exactly the notes copied, in one statement that also reduces them: quantities
    // rounded to whole numbers, a quantity that reaches 0 kept at 1.
    const QString reducida = QStringLiteral("Round(d.Cantidad - d.Cantidad * ") +
                             SeleccionDeFactura::TextoDePorcentaje(seleccion.porcentaje) +
                             QStringLiteral("/100)");
    principal.ejecuta(
        QStringLiteral("Insert into %1.remisionesdetalle SELECT %2 from remisionesdetalle d "
                       "join %1.remisiones t on t.Id=d.Id")
            .arg(base, TablasDeTrabajo::Columnas(
                           principal, QStringLiteral("remisionesdetalle"), QStringLiteral("d"),
                           {{QStringLiteral("cantidad"),
                             QStringLiteral("IF(%1=0, 1, %1)").arg(reducida)}})));
}

TotalesDeFactura CopiasDeFactura::totales(Conexion& temporal,
                                          const QVector<PartidaDeFactura>& partidas) {
    TotalesDeFactura t;
    QSqlQuery antes = temporal.consulta(
        QStringLiteral("SELECT COUNT(*), IFNULL(SUM(Subtotal),0), IFNULL(SUM(IVA),0), "
                       "IFNULL(SUM(ImpuestoAd),0), (SELECT COUNT(*) FROM remisionesdetalle) FROM "
                       "remisiones"));
    antes.next();
    t.remisiones = antes.value(0).toInt();
    t.subtotalAntes = Importe::DeVariant(antes.value(1));
    t.ivaAntes = Importe::DeVariant(antes.value(2));
    t.iepsAntes = Importe::DeVariant(antes.value(3));
    t.partidas = antes.value(4).toInt();
    // The figures after the reduction are those the invoice's lines will carry.
    const PartidasDeFactura::Sumas despues = PartidasDeFactura::Suma(partidas);
    t.subtotalDespues = despues.subtotal;
    t.ivaDespues = despues.iva;
    t.iepsDespues = despues.ieps;
    return t;
}

QVector<PartidaDeFactura> CopiasDeFactura::Partidas(Conexion& principal) {
    return PartidasDeFactura::Lee(principal, BaseDeFactura::Nombre(), ReglasDeImpuestos(principal));
}

QString CopiasDeFactura::Huella(Conexion& principal) {
    const QString base = BaseDeFactura::Nombre();
    QSqlQuery sumas = principal.consulta(
        QStringLiteral("CHECKSUM TABLE %1.remisiones, %1.remisionesdetalle").arg(base));
    QStringList huella;
    while (sumas.next()) {
        huella << sumas.value(1).toString();
    }
    return huella.join(QLatin1Char(' '));
}
