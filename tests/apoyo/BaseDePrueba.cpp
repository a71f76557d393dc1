#include "apoyo/BaseDePrueba.h"

#include "orvlib/GuionSql.h"
#include "servicios/Proceso.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <stdexcept>

namespace {

BasesDD& basesDelProceso() {
    Proceso& p = Proceso::actual();
    if (!p.bases) {
        p.bases = std::make_unique<BasesDD>();
    }
    return *p.bases;
}

} // namespace

// Every test of a process gets a new database under the same name: the ODBC data source keeps
// the database it first read for the whole process (unixODBC caches the file), so the name
// must stay valid from test to test.
BaseDePrueba::BaseDePrueba()
    : nombre_(QStringLiteral("prueba_%1").arg(QCoreApplication::applicationPid())) {
    const QString puerto = qEnvironmentVariable("DEREMISIONES_MYSQL_PUERTO");
    if (puerto.isEmpty()) {
        throw std::runtime_error("DEREMISIONES_MYSQL_PUERTO no está definido: las pruebas "
                                 "necesitan el servidor privado (scripts/test lo inicia)");
    }
    BasesDD& b = basesDelProceso();
    b.cRuta = qEnvironmentVariable("DEREMISIONES_MYSQL_HOST", QStringLiteral("127.0.0.1"));
    b.cPuerto = puerto.toInt();
    b.cUsuario = QStringLiteral("root");
    b.cPassword.clear();
    b.cMiBase = QStringLiteral("mysql");
    // A server that demands TLS names its certificate authority (scripts/mariadb env tls).
    b.cCifrado.autoridad = qEnvironmentVariable("DEREMISIONES_MYSQL_CA");
    b.cCifrado.activo = !b.cCifrado.autoridad.isEmpty();
    if (!b.AbrirBdD(cnn_)) {
        throw std::runtime_error("no se pudo conectar al servidor privado: " +
                                 cnn_.ultimoError().toStdString());
    }
    cnn_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre_);
    cnn_.ejecuta(QStringLiteral("CREATE DATABASE ") + nombre_ + QStringLiteral(" CHARACTER SET ") +
                 JuegoDeCaracteres());
    cnn_.ejecuta(QStringLiteral("USE ") + nombre_);
    b.cMiBase = nombre_;
    cargaArchivo(QStringLiteral(DEREMISIONES_FIXTURES "/host_schema.sql"));
}

bool BaseDePrueba::TablasMyIsamLatin1() {
    return qEnvironmentVariable("DEREMISIONES_TABLAS_HOST") == QLatin1String("MyISAM-latin1");
}

QString BaseDePrueba::JuegoDeCaracteres() {
    return TablasMyIsamLatin1() ? QStringLiteral("latin1") : QStringLiteral("utf8mb4");
}

QString BaseDePrueba::EsquemaDelHost(const QString& guion) {
    if (!TablasMyIsamLatin1()) {
        return guion;
    }
    QString esquema = guion;
    static const QRegularExpression motor(QStringLiteral("ENGINE=\\w+"));
    static const QRegularExpression juego(QStringLiteral("CHARSET=\\w+"));
    return esquema.replace(motor, QStringLiteral("ENGINE=MyISAM"))
        .replace(juego, QStringLiteral("CHARSET=latin1"));
}

BaseDePrueba::~BaseDePrueba() {
    try {
        for (const QString& base : adicionales_) {
            cnn_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + base);
        }
        cnn_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre_);
    } catch (...) {
        // The server may already be gone; the next run drops the leftover by its name.
    }
}

BasesDD& BaseDePrueba::bases() {
    return basesDelProceso();
}

void BaseDePrueba::ejecuta(const QString& sentencia) {
    cnn_.ejecuta(sentencia);
}

QVariant BaseDePrueba::valor(const QString& sentencia) {
    QSqlQuery q = cnn_.consulta(sentencia);
    return q.next() ? q.value(0) : QVariant();
}

QStringList BaseDePrueba::estructura(const QString& tabla) {
    QStringList partes;
    const auto filas = [&](const QString& sentencia, int columnas) {
        QSqlQuery q = cnn_.consulta(sentencia);
        while (q.next()) {
            QStringList celdas;
            for (int i = 0; i < columnas; ++i) {
                celdas << q.value(i).toString();
            }
            partes << celdas.join(QLatin1Char('|'));
        }
    };
    // "base.tabla" or a table of the test database.
    const QString esquema =
        tabla.contains(QLatin1Char('.'))
            ? QLatin1Char('\'') + tabla.section(QLatin1Char('.'), 0, 0) + QLatin1Char('\'')
            : QStringLiteral("DATABASE()");
    const QString nombre = tabla.section(QLatin1Char('.'), -1);
    filas(QStringLiteral("SHOW COLUMNS FROM ") + tabla, 6);
    filas(QStringLiteral("SELECT INDEX_NAME, GROUP_CONCAT(COLUMN_NAME ORDER BY SEQ_IN_INDEX), "
                         "NON_UNIQUE FROM information_schema.STATISTICS WHERE TABLE_SCHEMA=%1 "
                         "AND TABLE_NAME='%2' GROUP BY INDEX_NAME, NON_UNIQUE ORDER BY INDEX_NAME")
              .arg(esquema, nombre),
          3);
    filas(QStringLiteral("SELECT ENGINE, TABLE_COLLATION FROM information_schema.TABLES WHERE "
                         "TABLE_SCHEMA=%1 AND TABLE_NAME='%2'")
              .arg(esquema, nombre),
          2);
    return partes;
}

void BaseDePrueba::cargaArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("no se pudo leer " + ruta.toStdString());
    }
    for (const QString& sentencia :
         SentenciasDeGuion(EsquemaDelHost(QString::fromUtf8(f.readAll())))) {
        cnn_.ejecuta(sentencia);
    }
}

QString BaseDePrueba::creaBaseAdicional(const QString& sufijo) {
    const QString base = nombre_ + QLatin1Char('_') + sufijo;
    cnn_.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + base);
    cnn_.ejecuta(QStringLiteral("CREATE DATABASE ") + base);
    adicionales_ << base;
    return base;
}
