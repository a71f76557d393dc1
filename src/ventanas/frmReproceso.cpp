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
#include "ventanas/ControlesDeLaFactura.h"
#include "ventanas/TotalesDeLaFactura.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <initializer_list>

frmReproceso::frmReproceso(QWidget* parent)
    : VentanaDeTrabajo(QStringLiteral("frmReproceso"), parent) {
    setWindowTitle(Titulo());
    controles_ = std::make_unique<ControlesDeLaFactura>(this);
    conectaEntradas();
    alCargar();
}

frmReproceso::~frmReproceso() = default;

void frmReproceso::conectaEntradas() {
    for (int i = 0; i < 6; ++i) {
        EntradaDeCampos::Validacion valida;
        if (i == 1 || i == 3 || i == 4) {
            valida = [this, i] {
                if (i == 3) {
                    formateaPorcentaje();
                }
                return EntradaDeCampos::Avisa(controles_->lblAviso, controles_->txtDato[i],
                                              revisaDato(i));
            };
        }
        EntradaDeCampos::Conecta(controles_->txtDato[i],
                                 i == 3 ? QStringLiteral("9") : QStringLiteral("!"), valida,
                                 controles_->lblAviso);
        connect(controles_->txtDato[i], &QLineEdit::textChanged, this, [this, i] {
            Consulta([this, i] { alCambiar(i); });
            alCambiarEntradas();
        });
    }
    for (QLineEdit* fecha : controles_->mkeFecha) {
        EntradaDeCampos::ConectaFecha(fecha, QStringLiteral("9"),
                                      EntradaDeCampos::FechaInvalida::Rechaza,
                                      controles_->lblAviso);
        connect(fecha, &QLineEdit::textChanged, this, [this] { alCambiarEntradas(); });
    }
    connect(controles_->cmdAplicar, &QPushButton::clicked, this,
            [this] { Accion([this] { cmdAplicar_Click(); }); });
    connect(controles_->cmdGenerar, &QPushButton::clicked, this,
            [this] { Accion([this] { cmdGenerar_Click(); }); });
    connect(controles_->cmdExportar, &QPushButton::clicked, this,
            [this] { Accion([this] { exporta(); }); });
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
    controles_->lblMuestra->setText(
        QStringLiteral(" Servidor: ") + b.cRuta + QStringLiteral("\n  Base de datos: ") +
        b.cMiBase + QStringLiteral("\n  Base de datos de resguardo: ") + BaseResguardo);
    for (QLineEdit* fecha : controles_->mkeFecha) {
        fecha->setText(libKwtm::TextoDeFecha(QDate::currentDate()));
    }
    controles_->txtDato[3]->setText(Formato::Numero(0, QStringLiteral("#0.00")));
}

void frmReproceso::limitaLargos() {
    const LargosDeColumnas facturas(cnnPrincipal, QStringLiteral("facturas"));
    const LargosDeColumnas remisiones(cnnPrincipal, QStringLiteral("remisiones"));
    const LargosDeColumnas clientes(cnnPrincipal, QStringLiteral("clientes"));
    const std::pair<QLineEdit*, int> largos[] = {
        {controles_->txtDato[0], facturas.Largo(QStringLiteral("Serie"))},
        {controles_->txtDato[2], remisiones.Largo(QStringLiteral("Serie"))},
        {controles_->txtDato[1], clientes.Largo(QStringLiteral("Clave"))},
        {controles_->txtDato[4], clientes.Largo(QStringLiteral("Clave"))}};
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
    controles_->txtDato[0]->setText(ajustes.serieFacturas);
    controles_->txtDato[1]->setText(ajustes.clienteFactura);
    controles_->txtDato[2]->setText(ajustes.serieRemisiones);
    controles_->txtDato[4]->setText(ajustes.clienteRemisiones);
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
        controles_->lblFolio->setText(QString::number(
            BusquedasDeFactura::SiguienteFolio(cnnPrincipal, controles_->txtDato[0]->text())));
        return;
    }
    if (indice != 1 && indice != 4) {
        return;
    }
    QLabel* nombre = indice == 1 ? controles_->lblDato[2] : controles_->lblDato[19];
    nombre->clear();
    if (indice == 1) {
        clienteConocido_ = false;
    }
    const BusquedasDeFactura::Cliente cliente = BusquedasDeFactura::BuscaCliente(
        cnnPrincipal, controles_->txtDato[indice]->text(), indice == 1);
    nombre->setText(cliente.nombre);
    if (indice == 4) {
        filtroConocido_ = cliente.conocido || controles_->txtDato[4]->text().trimmed().isEmpty();
    }
    if (indice == 1 && cliente.conocido) {
        // An unknown code keeps the payment method of the last known one.
        MetodoDePago = cliente.metodoDePago;
        clienteConocido_ = true;
    }
}

