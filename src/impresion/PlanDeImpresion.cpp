#include "impresion/PlanDeImpresion.h"

#include "impresion/SeguimientoDeNotas.h"
#include "orvlib/Conexion.h"
#include "servicios/Rechazo.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

QVector<QPair<qint32, QString>> copiasDe(Conexion& cnn) {
    QVector<QPair<qint32, QString>> copias;
    QSqlQuery q =
        cnn.consulta(QStringLiteral("SELECT Serie, Factura, Id FROM tmpremisiones ORDER BY Id"));
    while (q.next()) {
        copias.append(
            {q.value(2).toInt(),
             (q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString()).trimmed()});
    }
    return copias;
}

QString remisiones(int n) {
    return n == 1 ? QStringLiteral("1 remisión") : QStringLiteral("%1 remisiones").arg(n);
}

bool sinImprimir(const NotaDelLibro& n) {
    return n.estado == EstadoDeNota::Pendiente || n.estado == EstadoDeNota::Fallida;
}

} // namespace

// The server's checksum of each working table's rows, whatever their order.
QString PlanDeImpresion::Huella(Conexion& cnn) {
    QSqlQuery sumas =
        cnn.consulta(QStringLiteral("CHECKSUM TABLE tmpremisiones, tmpremisionesdetalle"));
    QStringList huella;
    while (sumas.next()) {
        huella << sumas.value(1).toString();
    }
    return huella.join(QLatin1Char('-'));
}

PlanDeImpresion::PlanDeImpresion(Clase clase, CorridaDelLibro corrida, int desde)
    : clase_(clase)
    , corrida_(std::move(corrida)) {
    for (const NotaDelLibro& n : corrida_.notas) {
        if (n.numero >= desde && (clase_ != Clase::Continuacion || sinImprimir(n))) {
            numeros_ << n.numero;
        }
    }
}

PlanDeImpresion PlanDeImpresion::Nueva(Conexion& cnn, const QString& trabajo,
                                       const QString& parametros) {
    CorridaDelLibro corrida{0, trabajo, parametros, Huella(cnn), {}};
    const QVector<QPair<qint32, QString>> copias = copiasDe(cnn);
    for (qsizetype i = 0; i < copias.size(); ++i) {
        NotaDelLibro n;
        n.numero = static_cast<int>(i) + 1;
        n.id = copias[i].first;
        n.folio = copias[i].second;
        corrida.notas << n;
    }
    return PlanDeImpresion(Clase::Nueva, corrida, 1);
}

std::optional<CorridaDelLibro> PlanDeImpresion::Ultima(LibroDeImpresion& libro,
                                                       const QString& trabajo) {
    std::optional<CorridaDelLibro> corrida = libro.Ultima(trabajo);
    if (corrida) {
        SeguimientoDeNotas(libro, *corrida).Actualiza();
    }
    return corrida;
}

CorridaDelLibro PlanDeImpresion::verificada(LibroDeImpresion& libro, Conexion& cnn,
                                            const QString& trabajo) {
    std::optional<CorridaDelLibro> corrida = Ultima(libro, trabajo);
    if (!corrida) {
        throw Rechazo(QStringLiteral("Este trabajo no tiene una impresión anterior que continuar o "
                                     "reimprimir: imprima sus remisiones desde el principio."));
    }
    if (Huella(cnn) != corrida->huella) {
        throw Rechazo(QStringLiteral(
            "No se puede seguir con la impresión anterior de este trabajo: las remisiones de "
            "trabajo ya no son las que se imprimían (el trabajo se volvió a aplicar, aquí o en "
            "otra estación, o las remisiones cambiaron). Imprima de nuevo desde el principio."));
    }
    return *corrida;
}

PlanDeImpresion PlanDeImpresion::Continuacion(LibroDeImpresion& libro, Conexion& cnn,
                                              const QString& trabajo) {
    CorridaDelLibro corrida = verificada(libro, cnn, trabajo);
    const NotaDelLibro* primera = corrida.PrimeraSinImprimir();
    if (primera == nullptr) {
        const int enCola = corrida.Cuenta(EstadoDeNota::EnCola);
        throw Rechazo(
            QStringLiteral("No hay remisiones que continuar: de las %1 de la última impresión de "
                           "este trabajo se imprimieron %2%3. Para imprimir otra vez alguna, "
                           "reimprima desde ella.")
                .arg(corrida.notas.size())
                .arg(corrida.Cuenta(EstadoDeNota::Impresa))
                .arg(enCola > 0
                         ? QStringLiteral(" y %1 esperan en la cola de la impresora").arg(enCola)
                         : QString()));
    }
    const int desde = primera->numero;
    return PlanDeImpresion(Clase::Continuacion, std::move(corrida), desde);
}

PlanDeImpresion PlanDeImpresion::Reimpresion(LibroDeImpresion& libro, Conexion& cnn,
                                             const QString& trabajo, const QString& folio) {
    CorridaDelLibro corrida = verificada(libro, cnn, trabajo);
    const NotaDelLibro* nota = corrida.ConFolio(folio);
    if (nota == nullptr) {
        throw Rechazo(QStringLiteral("La remisión con folio %1 no está entre las %2 de la última "
                                     "impresión de este trabajo (folios %3 a %4).")
                          .arg(folio.simplified())
                          .arg(corrida.notas.size())
                          .arg(corrida.notas.first().folio, corrida.notas.last().folio));
    }
    const int desde = nota->numero;
    return PlanDeImpresion(Clase::Reimpresion, std::move(corrida), desde);
}

