#include "Banco.h"

#include "Mediana.h"
#include "arranque/Principal.h"
#include "impresion/AuxiliarDeImpresion.h"
#include "orvlib/CamposBin.h"
#include "orvlib/GuionSql.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kBase = QStringLiteral("banco");

QString lee(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

qint64 cifra(Conexion& cnn, const QString& sentencia) {
    QSqlQuery q = cnn.consulta(sentencia);
    return q.next() ? q.value(0).toLongLong() : 0;
}

} // namespace

Banco::Banco(int dias, int notas, int partidas) {
    qputenv("DEREMISIONES_CARPETA", carpeta_.filePath(QStringLiteral("programa")).toUtf8());
    qputenv("ODBCINI", carpeta_.filePath(QStringLiteral("odbc.ini")).toUtf8());
    QDir().mkpath(carpeta_.filePath(QStringLiteral("programa")));
    QFile odbc(carpeta_.filePath(QStringLiteral("odbc.ini")));
    odbc.open(QIODevice::WriteOnly);
    odbc.write(
        "[myodbc3-test]\nDriver=MariaDB Unicode\n[Orvane Reportes]\nDriver=MariaDB Unicode\n");
    odbc.close();
    Principal::CreaObjetosCompartidos();
    Proceso& p = Proceso::actual();
    p.stCarpetaPrograma = carpeta_.filePath(QStringLiteral("programa")) + QLatin1Char('/');
    p.stIniHost = carpeta_.filePath(QStringLiteral("Orvane.ini"));
    BasesDD& b = *p.bases;
    b.cRuta = qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1"));
    b.cPuerto = qEnvironmentVariableIntValue("DEREMISIONES_MYSQL_PUERTO");
    b.cUsuario = QStringLiteral("root");
    b.cMiBase = QStringLiteral("mysql");
    if (!b.AbrirBdD(cnn)) {
        std::fprintf(stderr, "sin servidor: %s\n", qPrintable(cnn.ultimoError()));
        std::exit(1);
    }
    cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + kBase);
    cnn.ejecuta(QStringLiteral("CREATE DATABASE ") + kBase +
                QStringLiteral(" CHARACTER SET utf8mb4"));
    cnn.ejecuta(QStringLiteral("USE ") + kBase);
    b.cMiBase = kBase;
    for (const QString& s : SentenciasDeGuion(
             lee(QStringLiteral(DEREMISIONES_FUENTES "/tests/muestras/host_schema.sql")))) {
        cnn.ejecuta(s);
    }
    QProcess generador;
    generador.start(QStringLiteral(DEREMISIONES_GENERADOR),
                    {QStringLiteral("--dias"), QString::number(dias), QStringLiteral("--notas"),
                     QString::number(notas), QStringLiteral("--partidas"),
                     QString::number(partidas), QStringLiteral("--base"), kBase});
    generador.waitForFinished(-1);
    for (const QString& s :
         SentenciasDeGuion(QString::fromUtf8(generador.readAllStandardOutput()))) {
        cnn.ejecuta(s);
    }
    CamposBin campos;
    campos.BaseDD = &cnn;
    campos.GuardaRPT(QStringLiteral("fmtRemision.rpt"),
                     ArchivoDePlantilla::Construye(lee(QStringLiteral(
                         DEREMISIONES_FUENTES "/templates/fmtRemision.rpt.fuente"))));
    campos.GuardaRPT(QStringLiteral("Auxiliar.MDB"),
                     ConstruyeBaseAuxiliar(
                         lee(QStringLiteral(DEREMISIONES_FUENTES "/templates/Auxiliar.MDB.sql"))));
}

Banco::~Banco() {
    cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + kBase);
    // The process's scratch folder lives in the program folder, which goes now.
    TemporalDelProceso::Suelta();
}

double Banco::cota(const QString& condicion) {
    cnn.ejecuta(QStringLiteral("DROP TABLE IF EXISTS cota, cotadet"));
    cnn.ejecuta(QStringLiteral("CREATE TABLE cota LIKE remisiones"));
    cnn.ejecuta(QStringLiteral("CREATE TABLE cotadet LIKE remisionesdetalle"));
    return segundosDe([this, &condicion] {
        cnn.ejecuta(QStringLiteral("INSERT INTO cota SELECT * FROM remisiones WHERE ") + condicion);
        cnn.ejecuta(QStringLiteral(
            "INSERT INTO cotadet SELECT d.* FROM remisionesdetalle d JOIN cota c ON c.Id=d.Id"));
    });
}

qint64 Banco::sentencias() {
    return cifra(cnn, QStringLiteral("SELECT VARIABLE_VALUE FROM information_schema.SESSION_STATUS "
                                     "WHERE VARIABLE_NAME='QUESTIONS'"));
}
