#pragma once

#include "reporteador/Plantilla.h"

#include <QByteArray>
#include <QString>

// The binary template file. After a signature it carries one entry per table in the byte form
// the program scans for ("PDSODBC.DLL" or "PDBDAO.DLL", a zero, the data source, a zero, the
// table name, a zero), one entry per formula (its name followed by 0x00 0x0E 0x10), the MD5
// checksum of the text source ("SUMA", a zero, 32 hexadecimal digits) and then the text source
// itself ("FUENTE", a zero, its length in four bytes), from which the engine takes the layout.
class ArchivoDePlantilla {
public:
    static QByteArray Construye(const QString& fuente);
    // The text source the file was built from, as it was written. Throws ErrorDeReporte
    // 20515 for a file that is not a template of this engine, and for a damaged one: cut short,
    // or whose text does not match its checksum (files written without one are taken).
    static QString Fuente(const QByteArray& archivo);
    static Plantilla Lee(const QByteArray& archivo);
    // A template file; the images it places are looked for in its folder.
    static Plantilla LeeArchivo(const QString& ruta);

    static const QByteArray kFirma;
};
