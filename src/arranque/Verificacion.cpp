#include "arranque/Verificacion.h"

#include "arranque/CertificadoDelServidor.h"
#include "arranque/ConfiguracionDeTienda.h"
#include "arranque/RevisionDeTienda.h"
#include "impresion/modRPTs.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Conexion.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"
#include "reporteador/ColaDeCups.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/OrigenDeDatos.h"
#include "servicios/CausaDeCifrado.h"
#include "servicios/Proceso.h"
#include "tienda/ControladoresOdbc.h"
#include "tienda/PermisosDeLaTienda.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QSqlQuery>
#include <functional>

namespace {

const QString kSeccion = QStringLiteral("Configuración");
const QString kComoArreglar = QStringLiteral(" Use «deremisiones configura» para dejarlo bien.");

// What the checks learn as they go, for the ones that follow.
struct Estado {
    QString carpetaHost;
    QString base;
    QString resguardo;
    QString servidor;
    int puerto = 3306;
    QString usuario;
    QString contrasena;
    CifradoDeConexion cifrado;
    Conexion cnn;
    QVector<PermisosDeLaTienda::Falta> faltas;
    QVector<RevisionDeTienda::Revision> archivos; // configura's checks of its files
};

bool legiblePorOtros(const QString& ruta) {
    return (QFile(ruta).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                         QFileDevice::WriteGroup | QFileDevice::WriteOther)) != 0;
}

Verificacion::Punto bien(const QString& nombre, const QString& nota = {}) {
    return {nombre, true, nota};
}

Verificacion::Punto mal(const QString& nombre, const QString& detalle) {
    return {nombre, false, detalle};
}

Verificacion::Punto programa(Estado& e) {
    const QString ini = ConfiguracionDeTienda::ArchivoDelPrograma();
    const QString nombre = QStringLiteral("Carpeta del programa y DeRemisiones.ini (%1)").arg(ini);
    const ArchivoIni archivo(ini);
    e.carpetaHost = archivo.lee(kSeccion, QStringLiteral("Ruta de Orvane Premium"));
    // The checks of configura without --impresora: the jobs only read Orvane.ini, and
    // configura checks it again when it is to write the printer.
    e.archivos = RevisionDeTienda::Archivos(e.carpetaHost, false);
    if (const QString problema =
            RevisionDeTienda::Problema(e.archivos, RevisionDeTienda::Pieza::Programa);
        !problema.isEmpty()) {
        return mal(nombre, problema);
    }
    e.base = archivo.lee(kSeccion, QStringLiteral("Base de datos principal"));
    e.resguardo = archivo.lee(kSeccion, QStringLiteral("Base de datos de resguardo"));
    if (e.resguardo.isEmpty()) {
        e.resguardo = QStringLiteral("datos2");
    }
    e.cifrado.activo = libKwtm::kwVal(archivo.lee(kSeccion, QStringLiteral("TLS"))) != 0;
    e.cifrado.autoridad = archivo.lee(kSeccion, QStringLiteral("CA"));
    if (!QFileInfo::exists(ini) || e.carpetaHost.isEmpty() || e.base.isEmpty()) {
        return mal(nombre, QStringLiteral("no existe o le faltan «Ruta de Orvane Premium» y "
                                          "«Base de datos principal».") +
                               kComoArreglar);
    }
    return bien(nombre);
}

Verificacion::Punto carpetaHost(Estado& e) {
    const QString nombre = QStringLiteral("Carpeta de Orvane (%1)").arg(e.carpetaHost);
    if (e.carpetaHost.isEmpty()) {
        return mal(nombre, QStringLiteral("DeRemisiones.ini no la dice.") + kComoArreglar);
    }
    if (!QFileInfo(e.carpetaHost).isDir()) {
        return mal(nombre, QStringLiteral("no existe; créela o corrija «Ruta de Orvane Premium» "
                                          "en DeRemisiones.ini.") +
                               kComoArreglar);
    }
    if (const QString problema =
            RevisionDeTienda::Problema(e.archivos, RevisionDeTienda::Pieza::CarpetaDeOrvane);
        !problema.isEmpty()) {
        return mal(nombre, problema);
    }
    return bien(nombre);
}

