#include "OrdenFactura.h"

#include "hostdata/Bitacora.h"
#include "hostdata/ParaPluginsPortables.h"
#include "hostdata/Proceso.h"
#include "jobs/invoice/FacturaDeRemisiones.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"

#include <QDate>
#include <cstdio>

namespace {

QString dinero(Importe importe) {
    return Formato::Numero(importe.ADouble(), QStringLiteral("#,0.00"));
}

// The amount as the window shows it and reads it back: two decimals.
Importe mostrado(Importe importe) {
    return Importe::DeDouble(libKwtm::kwVal(dinero(importe)));
}

} // namespace

QString OrdenFactura::sinopsis() const {
    return QStringLiteral("factura --desde DD/MM/AAAA --hasta DD/MM/AAAA --porcentaje P "
                          "--serie-factura S --cliente C [--serie-remisiones S] "
                          "[--cliente-remisiones C] [--nombre TEXTO] [--fecha DD/MM/AAAA] "
                          "[--generar]");
}

QString OrdenFactura::descripcion() const {
    return QStringLiteral(
        "Factura por remisiones: copia las remisiones afectadas y no facturadas del período, "
        "reduce sus cantidades en el porcentaje y muestra los totales. Con --generar crea la "
        "factura de Orvane, cancela las remisiones y guarda sus copias en la base de "
        "resguardo.");
}

QList<QCommandLineOption> OrdenFactura::opciones() const {
    return {
        {QStringLiteral("desde"), QStringLiteral("Primer día."), QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("hasta"), QStringLiteral("Último día."), QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("porcentaje"), QStringLiteral("Porcentaje a reducir, de 0 a 100."),
         QStringLiteral("P")},
        {QStringLiteral("serie-factura"), QStringLiteral("Serie de la factura."),
         QStringLiteral("S")},
        {QStringLiteral("cliente"), QStringLiteral("Cliente de la factura."), QStringLiteral("C")},
        {QStringLiteral("serie-remisiones"), QStringLiteral("Sólo remisiones de esta serie."),
         QStringLiteral("S")},
        {QStringLiteral("cliente-remisiones"), QStringLiteral("Sólo remisiones de este cliente."),
         QStringLiteral("C")},
        {QStringLiteral("nombre"),
         QStringLiteral("Sólo remisiones cuyo nombre contenga este texto."),
         QStringLiteral("TEXTO")},
        {QStringLiteral("fecha"), QStringLiteral("Fecha de la factura (hoy si no se da)."),
         QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("generar"), QStringLiteral("Genera la factura después de aplicar.")},
    };
}

