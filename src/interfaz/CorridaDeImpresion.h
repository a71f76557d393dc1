#pragma once

#include "impresion/CorridaDetenida.h"
#include "impresion/ImpresionDeRemisiones.h"

#include <optional>

class BotonDeContinuar;
class VigenciaDeRemisiones;
class Conexion;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class VentanaDeTrabajo;

// "&Imprimir" of the reprint windows: asks, then prints every working copy with the note in
// progress on the progress line and "n de N" on the bar, the window's other buttons disabled and
// Cancelar (or Escape, or the close box) stopping the run after the note in progress; says how
// the run ended and writes it in the trail under the job's name. Nothing when the user
// answered No. With unSoloPdf the run goes into that one PDF file instead of the printer, whole
// or not at all, and the end message names it. With desde the run goes on from that copy of a
// stopped run, and its trail line says so. Returns how the run ended; none when not asked to.
std::optional<ResultadoDeImpresion>
CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, const QString& trabajo,
               QPushButton* cancelar, QLabel* progreso, QProgressBar* barra,
               const QString& unSoloPdf = {}, const CorridaDetenida* desde = nullptr);
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

// A reprint window's run of the job (its name in the trail, "tope imprimir"), whole or, with
// continuar, from where the offered stopped run stopped, once the working tables are checked
// to be the ones it printed from; afterwards the window offers to go on if it stopped. The host
// notes are checked first either way.
// vigencia holds the host notes as the job read them; quehacer says how to read them again.
void ImprimeEnVentana(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, Conexion& cnn,
                      const QString& trabajo, const ControlesDeCorrida& controles,
                      const VigenciaDeRemisiones& vigencia, const QString& quehacer,
                      bool continuar);
