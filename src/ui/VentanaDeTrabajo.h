#pragma once

#include <QDialog>

// Base of the job windows: modal, placed where the user left it and given the menu's icon when
// it loads, its unload (working tables, connections) run and its placement saved when it
// closes, and a hook for its first activation. Controls are placed in twips, as designed.
class VentanaDeTrabajo : public QDialog {
    Q_OBJECT
public:
    explicit VentanaDeTrabajo(const QString& nombre, QWidget* parent = nullptr);

    static int Px(int twips) { return twips / 15; }

protected:
    // Restores the placement; the first step of every job window's load.
    void RestauraPosicion();
    virtual void alActivarPorPrimeraVez() {}
    virtual void alDescargar() {}

    bool event(QEvent* evento) override;
    void done(int resultado) override;

    // Places a control by its design position in twips and names it.
    template <typename W>
    W* Coloca(W* control, const QString& nombre, int izquierda, int arriba, int ancho, int alto) {
        control->setObjectName(nombre);
        control->setGeometry(Px(izquierda), Px(arriba), Px(ancho), Px(alto));
        return control;
    }

private:
    bool primeraActivacion_ = true;
    bool descargada_ = false;
};
