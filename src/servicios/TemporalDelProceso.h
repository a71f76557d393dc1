#pragma once

#include <QString>

// The process's own folder for scratch files (auxiliary print databases, extracted templates)
// inside the program folder's Temporal: no other process, a window or a scheduled run, here or
// on another workstation, ever writes there. A lock file inside tells the folders of running
// processes from those of processes that died, which the next start removes.
class TemporalDelProceso {
public:
    // The folder, made on first use; it goes when the process ends normally.
    static QString Carpeta();
    // Lets the folder go, with what it holds; the next use makes a new one.
    static void Suelta();
    // Removes the folders left by processes of this machine that are no longer running, and
    // loose files an earlier version left in Temporal.
    static void LimpiaAbandonadas();
    // Temporal of the program folder.
    static QString Raiz();
};
