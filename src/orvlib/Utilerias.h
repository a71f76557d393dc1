#pragma once

#include "orvlib/ObjetoOrvlib.h"

#include <QString>

// Small text utilities of the host library.
class Utilerias : public ObjetoOrvlib {
public:
    // The template with every "XXX" replaced by the value.
    static QString CambXXX(const QString& plantilla, const QString& valor);
    // Keeps user names and passwords out of plain sight in the installation data. This is
    // obfuscation, not protection: anyone with this code can read the value back.
    static QString Encripta(const QString& texto);
    // Inverse of Encripta; a text that Encripta cannot have made is returned unchanged, so a
    // value typed in clear still works.
    static QString DesEncripta(const QString& texto);
};
