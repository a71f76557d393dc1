#include "impresion/BaseDeMuestra.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <stdexcept>

namespace {

// Tables the print writes or that take this database's own rows: made here, not seen through.
const QStringList kPropias = {QStringLiteral("reportesbin"), QStringLiteral("empresas"),
                              QStringLiteral("partidatallaocolor"), QStringLiteral("tmpremisiones"),
                              QStringLiteral("tmpremisionesdetalle")};

} // namespace

BaseDeMuestra::BaseDeMuestra(Conexion& tienda, const QString& baseTienda)
    : tienda_(tienda)
    , baseTienda_(baseTienda)
    , nombre_(QStringLiteral("deremisiones_muestra_%1")
                  .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))) {
    try {
        tienda_.ejecuta(QStringLiteral("CREATE DATABASE ") + Sentencias::Nombre(nombre_) +
                        QStringLiteral(" CHARACTER SET utf8mb4"));
    } catch (const ErrorOrvlib& e) {
        throw ErrorOrvlib(e.numero(),
                          e.descripcion() +
                              QStringLiteral(". La muestra trabaja en una base de datos propia: "
                                             "el usuario necesita GRANT ALL PRIVILEGES ON "
                                             "`deremisiones\\_muestra\\_%`.*"),
                          e.contexto());
    }
    try {
        creaVistas();
        for (const auto& [propia, modelo] : {std::pair{"reportesbin", "reportesbin"},
                                             {"empresas", "empresas"},
                                             {"partidatallaocolor", "partidatallaocolor"},
                                             {"tmpremisiones", "remisiones"},
                                             {"tmpremisionesdetalle", "remisionesdetalle"}}) {
            tienda_.ejecuta(
                QStringLiteral("CREATE TABLE %1 LIKE %2")
                    .arg(en(QString::fromLatin1(propia)), deLaTienda(QString::fromLatin1(modelo))));
        }
        tienda_.ejecuta(
            QStringLiteral("INSERT INTO %1 SELECT * FROM %2")
                .arg(en(QStringLiteral("empresas")), deLaTienda(QStringLiteral("empresas"))));
        tienda_.consulta(QStringLiteral("UPDATE %1 SET BaseDeDatos=? WHERE BaseDeDatos=?")
                             .arg(en(QStringLiteral("empresas"))),
                         {nombre_, baseTienda_});
    } catch (...) {
        tienda_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + Sentencias::Nombre(nombre_));
        throw;
    }
}

BaseDeMuestra::~BaseDeMuestra() {
    try {
        tienda_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + Sentencias::Nombre(nombre_));
    } catch (const std::exception&) {
        return; // a lost connection leaves the scratch database, never the store, behind
    }
}

QString BaseDeMuestra::en(const QString& tabla) const {
    return Sentencias::Nombre(nombre_) + QLatin1Char('.') + Sentencias::Nombre(tabla);
}

QString BaseDeMuestra::deLaTienda(const QString& tabla) const {
    return Sentencias::Nombre(baseTienda_) + QLatin1Char('.') + Sentencias::Nombre(tabla);
}

void BaseDeMuestra::creaVistas() {
    QSqlQuery tablas = tienda_.consulta(
        QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=?"),
        {baseTienda_});
    QStringList nombres;
    while (tablas.next()) {
        nombres << tablas.value(0).toString();
    }
    for (const QString& tabla : nombres) {
        if (!kPropias.contains(tabla, Qt::CaseInsensitive)) {
            tienda_.ejecuta(QStringLiteral("CREATE VIEW %1 AS SELECT * FROM %2")
                                .arg(en(tabla), deLaTienda(tabla)));
        }
    }
}

void BaseDeMuestra::CopiaRemision(const QString& serie, int folio) {
    QSqlQuery nota = tienda_.consulta(
        QStringLiteral("SELECT Id FROM %1 WHERE Serie=? AND Factura=? ORDER BY Cancelada<>0, Id "
                       "LIMIT 1")
            .arg(deLaTienda(QStringLiteral("remisiones"))),
        {serie, folio});
    if (!nota.next()) {
        throw std::runtime_error(QStringLiteral("No hay remisión con serie «%1» y folio %2 en %3")
                                     .arg(serie, QString::number(folio), baseTienda_)
                                     .toStdString());
    }
    const QVariant id = nota.value(0);
    tienda_.consulta(
        QStringLiteral("INSERT INTO %1 SELECT * FROM %2 WHERE Id=?")
            .arg(en(QStringLiteral("tmpremisiones")), deLaTienda(QStringLiteral("remisiones"))),
        {id});
    tienda_.consulta(QStringLiteral("INSERT INTO %1 SELECT * FROM %2 WHERE Id=?")
                         .arg(en(QStringLiteral("tmpremisionesdetalle")),
                              deLaTienda(QStringLiteral("remisionesdetalle"))),
                     {id});
}

void BaseDeMuestra::CopiaArchivos(const QStringList& nombres) {
    for (const QString& archivo : nombres) {
        tienda_.consulta(
            QStringLiteral("INSERT INTO %1 SELECT * FROM %2 WHERE Archivo=?")
                .arg(en(QStringLiteral("reportesbin")), deLaTienda(QStringLiteral("reportesbin"))),
            {archivo});
    }
}
