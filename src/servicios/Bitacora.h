#pragma once

#include <QString>
#include <functional>

// The trail of what the program did: one line per job run in Bitacora.txt of the program
// folder, tab-separated: date and time, workstation, system user, job, parameters and outcome
// (notes chosen or printed, invoice made, or the error that stopped it). Windows-1252 with
// CR LF, as the program's other text files.
class Bitacora {
public:
    static QString Archivo();
    // Appends the line. A trail that cannot be written never stops the job it describes; its
    // cause is kept for the end of the run (LineaPerdida).
    static void Anota(const QString& trabajo, const QString& parametros, const QString& resultado);
    // Why the last line this process could not write was lost (the file and the cause, in
    // Spanish); empty while every line went in.
    static QString LineaPerdida();
    // Runs the action and writes its line: the outcome it returns, or "error: " and the error
    // that ended it, which then goes on to the caller.
    static QString Registra(const QString& trabajo, const QString& parametros,
                            const std::function<QString()>& accion);
};
