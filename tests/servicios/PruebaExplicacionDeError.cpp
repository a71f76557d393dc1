#include "orvlib/ErrorOrvlib.h"
#include "servicios/ExplicacionDeError.h"

#include <gtest/gtest.h>

namespace {

using Clase = ExplicacionDeError::Clase;

// The number alone classifies: a text that says nothing of the cause (not the server's English,
// which the text rules would catch anyway) still gives the class of its number. A file error's
// text without a file named is not taken as an unwritable file.
TEST(ExplicacionDeErrorPorNumero, UnTextoNeutroNoCambiaLaClase) {
    const std::pair<int, Clase> casos[] = {
        {2013, Clase::ConexionPerdida},      {2006, Clase::ConexionPerdida},
        {2055, Clase::ConexionPerdida},      {1927, Clase::ConexionPerdida},
        {1053, Clase::ConexionPerdida},      {4031, Clase::ConexionPerdida},
        {3704, Clase::ConexionPerdida},      {2002, Clase::SinServidor},
        {2003, Clase::SinServidor},          {2005, Clase::SinServidor},
        {1045, Clase::UsuarioRechazado},     {1044, Clase::PermisoNegado},
        {1142, Clase::PermisoNegado},        {1227, Clase::PermisoNegado},
        {1040, Clase::DemasiadasConexiones}, {1203, Clase::DemasiadasConexiones},
        {1049, Clase::BaseDesconocida},      {1146, Clase::TablaDesconocida},
        {1205, Clase::EsperaDeBloqueo},      {1213, Clase::EsperaDeBloqueo},
        {1021, Clase::DiscoLleno},           {1114, Clase::DiscoLleno},
        {1290, Clase::SoloLectura},          {1836, Clase::SoloLectura},
        {3159, Clase::CifradoExigido},       {2026, Clase::CifradoFallido},
    };
    for (const auto& [numero, clase] : casos) {
        EXPECT_EQ(
            ExplicacionDeError::De(numero, QStringLiteral("falla"), QStringLiteral("x")).clase(),
            clase)
            << numero;
    }
    EXPECT_NE(ExplicacionDeError::De(-1, QStringLiteral("Permission denied"), QString()).clase(),
              Clase::ArchivoNoEscribible);
}

struct CasoDeError {
    int numero;
    const char* texto;
    const char* contexto;
    Clase clase;
    const char* dice; // part of the Spanish text
};

class ExplicacionDeErrores : public ::testing::TestWithParam<CasoDeError> {};

TEST_P(ExplicacionDeErrores, DiceQuePasoYQueHacerYGuardaElTextoDelServidor) {
    const CasoDeError& c = GetParam();
    const ExplicacionDeError e = ExplicacionDeError::De(
        ErrorOrvlib(c.numero, QString::fromUtf8(c.texto), QString::fromUtf8(c.contexto)));
    EXPECT_EQ(e.clase(), c.clase) << c.texto;
    EXPECT_TRUE(e.principal().contains(QString::fromUtf8(c.dice))) << qPrintable(e.principal());
    EXPECT_FALSE(e.principal().contains(QString::fromUtf8(c.texto))) << qPrintable(e.principal());
    QString detalle =
        QStringLiteral("Error no. %1: %2").arg(c.numero).arg(QString::fromUtf8(c.texto));
    if (*c.contexto != '\0') {
        detalle += QStringLiteral("\r\n") + QString::fromUtf8(c.contexto);
    }
    EXPECT_EQ(e.detalle(), detalle);
    EXPECT_EQ(e.PerdioLaConexion(),
              c.clase == Clase::ConexionPerdida || c.clase == Clase::SinServidor);
}

INSTANTIATE_TEST_SUITE_P(
    Errores, ExplicacionDeErrores,
    ::testing::Values(
        CasoDeError{2013, "Lost connection to server during query",
                    "SELECT IS_USED_LOCK(?) = CONNECTION_ID()", Clase::ConexionPerdida,
                    "Se perdió la conexión con el servidor"},
        CasoDeError{2006, "MySQL server has gone away", "Drop table if exists tmpremisiones",
                    Clase::ConexionPerdida, "revise la red o el servidor y vuelva a intentar"},
        CasoDeError{1927, "Connection was killed", "SELECT 1", Clase::ConexionPerdida,
                    "Se perdió la conexión"},
        CasoDeError{-1, "[ma-3.1.15]Communication link failure 08S01", "", Clase::ConexionPerdida,
                    "Se perdió la conexión"},
        // What the report engine's ODBC reads give, under a number of the engine's own.
        CasoDeError{20506,
                    "No se puede leer la tabla datos1.clientes: [ma-3.1.15][10.11.19-MariaDB]Write "
                    "error: Tubería rota (32) QODBC: Unable to execute statement",
                    "", Clase::ConexionPerdida, "Se perdió la conexión"},
        CasoDeError{20506, "No se puede leer la tabla datos1.clientes: [ma-3.1.15]Broken pipe (32)",
                    "", Clase::ConexionPerdida, "Se perdió la conexión"},
        CasoDeError{20506,
                    "No se puede leer la tabla datos1.clientes: [ma-3.1.15]SELECT command denied "
                    "to user 'caja'@'pc1' for table 'clientes'",
                    "", Clase::PermisoNegado, "no tiene permiso"},
        CasoDeError{20506,
                    "No se puede leer la tabla datos1.clientes: [ma-3.1.15]Table "
                    "'datos1.clientes' doesn't exist",
                    "", Clase::TablaDesconocida, "Falta una tabla"},
        CasoDeError{2003, "Can't connect to server on 'caja' (111)", "datos1", Clase::SinServidor,
                    "No se pudo conectar con el servidor"},
        CasoDeError{1045, "Access denied for user 'caja'@'pc1' (using password: YES)", "datos1",
                    Clase::UsuarioRechazado, "usuario o la contraseña"},
        CasoDeError{1142, "DELETE command denied to user 'caja'@'pc1' for table 'x'",
                    "DELETE FROM x", Clase::PermisoNegado, "no tiene permiso"},
        CasoDeError{1044, "Access denied for user 'caja'@'%' to database 'tmp'",
                    "Create database tmp", Clase::PermisoNegado, "no tiene permiso"},
        CasoDeError{1040, "Too many connections", "", Clase::DemasiadasConexiones,
                    "El servidor no acepta más conexiones"},
        CasoDeError{1049, "Unknown database 'datos9'", "datos9", Clase::BaseDesconocida,
                    "La base de datos no existe"},
        CasoDeError{1146, "Table 'datos1.remisiones' doesn't exist", "SELECT * FROM remisiones",
                    Clase::TablaDesconocida, "Falta una tabla"},
        CasoDeError{1205, "Lock wait timeout exceeded; try restarting transaction",
                    "UPDATE sistema SET Contenido='5'", Clase::EsperaDeBloqueo,
                    "espere un momento"},
        CasoDeError{1021, "Disk full (/var/tmp); waiting for someone to free some space...",
                    "INSERT INTO tmpremisiones SELECT 1", Clase::DiscoLleno,
                    "se quedó sin espacio en su disco"},
        // A full disk is the server's when a statement hit it, this computer's when a file did.
        CasoDeError{-1, "Got error 28 from storage engine", "INSERT INTO tmpremisiones SELECT 1",
                    Clase::DiscoLleno, "se quedó sin espacio en su disco"},
        CasoDeError{-1, "Error writing file: No space left on device", "/srv/pdf/corrida.pdf",
                    Clase::DiscoLocalLleno, "No hay espacio en el disco para escribir el archivo"},
        CasoDeError{20599, "No se pudo escribir /srv/pdf/corrida.pdf: No space left on device",
                    "fmtRemision.rpt", Clase::DiscoLocalLleno,
                    "No hay espacio en el disco para escribir el archivo; libere espacio"},
        // The engine names the file it could not write at the end of its text.
        CasoDeError{20599,
                    "No hay espacio en el disco para escribir A-502.pdf (/srv/pdf/A-502.pdf)",
                    "fmtRemision.rpt", Clase::DiscoLocalLleno,
                    "No hay espacio en el disco para escribir el archivo «/srv/pdf/A-502.pdf»; "
                    "libere espacio"},
        // In the windows Qt words the system's errors in Spanish.
        CasoDeError{20599,
                    "No se puede escribir /srv/pdf/.corrida.pdf.AbC123: No queda espacio en el "
                    "dispositivo (/srv/pdf/corrida.pdf)",
                    "fmtRemision.rpt", Clase::DiscoLocalLleno,
                    "No hay espacio en el disco para escribir el archivo «/srv/pdf/corrida.pdf»; "
                    "libere espacio"},
        CasoDeError{-1, "[unixODBC][Driver Manager]Data source name not found IM002",
                    "orvanereportes", Clase::OrigenDeDatosNoEncontrado, "origen de datos ODBC"},
        CasoDeError{75, "Permission denied", "/opt/deremisiones/ListaRemisiones.txt",
                    Clase::ArchivoNoEscribible, "/opt/deremisiones/ListaRemisiones.txt"},
        CasoDeError{1226,
                    "User 'caja' has exceeded the 'max_user_connections' resource (current value: "
                    "2)",
                    "tmpreprocesarem", Clase::DemasiadasConexiones,
                    "El usuario de la conexión llegó a su propio límite"},
        CasoDeError{1290,
                    "The MariaDB server is running with the --read-only option so it cannot "
                    "execute this statement",
                    "UPDATE remisiones SET Cancelada=1", Clase::SoloLectura,
                    "modo de sólo lectura y no acepta cambios"},
        CasoDeError{1836, "Running in read-only mode", "INSERT INTO facturas", Clase::SoloLectura,
                    "sólo lectura"},
        CasoDeError{-1,
                    "[ma-3.1.15]The MariaDB server is running with the --read-only option so it "
                    "cannot execute this statement HY000",
                    "", Clase::SoloLectura, "sólo lectura"},
        CasoDeError{1005,
                    "Can't create table `datos1`.`tmpremisiones` (errno: 135 \"No more room in "
                    "record file\")",
                    "CREATE TABLE tmpremisiones LIKE remisiones", Clase::DiscoLleno,
                    "se quedó sin espacio en su disco"},
        CasoDeError{1114, "The table 'tmpremisionesdetalle' is full",
                    "INSERT INTO tmpremisionesdetalle SELECT 1", Clase::DiscoLleno,
                    "se quedó sin espacio en su disco"},
        CasoDeError{3159, "Access denied for user 'caja'@'pc1' (using password: YES)", "datos1",
                    Clase::CifradoExigido,
                    "El servidor exige una conexión cifrada; use configura --tls"},
        CasoDeError{2026, "TLS/SSL error: self-signed certificate in certificate chain", "datos1",
                    Clase::CifradoFallido, "--tls --ca ARCHIVO"},
        // The cause of a refused TLS connection, whichever driver words it.
        CasoDeError{2026, "TLS/SSL error: certificate has expired", "datos1", Clase::CifradoFallido,
                    "su certificado está vencido"},
        CasoDeError{2026, "[ma-3.3.4]Validation of SSL server certificate failed HY000", "",
                    Clase::CifradoFallido, "su certificado es para otro nombre"},
        CasoDeError{2026,
                    "SSL connection error: SSL is required, but the server does not support it",
                    "datos1", Clase::CifradoFallido, "no ofrece conexiones cifradas (TLS)"},
        CasoDeError{75, "No hay espacio en el disco para escribir ListaRemisiones.txt",
                    "/opt/deremisiones/ListaRemisiones.txt", Clase::DiscoLocalLleno,
                    "No hay espacio en el disco para escribir el archivo "
                    "«/opt/deremisiones/ListaRemisiones.txt»"},
        // The file layer's own words are this computer's disk, whatever path it names.
        CasoDeError{75, "No hay espacio en el disco para escribir ListaRemisiones.txt",
                    "ListaRemisiones.txt", Clase::DiscoLocalLleno,
                    "No hay espacio en el disco para escribir el archivo «ListaRemisiones.txt»"},
        CasoDeError{1064, "You have an error in your SQL syntax", "SELEC 1", Clase::Otra,
                    "error no. 1064"}));

} // namespace
