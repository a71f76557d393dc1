#include "servicios/CausaDeCifrado.h"

#include <initializer_list>

namespace {

bool dice(const QString& texto, std::initializer_list<const char*> partes) {
    for (const char* parte : partes) {
        if (texto.contains(QLatin1String(parte), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QString entreComillas(const QString& servidor) {
    return servidor.isEmpty() ? QString() : QStringLiteral(" «") + servidor + QStringLiteral("»");
}

} // namespace

CausaDeCifrado::Tipo CausaDeCifrado::De(const QString& texto) {
    if (dice(texto, {"does not support it", "server does not support SSL"})) {
        return Tipo::SinTls;
    }
    if (dice(texto, {"expired"})) {
        return Tipo::Vencido;
    }
    if (dice(texto, {"not yet valid"})) {
        return Tipo::AunNoVigente;
    }
    // The ODBC driver checks the name last and says only that the validation failed.
    if (dice(texto, {"host name did not match", "Validation of SSL server certificate failed",
                     "hostname mismatch"})) {
        return Tipo::OtroNombre;
    }
    return Tipo::Autoridad;
}

QString CausaDeCifrado::Explica(const QString& texto, const QString& servidor) {
    const QString s = entreComillas(servidor);
    const QString inicio =
        QStringLiteral("No se pudo establecer la conexión cifrada con el servidor%1: ").arg(s);
    switch (De(texto)) {
    case Tipo::SinTls:
        return QStringLiteral("El servidor%1 no ofrece conexiones cifradas (TLS) y esta estación "
                              "está configurada para usarlas, así que no se conectó ni escribió "
                              "nada. Pida a quien administra el servidor que active TLS en él; "
                              "sólo si la red es de confianza, configure la estación sin --tls.")
            .arg(s);
    case Tipo::Vencido:
        return inicio + QStringLiteral("su certificado está vencido. Pida a quien administra el "
                                       "servidor que lo renueve y vuelva a intentar.");
    case Tipo::AunNoVigente:
        return inicio + QStringLiteral("su certificado todavía no es válido. Revise la fecha y la "
                                       "hora de esta computadora, o pida a quien administra el "
                                       "servidor un certificado vigente.");
    case Tipo::OtroNombre:
        return inicio + QStringLiteral("su certificado es para otro nombre, no para%1. Dé en "
                                       "«deremisiones configura --servidor» el nombre que da el "
                                       "certificado, o pida a quien administra el servidor uno "
                                       "para%1.")
                            .arg(s);
    case Tipo::Autoridad:
        break;
    }
    return inicio + QStringLiteral("su certificado no se pudo comprobar con la autoridad "
                                   "configurada; dé el certificado de la autoridad que lo firmó "
                                   "con «deremisiones configura … --tls --ca ARCHIVO».");
}
