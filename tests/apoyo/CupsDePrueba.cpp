#include "apoyo/CupsDePrueba.h"

#include "apoyo/Espera.h"

#include <QDir>
#include <QFile>
#include <cups/cups.h>
#include <unistd.h>

namespace {

void escribe(const QString& ruta, const QString& texto) {
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly)) {
        f.write(texto.toUtf8());
    }
}

} // namespace

CupsDePrueba::CupsDePrueba() {
    servidorAntes_ = qgetenv("CUPS_SERVER");
    const QDir d(dir_.path());
    for (const char* carpeta : {"spool", "cache", "state", "log", "etc/ppd", "etc/ssl"}) {
        d.mkpath(QString::fromLatin1(carpeta));
    }
    // The scheduler's account writes the queues' files: it gets the scratch folder.
    QFile::setPermissions(dir_.path(), QFileDevice::Permissions(0x7777));
    const QString socket = d.filePath(QStringLiteral("cups.sock"));
    escribe(d.filePath(QStringLiteral("etc/cupsd.conf")),
            QStringLiteral("Listen %1\nLogLevel warn\nBrowsing No\nDefaultAuthType None\n"
                           "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                           "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n"
                           "</Policy>\n")
                .arg(socket));
    // Root's scheduler hands its work to an unprivileged account; another's keeps its own.
    const bool root = ::geteuid() == 0;
    const QString cuenta = root ? QStringLiteral("nobody") : qEnvironmentVariable("USER");
    escribe(d.filePath(QStringLiteral("etc/cups-files.conf")),
            QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool\n"
                           "CacheDir %1/cache\nStateDir %1/state\nAccessLog %1/log/access_log\n"
                           "ErrorLog %1/log/error_log\nPageLog %1/log/page_log\n"
                           "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\nFileDevice Yes\n"
                           "User %2\n%3")
                .arg(dir_.path(), cuenta, root ? QStringLiteral("Group nogroup\n") : QString()));
    cupsd_.start(QStringLiteral("/usr/sbin/cupsd"),
                 {QStringLiteral("-f"), QStringLiteral("-c"),
                  d.filePath(QStringLiteral("etc/cupsd.conf")), QStringLiteral("-s"),
                  d.filePath(QStringLiteral("etc/cups-files.conf"))});
    qputenv("CUPS_SERVER", QFile::encodeName(socket));
    // libcups keeps the address it read first: it reads it again.
    cupsSetServer(nullptr);
    enMarcha_ =
        cupsd_.waitForStarted() &&
        EsperaHasta([&] { return Orden(QStringLiteral("lpstat"), {QStringLiteral("-r")}); }, 15000);
}

CupsDePrueba::~CupsDePrueba() {
    Detiene();
    if (servidorAntes_.isNull()) {
        qunsetenv("CUPS_SERVER");
    } else {
        qputenv("CUPS_SERVER", servidorAntes_);
    }
    cupsSetServer(nullptr);
}

bool CupsDePrueba::Orden(const QString& programa, const QStringList& argumentos) {
    QProcess orden;
    orden.start(programa, argumentos);
    return orden.waitForFinished(20000) && orden.exitStatus() == QProcess::NormalExit &&
           orden.exitCode() == 0 && !orden.readAllStandardOutput().contains("not running");
}

bool CupsDePrueba::AgregaCola(const QString& nombre) {
    return Orden(QStringLiteral("lpadmin"),
                 {QStringLiteral("-p"), nombre, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("file:///dev/null")});
}

bool CupsDePrueba::AgregaColaQueFalla(const QString& nombre) {
    const QString ppd = QDir(dir_.path()).filePath(QStringLiteral("falla.ppd"));
    escribe(ppd,
            QStringLiteral("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                           "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
                           "*PCFileName: \"FALLA.PPD\"\n*Manufacturer: \"Prueba\"\n"
                           "*Product: \"(Falla)\"\n*ModelName: \"Falla\"\n"
                           "*ShortNickName: \"Falla\"\n*NickName: \"Falla\"\n"
                           "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n"
                           "*ColorDevice: False\n*DefaultColorSpace: Gray\n"
                           "*FileSystem: False\n*Throughput: \"1\"\n"
                           "*cupsFilter: \"application/pdf 0 /bin/false\"\n"
                           "*cupsFilter: \"application/vnd.cups-pdf 0 /bin/false\"\n"
                           "*cupsFilter: \"application/postscript 0 /bin/false\"\n"
                           "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Letter\n"
                           "*PageSize Letter: \"\"\n*CloseUI: *PageSize\n"
                           "*DefaultImageableArea: Letter\n"
                           "*ImageableArea Letter: \"0 0 612 792\"\n"
                           "*DefaultPaperDimension: Letter\n"
                           "*PaperDimension Letter: \"612 792\"\n"));
    return Orden(QStringLiteral("lpadmin"),
                 {QStringLiteral("-p"), nombre, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("file:///dev/null"), QStringLiteral("-P"), ppd});
}

CupsDePrueba::Cuentas CupsDePrueba::CuentasDe(const QString& cola) {
    Cuentas cuentas;
    cups_job_t* trabajos = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &trabajos, cola.toUtf8().constData(), 0,
                               CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i) {
        const ipp_jstate_t e = trabajos[i].state;
        cuentas.terminados += e == IPP_JSTATE_COMPLETED ? 1 : 0;
        cuentas.esperando += e <= IPP_JSTATE_PROCESSING ? 1 : 0;
        cuentas.fallidos += e > IPP_JSTATE_PROCESSING && e < IPP_JSTATE_COMPLETED ? 1 : 0;
    }
    cupsFreeJobs(n, trabajos);
    return cuentas;
}

int CupsDePrueba::Trabajos(const QString& cola) {
    QProcess lista;
    lista.start(QStringLiteral("lpstat"),
                {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), cola});
    if (!lista.waitForFinished(20000)) {
        return -1;
    }
    return static_cast<int>(lista.readAllStandardOutput().count('\n'));
}

void CupsDePrueba::Detiene() {
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(10000)) {
            cupsd_.kill();
            cupsd_.waitForFinished();
        }
    }
    // The socket's name stays: a client finds nobody there, as with a stopped service.
    enMarcha_ = false;
}
