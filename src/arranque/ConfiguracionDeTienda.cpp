#include "arranque/ConfiguracionDeTienda.h"

#include "arranque/CertificadoDelServidor.h"
#include "arranque/RevisionDeTienda.h"
#include "impresion/AlmacenDePlantillas.h"
#include "impresion/modRPTs.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Utilerias.h"
#include "reporteador/ErrorDeReporte.h"
#include "servicios/CausaDeCifrado.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "servicios/RespaldoDeArchivos.h"
#include "tienda/PermisosDeLaTienda.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSysInfo>
#include <stdexcept>

namespace {

const QString kSeccion = QStringLiteral("Configuración");
const QStringList kOrigenes = {QStringLiteral("myodbc3-test"), QStringLiteral("Orvane Reportes")};

// The files configura writes.
struct Destinos {
    QString programa = ConfiguracionDeTienda::ArchivoDelPrograma();
    QString instalaciones = DelRegistro::ArchivoDeInstalaciones();
    QString origenes = DelRegistro::ArchivoDeOrigenesOdbc();
    QString orvane; // Orvane.ini of the host folder
};

} // namespace

void ConfiguracionDeTienda::Valida(const DatosDeTienda& d) {
    const struct {
        const QString& valor;
        const char* opcion;
    } obligatorios[] = {{d.carpetaOrvane, "--carpeta-orvane"},
                        {d.servidor, "--servidor"},
                        {d.usuario, "--usuario"},
                        {d.base, "--base"}};
    for (const auto& o : obligatorios) {
        if (o.valor.trimmed().isEmpty()) {
            throw Rechazo(QStringLiteral("Falta %1.").arg(QString::fromLatin1(o.opcion)));
        }
    }
    if (d.puerto <= 0 || d.puerto > 65535) {
        throw Rechazo(QStringLiteral("El puerto debe estar entre 1 y 65535."));
    }
    if (!d.cifrado.autoridad.isEmpty() && !QFileInfo(d.cifrado.autoridad).isReadable()) {
        throw Rechazo(QStringLiteral("No se puede leer el certificado de la autoridad %1 (--ca).")
                          .arg(d.cifrado.autoridad));
    }
}

