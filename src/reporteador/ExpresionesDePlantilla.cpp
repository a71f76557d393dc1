#include "reporteador/ExpresionesDePlantilla.h"

namespace ExpresionesDePlantilla {

const QRegularExpression& Campo() {
    static const QRegularExpression patron(
        QStringLiteral("\\{\\s*(@?[A-Za-z_][\\w]*)(?:\\.([A-Za-z_][\\w]*))?\\s*\\}"));
    return patron;
}

const QRegularExpression& Cuenta() {
    static const QRegularExpression patron(QStringLiteral("\\{([^{}]*[-+*/][^{}]*)\\}"));
    return patron;
}

const QRegularExpression& Termino() {
    static const QRegularExpression patron(
        QStringLiteral("\\s*([-+*/])?\\s*(?:([A-Za-z_]\\w*)\\.([A-Za-z_]\\w*)|(\\d+(?:\\.\\d+)?)|"
                       "@([A-Za-z_]\\w*))\\s*"));
    return patron;
}

QString ConNumero(const QString& texto, int numero) {
    static const QRegularExpression llaves(QStringLiteral("\\{[^{}]*\\}"));
    const QString n = QString::number(numero);
    QString resultado;
    qsizetype desde = 0;
    for (QRegularExpressionMatchIterator it = llaves.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString dentro = m.captured(0);
        dentro = dentro == QLatin1String("{#}") ? n : dentro.replace(QLatin1Char('#'), n);
        resultado += texto.mid(desde, m.capturedStart() - desde) + dentro;
        desde = m.capturedEnd();
    }
    return resultado + texto.mid(desde);
}

namespace {

void terminos(const QString& cuenta, QVector<Referencia>& referencias) {
    qsizetype posicion = 0;
    while (posicion < cuenta.size()) {
        const QRegularExpressionMatch m =
            Termino().match(cuenta, posicion, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || m.capturedLength() == 0) {
            referencias.append(
                {Referencia::Tipo::Desconocida, {}, QLatin1Char('{') + cuenta + QLatin1Char('}')});
            return;
        }
        if (!m.captured(2).isEmpty()) {
            referencias.append({Referencia::Tipo::Campo, m.captured(2), m.captured(3)});
        } else if (!m.captured(5).isEmpty()) {
            referencias.append({Referencia::Tipo::Formula, {}, m.captured(5)});
        }
        posicion = m.capturedEnd();
    }
}

} // namespace

QVector<Referencia> Referencias(const QString& texto) {
    static const QRegularExpression llaves(QStringLiteral("\\{([^{}]*)\\}"));
    QVector<Referencia> referencias;
    for (QRegularExpressionMatchIterator it = llaves.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QRegularExpressionMatch campo = Campo().match(m.captured(0));
        if (Cuenta().match(m.captured(0)).hasMatch()) {
            terminos(m.captured(1), referencias);
        } else if (!campo.hasMatch() || campo.capturedLength() != m.capturedLength()) {
            referencias.append({Referencia::Tipo::Desconocida, {}, m.captured(0)});
        } else if (campo.captured(1).startsWith(QLatin1Char('@'))) {
            referencias.append({Referencia::Tipo::Formula, {}, campo.captured(1).mid(1)});
        } else if (!campo.captured(2).isEmpty()) {
            referencias.append({Referencia::Tipo::Campo, campo.captured(1), campo.captured(2)});
        } else {
            const bool pagina =
                campo.captured(1).compare(QLatin1String("Pagina"), Qt::CaseInsensitive) == 0 ||
                campo.captured(1).compare(QLatin1String("Paginas"), Qt::CaseInsensitive) == 0;
            referencias.append({pagina ? Referencia::Tipo::Pagina : Referencia::Tipo::Desconocida,
                                {},
                                m.captured(0)});
        }
    }
    return referencias;
}

QString UnePartes(const QString& texto, const QString& separador,
                  const std::function<QString(const QString&)>& resuelve) {
    QStringList conDatos;
    for (const QString& parte : texto.split(QLatin1Char('|'))) {
        const QString resuelta = resuelve(parte).simplified();
        QString palabras = parte;
        palabras.remove(Cuenta()).remove(Campo());
        const bool sinCampos = palabras == parte;
        if (!resuelta.isEmpty() && (sinCampos || resuelta != palabras.simplified())) {
            conDatos << resuelta;
        }
    }
    return conDatos.join(separador);
}

} // namespace ExpresionesDePlantilla
