#include "impresion/MuestraDePlantilla.h"

#include "impresion/BaseDeMuestra.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/modRPTs.h"
#include "orvlib/AlSalir.h"
#include "orvlib/CamposBin.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/FuenteDePlantilla.h"
#include "servicios/Proceso.h"
#include "tienda/OrigenesODBC.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <stdexcept>

namespace {

[[noreturn]] void falla(const QString& texto) {
    throw std::runtime_error(texto.toStdString());
}

void mueve(const QString& origen, const QString& destino) {
    QDir().mkpath(QFileInfo(destino).absolutePath());
    QFile::remove(destino);
    if (!QFile::rename(origen, destino)) {
        falla(QStringLiteral("No se puede escribir ") + destino);
    }
}

} // namespace

MuestraDePlantilla::MuestraDePlantilla(Conexion& tienda)
    : tienda_(tienda) {}

QString MuestraDePlantilla::RutaDePagina(const QString& destino, int n, int m) {
    if (m == 1) {
        return destino;
    }
    const QFileInfo info(destino);
    const QString sufijo = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return QDir(info.path())
        .filePath(
            QStringLiteral("%1-%2%3").arg(info.completeBaseName(), QString::number(n), sufijo));
}

QStringList MuestraDePlantilla::Muestra(const QString& fuente, const QString& serie, int folio,
                                        Salida salida, const QString& destino) {
    const Plantilla plantilla = FuenteDePlantilla::Lee(fuente);
    BasesDD& bases = *Proceso::actual().bases;
    const QString baseTienda = bases.cMiBase;
    BaseDeMuestra base(tienda_, baseTienda);
    base.CopiaRemision(serie, folio);
    base.CopiaArchivos(QStringList{QStringLiteral("Auxiliar.MDB")} + plantilla.imagenes());

    // While the sample prints the program works on the scratch database; afterwards the ODBC
    // data sources point at the store again, as a print leaves them.
    bases.cMiBase = base.nombre();
    const AlSalir devuelve([&bases, baseTienda] {
        bases.cMiBase = baseTienda;
        ActualizaOrigenesODBC();
    });
    Conexion cnn;
    if (!bases.AbrirBdD(cnn)) {
        falla(QStringLiteral("No se puede abrir la base de la muestra: ") + cnn.ultimoError());
    }
    CamposBin campos;
    campos.BaseDD = &cnn;
    campos.GuardaRPT(ImpresionDeRemisiones::Plantilla(), ArchivoDePlantilla::Construye(fuente));

    QTemporaryDir salidas;
    ControlDeReporte& motor = modRPTs::actual().crpReport;
    const ControlDeReporte::Desvio desvio = motor.DesvioActual();
    const QString carpeta = motor.CarpetaDeSalida();
    const AlSalir restaura([&motor, desvio, carpeta] { motor.Desvia(desvio, carpeta); });
    motor.Desvia(salida == Salida::Pdf   ? ControlDeReporte::Desvio::Pdf
                 : salida == Salida::Png ? ControlDeReporte::Desvio::Png
                                         : ControlDeReporte::Desvio::Ventana,
                 salidas.path());
    const qsizetype antes = motor.ArchivosGenerados().size();
    const ResultadoDeImpresion resultado = ImpresionDeRemisiones(cnn).Imprime();
    if (resultado.Fallo()) {
        falla(QStringLiteral("No se imprimió la muestra: ") + resultado.error);
    }
    const QStringList hechos = motor.ArchivosGenerados().mid(antes);
    QStringList escritos;
    for (int i = 0; i < hechos.size(); ++i) {
        escritos << (salida == Salida::Pdf
                         ? destino
                         : RutaDePagina(destino, i + 1, static_cast<int>(hechos.size())));
        mueve(hechos[i], escritos.last());
    }
    return escritos;
}
