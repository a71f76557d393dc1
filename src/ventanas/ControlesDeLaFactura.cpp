#include "ventanas/ControlesDeLaFactura.h"

#include "interfaz/BotonDeExportar.h"
#include "interfaz/ColocadorDeControles.h"
#include "orvlib/libKwtm.h"
#include "ventanas/TotalesDeLaFactura.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The numbers of a row's labels and boxes, and where it stands.
struct FilaDeCliente {
    int etiquetaDeSerie;
    const char* serie;
    int cajaDeSerie;
    int etiquetaDeCliente;
    const char* cliente;
    int cajaDeCliente;
    int nombre;
    int arriba;
    int arribaDelCliente;
};

namespace {

const QString kTinte =
    QStringLiteral("background-color: rgb(255, 224, 192); border: 1px solid #808080;");

void tine(QLabel* etiqueta) {
    etiqueta->setStyleSheet(kTinte);
    etiqueta->setMargin(2);
}

QString nombre(const char* base, int indice) {
    return ColocadorDeControles::Nombre(base, indice);
}

} // namespace

ControlesDeLaFactura::ControlesDeLaFactura(QWidget* ventana) {
    const ColocadorDeControles coloca(ventana, 8055, 9720);
    lblMuestra = coloca.Etiqueta(QStringLiteral("lblMuestra"), {}, 1320, 120, 5175, 975);
    tine(lblMuestra);
    creaSerieYCliente(
        coloca, {0, "Serie para &facturas:", 0, 1, "&Cliente para facturar:", 1, 2, 1320, 1200});
    creaSerieYCliente(coloca,
                      {3, "S&erie de remisiones:", 2, 18, "De &qué cliente:", 4, 19, 2520, 2520});
    txtDato[5] = coloca.CajaDe(etiqueta(coloca, 22, "&Nombre:", 720, 3765, 1200, 300),
                               nombre("txtDato", 5), 2040, 3720, 5295, 10);
    creaFechasYPorcentaje(coloca);
    totales = std::make_unique<TotalesDeLaFactura>(coloca, kTinte);
    creaFactura(coloca);
    ordenaElTeclado(coloca);
}

ControlesDeLaFactura::~ControlesDeLaFactura() = default;

QLabel* ControlesDeLaFactura::etiqueta(const ColocadorDeControles& coloca, int indice,
                                       const char* texto, int izquierda, int arriba, int ancho,
                                       int alto) {
    lblDato[indice] = coloca.Etiqueta(nombre("lblDato", indice), QString::fromUtf8(texto),
                                      izquierda, arriba, ancho, alto);
    lblDato[indice]->setWordWrap(true);
    return lblDato[indice];
}

void ControlesDeLaFactura::creaSerieYCliente(const ColocadorDeControles& coloca,
                                             const FilaDeCliente& fila) {
    txtDato[fila.cajaDeSerie] = coloca.CajaDe(
        etiqueta(coloca, fila.etiquetaDeSerie, fila.serie, 720, fila.arriba + 45, 2000, 300),
        nombre("txtDato", fila.cajaDeSerie), 2760, fila.arriba, 855, 3);
    txtDato[fila.cajaDeCliente] =
        coloca.CajaDe(etiqueta(coloca, fila.etiquetaDeCliente, fila.cliente, 3960,
                               fila.arribaDelCliente, 1140, 615),
                      nombre("txtDato", fila.cajaDeCliente), 5160, fila.arriba, 2175, 10);
    tine(etiqueta(coloca, fila.nombre, "", 720, fila.arriba + 480, 6615, 615));
}

void ControlesDeLaFactura::creaFechasYPorcentaje(const ColocadorDeControles& coloca) {
    etiqueta(coloca, 4, "Buscar entre las fechas", 720, 4200, 1170, 615);
    mkeFecha[0] = coloca.CajaDe(etiqueta(coloca, 6, "&Inicial:", 2760, 4320, 700, 300),
                                nombre("mkeFecha", 0), 3480, 4200, 1335);
    mkeFecha[1] = coloca.CajaDe(etiqueta(coloca, 5, "Fina&l:", 5160, 4320, 700, 300),
                                nombre("mkeFecha", 1), 6000, 4200, 1335);
    txtDato[3] = coloca.CajaDe(etiqueta(coloca, 7, "% a &reducir:", 720, 4845, 2000, 300),
                               nombre("txtDato", 3), 2760, 4800, 975, 5);
    txtDato[3]->setAlignment(Qt::AlignRight);
    cmdAplicar = coloca.Boton(QStringLiteral("cmdAplicar"), QStringLiteral("&Aplicar"), 6000, 4800,
                              1335, 495);
}

void ControlesDeLaFactura::creaFactura(const ColocadorDeControles& coloca) {
    mkeFecha[2] =
        coloca.CajaDe(etiqueta(coloca, 20, "Fec&ha para la factura:", 720, 7965, 2100, 300),
                      nombre("mkeFecha", 2), 2880, 7920, 1335);
    etiqueta(coloca, 21, "Folio:", 720, 8445, 2000, 300);
    lblFolio = coloca.Etiqueta(QStringLiteral("lblFolio"), {}, 2880, 8400, 1335, 375);
    lblFolio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tine(lblFolio);
    cmdGenerar = coloca.Boton(QStringLiteral("cmdGenerar"), QStringLiteral("&Generar factura"),
                              5640, 8160, 1695, 615);
    cmdGenerar->setEnabled(false);
    cmdExportar =
        coloca.Crea<BotonDeExportar>(QStringLiteral("cmdExportar"), 4320, 7800, 1215, 615);
}

void ControlesDeLaFactura::ordenaElTeclado(const ColocadorDeControles& coloca) {
    lblAviso = coloca.Etiqueta(QStringLiteral("lblAviso"), {}, 720, 8880, 6615, 600);
    lblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblAviso->setWordWrap(true);
    cmdAplicar->setDefault(true);
    ColocadorDeControles::OrdenDeTabulacion({txtDato[0], txtDato[1], txtDato[2], txtDato[4],
                                             txtDato[5], mkeFecha[0], mkeFecha[1], txtDato[3],
                                             cmdAplicar, mkeFecha[2], cmdExportar, cmdGenerar});
}

QStringList ControlesDeLaFactura::Entradas() const {
    return {libKwtm::LeeFecha(mkeFecha[0]->text()).toString(Qt::ISODate),
            libKwtm::LeeFecha(mkeFecha[1]->text()).toString(Qt::ISODate),
            txtDato[2]->text(),
            txtDato[4]->text(),
            txtDato[5]->text(),
            QString::number(libKwtm::kwVal(txtDato[3]->text()), 'f', 4)};
}

SeleccionDeFactura ControlesDeLaFactura::Seleccion() const {
    SeleccionDeFactura s;
    s.desde = libKwtm::LeeFecha(mkeFecha[0]->text());
    s.hasta = libKwtm::LeeFecha(mkeFecha[1]->text());
    s.serie = txtDato[2]->text();
    s.cliente = txtDato[4]->text();
    s.nombre = txtDato[5]->text();
    s.porcentaje = static_cast<float>(libKwtm::kwVal(txtDato[3]->text()));
    return s;
}
