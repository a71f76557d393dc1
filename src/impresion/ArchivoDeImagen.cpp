#include "impresion/ArchivoDeImagen.h"

#include <QtEndian>
#include <array>

namespace {

const QByteArray kFirmaPng("\x89PNG\r\n\x1a\n", 8);

} // namespace

QString ArchivoDeImagen::Defecto(const QByteArray& bytes) {
    if (bytes.startsWith(kFirmaPng)) {
        return defectoPng(bytes);
    }
    if (bytes.startsWith("\xFF\xD8")) {
        // Some writers pad a JPEG after its end marker.
        QByteArray sinRelleno = bytes;
        while (sinRelleno.endsWith('\0')) {
            sinRelleno.chop(1);
        }
        return sinRelleno.endsWith("\xFF\xD9") ? QString()
                                               : QStringLiteral("la imagen JPEG está cortada");
    }
    return QStringLiteral("no es una imagen PNG ni JPEG");
}

QString ArchivoDeImagen::defectoPng(const QByteArray& bytes) {
    qsizetype posicion = kFirmaPng.size();
    while (posicion + 12 <= bytes.size()) {
        const quint32 largo = qFromBigEndian<quint32>(bytes.constData() + posicion);
        if (largo > quint32(bytes.size() - posicion - 12)) {
            break;
        }
        const char* tipo = bytes.constData() + posicion + 4;
        const quint32 suma = qFromBigEndian<quint32>(tipo + 4 + largo);
        if (suma != crc32(tipo, 4 + largo)) {
            return QStringLiteral("un bloque de la imagen PNG no corresponde con su suma de "
                                  "verificación");
        }
        if (QByteArray(tipo, 4) == "IEND") {
            return {};
        }
        posicion += 12 + largo;
    }
    return QStringLiteral("la imagen PNG está cortada");
}

quint32 ArchivoDeImagen::crc32(const char* datos, qsizetype largo) {
    static const std::array<quint32, 256> tabla = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFU;
    for (qsizetype i = 0; i < largo; ++i) {
        c = tabla[(c ^ static_cast<quint8>(datos[i])) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}
