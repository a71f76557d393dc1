#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/modRPTs.h"
#include "orvlib/ModoDeSesion.h"
#include "orvlib/Sentencias.h"
#include "reporteador/OrigenDeDatos.h"
#include "tienda/OrigenesODBC.h"

#include <gtest/gtest.h>

namespace {

// The test database reached through the program's two connections: Qt SQL (the job windows')
// and ODBC (the report engine's), both through the data source an installation has.
class Servidor : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    bool objetos = (Principal::CreaObjetosCompartidos(), true);
    BaseDePrueba base;
    OrigenDeDatos odbc;

    void SetUp() override {
        carpeta.registraOrigenesOdbc();
        ActualizaOrigenesODBC();
        odbc.Conecta(modRPTs::TextoDeConexion());
    }

    QVector<Fila> porOdbc(const QString& tabla, const QString& condicion) {
        return odbc.Lee(base.nombre() + QLatin1Char('.') + tabla, {}, condicion);
    }

    QString porQt(const QString& sentencia) { return base.valor(sentencia).toString(); }

    // Clients written through Qt SQL under the keys prefijo1, prefijo2…
    void agregaClientes(const QString& prefijo, const QStringList& nombres) {
        for (qsizetype i = 0; i < nombres.size(); ++i) {
            base.conexion().consulta(
                QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES (?, ?)"),
                {prefijo + QString::number(i + 1), nombres[i]});
        }
    }

    // The bytes the server keeps for a client's name: latin1 on the strict server's tables.
    static QString bytesGuardados(const QString& texto) {
        const QByteArray bytes =
            BaseDePrueba::TablasMyIsamLatin1() ? texto.toLatin1() : texto.toUtf8();
        return QString::fromLatin1(bytes.toHex().toUpper());
    }
};

TEST_F(Servidor, ElServidorEsElDeLaConfiguracionDeLaPrueba) {
    const bool estricto = BaseDePrueba::TablasMyIsamLatin1();
    const QString global = porQt(QStringLiteral("SELECT @@GLOBAL.sql_mode"));
    for (const char* modo :
         {"ANSI_QUOTES", "NO_BACKSLASH_ESCAPES", "STRICT_ALL_TABLES", "ONLY_FULL_GROUP_BY"}) {
        EXPECT_EQ(global.split(QLatin1Char(',')).contains(QString::fromLatin1(modo)), estricto)
            << modo << " en " << qPrintable(global);
    }
    const qint64 paquete =
        base.valor(QStringLiteral("SELECT @@GLOBAL.max_allowed_packet")).toLongLong();
    if (estricto) {
        EXPECT_EQ(paquete, 1024 * 1024);
    } else {
        EXPECT_GT(paquete, 1024 * 1024);
    }
    EXPECT_EQ(porQt(QStringLiteral("SELECT GROUP_CONCAT(DISTINCT CONCAT(ENGINE, ' ', "
                                   "TABLE_COLLATION)) FROM information_schema.TABLES WHERE "
                                   "TABLE_SCHEMA='%1'")
                        .arg(base.nombre())),
              estricto ? QStringLiteral("MyISAM latin1_swedish_ci")
                       : QStringLiteral("InnoDB utf8mb4_general_ci"));
}

TEST_F(Servidor, CadaConexionFijaElModoDelPrograma) {
    EXPECT_EQ(porQt(QStringLiteral("SELECT @@SESSION.sql_mode")), ModoDeSesion::Modo());
    const QVector<Fila> variable = odbc.Lee(QStringLiteral("information_schema.SESSION_VARIABLES"),
                                            {}, QStringLiteral("VARIABLE_NAME='SQL_MODE'"));
    ASSERT_EQ(variable.size(), 1);
    EXPECT_EQ(variable[0].valor(QStringLiteral("VARIABLE_VALUE")).toString(), ModoDeSesion::Modo());
}

// The engine's conditions quote texts for the program's mode, with backslash escapes; under the
// strict server's NO_BACKSLASH_ESCAPES they would no longer select what they say.
TEST_F(Servidor, LasCondicionesDelMotorSeleccionanLoQueDicen) {
    const QStringList nombres = {
        QStringLiteral("C:\\TIENDA\\"),
        QStringLiteral("O'Brien"),
        QStringLiteral("\\'"),
        QStringLiteral("dos \\\\ barras"),
        QStringLiteral("\"comillas\" dobles"),
    };
    agregaClientes(QStringLiteral("C"), nombres);
    for (const QString& nombre : nombres) {
        const QVector<Fila> filas = porOdbc(
            QStringLiteral("clientes"), QStringLiteral("Nombre=") + Sentencias::Literal(nombre));
        ASSERT_EQ(filas.size(), 1) << qPrintable(nombre);
        EXPECT_EQ(filas[0].valor(QStringLiteral("Nombre")).toString(), nombre);
    }
}

TEST_F(Servidor, LosAcentosVanYVuelvenPorLasDosConexiones) {
    const QStringList textos = {
        QStringLiteral("PEÑA Y ÑANDÚ"),
        QStringLiteral("áéíóú ÁÉÍÓÚ ü Ü ñ"),
        QStringLiteral("José O'Reilly, Tonalá"),
    };
    // Written with bound values, read through both connections.
    agregaClientes(QStringLiteral("Q"), textos);
    // Written as statement text, as the program writes: through Qt SQL, with the literal made
    // by the program's quoting.
    for (qsizetype i = 0; i < textos.size(); ++i) {
        base.conexion().consulta(QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES "
                                                "('O%1', %2)")
                                     .arg(i + 1)
                                     .arg(Sentencias::Literal(textos[i])));
    }
    for (const char* via : {"Q", "O"}) {
        int clave = 0;
        for (const QString& texto : textos) {
            const QString c = QString::fromLatin1(via) + QString::number(++clave);
            const QString donde = QStringLiteral(" FROM clientes WHERE Clave='%1'").arg(c);
            EXPECT_EQ(porQt(QStringLiteral("SELECT Nombre") + donde), texto) << qPrintable(c);
            EXPECT_EQ(porQt(QStringLiteral("SELECT HEX(Nombre)") + donde), bytesGuardados(texto))
                << qPrintable(c);
            const QVector<Fila> filas =
                porOdbc(QStringLiteral("clientes"), QStringLiteral("Clave='%1'").arg(c));
            ASSERT_EQ(filas.size(), 1);
            EXPECT_EQ(filas[0].valor(QStringLiteral("Nombre")).toString(), texto) << qPrintable(c);
        }
    }
    // The engine finds them by the accented text too.
    for (const QString& texto : textos) {
        EXPECT_EQ(porOdbc(QStringLiteral("clientes"),
                          QStringLiteral("Nombre=") + Sentencias::Literal(texto))
                      .size(),
                  2)
            << qPrintable(texto);
    }
}

} // namespace
