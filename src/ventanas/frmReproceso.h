#pragma once

#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/Conexion.h"
#include "trabajos/VigenciaDeRemisiones.h"
#include "trabajos/factura/DatosDeFactura.h"

#include <initializer_list>
#include <memory>

struct ControlesDeLaFactura;
class FacturaDeRemisiones;

// "Generar facturas por remisiones": chooses the notes of a period, series, client and name,
// reduces their quantities by a percentage and turns them into one host invoice.
class frmReproceso : public VentanaDeTrabajo {
    Q_OBJECT
public:
    explicit frmReproceso(QWidget* parent = nullptr);
    ~frmReproceso() override;

    static QString Titulo() { return QStringLiteral("Generar facturas por remisiones"); }
    // Whether the window could load (settings, connection, the working database's lock).
    bool Cargada() const { return cargada_; }

protected:
    void alActivarPorPrimeraVez() override;
    void alDescargar() override;
    void alPerderLaConexion() override;
    void reconecta() override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;

private:
    void conectaEntradas();
    void alCargar();
    bool LeeAjustesDeFactura();
    // The text fields no longer than the host's columns take.
    void limitaLargos();
    void alCambiar(int indice);
    // Why the percentage (3), the invoice client (1) or the notes' client (4) refuses what it
    // holds; empty when taken.
    QString revisaDato(int indice) const;
    void formateaPorcentaje();
    // Each field as leaving it checks it: false, with the warning and the focus in the first
    // that refuses.
    bool revisaCampos(std::initializer_list<int> indices);
    void alCambiarEntradas();
    void limpiaResultados();
    void verificaLaBaseTemporal();
    void validaFechas(std::initializer_list<int> indices);
    void cmdAplicar_Click();
    void cmdGenerar_Click();
    QString preguntaDeConfirmacion(const DatosDeFactura& datos);
    void muestraFolio(int paso, qint32 folio);
    void exporta();

    Conexion cnnPrincipal;
    Conexion cnnTemporal;
    std::unique_ptr<FacturaDeRemisiones> logica_;
    QString BaseResguardo;
    QString MetodoDePago;
    bool cargada_ = false;
    bool conCandado_ = false;
    QStringList entradasDeLosTotales_;
    // The totals of the last "Aplicar", which the invoice carries.
    TotalesDeFactura totalesDeLaSeleccion_;
    bool clienteConocido_ = false;
    // Whether the notes' client filter names a client of the catalogue (or none).
    bool filtroConocido_ = true;
    // The selection's notes as "Aplicar" read them.
    VigenciaDeRemisiones vigencia_;
    // The filters of the copies the export reads, kept after the invoice is made, and the
    // invoice ("B126") once made.
    QStringList entradasDeLasCopias_;
    QString facturaCreada_;

    // The window's fields, labels and buttons.
    std::unique_ptr<ControlesDeLaFactura> controles_;
};