namespace {

// This account must be able to write every file configura writes; every fault is said at
// once, so that one refusal names every command that mends them.
void revisaArchivos(const DatosDeTienda& d) {
    QStringList problemas;
    for (const RevisionDeTienda::Revision& r :
         RevisionDeTienda::Archivos(d.carpetaOrvane, !d.impresora.isEmpty())) {
        if (!r.problema.isEmpty()) {
            problemas << r.problema;
        }
    }
    if (!problemas.isEmpty()) {
        throw Rechazo(problemas.join(QLatin1Char('\n')));
    }
}

bool tieneTablas(Conexion& cnn, const QString& base, const QStringList& tablas) {
    QSqlQuery q = cnn.consulta(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME IN ('%1')")
            .arg(tablas.join(QStringLiteral("','"))),
        {base});
    return q.next() && q.value(0).toInt() == tablas.size();
}

// Checks the account against the store; what it noticed goes to avisos.
void revisaLaTienda(Conexion& cnn, const DatosDeTienda& d, bool conFacturas, QStringList& avisos) {
    if (!tieneTablas(cnn, d.base,
                     {QStringLiteral("remisiones"), QStringLiteral("remisionesdetalle"),
                      QStringLiteral("reportesbin")})) {
        throw Rechazo(QStringLiteral("La base de datos '%1' no tiene las tablas de Orvane "
                                     "(remisiones, remisionesdetalle, reportesbin): dé en "
                                     "--base la de la tienda.")
                          .arg(d.base));
    }
    const QVector<PermisosDeLaTienda::Falta> faltas = PermisosDeLaTienda::Revisa(cnn, d.resguardo);
    const QString problema =
        RevisionDeTienda::Permisos(faltas, conFacturas, d.usuario, PermisosDeLaTienda::Cuenta(cnn));
    if (!problema.isEmpty()) {
        throw Rechazo(problema);
    }
    if (const QString nota = RevisionDeTienda::PermisosSoloParaFacturas(faltas);
        !nota.isEmpty() && !conFacturas) {
        avisos << QStringLiteral("Aviso: ") + nota + QLatin1Char('.');
    }
}

// The shipped files to store for the templates the store lacks (none when it has both); each
// is built now, so that a fault in one is said before anything is written.
QStringList plantillasPorGuardar(Conexion& cnn, const QString& carpeta) {
    const QStringList faltan = RevisionDeTienda::PlantillasQueFaltan(cnn);
    if (faltan.isEmpty()) {
        return {};
    }
    QStringList fuentes;
    for (const QString& ruta : AlmacenDePlantillas::Fuentes(carpeta)) {
        // With one of the two stored, only the other is added; with none, all that ships.
        const bool falta =
            faltan.size() == 2 ||
            faltan.contains(AlmacenDePlantillas::NombreGuardado(ruta), Qt::CaseInsensitive);
        if (falta) {
            fuentes << ruta;
        }
    }
    QStringList sinFuente;
    for (const QString& nombre : faltan) {
        const bool hay = std::any_of(fuentes.begin(), fuentes.end(), [&](const QString& ruta) {
            return AlmacenDePlantillas::NombreGuardado(ruta).compare(nombre, Qt::CaseInsensitive) ==
                   0;
        });
        if (!hay) {
            sinFuente << nombre;
        }
    }
    if (!sinFuente.isEmpty()) {
        throw Rechazo(QStringLiteral("La tienda no tiene %1 en reportesbin y no se encontró en "
                                     "las plantillas del programa, en %2 (use --plantillas).")
                          .arg(sinFuente.join(QStringLiteral(" ni ")), carpeta));
    }
    for (const QString& ruta : fuentes) {
        try {
            AlmacenDePlantillas::Contenido(ruta);
        } catch (const ErrorDeReporte& e) {
            throw Rechazo(
                QStringLiteral("La plantilla %1 no se puede armar: %2").arg(ruta, e.texto()));
        } catch (const ErrorOrvlib& e) {
            throw Rechazo(QStringLiteral("No se puede leer %1: %2").arg(ruta, e.descripcion()));
        }
    }
    return fuentes;
}

QString guardaPlantillas(Conexion& cnn, const QStringList& fuentes) {
    if (fuentes.isEmpty()) {
        return QStringLiteral("Las plantillas de la tienda ya estaban en reportesbin; no se "
                              "cambiaron.");
    }
    return QStringLiteral("Plantillas guardadas en reportesbin: ") +
           AlmacenDePlantillas::Guarda(cnn, fuentes).join(QStringLiteral(", ")) + QLatin1Char('.');
}

void escribeInstalacion(const DatosDeTienda& d, const QString& archivo) {
    ArchivoIni::HazPrivado(archivo);
    ArchivoIni(archivo, ArchivoIni::Estilo::Windows, ArchivoIni::Acceso::Privado)
        .escribe({
            {d.carpetaOrvane, QStringLiteral("servidor"), d.servidor},
            {d.carpetaOrvane, QStringLiteral("MySQLServer"), d.servidor},
            {d.carpetaOrvane, QStringLiteral("MySQLPuerto"), QString::number(d.puerto)},
            {d.carpetaOrvane, QStringLiteral("MySQLUsuario"), Utilerias::Encripta(d.usuario)},
            {d.carpetaOrvane, QStringLiteral("MySQLPassword"), Utilerias::Encripta(d.contrasena)},
        });
}

void escribeOrigenes(const DatosDeTienda& d, const QString& controlador, const QString& archivo) {
    ArchivoIni::HazPrivado(archivo);
    const ArchivoIni antes(archivo, ArchivoIni::Estilo::Unix);
    QList<ArchivoIni::Valor> valores;
    for (const QString& origen : kOrigenes) {
        valores << ArchivoIni::Valor{origen, QStringLiteral("Driver"), controlador}
                << ArchivoIni::Valor{origen, QStringLiteral("Server"), d.servidor}
                << ArchivoIni::Valor{origen, QStringLiteral("Port"), QString::number(d.puerto)}
                << ArchivoIni::Valor{origen, QStringLiteral("User"), d.usuario}
                << ArchivoIni::Valor{origen, QStringLiteral("Password"), d.contrasena}
                << ArchivoIni::Valor{origen, QStringLiteral("Database"),
                                     origen == kOrigenes[0] ? d.base
                                                            : QStringLiteral("orvanereportes")};
        for (const auto& [clave, valor] : d.cifrado.clavesOdbc(antes, origen)) {
            valores << ArchivoIni::Valor{origen, clave, valor};
        }
    }
    ArchivoIni(archivo, ArchivoIni::Estilo::Unix, ArchivoIni::Acceso::Privado).escribe(valores);
}

// Writes every file, each whole; what it did goes to hecho.
void escribeArchivos(const DatosDeTienda& d, const QString& controlador, const Destinos& a,
                     RespaldoDeArchivos& respaldo, QStringList& hecho) {
    for (const QString& carpeta :
         {d.carpetaOrvane, QFileInfo(a.programa).absolutePath(),
          QFileInfo(a.instalaciones).absolutePath(), QFileInfo(a.origenes).absolutePath()}) {
        if (!respaldo.creaCarpeta(carpeta)) {
            throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo,
                              QStringLiteral("No se pudo crear la carpeta"), carpeta);
        }
    }
    respaldo.guarda(a.instalaciones, true);
    escribeInstalacion(d, a.instalaciones);
    hecho << QStringLiteral("Instalación [%1] registrada en %2 (usuario y contraseña ofuscados, "
                            "no cifrados: el archivo es sólo para su dueño).")
                 .arg(d.carpetaOrvane, a.instalaciones);
    respaldo.guarda(a.programa);
    ArchivoIni(a.programa)
        .escribe({
            {kSeccion, QStringLiteral("Ruta de Orvane Premium"), d.carpetaOrvane},
            {kSeccion, QStringLiteral("Base de datos principal"), d.base},
            {kSeccion, QStringLiteral("Base de datos de resguardo"), d.resguardo},
            {kSeccion, QStringLiteral("TLS"),
             d.cifrado.activo ? QStringLiteral("1") : QStringLiteral("0")},
            {kSeccion, QStringLiteral("CA"), d.cifrado.autoridad},
        });
    hecho << QStringLiteral("Configuración del programa escrita en %1.").arg(a.programa);
    respaldo.guarda(a.origenes, true);
    escribeOrigenes(d, controlador, a.origenes);
    hecho << QStringLiteral("Orígenes de datos myodbc3-test y Orvane Reportes en %1, con el "
                            "controlador «%2».")
                 .arg(a.origenes, controlador);
    if (!d.impresora.isEmpty()) {
        respaldo.guarda(a.orvane);
        ArchivoIni(a.orvane).escribe(QStringLiteral("Impresión de formatos"),
                                     QStringLiteral("fmtremision.rpt"), d.impresora);
        hecho << QStringLiteral("Impresora de las remisiones: %1 (en %2).")
                     .arg(d.impresora, a.orvane);
    }
}

