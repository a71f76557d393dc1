#include "startup/ConfiguracionDeTienda.h"

#include "hostdata/ControladoresOdbc.h"
#include "hostdata/PermisosDeLaTienda.h"
#include "hostdata/Proceso.h"
#include "hostdata/Rechazo.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/BasesDD.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "printing/AlmacenDePlantillas.h"
#include "printing/modRPTs.h"

#include <QDir>
#include <QSqlQuery>

namespace {

const QString kSeccion = QStringLiteral("Configuración");
const QStringList kOrigenes = {QStringLiteral("myodbc3-test"), QStringLiteral("Orvane Reportes")};

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
}

namespace {

bool tieneTablas(Conexion& cnn, const QString& base, const QStringList& tablas) {
    QSqlQuery q = cnn.consulta(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME IN ('%1')")
            .arg(tablas.join(QStringLiteral("','"))),
        {base});
    return q.next() && q.value(0).toInt() == tablas.size();
}

// Checks the account against the store; what it noticed goes to avisos.
void revisaLaTienda(Conexion& cnn, const DatosDeTienda& d, QStringList& avisos) {
    if (!tieneTablas(cnn, d.base,
                     {QStringLiteral("remisiones"), QStringLiteral("remisionesdetalle"),
                      QStringLiteral("reportesbin")})) {
        throw Rechazo(QStringLiteral("La base de datos '%1' no tiene las tablas de Orvane "
                                     "(remisiones, remisionesdetalle, reportesbin): ¿es la base "
                                     "de la tienda?")
                          .arg(d.base));
    }
    const QVector<PermisosDeLaTienda::Falta> faltas = PermisosDeLaTienda::Revisa(cnn, d.resguardo);
    QStringList necesarias;
    for (const PermisosDeLaTienda::Falta& f : faltas) {
        (f.soloFactura ? avisos : necesarias) << f.que + QStringLiteral(" (") + f.error + ')';
    }
    if (!necesarias.isEmpty()) {
        throw Rechazo(QStringLiteral("Al usuario '%1' le faltan permisos que necesitan las "
                                     "reimpresiones:\n  %2\nDéselos, por ejemplo con:\n%3")
                          .arg(d.usuario, necesarias.join(QStringLiteral("\n  ")),
                               PermisosDeLaTienda::Concesiones(d.base, d.resguardo,
                                                               PermisosDeLaTienda::Cuenta(cnn))));
    }
    for (QString& aviso : avisos) {
        aviso = QStringLiteral("Aviso: para «Generar facturas por remisiones» falta ") + aviso;
    }
}

// The shipped template files to store, none when the store has its own; refuses (Rechazo)
// when the store has none and the program's cannot be found.
QStringList plantillasPorGuardar(Conexion& cnn, const QString& carpeta) {
    if (cnn.valor(QStringLiteral("SELECT COUNT(DISTINCT Archivo) FROM reportesbin WHERE Archivo "
                                 "IN ('fmtRemision.rpt', 'Auxiliar.MDB')")) == QLatin1String("2")) {
        return {};
    }
    const QStringList fuentes = AlmacenDePlantillas::Fuentes(carpeta);
    if (fuentes.isEmpty()) {
        throw Rechazo(QStringLiteral("La tienda no tiene plantillas en reportesbin y no se "
                                     "encontraron las del programa en %1 (use --plantillas).")
                          .arg(carpeta));
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

// Each file is written once, with all its values: a failure leaves it as it was.
void escribeInstalacion(const DatosDeTienda& d) {
    ArchivoIni::HazPrivado(DelRegistro::ArchivoDeInstalaciones());
    ArchivoIni(DelRegistro::ArchivoDeInstalaciones(), ArchivoIni::Estilo::Windows,
               ArchivoIni::Acceso::Privado)
        .escribe({
            {d.carpetaOrvane, QStringLiteral("servidor"), d.servidor},
            {d.carpetaOrvane, QStringLiteral("MySQLServer"), d.servidor},
            {d.carpetaOrvane, QStringLiteral("MySQLPuerto"), QString::number(d.puerto)},
            {d.carpetaOrvane, QStringLiteral("MySQLUsuario"), Utilerias::Encripta(d.usuario)},
            {d.carpetaOrvane, QStringLiteral("MySQLPassword"), Utilerias::Encripta(d.contrasena)},
        });
}

void escribeOrigenes(const DatosDeTienda& d, const QString& controlador) {
    const QString archivo = DelRegistro::ArchivoDeOrigenesOdbc();
    ArchivoIni::HazPrivado(archivo);
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
    }
    ArchivoIni(archivo, ArchivoIni::Estilo::Unix, ArchivoIni::Acceso::Privado).escribe(valores);
}

} // namespace

QString ConfiguracionDeTienda::CarpetaNormalizada(const QString& carpeta) {
    return QDir::cleanPath(QDir(carpeta.trimmed()).absolutePath());
}

QString ConfiguracionDeTienda::MotivoDeConexion(const Conexion& cnn, const QString& servidor,
                                                int puerto, const QString& usuario,
                                                const QString& base) {
    switch (cnn.ultimoNumero()) {
    case 1045:
        return QStringLiteral("El servidor %1 rechazó al usuario '%2': la contraseña no es la "
                              "correcta o el usuario no puede entrar desde este equipo.")
            .arg(servidor, usuario);
    case 1044:
        return QStringLiteral("El usuario '%1' no tiene acceso a la base de datos '%2'.")
            .arg(usuario, base);
    case 1049:
        return QStringLiteral("La base de datos '%1' no existe en el servidor %2.")
            .arg(base, servidor);
    case 2002:
    case 2003:
    case 2005:
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
    Conexion cnn;
    if (!cnn.abre(QStringLiteral("QMYSQL"), d.servidor, d.puerto, d.usuario, d.contrasena,
                  d.base)) {
        throw Rechazo(MotivoDeConexion(cnn, d.servidor, d.puerto, d.usuario, d.base));
    }
    QStringList hecho;
    revisaLaTienda(cnn, d, hecho);
    const QString controlador = ControladoresOdbc::DeMariaDB();
    if (controlador.isEmpty()) {
        throw Rechazo(QStringLiteral("No hay un controlador ODBC de MariaDB o MySQL en %1: instale "
                                     "el paquete odbc-mariadb.")
                          .arg(ControladoresOdbc::Archivo()));
    }
    const QStringList fuentes = plantillasPorGuardar(cnn, d.carpetaDePlantillas);
    if (!QDir().mkpath(d.carpetaOrvane)) {
        throw Rechazo(
            QStringLiteral("No se pudo crear la carpeta de Orvane %1.").arg(d.carpetaOrvane));
    }
    hecho << guardaPlantillas(cnn, fuentes);
    escribeInstalacion(d);
    hecho << QStringLiteral("Instalación [%1] registrada en %2 (usuario y contraseña cifrados).")
                 .arg(d.carpetaOrvane, DelRegistro::ArchivoDeInstalaciones());
    const QString ini =
        QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("DeRemisiones.ini"));
    ArchivoIni(ini).escribe({
        {kSeccion, QStringLiteral("Ruta de Orvane Premium"), d.carpetaOrvane},
        {kSeccion, QStringLiteral("Base de datos principal"), d.base},
        {kSeccion, QStringLiteral("Base de datos de resguardo"), d.resguardo},
    });
    hecho << QStringLiteral("Configuración del programa escrita en %1.").arg(ini);
    escribeOrigenes(d, controlador);
    hecho << QStringLiteral("Orígenes de datos myodbc3-test y Orvane Reportes en %1, con el "
                            "controlador «%2».")
                 .arg(DelRegistro::ArchivoDeOrigenesOdbc(), controlador);
    if (!d.impresora.isEmpty()) {
        const QString orvane = QDir(d.carpetaOrvane).filePath(QStringLiteral("Orvane.ini"));
        ArchivoIni(orvane).escribe(QStringLiteral("Impresión de formatos"),
                                   QStringLiteral("fmtremision.rpt"), d.impresora);
        hecho
            << QStringLiteral("Impresora de las remisiones: %1 (en %2).").arg(d.impresora, orvane);
        if (modRPTs::ImpresoraInstalada(d.impresora).isNull()) {
            hecho << QStringLiteral("Aviso: la impresora «%1» no está instalada en este equipo.")
                         .arg(d.impresora);
        }
    }
    return hecho;
}
