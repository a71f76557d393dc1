#include "apoyo/TiendaDePrueba.h"

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "impresion/AuxiliarDeImpresion.h"
#include "orvlib/CamposBin.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "servicios/Proceso.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

QString TextoDePlantilla(const char* archivo) {
    QFile f(QStringLiteral(DEREMISIONES_PLANTILLAS "/") + QString::fromLatin1(archivo));
    if (!f.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(std::string("no se puede leer la plantilla ") + archivo);
    }
    return QString::fromUtf8(f.readAll());
}

void GuardaFuente(BaseDePrueba& base, const QString& nombre, const QString& fuente) {
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    campos.GuardaRPT(nombre, ArchivoDePlantilla::Construye(fuente));
}

void GuardaLogo(BaseDePrueba& base) {
    QImage logo(300, 200, QImage::Format_RGB32);
    logo.fill(QColor(0x1f, 0x3a, 0x5f));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    logo.save(&buffer, "PNG");
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    campos.GuardaRPT(QStringLiteral("logo.png"), png);
}

void GuardaPlantilla(BaseDePrueba& base, const char* archivo) {
    const QString nombre = QString::fromLatin1(archivo);
    const QString texto = TextoDePlantilla(archivo);
    if (nombre.endsWith(QLatin1String(".fuente"))) {
        GuardaFuente(base, nombre.chopped(7), texto);
    } else {
        CamposBin campos;
        campos.BaseDD = &base.conexion();
        campos.GuardaRPT(nombre.chopped(4), ConstruyeBaseAuxiliar(texto));
    }
}

void PreparaImpresion(CarpetaDePrueba& carpeta, BaseDePrueba& base) {
    Proceso& p = Proceso::actual();
    p.stCarpetaPrograma = carpeta.programa() + QLatin1Char('/');
    p.stIniHost = carpeta.ruta(QStringLiteral("host/Orvane.ini"));
    p.stArchivoIni = carpeta.ruta(QStringLiteral("programa/DeRemisiones.ini"));
    carpeta.registraOrigenesOdbc();
    GuardaPlantilla(base, "fmtRemision.rpt.fuente");
    GuardaPlantilla(base, "Auxiliar.MDB.sql");
    base.ejecuta(QStringLiteral("INSERT INTO monedas (Id, Nombre, Abreviacion, Paridad) VALUES "
                                "(1, 'PESOS', 'M.N.', 1), (2, 'DÓLARES', 'USD', 18.25)"));
    base.ejecuta(QStringLiteral("INSERT INTO configura (SeriesEnRem, VariosIVAs, VariosImpAd, "
                                "PartidasXhojaRem) VALUES (1, 1, 1, 10)"));
    base.conexion().consulta(
        QStringLiteral("INSERT INTO empresas (BaseDeDatos, clave, Empresa, NombreComercial, RFC, "
                       "Calle, NumExterior, NumInterior, Colonia, CP, CiudadEstado, Telefonos, "
                       "Regimen) VALUES (?, 'E1', 'DISTRIBUIDORA EL SURTIDOR, S.A. DE C.V.', "
                       "'El Surtidor', 'DSU010203AB4', 'Juárez', '12', NULL, 'Centro', '44100', "
                       "'Guadalajara, Jal.', '33 3619 0000', '601 General de Ley')"),
        {base.nombre()});
    base.ejecuta(QStringLiteral("INSERT INTO clientes (Clave, Nombre, RFC, Calle, NumExterior, "
                                "Colonia, Ciudad, Estado, CP) VALUES ('C001', 'ABARROTES LA "
                                "ESPERANZA', 'AES990101AB1', 'AV. JUÁREZ', '120', 'CENTRO', "
                                "'GUADALAJARA', 'JALISCO', '44100')"));
}
