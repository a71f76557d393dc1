#include "OrdenTope.h"

#include "orvlib/AlSalir.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "trabajos/exportacion/EscritorDeLibro.h"
#include "trabajos/exportacion/ExportacionDeTope.h"
#include "trabajos/tope/NotasElegidas.h"
#include "trabajos/tope/ReimpresionConTope.h"
#include "trabajos/tope/RejaDeTope.h"
#include "trabajos/tope/ResumenDeTope.h"

#include <QDate>
#include <QDir>
#include <algorithm>
#include <cmath>

QString OrdenTope::sinopsis() const {
    return QStringLiteral(
        "tope --desde DD/MM/AAAA --hasta DD/MM/AAAA --tope N --folio N [--serie S] [--resumen "
        "ARCHIVO.pdf] [--exportar ARCHIVO] [--imprimir [--pdf CARPETA | --pdf-unico ARCHIVO] "
        "[--continuar | --desde-remision FOLIO [--omitir-pendientes]]]");
}

QString OrdenTope::descripcion() const {
    return QStringLiteral(
        "Reimpresión de remisiones por tope y por período: reparte el tope entre los días según "
        "lo vendido, elige las remisiones de cada día hasta pasar su parte, las copia con folios "
        "nuevos desde --folio, escribe ListaRemisiones.txt y muestra la tabla de días. Con "
        "--imprimir las imprime.");
}

QList<QCommandLineOption> OrdenTope::opciones() const {
    return QList<QCommandLineOption>{
               {QStringLiteral("desde"), QStringLiteral("Primer día del período."),
                QStringLiteral("DD/MM/AAAA")},
               {QStringLiteral("hasta"), QStringLiteral("Último día del período."),
                QStringLiteral("DD/MM/AAAA")},
               {QStringLiteral("tope"), QStringLiteral("Cantidad tope del período."),
                QStringLiteral("N")},
               {QStringLiteral("folio"), QStringLiteral("Primer folio a imprimir."),
                QStringLiteral("N")},
               {QStringLiteral("serie"),
                QStringLiteral("Serie de las remisiones (vacía si la tienda no usa series)."),
                QStringLiteral("S")},
               {QStringLiteral("resumen"),
                QStringLiteral("Escribe el resumen de la corrida (datos, gráfica de los días, "
                               "tabla y renglón de la bitácora) en un PDF."),
                QStringLiteral("ARCHIVO.pdf")},
               {QStringLiteral("exportar"),
                QStringLiteral(
                    "Escribe los días y las remisiones elegidas, con sus importes y totales, en "
                    "una hoja de cálculo: un libro .xlsx, o texto .csv si el nombre termina así."),
                QStringLiteral("ARCHIVO")},
           } +
           OpcionesDeImpresion();
}

int OrdenTope::ejecuta(const QCommandLineParser& opciones) {
    QDate desde;
    QDate hasta;
    double tope = 0;
    double folio = 0;
    if (!LeeFecha(opciones, QStringLiteral("desde"), desde) ||
        !LeeFecha(opciones, QStringLiteral("hasta"), hasta) ||
        !LeeNumero(opciones, QStringLiteral("tope"), tope) ||
        !LeeNumero(opciones, QStringLiteral("folio"), folio) || !ImpresionCoherente(opciones)) {
        return 2;
    }
    const auto primerFolio = static_cast<qint64>(std::nearbyint(std::clamp(folio, -1e15, 1e15)));
    ReimpresionConTope::ValidaEntrada(desde, hasta, Importe::DeDouble(tope), primerFolio);
    Conexion cnn;
    CandadoDeReimpresion candado(cnn);
    if (const int codigo = AbreParaReimprimir(cnn, candado)) {
        return codigo;
    }
    ReimpresionConTope trabajo(
        cnn, QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("ListaRemisiones.txt")));
    const AlSalir borra([&trabajo] { trabajo.BorraTablasDeTrabajo(); });
    const QString serie = opciones.value(QStringLiteral("serie"));
    ResultadoDeTope resultado;
    Bitacora::Registra(
        QStringLiteral("tope aplicar (consola)"),
        ReimpresionConTope::Parametros(desde, hasta, serie, Importe::DeDouble(tope), primerFolio),
        [&] {
            resultado = trabajo.Aplica(desde, hasta, serie, Importe::DeDouble(tope), primerFolio);
            return ReimpresionConTope::Resumen(resultado);
        });
    if (resultado.remisiones == 0) {
        // Nothing was chosen: nothing to show, print or list.
        Escribe(SinRemisiones());
        return 0;
    }
    Escribe(RejaDeTope::Encabezados().join(QLatin1Char('\t')));
    for (const QStringList& fila : RejaDeTope::Filas(resultado)) {
        Escribe(fila.join(QLatin1Char('\t')));
    }
    Escribe(RejaDeTope::Totales(resultado).join(QLatin1Char('\t')));
    Escribe(NotasElegidas::Resumen(resultado, Importe::DeDouble(tope)));
    if (opciones.isSet(QStringLiteral("resumen"))) {
        const QString parametros = ReimpresionConTope::Parametros(
            desde, hasta, serie, Importe::DeDouble(tope), primerFolio);
        HojaDeResumen::Escribe(
            RutaDada(opciones.value(QStringLiteral("resumen"))),
            ResumenDeTope::Datos(resultado, Importe::DeDouble(tope), parametros,
                                 QStringLiteral("tope aplicar (consola): %1; %2")
                                     .arg(parametros, ReimpresionConTope::Resumen(resultado))));
    }
    if (opciones.isSet(QStringLiteral("exportar"))) {
        EscritorDeLibro::Escribe(ExportacionDeTope::Libro(cnn, resultado, Importe::DeDouble(tope)),
                                 RutaDada(opciones.value(QStringLiteral("exportar"))));
    }
    return ImprimeSiSePide(
        opciones, cnn, QStringLiteral("tope imprimir (consola)"),
        ReimpresionConTope::Parametros(desde, hasta, serie, Importe::DeDouble(tope), primerFolio));
}
