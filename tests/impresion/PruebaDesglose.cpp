#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/DesgloseDeImpuestos.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "tienda/ReglasDeImpuestos.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class Desglose : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    QString aux = carpeta.ruta(QStringLiteral("AUX.MDB"));

    void nuevoAuxiliar() {
        QFile esquema(QStringLiteral(DEREMISIONES_PLANTILLAS "/Auxiliar.MDB.sql"));
        esquema.open(QIODevice::ReadOnly);
        CarpetaDePrueba::escribe(aux, ConstruyeBaseAuxiliar(QString::fromUtf8(esquema.readAll())));
    }

    void SetUp() override {
        nuevoAuxiliar();
        base.ejecuta(
            QStringLiteral("INSERT INTO configura (AplicaIVA, AplicaImpAd) VALUES (0, 0)"));
        base.ejecuta(QStringLiteral(
            "INSERT INTO productos (clave, Bloqueado) VALUES ('BLOQ', 1), ('LIBRE', 0)"));
    }

    void desglosa(int id) {
        Recordset encabezado;
        ASSERT_TRUE(BasesDD::AbrirTabla(encabezado, base.conexion(),
                                        QStringLiteral("remisiones where Id=%1").arg(id)));
        DesgloseDeImpuestos(2, base.conexion(), encabezado, aux);
    }

    QVariant gravado(const char* columna) {
        Conexion cnn;
        BasesDD::AbreBdDAccess(cnn, aux);
        QSqlQuery q = cnn.consulta(
            QStringLiteral("SELECT %1 FROM Gravado").arg(QString::fromLatin1(columna)));
        return q.next() ? q.value(0) : QVariant();
    }

    QStringList tasas() {
        Conexion cnn;
        BasesDD::AbreBdDAccess(cnn, aux);
        QSqlQuery q = cnn.consulta(
            QStringLiteral("SELECT Tipo, Porcentaje, Importe, Impuesto FROM PorcenImpuestos"));
        QStringList filas;
        while (q.next()) {
            filas << QStringLiteral("%1 %2 %3 %4")
                         .arg(q.value(0).toString())
                         .arg(q.value(1).toDouble())
                         .arg(q.value(2).toDouble())
                         .arg(q.value(3).toDouble());
        }
        return filas;
    }

    static PartidaDePrueba linea(double cantidad, double precio, double iva, double ieps,
                                 const char* producto = "LIBRE") {
        PartidaDePrueba p;
        p.cantidad = cantidad;
        p.precio = precio;
        p.iva = iva;
        p.ieps = ieps;
        p.producto = QString::fromLatin1(producto);
        return p;
    }
};

TEST_F(Desglose, SinPartidasUnaFilaEnCeros) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 0, 0, 0, QStringLiteral("A"), 0, 0, {}}});
    base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
    desglosa(1);
    EXPECT_EQ(gravado("Gravado").toDouble(), 0);
    EXPECT_EQ(gravado("SinGravar").toDouble(), 0);
    EXPECT_TRUE(gravado("IVAp1").isNull());
    EXPECT_TRUE(tasas().isEmpty());
}

// Another connection reading the file keeps its commit from taking: the note stops with the
// file's error instead of printing without its breakdown.
TEST_F(Desglose, UnArchivoQueNoTomaElDesgloseDetieneLaNota) {
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 100, 16, 0}});
    Conexion lectora;
    ASSERT_TRUE(BasesDD::AbreBdDAccess(lectora, aux));
    lectora.ejecuta(QStringLiteral("BEGIN"));
    lectora.consulta(QStringLiteral("SELECT * FROM Gravado")).next();
    EXPECT_THROW(desglosa(1), ErrorOrvlib);
    lectora.ejecuta(QStringLiteral("COMMIT"));
    EXPECT_FALSE(gravado("Gravado").isValid());
    desglosa(1);
    EXPECT_EQ(gravado("Gravado").toDouble(), 100);
}

