#pragma once

class ImpresionDeRemisiones;
class QLabel;
class QPushButton;

// "&Imprimir" of the reprint windows: asks, then prints every working copy with the folio in
// progress on the progress line and "Cancelar" enabled, gives the buttons back however the run
// ends and says "Remisiones impresas". Returns false when the user answered No.
bool CorreImpresion(ImpresionDeRemisiones& impresion, QPushButton* botonPrincipal,
                    QPushButton* imprimir, QPushButton* cancelar, QLabel* progreso);
