#include "tienda/PermisosDeLaTienda.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"
#include "tienda/BaseDeFactura.h"
#include "tienda/CandadoDelServidor.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace {

enum class Base { Principal, Resguardo };

struct Prueba {
    const char* privilegio;
    Base base;
    const char* tabla;     // "" for the database as a whole
    const char* sentencia; // %1 the store's database, %2 the archive's
    bool soloFactura;
};

// Each statement touches no row; an UPDATE sets constants so that it needs no SELECT.
const Prueba kPruebas[] = {
    {"SELECT", Base::Principal, "",
     "SELECT 1 FROM %1.remisiones, %1.remisionesdetalle, %1.configura, %1.sistema, "
     "%1.clientes, %1.monedas, %1.empresas, %1.reportesbin, %1.partidatallaocolor LIMIT 0",
     false},
    {"UPDATE", Base::Principal, "remisionesdetalle",
     "UPDATE %1.remisionesdetalle SET IVA=0 WHERE 1=0", false},
    {"INSERT", Base::Principal, "partidatallaocolor",
     "INSERT INTO %1.partidatallaocolor SELECT * FROM %1.partidatallaocolor WHERE 1=0", false},
    {"DELETE", Base::Principal, "partidatallaocolor", "DELETE FROM %1.partidatallaocolor WHERE 1=0",
     false},
    {"INSERT", Base::Principal, "reportesbin",
     "INSERT INTO %1.reportesbin SELECT * FROM %1.reportesbin WHERE 1=0", false},
    {"DELETE", Base::Principal, "reportesbin", "DELETE FROM %1.reportesbin WHERE 1=0", false},
    // The working tables' CREATE and DROP, on tables that are already there and not there.
    {"CREATE", Base::Principal, "", "CREATE TABLE IF NOT EXISTS %1.remisiones (Id INT)", false},
    {"DROP", Base::Principal, "", "DROP TABLE IF EXISTS %1.deremisiones_permisos", false},
    {"UPDATE", Base::Principal, "remisiones", "UPDATE %1.remisiones SET Cancelada=0 WHERE 1=0",
     true},
    {"UPDATE", Base::Principal, "sistema", "UPDATE %1.sistema SET Contenido='' WHERE 1=0", true},
    {"INSERT", Base::Principal, "facturas",
     "INSERT INTO %1.facturas SELECT * FROM %1.facturas WHERE 1=0", true},
    {"INSERT", Base::Principal, "facturasdetalle",
     "INSERT INTO %1.facturasdetalle SELECT * FROM %1.facturasdetalle WHERE 1=0", true},
    {"SELECT", Base::Resguardo, "", "SELECT 1 FROM %2.remisiones, %2.remisionesdetalle LIMIT 0",
     true},
    {"INSERT", Base::Resguardo, "remisiones",
     "INSERT INTO %2.remisiones SELECT * FROM %2.remisiones WHERE 1=0", true},
    {"INSERT", Base::Resguardo, "remisionesdetalle",
     "INSERT INTO %2.remisionesdetalle SELECT * FROM %2.remisionesdetalle WHERE 1=0", true},
};

// The privilege the server says it refused ("INSERT command denied …"), else the one tried: an
// INSERT … SELECT without SELECT is a missing SELECT, already named by its own test.
QString privilegioNegado(const ErrorOrvlib& e, const QString& probado) {
    static const QRegularExpression kNegado(QStringLiteral("^(\\w+) command denied"));
    const QRegularExpressionMatch m = kNegado.match(e.descripcion());
    return m.hasMatch() ? m.captured(1).toUpper() : probado;
}

PermisosDeLaTienda::Falta falta(const QString& privilegio, const QString& base,
                                const QString& tabla, const ErrorOrvlib& e, bool soloFactura) {
    return {privilegio, base,
            privilegio + QStringLiteral(" en ") + base +
                (tabla.isEmpty() ? QString() : QLatin1Char('.') + tabla),
            QStringLiteral("Error no. %1: %2").arg(e.numero()).arg(e.descripcion()), soloFactura};
}

