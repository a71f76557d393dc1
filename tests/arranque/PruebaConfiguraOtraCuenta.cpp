// configura, verifica and a job as a store's clerk meets them, each account with its own folders.

#include "ConfiguraOtraCuenta.h"
#include "apoyo/NotasDePrueba.h"

namespace {

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

// configura without --impresora and verifica give the host folder one verdict in the same
// words: a folder with the sticky bit of another account (like /tmp) is refused by both,
// whether or not it holds a file yet; one of the clerk's own, or an Orvane.ini the clerk only
// reads, passes both.
TEST_F(ConfiguraOtraCuenta, VerificaYConfiguraCoincidenEnUnaCarpetaPegajosa) {
    ASSERT_EQ(configura("orvane").codigo, 0);
    const QString ini = ruta("orvane/Orvane.ini");
    const struct {
        const char* caso;
        uid_t duenoDeLaCarpeta;
        mode_t modo;
        bool conIniDeRoot; // an Orvane.ini of root's, that every account may write
        bool sirve;
    } casos[] = {
        {"pegajosa de root con Orvane.ini ajeno", 0, 01777, true, false},
        {"pegajosa de root vacía", 0, 01777, false, false},
        {"pegajosa del cajero", kCajero, 01777, true, true},
        {"Orvane.ini de root en la carpeta del cajero", kCajero, 0755, true, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QFile::remove(ini);
        if (c.conIniDeRoot) {
            QFile archivo(ini);
            ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
            archivo.close();
            cambiaDueno(ini, 0, c.modo == 0755 ? 0644 : 0666);
        }
        cambiaDueno(ruta("orvane"), c.duenoDeLaCarpeta, c.modo);
        const Salida configuraDice = configura("orvane");
        EXPECT_EQ(configuraDice.codigo, c.sirve ? 0 : 2) << qPrintable(configuraDice.errores);
        const QString lugar = QStringLiteral("Carpeta de Orvane (%1): ").arg(ruta("orvane"));
        const Salida verificaDice = corre({QStringLiteral("verifica")});
        if (c.sirve) {
            EXPECT_TRUE(verificaDice.salida.contains(lugar + QStringLiteral("correcto\n")))
                << qPrintable(verificaDice.salida);
            continue;
        }
        EXPECT_TRUE(configuraDice.errores.contains(QStringLiteral("la carpeta tiene el bit sticky "
                                                                  "y es de otra cuenta")))
            << qPrintable(configuraDice.errores);
        EXPECT_EQ(verificaDice.codigo, 1);
        EXPECT_TRUE(verificaDice.salida.contains(lugar + QStringLiteral("MAL: ") +
                                                 configuraDice.errores.trimmed()))
            << qPrintable(verificaDice.salida);
        // With --impresora the refusal is the same.
        const Salida conImpresora =
            configura("orvane", {QStringLiteral("--impresora"), QStringLiteral("Otra")});
        EXPECT_EQ(conImpresora.errores, configuraDice.errores);
    }
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