// Root's run writes root's own files: the clerks' accounts are configured each by itself.
QString notaDeRoot(const DatosDeTienda& d) {
    return QStringLiteral("Aviso: se configuró sólo la cuenta root (sus archivos en %1). Cada "
                          "cuenta que use el programa debe ejecutar «deremisiones configura» una "
                          "vez, con su propia cuenta; por ejemplo: ")
               .arg(QDir::homePath()) +
           ConfiguracionDeTienda::OrdenParaLaCuenta(d, QStringLiteral("CAJERO"));
}

} // namespace

QString ConfiguracionDeTienda::OrdenParaLaCuenta(const DatosDeTienda& d, const QString& cuenta) {
    const auto paraLaTerminal = &RevisionDeTienda::ParaLaTerminal;
    const auto dada = [&d](const char* opcion) { return d.dadas.contains(QLatin1String(opcion)); };
    QStringList opciones = {QStringLiteral("--carpeta-orvane"), paraLaTerminal(d.carpetaOrvane),
                            QStringLiteral("--servidor"), paraLaTerminal(d.servidor)};
    if (dada("puerto")) {
        opciones << QStringLiteral("--puerto") << QString::number(d.puerto);
    }
    opciones << QStringLiteral("--usuario") << paraLaTerminal(d.usuario) << QStringLiteral("--base")
             << paraLaTerminal(d.base);
    if (dada("resguardo")) {
        opciones << QStringLiteral("--resguardo") << paraLaTerminal(d.resguardo);
    }
    if (dada("impresora")) {
        opciones << QStringLiteral("--impresora") << paraLaTerminal(d.impresora);
    }
    if (dada("plantillas")) {
        opciones << QStringLiteral("--plantillas")
                 << paraLaTerminal(QDir(d.carpetaDePlantillas).absolutePath());
    }
    if (dada("tls")) {
        opciones << QStringLiteral("--tls");
    }
    // A path as the other account's shell finds it from any folder.
    if (dada("ca")) {
        opciones << QStringLiteral("--ca")
                 << paraLaTerminal(QFileInfo(d.cifrado.autoridad).absoluteFilePath());
    }
    const QString orden =
        QStringLiteral("deremisiones configura ") + opciones.join(QLatin1Char(' '));
    return RevisionDeTienda::ComoLaCuenta(cuenta, orden);
}

