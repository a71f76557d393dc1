#include "OrdenTope.h"

#include "hostdata/Proceso.h"
#include "jobs/cap_reprint/ReimpresionConTope.h"
#include "jobs/cap_reprint/RejaDeTope.h"
#include "ui/AlSalir.h"

#include <QDate>
#include <QDir>
#include <cmath>

void OrdenTope::defineOpciones(QCommandLineParser& opciones) {
    opciones.setApplicationDescription(
        QStringLiteral("Reimpresión de remisiones por tope y por período."));
    opciones.addOptions({
        {QStringLiteral("desde"), QStringLiteral("Primer día del período."),
         QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("hasta"), QStringLiteral("Último día del período."),
         QStringLiteral("DD/MM/AAAA")},
        {QStringLiteral("tope"), QStringLiteral("Cantidad tope del período."), QStringLiteral("N")},
        {QStringLiteral("folio"), QStringLiteral("Primer folio a imprimir."), QStringLiteral("N")},
        {QStringLiteral("serie"), QStringLiteral("Serie de las remisiones."), QStringLiteral("S")},
    });
    DefineImpresion(opciones);
}

int OrdenTope::ejecuta(const QCommandLineParser& opciones) {
    QDate desde;
    QDate hasta;
    double tope = 0;
    double folio = 0;
    if (!LeeFecha(opciones, QStringLiteral("desde"), desde) ||
        !LeeFecha(opciones, QStringLiteral("hasta"), hasta) ||
        !LeeNumero(opciones, QStringLiteral("tope"), tope) ||
        !LeeNumero(opciones, QStringLiteral("folio"), folio)) {
        return 2;
    }
    if (tope <= 0) {
        Falla(QStringLiteral("La cantidad tope debe ser mayor que cero."));
        return 2;
    }
    if (std::nearbyint(folio) <= 0) {
        Falla(QStringLiteral("El folio a imprimir debe ser mayor que cero."));
        return 2;
    }
    Conexion cnn;
    if (!AbreBase(cnn)) {
        return 1;
    }
    ReimpresionConTope trabajo(
        cnn, QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("ListaRemisiones.txt")));
    const AlSalir borra([&trabajo] { trabajo.BorraTablasDeTrabajo(); });
    trabajo.CreaTablasDeTrabajo();
    const ResultadoDeTope resultado =
        trabajo.Aplica(desde, hasta, opciones.value(QStringLiteral("serie")),
                       Importe::DeDouble(tope), static_cast<qint32>(std::nearbyint(folio)));
    Escribe(RejaDeTope::Encabezados().join(QLatin1Char('\t')));
    for (const QStringList& fila : RejaDeTope::Filas(resultado)) {
        Escribe(fila.join(QLatin1Char('\t')));
    }
    Escribe(RejaDeTope::Totales(resultado).join(QLatin1Char('\t')));
    ImprimeSiSePide(opciones, cnn);
    return 0;
}
