#include "impresion/CatalogoDeLaTienda.h"

#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/modRPTs.h"
#include "orvlib/BasesDD.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

const QString kAuxiliar = QStringLiteral("Auxiliar.MDB");

QStringList columnasDelServidor(Conexion& tienda, const QString& ubicacion) {
    QSqlQuery q = tienda.consulta(
        QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=? "
                       "AND TABLE_NAME=? ORDER BY ORDINAL_POSITION"),
        {ubicacion.section(QLatin1Char('.'), 0, 0), ubicacion.section(QLatin1Char('.'), 1)});
    QStringList columnas;
    while (q.next()) {
        columnas << q.value(0).toString();
    }
    return columnas;
}

QStringList columnasDelAuxiliar(Conexion& auxiliar, const QString& tabla) {
    if (!auxiliar.abierta()) {
        return {};
    }
    const QSqlRecord registro = auxiliar.bd().record(tabla);
    QStringList columnas;
    for (int i = 0; i < registro.count(); ++i) {
        columnas << registro.fieldName(i);
    }
    return columnas;
}

// The auxiliary file about to be stored, else the stored one, written to the folder and opened;
// closed when there is none.
void abreAuxiliar(Conexion& tienda, const QTemporaryDir& carpeta, Conexion& auxiliar,
                  const QHash<QString, QByteArray>& porGuardar) {
    const QString ruta = QDir(carpeta.path()).filePath(kAuxiliar);
    if (porGuardar.contains(kAuxiliar)) {
        QFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly) ||
            archivo.write(porGuardar.value(kAuxiliar)) != porGuardar.value(kAuxiliar).size() ||
            !archivo.flush()) {
            throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta);
        }
        archivo.close();
        BasesDD::AbreBdDAccess(auxiliar, ruta);
        return;
    }
    CamposBin campos;
    campos.BaseDD = &tienda;
    try {
        campos.ExtraeRPT(kAuxiliar, carpeta.path());
    } catch (const ErrorOrvlib& e) {
        if (e.numero() == CamposBin::kNoGuardado) {
            return;
        }
        throw;
    }
    RevisaAuxiliar(ruta);
    BasesDD::AbreBdDAccess(auxiliar, ruta);
}

} // namespace

CatalogoDeDatos CatalogoDeLaTienda::Lee(Conexion& tienda, const Plantilla& plantilla,
                                        const QHash<QString, QByteArray>& porGuardar) {
    CatalogoDeDatos c;
    c.lugarDeArchivos = QStringLiteral("reportesbin");
    QSqlQuery archivos =
        tienda.consulta(QStringLiteral("SELECT DISTINCT Archivo FROM reportesbin"));
    while (archivos.next()) {
        c.archivos << archivos.value(0).toString();
    }
    c.archivos << porGuardar.keys();
    // Tables without a database are read from the one the connection works on.
    const QString base = tienda.valor(QStringLiteral("SELECT DATABASE()"));
    QTemporaryDir carpeta;
    Conexion auxiliar;
    abreAuxiliar(tienda, carpeta, auxiliar, porGuardar);
    for (const TablaDePlantilla& t : plantilla.tablas) {
        const QString entrada = CatalogoDeDatos::Entrada(t);
        QStringList columnas;
        if (t.deAccess) {
            c.origenes.insert(entrada,
                              auxiliar.abierta()
                                  ? kAuxiliar
                                  : kAuxiliar + QStringLiteral(", que no está en reportesbin"));
            columnas = columnasDelAuxiliar(auxiliar, t.nombre);
        } else {
            const QString ubicacion = modRPTs::UbicacionDeTabla(
                QStringLiteral("M ") + t.nombre, {}, QStringLiteral("remisiones"),
                QStringLiteral("remisiones"), QStringLiteral("remisionesdetalle"),
                QStringLiteral("remisionesdetalle"), base);
            c.origenes.insert(entrada, ubicacion);
            columnas = columnasDelServidor(tienda, ubicacion);
        }
        if (!columnas.isEmpty()) {
            c.columnas.insert(entrada, columnas);
        }
    }
    BasesDD::CierraBdD(auxiliar);
    return c;
}
