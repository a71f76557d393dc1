#include "servicios/MensajesDeQt.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace {

QtMessageHandler original = nullptr;

void filtra(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo != QtCriticalMsg && tipo != QtFatalMsg) {
        return;
    }
    if (original != nullptr) {
        original(tipo, contexto, texto);
    } else {
        std::fprintf(stderr, "%s\n", qUtf8Printable(texto));
    }
}

} // namespace

void MensajesDeQt::Instala() {
    if (qEnvironmentVariableIntValue("DEREMISIONES_MENSAJES_QT") != 0) {
        return;
    }
    original = qInstallMessageHandler(filtra);
}
