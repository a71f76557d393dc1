#pragma once

// Keeps Qt's own warnings (its SQL and image drivers': "QMYSQLResult::cleanup: unable to free
// statement handle", "libpng error: …") off standard error, where the program's Spanish message
// must come first; critical and fatal messages still go there. DEREMISIONES_MENSAJES_QT=1 in
// the environment lets every message through, for whoever hunts a fault.
class MensajesDeQt {
public:
    static void Instala();
};
