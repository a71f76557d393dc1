#include "ventanas/frmRemisPorcen.h"

#include "impresion/HojaDeResumen.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "interfaz/BotonDeContinuar.h"
#include "interfaz/BotonDeExportar.h"
#include "interfaz/ColocadorDeControles.h"
#include "interfaz/CorridaDeImpresion.h"
#include "interfaz/EntradaDeCampos.h"
#include "interfaz/LimiteDeEventos.h"
#include "interfaz/NumeroEscrito.h"
#include "interfaz/UltimosDatos.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "servicios/Bitacora.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "tienda/LargosDeColumnas.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "trabajos/exportacion/ExportacionDePorcentaje.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"
#include "trabajos/porcentaje/ResumenDeReduccion.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr double kFolioMaximo = 2147483647;

QFont letraFija() {
    QFont letra(QStringLiteral("Courier New"));
    letra.setStyleHint(QFont::Monospace);
    return letra;
}

} // namespace

frmRemisPorcen::frmRemisPorcen(QWidget* parent)
    : VentanaDeReimpresion(QStringLiteral("frmRemisPorcen"), parent) {
    setWindowTitle(Titulo());
    creaControles();
    conectaEntradas();
    alCargar();
}

frmRemisPorcen::~frmRemisPorcen() = default;

void frmRemisPorcen::creaControles() {
    const ColocadorDeControles coloca(this, 5760, 7380);
    const auto campo = [this, &coloca](int etiqueta, const char* texto, int caja, int arriba,
                                       int ancho, int largo) {
        Label[etiqueta] = coloca.Etiqueta(QStringLiteral("Label%1").arg(etiqueta),
                                          QString::fromUtf8(texto), 600, arriba + 45, 1800);
        txtDato[caja] =
            coloca.CajaDe(Label[etiqueta], ColocadorDeControles::Nombre("txtDato", caja), 2520,
                          arriba, ancho, largo);
    };
    // Folio boxes wide enough for the largest folio, 2,147,483,647.
    campo(1, "&Remisión inicial:", 0, 480, 1935, 13);
    campo(2, "Remisión &final:", 1, 960, 1935, 13);
    campo(6, "&Serie:", 4, 1440, 735, 3);
    campo(3, "&Porcentaje menos:", 2, 1920, 975, 5);
    ultimos_ = std::make_unique<UltimosDatos>(
        QStringLiteral("Reimpresión por porcentaje"),
        QList<QPair<QString, QLineEdit*>>{{QStringLiteral("Remisión inicial"), txtDato[0]},
                                          {QStringLiteral("Remisión final"), txtDato[1]},
                                          {QStringLiteral("Serie"), txtDato[4]},
                                          {QStringLiteral("Porcentaje menos"), txtDato[2]}});
    Command2 = coloca.Boton(QStringLiteral("Command2"), QStringLiteral("&Comprobar"), 600, 2520,
                            1335, 495);
    Command1 = coloca.Boton(QStringLiteral("Command1"), QStringLiteral("&Imprimir"), 3720, 2520,
                            1335, 495);
    Command1->setEnabled(false);
    cmdResumen = coloca.Boton(QStringLiteral("cmdResumen"), QStringLiteral("Res&umen"), 2160, 2520,
                              1335, 495);
    cmdResumen->setEnabled(false);
    creaResultados(coloca);
    ColocadorDeControles::OrdenDeTabulacion({txtDato[0], txtDato[1], txtDato[4], txtDato[2],
                                             Command2, cmdResumen, Command1, cmdVistaPrevia,
                                             cmdExportar, cmdContinuar, chkPdfUnico, Command3});
    Command2->setDefault(true);
}

