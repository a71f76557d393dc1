#include "trabajos/exportacion/ExportacionDePorcentaje.h"

#include "orvlib/Conexion.h"

#include <QDateTime>
#include <QSqlQuery>

LibroDeCalculo ExportacionDePorcentaje::Libro(Conexion& cnn, const ResumenDePorcentaje& resumen) {
    using Tipo = HojaDeCalculo::Tipo;
    HojaDeCalculo hoja{QStringLiteral("Remisiones reducidas"),
                       {{QStringLiteral("Fecha"), Tipo::Fecha},
                        {QStringLiteral("Serie"), Tipo::Texto},
                        {QStringLiteral("Folio"), Tipo::Entero},
                        {QStringLiteral("Cliente"), Tipo::Texto},
                        {QStringLiteral("Nombre"), Tipo::Texto},
                        {QStringLiteral("Subtotal real"), Tipo::Dinero},
                        {QStringLiteral("I. V. A. real"), Tipo::Dinero},
                        {QStringLiteral("IEPS real"), Tipo::Dinero},
                        {QStringLiteral("Total real"), Tipo::Dinero},
                        {QStringLiteral("Nuevo subtotal"), Tipo::Dinero},
                        {QStringLiteral("Nuevo I. V. A."), Tipo::Dinero},
                        {QStringLiteral("Nuevo IEPS"), Tipo::Dinero},
                        {QStringLiteral("Nuevo total"), Tipo::Dinero}},
                       {},
                       {}};
    QSqlQuery q = cnn.consulta(QStringLiteral(
        "SELECT t.Fecha, t.Serie, t.Factura, t.Cliente, t.Nombre, r.Subtotal, r.IVA, "
        "r.ImpuestoAd, t.Subtotal, t.IVA, t.ImpuestoAd FROM tmpremisiones t JOIN remisiones r "
        "ON r.Id=t.Id ORDER BY t.Serie, t.Factura"));
    while (q.next()) {
        HojaDeCalculo::Fila fila{q.value(0).toDate(), q.value(1).toString(),
                                 q.value(2).toLongLong(), q.value(3).toString(),
                                 q.value(4).toString()};
        for (int lado : {5, 8}) {
            Importe total;
            for (int i = lado; i < lado + 3; ++i) {
                const Importe cifra = Importe::DeVariant(q.value(i));
                fila << cifra;
                total += cifra;
            }
            fila << total;
        }
        hoja.filas << fila;
    }
    const ResumenDePorcentaje& r = resumen;
    hoja.totales << HojaDeCalculo::Fila{QStringLiteral("Totales:"),
                                        {},
                                        {},
                                        {},
                                        {},
                                        r.subtotalReal,
                                        r.ivaReal,
                                        r.impAdReal,
                                        r.totalReal(),
                                        r.subtotalNuevo,
                                        r.ivaNuevo,
                                        r.impAdNuevo,
                                        r.totalNuevo()};
    return {hoja};
}

QString ExportacionDePorcentaje::NombrePropuesto() {
    return QStringLiteral("porcentaje-%1.xlsx")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")));
}
