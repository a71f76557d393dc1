#include "ventanas/PresentacionDeReja.h"

#include "interfaz/VentanaDeTrabajo.h"
#include "trabajos/tope/ReimpresionConTope.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

namespace {

const QColor kTinte(0xE0, 0xF3, 0xFE);
const QColor kTotalesTitulo(0xDA, 0xFF, 0xC4);
const QColor kTotales(0xFE, 0xFF, 0xD9);
constexpr int kAnchos[6] = {450, 1400, 1300, 1300, 1300, 2500};

void agregaFila(QTableWidget* reja, const QStringList& celdas) {
    const int fila = reja->rowCount();
    reja->insertRow(fila);
    for (int c = 0; c < celdas.size(); ++c) {
        auto* celda = new QTableWidgetItem(celdas[c]);
        celda->setTextAlignment((c >= 2 && c <= 4 ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter);
        reja->setItem(fila, c, celda);
    }
}

} // namespace

void PresentacionDeReja::Prepara(QTableWidget* reja) {
    reja->setColumnCount(6);
    reja->setHorizontalHeaderLabels(RejaDeTope::Encabezados());
    reja->verticalHeader()->setVisible(false);
    reja->verticalHeader()->setDefaultSectionSize(20);
    reja->setEditTriggers(QAbstractItemView::NoEditTriggers);
    reja->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont letra = reja->font();
    letra.setPointSize(8);
    reja->setFont(letra);
    reja->setTextElideMode(Qt::ElideNone);
    for (int c = 0; c < 6; ++c) {
        reja->setColumnWidth(c, VentanaDeTrabajo::Px(kAnchos[c]));
    }
}

void PresentacionDeReja::Llena(QTableWidget* reja, const ResultadoDeTope& resultado) {
    reja->setRowCount(0);
    for (const QStringList& fila : RejaDeTope::Filas(resultado)) {
        agregaFila(reja, fila);
        // The grid's rows count from 1 under the header: even rows are tinted.
        const int filaDeReja = reja->rowCount();
        if (filaDeReja % 2 == 0) {
            for (int c = 1; c < 6; ++c) {
                reja->item(filaDeReja - 1, c)->setBackground(kTinte);
            }
        }
    }
    agregaFila(reja, QStringList(6, QString()));
    const int separador = reja->rowCount() - 1;
    for (int c = 1; c < 6; ++c) {
        reja->item(separador, c)->setBackground(reja->palette().button());
    }
    agregaFila(reja, RejaDeTope::Totales(resultado));
    const int totales = reja->rowCount() - 1;
    QTableWidgetItem* titulo = reja->item(totales, 1);
    titulo->setBackground(kTotalesTitulo);
    titulo->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont negritas = titulo->font();
    negritas.setBold(true);
    titulo->setFont(negritas);
    for (int c = 2; c < 6; ++c) {
        reja->item(totales, c)->setBackground(kTotales);
    }
    // A column never hides an amount: it widens past its design width when it must.
    for (int c = 0; c < 6; ++c) {
        reja->resizeColumnToContents(c);
        reja->setColumnWidth(c, std::max(VentanaDeTrabajo::Px(kAnchos[c]), reja->columnWidth(c)));
    }
}
