#include "OrdenPorcentaje.h"

#include "jobs/percent_reprint/ReimpresionConPorcentaje.h"
#include "orvlib/Conexion.h"
#include "ui/AlSalir.h"

void OrdenPorcentaje::defineOpciones(QCommandLineParser& opciones) {
    opciones.setApplicationDescription(
        QStringLiteral("Reimpresión de remisiones con un porcentaje menos."));
    opciones.addOptions({
        {QStringLiteral("inicial"), QStringLiteral("Remisión inicial (folio)."),
         QStringLiteral("N")},
        {QStringLiteral("final"), QStringLiteral("Remisión final (folio)."), QStringLiteral("N")},
        {QStringLiteral("porcentaje"),
         QStringLiteral("Porcentaje menos, mayor que 0 y menor que 100."), QStringLiteral("P")},
        {QStringLiteral("serie"), QStringLiteral("Serie de las remisiones."), QStringLiteral("S")},
    });
    DefineImpresion(opciones);
}

int OrdenPorcentaje::ejecuta(const QCommandLineParser& opciones) {
    double inicial = 0;
    double final = 0;
    double porcentaje = 0;
    if (!LeeNumero(opciones, QStringLiteral("inicial"), inicial) ||
        !LeeNumero(opciones, QStringLiteral("final"), final) ||
        !LeeNumero(opciones, QStringLiteral("porcentaje"), porcentaje)) {
        return 2;
    }
    if (porcentaje <= 0 || porcentaje >= 100) {
        Falla(QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100."));
        return 2;
    }
    Conexion cnn;
    if (!AbreBase(cnn)) {
        return 1;
    }
    ReimpresionConPorcentaje trabajo(cnn);
    const AlSalir borra([&trabajo] { trabajo.BorraTablasDeTrabajo(); });
    const ResumenDePorcentaje resumen =
        trabajo.Comprueba(static_cast<qint64>(inicial), static_cast<qint64>(final),
                          opciones.value(QStringLiteral("serie")), Importe::DeDouble(porcentaje));
    Escribe(ReimpresionConPorcentaje::Resumen(resumen).replace(QLatin1String("\r\n"),
                                                               QLatin1String("\n")));
    ImprimeSiSePide(opciones, cnn);
    return 0;
}
