#include "ventanas/frmRemisTyP.h"

#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/Puntero.h"
#include "interfaz/BotonDeContinuar.h"
#include "interfaz/BotonDeExportar.h"
#include "interfaz/ColocadorDeControles.h"
#include "interfaz/CorridaDeImpresion.h"
#include "interfaz/EntradaDeCampos.h"
#include "interfaz/LimiteDeEventos.h"
#include "interfaz/NumeroEscrito.h"
#include "interfaz/PanelDeElegidas.h"
#include "interfaz/UltimosDatos.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "servicios/Bitacora.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "tienda/LargosDeColumnas.h"
#include "tienda/ParaPluginsPortables.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "ventanas/ListaDeFacturaGlobal.h"
#include "ventanas/PresentacionDeReja.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

namespace {

const QString kFormatoDinero = QStringLiteral("###,###,##0.00");
constexpr double kTopeMaximo = 99999999999.99;

// A whole number typed in a box; absurdly large values stay absurdly large, never wrap.
qint64 entero(double valor) {
    return std::llround(std::clamp(valor, -1e15, 1e15));
}

} // namespace

frmRemisTyP::frmRemisTyP(QWidget* parent)
    : VentanaDeReimpresion(QStringLiteral("frmRemisTyP"), parent) {
    setWindowTitle(Titulo());
    creaControles();
    conectaEntradas();
    alCargar();
}

frmRemisTyP::~frmRemisTyP() = default;

void frmRemisTyP::creaControles() {
    const ColocadorDeControles coloca(this, 15000, 8640);
    const auto nombre = &ColocadorDeControles::Nombre;
    mkeFecha[0] =
        coloca.CajaDe(coloca.Etiqueta(QStringLiteral("Label6"),
                                      QStringLiteral("Entre las &fechas:"), 720, 405, 1500),
                      nombre("mkeFecha", 0), 2280, 360, 1335);
    mkeFecha[1] =
        coloca.CajaDe(coloca.Etiqueta(nombre("Label1", 1), QStringLiteral("&y"), 3740, 405, 200),
                      nombre("mkeFecha", 1), 3960, 360, 1335);
    Label7 = coloca.Etiqueta(QStringLiteral("Label7"), QStringLiteral("&Serie:"), 5640, 405, 600);
    txtDato[4] = coloca.CajaDe(Label7, nombre("txtDato", 4), 6240, 360, 735);
    // Wide enough for the largest cap, 99,999,999,999.99.
    txtDato[2] = coloca.CajaDe(coloca.Etiqueta(QStringLiteral("Label3"),
                                               QStringLiteral("Cantidad &tope:"), 720, 885, 1500),
                               nombre("txtDato", 2), 2280, 840, 1860, 18);
    // Wide enough for the largest folio, 2,147,483,647.
    txtDato[3] =
        coloca.CajaDe(coloca.Etiqueta(QStringLiteral("Label4"),
                                      QStringLiteral("F&olio a imprimir:"), 4260, 885, 1440),
                      nombre("txtDato", 3), 5760, 840, 1800, 13);
    ultimos_ = std::make_unique<UltimosDatos>(
        QStringLiteral("Reimpresión con tope"),
        QList<QPair<QString, QLineEdit*>>{{QStringLiteral("Serie"), txtDato[4]},
                                          {QStringLiteral("Cantidad tope"), txtDato[2]},
                                          {QStringLiteral("Folio a imprimir"), txtDato[3]}});
    cmdAplicar = coloca.Boton(QStringLiteral("cmdAplicar"), QStringLiteral("&Aplicar"), 8160, 600,
                              1335, 495);
    creaResultados(coloca);
    ordenaElTeclado();
}

