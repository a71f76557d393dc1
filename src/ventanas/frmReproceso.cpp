#include "ventanas/frmReproceso.h"

#include "impresion/ImpresionDeDocumento.h"
#include "interfaz/BotonDeExportar.h"
#include "interfaz/EntradaDeCampos.h"
#include "interfaz/LimiteDeEventos.h"
#include "interfaz/NumeroEscrito.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "tienda/LargosDeColumnas.h"
#include "tienda/ParaPluginsPortables.h"
#include "trabajos/exportacion/ExportacionDeFactura.h"
#include "trabajos/factura/AjustesDeFactura.h"
#include "trabajos/factura/BusquedasDeFactura.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/factura/TextosDeFactura.h"
#include "ventanas/TotalesDeLaFactura.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <initializer_list>

namespace {

const QString kTinte =
    QStringLiteral("background-color: rgb(255, 224, 192); border: 1px solid #808080;");

QString nombre(const char* base, int indice) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(indice);
}

} // namespace

frmReproceso::frmReproceso(QWidget* parent)
    : VentanaDeTrabajo(QStringLiteral("frmReproceso"), parent) {
    setWindowTitle(Titulo());
    creaControles();
    conectaEntradas();
    alCargar();
}

frmReproceso::~frmReproceso() = default;

void frmReproceso::creaControles() {
    resize(Px(8055), Px(9720));
    const auto etiqueta = [this](int i, const char* texto, int izquierda, int arriba, int ancho,
                                 int alto) {
        lblDato[i] = Coloca(new QLabel(QString::fromUtf8(texto), this), nombre("lblDato", i),
                            izquierda, arriba, ancho, alto);
        lblDato[i]->setWordWrap(true);
    };
    const auto caja = [this](int i, int izquierda, int arriba, int ancho, int largo) {
        txtDato[i] =
            Coloca(new QLineEdit(this), nombre("txtDato", i), izquierda, arriba, ancho, 375);
        txtDato[i]->setMaxLength(largo);
    };
    const auto tenida = [](QLabel* l) {
        l->setStyleSheet(kTinte);
        l->setMargin(2);
    };
    lblMuestra = Coloca(new QLabel(this), QStringLiteral("lblMuestra"), 1320, 120, 5175, 975);
    tenida(lblMuestra);
    etiqueta(0, "Serie para &facturas:", 720, 1365, 2000, 300);
    caja(0, 2760, 1320, 855, 3);
    etiqueta(1, "&Cliente para facturar:", 3960, 1200, 1140, 615);
    caja(1, 5160, 1320, 2175, 10);
    etiqueta(2, "", 720, 1800, 6615, 615);
    tenida(lblDato[2]);
    etiqueta(3, "S&erie de remisiones:", 720, 2565, 2000, 300);
    caja(2, 2760, 2520, 855, 3);
    etiqueta(18, "De &qué cliente:", 3960, 2520, 1140, 615);
    caja(4, 5160, 2520, 2175, 10);
    etiqueta(19, "", 720, 3000, 6615, 615);
    tenida(lblDato[19]);
    etiqueta(22, "&Nombre:", 720, 3765, 1200, 300);
    caja(5, 2040, 3720, 5295, 10);
    etiqueta(4, "Buscar entre las fechas", 720, 4200, 1170, 615);
    etiqueta(6, "&Inicial:", 2760, 4320, 700, 300);
    mkeFecha[0] = Coloca(new QLineEdit(this), nombre("mkeFecha", 0), 3480, 4200, 1335, 375);
    etiqueta(5, "Fina&l:", 5160, 4320, 700, 300);
    mkeFecha[1] = Coloca(new QLineEdit(this), nombre("mkeFecha", 1), 6000, 4200, 1335, 375);
    etiqueta(7, "% a &reducir:", 720, 4845, 2000, 300);
    caja(3, 2760, 4800, 975, 5);
    txtDato[3]->setAlignment(Qt::AlignRight);
    cmdAplicar = Coloca(new QPushButton(QStringLiteral("&Aplicar"), this),
                        QStringLiteral("cmdAplicar"), 6000, 4800, 1335, 495);
    totales_ = std::make_unique<TotalesDeLaFactura>(this, kTinte);
    etiqueta(20, "Fec&ha para la factura:", 720, 7965, 2100, 300);
    mkeFecha[2] = Coloca(new QLineEdit(this), nombre("mkeFecha", 2), 2880, 7920, 1335, 375);
    etiqueta(21, "Folio:", 720, 8445, 2000, 300);
    lblFolio = Coloca(new QLabel(this), QStringLiteral("lblFolio"), 2880, 8400, 1335, 375);
    lblFolio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tenida(lblFolio);
    cmdGenerar = Coloca(new QPushButton(QStringLiteral("&Generar factura"), this),
                        QStringLiteral("cmdGenerar"), 5640, 8160, 1695, 615);
    cmdGenerar->setEnabled(false);
    cmdExportar =
        Coloca(new BotonDeExportar(this), QStringLiteral("cmdExportar"), 4320, 7800, 1215, 615);
    ordenaElTeclado();
}

