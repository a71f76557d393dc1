#include "impresion/SeguimientoDeNotas.h"

#include "orvlib/ArchivoIni.h"
#include "reporteador/ColaDeCups.h"
#include "servicios/Proceso.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSet>
#include <QThread>

namespace {

// A file's times come from a coarser clock than the one the ledger reads.
constexpr qint64 kHolguraMs = 1000;
constexpr int kPausaMs = 250;

// A note handed to a printer's queue (its destination a queue's name, not a file's path) whose
// outcome is still to be learnt.
bool enUnaCola(const NotaDelLibro& n) {
    return (n.estado == EstadoDeNota::EnCola || n.estado == EstadoDeNota::Enviada) &&
           !n.destino.isEmpty() && !QFileInfo(n.destino).isAbsolute();
}

// A note sent to a PDF file is printed when the file is there, written after the note was sent,
// and is not the file that was there when it was sent (one put there just before the run).
void actualizaArchivo(NotaDelLibro& n) {
    const QFileInfo archivo(n.destino);
    const bool escrito = archivo.exists() &&
                         archivo.lastModified().toMSecsSinceEpoch() >= n.enviada - kHolguraMs &&
                         SeguimientoDeNotas::HuellaDeArchivo(n.destino) != n.previo;
    n.estado = escrito ? EstadoDeNota::Impresa : EstadoDeNota::Pendiente;
}

// A queued note's state from its job's: CUPS purges only finished jobs, so a job it no longer
// lists has ended, and the note is not sent again.
void ponEstadoDelTrabajo(NotaDelLibro& n, int estado) {
    if (estado == 0 || ColaDeCups::Impreso(estado)) {
        n.estado = EstadoDeNota::Impresa;
    } else if (ColaDeCups::Fallido(estado)) {
        n.estado = EstadoDeNota::Fallida;
        n.causa = ColaDeCups::Causa(n.trabajoCups, estado);
    } else {
        n.estado = EstadoDeNota::EnCola;
    }
}

} // namespace

QString SeguimientoDeNotas::HuellaDeArchivo(const QString& ruta) {
    const QFileInfo archivo(ruta);
    if (!archivo.exists()) {
        return {};
    }
    return QStringLiteral("%1 %2")
        .arg(archivo.lastModified().toMSecsSinceEpoch())
        .arg(archivo.size());
}

SeguimientoDeNotas::SeguimientoDeNotas(LibroDeImpresion& libro, CorridaDelLibro& corrida)
    : libro_(libro)
    , corrida_(corrida) {}

int SeguimientoDeNotas::SegundosDeEspera() {
    const QString valor =
        ArchivoIni(Proceso::actual().stArchivoIni)
            .lee(QStringLiteral("Configuración"), QStringLiteral("Espera de la impresora"));
    bool ok = false;
    const int segundos = valor.trimmed().toInt(&ok);
    return ok && segundos >= 0 ? segundos : 60;
}

bool SeguimientoDeNotas::actualizaCola(const QString& cola, QVector<NotaDelLibro>& cambios) {
    if (!ColaDeCups::ServicioResponde()) {
        return false;
    }
    const QHash<int, int> estados = ColaDeCups::EstadosDeTrabajos(cola);
    bool esperan = false;
    for (NotaDelLibro& n : corrida_.notas) {
        if (!enUnaCola(n) || n.destino != cola) {
            continue;
        }
        const NotaDelLibro antes = n;
        if (n.trabajoCups == 0) {
            n.trabajoCups = ColaDeCups::TrabajoTitulado(cola, n.documento, n.enviada / 1000 - 1);
        }
        if (n.trabajoCups == 0) {
            // Its document never became a job of the queue.
            n.estado = EstadoDeNota::Pendiente;
        } else {
            ponEstadoDelTrabajo(n, estados.value(n.trabajoCups));
        }
        esperan = esperan || n.estado == EstadoDeNota::EnCola;
        if (n.estado != antes.estado || n.trabajoCups != antes.trabajoCups) {
            cambios << n;
        }
    }
    return !esperan;
}

bool SeguimientoDeNotas::Actualiza() {
    QVector<NotaDelLibro> cambios;
    for (NotaDelLibro& n : corrida_.notas) {
        if (n.estado == EstadoDeNota::Enviada && QFileInfo(n.destino).isAbsolute()) {
            actualizaArchivo(n);
            cambios << n;
        }
    }
    bool ninguna = true;
    for (const QString& cola : colasConNotas()) {
        ninguna = actualizaCola(cola, cambios) && ninguna;
    }
    if (!cambios.isEmpty()) {
        libro_.Anota(corrida_.id, cambios);
    }
    return ninguna;
}

QSet<QString> SeguimientoDeNotas::colasConNotas() const {
    QSet<QString> colas;
    for (const NotaDelLibro& n : corrida_.notas) {
        if (enUnaCola(n)) {
            colas.insert(n.destino);
        }
    }
    return colas;
}

QString SeguimientoDeNotas::estorbo() const {
    QStringList razones;
    for (const QString& cola : colasConNotas()) {
        razones << ColaDeCups::Espera(cola);
    }
    razones.removeAll(QString());
    return razones.join(QStringLiteral("; "));
}

QString SeguimientoDeNotas::PorQueEsperan() const {
    const QString razon = estorbo();
    if (!razon.isEmpty()) {
        return razon;
    }
    QStringList colas = colasConNotas().values();
    colas.sort();
    return QStringLiteral("la impresora «%1» aún no las imprime")
        .arg(colas.join(QStringLiteral("», «")));
}

void SeguimientoDeNotas::Sigue(int segundos, const std::function<bool(int)>& sigue) {
    const QDeadlineTimer limite(std::chrono::seconds{segundos});
    while (!Actualiza()) {
        // A queue that is stopped, refuses jobs or is gone prints nothing while the run waits.
        if (limite.hasExpired() || !estorbo().isEmpty() ||
            (sigue && !sigue(corrida_.Cuenta(EstadoDeNota::EnCola)))) {
            return;
        }
        QThread::msleep(kPausaMs);
    }
}
