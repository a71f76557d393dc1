#include "orvlib/Windows1252.h"

#include <array>

namespace {

// Code points of bytes 0x80-0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same value, as Windows does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kAltos = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char byteDe(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kAltos.size(); ++i) {
        if (kAltos[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

} // namespace

QString Windows1252::decodifica(const QByteArray& bytes) {
    QString texto;
    texto.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        texto.append(u >= 0x80 && u < 0xA0 ? QChar(kAltos[u - 0x80]) : QChar(u));
    }
    return texto;
}

QByteArray Windows1252::codifica(const QString& texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (QChar c : texto) {
        bytes.append(byteDe(c.unicode()));
    }
    return bytes;
}