void frmRemisPorcen::creaResultados(const ColocadorDeControles& coloca) {
    lblAviso = coloca.Etiqueta(QStringLiteral("lblAviso"), {}, 600, 3015, 4800, 225);
    lblAviso->setStyleSheet(QStringLiteral("color: #b00000;"));
    Label[7] = coloca.Etiqueta(QStringLiteral("Label7"), {}, 600, 3240, 4455, 2295);
    Label[7]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblEncontradas = coloca.Etiqueta(QStringLiteral("lblEncontradas"), {}, 600, 5520, 4455, 225);
    Label[8] = coloca.Etiqueta(QStringLiteral("Label8"), {}, 600, 5760, 3000);
    Command3 = coloca.Boton(QStringLiteral("Command3"), QStringLiteral("Ca&ncelar"), 3720, 5700,
                            1335, 405);
    Command3->setEnabled(false);
    barImpresion = coloca.Crea<QProgressBar>(QStringLiteral("barImpresion"), 600, 6180, 4455, 255);
    barImpresion->setTextVisible(false);
    chkPdfUnico = coloca.Coloca(new QCheckBox(QStringLiteral("Guardar como un solo P&DF"), this),
                                QStringLiteral("chkPdfUnico"), 600, 6480, 4455, 300);
    cmdVistaPrevia = coloca.Boton(QStringLiteral("cmdVistaPrevia"), QStringLiteral("Vista pr&evia"),
                                  600, 6840, 1935, 405);
    cmdVistaPrevia->setEnabled(false);
    cmdExportar =
        coloca.Crea<BotonDeExportar>(QStringLiteral("cmdExportar"), 2760, 6840, 1935, 405);
    // Where the run shows its progress, once it ended.
    cmdContinuar =
        coloca.Crea<BotonDeContinuar>(QStringLiteral("cmdContinuar"), 600, 5700, 4455, 405);
    barImpresion->setVisible(false);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label[6], txtDato[4], Label[7], Label[8], Command3}) {
        w->setVisible(false);
    }
    Label[7]->setFont(letraFija());
    Label[8]->setFont(letraFija());
    for (int i : {0, 1, 2}) {
        txtDato[i]->setAlignment(Qt::AlignRight);
    }
}

void frmRemisPorcen::conectaEntradas() {
    for (int i : {0, 1, 2, 4}) {
        ConectaCampo(
            txtDato[i], i == 4 ? QStringLiteral("!") : QStringLiteral("9"),
            [this, i] { return validaDato(i); }, lblAviso);
    }
    connect(Command2, &QPushButton::clicked, this,
            [this] { Accion([this] { Command2_Click(); }); });
    ConectaImpresion(
        Command1, cmdContinuar, cmdVistaPrevia, Command3,
        [this](bool continuar) { imprime(continuar); }, impresion_);
    connect(cmdResumen, &QPushButton::clicked, this,
            [this] { Protegido([this] { cmdResumen_Click(); }); });
    connect(cmdExportar, &QPushButton::clicked, this, [this] { Accion([this] { exporta(); }); });
}

void frmRemisPorcen::alCargar() {
    Carga([this] {
        logica_ = std::make_unique<ReimpresionConPorcentaje>(Cnn());
        // No longer than the host's column takes, when it takes fewer than 3.
        const int largo =
            LargosDeColumnas(Cnn(), QStringLiteral("remisiones")).Largo(QStringLiteral("Serie"));
        if (largo > 0 && largo < txtDato[4]->maxLength()) {
            txtDato[4]->setMaxLength(largo);
        }
        impresion_ = std::make_unique<ImpresionDeRemisiones>(Cnn());
        ultimos_->Restaura();
        if (EsVerdadero(BasesDD::LeeDato(QStringLiteral("SeriesEnRem"), Cnn(),
                                         QStringLiteral("configura")))) {
            Label[6]->setVisible(true);
            txtDato[4]->setVisible(true);
        }
    });
}

void frmRemisPorcen::alActivarPorPrimeraVez() {
    for (int i : {0, 1, 2}) {
        formatea(i);
    }
}

QString frmRemisPorcen::revisaDato(int indice) const {
    if (indice == 4) {
        return {};
    }
    if (indice == 2) {
        // 0 is taken here and refused by "&Comprobar".
        return NumeroEscrito::AvisoDePorcentajeMenos(txtDato[2]->text());
    }
    return NumeroEscrito::AvisoDeEntero(txtDato[indice]->text(), kFolioMaximo, AvisoDeFolio());
}