Verificacion::Punto instalacion(Estado& e) {
    const QString archivo = DelRegistro::ArchivoDeInstalaciones();
    const QString nombre = QStringLiteral("Instalación registrada (%1)").arg(archivo);
    if (const QString problema =
            RevisionDeTienda::Problema(e.archivos, RevisionDeTienda::Pieza::Instalaciones);
        !problema.isEmpty()) {
        return mal(nombre, problema);
    }
    DelRegistro registro;
    if (e.carpetaHost.isEmpty() || registro.BuscarRegistroTrq(e.carpetaHost).isEmpty()) {
        const QStringList hay = ArchivoIni(archivo).secciones();
        return mal(nombre,
                   QStringLiteral("no hay una sección [%1]. Debe llamarse exactamente como "
                                  "«Ruta de Orvane Premium» de DeRemisiones.ini (las mayúsculas "
                                  "no cuentan; una diagonal final sí se acepta). Secciones que "
                                  "hay: %2.")
                           .arg(e.carpetaHost, hay.isEmpty() ? QStringLiteral("ninguna")
                                                             : hay.join(QStringLiteral(", "))) +
                       kComoArreglar);
    }
    const QString usuario = registro.DatosTrq(QStringLiteral("MySQLUsuario"));
    if (usuario.trimmed().isEmpty()) {
        return mal(nombre, QStringLiteral("la instalación no tiene MySQLUsuario: el programa "
                                          "entraría como root sin contraseña.") +
                               kComoArreglar);
    }
    e.usuario = Utilerias::DesEncripta(usuario);
    e.contrasena = Utilerias::DesEncripta(registro.DatosTrq(QStringLiteral("MySQLPassword")));
    e.servidor = registro.DatosTrq(QStringLiteral("MySQLServer")).trimmed();
    if (e.servidor.isEmpty()) {
        e.servidor = registro.DatosTrq(QStringLiteral("servidor"));
    }
    const int puerto =
        static_cast<int>(libKwtm::kwVal(registro.DatosTrq(QStringLiteral("MySQLPuerto"))));
    e.puerto = puerto > 0 ? puerto : 3306;
    if (legiblePorOtros(archivo)) {
        return mal(nombre, QStringLiteral("otros usuarios pueden leer el archivo, que guarda la "
                                          "contraseña: chmod 600 %1")
                               .arg(archivo));
    }
    return bien(
        nombre,
        QStringLiteral("servidor %1:%2, usuario %3").arg(e.servidor).arg(e.puerto).arg(e.usuario));
}

Verificacion::Punto acceso(Estado& e) {
    const QString nombre = QStringLiteral("Acceso a la base de datos '%1'").arg(e.base);
    if (e.usuario.isEmpty()) {
        return mal(nombre, QStringLiteral("no se probó: falta la instalación."));
    }
    if (!e.cnn.abre(QStringLiteral("QMYSQL"), e.servidor, e.puerto, e.usuario, e.contrasena, e.base,
                    e.cifrado)) {
        return mal(nombre, ConfiguracionDeTienda::MotivoDeConexion(e.cnn, e.servidor, e.puerto,
                                                                   e.usuario, e.base) +
                               kComoArreglar);
    }
    return bien(nombre);
}

