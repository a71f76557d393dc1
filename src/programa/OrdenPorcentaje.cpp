#include "OrdenPorcentaje.h"

#include "impresion/HojaDeResumen.h"
#include "orvlib/AlSalir.h"
#include "orvlib/Conexion.h"
#include "servicios/Bitacora.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "trabajos/exportacion/EscritorDeLibro.h"
#include "trabajos/exportacion/ExportacionDePorcentaje.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"
#include "trabajos/porcentaje/ResumenDeReduccion.h"

QString OrdenPorcentaje::sinopsis() const {
    return QStringLiteral(
        "porcentaje --inicial N --final N --porcentaje P [--serie S] [--resumen "
        "ARCHIVO.pdf] [--exportar ARCHIVO] [--imprimir [--pdf CARPETA | --pdf-unico ARCHIVO] "
        "[--continuar | --desde-remision FOLIO [--omitir-pendientes]]]");
}

QString OrdenPorcentaje::descripcion() const {
    return QStringLiteral(
        "Reimpresión de remisiones con un porcentaje menos: copia las remisiones del rango de "
        "folios, reduce sus importes en el porcentaje y muestra los totales reales y los nuevos. "
        "Con --imprimir imprime las copias. Las remisiones de Orvane no cambian.");
}

QList<QCommandLineOption> OrdenPorcentaje::opciones() const {
    return QList<QCommandLineOption>{
               {QStringLiteral("inicial"), QStringLiteral("Remisión inicial (folio)."),
                QStringLiteral("N")},
               {QStringLiteral("final"), QStringLiteral("Remisión final (folio)."),
                QStringLiteral("N")},
               {QStringLiteral("porcentaje"),
                QStringLiteral("Porcentaje menos, mayor que 0 y menor que 100."),
                QStringLiteral("P")},
               {QStringLiteral("serie"),
                QStringLiteral("Serie de las remisiones (vacía si la tienda no usa series)."),
                QStringLiteral("S")},
               {QStringLiteral("resumen"),
                QStringLiteral("Escribe el resumen de la corrida (datos, totales, cada remisión "
                               "con su total real y el nuevo, y el renglón de la bitácora) en un "
                               "PDF."),
                QStringLiteral("ARCHIVO.pdf")},
               {QStringLiteral("exportar"),
                QStringLiteral("Escribe cada remisión con sus importes reales y los reducidos, y "
                               "los totales, en una hoja de cálculo: un libro .xlsx, o texto .csv "
                               "si el nombre termina así."),
                QStringLiteral("ARCHIVO")},
           } +
           OpcionesDeImpresion();
}

int OrdenPorcentaje::ejecuta(const QCommandLineParser& opciones) {
    qint64 primera = 0;
    qint64 ultima = 0;
    double porcentaje = 0;
    if (!LeeFolio(opciones, QStringLiteral("inicial"), primera) ||
        !LeeFolio(opciones, QStringLiteral("final"), ultima) ||
        !LeeNumero(opciones, QStringLiteral("porcentaje"), porcentaje) ||
        !ImpresionCoherente(opciones)) {
        return 2;
    }
    const QString serie = opciones.value(QStringLiteral("serie"));
    ReimpresionConPorcentaje::ValidaEntrada(primera, ultima, Decimal::DeDouble(porcentaje));
    Conexion cnn;
    CandadoDeReimpresion candado(cnn);
    if (const int codigo = AbreParaReimprimir(cnn, candado)) {
        return codigo;
    }
    ReimpresionConPorcentaje trabajo(cnn);
    const AlSalir borra([&trabajo] { trabajo.BorraTablasDeTrabajo(); });
    ResumenDePorcentaje resumen;
    Bitacora::Registra(
        QStringLiteral("porcentaje comprobar (consola)"),
        ReimpresionConPorcentaje::Parametros(primera, ultima, serie, Decimal::DeDouble(porcentaje)),
        [&] {
            resumen = trabajo.Comprueba(primera, ultima, serie, Decimal::DeDouble(porcentaje));
            return ReimpresionConPorcentaje::ResumenDeBitacora(resumen);
        });
    if (resumen.remisiones == 0) {
        Escribe(SinRemisiones());
        return 0;
    }
    Escribe(ReimpresionConPorcentaje::Resumen(resumen).replace(QLatin1String("\r\n"),
                                                               QLatin1String("\n")));
    if (opciones.isSet(QStringLiteral("resumen"))) {
        const QString parametros = ReimpresionConPorcentaje::Parametros(
            primera, ultima, serie, Decimal::DeDouble(porcentaje));
        HojaDeResumen::Escribe(
            RutaDada(opciones.value(QStringLiteral("resumen"))),
            ResumenDeReduccion::Datos(
                cnn, resumen, parametros,
                QStringLiteral("porcentaje comprobar (consola): %1; %2")
                    .arg(parametros, ReimpresionConPorcentaje::ResumenDeBitacora(resumen))));
    }
    if (opciones.isSet(QStringLiteral("exportar"))) {
        EscritorDeLibro::Escribe(ExportacionDePorcentaje::Libro(cnn, resumen),
                                 RutaDada(opciones.value(QStringLiteral("exportar"))));
    }
    return ImprimeSiSePide(opciones, cnn, QStringLiteral("porcentaje imprimir (consola)"),
                           ReimpresionConPorcentaje::Parametros(primera, ultima, serie,
                                                                Decimal::DeDouble(porcentaje)));
}
