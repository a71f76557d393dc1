#include "trabajos/exportacion/EscritorDeLibro.h"

#include <QStringList>

namespace {

// At least two decimals, and every one the amount has.
QString cifra(const Importe& importe) {
    QString texto = importe.TextoSql();
    const qsizetype punto = texto.indexOf(QLatin1Char('.'));
    if (punto < 0) {
        return texto + QStringLiteral(".00");
    }
    return texto.leftJustified(punto + 3, QLatin1Char('0'));
}

// A text in quotes when it holds a comma, a quote or a line break. One that a spreadsheet would
// take for a formula (=, +, -, @ first) is kept a text by a leading apostrophe.
QString campo(QString texto) {
    if (!texto.isEmpty() && QStringLiteral("=+-@\t\r").contains(texto.front())) {
        texto.prepend(QLatin1Char('\''));
    }
    if (texto.contains(QLatin1Char(',')) || texto.contains(QLatin1Char('"')) ||
        texto.contains(QLatin1Char('\n')) || texto.contains(QLatin1Char('\r'))) {
        texto = QLatin1Char('"') + texto.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                QLatin1Char('"');
    }
    return texto;
}

QString valor(const HojaDeCalculo::Valor& v) {
    if (const auto* texto = std::get_if<QString>(&v)) {
        return campo(*texto);
    }
    if (const auto* importe = std::get_if<Importe>(&v)) {
        return cifra(*importe);
    }
    if (const auto* fecha = std::get_if<QDate>(&v)) {
        // The one date form every spreadsheet reads as a date, whatever its language.
        return fecha->toString(Qt::ISODate);
    }
    return HojaDeCalculo::Texto(v, HojaDeCalculo::Tipo::Texto);
}

QString renglon(const HojaDeCalculo::Fila& fila) {
    QStringList campos;
    for (const HojaDeCalculo::Valor& v : fila) {
        campos << valor(v);
    }
    return campos.join(QLatin1Char(','));
}

} // namespace

QByteArray EscritorDeLibro::Csv(const LibroDeCalculo& libro) {
    QStringList lineas;
    for (const HojaDeCalculo& hoja : libro) {
        if (libro.size() > 1) {
            if (!lineas.isEmpty()) {
                lineas << QString();
            }
            lineas << campo(hoja.nombre);
        }
        QStringList encabezados;
        for (const HojaDeCalculo::Columna& c : hoja.columnas) {
            encabezados << campo(c.encabezado);
        }
        lineas << encabezados.join(QLatin1Char(','));
        for (const auto& filas : {hoja.filas, hoja.totales}) {
            for (const HojaDeCalculo::Fila& fila : filas) {
                lineas << renglon(fila);
            }
        }
    }
    return QByteArray("\xEF\xBB\xBF") +
           (lineas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}
