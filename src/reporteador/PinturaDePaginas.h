#pragma once

#include "reporteador/Maquetador.h"

#include <QString>
#include <QVector>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class QPainter;
class QPdfWriter;

// Paints a PDF's pages in the order they are handed over and ends its painter, on the caller's
// thread or on a thread of its own; on its own, the next document is read and laid out while the
// one before is painted, and from construction on the painter and its writer belong to that
// thread alone.
class PinturaDePaginas {
public:
    enum class Hilo { ElMismo, Propio };
    PinturaDePaginas(QPainter& pintor, QPdfWriter& pdf, Hilo hilo);
    // What is still waiting is dropped and the painter ended.
    ~PinturaDePaginas();
    PinturaDePaginas(const PinturaDePaginas&) = delete;
    PinturaDePaginas& operator=(const PinturaDePaginas&) = delete;

    // Hands over one document's pages; on its own thread, waits while several documents are
    // still to be painted.
    void Pinta(QVector<PaginaMaquetada> paginas);
    // Paints what is left and ends the painter: whether the PDF was ended whole.
    bool Termina();
    // What went wrong on the painting thread, or empty.
    QString Fallo() const { return fallo_; }

private:
    void pintaAqui(const QVector<PaginaMaquetada>& paginas);
    void trabaja();
    void cierra(bool descartaPendientes);

    QPainter& pintor_;
    QPdfWriter& pdf_;
    bool primera_ = true;
    bool terminado_ = false;
    QString fallo_;
    std::mutex candado_;
    std::condition_variable cambio_;
    std::deque<QVector<PaginaMaquetada>> pendientes_;
    bool cerrado_ = false;
    std::thread hilo_;
};
