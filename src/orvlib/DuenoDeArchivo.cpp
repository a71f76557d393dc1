#include "orvlib/DuenoDeArchivo.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
QString nombreDe(uid_t uid) {
    if (const passwd* cuenta = ::getpwuid(uid); cuenta != nullptr) {
        return QString::fromLocal8Bit(cuenta->pw_name);
    }
    return QString::number(uid);
}
#endif

// The path itself when it exists, else the nearest folder above it that does.
QString existente(const QString& ruta) {
    QString r = QDir::cleanPath(QFileInfo(ruta).absoluteFilePath());
    while (!QFileInfo::exists(r) && r != QFileInfo(r).absolutePath()) {
        r = QFileInfo(r).absolutePath();
    }
    return r;
}

} // namespace

QString DuenoDeArchivo::Cuenta() {
#ifdef Q_OS_UNIX
    return nombreDe(::geteuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

QString DuenoDeArchivo::Ajeno(const QString& ruta, QString* ajeno) {
#ifdef Q_OS_UNIX
    // Only a path: an error's context may be a statement.
    if (!QDir::isAbsolutePath(ruta) || ruta.contains(QLatin1Char('\n'))) {
        return {};
    }
    const QString r = existente(ruta);
    struct stat datos {};
    if (::stat(QFile::encodeName(r).constData(), &datos) != 0 || datos.st_uid == ::geteuid() ||
        ::access(QFile::encodeName(r).constData(), W_OK) == 0) {
        return {};
    }
    if (ajeno != nullptr) {
        *ajeno = r;
    }
    return nombreDe(datos.st_uid);
#else
    Q_UNUSED(ruta);
    Q_UNUSED(ajeno);
    return {};
#endif
}

QString DuenoDeArchivo::PorQueNoSeEscribe(const QString& ruta) {
    QString ajeno;
    const QString dueno = Ajeno(ruta, &ajeno);
    if (dueno.isEmpty()) {
        return {};
    }
    if (QFileInfo(ajeno).isDir()) {
        return QStringLiteral("la carpeta %1 es de la cuenta «%2» y la cuenta «%3» no puede "
                              "escribir en ella. Devuélvasela y vuelva a intentar: sudo chown "
                              "-R %3: %1")
            .arg(ajeno, dueno, Cuenta());
    }
    return QStringLiteral("es de la cuenta «%2» y la cuenta «%3» no puede escribirlo. "
                          "Devuélvaselo y vuelva a intentar: sudo chown %3: %1")
        .arg(ajeno, dueno, Cuenta());
}