namespace {

// Run with another account's home (sudo -E keeps HOME): its files would be written half in
// that home, owned by this account, and half in this account's own.
void revisaLaCasa(const DatosDeTienda& d) {
    const QString dueno = RevisionDeTienda::DuenoDeOtraCasa();
    if (dueno.isEmpty()) {
        return;
    }
    throw Rechazo(QStringLiteral("La cuenta «%1» se ejecuta con la carpeta personal (HOME=%2) de "
                                 "la cuenta «%3» (por ejemplo con sudo -E): sus archivos quedarían "
                                 "repartidos y en manos de «%1». No se escribió nada. Configure "
                                 "la cuenta «%3» con su propia cuenta: %4")
                      .arg(RevisionDeTienda::Cuenta(), QDir::homePath(), dueno,
                           ConfiguracionDeTienda::OrdenParaLaCuenta(d, dueno)));
}

// The server's certificate is checked as the report engine's data sources check it (name,
// dates, authority) before anything is written, so that no job finds it refused later.
void revisaElCertificado(const DatosDeTienda& d) {
    if (!d.cifrado.activo) {
        return;
    }
    const auto r = CertificadoDelServidor::Revisa(d.servidor, d.puerto, d.cifrado);
    if (r.numero >= 0) {
        throw Rechazo(CausaDeCifrado::Explica(r.texto, d.servidor) +
                      QStringLiteral(" (%1) No se escribió nada.").arg(r.texto));
    }
}

} // namespace

QString ConfiguracionDeTienda::ArchivoDelPrograma() {
    return QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("DeRemisiones.ini"));
}

QString ConfiguracionDeTienda::CarpetaNormalizada(const QString& carpeta) {
    return QDir::cleanPath(QDir(carpeta.trimmed()).absolutePath());
}

QString ConfiguracionDeTienda::MotivoDeConexion(const Conexion& cnn, const QString& servidor,
                                                int puerto, const QString& usuario,
                                                const QString& base) {
    switch (cnn.ultimoNumero()) {
    case Conexion::kExigeCifrado:
        return QStringLiteral("El servidor exige una conexión cifrada; use configura --tls (y "
                              "--ca ARCHIVO con el certificado de la autoridad que firmó el del "
                              "servidor, si no es una de las del sistema).");
    case NumerosDeError::kCifradoFallido:
        return CausaDeCifrado::Explica(cnn.ultimoError(), servidor) +
               QStringLiteral(" (%1)").arg(cnn.ultimoError());
    case NumerosDeError::kUsuarioRechazado: {
        QString texto = QStringLiteral("El servidor %1 rechazó al usuario '%2': la contraseña no "
                                       "es la correcta o el usuario no puede entrar desde este "
                                       "equipo.")
                            .arg(servidor, usuario);
        // A fresh server's anonymous users (''@'localhost') take the logins from its own machine
        // before any user of '%'.
        const QString s = servidor.toLower();
        if (s == QLatin1String("localhost") || s == QLatin1String("127.0.0.1") ||
            s == QLatin1String("::1") || s == QSysInfo::machineHostName().toLower()) {
            texto += QStringLiteral(" Si la contraseña es la correcta, puede que los usuarios "
                                    "anónimos de un servidor recién instalado oculten al usuario "
                                    "al entrar desde el mismo equipo; bórrelos, como root del "
                                    "servidor: DROP USER IF EXISTS ''@'localhost', ''@'%1';")
                         .arg(QSysInfo::machineHostName());
        }
        return texto;
    }
    case NumerosDeError::kBaseNegada:
        return QStringLiteral("El usuario '%1' no tiene acceso a la base de datos '%2'. Déselo, "
                              "como root del servidor: GRANT SELECT, INSERT, UPDATE, DELETE, "
                              "CREATE, DROP ON `%2`.* TO '%1'@'%';")
            .arg(usuario, base);
    case NumerosDeError::kBaseDesconocida:
        return QStringLiteral("La base de datos '%1' no existe en el servidor %2: dé en --base la "
                              "de la tienda (SHOW DATABASES; en el servidor las lista).")
            .arg(base, servidor);
    case NumerosDeError::kSinSocket:
    case NumerosDeError::kSinServidor:
    case NumerosDeError::kServidorDesconocido:
        // The MySQL client takes "localhost" for the local socket and never uses the port.
        if (servidor.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
            return QStringLiteral("Con el servidor «localhost» el cliente de MySQL entra por el "
                                  "socket local y no usa el puerto %1; no pudo (%2). Para llegar "
                                  "por el puerto, dé --servidor 127.0.0.1.")
                .arg(puerto)
                .arg(cnn.ultimoError());
        }
        return QStringLiteral("No se pudo llegar al servidor %1 por el puerto %2: revise que esté "
                              "encendido y que la dirección y el puerto sean los correctos (%3).")
            .arg(servidor)
            .arg(puerto)
            .arg(cnn.ultimoError());
    default:
        return QStringLiteral("No se pudo conectar con la base de datos '%1' del servidor %2: %3")
            .arg(base, servidor, cnn.ultimoError());
    }
}