void frmRemisTyP::creaResultados(const ColocadorDeControles& coloca) {
    lblAviso = coloca.Etiqueta(QStringLiteral("lblAviso"), {}, 720, 1260, 8880);
    lblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    mfgReja = coloca.Crea<QTableWidget>(QStringLiteral("mfgReja"), 720, 1620, 8880, 5340);
    // Tab and Shift+Tab leave the grid; the arrows move in it.
    mfgReja->setTabKeyNavigation(false);
    Command1 =
        coloca.Boton(QStringLiteral("Command1"), QStringLiteral("&Imprimir"), 720, 7140, 1935, 495);
    Command2 = coloca.Boton(QStringLiteral("Command2"), QStringLiteral("Factura &global en OV"),
                            2880, 7140, 2535, 495);
    Command4 = coloca.Boton(QStringLiteral("Command4"), QStringLiteral("&Limpiar banderas OV"),
                            5640, 7140, 2535, 495);
    cmdVistaPrevia = coloca.Boton(QStringLiteral("cmdVistaPrevia"), QStringLiteral("Vista pr&evia"),
                                  8340, 7140, 1260, 495);
    // Where the run shows its progress, once it ended.
    cmdContinuar =
        coloca.Crea<BotonDeContinuar>(QStringLiteral("cmdContinuar"), 720, 7680, 6600, 405);
    Command3 = coloca.Boton(QStringLiteral("Command3"), QStringLiteral("Ca&ncelar"), 7560, 7680,
                            1335, 405);
    // What the run chose, beside the grid: the days' picture, the chosen total and its views.
    panelElegidas =
        coloca.Crea<PanelDeElegidas>(QStringLiteral("panelElegidas"), 9840, 1620, 4920, 6015);
    chkPdfUnico = coloca.Coloca(new QCheckBox(QStringLiteral("Guardar como un solo P&DF"), this),
                                QStringLiteral("chkPdfUnico"), 9840, 7740, 4920, 300);
    Label8 = coloca.Etiqueta(QStringLiteral("Label8"), {}, 720, 7740, 6600);
    Label8->setFont(QFont(QStringLiteral("Courier New")));
    barImpresion = coloca.Crea<QProgressBar>(QStringLiteral("barImpresion"), 720, 8100, 6600, 255);
    barImpresion->setTextVisible(false);
    barImpresion->setVisible(false);
    for (QWidget* w :
         {static_cast<QWidget*>(Label7), static_cast<QWidget*>(txtDato[4]),
          static_cast<QWidget*>(mfgReja), static_cast<QWidget*>(Command3),
          static_cast<QWidget*>(Command1), static_cast<QWidget*>(Command2),
          static_cast<QWidget*>(Command4), static_cast<QWidget*>(Label8),
          static_cast<QWidget*>(panelElegidas), static_cast<QWidget*>(cmdVistaPrevia)}) {
        w->setVisible(false);
    }
    Command3->setEnabled(false);
}

void frmRemisTyP::ordenaElTeclado() {
    QList<QWidget*> orden = {mkeFecha[0], mkeFecha[1], txtDato[4],    txtDato[2],
                             txtDato[3],  cmdAplicar,  mfgReja,       Command1,
                             Command2,    Command4,    cmdVistaPrevia};
    ColocadorDeControles::OrdenDeTabulacion(orden << panelElegidas->Botones() << chkPdfUnico
                                                  << cmdContinuar << Command3);
    cmdAplicar->setDefault(true);
    txtDato[2]->setAlignment(Qt::AlignRight);
    txtDato[3]->setAlignment(Qt::AlignRight);
}