int OrdenFactura::ejecuta(const QCommandLineParser& opciones) {
    QDate desde;
    QDate hasta;
    double porcentaje = 0;
    if (!LeeFecha(opciones, QStringLiteral("desde"), desde) ||
        !LeeFecha(opciones, QStringLiteral("hasta"), hasta) ||
        !LeeNumero(opciones, QStringLiteral("porcentaje"), porcentaje)) {
        return 2;
    }
    QDate fecha = QDate::currentDate();
    if (opciones.isSet(QStringLiteral("fecha")) &&
        !LeeFecha(opciones, QStringLiteral("fecha"), fecha)) {
        return 2;
    }
    FacturaDeRemisiones::ValidaEntrada(desde, hasta, static_cast<float>(porcentaje));
    Proceso& p = Proceso::actual();
    const QString resguardo = LeeIniConDefault(QStringLiteral("Configuración"),
                                               QStringLiteral("Base de datos de resguardo"),
                                               QStringLiteral("datos2"), *p.kw, p.stArchivoIni);
    Conexion principal;
    Conexion temporal;
    if (!AbreBase(principal)) {
        return 1;
    }
    FacturaDeRemisiones trabajo(principal, temporal);
    if (!trabajo.TomaLaBaseTemporal()) {
        Falla(FacturaDeRemisiones::Ocupada(trabajo.QuienTieneLaBaseTemporal()));
        return 2;
    }
    // The working database goes before the lock, which goes with the job.
    const AlSalir limpia([&trabajo] { trabajo.BorraBaseTemporal(); });
    trabajo.PreparaBaseTemporal();
    const QString serie = opciones.value(QStringLiteral("serie-remisiones"));
    const QString clienteRemisiones = opciones.value(QStringLiteral("cliente-remisiones"));
    const QString nombre = opciones.value(QStringLiteral("nombre"));
    TotalesDeFactura t;
    Bitacora::Registra(QStringLiteral("factura aplicar (consola)"),
                       FacturaDeRemisiones::Parametros(desde, hasta, serie, clienteRemisiones,
                                                       nombre, static_cast<float>(porcentaje)),
                       [&] {
                           t = trabajo.AplicaPorcentaje(desde, hasta, serie, clienteRemisiones,
                                                        nombre, static_cast<float>(porcentaje));
                           return FacturaDeRemisiones::Resumen(t);
                       });
    if (t.remisiones == 0) {
        if (opciones.isSet(QStringLiteral("generar"))) {
            Falla(SinRemisiones() + QStringLiteral("; no se generó ninguna factura."));
            return 2;
        }
        Escribe(SinRemisiones());
        return 0;
    }
    Escribe(QStringLiteral("\tSin aplicar descuento:\tCon el % aplicado:"));
    Escribe(QStringLiteral("Subtotal:\t%1\t%2")
                .arg(dinero(t.subtotalAntes), dinero(t.subtotalDespues)));
    Escribe(QStringLiteral("I. V. A.:\t%1\t%2").arg(dinero(t.ivaAntes), dinero(t.ivaDespues)));
    Escribe(QStringLiteral("IEPS:\t%1\t%2").arg(dinero(t.iepsAntes), dinero(t.iepsDespues)));
    Escribe(QStringLiteral("Total:\t%1\t%2").arg(dinero(t.totalAntes()), dinero(t.totalDespues())));
    if (!opciones.isSet(QStringLiteral("generar"))) {
        return 0;
    }
    DatosDeFactura datos;
    datos.serie = opciones.value(QStringLiteral("serie-factura"));
    datos.cliente = opciones.value(QStringLiteral("cliente"));
    datos.fecha = fecha;
    datos.folioPropuesto =
        static_cast<qint32>(libKwtm::kwVal(BasesDD::LeeDato(QStringLiteral("FA-") + datos.serie,
                                                            principal, QStringLiteral("sistema"))
                                               .toString()) +
                            1);
    datos.subtotal = mostrado(t.subtotalDespues);
    datos.iva = mostrado(t.ivaDespues);
    datos.ieps = mostrado(t.iepsDespues);
    Recordset cliente;
    if (BasesDD::AbrirTabla(cliente, principal,
                            QStringLiteral("clientes where Clave=") +
                                Sentencias::Texto(datos.cliente.trimmed()),
                            QStringLiteral("MetodoDePago"))) {
        datos.metodoDePago = FacturaDeRemisiones::ClaveMetodoPago(
            cliente.campo(QStringLiteral("MetodoDePago")).toString());
    }
    const QStringList sinTransaccion = trabajo.TablasSinTransaccion(resguardo);
    if (!sinTransaccion.isEmpty()) {
        std::fprintf(stderr,
                     "Atención: estas tablas no admiten transacciones: %s. Si algo fallara a la "
                     "mitad, lo ya escrito en ellas no se podría deshacer.\n",
                     sinTransaccion.join(QStringLiteral(", ")).toUtf8().constData());
    }
    FacturaCreada creada;
    Bitacora::Registra(QStringLiteral("factura generar (consola)"),
                       FacturaDeRemisiones::Parametros(datos), [&] {
                           creada = trabajo.GeneraFactura(datos, resguardo);
                           return QStringLiteral("factura %1%2 (Id %3)")
                               .arg(creada.serie)
                               .arg(creada.folio)
                               .arg(creada.id);
                       });
    Escribe(QStringLiteral("Factura creada '%1%2'").arg(creada.serie).arg(creada.folio));
    return 0;
}