QString frmReproceso::revisaDato(int indice) const {
    if (indice == 3) {
        return NumeroEscrito::AvisoDePorcentajeAReducir(controles_->txtDato[3]->text());
    }
    if (indice == 1 && !SinConexion()) {
        return BusquedasDeFactura::AvisoDeCliente(controles_->txtDato[1]->text(), clienteConocido_);
    }
    if (indice == 4 && !SinConexion() && !filtroConocido_) {
        return BusquedasDeFactura::AvisoDeClienteDeRemisiones(controles_->txtDato[4]->text());
    }
    return {};
}

void frmReproceso::formateaPorcentaje() {
    // A refused or unreadable text is left as typed, for the clerk to mend.
    if (revisaDato(3).isEmpty()) {
        controles_->txtDato[3]->setText(Formato::Numero(
            *NumeroEscrito::Lee(controles_->txtDato[3]->text()), QStringLiteral("#0.00")));
    }
}

bool frmReproceso::revisaCampos(std::initializer_list<int> indices) {
    for (int i : indices) {
        const QString aviso = revisaDato(i);
        if (!aviso.isEmpty()) {
            EntradaDeCampos::Rehusa(controles_->lblAviso, controles_->txtDato[i], aviso);
            return false;
        }
    }
    return true;
}

void frmReproceso::alCambiarEntradas() {
    // The totals belong to the filters they were made from: other filters must be applied
    // first. The invoice's own series, client and date are read when it is made. A run sets
    // the button itself.
    if (Trabajando()) {
        return;
    }
    controles_->cmdGenerar->setEnabled(!entradasDeLosTotales_.isEmpty() &&
                                       controles_->Entradas() == entradasDeLosTotales_);
    controles_->cmdExportar->setEnabled(!entradasDeLasCopias_.isEmpty() &&
                                        controles_->Entradas() == entradasDeLasCopias_);
}

void frmReproceso::limpiaResultados() {
    controles_->cmdGenerar->setEnabled(false);
    controles_->cmdAplicar->setDefault(true);
    entradasDeLosTotales_.clear();
    entradasDeLasCopias_.clear();
    facturaCreada_.clear();
    controles_->cmdExportar->setEnabled(false);
    totalesDeLaSeleccion_ = {};
    vigencia_.Olvida();
    controles_->totales->Limpia();
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
        if (!EntradaDeCampos::FechaAceptable(controles_->mkeFecha[i])) {
            controles_->mkeFecha[i]->setFocus();
            throw Rechazo(EntradaDeCampos::AvisoDeFecha(controles_->mkeFecha[i]));
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

void frmReproceso::cmdAplicar_Click() {
    validaFechas({0, 1});
    if (!revisaCampos({4, 3})) {
        return;
    }
    const SeleccionDeFactura elegidas = controles_->Seleccion();
    elegidas.Valida();
    const QStringList usadas = controles_->Entradas();
    verificaLaBaseTemporal();
    limpiaResultados();
    const TotalesDeFactura t = logica_->Aplica(
        elegidas, {}, [this](const auto& obra) { Trabaja(obra); },
        [] { QCoreApplication::processEvents(); });
    if (t.remisiones == 0) {
        controles_->mkeFecha[0]->setFocus();
        Dialogos::actual().mensaje(SinRemisiones(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Informacion);
        return;
    }
    controles_->totales->Muestra(t, elegidas.porcentaje);
    entradasDeLosTotales_ = usadas;
    entradasDeLasCopias_ = usadas;
    controles_->cmdExportar->setEnabled(true);
    totalesDeLaSeleccion_ = t;
    vigencia_.Lee(cnnPrincipal,
                  FacturaDeRemisiones::BaseTemporal() + QStringLiteral(".remisiones"));
    controles_->cmdGenerar->setEnabled(true);
    controles_->cmdGenerar->setDefault(true);
}

QString frmReproceso::preguntaDeConfirmacion(const DatosDeFactura& datos) {
    QString pregunta = TextosDeFactura::Confirmacion(datos, controles_->lblDato[2]->text(),
                                                     totalesDeLaSeleccion_.remisiones);
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
    datos.serie = controles_->txtDato[0]->text();
    datos.cliente = controles_->txtDato[1]->text();
    datos.fecha = libKwtm::LeeFecha(controles_->mkeFecha[2]->text());
    datos.folioPropuesto = BusquedasDeFactura::Folio(controles_->lblFolio->text().toLongLong(),
                                                     controles_->txtDato[0]->text());
    datos.metodoDePago = MetodoDePago;
    datos.PonTotales(totalesDeLaSeleccion_);
    if (!Pregunta(preguntaDeConfirmacion(datos), QStringLiteral("Generar factura"), true)) {
        return;
    }
    // This invoice takes the totals: one "Aplicar", one invoice.
    const QStringList usadas = entradasDeLosTotales_;
    entradasDeLosTotales_.clear();
    controles_->cmdGenerar->setEnabled(false);
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
        controles_->lblFolio->setText(QString::number(folio));
        controles_->lblFolio->repaint();
    }
}

void frmReproceso::exporta() {
    verificaLaBaseTemporal();
    controles_->cmdExportar->Exporta(ExportacionDeFactura::NombrePropuesto(facturaCreada_), [this] {
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
