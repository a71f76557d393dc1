// configura as root runs it for the clerks: only root's own account is configured, its advice
// repeats what root gave, and with a clerk's home nothing is written.

#include "ConfiguraOtraCuenta.h"
#include "apoyo/NotasDePrueba.h"

namespace {

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

// Root's advice for a clerk repeats exactly the options root gave, so that it works as given:
// none that root left out (the port, the archive database), and those root gave even with the
// values they have when left out.
TEST_F(ConfiguraOtraCuenta, ElConsejoDeRootRepiteLasOpcionesDadas) {
    const BasesDD& b = base.bases();
    const QString instaladas =
        QDir::cleanPath(QFileInfo(QStringLiteral(DEREMISIONES_EJECUTABLE)).absolutePath() +
                        QStringLiteral("/../share/deremisiones/plantillas"));
    const QString siempre =
        QStringLiteral("--carpeta-orvane %1 --servidor %2 --puerto %3 --usuario %4 --base %5")
            .arg(ruta("orvane"), b.cRuta)
            .arg(b.cPuerto)
            .arg(usuario(), base.nombre());
    const struct {
        const char* caso;
        QStringList mas;    // given after the fixture's own options
        QString plantillas; // --plantillas given, or none
        QString opciones;   // the advice's options after --base
    } casos[] = {
        {"resguardo e impresora",
         {QStringLiteral("--resguardo"), QStringLiteral("otro_resguardo"),
          QStringLiteral("--impresora"), QStringLiteral("Cola de caja")},
         QStringLiteral(DEREMISIONES_PLANTILLAS),
         QStringLiteral(" --resguardo otro_resguardo --impresora 'Cola de caja' --plantillas ") +
             QStringLiteral(DEREMISIONES_PLANTILLAS)},
        {"valores de omisión dados",
         {QStringLiteral("--resguardo"), QStringLiteral("datos2")},
         instaladas,
         QStringLiteral(" --resguardo datos2 --plantillas ") + instaladas},
        {"sin opciones de más", {}, QString(), QString()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const Salida s = configura("orvane", c.mas, false, {}, c.plantillas);
        ASSERT_EQ(s.codigo, 0) << qPrintable(s.errores);
        const QString orden = QStringLiteral("deremisiones configura ") + siempre + c.opciones;
        for (const QString& forma :
             {QStringLiteral("sudo -u CAJERO ") + orden + QStringLiteral(" (donde"),
              QStringLiteral("runuser -u CAJERO -- ") + orden + QStringLiteral(")")}) {
            EXPECT_TRUE(s.salida.contains(forma))
                << qPrintable(forma + QLatin1Char('\n') + s.salida);
        }
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

} // namespace
