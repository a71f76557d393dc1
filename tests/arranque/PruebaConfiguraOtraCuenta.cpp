// configura as a store's clerk meets it: the program run as an account that is not root
// (nobody, through setpriv), so that folders and files it cannot write are real ones. The
// tests run as root, for whom every file is writable; without root or setpriv they are skipped.

#include "apoyo/BaseDePrueba.h"
#include "apoyo/NotasDePrueba.h"

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

namespace {

constexpr uid_t kCajero = 65534; // nobody

QString usuario() {
    return QStringLiteral("caja_%1").arg(QCoreApplication::applicationPid());
}

void cambiaDueno(const QString& ruta, uid_t dueno, mode_t modo) {
    const QByteArray r = QFile::encodeName(ruta);
    ASSERT_EQ(::chown(r.constData(), dueno, dueno), 0) << r.constData();
    ASSERT_EQ(::chmod(r.constData(), modo), 0) << r.constData();
}

struct Salida {
    int codigo = -1;
    QString salida;
    QString errores;
};

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
    // folders of its own account; the password goes through standard input.
    Salida configura(const char* carpeta, const QStringList& mas = {}, bool comoCajero = true,
                     const QStringList& entorno = {}) const {
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
                                  base.nombre(),
                                  QStringLiteral("--plantillas"),
                                  QStringLiteral(DEREMISIONES_PLANTILLAS)};
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

// A set-up that works stays as it was, byte for byte, owner and mode, whatever configura is
// pointed at: it says in Spanish what to change (2), or that a write failed and every file was
// put back (1).
TEST_F(ConfiguraOtraCuenta, UnaConfiguracionQueNoSePuedeEscribirDejaTodoComoEstaba) {
    const Salida primera =
        configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Remisiones")});
    ASSERT_EQ(primera.codigo, 0) << qPrintable(primera.errores);

    QDir(dir.path()).mkdir(QStringLiteral("orvane-de-root"));
    cambiaDueno(ruta("orvane-de-root"), 0, 0755);
    // A folder every account may write but where each may replace only its own files.
    QDir(dir.path()).mkdir(QStringLiteral("orvane-pegajosa"));
    cambiaDueno(ruta("orvane-pegajosa"), 0, 01777);
    QFile::copy(ruta("orvane/Orvane.ini"), ruta("orvane-pegajosa/Orvane.ini"));
    cambiaDueno(ruta("orvane-pegajosa/Orvane.ini"), 0, 0666);
    QDir(dir.path()).mkdir(QStringLiteral("orvane-enlazada"));
    cambiaDueno(ruta("orvane-enlazada"), kCajero, 0755);
    ASSERT_TRUE(QFile::link(ruta("orvane-de-root/Orvane.ini"), ruta("orvane-enlazada/Orvane.ini")));
    QDir(dir.path()).mkdir(QStringLiteral("odbcsys"));
    QFile lista(ruta("odbcsys/odbcinst.ini"));
    ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
    lista.write("[MariaDB Unicode]\nDriver=/no/existe/libmaodbc.so\n");
    lista.close();

    const struct {
        const char* nombre;
        const char* carpeta;
        QStringList opciones;
        QStringList entorno;
        int codigo;
        const char* motivo;
    } casos[] = {
        {"carpeta de Orvane de root",
         "orvane-de-root",
         {},
         {},
         2,
         "la cuenta «nobody» no puede escribir en la carpeta"},
        {"carpeta de Orvane por crear donde no se puede",
         "orvane-de-root/nueva",
         {},
         {},
         2,
         "no existe y la cuenta «nobody» no puede crearla"},
        {"Orvane.ini de root",
         "orvane",
         {QStringLiteral("--impresora"), QStringLiteral("Otra")},
         {},
         2,
         "no puede escribir"},
        {"biblioteca del controlador que falta",
         "orvane",
         {},
         {QStringLiteral("ODBCSYSINI=") + ruta("odbcsys")},
         2,
         "la biblioteca /no/existe/libmaodbc.so del controlador «MariaDB Unicode» no se puede "
         "cargar"},
        {"Orvane.ini ajeno en una carpeta pegajosa",
         "orvane-pegajosa",
         {QStringLiteral("--impresora"), QStringLiteral("Otra")},
         {},
         2,
         "la carpeta tiene el bit sticky"},
        // A link to a file yet to be made in root's folder: nothing any check can see; the
        // write fails after the other files were written.
        {"Orvane.ini enlazado a una carpeta de root",
         "orvane-enlazada",
         {QStringLiteral("--impresora"), QStringLiteral("Otra")},
         {},
         1,
         "Se dejaron todos los archivos como estaban."},
    };
    ASSERT_EQ(::chown(QFile::encodeName(ruta("orvane/Orvane.ini")).constData(), 0, 0), 0);
    const QMap<QString, QByteArray> antes = todo();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nombre);
        const Salida s = configura(c.carpeta, c.opciones, true, c.entorno);
        EXPECT_EQ(s.codigo, c.codigo) << qPrintable(s.salida + s.errores);
        EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.motivo))) << qPrintable(s.errores);
        EXPECT_FALSE(s.errores.contains(QStringLiteral("Permission denied")));
        const QMap<QString, QByteArray> despues = todo();
        EXPECT_EQ(despues.keys(), antes.keys());
        for (auto a = antes.begin(); a != antes.end(); ++a) {
            EXPECT_EQ(despues.value(a.key()), a.value()) << qPrintable(a.key());
        }
    }
}

