#include "arranque/RevisionDeTienda.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/DelRegistro.h"
#include "servicios/Proceso.h"
#include "tienda/ControladoresOdbc.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QStringList kPlantillas = {QStringLiteral("fmtRemision.rpt"), QStringLiteral("Auxiliar.MDB")};

// "dueño «ana», permisos rwxr-x---" of an existing file or folder.
QString duenoYPermisos(const QFileInfo& info) {
    const QFileDevice::Permissions p = info.permissions();
    const struct {
        QFileDevice::Permission bit;
        char letra;
    } bits[] = {{QFileDevice::ReadOwner, 'r'},  {QFileDevice::WriteOwner, 'w'},
                {QFileDevice::ExeOwner, 'x'},   {QFileDevice::ReadGroup, 'r'},
                {QFileDevice::WriteGroup, 'w'}, {QFileDevice::ExeGroup, 'x'},
                {QFileDevice::ReadOther, 'r'},  {QFileDevice::WriteOther, 'w'},
                {QFileDevice::ExeOther, 'x'}};
    QString texto;
    for (const auto& b : bits) {
        texto += p.testFlag(b.bit) ? QLatin1Char(b.letra) : QLatin1Char('-');
    }
    return QStringLiteral("dueño «%1», grupo «%2», permisos %3")
        .arg(info.owner(), info.group(), texto);
}

// The nearest folder that exists, of the folder or those above it.
QString primeraQueExiste(const QString& carpeta) {
    QString c = QDir::cleanPath(QDir(carpeta).absolutePath());
    while (!QFileInfo::exists(c) && c != QFileInfo(c).absolutePath()) {
        c = QFileInfo(c).absolutePath();
    }
    return c;
}

// A folder of the account's own home that another account took (a run as root with this
// home): how to give it back. Elsewhere the caller says how.
QString devuelvela(const QString& carpeta) {
    const QString casa = QDir::cleanPath(QDir::homePath());
    const QString c = QDir::cleanPath(QDir(carpeta).absolutePath());
    if (c == casa || !c.startsWith(casa + QLatin1Char('/'))) {
        return {};
    }
    return QStringLiteral(" Devuélvasela: sudo chown -R %1: %2").arg(RevisionDeTienda::Cuenta(), c);
}

// "" when this account can write files in the folder, or make it.
QString carpetaEscribible(const QString& carpeta) {
    const QFileInfo info(carpeta);
    if (info.exists() && !info.isDir()) {
        return QStringLiteral("%1 no es una carpeta.").arg(carpeta);
    }
    if (info.exists()) {
        return info.isWritable()
                   ? QString()
                   : QStringLiteral("la cuenta «%1» no puede escribir en la carpeta "
                                    "%2 (%3).")
                             .arg(RevisionDeTienda::Cuenta(), carpeta, duenoYPermisos(info)) +
                         devuelvela(carpeta);
    }
    const QFileInfo arriba(primeraQueExiste(carpeta));
    if (arriba.isDir() && arriba.isWritable()) {
        return {};
    }
    return QStringLiteral("la carpeta %1 no existe y la cuenta «%2» no puede crearla en %3 (%4).")
               .arg(carpeta, RevisionDeTienda::Cuenta(), arriba.filePath(),
                    duenoYPermisos(arriba)) +
           devuelvela(arriba.filePath());
}

#ifdef Q_OS_UNIX
// Whether the folder has the sticky bit and is another account's (like /tmp): there each
// account may replace or remove only its own files. Root may anything.
bool pegajosaDeOtraCuenta(const QString& carpeta) {
    struct stat datos {};
    const uid_t yo = ::geteuid();
    return ::stat(QFile::encodeName(carpeta).constData(), &datos) == 0 &&
           (datos.st_mode & S_ISVTX) != 0 && yo != 0 && datos.st_uid != yo;
}
#endif

// "" when this account may replace the existing file; in a folder with the sticky bit only the
// file's owner, the folder's or root may.
QString reemplazable(const QFileInfo& info) {
#ifdef Q_OS_UNIX
    if (info.exists() && pegajosaDeOtraCuenta(info.absolutePath()) &&
        info.ownerId() != ::geteuid()) {
        return QStringLiteral(
                   "la cuenta «%1» no puede reemplazar %2 (%3): la carpeta tiene el "
                   "bit sticky y sólo deja reemplazar sus archivos a su dueño. Quíteselo "
                   "(sudo chmod -t %4) y dé la carpeta a un grupo.")
            .arg(RevisionDeTienda::Cuenta(), info.filePath(), duenoYPermisos(info),
                 info.absolutePath());
    }
#endif
    return {};
}

