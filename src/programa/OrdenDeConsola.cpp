#include "OrdenDeConsola.h"

#include "OrdenConfigura.h"
#include "OrdenFactura.h"
#include "OrdenPorcentaje.h"
#include "OrdenTope.h"
#include "OrdenVerifica.h"
#include "arranque/Principal.h"
#include "arranque/RevisionDeTienda.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/ParadaDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/modRPTs.h"
#include "interfaz/NumeroEscrito.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/libKwtm.h"
#include "servicios/Bitacora.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/CandadoDeReimpresion.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Every subcommand under its name, in the order the general help lists them.
std::vector<std::pair<QString, std::function<std::unique_ptr<OrdenDeConsola>()>>> ordenes() {
    return {
        {QStringLiteral("configura"), [] { return std::make_unique<OrdenConfigura>(); }},
        {QStringLiteral("verifica"), [] { return std::make_unique<OrdenVerifica>(); }},
        {QStringLiteral("tope"), [] { return std::make_unique<OrdenTope>(); }},
        {QStringLiteral("porcentaje"), [] { return std::make_unique<OrdenPorcentaje>(); }},
        {QStringLiteral("factura"), [] { return std::make_unique<OrdenFactura>(); }},
    };
}

// "deremisiones tope --desde …" as it was run, for the terminal.
QString paraLaTerminal(const QStringList& argumentos) {
    QStringList orden = {QStringLiteral("deremisiones")};
    for (const QString& a : argumentos.mid(1)) {
        orden << RevisionDeTienda::ParaLaTerminal(a);
    }
    return orden.join(QLatin1Char(' '));
}

// The current folder when the command started.
QString& carpetaDeLaOrden() {
    static QString carpeta;
    return carpeta;
}

} // namespace

QString OrdenDeConsola::RutaDada(const QString& ruta) {
    return QDir(carpetaDeLaOrden()).absoluteFilePath(ruta);
}