QStringList ConfiguracionDeTienda::Aplica(DatosDeTienda d) {
    Valida(d);
    d.carpetaOrvane = CarpetaNormalizada(d.carpetaOrvane);
    revisaLaCasa(d);
    Destinos a;
    a.orvane = QDir(d.carpetaOrvane).filePath(QStringLiteral("Orvane.ini"));
    revisaArchivos(d);
    QString controlador;
    if (const QString problema = RevisionDeTienda::Controlador(&controlador); !problema.isEmpty()) {
        throw Rechazo(problema);
    }
    revisaElCertificado(d);
    Conexion cnn;
    if (!cnn.abre(QStringLiteral("QMYSQL"), d.servidor, d.puerto, d.usuario, d.contrasena, d.base,
                  d.cifrado)) {
        throw Rechazo(MotivoDeConexion(cnn, d.servidor, d.puerto, d.usuario, d.base));
    }
    QStringList hecho;
    revisaLaTienda(cnn, d, RevisionDeTienda::ConFacturas(a.programa), hecho);
    const QStringList fuentes = plantillasPorGuardar(cnn, d.carpetaDePlantillas);

    // Everything checked: the store's missing templates first (nothing the store had is
    // replaced), then the files, each whole.
    hecho << guardaPlantillas(cnn, fuentes);
    RespaldoDeArchivos respaldo;
    try {
        escribeArchivos(d, controlador, a, respaldo, hecho);
    } catch (const ErrorOrvlib& e) {
        const QStringList sinRestaurar = respaldo.restaura();
        QString texto =
            QStringLiteral("No se pudo escribir %1 (%2).").arg(e.contexto(), e.descripcion());
        texto += sinRestaurar.isEmpty()
                     ? QStringLiteral(" Se dejaron todos los archivos como estaban.")
                     : QStringLiteral(" No se pudieron dejar como estaban: ") +
                           sinRestaurar.join(QStringLiteral(", ")) + QLatin1Char('.');
        if (!fuentes.isEmpty()) {
            texto += QStringLiteral(" Las plantillas que faltaban quedaron guardadas en "
                                    "reportesbin.");
        }
        texto += QStringLiteral(" Revise el espacio libre y los permisos y vuelva a ejecutar "
                                "«deremisiones configura».");
        throw std::runtime_error(texto.toStdString());
    }
    respaldo.devuelveDuenos();
    if (!d.impresora.isEmpty() && modRPTs::ImpresoraInstalada(d.impresora).isNull()) {
        hecho << QStringLiteral("Aviso: la impresora «%1» no está instalada en este equipo.")
                     .arg(d.impresora);
    }
    if (RevisionDeTienda::EsRoot()) {
        hecho << notaDeRoot(d);
        const QFileInfo carpeta(d.carpetaOrvane);
        if (carpeta.ownerId() == 0 && !carpeta.permissions().testFlag(QFileDevice::WriteGroup)) {
            hecho << QStringLiteral("Aviso: sólo root puede escribir en la carpeta de Orvane %1.")
                             .arg(d.carpetaOrvane) +
                         RevisionDeTienda::ComoCompartir(d.carpetaOrvane);
        }
    }
    return hecho;
}
