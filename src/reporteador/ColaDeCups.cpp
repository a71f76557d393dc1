#include "reporteador/ColaDeCups.h"

#include <QStringList>
#include <algorithm>
#include <ctime>
#include <cups/cups.h>

namespace {

// This account's jobs on the queue, all of them, finished or not; freed on leaving.
class TrabajosPropios {
public:
    explicit TrabajosPropios(const QByteArray& cola)
        : cuenta_(cupsGetJobs2(CUPS_HTTP_DEFAULT, &trabajos_, cola.constData(), 1,
                               CUPS_WHICHJOBS_ALL)) {}
    ~TrabajosPropios() { cupsFreeJobs(cuenta_, trabajos_); }
    TrabajosPropios(const TrabajosPropios&) = delete;
    TrabajosPropios& operator=(const TrabajosPropios&) = delete;

    const cups_job_t* begin() const { return trabajos_; }
    const cups_job_t* end() const { return trabajos_ + (cuenta_ > 0 ? cuenta_ : 0); }

private:
    cups_job_t* trabajos_ = nullptr;
    int cuenta_ = 0;
};

// What CUPS keeps of why a job stands as it does: its state reasons and the printer's message.
QStringList razonesDelTrabajo(int id) {
    ipp_t* pedido = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(id);
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(pedido, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ipp_t* respuesta = cupsDoRequest(CUPS_HTTP_DEFAULT, pedido, "/");
    QStringList razones;
    if (respuesta != nullptr) {
        if (ipp_attribute_t* a =
                ippFindAttribute(respuesta, "job-state-reasons", IPP_TAG_KEYWORD)) {
            for (int i = 0; i < ippGetCount(a); ++i) {
                razones << QString::fromUtf8(ippGetString(a, i, nullptr));
            }
        }
        if (ipp_attribute_t* a =
                ippFindAttribute(respuesta, "job-printer-state-message", IPP_TAG_TEXT)) {
            razones << QString::fromUtf8(ippGetString(a, 0, nullptr));
        }
        ippDelete(respuesta);
    }
    razones.removeAll(QString());
    razones.removeAll(QStringLiteral("none"));
    return razones;
}

// CUPS's reasons in Spanish, those the program knows; the others are given as CUPS says them.
QString enEspanol(const QString& razon) {
    static const QHash<QString, QString> conocidas = {
        {QStringLiteral("job-canceled-by-user"), QStringLiteral("lo canceló un usuario")},
        {QStringLiteral("job-canceled-by-operator"),
         QStringLiteral("lo canceló quien administra la impresora")},
        {QStringLiteral("job-canceled-at-device"), QStringLiteral("se canceló en la impresora")},
        {QStringLiteral("aborted-by-system"), QStringLiteral("el sistema de impresión lo abortó")},
        {QStringLiteral("job-completed-with-errors"), QStringLiteral("terminó con errores")},
        {QStringLiteral("document-format-error"),
         QStringLiteral("la impresora no toma el formato del documento")},
        {QStringLiteral("document-unprintable-error"),
         QStringLiteral("la impresora no puede imprimir el documento")},
        {QStringLiteral("job-stopped"), QStringLiteral("se detuvo")},
        {QStringLiteral("processing-to-stop-point"), QStringLiteral("se detenía")},
        {QStringLiteral("printer-stopped"), QStringLiteral("la impresora se detuvo")},
        {QStringLiteral("Filter failed"),
         QStringLiteral("falló el filtro que prepara el documento para la impresora")},
    };
    return conocidas.value(razon);
}

} // namespace

ColaDeCups::ColaDeCups(const QString& cola)
    : cola_(cola)
    // A second's margin: CUPS stamps its jobs to the second.
    , enviado_(std::time(nullptr) - 1) {
    for (const cups_job_t& t : TrabajosPropios(cola_.toUtf8())) {
        ultimoAntes_ = std::max(ultimoAntes_, t.id);
    }
}

ColaDeCups::Entrega ColaDeCups::Entregado(const QString& titulo) const {
    Entrega entrega;
    // The status of the request Qt's printing made last, in this thread: the document's.
    const ipp_status_t estado = cupsLastError();
    if (estado >= IPP_STATUS_REDIRECTION_OTHER_SITE) {
        entrega.rechazo = QStringLiteral("La cola «%1» de CUPS no tomó el documento: %2 (%3).")
                              .arg(cola_, QString::fromUtf8(cupsLastErrorString()),
                                   QString::fromUtf8(ippErrorString(estado)));
        if (estado == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
            entrega.rechazo +=
                QStringLiteral(" La cola rechaza trabajos; para que los acepte: sudo "
                               "cupsaccept %1")
                    .arg(cola_);
        }
        return entrega;
    }
    // Only a job made after the document was sent is its: an earlier one of the same title is
    // another print of the same note.
    for (const cups_job_t& t : TrabajosPropios(cola_.toUtf8())) {
        const bool delDocumento = t.id > ultimoAntes_ && t.creation_time >= enviado_ &&
                                  titulo == QString::fromUtf8(t.title);
        if (delDocumento && t.id > entrega.trabajo) {
            entrega.trabajo = t.id;
            entrega.estado = t.state;
        }
    }
    if (entrega.trabajo == 0) {
        entrega.rechazo =
            QStringLiteral("La cola «%1» de CUPS no tiene el trabajo del documento «%2»: no se "
                           "sabe si se imprimió (%3).")
                .arg(cola_, titulo, QString::fromUtf8(cupsLastErrorString()));
    } else if (!Aceptado(entrega.estado)) {
        entrega.rechazo = QStringLiteral("La cola «%1» no imprimió el documento: %2.")
                              .arg(cola_, Causa(entrega.trabajo, entrega.estado));
    }
    return entrega;
}

bool ColaDeCups::Aceptado(int estadoIpp) {
    switch (estadoIpp) {
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_HELD:
    case IPP_JSTATE_PROCESSING:
    case IPP_JSTATE_COMPLETED:
        return true;
    default:
        return false;
    }
}

bool ColaDeCups::Impreso(int estadoIpp) {
    return estadoIpp == IPP_JSTATE_COMPLETED;
}

bool ColaDeCups::Fallido(int estadoIpp) {
    return estadoIpp == IPP_JSTATE_STOPPED || estadoIpp == IPP_JSTATE_CANCELED ||
           estadoIpp == IPP_JSTATE_ABORTED;
}

QHash<int, int> ColaDeCups::EstadosDeTrabajos(const QString& cola) {
    QHash<int, int> estados;
    for (const cups_job_t& t : TrabajosPropios(cola.toUtf8())) {
        estados.insert(t.id, t.state);
    }
    return estados;
}

int ColaDeCups::TrabajoTitulado(const QString& cola, const QString& titulo, qint64 desde) {
    int trabajo = 0;
    for (const cups_job_t& t : TrabajosPropios(cola.toUtf8())) {
        if (t.creation_time >= desde && titulo == QString::fromUtf8(t.title)) {
            trabajo = std::max(trabajo, t.id);
        }
    }
    return trabajo;
}

QString ColaDeCups::Causa(int trabajo, int estadoIpp) {
    const QStringList razones = razonesDelTrabajo(trabajo);
    QStringList dichas;
    for (const QString& r : razones) {
        dichas << enEspanol(r);
    }
    dichas.removeAll(QString());
    QString texto = QStringLiteral("CUPS dejó su trabajo %1 como %2")
                        .arg(trabajo)
                        .arg(NombreDelEstado(estadoIpp));
    if (!dichas.isEmpty()) {
        texto += QStringLiteral(": ") + dichas.join(QStringLiteral("; "));
    }
    if (!razones.isEmpty()) {
        texto += QStringLiteral(" (") + razones.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return texto;
}

QString ColaDeCups::Espera(const QString& cola) {
    const Estado e = EstadoDe(cola);
    if (!e.servicio) {
        return QStringLiteral("el servicio de impresión (CUPS) no responde");
    }
    if (!e.existe) {
        return QStringLiteral("la impresora «%1» ya no está instalada").arg(cola);
    }
    if (e.detenida) {
        return QStringLiteral("la impresora «%1» está detenida; para que siga: sudo cupsenable %1")
            .arg(cola);
    }
    if (!e.aceptaTrabajos) {
        return QStringLiteral("la impresora «%1» no acepta trabajos; para que los acepte: sudo "
                              "cupsaccept %1")
            .arg(cola);
    }
    return {};
}

QString ColaDeCups::NombreDelEstado(int estadoIpp) {
    switch (estadoIpp) {
    case IPP_JSTATE_PENDING:
        return QStringLiteral("pendiente");
    case IPP_JSTATE_HELD:
        return QStringLiteral("retenido");
    case IPP_JSTATE_PROCESSING:
        return QStringLiteral("imprimiéndose");
    case IPP_JSTATE_STOPPED:
        return QStringLiteral("detenido");
    case IPP_JSTATE_CANCELED:
        return QStringLiteral("cancelado");
    case IPP_JSTATE_ABORTED:
        return QStringLiteral("abortado");
    case IPP_JSTATE_COMPLETED:
        return QStringLiteral("terminado");
    default:
        return QStringLiteral("en estado %1").arg(estadoIpp);
    }
}

QString ColaDeCups::Servidor() {
    return QString::fromUtf8(cupsServer());
}

bool ColaDeCups::ServicioResponde() {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (http == nullptr) {
        return false;
    }
    httpClose(http);
    return true;
}

ColaDeCups::Estado ColaDeCups::EstadoDe(const QString& cola) {
    Estado e;
    e.servicio = ServicioResponde();
    if (!e.servicio) {
        return e;
    }
    cups_dest_t* destino = cupsGetNamedDest(CUPS_HTTP_DEFAULT, cola.toUtf8().constData(), nullptr);
    if (destino == nullptr) {
        return e;
    }
    e.existe = true;
    const auto opcion = [destino](const char* nombre) {
        return QString::fromUtf8(cupsGetOption(nombre, destino->num_options, destino->options));
    };
    e.aceptaTrabajos = opcion("printer-is-accepting-jobs") != QLatin1String("false");
    e.detenida = opcion("printer-state").toInt() == IPP_PSTATE_STOPPED;
    e.mensaje = opcion("printer-state-message");
    cupsFreeDests(1, destino);
    return e;
}
