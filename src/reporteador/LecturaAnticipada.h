#pragma once

#include "reporteador/OrigenDeDatos.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

struct Plantilla;
struct TablaDePlantilla;

// The server's rows of a block of documents that a run is about to print, read with a statement
// a table for the whole block rather than several statements a document: the documents' rows
// (selected as {Tabla.Campo}=number), their detail rows and the rows they look up. A report of
// the block then takes from it the rows its own statements would have read; what it cannot
// answer for certain (a text key, a table the run writes to between reports) is read as
// before.
class LecturaAnticipada {
public:
    // Reads a table of the template (by its index) with a condition and an order.
    using Lector =
        std::function<QVector<Fila>(int tabla, const QString& condicion, const QString& orden)>;
    // Whether a table of the template (by its index) is read from the server.
    using DelServidor = std::function<bool(int tabla)>;

    // The selections of the next reports, and the tables (by name) the run writes to between
    // them, which are never read ahead.
    void Anuncia(const QStringList& selecciones, const QStringList& tablasQueCambian);
    void Olvida();

    // Reads the block when the report's selection is one announced and the block was not read
    // for this template and these locations.
    void Prepara(const QString& seleccion, const QString& contexto, const Plantilla& p,
                 int principal, const DelServidor& delServidor, const Lector& lee);
    // The rows a table's read with that condition and order would give; none when not known.
    std::optional<QVector<Fila>> Busca(int tabla, const QString& condicion,
                                       const QString& orden) const;

    // A table's column equal to a value, or in a list of literals, written for the database
    // that holds the table: the reads of a report and of a block must match to the letter.
    static QString IgualA(const TablaDePlantilla& tabla, const QVariant& valor);
    static QString EnLista(const TablaDePlantilla& tabla, const QString& campo,
                           const QString& lista);

private:
    // A document's values of a look-up's link, as literals in the order of its rows, and each
    // value as a text.
    struct ValoresDeRenglones {
        QStringList literales;
        QHash<QString, QString> textos;
    };

    void leePrincipal(const Plantilla& p, int principal, const Lector& lee);
    void leeEnlazadas(const Plantilla& p, int principal, const DelServidor& delServidor,
                      const Lector& lee);
    void leeDetalle(const Plantilla& p, int i, const Lector& lee);
    void leeBusqueda(const Plantilla& p, int i, const Lector& lee);
    void leeBusquedaDeRenglones(const Plantilla& p, int i, const Lector& lee);
    std::optional<QVector<Fila>> renglonesDe(const Plantilla& p, const Fila& principal) const;
    void guardaListas(const TablaDePlantilla& tabla, int i, const ValoresDeRenglones& valores,
                      const QHash<QString, QVector<Fila>>& porClave);
    void guarda(int tabla, const QString& condicion, const QString& orden, QVector<Fila> filas);

    QStringList anunciadas_;
    QSet<QString> cambian_;
    QString contexto_;
    QString campo_;
    QVector<Fila> principales_;
    QHash<QString, QVector<Fila>> filas_;
};