// Whether the connection goes encrypted, as the server itself reports it.
Verificacion::Punto cifrado(Estado& e) {
    const QString nombre = QStringLiteral("Cifrado de la conexión con el servidor");
    if (!e.cnn.abierta()) {
        return mal(nombre, QStringLiteral("no se probó: no hay acceso al servidor."));
    }
    const QString cifra = e.cnn.cifra();
    if (cifra.isEmpty()) {
        return e.cifrado.activo
                   ? mal(nombre, QStringLiteral("DeRemisiones.ini pide TLS pero el servidor dice "
                                                "que la conexión no va cifrada.") +
                                     kComoArreglar)
                   : bien(nombre, QStringLiteral("sin cifrar; «deremisiones configura … --tls» "
                                                 "la cifra"));
    }
    // The data sources check the certificate's name too, which the connection cannot.
    const auto certificado = CertificadoDelServidor::Revisa(e.servidor, e.puerto, e.cifrado);
    if (certificado.numero >= 0) {
        return mal(nombre, CausaDeCifrado::Explica(certificado.texto, e.servidor) +
                               QStringLiteral(" (%1)").arg(certificado.texto) + kComoArreglar);
    }
    const QString autoridad = e.cifrado.autoridad.isEmpty()
                                  ? QStringLiteral("las autoridades del sistema")
                                  : e.cifrado.autoridad;
    return bien(nombre, QStringLiteral("cifrada con TLS (%1); certificado del servidor "
                                       "comprobado con %2")
                            .arg(cifra, autoridad));
}

// The account's missing privileges in one database (the archive's) or in the others.
QVector<PermisosDeLaTienda::Falta> faltasDe(const Estado& e, bool delResguardo) {
    QVector<PermisosDeLaTienda::Falta> faltas;
    for (const PermisosDeLaTienda::Falta& f : e.faltas) {
        if ((f.base == e.resguardo) == delResguardo) {
            faltas << f;
        }
    }
    return faltas;
}

Verificacion::Punto permisos(Estado& e, bool conFacturas) {
    const QString nombre = QStringLiteral("Permisos del usuario '%1'").arg(e.usuario);
    if (!e.cnn.abierta()) {
        return mal(nombre, QStringLiteral("no se probaron: no hay acceso a la base."));
    }
    e.faltas = PermisosDeLaTienda::Revisa(e.cnn, e.resguardo);
    const QVector<PermisosDeLaTienda::Falta> faltas = faltasDe(e, false);
    if (const QString problema = RevisionDeTienda::Permisos(faltas, conFacturas, e.usuario,
                                                            PermisosDeLaTienda::Cuenta(e.cnn));
        !problema.isEmpty()) {
        return mal(nombre, problema);
    }
    return bien(nombre,
                conFacturas ? QString() : RevisionDeTienda::PermisosSoloParaFacturas(faltas));
}

Verificacion::Punto resguardo(Estado& e, bool conFacturas) {
    const QString nombre = QStringLiteral("Base de datos de resguardo '%1'").arg(e.resguardo);
    if (!e.cnn.abierta()) {
        return mal(nombre, QStringLiteral("no se probó: no hay acceso al servidor."));
    }
    QSqlQuery q = e.cnn.consulta(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME IN ('remisiones','remisionesdetalle')"),
        {e.resguardo});
    const QVector<PermisosDeLaTienda::Falta> faltas = faltasDe(e, true);
    // Without SELECT on the archive its tables cannot be seen: the privileges say why.
    if (!faltas.isEmpty()) {
        if (const QString problema = RevisionDeTienda::Permisos(faltas, conFacturas, e.usuario,
                                                                PermisosDeLaTienda::Cuenta(e.cnn));
            !problema.isEmpty()) {
            return mal(nombre, problema);
        }
        return bien(nombre, RevisionDeTienda::PermisosSoloParaFacturas(faltas));
    }
    if (q.next() && q.value(0).toInt() == 2) {
        return bien(nombre);
    }
    if (!conFacturas) {
        return bien(nombre, QStringLiteral("no tiene las tablas remisiones y remisionesdetalle, "
                                           "solo para facturas: las necesita sólo «Generar "
                                           "facturas por remisiones», que el menú no muestra"));
    }
    return mal(nombre, QStringLiteral("no tiene las tablas remisiones y remisionesdetalle que "
                                      "necesita «Generar facturas por remisiones»: créelas con la "
                                      "misma estructura que las de la tienda."));
}

Verificacion::Punto plantillas(Estado& e) {
    const QString nombre = QStringLiteral("Plantillas en reportesbin");
    if (!e.cnn.abierta()) {
        return mal(nombre, QStringLiteral("no se probó: no hay acceso a la base."));
    }
    const QStringList faltan = RevisionDeTienda::PlantillasQueFaltan(e.cnn);
    if (!faltan.isEmpty()) {
        return mal(nombre, QStringLiteral("falta %1; «deremisiones configura» guarda la del "
                                          "programa sin tocar las de la tienda.")
                               .arg(faltan.join(QStringLiteral(" y "))));
    }
    return bien(nombre);
}

