#include "trabajos/tope/ResumenDeTope.h"

#include "trabajos/tope/GraficaDeDias.h"
#include "trabajos/tope/NotasElegidas.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QPainter>

DatosDeResumen ResumenDeTope::Datos(const ResultadoDeTope& resultado, Importe tope,
                                    const QString& parametros, const QString& bitacora) {
    DatosDeResumen d;
    d.titulo = QStringLiteral("Reimpresión de remisiones por tope y por período");
    d.parametros = {QStringLiteral("Datos: ") + parametros, NotasElegidas::Resumen(resultado, tope),
                    QStringLiteral("Remisiones elegidas: %1").arg(resultado.remisiones)};
    d.grafica = [resultado, tope](QPainter& pintor, const QRectF& area) {
        GraficaDeDias(resultado, tope).Pinta(pintor, area);
    };
    d.encabezados = RejaDeTope::Encabezados();
    d.encabezados[0] = QStringLiteral("Núm.");
    d.filas = RejaDeTope::Filas(resultado);
    d.totales = RejaDeTope::Totales(resultado);
    d.bitacora = bitacora;
    return d;
}
