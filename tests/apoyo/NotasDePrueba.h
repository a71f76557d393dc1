#pragma once

#include <QDate>
#include <QString>
#include <QVector>

class BaseDePrueba;

// A delivery-note line for a test: what the cap and print jobs read of it.
struct PartidaDePrueba {
    double cantidad = 1;
    double precio = 0;
    double iva = 0;
    double ieps = 0;
    double baseIeps = 0;
    double importeIeps = 0;
    double baseIva = 0;
    double importeIva = 0;
    QString producto = QStringLiteral("P1");
};

// A delivery note for a test. With no lines given it gets one line whose amount is the subtotal
// and whose rates give the header's taxes.
struct NotaDePrueba {
    int id = 0;
    QDate fecha;
    double subtotal = 0;
    double iva = 0;
    double ieps = 0;
    QString serie = QStringLiteral("A");
    int folio = 0;
    int cancelada = 0;
    QVector<PartidaDePrueba> partidas;
};

// Inserts the notes with their lines into the test database.
void AgregaNotas(BaseDePrueba& base, const QVector<NotaDePrueba>& notas);
// Copies a note with its lines into the working tables, as the reprint jobs do.
void CopiaATrabajo(BaseDePrueba& base, int id);
