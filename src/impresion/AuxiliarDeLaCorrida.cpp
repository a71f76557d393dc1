#include "impresion/AuxiliarDeLaCorrida.h"

#include "impresion/AuxiliarDeImpresion.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"

#include <QFile>

AuxiliarDeLaCorrida::AuxiliarDeLaCorrida(Conexion& host)
    : ruta_(NombreAuxiliarTemporal()) {
    ExtraeAuxiliar(host, ruta_);
    GuardaEmpresa(host, ruta_, QString());
    if (!BasesDD::AbreBdDAccess(cnn_, ruta_)) {
        const QString error = cnn_.ultimoError();
        QFile::remove(ruta_);
        throw ErrorOrvlib(NumerosDeError::kBaseNoSeAbre,
                          QStringLiteral("No se pudo abrir la base auxiliar: ") + error, ruta_);
    }
    QSqlQuery q = cnn_.consulta(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%'"));
    while (q.next()) {
        const QString tabla = q.value(0).toString();
        if (tabla.compare(QLatin1String("Generales"), Qt::CaseInsensitive) != 0) {
            tablas_ << tabla;
        }
    }
    enCurso_ = this;
}

AuxiliarDeLaCorrida::~AuxiliarDeLaCorrida() {
    if (enCurso_ == this) {
        enCurso_ = nullptr;
    }
    cnn_.cierra();
    QFile::remove(ruta_);
}

void AuxiliarDeLaCorrida::Vacia() {
    for (const QString& tabla : std::as_const(tablas_)) {
        cnn_.ejecuta(QStringLiteral("DELETE FROM ") +
                     Sentencias::Nombre(tabla, Sentencias::Motor::SQLite));
    }
}

void AuxiliarDeLaCorrida::Llena(const std::function<void()>& filas) {
    cnn_.ejecuta(QStringLiteral("BEGIN"));
    try {
        Vacia();
        filas();
        cnn_.ejecuta(QStringLiteral("COMMIT"));
    } catch (...) {
        cnn_.bd().rollback();
        throw;
    }
}

Conexion& AuxiliarDeLaCorrida::Abre(const QString& ruta, Conexion& propia) {
    if (enCurso_ != nullptr && enCurso_->ruta_ == ruta) {
        return enCurso_->cnn_;
    }
    if (!BasesDD::AbreBdDAccess(propia, ruta)) {
        throw ErrorOrvlib(NumerosDeError::kBaseNoSeAbre,
                          QStringLiteral("No se pudo abrir la base auxiliar"), ruta);
    }
    return propia;
}