void frmRemisPorcen::formatea(int indice) {
    // A text that holds no number is left as typed, for the clerk to mend; so is a refused
    // percentage, which is not turned into 0. The series is text: an empty one stays empty.
    if (indice == 4) {
        return;
    }
    const std::optional<double> valor = NumeroEscrito::Lee(txtDato[indice]->text());
    if (!valor || !revisaDato(indice).isEmpty()) {
        return;
    }
    txtDato[indice]->setText(Formato::Numero(*valor, indice == 2 ? QStringLiteral("#0.00")
                                                                 : QStringLiteral("###,###,##0")));
}

bool frmRemisPorcen::validaDato(int indice) {
    formatea(indice);
    return EntradaDeCampos::Avisa(lblAviso, txtDato[indice], revisaDato(indice));
}

QString frmRemisPorcen::AvisoDeFolio() {
    return QStringLiteral("Los folios de las remisiones son números enteros de 1 a "
                          "2,147,483,647.");
}

QStringList frmRemisPorcen::entradas() const {
    QStringList valores;
    for (int i : {0, 1, 2}) {
        valores << QString::number(libKwtm::kwVal(txtDato[i]->text()), 'f', 4);
    }
    return valores << txtDato[4]->text();
}

void frmRemisPorcen::alCambiarEntradas() {
    // The copies belong to the inputs they were made from: other inputs must be checked first.
    if (Trabajando()) {
        return;
    }
    const bool vigente = Vigentes(entradas());
    Command1->setEnabled(vigente);
    cmdVistaPrevia->setEnabled(vigente);
    cmdExportar->setEnabled(vigente);
}

void frmRemisPorcen::limpiaResultados() {
    Label[7]->clear();
    lblEncontradas->clear();
    cmdResumen->setEnabled(false);
    OlvidaEntradas();
    vigencia_.Olvida();
    Command1->setEnabled(false);
    cmdVistaPrevia->setEnabled(false);
    cmdExportar->setEnabled(false);
    Command2->setDefault(true);
}

Decimal frmRemisPorcen::porcentajeEscrito() {
    const Decimal porcentaje = Decimal::DeDouble(libKwtm::kwVal(txtDato[2]->text()));
    if (porcentaje <= Decimal() || porcentaje >= Decimal::DeDiezmilesimos(1000000)) {
        QApplication::beep();
        txtDato[2]->setFocus();
        throw Rechazo(QStringLiteral("El porcentaje debe ser mayor que 0 y menor que 100."));
    }
    return porcentaje;
}

