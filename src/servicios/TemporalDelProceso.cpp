#include "servicios/TemporalDelProceso.h"

#include "orvlib/ErrorDeEscritura.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"

#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <memory>

namespace {

const QString kBloqueo = QStringLiteral("en-uso.lock");
// A folder without its lock file yet may belong to a process that is just starting.
constexpr qint64 kSegundosDeGracia = 300;

struct CarpetaPropia {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QLockFile> bloqueo;
};

CarpetaPropia& actual() {
    static CarpetaPropia carpeta;
    return carpeta;
}

bool esViejo(const QFileInfo& info) {
    return info.lastModified().secsTo(QDateTime::currentDateTime()) > kSegundosDeGracia;
}

// True when nobody holds the folder: its lock file belongs to a process of this machine that
// is gone, or it never got one and is old.
bool abandonada(const QString& ruta) {
    const QString archivo = QDir(ruta).filePath(kBloqueo);
    if (!QFileInfo::exists(archivo)) {
        return esViejo(QFileInfo(ruta));
    }
    QLockFile bloqueo(archivo);
    // Age alone never makes a lock stale: a process of another workstation keeps its folder.
    bloqueo.setStaleLockTime(0);
    if (!bloqueo.tryLock(0)) {
        return false;
    }
    bloqueo.unlock();
    return true;
}

} // namespace

QString TemporalDelProceso::Raiz() {
    return QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("Temporal"));
}

QString TemporalDelProceso::Carpeta() {
    CarpetaPropia& c = actual();
    const QString raiz = Raiz();
    if (c.dir && c.dir->isValid() && QDir(c.dir->path()).exists() &&
        QFileInfo(c.dir->path()).absolutePath() == QFileInfo(raiz).absoluteFilePath()) {
        return c.dir->path();
    }
    Suelta();
    errno = 0;
    if (!QDir().mkpath(raiz)) {
        throw ErrorDeEscritura(raiz, errno, QStringLiteral("No se pudo crear la carpeta"));
    }
    auto dir = std::make_unique<QTemporaryDir>(
        QDir(raiz).filePath(QSysInfo::machineHostName() + QStringLiteral("-XXXXXX")));
    if (!dir->isValid()) {
        throw ErrorDeEscritura(raiz, 0, dir->errorString());
    }
    // The lock is a file written in the folder: a full disk or a folder the program may not
    // write is said as such.
    auto bloqueo = std::make_unique<QLockFile>(QDir(dir->path()).filePath(kBloqueo));
    if (!bloqueo->tryLock(0)) {
        throw ErrorDeEscritura(QDir(dir->path()).filePath(kBloqueo),
                               bloqueo->error() == QLockFile::PermissionError ? EACCES : 0,
                               QStringLiteral("No se pudo reservar la carpeta temporal"));
    }
    c.dir = std::move(dir);
    c.bloqueo = std::move(bloqueo);
    return c.dir->path();
}

void TemporalDelProceso::Suelta() {
    CarpetaPropia& c = actual();
    c.bloqueo.reset();
    c.dir.reset();
}

void TemporalDelProceso::LimpiaAbandonadas() {
    const QDir raiz(Raiz());
    const QString propia = actual().dir ? actual().dir->path() : QString();
    for (const QFileInfo& info :
         raiz.entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (info.absoluteFilePath() == QFileInfo(propia).absoluteFilePath()) {
            continue;
        }
        if (info.isDir() && abandonada(info.absoluteFilePath())) {
            QDir(info.absoluteFilePath()).removeRecursively();
        } else if (info.isFile() && esViejo(info)) {
            QFile::remove(info.absoluteFilePath());
        }
    }
}
