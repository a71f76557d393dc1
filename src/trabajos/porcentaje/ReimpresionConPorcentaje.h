#pragma once

#include "tienda/Importe.h"

#include <QString>
#include <functional>

class Conexion;

// The real and reduced totals of a percentage run.
struct ResumenDePorcentaje {
    Importe subtotalReal, ivaReal, impAdReal;
    Importe subtotalNuevo, ivaNuevo, impAdNuevo;
    int remisiones = 0;

    Importe totalReal() const { return subtotalReal + ivaReal + impAdReal; }
    Importe totalNuevo() const { return subtotalNuevo + ivaNuevo + impAdNuevo; }
};

// The percentage reprint job without its window: copies the notes of a folio range of one
// series into the working tables, lowers each copy by a percentage (CopiasReducidas), so a
// reduced note adds up and the new totals are what the printed copies say. The host's tables are
// only read.
class ReimpresionConPorcentaje {
public:
    explicit ReimpresionConPorcentaje(Conexion& cnn);

    // Inputs that ValidaEntrada refuses are refused before anything changes. avance gets the
    // count of notes totalled so far and the range's count, once per note.
    ResumenDePorcentaje Comprueba(qint64 inicial, qint64 final, const QString& serie,
                                  Decimal porcentaje,
                                  const std::function<void(int, int)>& avance = {});
    void BorraTablasDeTrabajo();

    // Refuses (Rechazo) a percentage not above 0 and below 100, or a range that ends before
    // it starts.
    static void ValidaEntrada(qint64 inicial, qint64 final, Decimal porcentaje);
    // The run's inputs and outcome as the program's trail records them.
    static QString Parametros(qint64 inicial, qint64 final, const QString& serie,
                              Decimal porcentaje);
    static QString ResumenDeBitacora(const ResumenDePorcentaje& resumen);

    // p ÷ 100 to four decimals, halves to even: 12.5 gives 0.125.
    static Decimal Factor(Decimal porcentaje);
    // "###,###,##0.00" right-aligned in 14 characters (a longer text is kept whole).
    static QString FormatoImporte(Importe importe);
    // The eight lines of the summary, joined by CR LF, an empty line after the fourth.
    static QString Resumen(const ResumenDePorcentaje& resumen);

private:
    Conexion& cnn_;
};
