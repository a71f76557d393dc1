#pragma once

#include "tienda/Posiciones.h"

#include <QDialog>
#include <functional>

class QPushButton;

// Base of the job windows: modal, placed where the user left it and given the menu's icon when
// it loads, its unload (working tables, connections) run and its placement saved when it
// closes, and a hook for its first activation. Controls are placed in twips
// (ColocadorDeControles).
// While a long action runs the window cannot be re-entered: its buttons are disabled, and
// Escape and the close box wait, or act as the action's Cancelar when it has one. Enter only
// presses a button that has the focus, never one the focus is elsewhere. A lost server is a
// state of the window: it says so, clears its results, reconnects on the next action and
// closes quietly.
class VentanaDeTrabajo : public QDialog {
    Q_OBJECT
public:
    explicit VentanaDeTrabajo(const QString& nombre, QWidget* parent = nullptr);

    static int Px(int twips) { return twips / Posiciones::kTwipsPorPixel; }
    // What a job says when its selection has no notes.
    static QString SinRemisiones() { return QStringLiteral("No hay remisiones con esos datos"); }

    // Runs the action with every button and entry field but cancelar disabled; they come back
    // as they were however it ends, after the clicks and keys that came meanwhile were dropped.
    // A call while another action runs does nothing.
    void Trabaja(const std::function<void()>& accion, QPushButton* cancelar = nullptr);
    bool Trabajando() const { return trabajando_; }

    // Runs an event handler inside Protegido. A window without its connection reconnects
    // first (reconecta); a handler that finds the server gone leaves the window without it.
    bool Accion(const std::function<void()>& manejador);
    // The same for the lookups made while typing: they neither reconnect nor run meanwhile.
    bool Consulta(const std::function<void()>& manejador);
    // The server is gone: the window clears its results and closes its connections.
    void PierdeLaConexion();
    bool SinConexion() const { return sinConexion_; }

protected:
    // Restores the placement; the first step of every job window's load.
    void RestauraPosicion();
    virtual void alActivarPorPrimeraVez() {}
    virtual void alDescargar() {}
    // Clears what the window shows from the server and closes its connections.
    virtual void alPerderLaConexion() {}
    // Opens the connections again and takes the window's lock again; throws when it cannot.
    virtual void reconecta() {}

    bool event(QEvent* evento) override;
    void done(int resultado) override;
    void reject() override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    bool primeraActivacion_ = true;
    bool descargada_ = false;
    bool trabajando_ = false;
    bool sinConexion_ = false;
    QPushButton* cancelar_ = nullptr;
};
