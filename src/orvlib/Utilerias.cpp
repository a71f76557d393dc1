#include "orvlib/Utilerias.h"

#include <QByteArray>

namespace {

const QByteArray kClave = QByteArrayLiteral("DeRemisiones-Orvlib");
const QString kPrefijo = QStringLiteral("~");

QByteArray mezcla(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ kClave[i % kClave.size()] ^ (i * 7));
    }
    return bytes;
}

} // namespace

QString Utilerias::CambXXX(const QString& plantilla, const QString& valor) {
    QString texto = plantilla;
    return texto.replace(QLatin1String("XXX"), valor);
}

QString Utilerias::Encripta(const QString& texto) {
    return kPrefijo + QString::fromLatin1(mezcla(texto.toUtf8()).toHex().toUpper());
}

QString Utilerias::DesEncripta(const QString& texto) {
    const QString hex = texto.mid(kPrefijo.size());
    const bool valido = texto.startsWith(kPrefijo) && hex.size() % 2 == 0 &&
                        std::all_of(hex.begin(), hex.end(), [](QChar c) {
                            return c.isDigit() || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
                        });
    if (!valido) {
        return texto;
    }
    return QString::fromUtf8(mezcla(QByteArray::fromHex(hex.toLatin1())));
}
