#pragma once

// configura as a store's clerk meets it: the program run as an account that is not root
// (nobody, through setpriv), so that folders and files it cannot write are real ones. The
// tests run as root, for whom every file is writable; without root or setpriv they are skipped.

#include "apoyo/BaseDePrueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

inline constexpr uid_t kCajero = 65534; // nobody

// The MySQL user the tests configure, one per test process.
inline QString usuario() {
    return QStringLiteral("caja_%1").arg(QCoreApplication::applicationPid());
}

inline void cambiaDueno(const QString& ruta, uid_t dueno, mode_t modo) {
    const QByteArray r = QFile::encodeName(ruta);
    ASSERT_EQ(::chown(r.constData(), dueno, dueno), 0) << r.constData();
    ASSERT_EQ(::chmod(r.constData(), modo), 0) << r.constData();
}

struct Salida {
    int codigo = -1;
    QString salida;
    QString errores;
};

// A clerk's and root's folders side by side, a MySQL user of the test's store, and the program
// run as either account.
class ConfiguraOtraCuenta : public ::testing::Test {
protected:
    BaseDePrueba base;
    QTemporaryDir dir;
    uid_t cajero = kCajero; // the clerk's account; its group is nobody's

    void SetUp() override {
        if (::geteuid() != 0 ||
            QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()) {
            GTEST_SKIP() << "hacen falta root y setpriv para correr el programa como otra cuenta";
        }
        cambiaDueno(dir.path(), 0, 0755);
        for (const char* carpeta : {"cajero", "orvane"}) {
            QDir(dir.path()).mkdir(QString::fromLatin1(carpeta));
            cambiaDueno(ruta(carpeta), kCajero, 0755);
        }
        QDir(dir.path()).mkdir(QStringLiteral("root"));
        base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario()));
        base.ejecuta(QStringLiteral("CREATE USER '%1'@'%' IDENTIFIED BY 'buena'").arg(usuario()));
        base.ejecuta(QStringLiteral("GRANT ALL PRIVILEGES ON %1.* TO '%2'@'%'")
                         .arg(base.nombre(), usuario()));
        base.ejecuta(
            QStringLiteral("GRANT ALL PRIVILEGES ON tmpreprocesarem.* TO '%1'@'%'").arg(usuario()));
    }
    void TearDown() override {
        base.ejecuta(QStringLiteral("DROP USER IF EXISTS '%1'@'%'").arg(usuario()));
    }

    QString ruta(const char* nombre) const {
        return QDir(dir.path()).filePath(QString::fromUtf8(nombre));
    }

    // deremisiones configura for the host folder, as the clerk or as root, each with the
    // folders of its own account; the password goes through standard input. The templates'
    // folder is the source tree's, or none when plantillas is empty.
    Salida configura(const char* carpeta, const QStringList& mas = {}, bool comoCajero = true,
                     const QStringList& entorno = {},
                     const QString& plantillas = QStringLiteral(DEREMISIONES_PLANTILLAS)) const {
        const BasesDD& b = const_cast<BaseDePrueba&>(base).bases();
        QStringList argumentos = {QStringLiteral("configura"),
                                  QStringLiteral("--carpeta-orvane"),
                                  ruta(carpeta),
                                  QStringLiteral("--servidor"),
                                  b.cRuta,
                                  QStringLiteral("--puerto"),
                                  QString::number(b.cPuerto),
                                  QStringLiteral("--usuario"),
                                  usuario(),
                                  QStringLiteral("--base"),
                                  base.nombre()};
        if (!plantillas.isEmpty()) {
            argumentos << QStringLiteral("--plantillas") << plantillas;
        }
        return corre(argumentos + mas, comoCajero, entorno);
    }

    // The program with those arguments, as the clerk or as root.
    Salida corre(QStringList argumentos, bool comoCajero = true,
                 const QStringList& entorno = {}) const {
        const QString cuenta = ruta(comoCajero ? "cajero" : "root");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.remove(QStringLiteral("CUPS_SERVER"));
        env.insert(QStringLiteral("HOME"), cuenta);
        env.insert(QStringLiteral("USER"),
                   comoCajero ? QStringLiteral("nobody") : QStringLiteral("root"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), cuenta + QStringLiteral("/.config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), cuenta + QStringLiteral("/.local/share"));
        env.insert(QStringLiteral("ODBCINI"), cuenta + QStringLiteral("/.odbc.ini"));
        env.insert(QStringLiteral("DEREMISIONES_CARPETA"), cuenta + QStringLiteral("/programa"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const QString& variable : entorno) {
            env.insert(variable.section(QLatin1Char('='), 0, 0),
                       variable.section(QLatin1Char('='), 1));
        }
        argumentos.prepend(QStringLiteral(DEREMISIONES_EJECUTABLE));
        if (comoCajero) {
            argumentos = QStringList{QStringLiteral("--reuid=%1").arg(cajero),
                                     QStringLiteral("--regid=%1").arg(kCajero),
                                     QStringLiteral("--clear-groups"), QStringLiteral("--")} +
                         argumentos;
        }
        QProcess programa;
        programa.setProcessEnvironment(env);
        programa.setWorkingDirectory(dir.path());
        const QString ejecutable = comoCajero ? QStringLiteral("setpriv") : argumentos.takeFirst();
        programa.start(ejecutable, argumentos);
        programa.write("buena\n");
        programa.closeWriteChannel();
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardOutput()),
                QString::fromUtf8(programa.readAllStandardError())};
    }

    // Every file and folder of the test, hidden ones too: its bytes, owner and mode.
    QMap<QString, QByteArray> todo() const {
        QMap<QString, QByteArray> archivos;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString r = it.next();
            struct stat datos {};
            ::lstat(QFile::encodeName(r).constData(), &datos);
            QByteArray contenido = QByteArray::number(datos.st_uid) + ' ' +
                                   QByteArray::number(datos.st_mode, 8) + '\n';
            QFile f(r);
            if (it.fileInfo().isFile() && f.open(QIODevice::ReadOnly)) {
                contenido += f.readAll();
            }
            archivos.insert(r, contenido);
        }
        return archivos;
    }
};