void frmRemisTyP::conectaEntradas() {
    for (int i = 0; i < 2; ++i) {
        EntradaDeCampos::ConectaFecha(mkeFecha[i], QStringLiteral("!"),
                                      EntradaDeCampos::FechaInvalida::Rechaza, lblAviso);
        connect(mkeFecha[i], &QLineEdit::textChanged, this, [this] { alCambiarEntradas(); });
    }
    for (int i : {2, 3, 4}) {
        ConectaCampo(
            txtDato[i], i == 4 ? QStringLiteral("!") : QStringLiteral("9"),
            [this, i] { return validaDato(i); }, lblAviso);
    }
    connect(cmdAplicar, &QPushButton::clicked, this,
            [this] { Accion([this] { cmdAplicar_Click(); }); });
    ConectaImpresion(
        Command1, cmdContinuar, cmdVistaPrevia, Command3,
        [this](bool continuar) { imprime(continuar); }, impresion_);
    connect(Command2, &QPushButton::clicked, this,
            [this] { Accion([this] { Command2_Click(); }); });
    connect(Command4, &QPushButton::clicked, this,
            [this] { Protegido([this] { Command4_Click(); }); });
    const auto verDia = [this] {
        Protegido([this] { panelElegidas->VerDia(Cnn(), mfgReja->currentRow()); });
    };
    connect(panelElegidas->cmdVerRemisiones, &QPushButton::clicked, this, verDia);
    connect(mfgReja, &QTableWidget::cellDoubleClicked, this, verDia);
    connect(panelElegidas->cmdResumen, &QPushButton::clicked, this,
            [this] { Protegido([this] { cmdResumen_Click(); }); });
    connect(panelElegidas->cmdExportar, &QPushButton::clicked, this, [this] {
        Accion([this] {
            VerificaCandado();
            vigencia_.Verifica(Cnn(), QStringLiteral("pulse de nuevo «Aplicar»"));
            panelElegidas->Exporta(Cnn());
        });
    });
}

void frmRemisTyP::alCargar() {
    Carga([this] {
        impresion_ = std::make_unique<ImpresionDeRemisiones>(Cnn());
        logica_ = std::make_unique<ReimpresionConTope>(
            Cnn(),
            QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("ListaRemisiones.txt")));
        const QString hoy = libKwtm::TextoDeFecha(QDate::currentDate());
        mkeFecha[0]->setText(hoy);
        mkeFecha[1]->setText(hoy);
        ultimos_->Restaura();
        if (PideDatosDePrueba(QCoreApplication::arguments().mid(1))) {
            mkeFecha[0]->setText(QStringLiteral("01/06/2009"));
            mkeFecha[1]->setText(QStringLiteral("30/06/2009"));
            txtDato[2]->setText(QStringLiteral("5000"));
            txtDato[3]->setText(QStringLiteral("1500"));
        }
        PresentacionDeReja::Prepara(mfgReja);
        archivoBandera_ = ListaDeFacturaGlobal::ArchivoBandera();
    });
}

bool frmRemisTyP::PideDatosDePrueba(const QStringList& argumentos) {
    return argumentos == QStringList{QStringLiteral("-probando")};
}

void frmRemisTyP::alActivarPorPrimeraVez() {
    if (EsVerdadero(
            BasesDD::LeeDato(QStringLiteral("SeriesEnRem"), Cnn(), QStringLiteral("configura")))) {
        Label7->setVisible(true);
        txtDato[4]->setVisible(true);
    }
    // No longer than the host's column takes.
    const int largo =
        LargosDeColumnas(Cnn(), QStringLiteral("remisiones")).Largo(QStringLiteral("Serie"));
    if (largo > 0) {
        txtDato[4]->setMaxLength(largo);
    }
    formatea(2);
    formatea(3);
}

QString frmRemisTyP::revisaDato(int indice) const {
    const std::optional<double> valor = NumeroEscrito::Lee(txtDato[indice]->text());
    if (indice == 2) {
        if (!valor) {
            return NumeroEscrito::AvisoDeNumero(txtDato[2]->text());
        }
        if (*valor > kTopeMaximo) {
            return QStringLiteral("El tope debe ser a lo más 99,999,999,999.99");
        }
        return *valor > 0 ? QString() : AvisoDeTope();
    }
    if (indice == 3) {
        return NumeroEscrito::AvisoDeEntero(txtDato[3]->text(), ReimpresionConTope::kFolioMaximo,
                                            AvisoDeFolio());
    }
    return {};
}