// Each file of the clerk's own set-up that the clerk can no longer write is named before
// anything is written, and every file stays as it was.
TEST_F(ConfiguraOtraCuenta, UnArchivoDeLaCuentaQueNoPuedeEscribirSeNombraSinTocarNada) {
    const Salida primera =
        configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Remisiones")});
    ASSERT_EQ(primera.codigo, 0) << qPrintable(primera.errores);
    for (const char* archivo : {"cajero/.odbc.ini", "cajero/programa/DeRemisiones.ini",
                                "cajero/.config/Orvane/instalaciones.ini"}) {
        SCOPED_TRACE(archivo);
        ASSERT_TRUE(QFileInfo::exists(ruta(archivo)));
        cambiaDueno(ruta(archivo), 0, 0644);
        const QMap<QString, QByteArray> antes = todo();
        const Salida s =
            configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Otra")});
        EXPECT_EQ(s.codigo, 2) << qPrintable(s.salida + s.errores);
        EXPECT_TRUE(s.errores.contains(QFileInfo(ruta(archivo)).fileName()))
            << qPrintable(s.errores);
        EXPECT_TRUE(s.errores.contains(QStringLiteral("no puede escribir")))
            << qPrintable(s.errores);
        EXPECT_EQ(todo(), antes);
        cambiaDueno(ruta(archivo), cajero, 0644);
    }
}

// Root configures its own account only; the clerk's host folder file keeps its owner and mode.
TEST_F(ConfiguraOtraCuenta, RootNoSeQuedaConLosArchivosDeLosCajeros) {
    ASSERT_EQ(
        configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Remisiones")}).codigo,
        0);
    const QString orvane = ruta("orvane/Orvane.ini");
    cambiaDueno(orvane, kCajero, 0664);
    const Salida s =
        configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Otra")}, false);
    ASSERT_EQ(s.codigo, 0) << qPrintable(s.errores);
    EXPECT_TRUE(s.salida.contains(QStringLiteral("se configuró sólo la cuenta root")));
    EXPECT_TRUE(s.salida.contains(QStringLiteral("sudo -u CAJERO deremisiones configura")));
    // Not given, the archive database is not in the advice.
    EXPECT_FALSE(s.salida.contains(QStringLiteral("--resguardo"))) << qPrintable(s.salida);
    struct stat datos {};
    ASSERT_EQ(::stat(QFile::encodeName(orvane).constData(), &datos), 0);
    EXPECT_EQ(datos.st_uid, kCajero);
    EXPECT_EQ(datos.st_mode & 07777, 0664u);
    QFile f(orvane);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("fmtremision.rpt=Otra"));
    // Root's own files are in root's folders, not in the clerk's.
    EXPECT_TRUE(QFile::exists(ruta("root/.odbc.ini")));
}

// verifica, run by the clerk, fails the host folder the clerk cannot write, in configura's
// words.
TEST_F(ConfiguraOtraCuenta, VerificaFallaLaCarpetaQueElCajeroNoPuedeEscribir) {
    ASSERT_EQ(configura("orvane").codigo, 0);
    cambiaDueno(ruta("orvane"), 0, 0755);
    const Salida configuraDice = configura("orvane");
    EXPECT_EQ(configuraDice.codigo, 2);
    const Salida verificaDice = corre({QStringLiteral("verifica")});
    EXPECT_EQ(verificaDice.codigo, 1);
    const QString linea = QStringLiteral("Carpeta de Orvane (%1): MAL: ").arg(ruta("orvane")) +
                          configuraDice.errores.trimmed();
    EXPECT_TRUE(verificaDice.salida.contains(linea)) << qPrintable(verificaDice.salida);
}