void PlanDeImpresion::Inicia(LibroDeImpresion& libro) {
    if (clase_ == Clase::Nueva && corrida_.id == 0) {
        corrida_ = libro.Abre(corrida_);
    }
}

int PlanDeImpresion::Omitidas() const {
    const int primera = numeros_.isEmpty() ? 0 : numeros_.first();
    return static_cast<int>(std::count_if(
        corrida_.notas.begin(), corrida_.notas.end(),
        [primera](const NotaDelLibro& n) { return n.numero < primera && sinImprimir(n); }));
}

// "desde la remisión 2 de 3 (folio A 1501) hasta la 3 (folio A 1502)".
QString PlanDeImpresion::tramo() const {
    const NotaDelLibro& primera = corrida_.notas[numeros_.first() - 1];
    const NotaDelLibro& ultima = corrida_.notas[numeros_.last() - 1];
    return QStringLiteral("desde la remisión %1 de %2 (folio %3) hasta la %4 (folio %5)")
        .arg(primera.numero)
        .arg(corrida_.notas.size())
        .arg(primera.folio)
        .arg(ultima.numero)
        .arg(ultima.folio);
}

QString PlanDeImpresion::Pregunta() const {
    const int cuantas = static_cast<int>(numeros_.size());
    const QString texto = PreguntaBase() + QStringLiteral("\r\n\r\n");
    if (cuantas == 0) {
        return texto + QStringLiteral("No hay remisiones que imprimir.");
    }
    if (clase_ == Clase::Nueva) {
        return texto +
               (cuantas == 1
                    ? QStringLiteral("Es 1 remisión, la %1.").arg(corrida_.notas.first().folio)
                    : QStringLiteral("Son %1 remisiones, de la %2 a la %3.")
                          .arg(cuantas)
                          .arg(corrida_.notas.first().folio, corrida_.notas.last().folio));
    }
    if (clase_ == Clase::Continuacion) {
        return texto + continuacion();
    }
    return texto + reimpresion();
}

// "Se imprimirán las 2 remisiones que faltan, desde …; 1 ya se imprimió y 3 esperan en la cola
// de la impresora, donde siguen."
QString PlanDeImpresion::continuacion() const {
    const int cuantas = static_cast<int>(numeros_.size());
    QString texto = cuantas == 1
                        ? QStringLiteral("Se imprimirá la remisión que falta, %1; ").arg(tramo())
                        : QStringLiteral("Se imprimirán las %1 remisiones que faltan, %2; ")
                              .arg(cuantas)
                              .arg(tramo());
    const int impresas = corrida_.Cuenta(EstadoDeNota::Impresa);
    texto += impresas == 0   ? QStringLiteral("ninguna se ha impreso")
             : impresas == 1 ? QStringLiteral("1 ya se imprimió")
                             : QStringLiteral("%1 ya se imprimieron").arg(impresas);
    const int esperan =
        corrida_.Cuenta(EstadoDeNota::EnCola) + corrida_.Cuenta(EstadoDeNota::Enviada);
    if (esperan > 0) {
        texto += QStringLiteral(" y %1 en la cola de la impresora, donde siguen").arg(esperan);
    }
    return texto + QLatin1Char('.');
}

// "Se imprimirán 2 remisiones, desde …; 2 ya se habían impreso." and what is left out.
QString PlanDeImpresion::reimpresion() const {
    const int cuantas = static_cast<int>(numeros_.size());
    int impresas = 0;
    int enCola = 0;
    for (int numero : numeros_) {
        const EstadoDeNota e = corrida_.notas[numero - 1].estado;
        impresas += e == EstadoDeNota::Impresa ? 1 : 0;
        enCola += e == EstadoDeNota::EnCola || e == EstadoDeNota::Enviada ? 1 : 0;
    }
    QString texto =
        (cuantas == 1
             ? QStringLiteral("Se imprimirá 1 remisión, %1; ").arg(tramo())
             : QStringLiteral("Se imprimirán %1 remisiones, %2; ").arg(cuantas).arg(tramo()));
    texto += impresas == 0   ? QStringLiteral("ninguna se había impreso")
             : impresas == 1 ? QStringLiteral("1 ya se había impreso")
                             : QStringLiteral("%1 ya se habían impreso").arg(impresas);
    if (enCola > 0) {
        texto += QStringLiteral(" y %1 esperan en la cola de la impresora").arg(enCola);
    }
    texto += QLatin1Char('.');
    if (const int omitidas = Omitidas(); omitidas > 0) {
        texto += QStringLiteral("\r\n\r\nAtención: %1 anteriores nunca se imprimieron y con esto "
                                "quedan sin imprimir.")
                     .arg(remisiones(omitidas));
    }
    return texto;
}

QString PlanDeImpresion::ParaLaBitacora() const {
    if (clase_ == Clase::Nueva || numeros_.isEmpty()) {
        return corrida_.parametros;
    }
    return corrida_.parametros + QStringLiteral("; ") +
           (clase_ == Clase::Continuacion ? QStringLiteral("continúa ")
                                          : QStringLiteral("reimprime ")) +
           tramo();
}
