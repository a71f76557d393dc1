#pragma once

#include <QString>

// The cap window's list of notes for the host's global invoice: where the host looks for it,
// and its two buttons, "Factura &global en OV" (write it) and "&Limpiar banderas OV" (remove
// it), each asked and answered through the dialog service.
class ListaDeFacturaGlobal {
public:
    // The host's flag file, in its folder the program's settings name.
    static QString ArchivoBandera();
    // Whether the clerk wants the list written.
    static bool ConfirmaGenerar();
    // Writes the list of the run's notes (remisiones of them) and says so.
    static void Genera(const QString& archivoBandera, int remisiones);
    // Removes the list after asking; says so when there is none.
    static void Limpia(const QString& archivoBandera);
};
