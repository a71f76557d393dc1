#include "servicios/ExplicacionDeError.h"

#include "orvlib/BasesDD.h"
#include "orvlib/DuenoDeArchivo.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "servicios/CausaDeCifrado.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <initializer_list>
#include <utility>

namespace {

using Clase = ExplicacionDeError::Clase;

// The report engine's number for an output (a file of this computer, a printer) it could not
// produce; its errors carry the template's name as their context.
constexpr int kSalidaDelReporteador = 20599;

bool contiene(const QString& texto, std::initializer_list<const char*> partes) {
    return std::any_of(partes.begin(), partes.end(), [&texto](const char* parte) {
        return texto.contains(QLatin1String(parte), Qt::CaseInsensitive);
    });
}

// MySQL and MariaDB client and server numbers, as QMYSQL and the ODBC driver give them.
Clase porNumero(int numero) {
    switch (numero) {
    case NumerosDeError::kServidorSeFue:         // server has gone away
    case NumerosDeError::kConexionPerdida:       // lost connection during query
    case NumerosDeError::kConexionPerdidaAlLeer: // lost connection at reading
    case NumerosDeError::kConexionTerminada:     // connection killed
    case NumerosDeError::kServidorApagandose:    // server shutdown in progress
    case NumerosDeError::kInactividad:           // disconnected for inactivity
    case NumerosDeError::kConexionCerrada:       // our own: the connection is not open
        return Clase::ConexionPerdida;
    case NumerosDeError::kSinSocket:
    case NumerosDeError::kSinServidor:
    case NumerosDeError::kServidorDesconocido:
        return Clase::SinServidor;
    case NumerosDeError::kUsuarioRechazado:
        return Clase::UsuarioRechazado;
    case NumerosDeError::kBaseNegada:
    case NumerosDeError::kTablaNegada:
    case NumerosDeError::kColumnaNegada:
    case NumerosDeError::kPrivilegioNegado:
        return Clase::PermisoNegado;
    case NumerosDeError::kDemasiadasConexiones: // too many connections
    case NumerosDeError::kDemasiadasDelUsuario: // max_user_connections, older servers
    case NumerosDeError::kLimiteDelUsuario: // a resource limit of the user (max_user_connections)
        return Clase::DemasiadasConexiones;
    case NumerosDeError::kOpcionLoImpide: // read-only (--read-only) or another option forbids the
                                          // statement
    case NumerosDeError::kSoloLectura:    // read-only mode
        return Clase::SoloLectura;
    case NumerosDeError::kExigeCifrado: // Conexion::kExigeCifrado
        return Clase::CifradoExigido;
    case NumerosDeError::kCifradoFallido: // TLS could not be set up (certificate, authority)
        return Clase::CifradoFallido;
    case NumerosDeError::kBaseDesconocida:
        return Clase::BaseDesconocida;
    case NumerosDeError::kTablaDesconocida:
    case NumerosDeError::kTablaDesconocidaAlBorrar:
    case NumerosDeError::kTablaDesconocidaEnSentencia:
        return Clase::TablaDesconocida;
    case NumerosDeError::kEsperaDeBloqueo:
    case NumerosDeError::kInterbloqueo:
        return Clase::EsperaDeBloqueo;
    case NumerosDeError::kArchivoDelServidor:
    case NumerosDeError::kTablaLlena:
        return Clase::DiscoLleno;
    default:
        return Clase::Otra;
    }
}

// ODBC's SQLSTATE and the drivers' texts, for errors that come without a usable number.
Clase porTexto(const QString& texto) {
    if (contiene(texto, {"08S01", "08003", "08007", "gone away", "Lost connection",
                         "Connection was killed", "Communication link failure", "Broken pipe",
                         "Tubería rota", "Write error", "Read error", "Connection reset",
                         "Error while sending", "Server closed the connection"})) {
        return Clase::ConexionPerdida;
    }
    // The report engine's reads give the driver's text after a number of their own.
    if (contiene(texto, {"(using password:"})) {
        return Clase::UsuarioRechazado;
    }
    if (contiene(texto, {"Access denied", "command denied"})) {
        return Clase::PermisoNegado;
    }
    if (contiene(texto, {"doesn't exist", "Unknown table"})) {
        return Clase::TablaDesconocida;
    }
    if (contiene(texto,
                 {"08001", "Can't connect", "Unknown MySQL server host", "Unknown server host"})) {
        return Clase::SinServidor;
    }
    if (contiene(texto, {"IM002", "Data source name not found", "Data source not found"})) {
        return Clase::OrigenDeDatosNoEncontrado;
    }
    if (contiene(texto, {"Too many connections", "max_user_connections"})) {
        return Clase::DemasiadasConexiones;
    }
    if (contiene(texto, {"--read-only", "read-only mode"})) {
        return Clase::SoloLectura;
    }
    // 28 is the system's "no space left" (in Spanish as Qt words it in the windows), 135 the
    // engine's "no more room in record file"; the last is the program's own words for a file of
    // this computer.
    if (contiene(texto, {"No space left", "No queda espacio en el dispositivo", "errno: 28",
                         "Errcode: 28", "Disk full", "errno: 135", "error 28 ", "error 135 ",
                         "is full", "No hay espacio en el disco"})) {
        return Clase::DiscoLleno;
    }
    return Clase::Otra;
}

QString servidor() {
    const Proceso& p = Proceso::actual();
    return p.bases ? p.bases->cRuta : QString();
}

QString entreComillas(const QString& texto) {
    return texto.isEmpty() ? QString() : QStringLiteral(" «") + texto + QStringLiteral("»");
}

// The file an output error of the report engine names at its end, "… (/ruta/archivo.pdf)".
QString archivoDelReporteador(const QString& texto) {
    static const QRegularExpression ruta(QStringLiteral("\\((/[^()]+)\\)\\s*$"));
    return ruta.match(texto).captured(1);
}

} // namespace

