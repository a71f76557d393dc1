#include "trabajos/factura/DatosDeFactura.h"

void DatosDeFactura::PonTotales(const TotalesDeFactura& totales) {
    subtotal = totales.subtotalDespues.EnCentavos();
    iva = totales.ivaDespues.EnCentavos();
    ieps = totales.iepsDespues.EnCentavos();
}
