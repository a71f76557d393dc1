#pragma once

#include "impresion/ResultadoDeImpresion.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

class Conexion;
class LibroDeImpresion;
class PlanDeImpresion;
class Recordset;
struct NotaDelLibro;

// The print run both reprint jobs share: working copies of tmpremisiones, in Id order, to the
// delivery-note template, each with its client's note text and, when the host uses several tax
// rates, its tax breakdown. The template is checked and the run's connections and auxiliary file
// made once, before the first note. A cancel takes effect after the document in progress; the
// first note the engine cannot print, or whose printer's job fails, stops the run; so does a
// clean-up that fails after a note came out, which is then counted. A run into one PDF closes it
// after its last note. A run with a plan keeps the ledger's state of each note as it changes:
// sent before it is handed over, printed when its PDF is whole or CUPS completed its job; then it
// follows the queue's jobs to their end or for the ledger's time.
class ImpresionDeRemisiones {
public:
    // Before each note: its place in this run (from 1), the run's size and the copy's folio.
    using Avance = std::function<void(int numero, int total, const QString& folio)>;
    // While the run waits for the printer's queue: how many notes wait; false stops waiting.
    using Espera = std::function<bool(int enCola)>;

    explicit ImpresionDeRemisiones(Conexion& cnn);

    // Every working copy, with no ledger: the preview and the template's sample.
    ResultadoDeImpresion Imprime(const Avance& avance = {});
    // The plan's notes, kept in the ledger.
    ResultadoDeImpresion Imprime(PlanDeImpresion& plan, LibroDeImpresion& libro,
                                 const Avance& avance = {}, const Espera& espera = {});
    void Cancela() { cancelado_ = true; }
    bool Cancelada() const { return cancelado_; }

    static QString Aviso() { return QStringLiteral("Remisiones impresas"); }
    static QString Plantilla() { return QStringLiteral("fmtRemision.rpt"); }
    // Whether the runs go to one PDF file (ControlDeReporte::DirigeAPdfUnico): then a run that
    // does not end, cancelled or stopped, leaves no file and counts no note as printed.
    static bool EnUnSoloPdf();
    // Where the runs go now: "impresora", "pdf CARPETA" or "pdf-unico ARCHIVO".
    static QString Destino();

private:
    ResultadoDeImpresion corre(const Avance& avance);
    void imprimeCopias(ResultadoDeImpresion& resultado, const Avance& avance);
    QList<qint32> idsAImprimir();
    void imprimeUna(const Recordset& copias, ResultadoDeImpresion& resultado, qint16 desglose,
                    class PreparativosDeImpresion& preparativos, class BloquesDeLaCorrida& bloques);
    void enviada(const QString& destino, const QString& documento);
    void enviadasAlPdf(const NotaDelLibro& nota, const QString& archivo);
    void tras(NotaDelLibro& nota);
    void revisaLaCola(ResultadoDeImpresion& resultado);
    void terminaEnElLibro(ResultadoDeImpresion& resultado, const Espera& espera);
    void cuentaEnElLibro(ResultadoDeImpresion& resultado, const QString& porQueEsperan);
    void cierraDocumento();
    QString notasDe(const QString& cliente);
    NotaDelLibro* notaEnCurso();

    Conexion& cnn_;
    bool cancelado_ = false;
    QHash<QString, QString> notasPorCliente_;
    // The run's plan and ledger, when it keeps one; the Ids it prints and the note in progress.
    PlanDeImpresion* plan_ = nullptr;
    LibroDeImpresion* libro_ = nullptr;
    QHash<qint32, int> ids_; // by Id, its place in the ledger's run
    qint32 idEnCurso_ = 0;
    bool enviadaEnCurso_ = false;
    bool alPdfAnotadas_ = false; // the notes of the run's one PDF were written sent
    int hechas_ = 0;             // notes the engine produced in this run
    QString colaVista_;          // the printer's queue the notes went to
};
