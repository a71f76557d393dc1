#include "apoyo/LibroLeido.h"

#include <QDate>
#include <QHash>
#include <QProcess>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QByteArray miembro(const QString& ruta, const QString& nombre) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), ruta, nombre});
    EXPECT_TRUE(unzip.waitForFinished(30000)) << qPrintable(nombre);
    EXPECT_EQ(unzip.exitCode(), 0)
        << qPrintable(nombre + QString::fromUtf8(unzip.readAllStandardError()));
    return unzip.readAllStandardOutput();
}

QStringList textosCompartidos(const QByteArray& xml) {
    QStringList textos;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("si")) {
            textos << QString();
        } else if (r.isStartElement() && r.name() == QLatin1String("t")) {
            textos.last() += r.readElementText();
        }
    }
    return textos;
}

// The number format of each cell style, by the style's index.
QStringList formatosDeEstilo(const QByteArray& xml) {
    const QHash<int, QString> integrados = {{0, QStringLiteral("General")},
                                            {1, QStringLiteral("0")},
                                            {2, QStringLiteral("0.00")},
                                            {3, QStringLiteral("#,##0")},
                                            {4, QStringLiteral("#,##0.00")}};
    QHash<int, QString> propios;
    QStringList estilos;
    bool enCeldas = false;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == QLatin1String("numFmt")) {
            propios[r.attributes().value(QLatin1String("numFmtId")).toInt()] =
                r.attributes().value(QLatin1String("formatCode")).toString();
        } else if (r.name() == QLatin1String("cellXfs")) {
            enCeldas = r.isStartElement();
        } else if (enCeldas && r.isStartElement() && r.name() == QLatin1String("xf")) {
            const int id = r.attributes().value(QLatin1String("numFmtId")).toInt();
            estilos << propios.value(id, integrados.value(id, QString::number(id)));
        }
    }
    return estilos;
}

int columnaDe(QStringView referencia) {
    int columna = 0;
    for (QChar c : referencia) {
        if (!c.isLetter()) {
            break;
        }
        columna = columna * 26 + (c.unicode() - 'A' + 1);
    }
    return columna - 1;
}

void poneCelda(QVector<QStringList>& tabla, int fila, int columna, const QString& valor) {
    while (tabla.size() <= fila) {
        tabla.append(QStringList());
    }
    while (tabla[fila].size() <= columna) {
        tabla[fila].append(QString());
    }
    tabla[fila][columna] = valor;
}

HojaLeida leeHoja(const QByteArray& xml, const QStringList& textos, const QStringList& estilos) {
    HojaLeida hoja;
    QXmlStreamReader r(xml);
    int fila = -1;
    int columna = 0;
    QString tipo;
    QString estilo;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement()) {
            continue;
        }
        const QXmlStreamAttributes a = r.attributes();
        if (r.name() == QLatin1String("pane")) {
            hoja.primeraFilaFija = a.value(QLatin1String("state")) == QLatin1String("frozen") &&
                                   a.value(QLatin1String("ySplit")) == QLatin1String("1");
        } else if (r.name() == QLatin1String("col")) {
            for (int i = a.value(QLatin1String("min")).toInt();
                 i <= a.value(QLatin1String("max")).toInt(); ++i) {
                hoja.anchos.resize(i);
                hoja.anchos[i - 1] = a.value(QLatin1String("width")).toDouble();
            }
        } else if (r.name() == QLatin1String("row")) {
            fila = a.value(QLatin1String("r")).toInt() - 1;
        } else if (r.name() == QLatin1String("c")) {
            columna = columnaDe(a.value(QLatin1String("r")));
            tipo = a.value(QLatin1String("t")).toString();
            estilo = estilos.value(a.value(QLatin1String("s")).toInt(), QStringLiteral("General"));
            poneCelda(hoja.formatos, fila, columna, estilo);
            poneCelda(hoja.celdas, fila, columna, QString());
        } else if (r.name() == QLatin1String("v") || r.name() == QLatin1String("t")) {
            const QString valor = r.readElementText();
            poneCelda(hoja.celdas, fila, columna,
                      tipo == QLatin1String("s") ? textos.value(valor.toInt()) : valor);
        }
    }
    return hoja;
}

} // namespace

QString HojaLeida::celda(int fila, int columna) const {
    return fila < celdas.size() ? celdas[fila].value(columna) : QString();
}

QString HojaLeida::formato(int fila, int columna) const {
    return fila < formatos.size() ? formatos[fila].value(columna) : QString();
}

QVector<HojaLeida> LeeXlsx(const QString& ruta) {
    const QStringList textos =
        textosCompartidos(miembro(ruta, QStringLiteral("xl/sharedStrings.xml")));
    const QStringList estilos = formatosDeEstilo(miembro(ruta, QStringLiteral("xl/styles.xml")));
    QVector<HojaLeida> hojas;
    QXmlStreamReader libro(miembro(ruta, QStringLiteral("xl/workbook.xml")));
    while (!libro.atEnd()) {
        libro.readNext();
        if (libro.isStartElement() && libro.name() == QLatin1String("sheet")) {
            const QString nombre = libro.attributes().value(QLatin1String("name")).toString();
            HojaLeida hoja = leeHoja(
                miembro(ruta, QStringLiteral("xl/worksheets/sheet%1.xml").arg(hojas.size() + 1)),
                textos, estilos);
            hoja.nombre = nombre;
            hojas << hoja;
        }
    }
    return hojas;
}

QVector<QStringList> LeeCsv(const QByteArray& bytes) {
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QString texto = QString::fromUtf8(bytes.mid(3));
    EXPECT_EQ(texto.count(QLatin1Char('\n')), texto.count(QStringLiteral("\r\n")));
    QVector<QStringList> lineas;
    QStringList campos;
    QString campo;
    bool entreComillas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (entreComillas) {
            if (c == QLatin1Char('"') && i + 1 < texto.size() && texto[i + 1] == QLatin1Char('"')) {
                campo += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                entreComillas = false;
            } else {
                campo += c;
            }
        } else if (c == QLatin1Char('"')) {
            entreComillas = true;
        } else if (c == QLatin1Char(',')) {
            campos << campo;
            campo.clear();
        } else if (c == QLatin1Char('\r')) {
            campos << campo;
            lineas << campos;
            campos.clear();
            campo.clear();
            ++i; // the LF
        } else {
            campo += c;
        }
    }
    return lineas;
}

QString SerieDeFecha(int anio, int mes, int dia) {
    return QString::number(QDate(1899, 12, 30).daysTo(QDate(anio, mes, dia)));
}
