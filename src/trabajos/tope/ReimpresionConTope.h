#pragma once

#include "tienda/CifrasDeLinea.h"
#include "tienda/Importe.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
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

    // Re-creates the working tables empty.
    void CreaTablasDeTrabajo();
    void BorraTablasDeTrabajo();

    // Runs the selection over the period: checks the inputs and chooses the notes, reading
    // only, then re-creates the working tables, repairs, copies and renumbers the chosen notes
    // and writes the list file whole; a run without notes removes the list file. A period, cap or
    // folio that cannot be used, or folios that would pass the column's largest, are refused
    // (Rechazo) with nothing changed. alAvanzar runs once per day, to let the window repaint.
    ResultadoDeTope Aplica(const QDate& desde, const QDate& hasta, const QString& serie,
                           Importe tope, qint64 folioInicial,
                           const std::function<void()>& alAvanzar = {});
    // Refuses (Rechazo) a period without two valid dates in order, a cap not above zero or a
    // first folio outside 1 … 2,147,483,647.
    static void ValidaEntrada(const QDate& desde, const QDate& hasta, Importe tope,
                              qint64 folioInicial);

    // Chooses the notes of one day from the next of the period's notes, read by Aplica in day
    // and Id order, and adds their lines to the list, which Aplica then repairs, copies and
    // writes with the rest; returns their total. On return the folio counter holds the last
    // folio given.
    Importe DelDia(const QDate& fecha, Importe totalDia, int& inTickets, QString& stTickets);
    // The SET list of that repair under the store's compounding rule, for the lines d joined
    // to their notes r.
    static QString ReparacionDeImpuestos(CifrasDeLinea::Reglas reglas);

    // "Factura global en OV": the list file copied line by line to the host's flag file, each
    // line ended by CR LF. "Limpiar banderas OV": the flag file removed when it exists.
    static void GeneraListaGlobal(const QString& archivoLista, const QString& archivoBandera);
    static void LimpiaBanderas(const QString& archivoBandera);

    // The run's inputs and outcome as the program's trail records them.
    static QString Parametros(const QDate& desde, const QDate& hasta, const QString& serie,
                              Importe tope, qint64 folioInicial);
    static QString Resumen(const ResultadoDeTope& resultado);

    // Whether a running sum has passed the day's share totalDia × tope ÷ totalPeriodo, compared
    // exactly; a period that totals 0 has no share to pass.
    static bool PasaLaAsignacion(Importe suma, Importe totalDia, Importe tope,
                                 Importe totalPeriodo);

    // The folio column holds 32-bit numbers.
    static constexpr qint64 kFolioMaximo = 2147483647;

private:
    QString condicionDelPeriodo(const QDate& desde, const QDate& hasta) const;
    // Reads the period's notes; whether every total is exact to four decimals.
    bool leeNotas(const QDate& desde, const QDate& hasta);
    ResultadoDeTope diasDeLasNotas();
    ResultadoDeTope leeDias(const QDate& desde, const QDate& hasta);
    static bool esExacto(const QVariant& total);
    ResultadoDeTope eligeNotas(const QDate& desde, const QDate& hasta, qint64 folioInicial,
                               const std::function<void()>& alAvanzar);
    void escribeLista() const;
    // Fills the zero tax bases and amounts of the chosen notes' detail lines in the host table,
    // joined with the chosen notes' folio table, which Aplica's CopiaConFolios holds meanwhile.
    void completaImpuestos();

    Conexion& cnn_;
    QString archivoLista_;
    QByteArray lista_;
    QString serie_;
    Importe tope_;
    Importe totalPeriodo_;
    qint64 folio_ = 0;
    QList<qint32> elegidas_;
    struct NotaDelPeriodo {
        QDate fecha;
        qint32 id = 0;
        Importe total;
        QString serie;
    };
    QVector<NotaDelPeriodo> notas_;
    qsizetype siguiente_ = 0;
};
