#include "trabajos/exportacion/ExportacionDeTope.h"

#include "orvlib/Conexion.h"
#include "trabajos/tope/NotasElegidas.h"

#include <QHash>
#include <QSqlQuery>

namespace {

using Tipo = HojaDeCalculo::Tipo;

// The first and last new folio of a day.
struct Folios {
    qint64 primero = 0;
    qint64 ultimo = 0;
};

HojaDeCalculo hojaDeRemisiones(Conexion& cnn, const ResultadoDeTope& resultado,
                               QHash<QDate, Folios>& folios) {
    HojaDeCalculo hoja{QStringLiteral("Remisiones elegidas"),
                       {{QStringLiteral("Fecha"), Tipo::Fecha},
                        {QStringLiteral("Serie"), Tipo::Texto},
                        {QStringLiteral("Folio original"), Tipo::Entero},
                        {QStringLiteral("Folio nuevo"), Tipo::Entero},
                        {QStringLiteral("Cliente"), Tipo::Texto},
                        {QStringLiteral("Nombre"), Tipo::Texto},
                        {QStringLiteral("Subtotal"), Tipo::Dinero},
                        {QStringLiteral("Descuento"), Tipo::Dinero},
                        {QStringLiteral("I. V. A."), Tipo::Dinero},
                        {QStringLiteral("IEPS"), Tipo::Dinero},
                        {QStringLiteral("Total"), Tipo::Dinero}},
                       {},
                       {}};
    // The working copies in new folio order, each beside its host note's original folio.
    QSqlQuery q = cnn.consulta(QStringLiteral(
        "SELECT t.Fecha, t.Serie, r.Factura, t.Factura, t.Cliente, t.Nombre, t.Subtotal, "
        "t.Descuento, t.IVA, t.ImpuestoAd FROM tmpremisiones t JOIN remisiones r ON r.Id=t.Id "
        "ORDER BY t.Factura"));
    Importe sumas[4];
    while (q.next()) {
        const QDate fecha = q.value(0).toDate();
        const qint64 folio = q.value(3).toLongLong();
        Folios& delDia = folios[fecha];
        delDia.primero = delDia.primero == 0 ? folio : std::min(delDia.primero, folio);
        delDia.ultimo = std::max(delDia.ultimo, folio);
        HojaDeCalculo::Fila fila{fecha, q.value(1).toString(), q.value(2).toLongLong(),
                                 folio, q.value(4).toString(), q.value(5).toString()};
        Importe total;
        for (int i = 0; i < 4; ++i) {
            const Importe cifra = Importe::DeVariant(q.value(6 + i));
            fila << cifra;
            sumas[i] += cifra;
            total += i == 1 ? Importe() : cifra;
        }
        hoja.filas << (fila << total);
    }
    hoja.totales << HojaDeCalculo::Fila{
        QStringLiteral("Totales:"), {}, {}, {}, {}, {}, sumas[0], sumas[1], sumas[2], sumas[3],
        resultado.impreso};
    return hoja;
}

HojaDeCalculo hojaDeDias(const ResultadoDeTope& resultado, Importe tope,
                         const QHash<QDate, Folios>& folios) {
    HojaDeCalculo hoja{QStringLiteral("Días"),
                       {{QStringLiteral("Fecha"), Tipo::Fecha},
                        {QStringLiteral("Total real"), Tipo::Dinero},
                        {QStringLiteral("Parte del tope"), Tipo::Dinero},
                        {QStringLiteral("Total elegido"), Tipo::Dinero},
                        {QStringLiteral("Remisiones"), Tipo::Entero},
                        {QStringLiteral("Primer folio nuevo"), Tipo::Entero},
                        {QStringLiteral("Último folio nuevo"), Tipo::Entero}},
                       {},
                       {}};
    Importe partes;
    for (const DiaDeTope& dia : resultado.dias) {
        const Importe parte = NotasElegidas::ParteDelTope(dia, resultado, tope);
        partes += parte;
        const Folios f = folios.value(dia.fecha);
        hoja.filas << HojaDeCalculo::Fila{dia.fecha,
                                          dia.totalReal,
                                          parte,
                                          dia.aImprimir,
                                          qint64{dia.remisiones},
                                          f.primero == 0 ? HojaDeCalculo::Valor{} : f.primero,
                                          f.ultimo == 0 ? HojaDeCalculo::Valor{} : f.ultimo};
    }
    hoja.totales << HojaDeCalculo::Fila{QStringLiteral("Totales:"), resultado.real, partes,
                                        resultado.impreso, qint64{resultado.remisiones}};
    return hoja;
}

} // namespace

LibroDeCalculo ExportacionDeTope::Libro(Conexion& cnn, const ResultadoDeTope& resultado,
                                        Importe tope) {
    QHash<QDate, Folios> folios;
    HojaDeCalculo remisiones = hojaDeRemisiones(cnn, resultado, folios);
    return {hojaDeDias(resultado, tope, folios), remisiones};
}

QString ExportacionDeTope::NombrePropuesto(const ResultadoDeTope& resultado) {
    if (resultado.dias.isEmpty()) {
        return QStringLiteral("tope.xlsx");
    }
    return QStringLiteral("tope-%1-al-%2.xlsx")
        .arg(resultado.dias.first().fecha.toString(Qt::ISODate),
             resultado.dias.last().fecha.toString(Qt::ISODate));
}
