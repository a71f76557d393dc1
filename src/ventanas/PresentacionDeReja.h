#pragma once

class QTableWidget;
struct ResultadoDeTope;

// How the cap window's grid looks: six columns of design widths under their headers, one row
// per day with the even rows tinted, a separator row and the emphasised totals row.
class PresentacionDeReja {
public:
    // Columns, headers and the grid's font; read-only cells, one selected at a time.
    static void Prepara(QTableWidget* reja);
    // The rows of a run; a column widens past its design width rather than hide an amount.
    static void Llena(QTableWidget* reja, const ResultadoDeTope& resultado);
};
