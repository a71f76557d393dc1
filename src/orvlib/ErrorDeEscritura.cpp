#include "orvlib/ErrorDeEscritura.h"

#include "orvlib/DuenoDeArchivo.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>

namespace {

bool sinEspacio(int numero) {
#ifdef EDQUOT
    if (numero == EDQUOT) {
        return true;
    }
#endif
    return numero == ENOSPC || numero == EFBIG;
}

bool sinPermiso(int numero) {
#ifdef EROFS
    if (numero == EROFS) {
        return true;
    }
#endif
    return numero == EACCES || numero == EPERM;
}

// Where the system gave no number, a disk with no byte left is the cause.
bool discoLleno(const QString& ruta) {
    const QStorageInfo disco(QFileInfo(ruta).absolutePath());
    return disco.isValid() && disco.bytesAvailable() == 0;
}

} // namespace

ErrorDeEscritura::ErrorDeEscritura(const QString& ruta, int numeroDelSistema,
                                   const QString& textoDelSistema)
    : ErrorOrvlib(kNumero, causa(ruta, numeroDelSistema, textoDelSistema), ruta) {}

QString ErrorDeEscritura::causa(const QString& ruta, int numeroDelSistema,
                                const QString& textoDelSistema) {
    // The message names the file; the error's context carries its whole path.
    const QString nombre = QFileInfo(ruta).fileName();
    if (QFileInfo(ruta).isDir()) {
        return QStringLiteral("%1 es una carpeta, no un archivo: dé el nombre de un archivo, o "
                              "quite o cambie de nombre esa carpeta")
            .arg(nombre);
    }
    if (sinEspacio(numeroDelSistema) || (numeroDelSistema == 0 && discoLleno(ruta))) {
        return QStringLiteral("No hay espacio en el disco para escribir %1").arg(nombre);
    }
    // A file another account owns is refused before any write, often with no system number.
    const QString dueno = DuenoDeArchivo::Ajeno(ruta);
    if (!dueno.isEmpty()) {
        return QStringLiteral("No se tiene permiso para escribir %1: es de la cuenta «%2»")
            .arg(nombre, dueno);
    }
    if (sinPermiso(numeroDelSistema)) {
        return QStringLiteral("No se tiene permiso para escribir %1").arg(nombre);
    }
    return QStringLiteral("No se pudo escribir %1: %2").arg(nombre, textoDelSistema);
}
