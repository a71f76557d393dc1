// Builds report templates from their text sources and stores them, with the auxiliary print
// database, in a store's reportesbin table.
//
//   plantillas construye FUENTE SALIDA
//   plantillas guarda --base BASE [--servidor H] [--puerto P] [--usuario U] [--contrasena C]
//                     ARCHIVO...
//
// A source named NOMBRE.rpt.fuente is stored as NOMBRE.rpt, a schema NOMBRE.sql as the SQLite
// file NOMBRE that it makes (Auxiliar.MDB.sql as Auxiliar.MDB); any other file is stored as it
// is, under its own name.

#include "orvlib/CamposBin.h"
#include "orvlib/Conexion.h"
#include "printing/AuxiliarDeImpresion.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

const QString kFuente = QStringLiteral(".fuente");
const QString kEsquema = QStringLiteral(".sql");

QByteArray contenido(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no se puede leer " + ruta.toStdString());
    }
    const QByteArray bytes = f.readAll();
    if (ruta.endsWith(kFuente)) {
        return ArchivoDePlantilla::Construye(QString::fromUtf8(bytes));
    }
    return ruta.endsWith(kEsquema) ? ConstruyeBaseAuxiliar(QString::fromUtf8(bytes)) : bytes;
}

QString nombreGuardado(const QString& ruta) {
    const QString nombre = QFileInfo(ruta).fileName();
    for (const QString& sufijo : {kFuente, kEsquema}) {
        if (nombre.endsWith(sufijo)) {
            return nombre.chopped(sufijo.size());
        }
    }
    return nombre;
}

int construye(const QStringList& argumentos) {
    if (argumentos.size() != 2) {
        std::fprintf(stderr, "uso: plantillas construye FUENTE SALIDA\n");
        return 2;
    }
    QFile salida(argumentos[1]);
    if (!salida.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "no se puede escribir %s\n", qPrintable(argumentos[1]));
        return 1;
    }
    salida.write(contenido(argumentos[0]));
    return 0;
}

int guarda(const QStringList& argumentos) {
    QCommandLineParser opciones;
    opciones.addOptions({
        {QStringLiteral("base"), QStringLiteral("Base de datos de la tienda."),
         QStringLiteral("BASE")},
        {QStringLiteral("servidor"), QStringLiteral("Servidor MySQL."), QStringLiteral("H"),
         qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1"))},
        {QStringLiteral("puerto"), QStringLiteral("Puerto."), QStringLiteral("P"),
         qEnvironmentVariable("DEREMISIONES_MYSQL_PUERTO", QStringLiteral("3306"))},
        {QStringLiteral("usuario"), QStringLiteral("Usuario."), QStringLiteral("U"),
         QStringLiteral("root")},
        {QStringLiteral("contrasena"), QStringLiteral("Contraseña."), QStringLiteral("C")},
    });
    opciones.parse(QStringList{QStringLiteral("plantillas")} + argumentos);
    if (opciones.value(QStringLiteral("base")).isEmpty() ||
        opciones.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "uso: plantillas guarda --base BASE ARCHIVO...\n");
        return 2;
    }
    Conexion cnn;
    if (!cnn.abre(QStringLiteral("QMYSQL"), opciones.value(QStringLiteral("servidor")),
                  opciones.value(QStringLiteral("puerto")).toInt(),
                  opciones.value(QStringLiteral("usuario")),
                  opciones.value(QStringLiteral("contrasena")),
                  opciones.value(QStringLiteral("base")))) {
        std::fprintf(stderr, "no se puede conectar: %s\n", qPrintable(cnn.ultimoError()));
        return 1;
    }
    CamposBin campos;
    campos.BaseDD = &cnn;
    for (const QString& ruta : opciones.positionalArguments()) {
        campos.GuardaRPT(nombreGuardado(ruta), contenido(ruta));
        std::printf("%s\n", qPrintable(nombreGuardado(ruta)));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList argumentos = app.arguments().mid(2);
    const QString orden = app.arguments().value(1);
    try {
        if (orden == QLatin1String("construye")) {
            return construye(argumentos);
        }
        if (orden == QLatin1String("guarda")) {
            return guarda(argumentos);
        }
    } catch (const ErrorDeReporte& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.texto()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "uso: plantillas construye|guarda …\n");
    return 2;
}