// Root's advice for a clerk carries every option root gave, so that it works as given.
TEST_F(ConfiguraOtraCuenta, ElConsejoDeRootLlevaTodasLasOpciones) {
    const Salida s = configura("orvane",
                               {QStringLiteral("--resguardo"), QStringLiteral("otro_resguardo"),
                                QStringLiteral("--impresora"), QStringLiteral("Cola de caja")},
                               false);
    ASSERT_EQ(s.codigo, 0) << qPrintable(s.errores);
    const BasesDD& b = base.bases();
    for (const QString& parte :
         {QStringLiteral("sudo -u CAJERO deremisiones configura --carpeta-orvane ") +
              ruta("orvane"),
          QStringLiteral("--servidor ") + b.cRuta, QStringLiteral("--puerto %1").arg(b.cPuerto),
          QStringLiteral("--usuario ") + usuario(), QStringLiteral("--base ") + base.nombre(),
          QStringLiteral("--resguardo otro_resguardo"),
          QStringLiteral("--impresora 'Cola de caja'"),
          QStringLiteral("--plantillas ") + QStringLiteral(DEREMISIONES_PLANTILLAS),
          QStringLiteral("runuser -u CAJERO -- deremisiones configura")}) {
        EXPECT_TRUE(s.salida.contains(parte)) << qPrintable(parte + QLatin1Char('\n') + s.salida);
    }
}

// Root with a clerk's home (sudo -E) writes nothing there: configura says how to configure the
// clerk, verifica and the jobs refuse before they start and say how to run them as the clerk.
TEST_F(ConfiguraOtraCuenta, RootConLaCasaDeUnCajeroNoEscribeNada) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 501}});
    ASSERT_EQ(configura("orvane").codigo, 0);
    const QString casa = ruta("cajero");
    const QStringList conLaCasa = {
        QStringLiteral("HOME=") + casa,
        QStringLiteral("XDG_CONFIG_HOME=") + casa + QStringLiteral("/.config"),
        QStringLiteral("XDG_DATA_HOME=") + casa + QStringLiteral("/.local/share"),
        QStringLiteral("ODBCINI=") + casa + QStringLiteral("/.odbc.ini"),
        QStringLiteral("DEREMISIONES_CARPETA=") + casa + QStringLiteral("/programa")};
    const QStringList tope = {
        QStringLiteral("tope"),    QStringLiteral("--desde"),    QStringLiteral("02/11/2026"),
        QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--tope"),
        QStringLiteral("100"),     QStringLiteral("--folio"),    QStringLiteral("1500"),
        QStringLiteral("--serie"), QStringLiteral("A")};
    const struct {
        QStringList argumentos;
        const char* orden; // as the advice gives it
    } casos[] = {
        {{}, "sudo -u nobody deremisiones configura"},
        {{QStringLiteral("verifica")}, "sudo -u nobody deremisiones verifica"},
        {tope, "sudo -u nobody deremisiones tope --desde 02/11/2026"},
    };
    const QMap<QString, QByteArray> antes = todo();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.orden);
        const Salida s = c.argumentos.isEmpty() ? configura("orvane", {}, false, conLaCasa)
                                                : corre(c.argumentos, false, conLaCasa);
        EXPECT_EQ(s.codigo, 2) << qPrintable(s.salida);
        EXPECT_FALSE(s.salida.contains(QStringLiteral("correcto"))) << qPrintable(s.salida);
        EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.orden))) << qPrintable(s.errores);
        EXPECT_TRUE(s.errores.contains(QStringLiteral("runuser -u nobody --")))
            << qPrintable(s.errores);
        EXPECT_EQ(todo(), antes);
    }
    // The same job run by the clerk works, without XDG_RUNTIME_DIR (as from cron): nothing
    // appears outside the program folder, in the system's temporary folder or elsewhere.
    QDir(dir.path()).mkdir(QStringLiteral("tmp"));
    cambiaDueno(ruta("tmp"), 0, 01777);
    const auto fueraDelPrograma = [this] {
        QMap<QString, QByteArray> fuera = todo();
        fuera.removeIf(
            [this](const auto& a) { return a.key().startsWith(ruta("cajero/programa")); });
        return fuera;
    };
    const QMap<QString, QByteArray> antesDelCajero = fueraDelPrograma();
    const Salida delCajero = corre(tope, true, {QStringLiteral("TMPDIR=") + ruta("tmp")});
    EXPECT_EQ(delCajero.codigo, 0) << qPrintable(delCajero.errores);
    EXPECT_EQ(fueraDelPrograma().keys(), antesDelCajero.keys());
}

// A file of the clerk's folder that another account took (a run as root before): the job names
// the file, its owner and the chown that gives it back.
TEST_F(ConfiguraOtraCuenta, UnArchivoAjenoSeNombraConSuDuenoYElChown) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0, QStringLiteral("A"), 501}});
    ASSERT_EQ(configura("orvane").codigo, 0);
    const QString lista = ruta("cajero/programa/ListaRemisiones.txt");
    QFile archivo(lista);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.close();
    cambiaDueno(lista, 0, 0644);
    const Salida s =
        corre({QStringLiteral("tope"), QStringLiteral("--desde"), QStringLiteral("02/11/2026"),
               QStringLiteral("--hasta"), QStringLiteral("02/11/2026"), QStringLiteral("--tope"),
               QStringLiteral("100"), QStringLiteral("--folio"), QStringLiteral("1500"),
               QStringLiteral("--serie"), QStringLiteral("A")});
    EXPECT_EQ(s.codigo, 1);
    EXPECT_TRUE(s.errores.contains(QStringLiteral("es de la cuenta «root»")))
        << qPrintable(s.errores);
    EXPECT_TRUE(s.errores.contains(QStringLiteral("sudo chown nobody: ") + lista))
        << qPrintable(s.errores);
}

