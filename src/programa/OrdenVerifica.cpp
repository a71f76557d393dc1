#include "OrdenVerifica.h"

#include "arranque/Verificacion.h"

QString OrdenVerifica::sinopsis() const {
    return QStringLiteral("verifica");
}

QString OrdenVerifica::descripcion() const {
    return QStringLiteral(
        "Revisa todo lo que necesita una reimpresión, con las mismas revisiones y palabras que "
        "«configura»: la carpeta del programa y DeRemisiones.ini, la carpeta de Orvane (que esta "
        "cuenta pueda escribirla) y su instalación registrada, la entrada al servidor y los "
        "permisos del usuario (los de las facturas cuando el menú las muestra), la base de "
        "resguardo, las plantillas en reportesbin, los dos orígenes de datos ODBC (controlador "
        "registrado y su biblioteca, valores y permisos del archivo) y la impresora o la carpeta "
        "de PDF. Escribe un renglón por punto: «correcto» o qué está mal y cómo arreglarlo. "
        "Termina con 0 sólo si todo está bien. No cambia nada.");
}

QList<QCommandLineOption> OrdenVerifica::opciones() const {
    return {};
}

int OrdenVerifica::ejecuta(const QCommandLineParser& opciones) {
    Q_UNUSED(opciones);
    bool todo = true;
    for (const Verificacion::Punto& p : Verificacion::Revisa()) {
        todo = todo && p.correcto;
        QString linea =
            p.nombre + QStringLiteral(": ") +
            (p.correcto ? QStringLiteral("correcto") : QStringLiteral("MAL: ") + p.detalle);
        if (p.correcto && !p.detalle.isEmpty()) {
            linea += QStringLiteral(" (") + p.detalle + QLatin1Char(')');
        }
        Escribe(linea);
    }
    return todo ? 0 : 1;
}
