#include "interfaz/PanelDeElegidas.h"

#include "interfaz/BotonDeExportar.h"
#include "interfaz/GraficaEnVentana.h"
#include "interfaz/VentanaDeRemisionesDelDia.h"
#include "servicios/Proceso.h"
#include "trabajos/exportacion/ExportacionDeTope.h"
#include "trabajos/tope/NotasElegidas.h"
#include "trabajos/tope/ResumenDeTope.h"

#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

PanelDeElegidas::PanelDeElegidas(QWidget* parent)
    : QWidget(parent)
    , cmdVerRemisiones(new QPushButton(QStringLiteral("&Ver remisiones"), this))
    , cmdResumen(new QPushButton(QStringLiteral("&Resumen"), this))
    , cmdExportar(new BotonDeExportar(this))
    , grafica_(new GraficaEnVentana(this))
    , lblElegido_(new QLabel(this)) {
    cmdVerRemisiones->setObjectName(QStringLiteral("cmdVerRemisiones"));
    cmdResumen->setObjectName(QStringLiteral("cmdResumen"));
    cmdExportar->setObjectName(QStringLiteral("cmdExportar"));
    grafica_->setObjectName(QStringLiteral("graficaDias"));
    lblElegido_->setObjectName(QStringLiteral("lblElegido"));
    lblElegido_->setWordWrap(true);
    auto* capas = new QGridLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->addWidget(grafica_, 0, 0, 1, 2);
    capas->addWidget(lblElegido_, 1, 0, 1, 2);
    capas->addWidget(cmdVerRemisiones, 2, 0);
    capas->addWidget(cmdResumen, 2, 1);
    capas->addWidget(cmdExportar, 3, 0, 1, 2);
    capas->setRowStretch(0, 1);
    Limpia();
}

void PanelDeElegidas::Muestra(const ResultadoDeTope& resultado, Importe tope,
                              const QString& parametros) {
    resultado_ = resultado;
    tope_ = tope;
    parametros_ = parametros;
    grafica_->Muestra(resultado, tope);
    lblElegido_->setText(NotasElegidas::Resumen(resultado, tope));
    cmdVerRemisiones->setEnabled(true);
    cmdResumen->setEnabled(true);
    cmdExportar->setEnabled(true);
}

void PanelDeElegidas::Limpia() {
    resultado_ = ResultadoDeTope();
    grafica_->Limpia();
    lblElegido_->clear();
    cmdVerRemisiones->setEnabled(false);
    cmdResumen->setEnabled(false);
    cmdExportar->setEnabled(false);
}

void PanelDeElegidas::VerDia(Conexion& cnn, int fila) {
    if (resultado_.dias.isEmpty()) {
        return;
    }
    const int dia = fila >= 0 && fila < resultado_.dias.size() ? fila : 0;
    const DiaDeTope& d = resultado_.dias[dia];
    VentanaDeRemisionesDelDia ventana(d, NotasElegidas::ParteDelTope(d, resultado_, tope_),
                                      NotasElegidas::DelDia(cnn, d.fecha), window());
    ventana.exec();
}

QString PanelDeElegidas::GuardaResumen() const {
    const QString ruta =
        QDir(Proceso::CarpetaDelPrograma())
            .filePath(
                QStringLiteral("Resumenes/tope-%1.pdf")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    const QString bitacora = QStringLiteral("tope aplicar: %1; %2")
                                 .arg(parametros_, ReimpresionConTope::Resumen(resultado_));
    HojaDeResumen::Escribe(ruta, ResumenDeTope::Datos(resultado_, tope_, parametros_, bitacora));
    return ruta;
}

void PanelDeElegidas::Exporta(Conexion& cnn) {
    cmdExportar->Exporta(ExportacionDeTope::NombrePropuesto(resultado_),
                         [&] { return ExportacionDeTope::Libro(cnn, resultado_, tope_); });
}

QList<QWidget*> PanelDeElegidas::Botones() const {
    return {cmdVerRemisiones, cmdResumen, cmdExportar};
}
