#pragma once

#include <QString>

// Keeps Qt's own warnings (its SQL and image drivers': "QMYSQLResult::cleanup: unable to free
// statement handle", "libpng error: …") off standard error, where the program's Spanish message
// must come first; critical and fatal messages still go there. DEREMISIONES_MENSAJES_QT=1 in
// the environment lets every message through, for whoever hunts a fault. A display that cannot
// be opened (DISPLAY naming no X server) is said in Spanish and ends the process with the
// program's own code, never Qt's English abort.
class MensajesDeQt {
public:
    // paraUnaPantalla: what the program offers when it has no display (its menu by ssh -X, its
    // jobs as commands), said after the Spanish message.
    static void Instala(const QString& paraUnaPantalla = {});
    // "No se pudo abrir la pantalla …" with the display named and the advice given.
    static QString SinPantalla(const QString& paraUnaPantalla);
    // The exit code of a process that found no display.
    static constexpr int kSinPantalla = 1;
};