ExplicacionDeError::ExplicacionDeError(Clase clase, QString principal, QString detalle,
                                       QString archivo)
    : clase_(clase)
    , principal_(std::move(principal))
    , detalle_(std::move(detalle))
    , archivo_(std::move(archivo)) {}

ExplicacionDeError ExplicacionDeError::De(const ErrorOrvlib& error) {
    return De(error.numero(), error.descripcion(), error.contexto());
}

ExplicacionDeError ExplicacionDeError::De(int numero, const QString& texto,
                                          const QString& contexto) {
    const Clase clase = clasifica(numero, texto, contexto);
    QString detalle = QStringLiteral("Error no. %1: %2").arg(numero).arg(texto);
    if (!contexto.isEmpty()) {
        detalle += QStringLiteral("\r\n") + contexto;
    }
    // The report engine's errors carry the template's name; the file it wrote is in the text.
    const QString archivo =
        numero == kSalidaDelReporteador ? archivoDelReporteador(texto) : contexto;
    const QString principal = clase == Clase::CifradoFallido
                                  ? CausaDeCifrado::Explica(texto, servidor())
                                  : explica(clase, numero, archivo);
    const bool deUnArchivo = clase == Clase::DiscoLocalLleno || clase == Clase::ArchivoNoEscribible;
    return {clase, principal, detalle, deUnArchivo ? archivo : QString()};
}

ExplicacionDeError::Clase ExplicacionDeError::clasifica(int numero, const QString& texto,
                                                        const QString& contexto) {
    const Clase clase = porNumero(numero);
    if (clase != Clase::Otra) {
        return clase;
    }
    const Clase deTexto = porTexto(texto);
    // A disk that filled while a file of this computer was written (the error names its path,
    // not a statement, or comes from the file layer or the report engine's output) is this
    // computer's.
    if (deTexto == Clase::DiscoLleno &&
        (QDir::isAbsolutePath(contexto) || numero == kSalidaDelReporteador ||
         numero == NumerosDeError::kAccesoAArchivo)) {
        return Clase::DiscoLocalLleno;
    }
    if (deTexto != Clase::Otra) {
        return deTexto;
    }
    // A file the program could not write: error 75 of the file layer, or the system's refusal.
    if (numero == NumerosDeError::kAccesoAArchivo ||
        (!contexto.isEmpty() && contiene(texto, {"Permission denied", "Read-only file system"}))) {
        return Clase::ArchivoNoEscribible;
    }
    return Clase::Otra;
}

QString ExplicacionDeError::SinEspacioPara(const QString& archivo) {
    return QStringLiteral("No hay espacio en el disco para escribir el archivo") +
           entreComillas(archivo);
}

