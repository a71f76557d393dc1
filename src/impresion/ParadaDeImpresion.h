#pragma once

#include <QString>

struct ResultadoDeImpresion;

// What a print run stopped by a full disk of this computer says at its end: the cause first,
// naming the file, then where it stopped and the counts, the error's own number and text, and
// last what to do: free room and go on from the note it stopped at (the window's «Continuar»
// button, or --continuar on the command line).
class ParadaDeImpresion {
public:
    enum class Desde { Ventana, Consola };

    // Whether the run stopped because this computer's disk had no room for a file.
    static bool PorDiscoLleno(const ResultadoDeImpresion& resultado);
    // The whole text; in the window the error's number and text go to the box's details, on
    // the command line they come before what to do.
    static QString Texto(const ResultadoDeImpresion& resultado, Desde desde);

private:
    static QString queHacer(const ResultadoDeImpresion& resultado, Desde desde);
};
