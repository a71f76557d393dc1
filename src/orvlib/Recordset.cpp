#include "orvlib/Recordset.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"

#include <QSqlRecord>
#include <QStringList>

void Recordset::abre(Conexion& cnn, const QString& tabla, const QString& sentencia) {
    cierra();
    q_ = cnn.consulta(sentencia);
    registro_ = q_.record();
    cnn_ = &cnn;
    tabla_ = tabla;
    sentencia_ = sentencia;
    q_.next();
}

void Recordset::abreParaAgregar(Conexion& cnn, const QString& tabla) {
    cierra();
    cnn_ = &cnn;
    tabla_ = tabla;
}

void Recordset::cierra() {
    q_ = QSqlQuery();
    registro_ = QSqlRecord();
    cnn_ = nullptr;
    nuevo_.clear();
    agregando_ = false;
}

bool Recordset::fin() const {
    return !abierto() || !q_.isValid();
}

void Recordset::siguiente() {
    if (!fin()) {
        q_.next();
    }
}

QVariant Recordset::campo(const QString& nombre) const {
    const int i = registro_.indexOf(nombre);
    if (i < 0 || fin()) {
        throw ErrorOrvlib(NumerosDeError::kCampoNoEncontrado,
                          QStringLiteral("No se encontró el campo %1").arg(nombre), sentencia_);
    }
    return q_.value(i);
}

int Recordset::cuenta() const {
    return abierto() ? q_.size() : 0;
}

void Recordset::agrega() {
    nuevo_.clear();
    agregando_ = true;
}

void Recordset::asigna(const QString& campo, const QVariant& valor) {
    if (!agregando_) {
        throw ErrorOrvlib(NumerosDeError::kOperacionNoAdmitida,
                          QStringLiteral("No hay un registro nuevo que asignar"), tabla_);
    }
    // An empty text is stored as an empty text, never as NULL.
    const QVariant guardado = valor.typeId() == QMetaType::QString && valor.toString().isNull()
                                  ? QVariant(QString(""))
                                  : valor;
    for (auto& [nombre, v] : nuevo_) {
        if (nombre.compare(campo, Qt::CaseInsensitive) == 0) {
            v = guardado;
            return;
        }
    }
    nuevo_.emplace_back(campo, guardado);
}

void Recordset::guarda() {
    if (!agregando_ || cnn_ == nullptr) {
        throw ErrorOrvlib(NumerosDeError::kOperacionNoAdmitida,
                          QStringLiteral("No hay un registro nuevo que guardar"), tabla_);
    }
    QStringList columnas;
    QStringList marcas;
    QVariantList valores;
    for (const auto& [nombre, valor] : nuevo_) {
        columnas << Sentencias::Nombre(nombre, cnn_->motor());
        marcas << QStringLiteral("?");
        valores << valor;
    }
    const QString sentencia =
        columnas.isEmpty()
            ? (cnn_->motor() == Sentencias::Motor::SQLite
                   ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES")
                   : QStringLiteral("INSERT INTO %1 () VALUES ()"))
                  .arg(Sentencias::Nombre(tabla_, cnn_->motor()))
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(Sentencias::Nombre(tabla_, cnn_->motor()), columnas.join(QLatin1Char(',')),
                       marcas.join(QLatin1Char(',')));
    cnn_->ejecuta(sentencia, valores);
    nuevo_.clear();
    agregando_ = false;
}