void frmRemisPorcen::Command2_Click() {
    for (int i : {0, 1, 4, 2}) {
        const QString aviso = revisaDato(i);
        if (!aviso.isEmpty()) {
            EntradaDeCampos::Rehusa(lblAviso, txtDato[i], aviso);
            return;
        }
    }
    const Decimal porcentaje = porcentajeEscrito();
    const auto inicial = static_cast<qint64>(libKwtm::kwVal(txtDato[0]->text()));
    const auto final = static_cast<qint64>(libKwtm::kwVal(txtDato[1]->text()));
    for (int i : {0, 1}) {
        if (libKwtm::kwVal(txtDato[i]->text()) > kFolioMaximo) {
            txtDato[i]->setFocus();
            throw Rechazo(AvisoDeFolio());
        }
    }
    if (inicial > final) {
        EntradaDeCampos::Rehusa(lblAviso, txtDato[1],
                                QStringLiteral("La remisión final (%1) es menor que la inicial "
                                               "(%2): escriba el rango de menor a mayor.")
                                    .arg(final)
                                    .arg(inicial));
        return;
    }
    const QString serie = txtDato[4]->text();
    const QStringList usadas = entradas();
    VerificaCandado();
    ReimpresionConPorcentaje::ValidaEntrada(inicial, final, porcentaje);
    // The working tables are made again: a stopped run of the old ones cannot go on.
    cmdContinuar->Retira();
    ResumenDePorcentaje resumen;
    try {
        Bitacora::Registra(
            QStringLiteral("porcentaje comprobar"),
            ReimpresionConPorcentaje::Parametros(inicial, final, serie, porcentaje), [&] {
                Trabaja([&] {
                    Label[7]->clear();
                    Label[7]->setVisible(true);
                    resumen = logica_->Comprueba(
                        inicial, final, serie, porcentaje, [this](int n, int de) {
                            Label[7]->setText(QStringLiteral("%1 de %2").arg(n).arg(de));
                            QCoreApplication::processEvents();
                        });
                });
                return ReimpresionConPorcentaje::ResumenDeBitacora(resumen);
            });
    } catch (...) {
        // A summary of copies that are not there would mislead "&Imprimir".
        limpiaResultados();
        throw;
    }
    if (resumen.remisiones == 0) {
        limpiaResultados();
        txtDato[0]->setFocus();
        Dialogos::actual().mensaje(SinRemisiones(), QStringLiteral("Atención"),
                                   Dialogos::Icono::Informacion);
        return;
    }
    parametros_ = ReimpresionConPorcentaje::Parametros(inicial, final, serie, porcentaje);
    ultimos_->Guarda();
    FijaEntradas(usadas);
    muestraResumen(resumen);
}

void frmRemisPorcen::muestraResumen(const ResumenDePorcentaje& resumen) {
    Label[7]->setText(ReimpresionConPorcentaje::Resumen(resumen).replace(QLatin1String("\r\n"),
                                                                         QLatin1String("\n")));
    lblEncontradas->setText(QStringLiteral("Remisiones encontradas: %1").arg(resumen.remisiones));
    resumen_ = resumen;
    cmdResumen->setEnabled(true);
    vigencia_.Lee(Cnn(), QStringLiteral("tmpremisiones"));
    // The same notes as a run printed before (one killed, or finished) can go on or reprint.
    cmdContinuar->Revisa(Cnn(), QStringLiteral("porcentaje"), vigencia_);
    Command1->setEnabled(true);
    cmdVistaPrevia->setEnabled(true);
    cmdExportar->setEnabled(true);
    Command1->setDefault(true);
}

void frmRemisPorcen::imprime(bool continuar) {
    VerificaCandado();
    ImprimeEnVentana(*this, *impresion_, Cnn(),
                     {QStringLiteral("porcentaje imprimir"), parametros_, &vigencia_,
                      QStringLiteral("pulse de nuevo «Comprobar»")},
                     {Command3, Label[8], barImpresion, chkPdfUnico, cmdContinuar}, continuar);
}

void frmRemisPorcen::cmdResumen_Click() {
    const QString ruta =
        QDir(Proceso::CarpetaDelPrograma())
            .filePath(
                QStringLiteral("Resumenes/porcentaje-%1.pdf")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    HojaDeResumen::Escribe(
        ruta, ResumenDeReduccion::Datos(
                  Cnn(), resumen_, parametros_,
                  QStringLiteral("porcentaje comprobar: %1; %2")
                      .arg(parametros_, ReimpresionConPorcentaje::ResumenDeBitacora(resumen_))));
    Dialogos::actual().mensaje(QStringLiteral("Resumen guardado en ") +
                                   QDir::toNativeSeparators(ruta),
                               QStringLiteral("Listo"), Dialogos::Icono::Informacion);
}

void frmRemisPorcen::exporta() {
    VerificaCandado();
    vigencia_.Verifica(Cnn(), QStringLiteral("pulse de nuevo «Comprobar»"));
    cmdExportar->Exporta(ExportacionDePorcentaje::NombrePropuesto(),
                         [this] { return ExportacionDePorcentaje::Libro(Cnn(), resumen_); });
}

void frmRemisPorcen::borraTablasDeTrabajo() {
    if (logica_) {
        logica_->BorraTablasDeTrabajo();
    }
}