QString ExplicacionDeError::explica(Clase clase, int numero, const QString& contexto) {
    switch (clase) {
    case Clase::ConexionPerdida:
        return QStringLiteral("Se perdió la conexión con el servidor%1; revise la red o el "
                              "servidor y vuelva a intentar.")
            .arg(entreComillas(servidor()));
    case Clase::SinServidor:
        return QStringLiteral("No se pudo conectar con el servidor%1; revise que esté encendido "
                              "y que la red funcione, y vuelva a intentar.")
            .arg(entreComillas(servidor()));
    case Clase::UsuarioRechazado:
        return QStringLiteral("El servidor no aceptó el usuario o la contraseña de la conexión; "
                              "revíselos con «deremisiones configura» o con quien administra el "
                              "servidor.");
    case Clase::PermisoNegado:
        return QStringLiteral("El usuario de la conexión no tiene permiso para esta operación en "
                              "el servidor; pida a quien administra el servidor que se lo dé "
                              "(«deremisiones verifica» dice cuáles faltan).");
    case Clase::DemasiadasConexiones:
        if (numero == NumerosDeError::kLimiteDelUsuario ||
            numero == NumerosDeError::kDemasiadasDelUsuario) {
            return QStringLiteral("El usuario de la conexión llegó a su propio límite de "
                                  "conexiones a la vez en el servidor (max_user_connections): el "
                                  "límite es de ese usuario, no del servidor. Cierre otras "
                                  "ventanas o programas que entren con él, o pida a quien "
                                  "administra el servidor que le suba el límite (al imprimir, "
                                  "el programa usa dos conexiones), y vuelva a intentar.");
        }
        return QStringLiteral("El servidor no acepta más conexiones en este momento; cierre "
                              "ventanas o programas que no use, o espere un momento, y vuelva a "
                              "intentar.");
    case Clase::BaseDesconocida:
        return QStringLiteral("La base de datos no existe en el servidor; revise el nombre de la "
                              "base de datos en la configuración («deremisiones verifica»).");
    case Clase::TablaDesconocida:
        return QStringLiteral("Falta una tabla en la base de datos; revise que la configuración "
                              "apunte a la base de datos de Orvane y que esté completa.");
    case Clase::EsperaDeBloqueo:
        return QStringLiteral("Otra estación tiene ocupados estos datos; espere un momento y "
                              "vuelva a intentar.");
    case Clase::DiscoLleno:
        return QStringLiteral("El servidor%1 se quedó sin espacio en su disco (o una tabla llegó "
                              "a su tamaño máximo); pida a quien administra el servidor que "
                              "libere espacio y vuelva a intentar.")
            .arg(entreComillas(servidor()));
    case Clase::SoloLectura:
        return QStringLiteral("El servidor%1 está en modo de sólo lectura y no acepta cambios; "
                              "pida a quien administra el servidor que lo deje aceptar "
                              "escrituras (read_only) o use el servidor principal, y vuelva a "
                              "intentar.")
            .arg(entreComillas(servidor()));
    case Clase::CifradoFallido: // De() names the fault from the driver's text
        return CausaDeCifrado::Explica({}, servidor());
    case Clase::CifradoExigido:
        return QStringLiteral("El servidor exige una conexión cifrada; use configura --tls "
                              "(«deremisiones configura … --tls [--ca ARCHIVO]»).");
    case Clase::DiscoLocalLleno:
        return SinEspacioPara(contexto) +
               QStringLiteral("; libere espacio en ese disco y vuelva a intentar.");
    case Clase::OrigenDeDatosNoEncontrado:
        return QStringLiteral("No se encontró el origen de datos ODBC de los reportes; "
                              "regístrelo de nuevo con «deremisiones configura» y vuelva a "
                              "intentar.");
    case Clase::ArchivoNoEscribible:
        if (const QString porQue = DuenoDeArchivo::PorQueNoSeEscribe(contexto); !porQue.isEmpty()) {
            return QStringLiteral("No se pudo escribir el archivo%1: %2")
                .arg(entreComillas(contexto), porQue);
        }
        return QStringLiteral("No se pudo escribir el archivo%1; revise que la carpeta exista y "
                              "que se pueda escribir en ella, y vuelva a intentar.")
            .arg(entreComillas(contexto));
    case Clase::Otra:
        break;
    }
    return QStringLiteral("No se pudo completar la operación (error no. %1). Si vuelve a ocurrir, "
                          "muestre el detalle a quien administra el sistema.")
        .arg(numero);
}
