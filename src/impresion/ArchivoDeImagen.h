#pragma once

#include <QByteArray>
#include <QString>

// Whether the bytes of a PNG or JPEG file are whole, checked by their own structure before any
// image library decodes them (libpng writes its complaints straight to standard error): every
// PNG chunk inside the file with its checksum and an IEND last, a JPEG from its start to its
// end marker.
class ArchivoDeImagen {
public:
    // What is wrong with the bytes, in Spanish; empty when they are whole.
    static QString Defecto(const QByteArray& bytes);

private:
    static QString defectoPng(const QByteArray& bytes);
    static quint32 crc32(const char* datos, qsizetype largo);
};