void frmReproceso::ordenaElTeclado() {
    lblAviso = Coloca(new QLabel(this), QStringLiteral("lblAviso"), 720, 8880, 6615, 600);
    lblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblAviso->setWordWrap(true);
    for (auto [etiqueta, caja] : {std::pair{0, txtDato[0]},
                                  {1, txtDato[1]},
                                  {3, txtDato[2]},
                                  {18, txtDato[4]},
                                  {22, txtDato[5]},
                                  {6, mkeFecha[0]},
                                  {5, mkeFecha[1]},
                                  {7, txtDato[3]},
                                  {20, mkeFecha[2]}}) {
        lblDato[etiqueta]->setBuddy(caja);
    }
    cmdAplicar->setDefault(true);

    QWidget* orden[] = {txtDato[0],  txtDato[1], txtDato[2], txtDato[4],  txtDato[5],  mkeFecha[0],
                        mkeFecha[1], txtDato[3], cmdAplicar, mkeFecha[2], cmdExportar, cmdGenerar};
    for (std::size_t i = 1; i < std::size(orden); ++i) {
        setTabOrder(orden[i - 1], orden[i]);
    }
}

void frmReproceso::conectaEntradas() {
    for (int i = 0; i < 6; ++i) {
        EntradaDeCampos::Validacion valida;
        if (i == 1 || i == 3 || i == 4) {
            valida = [this, i] {
                if (i == 3) {
                    formateaPorcentaje();
                }
                return EntradaDeCampos::Avisa(lblAviso, txtDato[i], revisaDato(i));
            };
        }
        EntradaDeCampos::Conecta(txtDato[i], i == 3 ? QStringLiteral("9") : QStringLiteral("!"),
                                 valida, lblAviso);
        connect(txtDato[i], &QLineEdit::textChanged, this, [this, i] {
            Consulta([this, i] { alCambiar(i); });
            alCambiarEntradas();
        });
    }
    for (QLineEdit* fecha : mkeFecha) {
        EntradaDeCampos::ConectaFecha(fecha, QStringLiteral("9"),
                                      EntradaDeCampos::FechaInvalida::Rechaza, lblAviso);
        connect(fecha, &QLineEdit::textChanged, this, [this] { alCambiarEntradas(); });
    }
    connect(cmdAplicar, &QPushButton::clicked, this,
            [this] { Accion([this] { cmdAplicar_Click(); }); });
    connect(cmdGenerar, &QPushButton::clicked, this,
            [this] { Accion([this] { cmdGenerar_Click(); }); });
    connect(cmdExportar, &QPushButton::clicked, this, [this] { Accion([this] { exporta(); }); });
}

void frmReproceso::alCargar() {
    RestauraPosicion();
    Proceso& p = Proceso::actual();
    logica_ = std::make_unique<FacturaDeRemisiones>(cnnPrincipal, cnnTemporal);
    if (!LeeConfiguracion(*p.kw, *p.registro, *p.bases, p.stArchivoIni, true)) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (!LeeAjustesDeFactura()) {
        QTimer::singleShot(0, this, &QDialog::reject);
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
        return;
    }
    cargada_ = Protegido([this] {
        conCandado_ = logica_->TomaLaBaseTemporal();
        if (!conCandado_) {
            throw Rechazo(FacturaDeRemisiones::Ocupada(logica_->QuienTieneLaBaseTemporal()));
        }
    });
    if (!cargada_) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    Protegido([this] { limitaLargos(); });
    const BasesDD& b = *p.bases;
    lblMuestra->setText(QStringLiteral(" Servidor: ") + b.cRuta +
                        QStringLiteral("\n  Base de datos: ") + b.cMiBase +
                        QStringLiteral("\n  Base de datos de resguardo: ") + BaseResguardo);
    for (QLineEdit* fecha : mkeFecha) {
        fecha->setText(libKwtm::TextoDeFecha(QDate::currentDate()));
    }
    txtDato[3]->setText(Formato::Numero(0, QStringLiteral("#0.00")));
}

