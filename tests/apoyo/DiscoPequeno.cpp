#include "apoyo/DiscoPequeno.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

const QString kRelleno = QStringLiteral(".relleno");

} // namespace

DiscoPequeno::DiscoPequeno(int kib) {
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=%1k").arg(kib), QStringLiteral("tmpfs"), punto_.path()});
    montado_ = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit &&
               mount.exitCode() == 0;
    if (!montado_) {
        porQueNo_ =
            QStringLiteral("No se pudo montar un tmpfs en %1 (%2): se omite la prueba del "
                           "disco lleno.")
                .arg(punto_.path(), QString::fromLocal8Bit(mount.readAllStandardError() +
                                                           mount.errorString().toLocal8Bit())
                                        .trimmed());
    }
}

DiscoPequeno::~DiscoPequeno() {
    if (montado_) {
        QProcess::execute(QStringLiteral("umount"), {punto_.path()});
    }
}

QString DiscoPequeno::ruta(const QString& nombre) const {
    return QDir(punto_.path()).filePath(nombre);
}

void DiscoPequeno::Llena(qint64 dejar) {
    QFile relleno(ruta(kRelleno));
    relleno.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const QByteArray bloque(4096, 'x');
    while (relleno.write(bloque) == bloque.size()) {
    }
    relleno.resize(std::max<qint64>(0, relleno.size() - dejar));
}

void DiscoPequeno::SoloLectura() {
    QProcess::execute(QStringLiteral("mount"),
                      {QStringLiteral("-o"), QStringLiteral("remount,ro"), punto_.path()});
}

QStringList DiscoPequeno::Archivos() const {
    QStringList archivos = QDir(punto_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    archivos.removeAll(kRelleno);
    return archivos;
}
