#include "arranque/Menu.h"

#include "arranque/IconoDelPrograma.h"
#include "arranque/Principal.h"
#include "interfaz/LimiteDeEventos.h"
#include "servicios/Proceso.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"
#include "ventanas/frmReproceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The title bar's icon and buttons, and some air around the text, in pixels.
constexpr int kMargenDelTitulo = 160;

} // namespace

Menu::Menu(QWidget* parent)
    : QWidget(parent)
    , Picture1(new QLabel(this))
    , Label1(new QLabel(this))
    , Command2(boton(QStringLiteral("Command2"), QStringLiteral("&Reimpresión por % de descuento")))
    , Command8(
          boton(QStringLiteral("Command8"), QStringLiteral("R&eimpresión con tope y por período")))
    , Command1(boton(QStringLiteral("Command1"), QStringLiteral("Re&procesamiento de remisiones")))
    , Command3(boton(QStringLiteral("Command3"), QStringLiteral("&Salir"))) {
    setObjectName(QStringLiteral("Menu"));
    QApplication::setWindowIcon(IconoDelPrograma::Icono());
    setWindowIcon(QApplication::windowIcon());
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(IconoDelPrograma::Imagen(96));
    Picture1->setAlignment(Qt::AlignCenter);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumHeight(40);

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(24, 16, 24, 16);
    columna->setSpacing(8);
    columna->addWidget(Picture1);
    columna->addWidget(Label1);
    for (QPushButton* b : {Command2, Command8, Command1, Command3}) {
        b->setMinimumHeight(34);
        columna->addWidget(b);
    }
    Command1->setVisible(false);
    Command1->setEnabled(false);
    setTabOrder(Command2, Command8);
    setTabOrder(Command8, Command1);
    setTabOrder(Command1, Command3);

    connect(Command2, &QPushButton::clicked, this, [this] {
        frmRemisPorcen ventana(this);
        ventana.exec();
    });
    connect(Command1, &QPushButton::clicked, this, [this] {
        frmReproceso ventana(this);
        ventana.exec();
    });
    connect(Command8, &QPushButton::clicked, this, [this] {
        frmRemisTyP ventana(this);
        ventana.exec();
    });
    connect(Command3, &QPushButton::clicked, this, [] {
        Principal::LiberaObjetos();
        QApplication::exit(0);
    });
    alCargar();
}

QPushButton* Menu::boton(const QString& nombre, const QString& texto) {
    auto* b = new QPushButton(texto, this);
    b->setObjectName(nombre);
    return b;
}

void Menu::alCargar() {
    primeraActivacion_ = true;
    setWindowTitle(TituloDeDiseno() + QStringLiteral(", versión ") +
                   QStringLiteral(DEREMISIONES_VERSION));
    // Wide enough that the title bar shows the whole title beside its buttons.
    QFont negritas = QApplication::font();
    negritas.setBold(true);
    const QFontMetrics letra(negritas);
    setMinimumWidth(std::max(minimumSizeHint().width(),
                             letra.horizontalAdvance(windowTitle()) + kMargenDelTitulo));
    Protegido([this] {
        Principal::CalculaIniHost();
        const Proceso& p = Proceso::actual();
        const bool reproceso =
            p.kw->LeeIni(QStringLiteral("Configuración"), QStringLiteral("Mostrar reprocesamiento"),
                         p.stArchivoIni)
                .trimmed() == QLatin1String("1");
        Command1->setVisible(reproceso);
        Command1->setEnabled(reproceso);
    });
    VistaPrevia::Instala(this);
}

void Menu::alActivarPorPrimeraVez() {
    primeraActivacion_ = false;
    const BasesDD& bases = *Proceso::actual().bases;
    Label1->setText(QStringLiteral("   Servidor: ") + bases.cRuta +
                    QStringLiteral("\n   Base de datos: ") + bases.cMiBase);
}

void Menu::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow() && primeraActivacion_) {
        alActivarPorPrimeraVez();
    }
    QWidget::changeEvent(evento);
}

void Menu::closeEvent(QCloseEvent* evento) {
    Principal::LiberaObjetos();
    QWidget::closeEvent(evento);
}
