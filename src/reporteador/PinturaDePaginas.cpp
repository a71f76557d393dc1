#include "reporteador/PinturaDePaginas.h"

#include "reporteador/Pintor.h"

#include <QPainter>
#include <QPdfWriter>
#include <exception>
#include <utility>

namespace {

// Documents laid out ahead of the painter: enough to keep both threads busy, few enough that a
// long run does not hold its pages in memory.
constexpr std::size_t kPendientes = 8;

} // namespace

PinturaDePaginas::PinturaDePaginas(QPainter& pintor, QPdfWriter& pdf, Hilo hilo)
    : pintor_(pintor)
    , pdf_(pdf) {
    if (hilo == Hilo::Propio) {
        hilo_ = std::thread([this] { trabaja(); });
    }
}

PinturaDePaginas::~PinturaDePaginas() {
    cierra(true);
    if (pintor_.isActive()) {
        pintor_.end();
    }
}

void PinturaDePaginas::Pinta(QVector<PaginaMaquetada> paginas) {
    if (!hilo_.joinable()) {
        pintaAqui(paginas);
        return;
    }
    std::unique_lock<std::mutex> candado(candado_);
    cambio_.wait(candado, [this] { return pendientes_.size() < kPendientes || cerrado_; });
    // After a failure the pages go nowhere: Termina and Fallo tell what happened.
    if (cerrado_) {
        return;
    }
    pendientes_.push_back(std::move(paginas));
    cambio_.notify_all();
}

bool PinturaDePaginas::Termina() {
    if (hilo_.joinable()) {
        cierra(false);
        return terminado_;
    }
    terminado_ = pintor_.end();
    return terminado_;
}

void PinturaDePaginas::pintaAqui(const QVector<PaginaMaquetada>& paginas) {
    for (const PaginaMaquetada& pagina : paginas) {
        if (!std::exchange(primera_, false)) {
            pdf_.newPage();
        }
        Pintor::Pinta(pintor_, pagina, pdf_.resolution() / 25.4);
    }
}

void PinturaDePaginas::cierra(bool descartaPendientes) {
    {
        const std::lock_guard<std::mutex> candado(candado_);
        if (descartaPendientes) {
            pendientes_.clear();
        }
        cerrado_ = true;
    }
    cambio_.notify_all();
    if (hilo_.joinable()) {
        hilo_.join();
    }
}

// The painter is ended on this thread too: the fonts the PDF embeds at its end are this
// thread's, and go with it.
void PinturaDePaginas::trabaja() {
    try {
        for (;;) {
            QVector<PaginaMaquetada> paginas;
            {
                std::unique_lock<std::mutex> candado(candado_);
                cambio_.wait(candado, [this] { return !pendientes_.empty() || cerrado_; });
                if (pendientes_.empty()) {
                    break;
                }
                paginas = std::move(pendientes_.front());
                pendientes_.pop_front();
            }
            cambio_.notify_all();
            pintaAqui(paginas);
        }
    } catch (const std::exception& e) {
        {
            const std::lock_guard<std::mutex> candado(candado_);
            fallo_ = QString::fromLocal8Bit(e.what());
            pendientes_.clear();
            cerrado_ = true;
        }
        cambio_.notify_all();
    }
    terminado_ = pintor_.end() && fallo_.isEmpty();
}
