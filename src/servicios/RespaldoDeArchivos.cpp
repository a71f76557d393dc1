#include "servicios/RespaldoDeArchivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

void RespaldoDeArchivos::guarda(const QString& archivo, bool privado) {
    Original o;
    // A link is written through: what changes is the file it points to.
    const QFileInfo info(archivo);
    o.ruta = info.isSymLink() ? info.symLinkTarget() : archivo;
    o.privado = privado;
    QFile f(o.ruta);
    o.existia = QFileInfo::exists(o.ruta);
    if (o.existia && f.open(QIODevice::ReadOnly)) {
        o.bytes = f.readAll();
    }
#ifdef Q_OS_UNIX
    struct stat datos {};
    if (o.existia && ::stat(QFile::encodeName(o.ruta).constData(), &datos) == 0) {
        o.dueno = datos.st_uid;
        o.grupo = datos.st_gid;
        o.modo = datos.st_mode & 07777;
    }
#endif
    archivos_.append(o);
}

bool RespaldoDeArchivos::creaCarpeta(const QString& carpeta) {
    QStringList faltan;
    for (QString c = QDir::cleanPath(QDir(carpeta).absolutePath()); !QFileInfo::exists(c);
         c = QFileInfo(c).absolutePath()) {
        faltan.prepend(c);
    }
    for (const QString& c : faltan) {
        if (!QDir().mkdir(c)) {
            return false;
        }
        carpetas_.append(c);
    }
    return true;
}

void RespaldoDeArchivos::ponDueno(const Original& o) {
#ifdef Q_OS_UNIX
    const QByteArray ruta = QFile::encodeName(o.ruta);
    // Another clerk's file keeps at least its group when its owner cannot be given back.
    if (::chown(ruta.constData(), o.dueno, o.grupo) != 0) {
        [[maybe_unused]] const int grupo =
            ::chown(ruta.constData(), static_cast<uid_t>(-1), o.grupo);
    }
    if (!o.privado) {
        ::chmod(ruta.constData(), o.modo);
    }
#else
    Q_UNUSED(o);
#endif
}

QStringList RespaldoDeArchivos::restaura() const {
    QStringList fallidos;
    for (auto o = archivos_.rbegin(); o != archivos_.rend(); ++o) {
        if (!o->existia) {
            if (QFile::exists(o->ruta) && !QFile::remove(o->ruta)) {
                fallidos << o->ruta;
            }
            continue;
        }
        QFile actual(o->ruta);
        if (actual.open(QIODevice::ReadOnly) && actual.readAll() == o->bytes) {
            continue; // never written
        }
        QSaveFile f(o->ruta);
        if (!f.open(QIODevice::WriteOnly) || f.write(o->bytes) != o->bytes.size() || !f.commit()) {
            fallidos << o->ruta;
            continue;
        }
        ponDueno(*o);
    }
    for (auto c = carpetas_.rbegin(); c != carpetas_.rend(); ++c) {
        QDir().rmdir(*c);
    }
    return fallidos;
}

void RespaldoDeArchivos::devuelveDuenos() const {
    for (const Original& o : archivos_) {
        if (o.existia) {
            ponDueno(o);
        } else if (!o.privado) {
            comparteConElGrupo(o.ruta);
        }
    }
}

void RespaldoDeArchivos::comparteConElGrupo(const QString& archivo) {
#ifdef Q_OS_UNIX
    // A folder shared by a group (setgid and group-writable): its new files are the group's to
    // change too, whatever this account's umask.
    struct stat carpeta {};
    struct stat datos {};
    const QByteArray ruta = QFile::encodeName(archivo);
    if (::stat(QFile::encodeName(QFileInfo(archivo).absolutePath()).constData(), &carpeta) != 0 ||
        (carpeta.st_mode & (S_ISGID | S_IWGRP)) != (S_ISGID | S_IWGRP) ||
        ::stat(ruta.constData(), &datos) != 0) {
        return;
    }
    [[maybe_unused]] const int grupo =
        ::chown(ruta.constData(), static_cast<uid_t>(-1), carpeta.st_gid);
    ::chmod(ruta.constData(), (datos.st_mode & 07777) | S_IRGRP | S_IWGRP);
#else
    Q_UNUSED(archivo);
#endif
}