void OrdenDeConsola::Escribe(const QString& texto) {
    std::fputs(texto.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

int OrdenDeConsola::Falla(const QString& texto) {
    std::fprintf(stderr, "%s\n", texto.toUtf8().constData());
    return 1;
}

bool OrdenDeConsola::LeeFecha(const QCommandLineParser& opciones, const QString& nombre,
                              QDate& fecha) {
    fecha = libKwtm::LeeFecha(opciones.value(nombre));
    if (!fecha.isValid()) {
        Falla(QStringLiteral("--%1: \"%2\" no es una fecha DD/MM/AAAA válida")
                  .arg(nombre, opciones.value(nombre)));
    }
    return fecha.isValid();
}

bool OrdenDeConsola::LeeNumero(const QCommandLineParser& opciones, const QString& nombre,
                               double& numero) {
    // Read as the windows read it: "1,500.00" is 1500, "0,5" is refused, never taken as 5.
    const QString texto = opciones.value(nombre);
    const std::optional<double> valor =
        texto.trimmed().isEmpty() ? std::nullopt : NumeroEscrito::Lee(texto);
    if (!valor) {
        Falla(QStringLiteral("--%1: %2").arg(nombre, NumeroEscrito::AvisoDeNumero(texto)));
        return false;
    }
    numero = *valor;
    return true;
}

bool OrdenDeConsola::LeeFolio(const QCommandLineParser& opciones, const QString& nombre,
                              qint64& folio) {
    constexpr qint64 kFolioMaximo = 2147483647; // the folio column's range
    bool ok = false;
    folio = opciones.value(nombre).trimmed().remove(QLatin1Char(',')).toLongLong(&ok, 10);
    ok = ok && folio >= 1 && folio <= kFolioMaximo;
    if (!ok) {
        Falla(QStringLiteral("--%1: \"%2\" no es un folio; los folios de las remisiones son "
                             "números enteros de 1 a 2,147,483,647.")
                  .arg(nombre, opciones.value(nombre)));
    }
    return ok;
}

int OrdenDeConsola::ConSuBitacora(int codigo) {
    const QString perdida = Bitacora::LineaPerdida();
    if (codigo != 0 || perdida.isEmpty()) {
        return codigo;
    }
    return Falla(QStringLiteral("La orden se cumplió, pero no se pudo anotar en la bitácora: %1. "
                                "Lo hecho queda hecho; anótelo a mano y libere espacio o dé "
                                "permiso en la carpeta del programa.")
                     .arg(perdida));
}

QList<QCommandLineOption> OrdenDeConsola::OpcionesDeImpresion() {
    return {
        {QStringLiteral("imprimir"), QStringLiteral("Imprime las remisiones elegidas.")},
        {QStringLiteral("pdf"),
         QStringLiteral("Requiere --imprimir: escribe cada remisión en un archivo PDF en esa "
                        "carpeta en lugar de mandarla a la impresora. Sin --imprimir la orden se "
                        "rechaza."),
         QStringLiteral("CARPETA")},
        {QStringLiteral("pdf-unico"),
         QStringLiteral("Requiere --imprimir: escribe todas las remisiones, en orden, en ese único "
                        "archivo PDF, que queda completo o no queda. No se combina con --pdf."),
         QStringLiteral("ARCHIVO")},
        {QStringLiteral("continuar"),
         QStringLiteral("Requiere --imprimir: imprime las remisiones de la última impresión de "
                        "este trabajo que no se imprimieron (detenida, cancelada, interrumpida o "
                        "con error), desde la primera de ellas, si las remisiones de trabajo son "
                        "las mismas. Las impresas y las que esperan en la cola no se repiten.")},
        {QStringLiteral("desde-remision"),
         QStringLiteral("Requiere --imprimir: vuelve a imprimir la última impresión de este "
                        "trabajo desde la remisión con ese folio nuevo hasta su final (por "
                        "ejemplo, tras un atasco), si las remisiones de trabajo son las mismas."),
         QStringLiteral("FOLIO")},
        {QStringLiteral("omitir-pendientes"),
         QStringLiteral("Con --desde-remision: permite dejar sin imprimir las remisiones "
                        "anteriores a ese folio que nunca se imprimieron; sin esta opción la "
                        "orden se rechaza.")},
    };
}

bool OrdenDeConsola::ImpresionCoherente(const QCommandLineParser& opciones) {
    const bool imprimir = opciones.isSet(QStringLiteral("imprimir"));
    const bool unico = opciones.isSet(QStringLiteral("pdf-unico"));
    if (opciones.isSet(QStringLiteral("pdf")) && unico) {
        Falla(QStringLiteral("--pdf y --pdf-unico no se combinan: use --pdf CARPETA para un PDF "
                             "por remisión o --pdf-unico ARCHIVO para uno con todas."));
        return false;
    }
    if (opciones.isSet(QStringLiteral("continuar")) &&
        opciones.isSet(QStringLiteral("desde-remision"))) {
        Falla(QStringLiteral("--continuar y --desde-remision no se combinan: --continuar imprime "
                             "lo que faltó; --desde-remision vuelve a imprimir desde un folio."));
        return false;
    }
    if (opciones.isSet(QStringLiteral("omitir-pendientes")) &&
        !opciones.isSet(QStringLiteral("desde-remision"))) {
        Falla(QStringLiteral("--omitir-pendientes solo sirve con --desde-remision FOLIO."));
        return false;
    }
    for (const char* opcion : {"continuar", "desde-remision"}) {
        if (!imprimir && opciones.isSet(QString::fromLatin1(opcion))) {
            Falla(QStringLiteral("--%1 requiere --imprimir: agregue --imprimir para imprimir las "
                                 "remisiones, o quite --%1.")
                      .arg(QString::fromLatin1(opcion)));
            return false;
        }
    }
    for (const char* opcion : {"pdf", "pdf-unico"}) {
        if (!imprimir && opciones.isSet(QString::fromLatin1(opcion))) {
            Falla(QStringLiteral("--%1 requiere --imprimir: agregue --imprimir para escribir las "
                                 "remisiones en PDF, o quite --%1.")
                      .arg(QString::fromLatin1(opcion)));
            return false;
        }
    }
    if (unico && opciones.value(QStringLiteral("pdf-unico")).trimmed().isEmpty()) {
        Falla(QStringLiteral("--pdf-unico necesita el nombre del archivo PDF."));
        return false;
    }
    if (unico && QFileInfo(opciones.value(QStringLiteral("pdf-unico"))).isDir()) {
        Falla(QStringLiteral("--pdf-unico: «%1» es una carpeta; dé el nombre del archivo PDF, por "
                             "ejemplo «%1/corrida.pdf».")
                  .arg(opciones.value(QStringLiteral("pdf-unico"))));
        return false;
    }
    return true;
}

int OrdenDeConsola::FallaPorError(const ErrorOrvlib& error) {
    const ExplicacionDeError explicacion = ExplicacionDeError::De(error);
    QString detalle = explicacion.detalle();
    return Falla(explicacion.principal() + QLatin1Char('\n') +
                 detalle.replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

namespace {

constexpr int kAncho = 79;

// The text cut into lines of at most kAncho characters, paragraph by paragraph; lines after the
// first of each paragraph start with the indent.
QString envuelve(const QString& texto, int sangria = 0, int primera = 0) {
    QStringList lineas;
    for (const QString& parrafo : texto.split(QLatin1Char('\n'))) {
        QString actual;
        int ocupado = lineas.isEmpty() ? primera : sangria;
        for (const QString& palabra : parrafo.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!actual.isEmpty() && ocupado + actual.size() + 1 + palabra.size() > kAncho) {
                lineas << actual;
                actual.clear();
                ocupado = sangria;
            }
            actual += (actual.isEmpty() ? QString() : QStringLiteral(" ")) + palabra;
        }
        lineas << actual;
    }
    return lineas.join(QLatin1Char('\n') + QString(sangria, QLatin1Char(' ')));
}

} // namespace

QString OrdenDeConsola::ayuda() const {
    QStringList lineas = {envuelve(QStringLiteral("Uso: deremisiones ") + sinopsis(), 6), QString(),
                          envuelve(descripcion()), QString(), QStringLiteral("Opciones:")};
    QList<QCommandLineOption> todas = opciones();
    todas.append(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Muestra esta ayuda.")));
    for (const QCommandLineOption& o : todas) {
        QStringList nombres;
        for (const QString& n : o.names()) {
            nombres << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
        }
        QString izquierda = QStringLiteral("  ") + nombres.join(QStringLiteral(", "));
        if (!o.valueName().isEmpty()) {
            izquierda += QLatin1Char(' ') + o.valueName();
        }
        izquierda = izquierda.leftJustified(27) + QLatin1Char(' ');
        lineas << izquierda + envuelve(o.description(), 28, static_cast<int>(izquierda.size()));
    }
    lineas << QString()
           << envuelve(QStringLiteral("Termina con 0 cuando hizo todo, 1 cuando falló (el error "
                                      "va a la salida de errores) y 2 cuando rechazó la orden "
                                      "(opciones o datos que no sirven, u otra estación "
                                      "reimprimiendo)."));
    return lineas.join(QLatin1Char('\n'));
}

QString OrdenDeConsola::AyudaGeneral() {
    QStringList lineas = {
        QStringLiteral("Uso: deremisiones [-probando]      abre el menú principal"),
        QStringLiteral("     deremisiones --version"),
    };
    for (const auto& [nombre, crea] : ordenes()) {
        lineas << QStringLiteral("     ") +
                      envuelve(QStringLiteral("deremisiones ") + crea()->sinopsis(), 10, 5);
    }
    lineas << QString()
           << envuelve(QStringLiteral("«deremisiones ORDEN --help» explica cada orden. Para "
                                      "empezar en una tienda: «deremisiones configura» y luego "
                                      "«deremisiones verifica»."));
    return lineas.join(QLatin1Char('\n'));
}

PlanDeImpresion OrdenDeConsola::PlanPedido(const QCommandLineParser& opciones, Conexion& cnn,
                                           LibroDeImpresion& libro, const QString& trabajo,
                                           const QString& parametros) {
    const QString clave = trabajo.section(QLatin1Char(' '), 0, 0);
    if (opciones.isSet(QStringLiteral("continuar"))) {
        return PlanDeImpresion::Continuacion(libro, cnn, clave);
    }
    if (!opciones.isSet(QStringLiteral("desde-remision"))) {
        return PlanDeImpresion::Nueva(cnn, clave, parametros);
    }
    PlanDeImpresion plan = PlanDeImpresion::Reimpresion(
        libro, cnn, clave, opciones.value(QStringLiteral("desde-remision")));
    if (plan.Omitidas() > 0 && !opciones.isSet(QStringLiteral("omitir-pendientes"))) {
        throw Rechazo(QStringLiteral("Antes del folio %1 hay %2 de la última impresión que nunca "
                                     "se imprimieron: imprímalas con --continuar, o agregue "
                                     "--omitir-pendientes para dejarlas sin imprimir.")
                          .arg(opciones.value(QStringLiteral("desde-remision")).simplified())
                          .arg(plan.Omitidas() == 1
                                   ? QStringLiteral("1 remisión")
                                   : QStringLiteral("%1 remisiones").arg(plan.Omitidas())));
    }
    return plan;
}

int OrdenDeConsola::ImprimeSiSePide(const QCommandLineParser& opciones, Conexion& cnn,
                                    const QString& trabajo, const QString& parametros) {
    if (!opciones.isSet(QStringLiteral("imprimir"))) {
        return 0;
    }
    if (opciones.isSet(QStringLiteral("pdf"))) {
        modRPTs::actual().crpReport.DirigeAPdf(
            QDir::cleanPath(RutaDada(opciones.value(QStringLiteral("pdf")))));
    }
    if (opciones.isSet(QStringLiteral("pdf-unico"))) {
        modRPTs::actual().crpReport.DirigeAPdfUnico(
            QDir::cleanPath(RutaDada(opciones.value(QStringLiteral("pdf-unico")))));
    }
    LibroDeImpresion libro;
    PlanDeImpresion plan = PlanPedido(opciones, cnn, libro, trabajo, parametros);
    Escribe(plan.Pregunta()
                .section(QStringLiteral("\r\n\r\n"), 1)
                .replace(QLatin1String("\r\n"), QLatin1String("\n")));
    ImpresionDeRemisiones impresion(cnn);
    const ResultadoDeImpresion resultado = impresion.Imprime(
        plan, libro,
        [](int numero, int total, const QString& folio) {
            std::fprintf(stderr, "Remisión %s (%d de %d)\n", folio.toUtf8().constData(), numero,
                         total);
        },
        [](int enCola) {
            std::fprintf(stderr, "Esperando a la impresora: %d en la cola\n", enCola);
            return true;
        });
    Bitacora::Anota(trabajo, plan.ParaLaBitacora() + QStringLiteral("; ") + resultado.destino,
                    resultado.Resumen());
    QString mensaje = resultado.Mensaje();
    if (ParadaDeImpresion::PorDiscoLleno(resultado)) {
        mensaje = ParadaDeImpresion::Texto(resultado, ParadaDeImpresion::Desde::Consola);
    } else if (resultado.causa) {
        // What the error means first when it is known; the driver's text stays after it.
        const ExplicacionDeError explicacion = ExplicacionDeError::De(*resultado.causa);
        if (explicacion.clase() != ExplicacionDeError::Clase::Otra) {
            mensaje = mensaje.section(QStringLiteral("\r\n\r\n"), 0, 0) +
                      QStringLiteral("\r\n\r\n") + explicacion.principal() +
                      QStringLiteral("\r\n") + resultado.error;
        }
    }
    mensaje.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!resultado.Completa()) {
        return Falla(mensaje);
    }
    Escribe(mensaje);
    return 0;
}

bool OrdenDeConsola::AbreBase(Conexion& cnn) {
    const BasesDD& bases = *Proceso::actual().bases;
    if (!bases.AbrirBdD(cnn)) {
        FallaPorError(ErrorOrvlib(cnn.ultimoNumero(), cnn.ultimoError(),
                                  QStringLiteral("base de datos '%1'").arg(bases.cMiBase)));
        return false;
    }
    return true;
}

int OrdenDeConsola::AbreParaReimprimir(Conexion& cnn, CandadoDeReimpresion& candado) {
    if (!AbreBase(cnn)) {
        return 1;
    }
    if (!candado.Toma()) {
        Falla(candado.Aviso());
        return 2;
    }
    return 0;
}

int OrdenDeConsola::Ejecuta(const QStringList& argumentos) {
    if (argumentos.size() < 2) {
        return -1;
    }
    carpetaDeLaOrden() = QDir::currentPath();
    std::unique_ptr<OrdenDeConsola> orden;
    for (const auto& [nombre, crea] : ordenes()) {
        if (argumentos[1] == nombre) {
            orden = crea();
        }
    }
    if (!orden) {
        return -1;
    }
    QCommandLineParser opciones;
    opciones.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    opciones.addOptions(orden->opciones());
    QStringList sinOrden = argumentos;
    sinOrden.removeAt(1);
    if (!opciones.parse(sinOrden)) {
        Falla(opciones.errorText() + QStringLiteral(" (vea «deremisiones ") + argumentos[1] +
              QStringLiteral(" --help»)"));
        return 2;
    }
    if (opciones.isSet(QStringLiteral("help"))) {
        Escribe(orden->ayuda());
        return 0;
    }
    if (!orden->revisaLaCasaPorSuCuenta()) {
        const QString otraCasa = RevisionDeTienda::OtraCasa(paraLaTerminal(argumentos));
        if (!otraCasa.isEmpty()) {
            Falla(otraCasa);
            return 2;
        }
    }
    // Messages and questions go to the command line's dialog service, the one in force.
    try {
        if (orden->necesitaConfiguracion()) {
            if (!Principal::Configura()) {
                Falla(QStringLiteral("Use «deremisiones verifica» para ver qué falta."));
                return 1;
            }
            Principal::CalculaIniHost();
        }
        return ConSuBitacora(orden->ejecuta(opciones));
    } catch (const Rechazo& r) {
        Falla(r.texto());
        return 2;
    } catch (const ErrorOrvlib& e) {
        return FallaPorError(e);
    } catch (const ErrorDelPrograma& e) {
        // The report engine's and the amounts' errors end the command with their own text.
        return Falla(e.texto());
    } catch (const std::exception& e) {
        return Falla(QString::fromUtf8(e.what()));
    }
}
