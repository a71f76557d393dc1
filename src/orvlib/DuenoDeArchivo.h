#pragma once

#include <QString>

// Who owns a file the program could not write, when it is another account: what a run as root
// with a clerk's home leaves behind (ListaRemisiones.txt owned by root in the clerk's folder).
class DuenoDeArchivo {
public:
    // The account the process runs as.
    static QString Cuenta();
    // The owner of the file (an absolute path), or when it does not exist of the nearest folder
    // above it that does, when that is another account and this one cannot write it; its path
    // in ajeno. "" otherwise.
    static QString Ajeno(const QString& ruta, QString* ajeno = nullptr);
    // Why this account cannot write the file, as the end of a sentence that names it: "es de
    // la cuenta «root» y la cuenta «ana» no puede escribirlo. Devuélvaselo y vuelva a intentar:
    // sudo chown ana: …"; "" when neither the file nor its folder is another account's.
    static QString PorQueNoSeEscribe(const QString& ruta);
};