// What keeps a data source from opening: no driver line, or a driver that cannot load. When
// no driver of MariaDB or MySQL can load, configura would refuse too: the advice is the
// driver's.
QString revisaOrigen(const ArchivoIni& ini, const QString& origen) {
    const QString controlador = ini.lee(origen, QStringLiteral("Driver"));
    QString motivo;
    if (!controlador.isEmpty() && ControladoresOdbc::Utilizable(controlador, &motivo)) {
        return {};
    }
    if (const QString problema = RevisionDeTienda::Controlador(); !problema.isEmpty()) {
        return problema;
    }
    if (controlador.isEmpty()) {
        return QStringLiteral("a «%1» le falta la línea Driver=%2.")
                   .arg(origen, ControladoresOdbc::DeMariaDB()) +
               kComoArreglar;
    }
    return QStringLiteral("«%1»: %2.").arg(origen, motivo) + kComoArreglar;
}

Verificacion::Punto origenes(Estado& e) {
    const QString archivo = DelRegistro::ArchivoDeOrigenesOdbc();
    const QString nombre = QStringLiteral("Orígenes de datos ODBC (%1)").arg(archivo);
    if (const QString problema =
            RevisionDeTienda::Problema(e.archivos, RevisionDeTienda::Pieza::Origenes);
        !problema.isEmpty()) {
        return mal(nombre, problema);
    }
    if (!QFileInfo::exists(archivo)) {
        return mal(nombre, QStringLiteral("el archivo no existe.") + kComoArreglar);
    }
    const ArchivoIni ini(archivo, ArchivoIni::Estilo::Unix);
    QStringList problemas;
    for (const QString& origen :
         {QStringLiteral("myodbc3-test"), QStringLiteral("Orvane Reportes")}) {
        const QString problema = revisaOrigen(ini, origen);
        if (!problema.isEmpty()) {
            problemas << problema;
        }
    }
    if (legiblePorOtros(archivo)) {
        problemas << QStringLiteral("otros usuarios pueden leer el archivo, que guarda la "
                                    "contraseña: chmod 600 %1")
                         .arg(archivo);
    }
    if (!problemas.isEmpty()) {
        problemas.removeDuplicates();
        return mal(nombre, problemas.join(QLatin1Char(' ')));
    }
    // The values are written before every print; the data source must then open as the report
    // engine opens it.
    if (ini.lee(QStringLiteral("myodbc3-test"), QStringLiteral("Server")) != e.servidor ||
        ini.lee(QStringLiteral("myodbc3-test"), QStringLiteral("Database")) != e.base ||
        ini.lee(QStringLiteral("myodbc3-test"), QStringLiteral("User")) != e.usuario) {
        return bien(nombre, QStringLiteral("el servidor, el usuario o la base no son los del "
                                           "programa; se escriben antes de cada impresión"));
    }
    try {
        OrigenDeDatos datos;
        datos.Conecta(
            QStringLiteral("DSN=myodbc3-test;UID=%1;PWD=%2;").arg(e.usuario, e.contrasena));
    } catch (const ErrorDeReporte& error) {
        return mal(nombre, error.texto());
    }
    return bien(nombre);
}

// A queue the run prints on: refusing jobs or stopped, nothing would come out of it.
Verificacion::Punto colaDeImpresion(const QString& nombre, const QString& cola,
                                    const QString& nota) {
    const ColaDeCups::Estado estado = ColaDeCups::EstadoDe(cola);
    const QString dice =
        estado.mensaje.isEmpty() ? QString() : QStringLiteral(" (CUPS: %1)").arg(estado.mensaje);
    if (estado.existe && !estado.aceptaTrabajos) {
        return mal(nombre, QStringLiteral("la cola %1 rechaza los trabajos%2: una impresión se "
                                          "detendría en la primera remisión. Para que los acepte: "
                                          "sudo cupsaccept %1")
                               .arg(cola, dice));
    }
    if (estado.existe && estado.detenida) {
        return mal(nombre, QStringLiteral("la cola %1 está detenida%2: acepta las remisiones, "
                                          "pero esperan en ella sin imprimirse. Para reanudarla: "
                                          "sudo cupsenable %1")
                               .arg(cola, dice));
    }
    return bien(nombre, nota);
}