bool frmRemisTyP::validaDato(int indice) {
    QString aviso = revisaDato(indice);
    // The line says why the field refuses; a cap not typed yet (0.00) lets the clerk move on
    // to "&Aplicar", which refuses it beside the field.
    if (indice == 2 && NumeroEscrito::Lee(txtDato[2]->text()) == 0.0) {
        aviso.clear();
    }
    if (aviso.isEmpty() && indice != 4) {
        formatea(indice);
    }
    return EntradaDeCampos::Avisa(lblAviso, txtDato[indice], aviso);
}

void frmRemisTyP::formatea(int indice) {
    const std::optional<double> valor = NumeroEscrito::Lee(txtDato[indice]->text());
    if (valor && (indice == 2 || NumeroEscrito::EsEntero(*valor))) {
        txtDato[indice]->setText(
            Formato::Numero(*valor, indice == 2 ? kFormatoDinero : QStringLiteral("###,###,##0")));
    }
}

bool frmRemisTyP::revisaCampos() {
    for (QLineEdit* fecha : mkeFecha) {
        if (!EntradaDeCampos::FechaAceptable(fecha)) {
            EntradaDeCampos::Rehusa(lblAviso, fecha, EntradaDeCampos::AvisoDeFecha(fecha));
            return false;
        }
    }
    for (int i : {2, 3}) {
        const QString aviso = revisaDato(i);
        if (!aviso.isEmpty()) {
            EntradaDeCampos::Rehusa(lblAviso, txtDato[i], aviso);
            return false;
        }
    }
    return true;
}

QString frmRemisTyP::AvisoDeTope() {
    return QStringLiteral("El tope debe ser mayor que 0");
}

QString frmRemisTyP::AvisoDeFolio() {
    return QStringLiteral("El folio a imprimir debe ser un número entero de 1 a 2,147,483,647.");
}

QStringList frmRemisTyP::entradas() const {
    return {libKwtm::LeeFecha(mkeFecha[0]->text()).toString(Qt::ISODate),
            libKwtm::LeeFecha(mkeFecha[1]->text()).toString(Qt::ISODate), txtDato[4]->text(),
            QString::number(libKwtm::kwVal(txtDato[2]->text()), 'f', 4),
            QString::number(entero(libKwtm::kwVal(txtDato[3]->text())))};
}

void frmRemisTyP::alCambiarEntradas() {
    // The grid belongs to the inputs it was made from: other inputs must be applied first.
    if (Trabajando()) {
        return;
    }
    const bool vigente = Vigentes(entradas());
    Command1->setEnabled(vigente);
    Command2->setEnabled(vigente);
    cmdVistaPrevia->setEnabled(vigente);
    panelElegidas->cmdExportar->setEnabled(vigente);
}

