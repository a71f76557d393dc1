#include "ui/LimiteDeEventos.h"

#include "hostdata/Dialogos.h"
#include "hostdata/Rechazo.h"
#include "orvlib/ErrorOrvlib.h"
#include "printing/Puntero.h"

#include <QString>

bool Protegido(const std::function<void()>& manejador) {
    QString texto;
    try {
        manejador();
        return true;
    } catch (const Rechazo& r) {
        PunteroNormal();
        Dialogos::actual().mensaje(r.texto(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Advertencia);
        return false;
    } catch (const ErrorOrvlib& e) {
        texto = e.texto();
    } catch (const std::exception& e) {
        texto = QString::fromLocal8Bit(e.what());
    }
    PunteroNormal();
    Dialogos::actual().mensaje(texto, QStringLiteral("Alerta"), Dialogos::Icono::Critico);
    return false;
}
