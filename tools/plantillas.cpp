// The template kit: builds report templates from their text sources, stores them with the
// auxiliary print database and their images in a store's reportesbin (AlmacenDePlantillas
// says under which names), takes a stored one back, checks a source against the store's tables
// and prints a sample of a delivery note with it. The usage text below says how; the manual
// of the format is docs/plantillas.md, installed beside the program's other documents.

#include "arranque/Principal.h"
#include "impresion/AlmacenDePlantillas.h"
#include "impresion/CatalogoDeLaTienda.h"
#include "impresion/MuestraDePlantilla.h"
#include "interfaz/ContrasenaDeConsola.h"
#include "orvlib/AlSalir.h"
#include "orvlib/CamposBin.h"
#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/FuenteDePlantilla.h"
#include "servicios/MensajesDeQt.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// Each order with its synopsis and what it does, as the help shows them.
struct AyudaDeOrden {
    const char* nombre;
    const char* texto;
};

const AyudaDeOrden kOrdenes[] = {
    {"construye", "  construye FUENTE SALIDA\n"
                  "      Arma el archivo de plantilla (.rpt) de una fuente de texto.\n"},
    {"guarda",
     "  guarda [CONEXIÓN] ARCHIVO…\n"
     "      Guarda en reportesbin de la tienda plantillas (.rpt.fuente), la base auxiliar\n"
     "      (Auxiliar.MDB.sql) e imágenes (.png, .jpg) con su propio nombre. Antes revisa\n"
     "      cada plantilla como «revisa» (las imágenes que falten aparte): si alguna tiene\n"
     "      problemas no guarda nada, los escribe y termina con 1.\n"},
    {"extrae",
     "  extrae [CONEXIÓN] NOMBRE SALIDA\n"
     "      Escribe la fuente de texto de una plantilla guardada (fmtRemision.rpt) en SALIDA,\n"
     "      o en la salida estándar con «-». Lo que escribe es lo que «construye» acepta.\n"},
    {"revisa",
     "  revisa [CONEXIÓN] FUENTE\n"
     "      Revisa una fuente contra las tablas de la tienda y las de la base auxiliar: que\n"
     "      existan cada tabla, campo, fórmula e imagen que nombra. Escribe un renglón\n"
     "      «línea N: …» por problema y termina con 1 si hay alguno, con 0 si no. Una imagen\n"
     "      que la tienda no tiene guardada es un aviso («Aviso: línea N: …»): se imprime en\n"
     "      blanco.\n"},
    {"muestra",
     "  muestra [CONEXIÓN] FUENTE --serie S --folio N (--pdf SALIDA | --png SALIDA | --ventana)\n"
     "      Imprime una remisión de la tienda con esa fuente, por el mismo camino que una\n"
     "      impresión, sin escribir nada en la tienda: a un PDF, a imágenes PNG (una por hoja:\n"
     "      SALIDA, o SALIDA-1.png, SALIDA-2.png… si hay varias) o en la ventana de vista "
     "previa.\n"},
};

const char* const kConexion =
    "CONEXIÓN: sin opciones, la de la configuración del programa (la que dejó «deremisiones\n"
    "          configura»). O bien --base BASE [--servidor H] [--puerto P] [--usuario U]\n"
    "          [--tls [--ca ARCHIVO]] (cifrada, como en «deremisiones configura»); el\n"
    "          servidor y el puerto toman por omisión DEREMISIONES_MYSQL_HOST y\n"
    "          DEREMISIONES_MYSQL_PUERTO, o 127.0.0.1:3306, y el usuario root (con «localhost»\n"
    "          el cliente entra por el socket local, no por el puerto). La contraseña se lee\n"
    "          entonces de la entrada estándar (una línea) o, en una terminal, se pide sin\n"
    "          mostrarla; nunca va en la línea de órdenes.\n";

// The manual of the format: where the package installs it, else in the sources beside the
// build.
QString manualDelFormato() {
    if (Proceso::EsCopiaInstalada()) {
        return QDir::cleanPath(QDir(Proceso::CarpetaDeDatosInstalados())
                                   .filePath(QStringLiteral("../doc/deremisiones/plantillas.md")));
    }
    return QStringLiteral("docs/plantillas.md");
}