void frmReproceso::limitaLargos() {
    const LargosDeColumnas facturas(cnnPrincipal, QStringLiteral("facturas"));
    const LargosDeColumnas remisiones(cnnPrincipal, QStringLiteral("remisiones"));
    const LargosDeColumnas clientes(cnnPrincipal, QStringLiteral("clientes"));
    const std::pair<QLineEdit*, int> largos[] = {
        {txtDato[0], facturas.Largo(QStringLiteral("Serie"))},
        {txtDato[2], remisiones.Largo(QStringLiteral("Serie"))},
        {txtDato[1], clientes.Largo(QStringLiteral("Clave"))},
        {txtDato[4], clientes.Largo(QStringLiteral("Clave"))}};
    for (const auto& [caja, largo] : largos) {
        if (largo > 0 && largo < caja->maxLength()) {
            caja->setMaxLength(largo);
        }
    }
}

bool frmReproceso::LeeAjustesDeFactura() {
    Proceso& p = Proceso::actual();
    const AjustesDeFactura ajustes = AjustesDeFactura::Lee();
    BaseResguardo = ajustes.baseResguardo;
    if (!p.bases->AbrirBdD(cnnPrincipal, p.bases->cMiBase)) {
        Dialogos::actual().mensaje(QStringLiteral("No fue posible abrir la base de datos '") +
                                       p.bases->cMiBase + QLatin1Char('\''),
                                   QStringLiteral("Alerta"), Dialogos::Icono::Ninguno);
        return false;
    }
    txtDato[0]->setText(ajustes.serieFacturas);
    txtDato[1]->setText(ajustes.clienteFactura);
    txtDato[2]->setText(ajustes.serieRemisiones);
    txtDato[4]->setText(ajustes.clienteRemisiones);
    return true;
}

void frmReproceso::alActivarPorPrimeraVez() {
    if (cargada_) {
        logica_->PreparaBaseTemporal();
        const QString rastros = logica_->RastrosDeOtraFactura(BaseResguardo);
        if (!rastros.isEmpty()) {
            Dialogos::actual().mensaje(rastros, QStringLiteral("Atención"),
                                       Dialogos::Icono::Advertencia);
        }
    }
}

void frmReproceso::alCambiar(int indice) {
    if (!cnnPrincipal.abierta()) {
        return;
    }
    if (indice == 0) {
        lblFolio->setText(
            QString::number(BusquedasDeFactura::SiguienteFolio(cnnPrincipal, txtDato[0]->text())));
        return;
    }
    if (indice != 1 && indice != 4) {
        return;
    }
    QLabel* nombre = indice == 1 ? lblDato[2] : lblDato[19];
    nombre->clear();
    if (indice == 1) {
        clienteConocido_ = false;
    }
    const BusquedasDeFactura::Cliente cliente =
        BusquedasDeFactura::BuscaCliente(cnnPrincipal, txtDato[indice]->text(), indice == 1);
    nombre->setText(cliente.nombre);
    if (indice == 4) {
        filtroConocido_ = cliente.conocido || txtDato[4]->text().trimmed().isEmpty();
    }
    if (indice == 1 && cliente.conocido) {
        // An unknown code keeps the payment method of the last known one.
        MetodoDePago = cliente.metodoDePago;
        clienteConocido_ = true;
    }
}

QString frmReproceso::revisaDato(int indice) const {
    if (indice == 3) {
        return NumeroEscrito::AvisoDePorcentajeAReducir(txtDato[3]->text());
    }
    if (indice == 1 && !SinConexion()) {
        return BusquedasDeFactura::AvisoDeCliente(txtDato[1]->text(), clienteConocido_);
    }
    if (indice == 4 && !SinConexion() && !filtroConocido_) {
        return BusquedasDeFactura::AvisoDeClienteDeRemisiones(txtDato[4]->text());
    }
    return {};
}

void frmReproceso::formateaPorcentaje() {
    // A refused or unreadable text is left as typed, for the clerk to mend.
    if (revisaDato(3).isEmpty()) {
        txtDato[3]->setText(
            Formato::Numero(*NumeroEscrito::Lee(txtDato[3]->text()), QStringLiteral("#0.00")));
    }
}

