#include "interfaz/VentanaDeRemisionesDelDia.h"

#include "orvlib/Formato.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* tabla(const QVector<NotaElegida>& notas, QWidget* padre) {
    auto* t = new QTableWidget(static_cast<int>(notas.size()), 4, padre);
    t->setObjectName(QStringLiteral("tblRemisiones"));
    t->setHorizontalHeaderLabels({QStringLiteral("Remisión"), QStringLiteral("Cliente"),
                                  QStringLiteral("Total"), QStringLiteral("Folio nuevo")});
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setTabKeyNavigation(false);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int f = 0; f < notas.size(); ++f) {
        const NotaElegida& n = notas[f];
        const QString folio = n.serie.trimmed().isEmpty() ? QString::number(n.folioOriginal)
                                                          : n.serie.trimmed() + QLatin1Char(' ') +
                                                                QString::number(n.folioOriginal);
        const QString celdas[] = {folio, n.cliente + QStringLiteral("  ") + n.nombre,
                                  RejaDeTope::Dinero(n.total), QString::number(n.folioNuevo)};
        for (int c = 0; c < 4; ++c) {
            auto* celda = new QTableWidgetItem(celdas[c]);
            if (c >= 2) {
                celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            t->setItem(f, c, celda);
        }
    }
    return t;
}

} // namespace

VentanaDeRemisionesDelDia::VentanaDeRemisionesDelDia(const DiaDeTope& dia, Importe parte,
                                                     const QVector<NotaElegida>& notas,
                                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Remisiones elegidas del %1").arg(Formato::DiaCorto(dia.fecha)));
    auto* resumen =
        new QLabel(QStringLiteral("Vendido: %1   Parte del tope: %2   Elegido: %3 en %4 remisiones")
                       .arg(RejaDeTope::Dinero(dia.totalReal), RejaDeTope::Dinero(parte),
                            RejaDeTope::Dinero(dia.aImprimir))
                       .arg(dia.remisiones),
                   this);
    resumen->setObjectName(QStringLiteral("lblParte"));
    auto* botones = new QDialogButtonBox(this);
    botones->addButton(QStringLiteral("&Cerrar"), QDialogButtonBox::RejectRole);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* capas = new QVBoxLayout(this);
    capas->addWidget(resumen);
    capas->addWidget(tabla(notas, this));
    capas->addWidget(botones);
    resize(640, 360);
}
