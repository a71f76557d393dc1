#pragma once

#include "impresion/ImpresionDeRemisiones.h"

#include <optional>

class BotonDeContinuar;
class VigenciaDeRemisiones;
class Conexion;
class LibroDeImpresion;
class PlanDeImpresion;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class VentanaDeTrabajo;

// "&Imprimir" of the reprint windows: asks, saying what will print, then prints the plan's notes
// with the note in progress on the progress line and "n de N" on the bar, the window's other
// buttons disabled and Cancelar (or Escape, or the close box) stopping the run after the note in
// progress, or the wait for the printer's queue; says how the run ended and writes it in the
// trail under the job's name. Nothing when the user answered No. With unSoloPdf the run goes
// into that one PDF file instead of the printer, whole or not at all, and the end message names
// it. Returns how the run ended; none when not asked to.
std::optional<ResultadoDeImpresion>
CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, PlanDeImpresion& plan,
               LibroDeImpresion& libro, const QString& trabajo, QPushButton* cancelar,
               QLabel* progreso, QProgressBar* barra, const QString& unSoloPdf = {});
// Where a window's run into one PDF goes: the program folder's PDF folder, named after the job
// and the moment (tope-20261207-101500.pdf).
QString PdfDeLaCorrida(const QString& trabajo);

// The controls of a reprint window's print run.
struct ControlesDeCorrida {
    QPushButton* cancelar = nullptr;
    QLabel* progreso = nullptr;
    QProgressBar* barra = nullptr;
    QCheckBox* pdfUnico = nullptr;
    BotonDeContinuar* continuar = nullptr;
};

// What a reprint window's job is and how its results were made: its name in the trail ("tope
// imprimir"), the parameters of its last run, the host notes as it read them and what to press
// to read them again («pulse de nuevo «Aplicar»»).
struct TrabajoEnVentana {
    QString nombre;
    QString parametros;
    const VigenciaDeRemisiones* vigencia = nullptr;
    QString quehacer;
};

// A reprint window's run of the job: every working copy, or with desdeLaOferta what the offer
// says (going on from the first note not printed, or reprinting from a note the clerk picks),
// once the working tables are checked to be the ones it printed. The host notes are checked
// first either way. Afterwards the window offers what can be done with the run.
void ImprimeEnVentana(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, Conexion& cnn,
                      const TrabajoEnVentana& trabajo, const ControlesDeCorrida& controles,
                      bool desdeLaOferta);
