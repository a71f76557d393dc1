#include "impresion/AuxiliarDeImpresion.h"

#include "impresion/TextosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "orvlib/ErrorDeEscritura.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/GuionSql.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <exception>
#include <functional>

namespace {

const QStringList kColumnasCopiadas = {QStringLiteral("clave"),
                                       QStringLiteral("Calle"),
                                       QStringLiteral("NumExterior"),
                                       QStringLiteral("NumInterior"),
                                       QStringLiteral("ReferenciaDomic"),
                                       QStringLiteral("Colonia"),
                                       QStringLiteral("Localidad"),
                                       QStringLiteral("Estado"),
                                       QStringLiteral("Pais"),
                                       QStringLiteral("Calle2"),
                                       QStringLiteral("NumExterior2"),
                                       QStringLiteral("NumInterior2"),
                                       QStringLiteral("ReferenciaDomic2"),
                                       QStringLiteral("Colonia2"),
                                       QStringLiteral("Localidad2"),
                                       QStringLiteral("Estado2"),
                                       QStringLiteral("Pais2"),
                                       QStringLiteral("CP2"),
                                       QStringLiteral("Municipio2"),
                                       QStringLiteral("NombreComercial"),
                                       QStringLiteral("Regimen")};

// The store's auxiliary file in reportesbin is damaged: nothing prints until it is stored again.
constexpr int kAuxiliarDanado = 3043;

// Runs a step and goes on whatever happens to it, but for a file the disk or the folder would
// not take, or a damaged auxiliary file: that is the cause of what fails next, and goes on to
// the caller.
void intenta(const std::function<void()>& paso) {
    try {
        paso();
    } catch (const ErrorDeEscritura&) {
        throw;
    } catch (const ErrorOrvlib& e) {
        if (e.numero() == kAuxiliarDanado) {
            throw;
        }
    } catch (const std::exception&) {
        return;
    }
}

} // namespace

void RevisaAuxiliar(const QString& ruta) {
    QString problema;
    {
        Conexion cnn;
        try {
            if (!BasesDD::AbreBdDAccess(cnn, ruta)) {
                problema = cnn.ultimoError();
            } else if (const QString r = cnn.valor(QStringLiteral("PRAGMA quick_check"));
                       r != QLatin1String("ok")) {
                problema = r;
            }
        } catch (const ErrorDeEscritura&) {
            throw;
        } catch (const ErrorOrvlib& e) {
            problema = e.descripcion();
        }
    }
    if (!problema.isEmpty()) {
        QFile::remove(ruta);
        throw ErrorOrvlib(kAuxiliarDanado,
                          QStringLiteral("El archivo auxiliar Auxiliar.MDB guardado en "
                                         "reportesbin está dañado (%1); guárdelo de nuevo con "
                                         "«plantillas guarda» de Auxiliar.MDB (por ejemplo, "
                                         "plantillas guarda /usr/share/deremisiones/plantillas/"
                                         "Auxiliar.MDB.sql) y vuelva a imprimir.")
                              .arg(problema),
                          QStringLiteral("Auxiliar.MDB"));
    }
}

namespace {

void escribeEmpresa(Recordset& generales, const Recordset& empresa, const QString& periodo) {
    const auto texto = [&](const char* campo) {
        return empresa.campo(QString::fromLatin1(campo)).toString();
    };
    generales.agrega();
    generales.asigna(QStringLiteral("Empresa"), empresa.campo(QStringLiteral("Empresa")));
    generales.asigna(QStringLiteral("Domicilio"),
                     (texto("Calle") + QLatin1Char(' ') + texto("NumExterior") + QLatin1Char(' ') +
                      texto("NumInterior"))
                         .left(60));
    for (const char* campo : {"CP", "CiudadEstado", "Telefonos", "RFC"}) {
        generales.asigna(QString::fromLatin1(campo), empresa.campo(QString::fromLatin1(campo)));
    }
    generales.asigna(QStringLiteral("ParaLasFechas"), periodo);
    for (const QString& campo : kColumnasCopiadas) {
        generales.asigna(campo, empresa.campo(campo));
    }
    generales.guarda();
}

} // namespace