void frmRemisTyP::cmdAplicar_Click() {
    if (!revisaCampos()) {
        return;
    }
    const qint64 folio = entero(libKwtm::kwVal(txtDato[3]->text()));
    const Importe tope = Importe::DeDouble(libKwtm::kwVal(txtDato[2]->text()));
    if (folio <= 0 || folio > ReimpresionConTope::kFolioMaximo) {
        txtDato[3]->setFocus();
        throw Rechazo(AvisoDeFolio());
    }
    if (tope <= Importe()) {
        txtDato[2]->setFocus();
        throw Rechazo(AvisoDeTope());
    }
    const QStringList usadas = entradas();
    VerificaCandado();
    // The working tables are made again: a stopped run of the old ones cannot go on.
    cmdContinuar->Retira();
    const QDate desde = libKwtm::LeeFecha(mkeFecha[0]->text());
    const QDate hasta = libKwtm::LeeFecha(mkeFecha[1]->text());
    const QString serie = txtDato[4]->text();
    ResultadoDeTope resultado;
    try {
        Bitacora::Registra(QStringLiteral("tope aplicar"),
                           ReimpresionConTope::Parametros(desde, hasta, serie, tope, folio), [&] {
                               Trabaja([&] {
                                   PunteroOcupado();
                                   const AlSalir normal([] { PunteroNormal(); });
                                   resultado =
                                       logica_->Aplica(desde, hasta, serie, tope, folio,
                                                       [] { QCoreApplication::processEvents(); });
                               });
                               return ReimpresionConTope::Resumen(resultado);
                           });
    } catch (const Rechazo&) {
        throw;
    } catch (...) {
        // What the grid shows and what "&Imprimir" would print must not disagree.
        limpiaResultados();
        throw;
    }
    for (QWidget* w :
         {static_cast<QWidget*>(mfgReja), static_cast<QWidget*>(Command1),
          static_cast<QWidget*>(Command2), static_cast<QWidget*>(Command4),
          static_cast<QWidget*>(panelElegidas), static_cast<QWidget*>(cmdVistaPrevia)}) {
        w->setVisible(true);
    }
    if (resultado.remisiones == 0) {
        limpiaResultados();
        mkeFecha[0]->setFocus();
        Dialogos::actual().mensaje(SinRemisiones(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Informacion);
        return;
    }
    ultimos_->Guarda();
    parametros_ = ReimpresionConTope::Parametros(desde, hasta, serie, tope, folio);
    panelElegidas->Muestra(resultado, tope, parametros_);
    FijaEntradas(usadas);
    muestraResultado(resultado);
}

void frmRemisTyP::muestraResultado(const ResultadoDeTope& resultado) {
    PresentacionDeReja::Llena(mfgReja, resultado);
    remisionesDeLaReja_ = resultado.remisiones;
    vigencia_.Lee(Cnn(), QStringLiteral("tmpremisiones"));
    // The same notes as a run printed before (one killed, or finished) can go on or reprint.
    cmdContinuar->Revisa(Cnn(), QStringLiteral("tope"), vigencia_);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    Command4->setEnabled(true);
    cmdVistaPrevia->setEnabled(true);
    Command1->setDefault(true);
    // The current cell goes to the totals row; a grid of more than 20 rows shows its end.
    mfgReja->setCurrentCell(mfgReja->rowCount() - 1, 1, QItemSelectionModel::NoUpdate);
    if (mfgReja->rowCount() + 1 > 20) {
        mfgReja->scrollToBottom();
    }
    mfgReja->setFocus();
}

void frmRemisTyP::limpiaResultados() {
    mfgReja->setRowCount(0);
    panelElegidas->Limpia();
    OlvidaEntradas();
    vigencia_.Olvida();
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    cmdVistaPrevia->setEnabled(false);
    cmdAplicar->setDefault(true);
}

void frmRemisTyP::imprime(bool continuar) {
    VerificaCandado();
    ImprimeEnVentana(*this, *impresion_, Cnn(),
                     {QStringLiteral("tope imprimir"), parametros_, &vigencia_,
                      QStringLiteral("pulse de nuevo «Aplicar»")},
                     {Command3, Label8, barImpresion, chkPdfUnico, cmdContinuar}, continuar);
    mkeFecha[0]->setFocus();
}

void frmRemisTyP::Command2_Click() {
    if (!ListaDeFacturaGlobal::ConfirmaGenerar()) {
        return;
    }
    vigencia_.Verifica(Cnn(), QStringLiteral("pulse de nuevo «Aplicar»"));
    ListaDeFacturaGlobal::Genera(archivoBandera_, remisionesDeLaReja_);
}

void frmRemisTyP::Command4_Click() {
    ListaDeFacturaGlobal::Limpia(archivoBandera_);
}

void frmRemisTyP::cmdResumen_Click() {
    Dialogos::actual().mensaje(QStringLiteral("Resumen guardado en ") +
                                   QDir::toNativeSeparators(panelElegidas->GuardaResumen()),
                               QStringLiteral("Listo"), Dialogos::Icono::Informacion);
}

void frmRemisTyP::borraTablasDeTrabajo() {
    if (logica_) {
        logica_->BorraTablasDeTrabajo();
    }
}
