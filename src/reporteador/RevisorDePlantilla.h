#pragma once

#include "reporteador/ExpresionesDePlantilla.h"
#include "reporteador/Plantilla.h"

#include <QHash>
#include <QMap>
#include <QStringList>

// What a store offers a template: the columns of each table as a print reads it and the files
// kept beside the template.
struct CatalogoDeDatos {
    // By the table's entry ("m remisiones", "a generales"); a table that cannot be read has none.
    QHash<QString, QStringList> columnas;
    // Where each entry is read from, for the messages ("datos1.remisiones", "Auxiliar.MDB").
    QHash<QString, QString> origenes;
    QStringList archivos;
    QString lugarDeArchivos; // where those files are kept, for the messages

    static QString Entrada(const TablaDePlantilla& tabla);
};

// Checks a template against what a store offers: every table, field, formula and image it
// names exists, and every {…} is one the engine understands. An image not stored prints as a
// blank space: a check before storing or printing (exigeImagenes false) lets it pass, as a
// warning.
class RevisorDePlantilla {
public:
    RevisorDePlantilla(const Plantilla& plantilla, const CatalogoDeDatos& catalogo,
                       bool exigeImagenes = true);

    // The problems, each "línea N: …", in the order of the lines; empty for a sound template.
    QStringList Revisa();
    // The images not stored when they are let pass, each "línea N: …", after Revisa.
    const QStringList& Avisos() const { return avisos_; }

private:
    void revisaTablas();
    void revisaElementos(const std::vector<ElementoDePlantilla>& elementos, int numero);
    void revisaTexto(const QString& texto, int linea, int numero);
    void revisaReferencia(const ExpresionesDePlantilla::Referencia& r, int linea);
    // Whether the declared table can be read and has the field; a problem when not.
    void revisaCampo(const TablaDePlantilla& tabla, const QString& campo, int linea);
    void problema(int linea, const QString& texto);

    const Plantilla& p_;
    const CatalogoDeDatos& c_;
    bool exigeImagenes_;
    QMap<int, QStringList> problemas_;
    QStringList avisos_;
};
