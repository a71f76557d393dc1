#pragma once

#include "trabajos/tope/ReimpresionConTope.h"

#include <QWidget>

class BotonDeExportar;
class Conexion;
class GraficaEnVentana;
class QLabel;
class QPushButton;

// Beside the cap window's grid, what the run chose: the picture of its days, the chosen total
// against the cap and why it may pass it, the notes of a day ("Ver remisiones"), the run's
// summary on paper ("Resumen") and its days and notes as a spreadsheet ("Exportar…"). Empty and
// its buttons disabled until a run is shown.
class PanelDeElegidas : public QWidget {
public:
    explicit PanelDeElegidas(QWidget* parent = nullptr);

    void Muestra(const ResultadoDeTope& resultado, Importe tope, const QString& parametros);
    void Limpia();
    // Opens the notes of the day in that row of the grid (the first day for any other row).
    void VerDia(Conexion& cnn, int fila);
    // Writes the run's summary into the program folder's Resumenes folder; returns its path.
    QString GuardaResumen() const;
    // Asks where and writes the run's days and chosen notes, read from the working copies.
    void Exporta(Conexion& cnn);

    // Its buttons in tab order, for the window's.
    QList<QWidget*> Botones() const;

    QPushButton* cmdVerRemisiones;
    QPushButton* cmdResumen;
    BotonDeExportar* cmdExportar;

private:
    GraficaEnVentana* grafica_;
    QLabel* lblElegido_;
    ResultadoDeTope resultado_;
    Importe tope_;
    QString parametros_;
};
