#include "interfaz/LimiteDeEventos.h"

#include "impresion/Puntero.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Dialogos.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Rechazo.h"

#include <QString>

bool Protegido(const std::function<void()>& manejador,
               const std::function<void()>& alPerderLaConexion) {
    try {
        manejador();
        return true;
    } catch (const Rechazo& r) {
        PunteroNormal();
        Dialogos::actual().mensaje(r.texto(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Advertencia);
        return false;
    } catch (const ErrorOrvlib& e) {
        PunteroNormal();
        const ExplicacionDeError explicacion = ExplicacionDeError::De(e);
        if (explicacion.PerdioLaConexion() && alPerderLaConexion) {
            alPerderLaConexion();
        }
        Dialogos::actual().mensajeConDetalle(explicacion.principal(), explicacion.detalle(),
                                             QStringLiteral("Alerta"), Dialogos::Icono::Critico);
        return false;
    } catch (const ErrorDelPrograma& e) {
        PunteroNormal();
        Dialogos::actual().mensaje(e.texto(), QStringLiteral("Alerta"), Dialogos::Icono::Critico);
        return false;
    } catch (const std::exception& e) {
        PunteroNormal();
        Dialogos::actual().mensaje(QString::fromLocal8Bit(e.what()), QStringLiteral("Alerta"),
                                   Dialogos::Icono::Critico);
        return false;
    }
}
