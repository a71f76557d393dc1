#include "tienda/ParaPluginsPortables.h"

#include "orvlib/BasesDD.h"
#include "orvlib/DeArchivos.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"
#include "servicios/Dialogos.h"
#include "tienda/DeConexionRemota.h"

#include <exception>

namespace {

const QString kSeccion = QStringLiteral("Configuración");
const QChar kCR(13);

void AvisaRutaIncorrecta(const QString& archivoIni, const QString& carpetaHost) {
    const QString texto = QStringLiteral("En el archivo de configuración de este programa") + kCR +
                          kCR + QLatin1Char('(') + archivoIni + QLatin1Char(')') + kCR + kCR +
                          QStringLiteral("debe indicarse la ruta correcta de Orvane Premium.") +
                          kCR + QStringLiteral("Ruta indicada e incorrecta: ") + kCR + kCR +
                          carpetaHost;
    Dialogos::actual().mensaje(texto, QStringLiteral("Atención"), Dialogos::Icono::Critico);
    if (Dialogos::actual().pregunta(QStringLiteral("¿Desea editar el archivo de configuración?"),
                                    QStringLiteral("Editar INI"), false)) {
        AbreConfiguracion(archivoIni);
    }
}

bool EnBlanco(const QString& texto) {
    return texto.trimmed().isEmpty();
}

void CompletaRegistro(DelRegistro& registro, const BasesDD& bases, libKwtm& kw,
                      Utilerias& utilerias) {
    if (kw.kwVal(registro.DatosTrq(QStringLiteral("MySQLPuerto"))) == 0) {
        registro.GuardaDatosTrq(QStringLiteral("MySQLPuerto"), QString::number(bases.cPuerto));
    }
    if (EnBlanco(registro.DatosTrq(QStringLiteral("MySQLServer")))) {
        registro.GuardaDatosTrq(QStringLiteral("MySQLServer"),
                                registro.DatosTrq(QStringLiteral("servidor")));
    }
    if (EnBlanco(registro.DatosTrq(QStringLiteral("MySQLUsuario")))) {
        registro.GuardaDatosTrq(QStringLiteral("MySQLUsuario"), utilerias.Encripta(bases.cUsuario));
    }
    if (EnBlanco(registro.DatosTrq(QStringLiteral("MySQLPassword")))) {
        registro.GuardaDatosTrq(QStringLiteral("MySQLPassword"),
                                utilerias.Encripta(bases.cPassword));
    }
}

} // namespace

QString LeeIniConDefault(const QString& seccion, const QString& clave, const QString& defecto,
                         libKwtm& kw, const QString& archivoIni) {
    const QString valor = kw.LeeIni(seccion, clave, archivoIni);
    if (!valor.isEmpty()) {
        return valor;
    }
    kw.EscribeIni(seccion, clave, defecto, archivoIni);
    return defecto;
}

QString BuscaRegistroHost(const QString& carpetaHost, DelRegistro& registro) {
    try {
        return registro.BuscarRegistroTrq(carpetaHost);
    } catch (const std::exception&) {
        return {};
    }
}

bool LeeConfiguracion(libKwtm& kw, DelRegistro& registro, BasesDD& bases, const QString& archivoIni,
                      bool leeBasePrincipal) {
    std::unique_ptr<libKwtm> kwPropio;
    std::unique_ptr<DeArchivos> archivos;
    std::unique_ptr<Utilerias> utilerias;
    if (!CreaObjeto(kwPropio, QStringLiteral("LibKwtm"), QStringLiteral("orvlib")) ||
        !CreaObjeto(archivos, QStringLiteral("DeArchivos"), QStringLiteral("orvlib")) ||
        !CreaObjeto(utilerias, QStringLiteral("Utilerias"), QStringLiteral("orvlib"))) {
        return false;
    }

    const QString carpetaHost =
        LeeIniConDefault(kSeccion, QStringLiteral("Ruta de Orvane Premium"),
                         QStringLiteral("C:\\orvanepremium"), kw, archivoIni);
    if (BuscaRegistroHost(carpetaHost, registro).isEmpty()) {
        AvisaRutaIncorrecta(archivoIni, carpetaHost);
        return false;
    }

    bases.cPuerto = 3306;
    bases.cPassword.clear();
    bases.cUsuario = QStringLiteral("root");
    CompletaRegistro(registro, bases, *kwPropio, *utilerias);
    bases.cPassword = utilerias->DesEncripta(registro.DatosTrq(QStringLiteral("MySQLPassword")));
    bases.cUsuario = utilerias->DesEncripta(registro.DatosTrq(QStringLiteral("MySQLUsuario")));
    bases.cPuerto =
        static_cast<int>(kwPropio->kwVal(registro.DatosTrq(QStringLiteral("MySQLPuerto"))));
    bases.cRuta = registro.DatosTrq(QStringLiteral("MySQLServer"));
    // TLS and CA are written by configura; a file without them connects plainly.
    bases.cCifrado.activo = kw.kwVal(kw.LeeIni(kSeccion, QStringLiteral("TLS"), archivoIni)) != 0;
    bases.cCifrado.autoridad = kw.LeeIni(kSeccion, QStringLiteral("CA"), archivoIni).trimmed();
    if (leeBasePrincipal) {
        bases.cMiBase = LeeIniConDefault(kSeccion, QStringLiteral("Base de datos principal"),
                                         QStringLiteral("datos1"), kw, archivoIni);
    }
    return true;
}

void AbreConfiguracion(const QString& archivoIni) {
    if (!DeArchivos::AbreDocumento(archivoIni, 0, 1)) {
        Dialogos::actual().mensaje(
            QStringLiteral("No se pudo abrir un editor para el archivo de configuración. "
                           "Edítelo a mano:") +
                kCR + kCR + archivoIni,
            QStringLiteral("Alerta"), Dialogos::Icono::Advertencia);
    }
}