// The whole usage, or one order's when orden names one.
QString textoDeUso(const QString& orden = {}) {
    QString texto = QStringLiteral("Uso: plantillas ORDEN …\n\n");
    for (const AyudaDeOrden& a : kOrdenes) {
        if (orden.isEmpty() || orden == QLatin1String(a.nombre)) {
            texto += QString::fromUtf8(a.texto);
        }
    }
    texto += QLatin1Char('\n') + QString::fromUtf8(kConexion);
    texto += QStringLiteral("«muestra» lee los orígenes de datos ODBC de la instalación "
                            "(myodbc3-test), como el\nprograma. El manual del formato está en ") +
             manualDelFormato() + QStringLiteral(".\n");
    return texto;
}

int uso() {
    std::fputs(textoDeUso().toUtf8().constData(), stderr);
    return 2;
}

void escribe(const QString& texto, std::FILE* salida = stdout) {
    std::fprintf(salida, "%s\n", texto.toUtf8().constData());
}

QByteArray leeArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no se puede leer " + ruta.toStdString() + ": " +
                                 f.errorString().toStdString());
    }
    return f.readAll();
}

// The options of an order that works on a store, its connection and the shared settings of
// the program pointed at the store.
class OrdenConTienda {
public:
    explicit OrdenConTienda(const QList<QCommandLineOption>& propias = {}) {
        opciones_.addOptions({
            {QStringLiteral("base"), QStringLiteral("Base de datos de la tienda."),
             QStringLiteral("BASE")},
            {QStringLiteral("servidor"), QStringLiteral("Servidor MySQL."), QStringLiteral("H"),
             qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1"))},
            {QStringLiteral("puerto"), QStringLiteral("Puerto."), QStringLiteral("P"),
             qEnvironmentVariable("DEREMISIONES_MYSQL_PUERTO", QStringLiteral("3306"))},
            {QStringLiteral("usuario"), QStringLiteral("Usuario."), QStringLiteral("U"),
             QStringLiteral("root")},
            {QStringLiteral("tls"), QStringLiteral("Conexión cifrada (TLS).")},
            {QStringLiteral("ca"), QStringLiteral("Certificado de la autoridad; implica --tls."),
             QStringLiteral("ARCHIVO")},
        });
        opciones_.addOptions(propias);
    }

    // 0 when the options hold between minimo and maximo file names and the store could be
    // reached; else the exit code, the reason written on standard error.
    int abre(const QStringList& argumentos, qsizetype minimo, qsizetype maximo) {
        if (!opciones_.parse(QStringList{QStringLiteral("plantillas")} + argumentos)) {
            escribe(opciones_.errorText(), stderr);
            return 2;
        }
        const qsizetype archivos = opciones_.positionalArguments().size();
        if (archivos < minimo || archivos > maximo) {
            return uso();
        }
        if (const int error = tiene("base") ? conexionDada() : conexionDelPrograma()) {
            return error;
        }
        const BasesDD& b = *Proceso::actual().bases;
        if (!b.AbrirBdD(cnn_)) {
            escribe(QStringLiteral("No se puede conectar con %1 en %2: %3")
                        .arg(b.cMiBase, b.cRuta, cnn_.ultimoError()),
                    stderr);
            return 1;
        }
        return 0;
    }

    QString valor(const char* opcion) const { return opciones_.value(QString::fromLatin1(opcion)); }

private:
    // The connection of the options; its password from standard input or asked.
    int conexionDada() {
        Principal::CreaObjetosCompartidos();
        BasesDD& b = *Proceso::actual().bases;
        b.cRuta = valor("servidor");
        b.cCifrado.activo = tiene("tls") || tiene("ca");
        b.cCifrado.autoridad = tiene("ca") ? QFileInfo(valor("ca")).absoluteFilePath() : QString();
        b.cPuerto = valor("puerto").toInt();
        b.cUsuario = valor("usuario");
        b.cMiBase = valor("base");
        if (!ContrasenaDeConsola::Lee(
                QStringLiteral("Contraseña de %1 en %2: ").arg(b.cUsuario, b.cRuta), b.cPassword)) {
            escribe(QStringLiteral("Falta la contraseña: escríbala en la entrada estándar (una "
                                   "línea, vacía si el usuario no tiene)."),
                    stderr);
            return 2;
        }
        return 0;
    }

    // The store the program itself is pointed at; the paths given stay relative to the folder
    // the tool was started in.
    int conexionDelPrograma() {
        if (tiene("servidor") || tiene("puerto") || tiene("usuario") || tiene("tls") ||
            tiene("ca")) {
            return uso();
        }
        const QString actual = QDir::currentPath();
        const bool configurado = Principal::Configura();
        QDir::setCurrent(actual);
        if (!configurado) {
            escribe(QStringLiteral("Dé --base o configure el programa con «deremisiones "
                                   "configura»; «deremisiones verifica» dice qué falta."),
                    stderr);
            return 1;
        }
        return 0;
    }

public:
    bool tiene(const char* opcion) const { return opciones_.isSet(QString::fromLatin1(opcion)); }
    QStringList posicionales() const { return opciones_.positionalArguments(); }
    Conexion& conexion() { return cnn_; }

private:
    QCommandLineParser opciones_;
    Conexion cnn_;
};

// Writes the file whole or not at all; 1 after saying why it could not.
int escribeArchivo(const QString& ruta, const QByteArray& bytes) {
    try {
        EscritorDeArchivo::Escribe(ruta, bytes);
    } catch (const ErrorOrvlib& e) {
        escribe(e.descripcion() + QStringLiteral(" (") + ruta + QLatin1Char(')'), stderr);
        return 1;
    }
    return 0;
}

// 1 after saying why, when the scratch folder could not be made.
int sinCarpeta(const QTemporaryDir& carpeta) {
    if (carpeta.isValid()) {
        return 0;
    }
    escribe(QStringLiteral("No se pudo crear una carpeta temporal: ") + carpeta.errorString(),
            stderr);
    return 1;
}

int construye(const QStringList& argumentos) {
    if (argumentos.size() != 2) {
        return uso();
    }
    return escribeArchivo(argumentos[1], AlmacenDePlantillas::Contenido(argumentos[0]));
}

int guarda(const QStringList& argumentos) {
    OrdenConTienda orden;
    if (const int error = orden.abre(argumentos, 1, std::numeric_limits<qsizetype>::max())) {
        return error;
    }
    for (const QString& nombre :
         AlmacenDePlantillas::Guarda(orden.conexion(), orden.posicionales())) {
        escribe(nombre);
    }
    return 0;
}

int extrae(const QStringList& argumentos) {
    OrdenConTienda orden;
    if (const int error = orden.abre(argumentos, 2, 2)) {
        return error;
    }
    QString nombre = orden.posicionales()[0];
    if (!nombre.contains(QLatin1String(".rpt"), Qt::CaseInsensitive)) {
        nombre += QStringLiteral(".rpt");
    }
    QTemporaryDir carpeta;
    if (const int error = sinCarpeta(carpeta)) {
        return error;
    }
    CamposBin campos;
    campos.BaseDD = &orden.conexion();
    campos.ExtraeRPT(nombre, carpeta.path());
    const QByteArray fuente =
        ArchivoDePlantilla::Fuente(leeArchivo(QDir(carpeta.path()).filePath(nombre))).toUtf8();
    const QString destino = orden.posicionales()[1];
    if (destino == QLatin1String("-")) {
        std::fwrite(fuente.constData(), 1, static_cast<std::size_t>(fuente.size()), stdout);
        return 0;
    }
    return escribeArchivo(destino, fuente);
}

int revisa(const QStringList& argumentos) {
    OrdenConTienda orden;
    if (const int error = orden.abre(argumentos, 1, 1)) {
        return error;
    }
    Plantilla plantilla;
    const QByteArray fuente = leeArchivo(orden.posicionales()[0]);
    try {
        plantilla = FuenteDePlantilla::Lee(QString::fromUtf8(fuente));
    } catch (const ErrorDeReporte& e) {
        escribe(QString(e.texto()).remove(QStringLiteral("Plantilla, ")));
        return 1;
    }
    if (const QString cortada = AlmacenDePlantillas::FuenteCortada(fuente); !cortada.isEmpty()) {
        escribe(cortada);
        return 1;
    }
    // An image the store has not stored prints blank, as printing lets it: a warning.
    const CatalogoDeDatos catalogo = CatalogoDeLaTienda::Lee(orden.conexion(), plantilla);
    RevisorDePlantilla revisor(plantilla, catalogo, false);
    const QStringList problemas = revisor.Revisa();
    for (const QString& problema : problemas) {
        escribe(problema);
    }
    for (const QString& aviso : revisor.Avisos()) {
        escribe(QStringLiteral("Aviso: ") + aviso);
    }
    if (problemas.isEmpty()) {
        escribe(QStringLiteral("Sin problemas. Tablas: %1, fórmulas: %2, imágenes: %3.")
                    .arg(plantilla.tablas.size())
                    .arg(plantilla.formulas.size())
                    .arg(plantilla.imagenes().size()));
    }
    return problemas.isEmpty() ? 0 : 1;
}

int muestra(const QStringList& argumentos) {
    OrdenConTienda orden({
        {QStringLiteral("serie"), QStringLiteral("Serie de la remisión."), QStringLiteral("S")},
        {QStringLiteral("folio"), QStringLiteral("Folio de la remisión."), QStringLiteral("N")},
        {QStringLiteral("pdf"), QStringLiteral("Archivo PDF de salida."), QStringLiteral("SALIDA")},
        {QStringLiteral("png"), QStringLiteral("Imágenes PNG de salida."),
         QStringLiteral("SALIDA")},
        {QStringLiteral("ventana"), QStringLiteral("Muestra la vista previa.")},
    });
    if (const int error = orden.abre(argumentos, 1, 1)) {
        return error;
    }
    const int salidas =
        int(orden.tiene("pdf")) + int(orden.tiene("png")) + int(orden.tiene("ventana"));
    bool folioValido = false;
    const int folio = orden.valor("folio").toInt(&folioValido);
    if (salidas != 1 || !folioValido) {
        return uso();
    }
    // The sample's scratch files go to a program folder of its own, the user's untouched.
    QTemporaryDir carpetaDelPrograma;
    if (const int error = sinCarpeta(carpetaDelPrograma)) {
        return error;
    }
    qputenv("DEREMISIONES_CARPETA", carpetaDelPrograma.path().toLocal8Bit());
    const AlSalir sueltaTemporal([] { TemporalDelProceso::Suelta(); });
    Proceso::actual().stCarpetaPrograma = Proceso::CarpetaDelPrograma() + QLatin1Char('/');
    const auto salida = orden.tiene("pdf")   ? MuestraDePlantilla::Salida::Pdf
                        : orden.tiene("png") ? MuestraDePlantilla::Salida::Png
                                             : MuestraDePlantilla::Salida::Ventana;
    const QString destino = orden.valor(orden.tiene("pdf") ? "pdf" : "png");
    const QStringList escritos =
        MuestraDePlantilla(orden.conexion())
            .Muestra(QString::fromUtf8(leeArchivo(orden.posicionales()[0])), orden.valor("serie"),
                     folio, salida, destino.isEmpty() ? QString() : QDir(destino).absolutePath());
    for (const QString& archivo : escritos) {
        escribe(archivo);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    MensajesDeQt::Instala(
        QStringLiteral("«plantillas muestra» sin --ventana escribe la muestra "
                       "en un PDF (--pdf SALIDA) o en imágenes PNG (--png SALIDA)."));
    // Only the preview window needs a display; the scratch files of a sample go to a folder of
    // their own.
    const bool ventana = std::any_of(
        argv, argv + argc, [](const char* a) { return std::strcmp(a, "--ventana") == 0; });
    if (!ventana && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The process's scratch folder goes before the folders it may live in.
    const AlSalir sueltaTemporal([] { TemporalDelProceso::Suelta(); });
    Principal::AseguraCarpetaDeEjecucion();
    QApplication app(argc, argv);
    VistaPrevia::Instala();
    const QStringList argumentos = app.arguments().mid(2);
    const QString orden = app.arguments().value(1);
    const auto esAyuda = [](const QString& a) {
        return a == QLatin1String("--help") || a == QLatin1String("-h");
    };
    if (esAyuda(orden) || orden == QLatin1String("ayuda")) {
        std::fputs(textoDeUso().toUtf8().constData(), stdout);
        return 0;
    }
    // «plantillas ORDEN --help»: that order's usage.
    if (std::any_of(argumentos.begin(), argumentos.end(), esAyuda)) {
        const bool conocida =
            std::any_of(std::begin(kOrdenes), std::end(kOrdenes),
                        [&](const AyudaDeOrden& a) { return orden == QLatin1String(a.nombre); });
        if (conocida) {
            std::fputs(textoDeUso(orden).toUtf8().constData(), stdout);
            return 0;
        }
    }
    try {
        if (orden == QLatin1String("construye")) {
            return construye(argumentos);
        }
        if (orden == QLatin1String("guarda")) {
            return guarda(argumentos);
        }
        if (orden == QLatin1String("extrae")) {
            return extrae(argumentos);
        }
        if (orden == QLatin1String("revisa")) {
            return revisa(argumentos);
        }
        if (orden == QLatin1String("muestra")) {
            return muestra(argumentos);
        }
    } catch (const ErrorDeReporte& e) {
        escribe(e.texto(), stderr);
        return 1;
    } catch (const ErrorOrvlib& e) {
        escribe(e.texto(), stderr);
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return uso();
}
