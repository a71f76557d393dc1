#include "OrdenConfigura.h"

#include "arranque/ConfiguracionDeTienda.h"
#include "interfaz/ContrasenaDeConsola.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QFileInfo>

QString OrdenConfigura::sinopsis() const {
    return QStringLiteral(
        "configura --carpeta-orvane DIR --servidor H [--puerto P] --usuario U "
        "--base B [--resguardo B2] [--impresora NOMBRE] [--plantillas DIR] [--tls [--ca "
        "ARCHIVO]]");
}

QString OrdenConfigura::descripcion() const {
    return QStringLiteral(
        "Deja el programa listo para una tienda, para la cuenta que lo ejecuta. La contraseña del "
        "usuario de MySQL se lee de la entrada estándar (una línea) o, en una terminal, se pide "
        "sin mostrarla; nunca va en la línea de órdenes.\n\n"
        "Antes de escribir nada revisa todo: que esta cuenta pueda escribir la carpeta de Orvane "
        "(y su Orvane.ini con --impresora), la carpeta del programa, la de configuración y el "
        "archivo de orígenes ODBC; que el controlador ODBC de MariaDB o MySQL esté registrado y "
        "su biblioteca se pueda cargar; que el usuario entre a la base y tenga los permisos que "
        "necesitan los trabajos (los de las facturas, cuando el menú las muestra); y las "
        "plantillas. Si algo falla dice qué y cómo arreglarlo, termina con 2 y no cambia nada.\n\n"
        "Luego guarda en reportesbin la plantilla que le falte a la tienda (nunca reemplaza las "
        "suyas), registra la instalación de Orvane (usuario y contraseña ofuscados, no cifrados; "
        "archivo sólo para su dueño), escribe DeRemisiones.ini, los dos orígenes de datos ODBC y, "
        "con --impresora, la impresora de las remisiones en Orvane.ini. Cada archivo se escribe "
        "entero; si uno no se puede escribir, todos quedan como estaban y termina con 1. Los "
        "archivos que ya existían conservan su grupo y sus permisos, y su dueño cuando lo ejecuta "
        "root.\n\n"
        "Con --tls todas las conexiones del programa y de los reportes con el servidor van "
        "cifradas y el certificado del servidor se comprueba con la autoridad de --ca (un "
        "archivo PEM) o, sin --ca, con las del sistema; se guarda en DeRemisiones.ini (TLS, CA) y "
        "en los orígenes de datos. Sin --tls las conexiones van sin cifrar.\n\n"
        "La carpeta de Orvane es la carpeta de la instalación de Orvane en este equipo: ahí el "
        "programa busca Orvane.ini y deja la lista para la factura global (RdRpFG.txt). Si no "
        "existe, se crea. Cada cuenta que use el programa ejecuta configura una vez; como root "
        "sólo se configura la cuenta root.");
}

QList<QCommandLineOption> OrdenConfigura::opciones() const {
    return {
        {QStringLiteral("carpeta-orvane"), QStringLiteral("Carpeta de Orvane en este equipo."),
         QStringLiteral("DIR")},
        {QStringLiteral("servidor"),
         QStringLiteral("Servidor MySQL o MariaDB de la tienda. «localhost» entra por el "
                        "socket local y no usa el puerto: para el puerto dé 127.0.0.1."),
         QStringLiteral("H")},
        {QStringLiteral("puerto"), QStringLiteral("Puerto del servidor (3306 si no se da)."),
         QStringLiteral("P"), QStringLiteral("3306")},
        {QStringLiteral("usuario"), QStringLiteral("Usuario de MySQL con que trabaja el programa."),
         QStringLiteral("U")},
        {QStringLiteral("base"), QStringLiteral("Base de datos principal de la tienda."),
         QStringLiteral("B")},
        {QStringLiteral("resguardo"),
         QStringLiteral("Base de datos de resguardo de las remisiones facturadas (datos2 si no se "
                        "da)."),
         QStringLiteral("B2"), QStringLiteral("datos2")},
        {QStringLiteral("impresora"), QStringLiteral("Impresora de las remisiones."),
         QStringLiteral("NOMBRE")},
        {QStringLiteral("plantillas"),
         QStringLiteral("Carpeta de las plantillas que se guardan si la tienda no tiene (las "
                        "que trae el programa si no se da)."),
         QStringLiteral("DIR")},
        {QStringLiteral("tls"), QStringLiteral("Cifrar las conexiones con el servidor (TLS).")},
        {QStringLiteral("ca"),
         QStringLiteral("Certificado (PEM) de la autoridad que firmó el del servidor; implica "
                        "--tls. Sin él se usan las autoridades del sistema."),
         QStringLiteral("ARCHIVO")},
    };
}

int OrdenConfigura::ejecuta(const QCommandLineParser& opciones) {
    DatosDeTienda datos;
    datos.carpetaOrvane = opciones.value(QStringLiteral("carpeta-orvane"));
    datos.servidor = opciones.value(QStringLiteral("servidor"));
    bool puertoValido = false;
    datos.puerto = opciones.value(QStringLiteral("puerto")).toInt(&puertoValido);
    if (!puertoValido) {
        datos.puerto = 0;
    }
    datos.usuario = opciones.value(QStringLiteral("usuario"));
    datos.base = opciones.value(QStringLiteral("base"));
    datos.resguardo = opciones.value(QStringLiteral("resguardo"));
    datos.impresora = opciones.value(QStringLiteral("impresora"));
    datos.carpetaDePlantillas =
        opciones.isSet(QStringLiteral("plantillas"))
            ? opciones.value(QStringLiteral("plantillas"))
            : QDir(Proceso::CarpetaDeDatosInstalados()).filePath(QStringLiteral("plantillas"));
    datos.cifrado.activo =
        opciones.isSet(QStringLiteral("tls")) || opciones.isSet(QStringLiteral("ca"));
    if (opciones.isSet(QStringLiteral("ca"))) {
        datos.cifrado.autoridad =
            QFileInfo(opciones.value(QStringLiteral("ca"))).absoluteFilePath();
    }
    for (const QString& opcion :
         {QStringLiteral("puerto"), QStringLiteral("resguardo"), QStringLiteral("impresora"),
          QStringLiteral("plantillas"), QStringLiteral("tls"), QStringLiteral("ca")}) {
        if (opciones.isSet(opcion)) {
            datos.dadas << opcion;
        }
    }
    ConfiguracionDeTienda::Valida(datos);
    if (!ContrasenaDeConsola::Lee(
            QStringLiteral("Contraseña de %1 en %2: ").arg(datos.usuario, datos.servidor),
            datos.contrasena)) {
        Falla(QStringLiteral("Falta la contraseña: escríbala en la entrada estándar (una línea, "
                             "vacía si el usuario no tiene)."));
        return 2;
    }
    for (const QString& linea : ConfiguracionDeTienda::Aplica(datos)) {
        Escribe(linea);
    }
    Escribe(QStringLiteral("Listo. Compruebe todo con «deremisiones verifica»."));
    return 0;
}
