#pragma once

#include "trabajos/factura/SeleccionDeFactura.h"

#include <QStringList>
#include <array>
#include <memory>

class BotonDeExportar;
class ColocadorDeControles;
struct FilaDeCliente;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TotalesDeLaFactura;

// The invoice window's controls, built where its design puts them in the keyboard's order: the
// connection's sample, the invoice's and the selection's fields with their labels, the totals,
// the folio, the buttons and the warning line; and the selection as its fields hold it.
struct ControlesDeLaFactura {
    explicit ControlesDeLaFactura(QWidget* ventana);
    ~ControlesDeLaFactura();

    // The filters and the percentage by their values, as "Aplicar" reads them.
    QStringList Entradas() const;
    // The selection and percentage as the fields hold them.
    SeleccionDeFactura Seleccion() const;

    QLabel* lblMuestra = nullptr;
    std::array<QLabel*, 23> lblDato{};
    std::array<QLineEdit*, 6> txtDato{};
    std::array<QLineEdit*, 3> mkeFecha{};
    std::unique_ptr<TotalesDeLaFactura> totales;
    QLabel* lblFolio = nullptr;
    QPushButton* cmdAplicar = nullptr;
    QPushButton* cmdGenerar = nullptr;
    BotonDeExportar* cmdExportar = nullptr;
    // Why a field refuses what it holds.
    QLabel* lblAviso = nullptr;

private:
    // The fields' labels by their number (lblDato_0 …), wrapping their text.
    QLabel* etiqueta(const ColocadorDeControles& coloca, int indice, const char* texto,
                     int izquierda, int arriba, int ancho, int alto);
    // A series and a client on one row at arriba, the client's name shown under them.
    void creaSerieYCliente(const ColocadorDeControles& coloca, const FilaDeCliente& fila);
    void creaFechasYPorcentaje(const ColocadorDeControles& coloca);
    void creaFactura(const ColocadorDeControles& coloca);
    // The warning line, the default button and the tab order.
    void ordenaElTeclado(const ColocadorDeControles& coloca);
};
