#include "reporteador/OrigenDeDatos.h"

#include "orvlib/ModoDeSesion.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"
#include "reporteador/ErrorDeReporte.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <atomic>

namespace {

std::atomic<int> contador{0};

// Texts of the host's tables are read as their UTF-8 bytes, under a name with this prefix: the
// MariaDB ODBC driver (3.1) gives a short length for wide-character texts that hold letters such
// as Ú (code units whose low byte is 0xD8 to 0xDB, taken for the first half of a surrogate pair),
// so read as texts they would lose their last characters.
const QString kPrefijoUtf8 = QStringLiteral("utf8:");

// How many of its reads of the auxiliary file a run keeps prepared.
constexpr qsizetype kLeidasGuardadas = 64;

QHash<QString, QString> pares(const QString& texto) {
    QHash<QString, QString> valores;
    for (const QString& par : texto.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype igual = par.indexOf(QLatin1Char('='));
        if (igual > 0) {
            valores.insert(par.left(igual).trimmed().toUpper(), par.mid(igual + 1));
        }
    }
    return valores;
}

// What a refused connection means to the user, by the server's error number; the server's own
// text follows it.
QString causa(const QSqlError& error) {
    if (error.nativeErrorCode() == QLatin1String("IM002") ||
        error.text().contains(QLatin1String("Data source name not found"))) {
        return QStringLiteral("El origen de datos no está registrado en este equipo");
    }
    switch (error.nativeErrorCode().toInt()) {
    case NumerosDeError::kDemasiadasConexiones:
        return QStringLiteral("El servidor no acepta más conexiones");
    case NumerosDeError::kDemasiadasDelUsuario:
    case NumerosDeError::kLimiteDelUsuario:
        return QStringLiteral("El usuario de la conexión llegó a su propio límite de conexiones a "
                              "la vez en el servidor (max_user_connections)");
    case NumerosDeError::kBaseNegada:
    case NumerosDeError::kUsuarioRechazado:
        return QStringLiteral("El servidor no admite el usuario o la contraseña");
    case NumerosDeError::kBaseDesconocida:
        return QStringLiteral("La base de datos no existe en el servidor");
    case NumerosDeError::kSinSocket:
    case NumerosDeError::kSinServidor:
    case NumerosDeError::kServidorDesconocido:
    case NumerosDeError::kServidorSeFue:
    case NumerosDeError::kConexionPerdida:
        return QStringLiteral("No hay comunicación con el servidor");
    default:
        return QStringLiteral("No se puede conectar con el servidor");
    }
}

ErrorDeReporte noSePuedeLeer(const QString& ubicacion, const QSqlError& error,
                             const QString& sentencia) {
    return ErrorDeReporte(ErrorDeReporte::kTabla,
                          QStringLiteral("No se puede leer la tabla %1: %2 [%3]")
                              .arg(ubicacion, error.text(), sentencia));
}

void cierra(const QString& nombre) {
    if (QSqlDatabase::contains(nombre)) {
        QSqlDatabase::database(nombre, false).close();
        QSqlDatabase::removeDatabase(nombre);
    }
}

} // namespace

void Fila::pon(const QString& campo, const QVariant& valor) {
    const QString clave = campo.toLower();
    if (columnas_) {
        const auto it = columnas_->constFind(clave);
        if (it != columnas_->constEnd()) {
            valores_[*it] = valor;
            return;
        }
    }
    // A new column changes the index: a row that shares it takes its own copy first.
    if (!columnas_) {
        columnas_ = std::make_shared<Columnas>();
    } else if (columnas_.use_count() > 1) {
        columnas_ = std::make_shared<Columnas>(*columnas_);
    }
    columnas_->insert(clave, valores_.size());
    valores_.append(valor);
}

QVariant Fila::valor(const QString& campo) const {
    if (!columnas_) {
        return {};
    }
    const auto it = columnas_->constFind(campo.toLower());
    return it == columnas_->constEnd() ? QVariant() : valores_.at(*it);
}

OrigenDeDatos::OrigenDeDatos()
    : odbc_(QStringLiteral("reporteador-odbc-%1").arg(++contador))
    , auxiliar_(QStringLiteral("reporteador-aux-%1").arg(contador.load())) {}

