#include "trabajos/factura/FacturaDeRemisiones.h"

#include "orvlib/AlSalir.h"
#include "servicios/Bitacora.h"
#include "trabajos/factura/BusquedasDeFactura.h"
#include "trabajos/factura/EscrituraDeFactura.h"
#include "trabajos/factura/RevisionDeFactura.h"
#include "trabajos/factura/TextosDeFactura.h"

namespace {

void ejecuta(const FacturaDeRemisiones::Envoltura& envoltura, const std::function<void()>& obra) {
    if (envoltura) {
        envoltura(obra);
    } else {
        obra();
    }
}

QString conOrigen(const char* paso, const QString& origen) {
    QString nombre = QString::fromLatin1(paso);
    if (!origen.isEmpty()) {
        nombre += QLatin1Char(' ') + origen;
    }
    return nombre;
}

} // namespace

FacturaDeRemisiones::FacturaDeRemisiones(Conexion& cnnPrincipal, Conexion& cnnTemporal)
    : BaseDeTrabajoDeFactura(cnnPrincipal, cnnTemporal) {}

TotalesDeFactura FacturaDeRemisiones::AplicaPorcentaje(const SeleccionDeFactura& seleccion,
                                                       const std::function<void()>& alAvanzar) {
    seleccion.Valida();
    VerificaLaBaseTemporal();
    aplicadas_.reset();
    CopiasAplicadas aplicadas;
    const TotalesDeFactura totales =
        CopiasDeFactura::Aplica(principal_, temporal_, seleccion, alAvanzar, aplicadas);
    aplicadas_ = std::move(aplicadas);
    return totales;
}

QVector<PartidaDeFactura> FacturaDeRemisiones::partidasAplicadas() {
    if (aplicadas_ && CopiasDeFactura::Huella(principal_) == aplicadas_->huella) {
        return aplicadas_->partidas;
    }
    return CopiasDeFactura::Partidas(principal_);
}

TotalesDeFactura FacturaDeRemisiones::Aplica(const SeleccionDeFactura& seleccion,
                                             const QString& origen, const Envoltura& envoltura,
                                             const std::function<void()>& alAvanzar) {
    TotalesDeFactura t;
    Bitacora::Registra(conOrigen("factura aplicar", origen), seleccion.Parametros(), [&] {
        ejecuta(envoltura, [&] { t = AplicaPorcentaje(seleccion, alAvanzar); });
        return TextosDeFactura::Resumen(t);
    });
    return t;
}

DatosDeFactura FacturaDeRemisiones::Propuesta(const QString& serie, const QString& cliente,
                                              const QDate& fecha, const TotalesDeFactura& totales) {
    DatosDeFactura datos;
    datos.serie = serie;
    datos.cliente = cliente;
    datos.fecha = fecha;
    datos.folioPropuesto =
        BusquedasDeFactura::Folio(BusquedasDeFactura::SiguienteFolio(principal_, serie), serie);
    datos.metodoDePago = BusquedasDeFactura::BuscaCliente(principal_, cliente, true).metodoDePago;
    datos.PonTotales(totales);
    return datos;
}

FacturaCreada
FacturaDeRemisiones::GeneraFactura(const DatosDeFactura& datos, const QString& baseResguardo,
                                   const std::function<void(int, qint32)>& alAvanzar) {
    quedoEscrito_ = false;
    VerificaLaBaseTemporal();
    const QVector<PartidaDeFactura> partidas = partidasAplicadas();
    RevisionDeFactura revision(principal_, baseResguardo);
    const QTime hora = reloj_();
    revision.Verifica(datos, partidas, hora);
    EscrituraDeFactura escritura(principal_, baseResguardo, revision.TablasSinTransaccion());
    const AlSalir cuenta([&] { quedoEscrito_ = escritura.QuedoAlgoEscrito(); });
    return escritura.Escribe(datos, partidas, hora, alAvanzar);
}

FacturaCreada FacturaDeRemisiones::Genera(const DatosDeFactura& datos, const QString& baseResguardo,
                                          const QString& origen, const Envoltura& envoltura,
                                          const std::function<void(int, qint32)>& alAvanzar) {
    FacturaCreada creada;
    Bitacora::Registra(
        conOrigen("factura generar", origen), TextosDeFactura::Parametros(datos), [&] {
            ejecuta(envoltura, [&] { creada = GeneraFactura(datos, baseResguardo, alAvanzar); });
            return TextosDeFactura::Traza(creada);
        });
    return creada;
}

QString FacturaDeRemisiones::RastrosDeOtraFactura(const QString& baseResguardo) {
    return RevisionDeFactura(principal_, baseResguardo).RastrosDeOtraFactura(false);
}

QString FacturaDeRemisiones::AvisoSinTransaccion(const QString& baseResguardo) {
    return TextosDeFactura::AvisoSinTransaccion(
        RevisionDeFactura(principal_, baseResguardo).TablasSinTransaccion());
}
