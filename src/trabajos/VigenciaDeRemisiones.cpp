#include "trabajos/VigenciaDeRemisiones.h"

#include "orvlib/Conexion.h"
#include "servicios/Rechazo.h"

#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {

// Lists of notes named in a message stop after this many.
constexpr int kNombradas = 10;

} // namespace

QHash<QString, VigenciaDeRemisiones::Nota> VigenciaDeRemisiones::leeNotas(Conexion& cnn) const {
    QSqlQuery q = cnn.consulta(
        QStringLiteral("SELECT r.Id, r.Serie, r.Factura, r.Cancelada, r.Facturada, r.Subtotal, "
                       "r.IVA, r.ImpuestoAd FROM remisiones r JOIN ") +
        tabla_ + QStringLiteral(" t ON t.Id=r.Id"));
    QHash<QString, Nota> notas;
    while (q.next()) {
        const QString serie = q.value(1).toString().trimmed();
        Nota n;
        n.folio = (serie.isEmpty() ? QString() : serie + QLatin1Char(' ')) + q.value(2).toString();
        n.cancelada = q.value(3).toString();
        n.facturada = q.value(4).toString();
        n.importes = q.value(5).toString() + QLatin1Char('|') + q.value(6).toString() +
                     QLatin1Char('|') + q.value(7).toString();
        notas.insert(q.value(0).toString(), n);
    }
    return notas;
}

void VigenciaDeRemisiones::Lee(Conexion& cnn, const QString& tablaDeTrabajo) {
    tabla_ = tablaDeTrabajo;
    leidas_ = leeNotas(cnn);
}

void VigenciaDeRemisiones::Olvida() {
    tabla_.clear();
    leidas_.clear();
}

QStringList VigenciaDeRemisiones::Cambios(Conexion& cnn) const {
    if (tabla_.isEmpty()) {
        return {};
    }
    const QHash<QString, Nota> ahora = leeNotas(cnn);
    QStringList cambios;
    for (auto l = leidas_.cbegin(); l != leidas_.cend(); ++l) {
        const auto a = ahora.constFind(l.key());
        const Nota& antes = l.value();
        QString que;
        if (a == ahora.cend()) {
            que = QStringLiteral("ya no existe");
        } else if (a->cancelada != antes.cancelada) {
            que = QStringLiteral("cancelada");
        } else if (a->facturada != antes.facturada) {
            que = QStringLiteral("facturada");
        } else if (a->importes != antes.importes || a->folio != antes.folio) {
            que = QStringLiteral("cambió");
        }
        if (!que.isEmpty()) {
            cambios << antes.folio + QStringLiteral(" (") + que + QLatin1Char(')');
        }
    }
    std::sort(cambios.begin(), cambios.end());
    return cambios;
}

void VigenciaDeRemisiones::Verifica(Conexion& cnn, const QString& quehacer) const {
    QStringList cambios = Cambios(cnn);
    if (cambios.isEmpty()) {
        return;
    }
    const qsizetype total = cambios.size();
    if (total > kNombradas) {
        cambios = cambios.mid(0, kNombradas);
        cambios << QStringLiteral("y %1 más").arg(total - kNombradas);
    }
    const QString cuantas =
        total == 1 ? QStringLiteral("una de las remisiones elegidas cambió")
                   : QStringLiteral("%1 de las remisiones elegidas cambiaron").arg(total);
    throw Rechazo(QStringLiteral("No se hizo nada: desde que se eligieron, %1 en otra estación: "
                                 "%2.\r\n\r\nPara trabajar con lo que hay ahora, %3.")
                      .arg(cuantas, cambios.join(QStringLiteral(", ")), quehacer));
}
