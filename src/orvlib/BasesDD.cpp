#include "orvlib/BasesDD.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Sentencias.h"

#include <QFileInfo>

namespace {

constexpr int kColumnaDesconocida = 1054;

QString tablaDe(const QString& texto) {
    return texto.trimmed().section(QLatin1Char(' '), 0, 0);
}

} // namespace

bool BasesDD::AbrirBdD(Conexion& cnn, const QString& base) const {
    return cnn.abre(QStringLiteral("QMYSQL"), cRuta, cPuerto, cUsuario, cPassword,
                    base.isEmpty() ? cMiBase : base, cCifrado);
}

void BasesDD::CierraBdD(Conexion& cnn) {
    cnn.cierra();
}

bool BasesDD::AbreBdDAccess(Conexion& cnn, const QString& archivo) {
    if (!QFileInfo::exists(archivo)) {
        cnn.cierra();
        return false;
    }
    if (!cnn.abre(QStringLiteral("QSQLITE"), {}, 0, {}, {}, archivo)) {
        return false;
    }
    // An auxiliary file is scratch made for one print: no need to wait for the disk.
    cnn.ejecuta(QStringLiteral("PRAGMA synchronous=OFF"));
    cnn.ejecuta(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    return true;
}

bool BasesDD::AbrirTabla(Recordset& rs, Conexion& cnn, const QString& texto,
                         const QString& campos) {
    rs.abre(cnn, tablaDe(texto), QStringLiteral("SELECT %1 FROM %2").arg(campos, texto));
    return !rs.fin();
}

void BasesDD::CierraTabla(Recordset& rs) {
    rs.cierra();
}

QVariant BasesDD::LeeDato(const QString& nombre, Conexion& cnn, const QString& tabla) {
    if (tabla.compare(QLatin1String("sistema"), Qt::CaseInsensitive) == 0) {
        QSqlQuery q = cnn.consulta(
            QStringLiteral("SELECT Contenido FROM %1 WHERE Dato=?").arg(Sentencias::Nombre(tabla)),
            {nombre});
        return q.next() ? q.value(0) : QVariant(QString());
    }
    try {
        QSqlQuery q = cnn.consulta(QStringLiteral("SELECT %1 FROM %2 LIMIT 1")
                                       .arg(Sentencias::Nombre(nombre), Sentencias::Nombre(tabla)));
        return q.next() ? q.value(0) : QVariant(QString());
    } catch (const ErrorOrvlib& e) {
        if (e.numero() == kColumnaDesconocida) {
            return QVariant(QString());
        }
        throw;
    }
}

double BasesDD::Sum(Conexion& cnn, const QString& texto, const QString& expresion) {
    QSqlQuery q = cnn.consulta(QStringLiteral("SELECT SUM(%1) FROM %2").arg(expresion, texto));
    return q.next() ? q.value(0).toDouble() : 0.0;
}

qint64 BasesDD::LastId(Conexion& cnn, const QString& tabla, const QString& campo) {
    Q_UNUSED(tabla);
    Q_UNUSED(campo);
    QSqlQuery q = cnn.consulta(QStringLiteral("SELECT LAST_INSERT_ID()"));
    return q.next() ? q.value(0).toLongLong() : 0;
}

qint64 BasesDD::LastRec(Conexion& cnn, const QString& texto) {
    QSqlQuery q = cnn.consulta(QStringLiteral("SELECT COUNT(*) FROM %1").arg(texto));
    return q.next() ? q.value(0).toLongLong() : 0;
}

void BasesDD::AgregaRegistro(Recordset& rs, Conexion& cnn, const QString& tabla,
                             const QStringList& campos, const QVariantList& valores) {
    rs.abreParaAgregar(cnn, tabla);
    rs.agrega();
    for (qsizetype i = 0; i < campos.size() && i < valores.size(); ++i) {
        if (!campos[i].isEmpty()) {
            rs.asigna(campos[i], valores[i]);
        }
    }
    rs.guarda();
}

bool EsVerdadero(const QVariant& valor) {
    const QString t = valor.toString().trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("verdadero")) {
        return true;
    }
    bool ok = false;
    const double n = t.toDouble(&ok);
    return ok && n != 0;
}
