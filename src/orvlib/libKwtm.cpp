#include "orvlib/libKwtm.h"

#include "orvlib/ArchivoIni.h"

QString libKwtm::LeeIni(const QString& seccion, const QString& clave, const QString& archivo) {
    return ArchivoIni(archivo).lee(seccion, clave);
}

void libKwtm::EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                         const QString& archivo) {
    ArchivoIni(archivo).escribe(seccion, clave, valor);
}

double libKwtm::kwVal(const QString& texto) {
    QString t = texto.trimmed();
    t.remove(QLatin1Char(',')).remove(QLatin1Char('$')).remove(QLatin1Char(' '));
    if (t.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const double valor = t.toDouble(&ok);
    return ok ? valor : 0;
}

QString libKwtm::FechaSQL(const QDate& fecha) {
    return fecha.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate libKwtm::LeeFecha(const QString& texto) {
    return QDate::fromString(texto.trimmed(), FormatoFecha());
}

QString libKwtm::TextoDeFecha(const QDate& fecha) {
    return fecha.toString(FormatoFecha());
}

QString libKwtm::Pad(const QString& valor, int ancho, const QString& relleno, int lado) {
    const QChar c = relleno.isEmpty() ? QLatin1Char(' ') : relleno.front();
    if (valor.size() >= ancho) {
        return valor;
    }
    const qsizetype falta = ancho - valor.size();
    switch (lado) {
    case 2:
        return QString(falta, c) + valor;
    case 1:
        return QString(falta / 2, c) + valor + QString(falta - falta / 2, c);
    default:
        return valor + QString(falta, c);
    }
}
