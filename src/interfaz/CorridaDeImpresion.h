#pragma once

#include "impresion/ImpresionDeRemisiones.h"

class QLabel;
class QProgressBar;
class QPushButton;
class VentanaDeTrabajo;

// "&Imprimir" of the reprint windows: asks, then prints every working copy with the note in
// progress on the progress line and "n de N" on the bar, the window's other buttons disabled and
// Cancelar (or Escape, or the close box) stopping the run after the note in progress; says how
// the run ended and writes it in the trail under the job's name. Nothing when the user
// answered No. With unSoloPdf the run goes into that one PDF file instead of the printer, whole
// or not at all, and the end message names it.
void CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion,
                    const QString& trabajo, QPushButton* cancelar, QLabel* progreso,
                    QProgressBar* barra, const QString& unSoloPdf = {});
// Where a window's run into one PDF goes: the program folder's PDF folder, named after the job
// and the moment (tope-20261207-101500.pdf).
QString PdfDeLaCorrida(const QString& trabajo);