TEST_F(Desglose, TasasCompartidasYFilaDeTasaCero) {
    AgregaNotas(base, {{1,
                        QDate(2026, 11, 2),
                        350,
                        56,
                        0,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea(2, 100, 16, 0), linea(1, 150, 16, 0), linea(3, 10, 0, 0)}}});
    desglosa(1);
    EXPECT_EQ(tasas(), (QStringList{"A 0 380 0", "I 0 30 0", "I 16 350 56"}));
    EXPECT_DOUBLE_EQ(gravado("Gravado").toDouble(), 350);
    EXPECT_DOUBLE_EQ(gravado("SinGravar").toDouble(), 30);
    EXPECT_DOUBLE_EQ(gravado("Adicp1").toDouble(), 0);
    EXPECT_DOUBLE_EQ(gravado("SubAdic1").toDouble(), 380);
    EXPECT_DOUBLE_EQ(gravado("Adic1").toDouble(), 0);
    EXPECT_DOUBLE_EQ(gravado("IVAp1").toDouble(), 0);
    EXPECT_DOUBLE_EQ(gravado("IVAp2").toDouble(), 16);
    EXPECT_DOUBLE_EQ(gravado("SubIVA2").toDouble(), 350);
    EXPECT_DOUBLE_EQ(gravado("IVA2").toDouble(), 56);
    EXPECT_TRUE(gravado("Adicp2").isNull());
}

TEST_F(Desglose, EncabezadoSinIvaPoneTodoEnTasaCero) {
    AgregaNotas(base, {{1,
                        QDate(2026, 11, 2),
                        300,
                        0,
                        8,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea(1, 100, 16, 8), linea(2, 100, 16, 0)}}});
    desglosa(1);
    EXPECT_EQ(tasas(), (QStringList{"A 0 200 0", "A 8 100 8", "I 0 300 0"}));
    EXPECT_DOUBLE_EQ(gravado("Gravado").toDouble(), 300);

    // Lines that stored an IVA of their own still show none on a note issued without IVA.
    base.ejecuta(
        QStringLiteral("UPDATE remisionesdetalle SET BaseIVA=Cantidad*PrecioNeto, ImporteIVA=16"));
    nuevoAuxiliar();
    desglosa(1);
    EXPECT_EQ(tasas(), (QStringList{"A 0 200 0", "A 8 100 8", "I 0 300 0"}));
}

// The host rounds some taxes its own way: a stored tax stands in the breakdown even where it is
// not base × rate to the cent; only a tax stored as 0 is worked out.
TEST_F(Desglose, ElImpuestoGuardadoSeRespeta) {
    AgregaNotas(base, {{1,
                        QDate(2026, 11, 2),
                        300,
                        48.01,
                        8.03,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea(1, 100, 16, 8), linea(2, 100, 16, 0)}}});
    base.ejecuta(QStringLiteral(
        "UPDATE remisionesdetalle SET ImporteIVA=16.01, ImporteImpuestoAd=8.03 WHERE Partida=1"));
    desglosa(1);
    EXPECT_EQ(tasas(), (QStringList{"A 0 200 0", "A 8 100 8.03", "I 16 300 48.01"}));
}

