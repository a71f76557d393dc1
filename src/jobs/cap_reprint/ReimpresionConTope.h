#pragma once

#include "hostdata/Importe.h"

#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QVector>
#include <functional>

class Conexion;

// One day of a cap run: its real total, the total of the notes chosen, their number and the
// folio text "Del … al …".
struct DiaDeTope {
    QDate fecha;
    Importe totalReal;
    Importe aImprimir;
    int remisiones = 0;
    QString numeros;
};

struct ResultadoDeTope {
    QVector<DiaDeTope> dias;
    Importe real;
    Importe impreso;
    int remisiones = 0;
};

// The cap reprint job without its window: shares the cap out over the days of the period in
// proportion to each day's total, takes each day's notes in Id order until the day's share is
// passed, repairs their zero tax fields in the host, copies them into the working tables under
// consecutive new folios and lists them in ListaRemisiones.txt.
class ReimpresionConTope {
public:
    ReimpresionConTope(Conexion& cnnBdD, QString archivoLista);

    // Re-creates the working tables empty; "&Aplicar" does it before it checks its inputs.
    void CreaTablasDeTrabajo();
    void BorraTablasDeTrabajo();

    // Runs the selection over the period. The folio and the cap must be positive. alAvanzar
    // runs once per day, to let the window repaint.
    ResultadoDeTope Aplica(const QDate& desde, const QDate& hasta, const QString& serie,
                           Importe tope, qint32 folioInicial,
                           const std::function<void()>& alAvanzar = {});

    // Chooses and lists the notes of one day, which Aplica then repairs and copies with the
    // rest; returns their total. On return the folio counter holds the last folio given.
    Importe DelDia(const QDate& fecha, Importe totalDia, int& inTickets, QString& stTickets);
    // Fills the zero tax bases and amounts of the notes' detail lines in the host table.
    void CompletaImpuestos(const QList<qint32>& ids);

    // "Factura global en OV": the list file copied line by line to the host's flag file, each
    // line ended by CR LF. "Limpiar banderas OV": the flag file removed when it exists.
    static void GeneraListaGlobal(const QString& archivoLista, const QString& archivoBandera);
    static void LimpiaBanderas(const QString& archivoBandera);

    // Whether a running sum has passed the day's share totalDia × tope ÷ totalPeriodo, compared
    // exactly; a period that totals 0 has no share to pass.
    static bool PasaLaAsignacion(Importe suma, Importe totalDia, Importe tope,
                                 Importe totalPeriodo);

private:
    QString condicionDelPeriodo(const QDate& desde, const QDate& hasta) const;
    void copiaYNumera(const QList<qint32>& ids, qint32 primerFolio);

    Conexion& cnn_;
    QString archivoLista_;
    QFile lista_;
    QString serie_;
    Importe tope_;
    Importe totalPeriodo_;
    qint32 folio_ = 0;
    QList<qint32> elegidas_;
};
