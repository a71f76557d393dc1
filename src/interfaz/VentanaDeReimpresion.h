#pragma once

#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/Conexion.h"

#include <QStringList>
#include <functional>
#include <memory>

class BotonDeContinuar;
class CandadoDeReimpresion;
class ImpresionDeRemisiones;
class QLabel;
class QLineEdit;
class QPushButton;

// Base of the two reprint windows: their connection to the store's main database and the
// reprint lock held on it while the window is open, their load (the window closes after the
// alert when it cannot connect or another one reprints) and unload (the working tables dropped
// and the lock let go when they are this window's), the reconnection after a lost server, the
// stale-input rule (the results belong to the inputs they were made from) and the wiring of
// the entry fields and print buttons both windows share.
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

    // An entry field of the job's inputs: its kind ("9", "!") and the check run when it is
    // left, saying why on aviso; every change of it goes to alCambiarEntradas.
    void ConectaCampo(QLineEdit* caja, const QString& tipo, std::function<bool()> valida,
                      QLabel* aviso);
    // The print buttons: "&Imprimir" and the offer print the job (imprime(false) and
    // imprime(true)), "Vista previa" lays its copies out, "Ca&ncelar" stops the run printing.
    void ConectaImpresion(QPushButton* imprimir, BotonDeContinuar* continuar,
                          QPushButton* vistaPrevia, QPushButton* cancelar,
                          std::function<void(bool)> imprime,
                          const std::unique_ptr<ImpresionDeRemisiones>& impresion);

    // The inputs changed: the results' buttons stay usable only while they are Vigentes.
    virtual void alCambiarEntradas() = 0;
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