TEST_F(Desglose, DescuentosEnCascadaSalvoProductosBloqueados) {
    AgregaNotas(base, {{1,
                        QDate(2026, 11, 2),
                        600,
                        96,
                        0,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea(1, 200, 16, 0, "LIBRE"), linea(1, 200, 16, 0, "BLOQ"),
                         linea(1, 200, 16, 0, "NOESTA")}}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Desc1=10, Desc2=5"));
    desglosa(1);
    // The taxes are charged on the discounted amounts, so the bases are those amounts too.
    EXPECT_NEAR(gravado("Gravado").toDouble(), 171 + 200 + 171, 1e-3);
    EXPECT_EQ(tasas(), (QStringList{"A 0 542 0", "I 16 542 86.72"}));

    base.ejecuta(QStringLiteral("UPDATE remisiones SET Desc1=100, Desc2=0"));
    nuevoAuxiliar();
    desglosa(1);
    EXPECT_NEAR(gravado("Gravado").toDouble(), 200, 1e-3);
}

TEST_F(Desglose, OnceTasasSoloDiezEnColumnas) {
    QVector<PartidaDePrueba> partidas;
    for (int i = 1; i <= 11; ++i) {
        partidas.append(linea(1, 100, i, 0));
    }
    AgregaNotas(base, {{1, QDate(2026, 11, 2), 1100, 66, 0, QStringLiteral("A"), 0, 0, partidas}});
    desglosa(1);
    EXPECT_EQ(tasas().size(), 12);
    EXPECT_DOUBLE_EQ(gravado("IVAp10").toDouble(), 10);
    EXPECT_DOUBLE_EQ(gravado("IVA10").toDouble(), 10);
}

TEST_F(Desglose, BanderasDeCompuestoDeConfigura) {
    const struct {
        int aplicaIva;
        int aplicaImpAd;
        quint8 iva;
        quint8 impAd;
    } casos[] = {{1, 1, 1, 0}, {0, 1, 0, 1}, {2, 0, 2, 0}};
    for (const auto& c : casos) {
        base.ejecuta(QStringLiteral("UPDATE configura SET AplicaIVA=%1, AplicaImpAd=%2")
                         .arg(c.aplicaIva)
                         .arg(c.aplicaImpAd));
        quint8 iva = 9;
        quint8 impAd = 9;
        LeeAplicaImpuestos(iva, impAd, base.conexion());
        EXPECT_EQ(iva, c.iva);
        EXPECT_EQ(impAd, c.impAd);
    }
    AgregaNotas(base, {{1,
                        QDate(2026, 11, 2),
                        100,
                        17.28,
                        8,
                        QStringLiteral("A"),
                        0,
                        0,
                        {linea(1, 100, 16, 8)}}});
    base.ejecuta(QStringLiteral("UPDATE configura SET AplicaIVA=1, AplicaImpAd=1"));
    desglosa(1);
    EXPECT_NEAR(gravado("IVA1").toDouble(), 17.28, 1e-4);
    EXPECT_NEAR(gravado("Adic1").toDouble(), 8, 1e-4);
}

// The sample store of the demo: every note's printed breakdown adds up to its own IVA and
// IEPS, computed as the store's configura flags say.
TEST(TiendaDeEjemplo, ElDesgloseSumaLoQueDiceLaNota) {
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    QProcess generador;
    generador.setStandardOutputFile(carpeta.ruta(QStringLiteral("tienda.sql")));
    generador.start(QStringLiteral(DEREMISIONES_GENERADOR),
                    {QStringLiteral("--dias"), QStringLiteral("3"), QStringLiteral("--notas"),
                     QStringLiteral("40"), QStringLiteral("--base"), base.nombre()});
    ASSERT_TRUE(generador.waitForFinished(60000));
    ASSERT_EQ(generador.exitCode(), 0);
    base.cargaArchivo(carpeta.ruta(QStringLiteral("tienda.sql")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT AplicaIVA FROM configura")).toInt(), 1);
    const QString aux = carpeta.ruta(QStringLiteral("AUX.MDB"));
    const QByteArray vacia = ConstruyeBaseAuxiliar(QString::fromUtf8(
        CarpetaDePrueba::lee(QStringLiteral(DEREMISIONES_PLANTILLAS "/Auxiliar.MDB.sql"))));
    Recordset notas;
    BasesDD::AbrirTabla(notas, base.conexion(), QStringLiteral("remisiones order by Id"));
    int revisadas = 0;
    for (; !notas.fin(); notas.siguiente(), ++revisadas) {
        CarpetaDePrueba::escribe(aux, vacia);
        DesgloseDeImpuestos(2, base.conexion(), notas, aux);
        Conexion cnn;
        BasesDD::AbreBdDAccess(cnn, aux);
        // As printed: each rate's tax to cents, then summed.
        QSqlQuery q = cnn.consulta(QStringLiteral("SELECT Tipo, Impuesto FROM PorcenImpuestos"));
        double iva = 0;
        double ieps = 0;
        while (q.next()) {
            const double impreso =
                Formato::Numero(q.value(1).toDouble(), QStringLiteral("0.00")).toDouble();
            (q.value(0).toString() == QLatin1String("I") ? iva : ieps) += impreso;
        }
        const QString id = notas.campo(QStringLiteral("Id")).toString();
        EXPECT_NEAR(iva, notas.campo(QStringLiteral("IVA")).toDouble(), 1e-6)
            << "Id " << qPrintable(id);
        EXPECT_NEAR(ieps, notas.campo(QStringLiteral("ImpuestoAd")).toDouble(), 1e-6)
            << "Id " << qPrintable(id);
    }
    EXPECT_EQ(revisadas, 120);
}

} // namespace
