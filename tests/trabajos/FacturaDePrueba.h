#pragma once

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasConDescuento.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/factura/BusquedasDeFactura.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/factura/TextosDeFactura.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

inline const QDate kDia(2026, 11, 10);

inline Importe imp(const char* texto) {
    return Importe::DeTexto(QString::fromLatin1(texto));
}

// The invoice job on a store with a client, its place of issue and an invoice counter, on
// connections of its own (the program folder is not set up); its working database is made for
// each test and dropped after it.
class Factura : public TiendaConResguardo {
protected:
    Conexion principal;
    Conexion temporal;
    FacturaDeRemisiones trabajo{principal, temporal};

    void SetUp() override {
        ASSERT_TRUE(base.bases().AbrirBdD(principal));
        ASSERT_TRUE(trabajo.TomaLaBaseTemporal());
        trabajo.PreparaBaseTemporal();
        trabajo.PonReloj([] { return QTime(14, 15, 9); });
        base.ejecuta(QStringLiteral(
            "INSERT INTO clientes (Clave, Nombre, MetodoDePago, RFC, Calle, Ciudad) VALUES "
            "('C1', 'ANA SOFÍA', '03 - Transferencia', 'AS0101', 'Hidalgo 3', 'Colima')"));
        base.ejecuta(QStringLiteral("INSERT INTO generales (Localidad2) VALUES ('COLIMA, COL.')"));
        base.ejecuta(
            QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123')"));
    }

    void TearDown() override {
        trabajo.BorraBaseTemporal();
        trabajo.SueltaLaBaseTemporal();
    }

    static PartidaDePrueba linea(const char* producto, double cantidad, double precio,
                                 double iva = 16, double ieps = 0) {
        PartidaDePrueba p;
        p.producto = QString::fromLatin1(producto);
        p.cantidad = cantidad;
        p.precio = precio;
        p.iva = iva;
        p.ieps = ieps;
        return p;
    }

    TotalesDeFactura aplica(float porcentaje = 0, const QString& serie = {},
                            const QString& cliente = {}, const QString& nombre = {}) {
        return trabajo.AplicaPorcentaje(
            {kDia, kDia.addDays(2), serie, cliente, nombre, porcentaje});
    }

    DatosDeFactura datos(const TotalesDeFactura& t, qint32 folio = 124) {
        DatosDeFactura d;
        d.serie = QStringLiteral("B");
        d.cliente = QStringLiteral("C1");
        d.fecha = QDate(2026, 11, 30);
        d.folioPropuesto = folio;
        d.subtotal = t.subtotalDespues;
        d.iva = t.ivaDespues;
        d.ieps = t.iepsDespues;
        d.metodoDePago = QStringLiteral("03");
        return d;
    }

    QString valor(const QString& sentencia) { return base.valor(sentencia).toString(); }

    // Everything an invoice run could change, to compare before and after a failure.
    QString estado() {
        return valor(
            QStringLiteral(
                "SELECT CONCAT((SELECT COUNT(*) FROM facturas), '/', (SELECT COUNT(*) FROM "
                "facturasdetalle), '/', (SELECT Contenido FROM sistema WHERE Dato='FA-B'), '/', "
                "(SELECT IFNULL(SUM(Cancelada) + SUM(Facturada), 0) FROM remisiones), '/', (SELECT "
                "COUNT(*) "
                "FROM %1.remisiones))")
                .arg(resguardo));
    }

    // The text of the refusal of an invoice that must be refused.
    QString rechazo(const DatosDeFactura& d) {
        try {
            trabajo.GeneraFactura(d, resguardo);
            ADD_FAILURE() << "debió rechazarse";
        } catch (const Rechazo& r) {
            return r.texto();
        }
        return {};
    }

    // The message of an invoice that must fail.
    QString falla(const DatosDeFactura& d, const std::function<void(int, qint32)>& avance = {}) {
        try {
            trabajo.GeneraFactura(d, resguardo, avance);
            ADD_FAILURE() << "debió fallar";
        } catch (const ErrorOrvlib& e) {
            return e.descripcion();
        }
        return {};
    }
};