QString NombreAuxiliarTemporal() {
    return DeArchivos::ArchivoTemporal(TemporalDelProceso::Carpeta(), QStringLiteral("MDB"));
}

void PreparaAuxiliar(const QString& rutaAuxiliar, const QString& desde, const QString& hasta) {
    Conexion host;
    intenta([&] { Proceso::actual().bases->AbrirBdD(host); });
    PreparaAuxiliar(host, rutaAuxiliar, desde, hasta);
    BasesDD::CierraBdD(host);
}

void PreparaAuxiliar(Conexion& host, const QString& rutaAuxiliar, const QString& desde,
                     const QString& hasta) {
    intenta([&] {
        if (DeArchivos::HayArchivo(rutaAuxiliar)) {
            DeArchivos::BorraArchivo(rutaAuxiliar);
        }
    });
    QString periodo;
    intenta([&] { periodo = TextoDelPeriodo(desde, hasta); });
    intenta([&] { ExtraeAuxiliar(host, rutaAuxiliar); });
    GuardaEmpresa(host, rutaAuxiliar, periodo);
}

void ExtraeAuxiliar(Conexion& host, const QString& rutaAuxiliar) {
    // Extracted beside the auxiliary file, in the process's own folder, then renamed.
    QString carpeta = QFileInfo(rutaAuxiliar).path();
    const QString extraido = QDir(carpeta).filePath(QStringLiteral("Auxiliar.MDB"));
    modRPTs::ExtraeFormato(host, QStringLiteral("Auxiliar.MDB"), carpeta,
                           QStringLiteral("reportesbin"));
    QFile archivo(extraido);
    // The name was taken by an empty file that holds it.
    QFile::remove(rutaAuxiliar);
    if (!archivo.rename(rutaAuxiliar)) {
        const QString error = archivo.errorString();
        QFile::remove(extraido);
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, error, rutaAuxiliar);
    }
    RevisaAuxiliar(rutaAuxiliar);
}

void GuardaEmpresa(Conexion& host, const QString& rutaAuxiliar, const QString& periodo) {
    Conexion auxiliar;
    Recordset generales;
    Recordset empresa;
    intenta([&] {
        if (BasesDD::AbreBdDAccess(auxiliar, rutaAuxiliar)) {
            BasesDD::AbrirTabla(generales, auxiliar, QStringLiteral("Generales"));
        }
    });
    intenta([&] {
        BasesDD::AbrirTabla(
            empresa, host,
            Utilerias::CambXXX(QStringLiteral("empresas where BaseDeDatos='XXX'"),
                               Sentencias::Escapa(Proceso::actual().bases->cMiBase)));
    });
    intenta([&] {
        if (!empresa.fin()) {
            escribeEmpresa(generales, empresa, periodo);
        }
    });
    BasesDD::CierraTabla(empresa);
    BasesDD::CierraTabla(generales);
    BasesDD::CierraBdD(auxiliar);
}

QByteArray ConstruyeBaseAuxiliar(const QString& guion) {
    QTemporaryDir dir;
    const QString ruta = QDir(dir.path()).filePath(QStringLiteral("Auxiliar.MDB"));
    {
        QFile vacio(ruta);
        vacio.open(QIODevice::WriteOnly);
    }
    Conexion cnn;
    if (!BasesDD::AbreBdDAccess(cnn, ruta)) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, cnn.ultimoError(), ruta);
    }
    for (const QString& sentencia : SentenciasDeGuion(guion)) {
        cnn.ejecuta(sentencia);
    }
    cnn.cierra();
    QFile archivo(ruta);
    archivo.open(QIODevice::ReadOnly);
    return archivo.readAll();
}
