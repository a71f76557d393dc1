#include "orvlib/Conexion.h"

#include "orvlib/ErrorDeEscritura.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/ModoDeSesion.h"
#include "orvlib/NumerosDeError.h"

#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>
#include <atomic>
#include <cerrno>

namespace {

std::atomic<int> contador{0};

// The server's number for an error; -1 when it gave none.
int numeroDe(const QSqlError& error) {
    bool ok = false;
    const int numero = error.nativeErrorCode().toInt(&ok);
    return ok ? numero : -1;
}

[[noreturn]] void lanza(const QSqlError& error, const QString& sentencia) {
    const QString texto = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    throw ErrorOrvlib(numeroDe(error), texto, sentencia);
}

// SQLite's codes for a file it could not write: the disk full, the file read-only, a write the
// system refused (on a full disk, when the file grows by more than one page).
constexpr int kSqliteLleno = 13;
constexpr int kSqliteSoloLectura = 8;
constexpr int kSqliteEntradaSalida = 10;
constexpr qint64 kCasiLleno = 64 * 1024;
// How many statements an SQLite connection keeps prepared for its next calls.
constexpr qsizetype kPreparadasGuardadas = 64;

// A write the auxiliary file could not take is a file error: named with the file and the cause.
void revisaArchivo(const QSqlDatabase& bd, const QSqlError& error) {
    if (bd.driverName() != QLatin1String("QSQLITE")) {
        return;
    }
    const int numero = numeroDe(error) & 0xFF; // the primary code of an extended one
    const bool sinLugar =
        numero == kSqliteEntradaSalida &&
        QStorageInfo(QFileInfo(bd.databaseName()).absolutePath()).bytesAvailable() < kCasiLleno;
    if (numero == kSqliteLleno || sinLugar) {
        throw ErrorDeEscritura(bd.databaseName(), ENOSPC, error.text());
    }
    if (numero == kSqliteSoloLectura) {
        throw ErrorDeEscritura(bd.databaseName(), EACCES, error.text());
    }
}

// Whether the server would take the login encrypted, its certificate unchecked: nothing is read
// or written through it.
bool entraCifrado(const QSqlDatabase& original) {
    const QString nombre = original.connectionName() + QStringLiteral("-sondeo");
    bool entra = false;
    {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(original, nombre);
        db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10;") +
                             CifradoDeConexion::OpcionesDeSondeo());
        entra = db.open();
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    return entra;
}

constexpr int kUsuarioRechazado = 1045;

// Whether the session the server opened goes encrypted, as the server itself reports it.
bool vaCifrada(const QSqlDatabase& db) {
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SHOW STATUS LIKE 'Ssl_cipher'")) && q.next() &&
           !q.value(1).toString().isEmpty();
}

} // namespace

Conexion::Conexion()
    : nombre_(QStringLiteral("orvlib-%1").arg(++contador)) {}

Conexion::~Conexion() {
    cierra();
}

bool Conexion::abierta() const {
    return QSqlDatabase::contains(nombre_) && QSqlDatabase::database(nombre_, false).isOpen();
}

Sentencias::Motor Conexion::motor() const {
    return bd().driverName() == QLatin1String("QSQLITE") ? Sentencias::Motor::SQLite
                                                         : Sentencias::Motor::MySQL;
}

QSqlDatabase Conexion::bd() const {
    return QSqlDatabase::database(nombre_, false);
}

bool Conexion::abre(const QString& controlador, const QString& servidor, int puerto,
                    const QString& usuario, const QString& contrasena, const QString& base,
                    const CifradoDeConexion& cifrado) {
    cierra();
    QSqlDatabase db = QSqlDatabase::addDatabase(controlador, nombre_);
    db.setHostName(servidor);
    if (puerto > 0) {
        db.setPort(puerto);
    }
    db.setUserName(usuario);
    db.setPassword(contrasena);
    db.setDatabaseName(base);
    const bool mysql = controlador == QLatin1String("QMYSQL");
    if (mysql) {
        QString opciones = QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10");
        if (cifrado.activo) {
            opciones += QLatin1Char(';') + cifrado.opcionesQt();
        }
        db.setConnectOptions(opciones);
    }
    if (!db.open()) {
        // The server's or client library's own words, without Qt's "Unable to connect".
        ultimoError_ = mysql && !db.lastError().databaseText().isEmpty()
                           ? db.lastError().databaseText()
                           : db.lastError().text();
        ultimoNumero_ = numeroDe(db.lastError());
        if (mysql && !cifrado.activo && ultimoNumero_ == kUsuarioRechazado && entraCifrado(db)) {
            ultimoNumero_ = kExigeCifrado;
            ultimoError_ += QStringLiteral(" (el servidor dio el error %1; la misma cuenta entra "
                                           "con una conexión cifrada)")
                                .arg(kUsuarioRechazado);
        }
        return false;
    }
    if (mysql && cifrado.activo && !vaCifrada(db)) {
        // The client library falls back to plain text when the server offers no TLS; a
        // workstation set up for TLS leaves before its first statement.
        ultimoError_ = QStringLiteral("SSL is required, but the server does not support it");
        ultimoNumero_ = NumerosDeError::kCifradoFallido;
        db = QSqlDatabase();
        cierra();
        return false;
    }
    if (mysql) {
        QSqlQuery modo(db);
        if (!modo.exec(ModoDeSesion::Sentencia())) {
            ultimoError_ = modo.lastError().text() + QStringLiteral(" [") +
                           ModoDeSesion::Sentencia() + QLatin1Char(']');
            ultimoNumero_ = numeroDe(modo.lastError());
            modo = QSqlQuery();
            db = QSqlDatabase();
            cierra();
            return false;
        }
    }
    ultimoError_.clear();
    ultimoNumero_ = -1;
    return true;
}

