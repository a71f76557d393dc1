#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "orvlib/BasesDD.h"
#include "orvlib/ErrorOrvlib.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class BasesDDPrueba : public ::testing::Test {
protected:
    BaseDePrueba base;
    Conexion cnn;

    void SetUp() override { ASSERT_TRUE(base.bases().AbrirBdD(cnn)); }
};

TEST_F(BasesDDPrueba, AbreLaBasePrincipalSinNombreYOtraConNombre) {
    EXPECT_EQ(base.valor(QStringLiteral("SELECT DATABASE()")).toString(), base.nombre());
    QSqlQuery q = cnn.consulta(QStringLiteral("SELECT DATABASE()"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), base.nombre());

    Conexion otra;
    ASSERT_TRUE(base.bases().AbrirBdD(otra, QStringLiteral("mysql")));
    q = otra.consulta(QStringLiteral("SELECT DATABASE()"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("mysql"));

    Conexion mala;
    EXPECT_FALSE(base.bases().AbrirBdD(mala, QStringLiteral("no_existe_esta_base")));
    EXPECT_FALSE(mala.ultimoError().isEmpty());
}

TEST_F(BasesDDPrueba, RecorreUnaSeleccionYCuentaSusFilas) {
    base.ejecuta(QStringLiteral("INSERT INTO monedas (Id, Nombre, Abreviacion, Paridad) VALUES "
                                "(2, 'DÓLARES', 'USD', 18.25), (1, 'PESOS', 'M.N.', 1)"));
    Recordset rs;
    ASSERT_TRUE(BasesDD::AbrirTabla(rs, cnn, QStringLiteral("monedas order by Id"),
                                    QStringLiteral("Id,Nombre,Paridad")));
    EXPECT_EQ(rs.cuenta(), 2);
    EXPECT_EQ(rs.campo(QStringLiteral("Nombre")).toString(), QStringLiteral("PESOS"));
    rs.siguiente();
    EXPECT_EQ(rs.campo(QStringLiteral("Nombre")).toString(), QStringLiteral("DÓLARES"));
    EXPECT_EQ(rs.campo(QStringLiteral("Paridad")).toString(), QStringLiteral("18.2500"));
    EXPECT_THROW(rs.campo(QStringLiteral("NoHay")), ErrorOrvlib);
    rs.siguiente();
    EXPECT_TRUE(rs.fin());
    EXPECT_FALSE(BasesDD::AbrirTabla(rs, cnn, QStringLiteral("monedas where Id=-9")));
}

TEST_F(BasesDDPrueba, LeeDatoDeConfiguraYDeSistema) {
    base.ejecuta(
        QStringLiteral("INSERT INTO configura (SeriesEnRem, PartidasXhojaRem) VALUES (1, 25)"));
    base.ejecuta(QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123')"));
    EXPECT_TRUE(EsVerdadero(
        BasesDD::LeeDato(QStringLiteral("SeriesEnRem"), cnn, QStringLiteral("configura"))));
    EXPECT_EQ(BasesDD::LeeDato(QStringLiteral("PartidasXhojaRem"), cnn, QStringLiteral("configura"))
                  .toInt(),
              25);
    EXPECT_EQ(BasesDD::LeeDato(QStringLiteral("NoEsUnAjuste"), cnn, QStringLiteral("configura"))
                  .toString(),
              QString());
    EXPECT_EQ(BasesDD::LeeDato(QStringLiteral("FA-B"), cnn, QStringLiteral("sistema")).toString(),
              QStringLiteral("123"));
    EXPECT_EQ(BasesDD::LeeDato(QStringLiteral("FA-Z"), cnn, QStringLiteral("sistema")).toString(),
              QString());
    EXPECT_EQ(
        BasesDD::LeeDato(QStringLiteral("x' OR '1'='1"), cnn, QStringLiteral("sistema")).toString(),
        QString());
}

TEST_F(BasesDDPrueba, SumaCuentaYAgrega) {
    base.ejecuta(QStringLiteral(
        "INSERT INTO remisiones (Serie, Factura, Fecha, Subtotal, IVA) VALUES "
        "('A', 1, '2026-11-01', 100.10, 16.02), ('A', 2, '2026-11-01', 0.20, 0.03)"));
    EXPECT_DOUBLE_EQ(BasesDD::Sum(cnn, QStringLiteral("remisiones where Serie='A'"),
                                  QStringLiteral("Subtotal+IVA")),
                     116.35);
    EXPECT_DOUBLE_EQ(
        BasesDD::Sum(cnn, QStringLiteral("remisiones where Serie='Z'"), QStringLiteral("IVA")), 0);
    EXPECT_EQ(BasesDD::LastRec(cnn, QStringLiteral("remisiones where Serie='A'")), 2);

    Recordset rs;
    BasesDD::AgregaRegistro(rs, cnn, QStringLiteral("partidatallaocolor"),
                            {QString(), QStringLiteral("IdExterna"), QStringLiteral("Campo1"),
                             QStringLiteral("Campo2"), QStringLiteral("Campo3")},
                            {QVariant(), QStringLiteral("RE000000001001"), QStringLiteral("T-CH-2"),
                             QString(), QString()});
    EXPECT_EQ(base.valor(QStringLiteral("SELECT Campo1 FROM partidatallaocolor WHERE "
                                        "IdExterna='RE000000001001'"))
                  .toString(),
              QStringLiteral("T-CH-2"));
}

TEST_F(BasesDDPrueba, LastIdEsElDeEstaConexionAunqueOtraAgregueDespues) {
    Recordset rs;
    BasesDD::AbrirTabla(rs, cnn, QStringLiteral("facturas where Id=-9"));
    rs.agrega();
    rs.asigna(QStringLiteral("Serie"), QStringLiteral("B"));
    rs.asigna(QStringLiteral("Factura"), 124);
    rs.guarda();
    const qint64 propio = BasesDD::LastId(cnn, QStringLiteral("facturas"), QStringLiteral("Id"));

    Conexion otra;
    ASSERT_TRUE(base.bases().AbrirBdD(otra));
    otra.ejecuta(QStringLiteral("INSERT INTO facturas (Serie, Factura) VALUES ('B', 125)"));

    EXPECT_EQ(BasesDD::LastId(cnn, QStringLiteral("facturas"), QStringLiteral("Id")), propio);
    EXPECT_EQ(
        base.valor(QStringLiteral("SELECT Factura FROM facturas WHERE Id=%1").arg(propio)).toInt(),
        124);
}

TEST_F(BasesDDPrueba, UnaSentenciaFallidaLlevaNumeroTextoYSentencia) {
    const QString sentencia = QStringLiteral("SELECT * FROM tabla_que_no_existe");
    try {
        cnn.consulta(sentencia);
        FAIL() << "debió fallar";
    } catch (const ErrorOrvlib& e) {
        EXPECT_EQ(e.numero(), 1146);
        EXPECT_TRUE(e.descripcion().contains(QStringLiteral("tabla_que_no_existe")));
        EXPECT_EQ(e.contexto(), sentencia);
        EXPECT_TRUE(e.texto().contains(sentencia));
    }
}

TEST(AbreBdDAccess, AbreUnArchivoQueExisteYRechazaUnoQueNo) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("Auxiliar.MDB"));
    Conexion cnn;
    EXPECT_FALSE(BasesDD::AbreBdDAccess(cnn, ruta));
    CarpetaDePrueba::escribe(ruta, QByteArray());
    ASSERT_TRUE(BasesDD::AbreBdDAccess(cnn, ruta));
    cnn.ejecuta(QStringLiteral("CREATE TABLE Paridades (Paridad1 DOUBLE, Paridad2 DOUBLE)"));
    Recordset rs;
    BasesDD::AbrirTabla(rs, cnn, QStringLiteral("Paridades"));
    rs.agrega();
    rs.guarda();
    rs.agrega();
    rs.asigna(QStringLiteral("Paridad1"), 18.25);
    rs.guarda();
    EXPECT_EQ(BasesDD::LastRec(cnn, QStringLiteral("Paridades")), 2);
    EXPECT_DOUBLE_EQ(BasesDD::Sum(cnn, QStringLiteral("Paridades"), QStringLiteral("Paridad1")),
                     18.25);
}