OrigenDeDatos::~OrigenDeDatos() {
    cierra(odbc_);
    CierraAuxiliar();
}

void OrigenDeDatos::Conecta(const QString& textoDeConexion) {
    const bool abierta = textoDeConexion == textoDeConexion_ && QSqlDatabase::contains(odbc_) &&
                         QSqlDatabase::database(odbc_, false).isOpen();
    if (enCorrida_ && abierta) {
        return;
    }
    // Each report outside a run reads the tables' columns anew: a table may have been made
    // again since.
    camposOdbc_.clear();
    // The connection of earlier reports is kept while it still answers; a server restarted
    // since then gets a new one.
    if (abierta &&
        QSqlQuery(QSqlDatabase::database(odbc_, false)).exec(QStringLiteral("SELECT 1"))) {
        return;
    }
    cierra(odbc_);
    textoDeConexion_.clear();
    const QHash<QString, QString> valores = pares(textoDeConexion);
    const QString dsn = valores.value(QStringLiteral("DSN"));
    if (dsn.isEmpty()) {
        throw ErrorDeReporte(ErrorDeReporte::kServidor,
                             QStringLiteral("El texto de conexión no nombra un origen de datos"));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), odbc_);
    db.setDatabaseName(dsn);
    db.setUserName(valores.value(QStringLiteral("UID")));
    db.setPassword(valores.value(QStringLiteral("PWD")));
    QString error;
    if (!db.open()) {
        error =
            causa(db.lastError()) + QStringLiteral(" (") + db.lastError().text() + QLatin1Char(')');
    } else if (QSqlQuery modo(db); !modo.exec(ModoDeSesion::Sentencia())) {
        // The statements below are written for a known mode, as on the program's own
        // connections.
        error = modo.lastError().text() + QStringLiteral(" [") + ModoDeSesion::Sentencia() +
                QLatin1Char(']');
    }
    if (!error.isEmpty()) {
        db = QSqlDatabase();
        cierra(odbc_);
        throw ErrorDeReporte(
            ErrorDeReporte::kServidor,
            QStringLiteral("No se puede conectar con el origen de datos '%1': %2").arg(dsn, error));
    }
    textoDeConexion_ = textoDeConexion;
}

void OrigenDeDatos::CierraAuxiliar() {
    leidasDelAuxiliar_.clear();
    cierra(auxiliar_);
    rutaAuxiliar_.clear();
}

QVector<Fila> OrigenDeDatos::Lee(const QString& ubicacion, const QString& tablaDeAccess,
                                 const QString& condicion, const QString& orden) {
    QString conexion = odbc_;
    QString tabla;
    if (!tablaDeAccess.isEmpty()) {
        if (rutaAuxiliar_ != ubicacion) {
            CierraAuxiliar();
            if (!QFileInfo::exists(ubicacion)) {
                throw ErrorDeReporte(ErrorDeReporte::kTabla,
                                     QStringLiteral("No existe el archivo de la tabla %1: %2")
                                         .arg(tablaDeAccess, ubicacion));
            }
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), auxiliar_);
            db.setDatabaseName(ubicacion);
            db.open();
            rutaAuxiliar_ = ubicacion;
        }
        conexion = auxiliar_;
        tabla = Sentencias::Nombre(tablaDeAccess, Sentencias::Motor::SQLite);
    } else {
        QStringList partes;
        for (const QString& p : ubicacion.split(QLatin1Char('.'))) {
            partes << Sentencias::Nombre(p);
        }
        tabla = partes.join(QLatin1Char('.'));
    }
    QString sentencia = QStringLiteral("SELECT ") +
                        (conexion == odbc_ ? camposOdbc(tabla, ubicacion) : QStringLiteral("*")) +
                        QStringLiteral(" FROM ") + tabla;
    if (!condicion.isEmpty()) {
        sentencia += QStringLiteral(" WHERE ") + condicion;
    }
    if (!orden.isEmpty()) {
        sentencia += QStringLiteral(" ORDER BY ") + orden;
    }
    return consulta(conexion, sentencia, ubicacion);
}

