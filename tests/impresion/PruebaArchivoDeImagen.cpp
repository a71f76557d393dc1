#include "impresion/ArchivoDeImagen.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray imagen(const char* formato) {
    QImage i(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < i.height(); ++y) {
        for (int x = 0; x < i.width(); ++x) {
            i.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    i.save(&buffer, formato);
    return bytes;
}

// A file cut anywhere, or with a byte changed inside its data, is told from a whole one
// without decoding it.
TEST(ArchivoDeImagen, CortadaOCambiadaSeDistingueDeEntera) {
    const QByteArray png = imagen("PNG");
    const QByteArray jpeg = imagen("JPEG");
    QByteArray pngCambiada = png;
    pngCambiada[png.size() / 2] = static_cast<char>(pngCambiada[png.size() / 2] ^ 0x20);
    const struct {
        const char* caso;
        QByteArray bytes;
        const char* defecto; // empty: whole
    } casos[] = {
        {"png entera", png, ""},
        {"png cortada a la mitad", png.left(png.size() / 2), "la imagen PNG está cortada"},
        {"png sin su último byte", png.chopped(1), "la imagen PNG está cortada"},
        {"png sólo la firma", png.left(8), "la imagen PNG está cortada"},
        {"png con un byte cambiado", pngCambiada, "no corresponde con su suma de verificación"},
        {"jpeg entera", jpeg, ""},
        {"jpeg con relleno", jpeg + QByteArray(4, '\0'), ""},
        {"jpeg cortada", jpeg.left(jpeg.size() - 10), "la imagen JPEG está cortada"},
        {"otra cosa", QByteArray("GIF89a"), "no es una imagen PNG ni JPEG"},
    };
    for (const auto& c : casos) {
        const QString defecto = ArchivoDeImagen::Defecto(c.bytes);
        if (*c.defecto == '\0') {
            EXPECT_TRUE(defecto.isEmpty()) << c.caso << ": " << qPrintable(defecto);
        } else {
            EXPECT_TRUE(defecto.contains(QString::fromUtf8(c.defecto)))
                << c.caso << ": " << qPrintable(defecto);
        }
    }
}

} // namespace
