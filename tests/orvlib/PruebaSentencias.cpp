#include "apoyo/BaseDePrueba.h"
#include "orvlib/BasesDD.h"
#include "orvlib/Sentencias.h"

#include <QSqlQuery>
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

// A fragment typed into a LIKE filter selects the rows that contain it literally: "_" and "%"
// are not wildcards, and the escape character itself is an ordinary character.
TEST(Sentencias, LosComodinesDeUnPatronSeTomanAlPieDeLaLetra) {
    BaseDePrueba base;
    const QStringList nombres = {QStringLiteral("AL 50% MENOS"), QStringLiteral("A_B"),
                                 QStringLiteral("AXB"),          QStringLiteral("¡OFERTA!"),
                                 QStringLiteral("C:\\TIENDA_1"), QStringLiteral("O'BRIEN")};
    int clave = 0;
    for (const QString& nombre : nombres) {
        base.conexion().consulta(
            QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES (?, ?)"),
            {QString::number(++clave), nombre});
    }
    const struct {
        const char* fragmento;
        const char* claves;
    } casos[] = {{"_", "2,5"}, {"%", "1"},         {"50%", "1"}, {"A_B", "2"}, {"!", "4"},
                 {"!O", ""},   {"\\TIENDA_", "5"}, {"'B", "6"},  {"X", "3"}};
    for (const auto& c : casos) {
        QSqlQuery q = base.conexion().consulta(
            QStringLiteral("SELECT GROUP_CONCAT(Clave ORDER BY Clave) FROM clientes WHERE Nombre "
                           "like '%") +
            Sentencias::Patron(QString::fromUtf8(c.fragmento)) + QStringLiteral("%'") +
            Sentencias::EscapeDePatron());
        q.next();
        EXPECT_EQ(q.value(0).toString(), QString::fromLatin1(c.claves)) << c.fragmento;
    }
}

TEST(Sentencias, NombresDeBaseComoIdentificadores) {
    EXPECT_EQ(Sentencias::Nombre(QStringLiteral("datos2")), QStringLiteral("`datos2`"));
    EXPECT_EQ(Sentencias::Nombre(QStringLiteral("a`b")), QStringLiteral("`a``b`"));
}

} // namespace
