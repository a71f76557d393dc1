#include "tienda/Posiciones.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Windows1252.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kLargo = 44;
constexpr int kLargoNombre = 40;

struct Registro {
    qint16 arriba = 0;
    qint16 izquierda = 0;
    QString nombre;
};

QByteArray aBytes(const Registro& r) {
    QByteArray b(kLargo, ' ');
    qToLittleEndian<qint16>(r.arriba, b.data());
    qToLittleEndian<qint16>(r.izquierda, b.data() + 2);
    const QByteArray nombre = Windows1252::codifica(r.nombre).left(kLargoNombre);
    std::copy(nombre.begin(), nombre.end(), b.begin() + 4);
    return b;
}

Registro deBytes(const QByteArray& b) {
    const QByteArray completo = b.leftJustified(kLargo, '\0');
    Registro r;
    r.arriba = qFromLittleEndian<qint16>(completo.constData());
    r.izquierda = qFromLittleEndian<qint16>(completo.constData() + 2);
    r.nombre = Windows1252::decodifica(b.mid(4)).trimmed();
    return r;
}

qint16 aDieciseis(int twips) {
    return static_cast<qint16>(std::clamp(twips, -32768, 32767));
}

// The records of the file, read at once; a changed record is written back with the whole file,
// so a failed write leaves the file as it was.
class ArchivoDePosiciones {
public:
    ArchivoDePosiciones()
        : ruta_(Posiciones::Archivo()) {
        QFile archivo(ruta_);
        if (archivo.exists()) {
            if (!archivo.open(QIODevice::ReadOnly)) {
                throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta_);
            }
            contenido_ = archivo.readAll();
        }
    }

    qint64 busca(const QString& clave, Registro& encontrado) const {
        for (qint64 k = 1; k <= cuenta(); ++k) {
            const Registro r = deBytes(contenido_.mid((k - 1) * kLargo, kLargo));
            if (r.nombre == clave) {
                encontrado = r;
                return k;
            }
        }
        return 0;
    }

    void escribe(qint64 numero, const Registro& r) {
        const qint64 inicio = ((numero > 0 ? numero : cuenta() + 1) - 1) * kLargo;
        QByteArray nuevo = contenido_;
        if (nuevo.size() < inicio) {
            nuevo.append(inicio - nuevo.size(), '\0');
        }
        nuevo.replace(inicio, kLargo, aBytes(r));
        EscritorDeArchivo::Escribe(ruta_, nuevo);
        contenido_ = nuevo;
    }

private:
    qint64 cuenta() const { return std::llround(static_cast<double>(contenido_.size()) / kLargo); }

    QString ruta_;
    QByteArray contenido_;
};

} // namespace

QString Posiciones::Archivo() {
    return QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("CNFWNDS.INI"));
}

void Posiciones::LeePosicion(QString& clave, qint16& arriba, qint16& izquierda) {
    arriba = 0;
    izquierda = 0;
    if (clave.isEmpty()) {
        return;
    }
    clave = clave.toUpper();
    ArchivoDePosiciones archivo;
    Registro r;
    if (archivo.busca(clave, r) > 0) {
        arriba = r.arriba;
        izquierda = r.izquierda;
        return;
    }
    archivo.escribe(0, Registro{0, 0, clave});
}

void Posiciones::GuardaPosicion(const QString& clave, int arriba, int izquierda) {
    if (clave.isEmpty()) {
        return;
    }
    ArchivoDePosiciones archivo;
    Registro actual;
    const qint64 numero = archivo.busca(clave, actual);
    archivo.escribe(numero, Registro{aDieciseis(arriba), aDieciseis(izquierda), clave});
}
