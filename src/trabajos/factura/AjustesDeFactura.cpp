#include "trabajos/factura/AjustesDeFactura.h"

#include "servicios/Proceso.h"
#include "tienda/ParaPluginsPortables.h"

namespace {

QString ajuste(const char* clave, const char* defecto) {
    Proceso& p = Proceso::actual();
    return LeeIniConDefault(QStringLiteral("Configuración"), QString::fromUtf8(clave),
                            QString::fromUtf8(defecto), *p.kw, p.stArchivoIni);
}

} // namespace

AjustesDeFactura AjustesDeFactura::Lee() {
    AjustesDeFactura a;
    a.baseResguardo = BaseDeResguardo();
    a.serieRemisiones = ajuste("Serie de remisiones", "A");
    a.serieFacturas = ajuste("Serie de facturas", "B");
    a.clienteFactura = ajuste("Cliente para facturar", "CLIENTE");
    a.clienteRemisiones = ajuste("Cliente de remisiones", "CLIENTE");
    return a;
}

QString AjustesDeFactura::BaseDeResguardo() {
    return ajuste("Base de datos de resguardo", "datos2");
}