// A host folder given to the clerks' group, setgid: what the first clerk's configura makes there
// is the group's, so a second clerk's configura changes it with no chmod.
TEST_F(ConfiguraOtraCuenta, EnUnaCarpetaDeGrupoElSegundoCajeroTambienConfigura) {
    QDir(dir.path()).mkdir(QStringLiteral("compartida"));
    const QByteArray compartida = QFile::encodeName(ruta("compartida"));
    ASSERT_EQ(::chown(compartida.constData(), 0, kCajero), 0);
    ASSERT_EQ(::chmod(compartida.constData(), 02775), 0);
    const Salida primero =
        configura("compartida", {QStringLiteral("--impresora"), QStringLiteral("Remisiones")});
    ASSERT_EQ(primero.codigo, 0) << qPrintable(primero.errores);
    struct stat datos {};
    ASSERT_EQ(::stat(QFile::encodeName(ruta("compartida/Orvane.ini")).constData(), &datos), 0);
    EXPECT_EQ(datos.st_gid, kCajero);
    EXPECT_EQ(datos.st_mode & 0060, 0060u);

    // The second clerk: another account of the same group, with a home of its own.
    cajero = 12345;
    QDir(ruta("cajero")).removeRecursively();
    QDir(dir.path()).mkdir(QStringLiteral("cajero"));
    ASSERT_EQ(::chown(QFile::encodeName(ruta("cajero")).constData(), cajero, kCajero), 0);
    const Salida segundo =
        configura("compartida", {QStringLiteral("--impresora"), QStringLiteral("Otra")});
    ASSERT_EQ(segundo.codigo, 0) << qPrintable(segundo.errores);
    QFile f(ruta("compartida/Orvane.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("fmtremision.rpt=Otra"));
}

// A folder with the sticky bit holding another account's Orvane.ini: verifica fails it with the
// words configura --impresora refuses it with, not «correcto».
TEST_F(ConfiguraOtraCuenta, VerificaYConfiguraCoincidenEnUnaCarpetaPegajosa) {
    QDir(dir.path()).mkdir(QStringLiteral("pegajosa"));
    cambiaDueno(ruta("pegajosa"), 0, 01777);
    QFile ini(ruta("pegajosa/Orvane.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();
    cambiaDueno(ruta("pegajosa/Orvane.ini"), 0, 0666);
    ASSERT_EQ(configura("pegajosa").codigo, 0);
    const Salida configuraDice =
        configura("pegajosa", {QStringLiteral("--impresora"), QStringLiteral("Otra")});
    EXPECT_EQ(configuraDice.codigo, 2);
    EXPECT_TRUE(configuraDice.errores.contains(QStringLiteral("bit sticky")));
    const Salida verificaDice = corre({QStringLiteral("verifica")});
    EXPECT_EQ(verificaDice.codigo, 1);
    const QString linea = QStringLiteral("Carpeta de Orvane (%1): MAL: ").arg(ruta("pegajosa")) +
                          configuraDice.errores.trimmed();
    EXPECT_TRUE(verificaDice.salida.contains(linea)) << qPrintable(verificaDice.salida);
}

// Folders of the clerk's home that root took (an earlier run with the clerk's HOME): one refusal
// names the command for each, and after them configura works.
TEST_F(ConfiguraOtraCuenta, UnRechazoNombraCadaOrdenQueLoArregla) {
    const QStringList tomadas = {ruta("cajero/.config"), ruta("cajero/programa")};
    for (const QString& carpeta : tomadas) {
        ASSERT_TRUE(QDir().mkpath(carpeta));
        cambiaDueno(carpeta, 0, 0755);
    }
    const Salida rechazada = configura("orvane");
    EXPECT_EQ(rechazada.codigo, 2);
    for (const QString& carpeta : tomadas) {
        EXPECT_TRUE(rechazada.errores.contains(QStringLiteral("sudo chown -R nobody: ") + carpeta))
            << qPrintable(rechazada.errores);
        cambiaDueno(carpeta, kCajero, 0755);
    }
    const Salida arreglada = configura("orvane");
    EXPECT_EQ(arreglada.codigo, 0) << qPrintable(arreglada.errores);
}

} // namespace
