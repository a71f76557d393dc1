#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private CUPS scheduler for one test: its own folders and socket under a scratch folder,
// CUPS_SERVER pointing at it while the object lives (and at a socket nobody answers on after
// Detiene). Queues take documents as they come, without filters, and throw them away.
class CupsDePrueba {
public:
    CupsDePrueba();
    ~CupsDePrueba();
    CupsDePrueba(const CupsDePrueba&) = delete;
    CupsDePrueba& operator=(const CupsDePrueba&) = delete;

    // Whether the scheduler answered after its start; a test fails when it did not.
    bool enMarcha() const { return enMarcha_; }
    // A queue, enabled and accepting.
    bool AgregaCola(const QString& nombre);
    // A queue whose filter fails on every document, as a broken printer driver does: CUPS takes
    // each job and stops it.
    bool AgregaColaQueFalla(const QString& nombre);
    // The jobs of the queue by how they stand: completed, still to print (held, pending,
    // processing), or ended unprinted (stopped, cancelled, aborted).
    struct Cuentas {
        int terminados = 0;
        int esperando = 0;
        int fallidos = 0;
    };
    Cuentas CuentasDe(const QString& cola);
    // The jobs the queue holds or held, finished or not.
    int Trabajos(const QString& cola);
    // Runs a CUPS administration command (cupsreject, cupsdisable…) on the private scheduler.
    bool Orden(const QString& programa, const QStringList& argumentos);
    // Stops the scheduler, as a stopped service is.
    void Detiene();

private:
    QTemporaryDir dir_;
    QProcess cupsd_;
    QByteArray servidorAntes_;
    bool enMarcha_ = false;
};
