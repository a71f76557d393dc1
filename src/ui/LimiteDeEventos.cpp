#include "ui/LimiteDeEventos.h"

#include "orvlib/ErrorOrvlib.h"
#include "ui/Dialogos.h"
#include "ui/Puntero.h"

#include <QString>

bool Protegido(const std::function<void()>& manejador) {
    QString texto;
    try {
        manejador();
        return true;
    } catch (const ErrorOrvlib& e) {
        texto = e.texto();
    } catch (const std::exception& e) {
        texto = QString::fromLocal8Bit(e.what());
    }
    PunteroNormal();
    Dialogos::actual().mensaje(texto, QStringLiteral("Alerta"), Dialogos::Icono::Critico);
    return false;
}
