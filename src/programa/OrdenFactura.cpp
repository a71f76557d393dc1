#include "OrdenFactura.h"

#include "orvlib/AlSalir.h"
#include "orvlib/Formato.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "tienda/ParaPluginsPortables.h"
#include "trabajos/exportacion/EscritorDeLibro.h"
#include "trabajos/exportacion/ExportacionDeFactura.h"
#include "trabajos/factura/AjustesDeFactura.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/factura/TextosDeFactura.h"

#include <QDate>
#include <cstdio>
#include <stdexcept>

QString OrdenFactura::sinopsis() const {
    return QStringLiteral("factura --desde DD/MM/AAAA --hasta DD/MM/AAAA --porcentaje P "
                          "--serie-factura S --cliente C [--serie-remisiones S] "
                          "[--cliente-remisiones C] [--nombre TEXTO] [--fecha DD/MM/AAAA] "
                          "[--generar] [--exportar ARCHIVO]");
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
        {QStringLiteral("porcentaje"),
         QStringLiteral("Porcentaje a reducir, de 0 o más y menor que 100."), QStringLiteral("P")},
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
        {QStringLiteral("exportar"),
         QStringLiteral("Escribe las partidas de la factura y las remisiones que toma, con sus "
                        "importes antes y después de la reducción y los totales, en una hoja de "
                        "cálculo: un libro .xlsx, o texto .csv si el nombre termina así."),
         QStringLiteral("ARCHIVO")},
    };
}

int OrdenFactura::ejecuta(const QCommandLineParser& opciones) {
    SeleccionDeFactura seleccion;
    double porcentaje = 0;
    if (!LeeFecha(opciones, QStringLiteral("desde"), seleccion.desde) ||
        !LeeFecha(opciones, QStringLiteral("hasta"), seleccion.hasta) ||
        !LeeNumero(opciones, QStringLiteral("porcentaje"), porcentaje)) {
        return 2;
    }
    QDate fecha = QDate::currentDate();
    if (opciones.isSet(QStringLiteral("fecha")) &&
        !LeeFecha(opciones, QStringLiteral("fecha"), fecha)) {
        return 2;
    }
    seleccion.porcentaje = static_cast<float>(porcentaje);
    seleccion.serie = opciones.value(QStringLiteral("serie-remisiones"));
    seleccion.cliente = opciones.value(QStringLiteral("cliente-remisiones"));
    seleccion.nombre = opciones.value(QStringLiteral("nombre"));
    seleccion.Valida();
    const QString resguardo = AjustesDeFactura::BaseDeResguardo();
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
    const TotalesDeFactura t = trabajo.Aplica(seleccion, QStringLiteral("(consola)"));
    const bool generar = opciones.isSet(QStringLiteral("generar"));
    if (t.remisiones == 0) {
        if (generar) {
            Falla(SinRemisiones() + QStringLiteral("; no se generó ninguna factura."));
            return 2;
        }
        Escribe(SinRemisiones());
        return 0;
    }
    escribeTotales(t, porcentaje);
    const QString factura = generar ? genera(trabajo, resguardo, fecha, t, opciones) : QString();
    if (opciones.isSet(QStringLiteral("exportar"))) {
        EscritorDeLibro::Escribe(ExportacionDeFactura::Libro(principal, t, factura),
                                 RutaDada(opciones.value(QStringLiteral("exportar"))));
    }
    return 0;
}

void OrdenFactura::escribeTotales(const TotalesDeFactura& t, double porcentaje) {
    Escribe(QStringLiteral("\tSin aplicar descuento:\tCon el % aplicado:"));
    const std::pair<const char*, std::pair<Importe, Importe>> filas[] = {
        {"Subtotal", {t.subtotalAntes, t.subtotalDespues}},
        {"I. V. A.", {t.ivaAntes, t.ivaDespues}},
        {"IEPS", {t.iepsAntes, t.iepsDespues}},
        {"Total", {t.totalAntes(), t.totalDespues()}}};
    for (const auto& [nombre, cifras] : filas) {
        Escribe(QStringLiteral("%1:\t%2\t%3")
                    .arg(QString::fromUtf8(nombre), Formato::Dinero(cifras.first.ADouble()),
                         Formato::Dinero(cifras.second.ADouble())));
    }
    if (const QString reduccion = TextosDeFactura::ReduccionEfectiva(t, porcentaje);
        !reduccion.isEmpty()) {
        Escribe(reduccion.left(1).toUpper() + reduccion.mid(1) + QLatin1Char('.'));
    }
}

QString OrdenFactura::genera(FacturaDeRemisiones& trabajo, const QString& resguardo,
                             const QDate& fecha, const TotalesDeFactura& t,
                             const QCommandLineParser& opciones) {
    const DatosDeFactura datos =
        trabajo.Propuesta(opciones.value(QStringLiteral("serie-factura")),
                          opciones.value(QStringLiteral("cliente")), fecha, t);
    const QString aviso = trabajo.AvisoSinTransaccion(resguardo);
    if (!aviso.isEmpty()) {
        std::fprintf(stderr, "%s\n", aviso.toUtf8().constData());
    }
    const FacturaCreada creada = trabajo.Genera(datos, resguardo, QStringLiteral("(consola)"));
    Escribe(TextosDeFactura::Creada(creada));
    if (const QString perdida = Bitacora::LineaPerdida(); !perdida.isEmpty()) {
        throw std::runtime_error(
            QStringLiteral("%1: la factura está hecha y sus remisiones canceladas, pero no se "
                           "pudo anotar en la bitácora (%2). No la genere otra vez; anótela a "
                           "mano y libere espacio o dé permiso en la carpeta del programa.")
                .arg(TextosDeFactura::Creada(creada), perdida)
                .toStdString());
    }
    return creada.serie + QString::number(creada.folio);
}