void agrega(QVector<PermisosDeLaTienda::Falta>& faltas, const PermisosDeLaTienda::Falta& nueva) {
    for (const PermisosDeLaTienda::Falta& f : faltas) {
        // A privilege missing for a whole database is said once, not once per table.
        if (f.que == nueva.que || (f.base == nueva.base && f.privilegio == nueva.privilegio &&
                                   !f.que.contains(QLatin1Char('.')))) {
            return;
        }
    }
    faltas.append(nueva);
}

// The invoice job's own database, tried under its lock so that no invoice window or command
// starts using it meanwhile; skipped while one is using it.
void pruebaBaseDeFactura(Conexion& cnn, const QString& base,
                         QVector<PermisosDeLaTienda::Falta>& faltas) {
    CandadoDelServidor candado(cnn, BaseDeFactura::Candado());
    if (!candado.Toma()) {
        return;
    }
    const QString nombre = BaseDeFactura::Nombre();
    try {
        cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre);
        cnn.ejecuta(QStringLiteral("CREATE DATABASE ") + nombre);
        cnn.ejecuta(
            QStringLiteral("CREATE TABLE %1.remisiones LIKE %2.remisiones").arg(nombre, base));
        cnn.ejecuta(QStringLiteral("DROP DATABASE ") + nombre);
    } catch (const ErrorOrvlib& e) {
        agrega(faltas, falta(QStringLiteral("ALL PRIVILEGES"), nombre, {}, e, true));
        try {
            cnn.ejecuta(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre);
        } catch (const ErrorOrvlib&) {
            // Already reported above; a database the account cannot drop stays for its
            // administrator.
        }
    }
}

} // namespace

QVector<PermisosDeLaTienda::Falta> PermisosDeLaTienda::Revisa(Conexion& cnn,
                                                              const QString& resguardo) {
    const QString nombre = cnn.valor(QStringLiteral("SELECT DATABASE()"));
    const QString base = Sentencias::Nombre(nombre);
    const auto conBases = [&](const char* texto) {
        return QString::fromLatin1(texto)
            .replace(QLatin1String("%1"), base)
            .replace(QLatin1String("%2"), Sentencias::Nombre(resguardo));
    };
    QVector<Falta> faltas;
    for (const Prueba& p : kPruebas) {
        try {
            cnn.ejecuta(conBases(p.sentencia));
        } catch (const ErrorOrvlib& e) {
            const QString privilegio = privilegioNegado(e, QString::fromLatin1(p.privilegio));
            // A refused SELECT inside another test is the SELECT test's to report.
            const bool propio = privilegio == QLatin1String(p.privilegio);
            agrega(faltas,
                   falta(privilegio, p.base == Base::Principal ? nombre : resguardo,
                         propio ? QString::fromLatin1(p.tabla) : QString(), e, p.soloFactura));
        }
    }
    pruebaBaseDeFactura(cnn, base, faltas);
    return faltas;
}

QString PermisosDeLaTienda::Cuenta(Conexion& cnn) {
    const QString usuario = cnn.valor(QStringLiteral("SELECT CURRENT_USER()"));
    const qsizetype arroba = usuario.lastIndexOf(QLatin1Char('@'));
    return QStringLiteral("'%1'@'%2'").arg(usuario.left(arroba), usuario.mid(arroba + 1));
}

QString PermisosDeLaTienda::Concesiones(const QVector<Falta>& faltas, const QString& cuenta) {
    static const QStringList kOrden = {QStringLiteral("SELECT"),        QStringLiteral("INSERT"),
                                       QStringLiteral("UPDATE"),        QStringLiteral("DELETE"),
                                       QStringLiteral("CREATE"),        QStringLiteral("DROP"),
                                       QStringLiteral("ALL PRIVILEGES")};
    QStringList bases;
    for (const Falta& f : faltas) {
        if (!bases.contains(f.base)) {
            bases << f.base;
        }
    }
    QStringList lineas;
    for (const QString& base : bases) {
        QStringList privilegios;
        for (const QString& privilegio : kOrden) {
            for (const Falta& f : faltas) {
                if (f.base == base && f.privilegio == privilegio &&
                    !privilegios.contains(privilegio)) {
                    privilegios << privilegio;
                }
            }
        }
        lineas << QStringLiteral("GRANT %1 ON %2.* TO %3;")
                      .arg(privilegios.join(QStringLiteral(", ")), Sentencias::Nombre(base),
                           cuenta);
    }
    return lineas.join(QLatin1Char('\n'));
}
