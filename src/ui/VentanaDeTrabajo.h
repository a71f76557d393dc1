#pragma once

#include <QDialog>
#include <functional>

class QPushButton;

// Base of the job windows: modal, placed where the user left it and given the menu's icon when
// it loads, its unload (working tables, connections) run and its placement saved when it
// closes, and a hook for its first activation. Controls are placed in twips.
// While a long action runs the window cannot be re-entered: its buttons are disabled, and
// Escape and the close box wait, or act as the action's Cancelar when it has one. Enter only
// presses a button that has the focus, never one the focus is elsewhere.
class VentanaDeTrabajo : public QDialog {
    Q_OBJECT
public:
    explicit VentanaDeTrabajo(const QString& nombre, QWidget* parent = nullptr);

    static int Px(int twips) { return twips / 15; }

    // Runs the action with every button but cancelar disabled; they come back as they were
    // however it ends. A call while another action runs does nothing.
    void Trabaja(const std::function<void()>& accion, QPushButton* cancelar = nullptr);
    bool Trabajando() const { return trabajando_; }

protected:
    // Restores the placement; the first step of every job window's load.
    void RestauraPosicion();
    virtual void alActivarPorPrimeraVez() {}
    virtual void alDescargar() {}

    bool event(QEvent* evento) override;
    void done(int resultado) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* evento) override;

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
    bool trabajando_ = false;
    QPushButton* cancelar_ = nullptr;
};
