#include "hostdata/Sentencias.h"
#include "orvlib/BasesDD.h"
#include "support/BaseDePrueba.h"

#include <gtest/gtest.h>

namespace {

// Each hostile value is stored as a client's name and must select exactly its own row when it
// is put into a statement through the quoting routine.
TEST(Sentencias, ValoresHostilesSeleccionanEnLugarDeRomperLaSentencia) {
    BaseDePrueba base;
    Conexion cnn;
    ASSERT_TRUE(base.bases().AbrirBdD(cnn));
    const QString hostiles[] = {
        QStringLiteral("O'Brien"),
        QStringLiteral("barra \\ invertida"),
        QStringLiteral("\\'"),
        QStringLiteral("x' OR '1'='1"),
        QStringLiteral("'; DROP TABLE clientes; -- "),
        QStringLiteral("termina en barra\\"),
        QStringLiteral("Peña ñ \"comillas\""),
    };
    int clave = 0;
    for (const QString& nombre : hostiles) {
        cnn.consulta(QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES (?, ?)"),
                     {QString::number(++clave), nombre});
    }
    for (const QString& nombre : hostiles) {
        Recordset rs;
        const QString texto = QStringLiteral("clientes where Nombre=") + Sentencias::Texto(nombre);
        ASSERT_NO_THROW(BasesDD::AbrirTabla(rs, cnn, texto)) << qPrintable(texto);
        EXPECT_EQ(rs.cuenta(), 1) << qPrintable(texto);
        EXPECT_EQ(rs.campo(QStringLiteral("Nombre")).toString(), nombre);
        const QString plantilla = QStringLiteral("clientes where Nombre='") +
                                  Sentencias::Escapa(nombre) + QLatin1Char('\'');
        EXPECT_EQ(BasesDD::LastRec(cnn, plantilla), 1) << qPrintable(plantilla);
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM clientes")).toInt(), 7);
}

TEST(Sentencias, NombresDeBaseComoIdentificadores) {
    EXPECT_EQ(Sentencias::Nombre(QStringLiteral("datos2")), QStringLiteral("`datos2`"));
    EXPECT_EQ(Sentencias::Nombre(QStringLiteral("a`b")), QStringLiteral("`a``b`"));
}

} // namespace
