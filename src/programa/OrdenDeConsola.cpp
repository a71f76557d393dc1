#include "OrdenDeConsola.h"

#include "OrdenConfigura.h"
#include "OrdenFactura.h"
#include "OrdenPorcentaje.h"
#include "OrdenTope.h"
#include "OrdenVerifica.h"
#include "arranque/Principal.h"
#include "arranque/RevisionDeTienda.h"
#include "impresion/CorridaDetenida.h"
#include "impresion/ImpresionDeRemisiones.h"
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

} // namespace

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
        {QStringLiteral("desde-remision"),
         QStringLiteral("Requiere --imprimir: continúa la última impresión detenida o cancelada "
                        "de este trabajo desde la remisión con ese folio nuevo, si las remisiones "
                        "de trabajo son las mismas que imprimía."),
         QStringLiteral("FOLIO")},
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
    if (!imprimir && opciones.isSet(QStringLiteral("desde-remision"))) {
        Falla(QStringLiteral("--desde-remision requiere --imprimir: agregue --imprimir para "
                             "continuar la impresión detenida, o quite --desde-remision."));
        return false;
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

std::optional<CorridaDetenida> OrdenDeConsola::DesdeLaRemision(const QCommandLineParser& opciones,
                                                               Conexion& cnn,
                                                               const QString& trabajo) {
    if (!opciones.isSet(QStringLiteral("desde-remision"))) {
        return std::nullopt;
    }
    const std::optional<CorridaDetenida> detenida = CorridaDetenida::Lee(trabajo);
    if (!detenida) {
        throw Rechazo(QStringLiteral("No hay una impresión detenida de este trabajo que continuar: "
                                     "la última terminó completa o no se ha impreso."));
    }
    return detenida->DesdeElFolio(cnn, opciones.value(QStringLiteral("desde-remision")));
}

int OrdenDeConsola::ImprimeSiSePide(const QCommandLineParser& opciones, Conexion& cnn,
                                    const QString& trabajo) {
    if (!opciones.isSet(QStringLiteral("imprimir"))) {
        return 0;
    }
    if (opciones.isSet(QStringLiteral("pdf"))) {
        modRPTs::actual().crpReport.DirigeAPdf(
            QDir(opciones.value(QStringLiteral("pdf"))).absolutePath());
    }
    if (opciones.isSet(QStringLiteral("pdf-unico"))) {
        modRPTs::actual().crpReport.DirigeAPdfUnico(
            QFileInfo(opciones.value(QStringLiteral("pdf-unico"))).absoluteFilePath());
    }
    const std::optional<CorridaDetenida> desde = DesdeLaRemision(opciones, cnn, trabajo);
    const CorridaDetenida::Copias copias = CorridaDetenida::LeeCopias(cnn);
    ImpresionDeRemisiones impresion(cnn);
    const ResultadoDeImpresion resultado = impresion.Imprime(
        [](int numero, int total, const QString& folio) {
            std::fprintf(stderr, "Remisión %s (%d de %d)\n", folio.toUtf8().constData(), numero,
                         total);
        },
        desde ? desde->id : 0);
    CorridaDetenida::Anota(trabajo, CorridaDetenida::Tras(resultado, copias));
    QStringList salida;
    if (desde) {
        salida << desde->ParaLaBitacora();
    }
    if (opciones.isSet(QStringLiteral("pdf"))) {
        salida << QStringLiteral("pdf ") + opciones.value(QStringLiteral("pdf"));
    }
    if (opciones.isSet(QStringLiteral("pdf-unico"))) {
        salida << QStringLiteral("pdf-unico ") + opciones.value(QStringLiteral("pdf-unico"));
    }
    Bitacora::Anota(trabajo, salida.join(QStringLiteral("; ")), resultado.Resumen());
    QString mensaje = resultado.Mensaje();
    if (resultado.causa) {
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
        return orden->ejecuta(opciones);
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
