#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF as pdftotext reads it, one string per page.
inline QStringList PaginasDePdf(const QString& ruta) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    QStringList paginas =
        QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty()) {
        paginas.removeLast();
    }
    return paginas;
}