void Conexion::cierra() {
    preparadas_.clear();
    if (!QSqlDatabase::contains(nombre_)) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(nombre_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre_);
}

QString Conexion::cifra() {
    QSqlQuery q = consulta(QStringLiteral("SHOW STATUS LIKE 'Ssl_cipher'"));
    return q.next() ? q.value(1).toString() : QString();
}

QSqlQuery Conexion::prepara(const QString& sentencia, const QVariantList& valores) {
    if (!abierta()) {
        throw ErrorOrvlib(NumerosDeError::kConexionCerrada,
                          QStringLiteral("La conexión no está abierta"), sentencia);
    }
    QSqlQuery q(bd());
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    const bool ok = valores.isEmpty() ? q.exec(sentencia) : [&] {
        if (!q.prepare(sentencia)) {
            return false;
        }
        for (const QVariant& v : valores) {
            q.addBindValue(v);
        }
        return q.exec();
    }();
    if (!ok) {
        revisaArchivo(bd(), q.lastError());
        lanza(q.lastError(), sentencia);
    }
    return q;
}

void Conexion::ejecutaPorFilas(const QString& sentencia, const QVector<QVariantList>& filas) {
    if (!abierta()) {
        throw ErrorOrvlib(NumerosDeError::kConexionCerrada,
                          QStringLiteral("La conexión no está abierta"), sentencia);
    }
    QSqlQuery q(bd());
    bool ok = q.prepare(sentencia);
    for (qsizetype i = 0; ok && i < filas.size(); ++i) {
        for (const QVariant& v : filas[i]) {
            q.addBindValue(v);
        }
        ok = q.exec();
    }
    if (!ok) {
        revisaArchivo(bd(), q.lastError());
        lanza(q.lastError(), sentencia);
    }
}

void Conexion::ejecuta(const QString& sentencia) {
    ejecuta(sentencia, {});
}

void Conexion::ejecuta(const QString& sentencia, const QVariantList& valores) {
    if (!abierta() || motor() != Sentencias::Motor::SQLite) {
        prepara(sentencia, valores);
        return;
    }
    auto guardada = preparadas_.find(sentencia);
    if (guardada == preparadas_.end()) {
        QSqlQuery q(bd());
        if (!q.prepare(sentencia)) {
            revisaArchivo(bd(), q.lastError());
            lanza(q.lastError(), sentencia);
        }
        // Texts that carry their values would each stay prepared: the kept ones are bounded.
        if (preparadas_.size() >= kPreparadasGuardadas) {
            preparadas_.clear();
        }
        guardada = preparadas_.emplace(sentencia, std::move(q));
    }
    QSqlQuery& q = *guardada;
    for (qsizetype i = 0; i < valores.size(); ++i) {
        q.bindValue(static_cast<int>(i), valores[i]);
    }
    if (!q.exec()) {
        const QSqlError error = q.lastError();
        preparadas_.erase(guardada);
        revisaArchivo(bd(), error);
        lanza(error, sentencia);
    }
    // A statement that answers rows (a pragma) lets go of the file until its next call.
    if (q.isSelect()) {
        q.finish();
    }
}

QSqlQuery Conexion::consulta(const QString& sentencia) {
    return prepara(sentencia, {});
}

QSqlQuery Conexion::consulta(const QString& sentencia, const QVariantList& valores) {
    return prepara(sentencia, valores);
}

QString Conexion::valor(const QString& sentencia, const QVariantList& valores) {
    QSqlQuery q = prepara(sentencia, valores);
    return q.next() ? q.value(0).toString() : QString();
}
