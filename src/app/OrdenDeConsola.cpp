#include "OrdenDeConsola.h"

#include "OrdenTope.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/libKwtm.h"
#include "startup/Principal.h"
#include "ui/Dialogos.h"
#include "ui/DialogosConsola.h"

#include <QDate>
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

int OrdenDeConsola::Ejecuta(const QStringList& argumentos) {
    if (argumentos.size() < 2) {
        return -1;
    }
    std::unique_ptr<OrdenDeConsola> orden;
    if (argumentos[1] == QLatin1String("tope")) {
        orden = std::make_unique<OrdenTope>();
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
        const int codigo = Principal::Configura() ? orden->ejecuta(opciones) : 1;
        Dialogos::instala(nullptr);
        return codigo;
    } catch (const ErrorOrvlib& e) {
        Dialogos::instala(nullptr);
        return Falla(e.texto());
    }
}
