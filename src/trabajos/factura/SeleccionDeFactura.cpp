#include "trabajos/factura/SeleccionDeFactura.h"

#include "orvlib/Sentencias.h"
#include "orvlib/libKwtm.h"
#include "servicios/Rechazo.h"

void SeleccionDeFactura::Valida() const {
    if (!desde.isValid() || !hasta.isValid()) {
        throw Rechazo(QStringLiteral("Indique las dos fechas de búsqueda (DD/MM/AAAA)."));
    }
    if (desde > hasta) {
        throw Rechazo(QStringLiteral("La fecha inicial de búsqueda es posterior a la final."));
    }
    if (!(porcentaje >= 0 && porcentaje < 100)) {
        throw Rechazo(QStringLiteral("El porcentaje a reducir debe ser de 0 o más y menor que "
                                     "100."));
    }
}

QString SeleccionDeFactura::Condicion() const {
    QString condicion = QStringLiteral("remisiones where Fecha>='") + libKwtm::FechaSQL(desde) +
                        QStringLiteral("' and Fecha<='") + libKwtm::FechaSQL(hasta) +
                        QStringLiteral("' and Cancelada=0 and Afectada=1 and Facturada=0");
    if (!serie.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Serie=") + Sentencias::Texto(serie.trimmed());
    }
    if (!cliente.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Cliente=") + Sentencias::Texto(cliente.trimmed());
    }
    if (!nombre.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Nombre like '%") + Sentencias::Patron(nombre.trimmed()) +
                     QStringLiteral("%'") + Sentencias::EscapeDePatron();
    }
    return condicion;
}

QString SeleccionDeFactura::Parametros() const {
    return QStringLiteral("del %1 al %2, serie '%3', cliente '%4', nombre '%5', porcentaje %6")
        .arg(libKwtm::TextoDeFecha(desde), libKwtm::TextoDeFecha(hasta), serie.trimmed(),
             cliente.trimmed(), nombre.trimmed(), TextoDePorcentaje(porcentaje));
}

QString SeleccionDeFactura::TextoDePorcentaje(float porcentaje) {
    for (int digitos = 1; digitos <= 9; ++digitos) {
        const QString texto = QString::number(static_cast<double>(porcentaje), 'g', digitos);
        if (!texto.contains(QLatin1Char('e')) && texto.toFloat() == porcentaje) {
            return texto;
        }
    }
    return QString::number(static_cast<double>(porcentaje), 'f', 9);
}