QString OrigenDeDatos::camposOdbc(const QString& tabla, const QString& ubicacion) {
    const auto guardados = camposOdbc_.constFind(tabla);
    if (guardados != camposOdbc_.constEnd()) {
        return *guardados;
    }
    QStringList campos;
    QSqlQuery q(QSqlDatabase::database(odbc_, false));
    const QString muestra = QStringLiteral("SELECT * FROM ") + tabla + QStringLiteral(" LIMIT 0");
    if (!q.exec(muestra)) {
        throw noSePuedeLeer(ubicacion, q.lastError(), muestra);
    }
    const QSqlRecord registro = q.record();
    for (int c = 0; c < registro.count(); ++c) {
        const QString campo = Sentencias::Nombre(registro.fieldName(c));
        campos << (registro.field(c).metaType().id() == QMetaType::QString
                       ? QStringLiteral("CAST(CONVERT(%1 USING utf8mb4) AS BINARY) AS %2")
                             .arg(campo, Sentencias::Nombre(kPrefijoUtf8 + registro.fieldName(c)))
                       : campo);
    }
    return *camposOdbc_.insert(tabla, campos.join(QLatin1Char(',')));
}

QVector<Fila> OrigenDeDatos::consulta(const QString& conexion, const QString& sentencia,
                                      const QString& ubicacion) {
    if (!QSqlDatabase::contains(conexion) || !QSqlDatabase::database(conexion, false).isOpen()) {
        throw ErrorDeReporte(ErrorDeReporte::kServidor,
                             QStringLiteral("No hay conexión para leer la tabla ") + ubicacion);
    }
    if (conexion == auxiliar_) {
        QSqlQuery& q = preparadaEnElAuxiliar(sentencia, ubicacion);
        if (!q.exec()) {
            const QSqlError error = q.lastError();
            leidasDelAuxiliar_.remove(sentencia);
            throw noSePuedeLeer(ubicacion, error, sentencia);
        }
        return filasDe(q);
    }
    QSqlQuery q(QSqlDatabase::database(conexion, false));
    q.setForwardOnly(true);
    if (!q.exec(sentencia)) {
        throw noSePuedeLeer(ubicacion, q.lastError(), sentencia);
    }
    return filasDe(q);
}

QVector<Fila> OrigenDeDatos::filasDe(QSqlQuery& q) {
    const QSqlRecord registro = q.record();
    const auto columnas = std::make_shared<Fila::Columnas>();
    QVector<bool> enUtf8(registro.count());
    for (int c = 0; c < registro.count(); ++c) {
        QString campo = registro.fieldName(c);
        enUtf8[c] = campo.startsWith(kPrefijoUtf8);
        if (enUtf8[c]) {
            campo.remove(0, kPrefijoUtf8.size());
        }
        columnas->insert(campo.toLower(), c);
    }
    QVector<Fila> filas;
    while (q.next()) {
        QVector<QVariant> valores(registro.count());
        for (int c = 0; c < registro.count(); ++c) {
            valores[c] = q.value(c);
            if (enUtf8[c]) {
                valores[c] = valores[c].isNull()
                                 ? QVariant(QMetaType::fromType<QString>())
                                 : QVariant(QString::fromUtf8(valores[c].toByteArray()));
            }
        }
        filas.append(Fila(columnas, std::move(valores)));
    }
    // A statement kept prepared lets go of the file until the next report.
    q.finish();
    return filas;
}

QSqlQuery& OrigenDeDatos::preparadaEnElAuxiliar(const QString& sentencia,
                                                const QString& ubicacion) {
    const auto guardada = leidasDelAuxiliar_.find(sentencia);
    if (guardada != leidasDelAuxiliar_.end()) {
        return *guardada;
    }
    QSqlQuery q(QSqlDatabase::database(auxiliar_, false));
    q.setForwardOnly(true);
    if (!q.prepare(sentencia)) {
        throw noSePuedeLeer(ubicacion, q.lastError(), sentencia);
    }
    // Texts that carry their values would each stay prepared: the kept ones are bounded.
    if (leidasDelAuxiliar_.size() >= kLeidasGuardadas) {
        leidasDelAuxiliar_.clear();
    }
    return *leidasDelAuxiliar_.emplace(sentencia, std::move(q));
}