// A file's statements are kept prepared between calls: each call runs with its own values, a
// refused one leaves the next call of the same text working, and none keeps the file from
// another connection.
TEST(AbreBdDAccess, UnaSentenciaGuardadaCorreCadaVezConSusValores) {
    CarpetaDePrueba carpeta;
    const QString ruta = carpeta.ruta(QStringLiteral("Auxiliar.MDB"));
    CarpetaDePrueba::escribe(ruta, QByteArray());
    Conexion cnn;
    ASSERT_TRUE(BasesDD::AbreBdDAccess(cnn, ruta));
    cnn.ejecuta(QStringLiteral("CREATE TABLE Notas (Clave INTEGER PRIMARY KEY, Texto TEXT)"));
    const QString alta = QStringLiteral("INSERT INTO Notas (Clave, Texto) VALUES (?, ?)");
    const struct {
        int clave;
        QVariant texto;
        bool entra;
    } altas[] = {{1, QStringLiteral("uno"), true},
                 {2, QVariant(QMetaType::fromType<QString>()), true},
                 {1, QStringLiteral("repetida"), false},
                 {3, QStringLiteral("tres"), true}};
    for (const auto& a : altas) {
        bool entro = true;
        try {
            cnn.ejecuta(alta, {a.clave, a.texto});
        } catch (const ErrorOrvlib& e) {
            entro = false;
            EXPECT_EQ(e.contexto(), alta);
        }
        EXPECT_EQ(entro, a.entra) << a.clave;
    }
    for (int n = 0; n < 70; ++n) {
        cnn.ejecuta(QStringLiteral("UPDATE Notas SET Texto='%1' WHERE Clave=3").arg(n));
    }
    cnn.ejecuta(QStringLiteral("SELECT Clave FROM Notas"));
    Conexion otra;
    ASSERT_TRUE(BasesDD::AbreBdDAccess(otra, ruta));
    otra.ejecuta(QStringLiteral("DELETE FROM Notas WHERE Clave=2"));
    QSqlQuery q = otra.consulta(QStringLiteral("SELECT group_concat(Clave || ':' || "
                                               "coalesce(Texto, 'nulo'), ' ') FROM Notas"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("1:uno 3:69"));
}

TEST(EsVerdadero, ValoresGuardados) {
    EXPECT_TRUE(EsVerdadero(1));
    EXPECT_TRUE(EsVerdadero(QStringLiteral("-1")));
    EXPECT_TRUE(EsVerdadero(QStringLiteral("True")));
    EXPECT_FALSE(EsVerdadero(0));
    EXPECT_FALSE(EsVerdadero(QString()));
    EXPECT_FALSE(EsVerdadero(QStringLiteral("no")));
}

} // namespace