// "" unless the folder has the sticky bit and is another account's: the global-invoice list or
// Orvane.ini one clerk leaves there, another could not change.
QString pegajosaAjena(const QString& carpeta) {
#ifdef Q_OS_UNIX
    if (pegajosaDeOtraCuenta(carpeta)) {
        return QStringLiteral("la carpeta tiene el bit sticky y es de otra cuenta (%1): en ella "
                              "cada cuenta sólo puede reemplazar o borrar sus propios archivos, "
                              "y la lista de la factura global (RdRpFG.txt) u Orvane.ini que "
                              "deje una cuenta no los podría cambiar otra. Quítele el bit "
                              "sticky (sudo chmod -t %2).")
            .arg(duenoYPermisos(QFileInfo(carpeta)), carpeta);
    }
#endif
    return {};
}

} // namespace

QString RevisionDeTienda::Cuenta() {
#ifdef Q_OS_UNIX
    if (const passwd* cuenta = ::getpwuid(::geteuid()); cuenta != nullptr) {
        return QString::fromLocal8Bit(cuenta->pw_name);
    }
#endif
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

uint RevisionDeTienda::IdDeLaCuenta() {
#ifdef Q_OS_UNIX
    return ::geteuid();
#else
    return static_cast<uint>(-2);
#endif
}

bool RevisionDeTienda::EsRoot() {
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

QString RevisionDeTienda::ParaLaTerminal(const QString& valor) {
    static const QRegularExpression simple(QStringLiteral("^[A-Za-z0-9_./:@%+=,-]+$"));
    if (simple.match(valor).hasMatch()) {
        return valor;
    }
    return QLatin1Char('\'') + QString(valor).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
           QLatin1Char('\'');
}

QString RevisionDeTienda::ComoLaCuenta(const QString& cuenta, const QString& orden) {
    return QStringLiteral("sudo -u %1 %2 (donde no hay sudo, como root: runuser -u %1 -- %2)")
        .arg(cuenta, orden);
}

QString RevisionDeTienda::OtraCasa(const QString& orden) {
    const QString dueno = DuenoDeOtraCasa();
    if (dueno.isEmpty()) {
        return {};
    }
    return QStringLiteral("La cuenta «%1» se ejecuta con la carpeta personal (HOME=%2) de la "
                          "cuenta «%3» (por ejemplo con sudo -E): mezclaría los archivos de «%3» "
                          "con los suyos y dejaría en manos de «%1» los que escribiera. No se "
                          "hizo nada. Ejecute la orden con la cuenta «%3»: %4")
        .arg(Cuenta(), QDir::homePath(), dueno, ComoLaCuenta(dueno, orden));
}

QString RevisionDeTienda::DuenoDeOtraCasa() {
#ifdef Q_OS_UNIX
    struct stat casa {};
    if (::stat(QFile::encodeName(QDir::homePath()).constData(), &casa) != 0 ||
        casa.st_uid == ::geteuid()) {
        return {};
    }
    if (const passwd* dueno = ::getpwuid(casa.st_uid); dueno != nullptr) {
        return QString::fromLocal8Bit(dueno->pw_name);
    }
    return QString::number(casa.st_uid);
#else
    return {};
#endif
}

QString RevisionDeTienda::ArchivoEscribible(const QString& archivo, const QString& descripcion) {
    const QFileInfo info(archivo);
    // The file is replaced whole through a new one beside it: its folder must take files.
    QString motivo = carpetaEscribible(info.absolutePath());
    if (motivo.isEmpty() && info.exists() && !info.isWritable()) {
        motivo = QStringLiteral("la cuenta «%1» no puede escribirlo (%2). Devuélvaselo: sudo "
                                "chown %1: %3")
                     .arg(Cuenta(), duenoYPermisos(info), archivo);
    }
    if (motivo.isEmpty()) {
        motivo = reemplazable(info);
    }
    return motivo.isEmpty() ? QString()
                            : QStringLiteral("%1 (%2): %3").arg(descripcion, archivo, motivo);
}

QVector<RevisionDeTienda::Revision> RevisionDeTienda::Archivos(const QString& carpetaOrvane,
                                                               bool escribeOrvaneIni) {
    return {
        {Pieza::CarpetaDeOrvane, CarpetaDeOrvane(carpetaOrvane, escribeOrvaneIni)},
        {Pieza::Programa,
         ArchivoEscribible(
             QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("DeRemisiones.ini")),
             QStringLiteral("La configuración del programa"))},
        {Pieza::Instalaciones, ArchivoEscribible(DelRegistro::ArchivoDeInstalaciones(),
                                                 QStringLiteral("El registro de instalaciones"))},
        {Pieza::Origenes, ArchivoEscribible(DelRegistro::ArchivoDeOrigenesOdbc(),
                                            QStringLiteral("El archivo de orígenes ODBC"))},
    };
}

QString RevisionDeTienda::Problema(const QVector<Revision>& revisiones, Pieza pieza) {
    for (const Revision& r : revisiones) {
        if (r.pieza == pieza) {
            return r.problema;
        }
    }
    return {};
}

QString RevisionDeTienda::ComoCompartir(const QString& carpeta) {
    // Several clerks share the host folder: a group of theirs owns it, kept by setgid.
    return QStringLiteral(" Si varias cuentas usan el programa en este equipo, dé la carpeta a un "
                          "grupo de todas ellas: %1sudo chgrp -R GRUPO %2 && sudo chmod 2775 %2 "
                          "&& sudo chmod -R g+rw %2")
        .arg(QFileInfo::exists(carpeta) ? QString()
                                        : QStringLiteral("sudo mkdir -p %1 && ").arg(carpeta),
             carpeta);
}

QString RevisionDeTienda::CarpetaDeOrvane(const QString& carpeta, bool escribeOrvaneIni) {
    const QString comoCompartirla = ComoCompartir(carpeta);
    if (const QString motivo = carpetaEscribible(carpeta); !motivo.isEmpty()) {
        return QStringLiteral("La carpeta de Orvane no sirve: ") + motivo +
               QStringLiteral(" Ahí se dejan Orvane.ini y la lista de la factura global.") +
               comoCompartirla;
    }
    // Whether or not the printer is written now, every clerk's jobs write in the folder.
    if (const QString motivo = pegajosaAjena(carpeta); !motivo.isEmpty()) {
        return QStringLiteral("La carpeta de Orvane no sirve: ") + motivo + comoCompartirla;
    }
    const QFileInfo ini(QDir(carpeta).filePath(QStringLiteral("Orvane.ini")));
    if (ini.exists() && !ini.isReadable()) {
        return QStringLiteral("La cuenta «%1» no puede leer %2 (%3).")
                   .arg(Cuenta(), ini.filePath(), duenoYPermisos(ini)) +
               comoCompartirla;
    }
    if (escribeOrvaneIni && ini.exists() && !ini.isWritable()) {
        return QStringLiteral("La cuenta «%1» no puede escribir %2 (%3), donde se guarda la "
                              "impresora.")
                   .arg(Cuenta(), ini.filePath(), duenoYPermisos(ini)) +
               comoCompartirla;
    }
    return {};
}

QString RevisionDeTienda::Controlador(QString* nombre) {
    const QString controlador = ControladoresOdbc::DeMariaDB();
    if (nombre != nullptr) {
        *nombre = controlador;
    }
    if (controlador.isEmpty()) {
        return QStringLiteral("No hay un controlador ODBC de MariaDB o MySQL en %1: instale el "
                              "paquete odbc-mariadb (sudo apt install odbc-mariadb).")
            .arg(ControladoresOdbc::Archivo());
    }
    QString motivo;
    if (!ControladoresOdbc::Utilizable(controlador, &motivo)) {
        return QStringLiteral("El controlador ODBC no sirve: %1. Reinstale el paquete "
                              "odbc-mariadb (sudo apt install --reinstall odbc-mariadb) o corrija "
                              "la línea Driver= de «%2» en %3.")
            .arg(motivo, controlador, ControladoresOdbc::Archivo());
    }
    return {};
}

QString RevisionDeTienda::Permisos(const QVector<PermisosDeLaTienda::Falta>& faltas,
                                   bool conFacturas, const QString& usuario,
                                   const QString& cuenta) {
    QVector<PermisosDeLaTienda::Falta> necesarias;
    QStringList lineas;
    for (const PermisosDeLaTienda::Falta& f : faltas) {
        if (!f.soloFactura || conFacturas) {
            necesarias << f;
            lineas << QStringLiteral("  ") + f.que + QStringLiteral(" (") + f.error +
                          QLatin1Char(')');
        }
    }
    if (necesarias.isEmpty()) {
        return {};
    }
    return QStringLiteral("Al usuario '%1' le faltan estos permisos:\n%2\nDéselos con:\n%3")
        .arg(usuario, lineas.join(QLatin1Char('\n')),
             PermisosDeLaTienda::Concesiones(necesarias, cuenta));
}

QString
RevisionDeTienda::PermisosSoloParaFacturas(const QVector<PermisosDeLaTienda::Falta>& faltas) {
    QStringList que;
    for (const PermisosDeLaTienda::Falta& f : faltas) {
        if (f.soloFactura) {
            que << f.que;
        }
    }
    return que.isEmpty() ? QString()
                         : QStringLiteral("faltan permisos solo para facturas («Generar facturas "
                                          "por remisiones», que el menú no muestra): ") +
                               que.join(QStringLiteral(", "));
}

QStringList RevisionDeTienda::PlantillasQueFaltan(Conexion& cnn) {
    QSqlQuery q = cnn.consulta(QStringLiteral(
        "SELECT DISTINCT Archivo FROM reportesbin WHERE Archivo IN ('fmtRemision.rpt', "
        "'Auxiliar.MDB')"));
    QStringList faltan = kPlantillas;
    while (q.next()) {
        faltan.removeIf([&](const QString& nombre) {
            return nombre.compare(q.value(0).toString(), Qt::CaseInsensitive) == 0;
        });
    }
    return faltan;
}

bool RevisionDeTienda::ConFacturas(const QString& archivoIni) {
    return ArchivoIni(archivoIni)
               .lee(QStringLiteral("Configuración"), QStringLiteral("Mostrar reprocesamiento"))
               .trimmed() == QLatin1String("1");
}