bool frmReproceso::revisaCampos(std::initializer_list<int> indices) {
    for (int i : indices) {
        const QString aviso = revisaDato(i);
        if (!aviso.isEmpty()) {
            EntradaDeCampos::Rehusa(lblAviso, txtDato[i], aviso);
            return false;
        }
    }
    return true;
}

QStringList frmReproceso::entradas() const {
    return {libKwtm::LeeFecha(mkeFecha[0]->text()).toString(Qt::ISODate),
            libKwtm::LeeFecha(mkeFecha[1]->text()).toString(Qt::ISODate),
            txtDato[2]->text(),
            txtDato[4]->text(),
            txtDato[5]->text(),
            QString::number(libKwtm::kwVal(txtDato[3]->text()), 'f', 4)};
}

void frmReproceso::alCambiarEntradas() {
    // The totals belong to the filters they were made from: other filters must be applied
    // first. The invoice's own series, client and date are read when it is made. A run sets
    // the button itself.
    if (Trabajando()) {
        return;
    }
    cmdGenerar->setEnabled(!entradasDeLosTotales_.isEmpty() && entradas() == entradasDeLosTotales_);
    cmdExportar->setEnabled(!entradasDeLasCopias_.isEmpty() && entradas() == entradasDeLasCopias_);
}

void frmReproceso::limpiaResultados() {
    cmdGenerar->setEnabled(false);
    cmdAplicar->setDefault(true);
    entradasDeLosTotales_.clear();
    entradasDeLasCopias_.clear();
    facturaCreada_.clear();
    cmdExportar->setEnabled(false);
    totalesDeLaSeleccion_ = {};
    vigencia_.Olvida();
    totales_->Limpia();
}

void frmReproceso::verificaLaBaseTemporal() {
    try {
        logica_->VerificaLaBaseTemporal();
    } catch (const Rechazo&) {
        PierdeLaConexion();
        throw;
    }
}

void frmReproceso::validaFechas(std::initializer_list<int> indices) {
    for (int i : indices) {
        if (!EntradaDeCampos::FechaAceptable(mkeFecha[i])) {
            mkeFecha[i]->setFocus();
            throw Rechazo(EntradaDeCampos::AvisoDeFecha(mkeFecha[i]));
        }
    }
}

void frmReproceso::reconecta() {
    Proceso& p = Proceso::actual();
    if (!p.bases->AbrirBdD(cnnPrincipal, p.bases->cMiBase)) {
        throw ErrorOrvlib(cnnPrincipal.ultimoNumero(), cnnPrincipal.ultimoError(),
                          p.bases->cMiBase);
    }
    conCandado_ = logica_->TomaLaBaseTemporal();
    if (!conCandado_) {
        BasesDD::CierraBdD(cnnPrincipal);
        throw Rechazo(FacturaDeRemisiones::Ocupada(logica_->QuienTieneLaBaseTemporal()));
    }
    logica_->PreparaBaseTemporal();
    for (int i : {0, 1, 4}) {
        alCambiar(i);
    }
}

void frmReproceso::alPerderLaConexion() {
    limpiaResultados();
    BasesDD::CierraBdD(cnnPrincipal);
    BasesDD::CierraBdD(cnnTemporal);
}

SeleccionDeFactura frmReproceso::seleccion() const {
    SeleccionDeFactura s;
    s.desde = libKwtm::LeeFecha(mkeFecha[0]->text());
    s.hasta = libKwtm::LeeFecha(mkeFecha[1]->text());
    s.serie = txtDato[2]->text();
    s.cliente = txtDato[4]->text();
    s.nombre = txtDato[5]->text();
    s.porcentaje = static_cast<float>(libKwtm::kwVal(txtDato[3]->text()));
    return s;
}

