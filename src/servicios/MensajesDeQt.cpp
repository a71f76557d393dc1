#include "servicios/MensajesDeQt.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler original = nullptr;
QString consejo;
bool todos = false;

// Qt's fatal message when no platform plugin starts: on Linux, a display that is not there.
bool sinPantalla(QtMsgType tipo, const QString& texto) {
    return tipo == QtFatalMsg &&
           texto.contains(QLatin1String("no Qt platform plugin could be initialized"));
}

void filtra(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (sinPantalla(tipo, texto)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(MensajesDeQt::SinPantalla(consejo)));
        std::fflush(stderr);
        std::_Exit(MensajesDeQt::kSinPantalla);
    }
    if (!todos && tipo != QtCriticalMsg && tipo != QtFatalMsg) {
        return;
    }
    if (original != nullptr) {
        original(tipo, contexto, texto);
    } else {
        std::fprintf(stderr, "%s\n", qUtf8Printable(texto));
    }
}

} // namespace

QString MensajesDeQt::SinPantalla(const QString& paraUnaPantalla) {
    const QString x = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    QString texto =
        x.isEmpty() && wayland.isEmpty()
            ? QStringLiteral("No hay una sesión gráfica (DISPLAY y WAYLAND_DISPLAY están vacías).")
            : QStringLiteral("No se pudo abrir la pantalla (%1): no hay una sesión gráfica ahí, "
                             "o esta cuenta no tiene permiso de usarla.")
                  .arg(wayland.isEmpty() ? QStringLiteral("DISPLAY=") + x
                                         : QStringLiteral("WAYLAND_DISPLAY=") + wayland);
    if (!paraUnaPantalla.isEmpty()) {
        texto += QLatin1Char(' ') + paraUnaPantalla;
    }
    return texto;
}

void MensajesDeQt::Instala(const QString& paraUnaPantalla) {
    consejo = paraUnaPantalla;
    todos = qEnvironmentVariableIntValue("DEREMISIONES_MENSAJES_QT") != 0;
    original = qInstallMessageHandler(filtra);
}
