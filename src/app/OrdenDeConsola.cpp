#include "OrdenDeConsola.h"

#include "OrdenFactura.h"
#include "OrdenPorcentaje.h"
#include "OrdenTope.h"
#include "hostdata/Bitacora.h"
#include "hostdata/Proceso.h"
#include "hostdata/Rechazo.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/libKwtm.h"
#include "printing/ImpresionDeRemisiones.h"
#include "printing/modRPTs.h"
#include "startup/Principal.h"
#include "ui/Dialogos.h"
#include "ui/DialogosConsola.h"

#include <QDate>
#include <QDir>
#include <cstdio>
#include <memory>

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
    bool ok = false;
    numero = opciones.value(nombre).trimmed().remove(QLatin1Char(',')).toDouble(&ok);
    if (!ok) {
        Falla(QStringLiteral("--%1: \"%2\" no es un número").arg(nombre, opciones.value(nombre)));
    }
    return ok;
}

void OrdenDeConsola::DefineImpresion(QCommandLineParser& opciones) {
    opciones.addOptions({
        {QStringLiteral("imprimir"), QStringLiteral("Imprime las remisiones elegidas.")},
        {QStringLiteral("pdf"), QStringLiteral("Imprime en archivos PDF en esa carpeta."),
         QStringLiteral("CARPETA")},
    });
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
    ImpresionDeRemisiones impresion(cnn);
    const ResultadoDeImpresion resultado = impresion.Imprime([](int numero, int total,
                                                                const QString& folio) {
        std::fprintf(stderr, "Remisión %s (%d de %d)\n", folio.toUtf8().constData(), numero, total);
    });
    Bitacora::Anota(trabajo,
                    opciones.isSet(QStringLiteral("pdf"))
                        ? QStringLiteral("pdf ") + opciones.value(QStringLiteral("pdf"))
                        : QString(),
                    resultado.Resumen());
    QString mensaje = resultado.Mensaje();
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
        Falla(QStringLiteral("No fue posible abrir la base de datos '%1': %2")
                  .arg(bases.cMiBase, cnn.ultimoError()));
        return false;
    }
    return true;
}

int OrdenDeConsola::Ejecuta(const QStringList& argumentos) {
    if (argumentos.size() < 2) {
        return -1;
    }
    std::unique_ptr<OrdenDeConsola> orden;
    if (argumentos[1] == QLatin1String("tope")) {
        orden = std::make_unique<OrdenTope>();
    } else if (argumentos[1] == QLatin1String("factura")) {
        orden = std::make_unique<OrdenFactura>();
    } else if (argumentos[1] == QLatin1String("porcentaje")) {
        orden = std::make_unique<OrdenPorcentaje>();
    } else {
        return -1;
    }
    QCommandLineParser opciones;
    opciones.addHelpOption();
    orden->defineOpciones(opciones);
    QStringList sinOrden = argumentos;
    sinOrden.removeAt(1);
    if (!opciones.parse(sinOrden)) {
        return Falla(opciones.errorText());
    }
    if (opciones.isSet(QStringLiteral("help"))) {
        Escribe(opciones.helpText());
        return 0;
    }
    DialogosConsola consola;
    Dialogos::instala(&consola);
    try {
        if (!Principal::Configura()) {
            Dialogos::instala(nullptr);
            return 1;
        }
        Principal::CalculaIniHost();
        const int codigo = orden->ejecuta(opciones);
        Dialogos::instala(nullptr);
        return codigo;
    } catch (const Rechazo& r) {
        Dialogos::instala(nullptr);
        Falla(r.texto());
        return 2;
    } catch (const ErrorOrvlib& e) {
        Dialogos::instala(nullptr);
        return Falla(e.texto());
    }
}
