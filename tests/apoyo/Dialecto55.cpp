#include "apoyo/Dialecto55.h"

#include <QRegularExpression>
#include <QVector>

namespace {

struct FormaAjena {
    const char* nombre;
    QRegularExpression patron;
};

QRegularExpression patron(const char* texto) {
    return QRegularExpression(QString::fromLatin1(texto),
                              QRegularExpression::CaseInsensitiveOption);
}

const QVector<FormaAjena>& formas() {
    static const QVector<FormaAjena> lista = {
        {"función de ventana",
         patron("\\bOVER\\s*\\(|\\b(ROW_NUMBER|RANK|DENSE_RANK|PERCENT_RANK|CUME_DIST|NTILE|LAG|"
                "LEAD|FIRST_VALUE|LAST_VALUE|NTH_VALUE)\\s*\\(")},
        {"expresión de tabla común (WITH)",
         patron("(^|[\\s(])WITH\\s+(RECURSIVE\\s+)?\\w+\\s*(\\([^()]*\\))?\\s*AS\\s*\\(")},
        {"RETURNING", patron("\\bRETURNING\\b")},
        {"JSON", patron("\\bJSON(_\\w+\\s*\\(|\\b)")},
        {"LATERAL", patron("\\bLATERAL\\b")},
        {"CREATE OR REPLACE", patron("\\bCREATE\\s+OR\\s+REPLACE\\b")},
        {"EXCEPT o INTERSECT", patron("\\b(EXCEPT|INTERSECT)\\b")},
        {"IF [NOT] EXISTS de columnas",
         patron("\\b(ADD|DROP|MODIFY|CHANGE)\\s+(COLUMN\\s+)?IF\\s+(NOT\\s+)?EXISTS\\b")},
        {"NOWAIT o SKIP LOCKED", patron("\\bNOWAIT\\b|\\bSKIP\\s+LOCKED\\b")},
        {"RENAME COLUMN", patron("\\bRENAME\\s+COLUMN\\b")},
        {"columna generada", patron("\\bGENERATED\\s+ALWAYS\\b")},
        {"SET STATEMENT", patron("^\\s*SET\\s+STATEMENT\\b")},
    };
    return lista;
}

// The statement with its quoted texts and names emptied.
QString sinCitas(const QString& sentencia) {
    static const QRegularExpression citas(
        QStringLiteral("'(?:[^'\\\\]|\\\\.|'')*'|\"(?:[^\"\\\\]|\\\\.|\"\")*\"|`(?:[^`]|``)*`"));
    QString t = sentencia;
    return t.replace(citas, QStringLiteral("''"));
}

} // namespace

QStringList Dialecto55::Ajeno(const QString& sentencia) {
    QStringList encontradas;
    const QString texto = sinCitas(sentencia);
    for (const FormaAjena& f : formas()) {
        if (f.patron.match(texto).hasMatch()) {
            encontradas << QString::fromUtf8(f.nombre);
        }
    }
    // A collation may be written quoted (SET NAMES … COLLATE '…'), so the whole text is looked at.
    static const QRegularExpression colacion8(QStringLiteral("_0900_\\w+"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (colacion8.match(sentencia).hasMatch()) {
        encontradas << QStringLiteral("colación de MySQL 8.0");
    }
    return encontradas;
}

QVector<SentenciaDelRegistro> SentenciasDelRegistro(const QString& registro) {
    // "241105 14:17:03\t    31 Query\tSELECT …", the time only on the first entry of a second.
    static const QRegularExpression entrada(
        QStringLiteral("^(?:\\d{6}\\s+\\d{1,2}:\\d{2}:\\d{2})?\\s+(\\d+)\\s([A-Za-z]+(?: "
                       "[A-Za-z]+)?)\\t(.*)$"));
    QVector<SentenciaDelRegistro> sentencias;
    bool enSentencia = false;
    for (const QString& linea : registro.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch m = entrada.match(linea);
        if (m.hasMatch()) {
            const QString orden = m.captured(2);
            enSentencia = orden == QLatin1String("Query") || orden == QLatin1String("Prepare") ||
                          orden == QLatin1String("Execute");
            if (enSentencia) {
                sentencias.append({m.captured(1).toInt(), m.captured(3)});
            }
        } else if (enSentencia) {
            sentencias.last().texto += QLatin1Char('\n') + linea;
        }
    }
    return sentencias;
}