void frmReproceso::cmdAplicar_Click() {
    validaFechas({0, 1});
    if (!revisaCampos({4, 3})) {
        return;
    }
    const SeleccionDeFactura elegidas = seleccion();
    elegidas.Valida();
    const QStringList usadas = entradas();
    verificaLaBaseTemporal();
    limpiaResultados();
    const TotalesDeFactura t = logica_->Aplica(
        elegidas, {}, [this](const auto& obra) { Trabaja(obra); },
        [] { QCoreApplication::processEvents(); });
    if (t.remisiones == 0) {
        mkeFecha[0]->setFocus();
        Dialogos::actual().mensaje(SinRemisiones(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Informacion);
        return;
    }
    totales_->Muestra(t, elegidas.porcentaje);
    entradasDeLosTotales_ = usadas;
    entradasDeLasCopias_ = usadas;
    cmdExportar->setEnabled(true);
    totalesDeLaSeleccion_ = t;
    vigencia_.Lee(cnnPrincipal,
                  FacturaDeRemisiones::BaseTemporal() + QStringLiteral(".remisiones"));
    cmdGenerar->setEnabled(true);
    cmdGenerar->setDefault(true);
}

QString frmReproceso::preguntaDeConfirmacion(const DatosDeFactura& datos) {
    QString pregunta =
        TextosDeFactura::Confirmacion(datos, lblDato[2]->text(), totalesDeLaSeleccion_.remisiones);
    const QString aviso = logica_->AvisoSinTransaccion(BaseResguardo);
    if (!aviso.isEmpty()) {
        pregunta += QStringLiteral("\r\n\r\n") + aviso;
    }
    return pregunta;
}

void frmReproceso::cmdGenerar_Click() {
    validaFechas({2});
    if (!revisaCampos({1})) {
        return;
    }
    vigencia_.Verifica(cnnPrincipal, QStringLiteral("pulse de nuevo «Aplicar»"));
    verificaLaBaseTemporal();
    DatosDeFactura datos;
    datos.serie = txtDato[0]->text();
    datos.cliente = txtDato[1]->text();
    datos.fecha = libKwtm::LeeFecha(mkeFecha[2]->text());
    datos.folioPropuesto =
        BusquedasDeFactura::Folio(lblFolio->text().toLongLong(), txtDato[0]->text());
    datos.metodoDePago = MetodoDePago;
    datos.PonTotales(totalesDeLaSeleccion_);
    if (!Pregunta(preguntaDeConfirmacion(datos), QStringLiteral("Generar factura"), true)) {
        return;
    }
    // This invoice takes the totals: one "Aplicar", one invoice.
    const QStringList usadas = entradasDeLosTotales_;
    entradasDeLosTotales_.clear();
    cmdGenerar->setEnabled(false);
    FacturaCreada creada;
    try {
        creada = logica_->Genera(
            datos, BaseResguardo, {}, [this](const auto& obra) { Trabaja(obra); },
            [this](int paso, qint32 folio) { muestraFolio(paso, folio); });
    } catch (const std::exception&) {
        // Unless a table without transactions kept part of it, nothing was written: the same
        // selection may be invoiced once the cause is mended.
        if (!logica_->QuedoAlgoEscrito()) {
            entradasDeLosTotales_ = usadas;
            alCambiarEntradas();
            alCambiar(0);
        }
        throw;
    }
    // The totals stay in view; the folio label shows the next one free.
    facturaCreada_ = creada.serie + QString::number(creada.folio);
    alCambiar(0);
    Dialogos::actual().mensaje(TextosDeFactura::Creada(creada), QStringLiteral("Aviso"),
                               Dialogos::Icono::Ninguno);
}

void frmReproceso::muestraFolio(int paso, qint32 folio) {
    // The folio shows as soon as it is taken; the label is repainted, never the window's
    // events run, while the invoice's transaction is open.
    if (paso == 1) {
        lblFolio->setText(QString::number(folio));
        lblFolio->repaint();
    }
}

void frmReproceso::exporta() {
    verificaLaBaseTemporal();
    cmdExportar->Exporta(ExportacionDeFactura::NombrePropuesto(facturaCreada_), [this] {
        return ExportacionDeFactura::Libro(cnnPrincipal, totalesDeLaSeleccion_, facturaCreada_);
    });
}

void frmReproceso::mouseDoubleClickEvent(QMouseEvent* evento) {
    AbreConfiguracion(Proceso::actual().stArchivoIni);
    VentanaDeTrabajo::mouseDoubleClickEvent(evento);
}

void frmReproceso::alDescargar() {
    if (conCandado_ && cnnPrincipal.abierta() && !SinConexion()) {
        logica_->BorraBaseTemporal();
        logica_->SueltaLaBaseTemporal();
    }
    BasesDD::CierraBdD(cnnPrincipal);
    BasesDD::CierraBdD(cnnTemporal);
}
