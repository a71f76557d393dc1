#include "reporteador/ColaDeCups.h"

#include <QStringList>
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

// Why a job ended as it did: its state reasons and the printer's message, as CUPS keeps them.
QString razonesDelTrabajo(int id) {
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
    return razones.join(QStringLiteral(", "));
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

QString ColaDeCups::Rechazo(const QString& titulo) const {
    // The status of the request Qt's printing made last, in this thread: the document's.
    const ipp_status_t estado = cupsLastError();
    if (estado >= IPP_STATUS_REDIRECTION_OTHER_SITE) {
        QString texto = QStringLiteral("La cola «%1» de CUPS no tomó el documento: %2 (%3).")
                            .arg(cola_, QString::fromUtf8(cupsLastErrorString()),
                                 QString::fromUtf8(ippErrorString(estado)));
        if (estado == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS) {
            texto += QStringLiteral(" La cola rechaza trabajos; para que los acepte: sudo "
                                    "cupsaccept %1")
                         .arg(cola_);
        }
        return texto;
    }
    const cups_job_t* trabajo = nullptr;
    const TrabajosPropios trabajos(cola_.toUtf8());
    for (const cups_job_t& t : trabajos) {
        const bool delDocumento = t.id > ultimoAntes_ && t.creation_time >= enviado_ &&
                                  titulo == QString::fromUtf8(t.title);
        if (delDocumento && (trabajo == nullptr || t.id > trabajo->id)) {
            trabajo = &t;
        }
    }
    if (trabajo == nullptr) {
        return QStringLiteral("La cola «%1» de CUPS no tiene el trabajo del documento «%2»: no se "
                              "sabe si se imprimió (%3).")
            .arg(cola_, titulo, QString::fromUtf8(cupsLastErrorString()));
    }
    if (Aceptado(trabajo->state)) {
        return {};
    }
    const QString razones = razonesDelTrabajo(trabajo->id);
    return QStringLiteral("CUPS dejó el documento en la cola «%1» como %2 (trabajo %3%4): no se "
                          "imprimió.")
        .arg(cola_, NombreDelEstado(trabajo->state))
        .arg(trabajo->id)
        .arg(razones.isEmpty() ? QString() : QStringLiteral(", ") + razones);
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
