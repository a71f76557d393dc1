#pragma once

#include "vistaprevia/VistaPrevia.h"

#include <QVector>

class Conexion;
class VentanaDeTrabajo;

// "Vista previa" of the reprint windows: every working copy laid out by the print run itself
// (the same template, data, engine and painter), collected instead of printed, and shown in
// the engine's preview window. No page is printed and no table of the host is written.
class VistaDeLaCorrida {
public:
    // The notes as the print run would print them now; throws with the reason when the run
    // could not lay them out.
    static QVector<DocumentoEnVista> Documentos(Conexion& cnn);
    // Lays the notes out while the window works, then shows them over it.
    static void Muestra(VentanaDeTrabajo& ventana, Conexion& cnn);
};
