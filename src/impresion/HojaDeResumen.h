#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QPainter;

// What a run's summary on paper holds: a title, the job's parameters and outcome, an optional
// picture, a table (headings, rows, totals) and the trail's line of the run.
struct DatosDeResumen {
    QString titulo;
    QStringList parametros;
    std::function<void(QPainter&, const QRectF&)> grafica;
    QStringList encabezados;
    QVector<QStringList> filas;
    QStringList totales;
    QString bitacora;
};

// Writes a run's summary as one letter-size PDF (more pages when the table needs them) through
// the checked writer: the file takes its name only whole, ending with its trailer.
class HojaDeResumen {
public:
    static void Escribe(const QString& ruta, const DatosDeResumen& datos);
};