Verificacion::Punto impresora(const Estado& e) {
    const QString pdf = qEnvironmentVariable("DEREMISIONES_PDF");
    if (!pdf.isEmpty()) {
        const QString nombre = QStringLiteral("Impresión en PDF (%1)").arg(pdf);
        // A folder still to be made is made by the first print, in a folder that allows it.
        const QFileInfo carpeta(pdf);
        const bool escribible = carpeta.exists() ? carpeta.isDir() && carpeta.isWritable()
                                                 : QFileInfo(carpeta.absolutePath()).isWritable();
        return escribible ? bien(nombre)
                          : mal(nombre, QStringLiteral("no se puede escribir en la carpeta."));
    }
    const QString orvane = QDir(e.carpetaHost).filePath(QStringLiteral("Orvane.ini"));
    if (QFileInfo::exists(orvane) && !QFileInfo(orvane).isReadable()) {
        return mal(QStringLiteral("Impresora de las remisiones"),
                   QStringLiteral("no se puede leer %1 (vea «Carpeta de Orvane»).").arg(orvane));
    }
    const QString elegida = ArchivoIni(orvane).lee(QStringLiteral("Impresión de formatos"),
                                                   QStringLiteral("fmtremision.rpt"));
    const QString nombre = elegida.isEmpty()
                               ? QStringLiteral("Impresora de las remisiones")
                               : QStringLiteral("Impresora de las remisiones (%1)").arg(elegida);
    // Without the scheduler no queue can be listed: that is no sign that it is missing.
    if (!ColaDeCups::ServicioResponde()) {
        return mal(nombre, QStringLiteral("el servicio de impresión (CUPS) no responde en %1, así "
                                          "que no se puede imprimir ni saber qué impresoras hay. "
                                          "Enciéndalo: sudo systemctl start cups")
                               .arg(ColaDeCups::Servidor()));
    }
    const QPrinterInfo predeterminada = QPrinterInfo::defaultPrinter();
    if (!elegida.isEmpty()) {
        if (const QPrinterInfo instalada = modRPTs::ImpresoraInstalada(elegida);
            !instalada.isNull()) {
            return colaDeImpresion(nombre, instalada.printerName(), {});
        }
        // The queue configured is a promise: the notes must not go to another printer unseen.
        return mal(nombre,
                   QStringLiteral("no está instalada en este equipo%1. Instálela, o elija una de "
                                  "las instaladas (lpstat -e) con «deremisiones configura "
                                  "--impresora COLA».")
                       .arg(predeterminada.isNull()
                                ? QString()
                                : QStringLiteral(": las remisiones irían a la predeterminada, %1")
                                      .arg(predeterminada.printerName())));
    }
    if (predeterminada.isNull()) {
        return mal(nombre, QStringLiteral("no hay impresora predeterminada ni una elegida en %1 "
                                          "(sección [Impresión de formatos], clave "
                                          "fmtremision.rpt).")
                               .arg(orvane));
    }
    return colaDeImpresion(
        nombre, predeterminada.printerName(),
        QStringLiteral("la predeterminada, %1").arg(predeterminada.printerName()));
}

} // namespace

QVector<Verificacion::Punto> Verificacion::Revisa() {
    Estado e;
    QVector<Punto> puntos;
    puntos << programa(e) << carpetaHost(e) << instalacion(e) << acceso(e) << cifrado(e);
    const bool conFacturas =
        RevisionDeTienda::ConFacturas(ConfiguracionDeTienda::ArchivoDelPrograma());
    puntos << permisos(e, conFacturas) << resguardo(e, conFacturas) << plantillas(e) << origenes(e)
           << impresora(e);
    return puntos;
}
