#pragma once

#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/Conexion.h"

#include <QStringList>
#include <functional>
#include <memory>

class CandadoDeReimpresion;

// Base of the two reprint windows: their connection to the store's main database and the
// reprint lock held on it while the window is open, their load (the window closes after the
// alert when it cannot connect or another one reprints) and unload (the working tables dropped
// and the lock let go when they are this window's), the reconnection after a lost server, and
// the stale-input rule: the results belong to the inputs they were made from.
class VentanaDeReimpresion : public VentanaDeTrabajo {
    Q_OBJECT
public:
    ~VentanaDeReimpresion() override;

protected:
    VentanaDeReimpresion(const QString& nombre, QWidget* parent);

    // Restores the placement, connects and takes the lock, then runs the window's own load; a
    // window that could not is closed after the alert.
    void Carga(const std::function<void()>& propia);
    Conexion& Cnn() { return cnn_; }
    // Refuses when the lock was lost with the connection, leaving the window without it.
    void VerificaCandado();

    // The inputs the results shown were made from, as the window reads them.
    void FijaEntradas(const QStringList& entradas) { entradasDeResultados_ = entradas; }
    void OlvidaEntradas() { entradasDeResultados_.clear(); }
    bool Vigentes(const QStringList& entradas) const {
        return !entradasDeResultados_.isEmpty() && entradas == entradasDeResultados_;
    }

    // The job's working tables, dropped at unload when they are this window's.
    virtual void borraTablasDeTrabajo() = 0;
    // Clears the results shown: the window's part of losing the server.
    virtual void limpiaResultados() = 0;

private:
    void alDescargar() final;
    void alPerderLaConexion() final;
    void reconecta() final;

    Conexion cnn_;
    std::unique_ptr<CandadoDeReimpresion> candado_;
    QStringList entradasDeResultados_;
};
