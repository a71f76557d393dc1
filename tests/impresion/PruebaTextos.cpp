#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/TextosDeImpresion.h"
#include "orvlib/Formato.h"

#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <limits>

namespace {

QString creaAuxiliar(const CarpetaDePrueba& carpeta) {
    QFile esquema(QStringLiteral(DEREMISIONES_PLANTILLAS "/Auxiliar.MDB.sql"));
    esquema.open(QIODevice::ReadOnly);
    const QString ruta = carpeta.ruta(QStringLiteral("AUX.MDB"));
    CarpetaDePrueba::escribe(ruta, ConstruyeBaseAuxiliar(QString::fromUtf8(esquema.readAll())));
    return ruta;
}

// The one row of a table of the auxiliary file, column by column.
QVariantList filaDe(const QString& ruta, const QString& tabla, const QStringList& columnas) {
    Conexion cnn;
    EXPECT_TRUE(BasesDD::AbreBdDAccess(cnn, ruta));
    EXPECT_EQ(BasesDD::LastRec(cnn, tabla), 1) << qPrintable(tabla);
    QSqlQuery q = cnn.consulta(
        QStringLiteral("SELECT %1 FROM %2").arg(columnas.join(QLatin1Char(',')), tabla));
    QVariantList valores;
    if (q.next()) {
        for (int i = 0; i < columnas.size(); ++i) {
            valores << q.value(i);
        }
    }
    return valores;
}

TEST(TextoDelPeriodo, FechasEnEspanol) {
    const struct {
        const char* desde;
        const char* hasta;
        const char* texto;
    } casos[] = {
        {"05/12/2026", "05/12/2026", "Del 5 de diciembre del 2026"},
        {"01/12/2026", "15/12/2026", "Del 1 al 15 de diciembre del 2026"},
        {"20/11/2026", "05/12/2026", "Del 20 de noviembre al 5 de diciembre del 2026"},
        {"20/12/2025", "05/01/2026",
         "Desde el 20 de diciembre del 2025 hasta el 5 de enero del 2026"},
        {"05/12/2026", "", "Desde el 5 de diciembre del 2026"},
        {"", "05/12/2026", "Hasta el 5 de diciembre del 2026"},
        {"", "", ""},
        {"no es fecha", "05/02/2026", "Hasta el 5 de febrero del 2026"},
        {"31/02/2026", "__/__/____", ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(TextoDelPeriodo(QString::fromUtf8(c.desde), QString::fromUtf8(c.hasta)),
                  QString::fromUtf8(c.texto))
            << c.desde << " " << c.hasta;
    }
}

TEST(ImporteConLetra, PiezasEspaciosYRedondeoACentavos) {
    const struct {
        double importe;
        const char* moneda;
        const char* abreviacion;
        const char* texto;
    } casos[] = {
        {1234.5, "PESOS", "M.N.", "(MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N.)"},
        {1, "PESOS", "M.N.", "(UN PESOS 00/100 M.N.)"},
        {1.99, "US DLLS", "USD", "(UN US DLLS 99/100 USD)"},
        {21, "PESOS", "M.N.", "(VEINTIÚN PESOS 00/100 M.N.)"},
        {1000000, "PESOS", "M.N.", "(UN MILLÓN DE PESOS 00/100 M.N.)"},
        {1200000.05, "PESOS", "M.N.", "(UN MILLÓN DOSCIENTOS MIL PESOS 05/100 M.N.)"},
        {1159.9999999, "PESOS", "M.N.", "(MIL CIENTO SESENTA PESOS 00/100 M.N.)"},
        {7.998, "PESOS", "M.N.", "(OCHO PESOS 00/100 M.N.)"},
        {-1.25, "PESOS", "M.N.", "(MENOS UN PESOS 25/100 M.N.)"},
        {-0.5, "PESOS", "M.N.", "(MENOS CERO PESOS 50/100 M.N.)"},
        {0, "", "", "(CERO  00/100 )"},
        {2000000000000.5, "PESOS", "M.N.", "(DOS BILLONES DE PESOS 50/100 M.N.)"},
        {1e15, "PESOS", "M.N.", "(IMPORTE FUERA DE RANGO)"},
        {-1e300, "PESOS", "M.N.", "(IMPORTE FUERA DE RANGO)"},
        {std::numeric_limits<double>::quiet_NaN(), "PESOS", "M.N.", "(IMPORTE FUERA DE RANGO)"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(ImporteConLetra(c.importe, QString::fromUtf8(c.moneda),
                                  QString::fromUtf8(c.abreviacion), QString()),
                  QString::fromUtf8(c.texto))
            << c.importe;
    }
}

// Half cents read in words as the printed figure beside them rounds them.
TEST(ImporteConLetra, LasLetrasDicenLoQueLaCifra) {
    for (double importe : {0.125, 2.675, 1.005, 10.345, 1159.995, 0.015, -2.675, 99.985}) {
        const QString cifra = Formato::Numero(importe, QStringLiteral("#,0.00"));
        const QString letras =
            ImporteConLetra(importe, QStringLiteral("PESOS"), QStringLiteral("M.N."), QString());
        EXPECT_TRUE(letras.contains(QLatin1Char(' ') + cifra.right(2) + QStringLiteral("/100")))
            << importe << " " << qPrintable(cifra) << " " << qPrintable(letras);
    }
}

TEST(ImporteConLetra, SeEscribeEnTitulo100) {
    CarpetaDePrueba carpeta;
    const QString aux = creaAuxiliar(carpeta);
    ImporteConLetra(10, QStringLiteral("PESOS"), QStringLiteral("M.N."), aux);
    EXPECT_EQ(filaDe(aux, QStringLiteral("Titulo100"), {QStringLiteral("Encabezado")}),
              QVariantList{QStringLiteral("(DIEZ PESOS 00/100 M.N.)")});
}

TEST(Notas, RenglonesYLimites) {
    QStringList renglones;
    SeparaRenglones(QStringLiteral("A\r\nB"), renglones);
    EXPECT_EQ(renglones, (QStringList{"", "A", "B"}));
    SeparaRenglones(QString(), renglones);
    EXPECT_EQ(renglones, (QStringList{"", ""}));
    SeparaRenglones(QStringLiteral("uno\r"), renglones);
    EXPECT_EQ(renglones, (QStringList{"", "uno", ""}));

    CarpetaDePrueba carpeta;
    const QString aux = creaAuxiliar(carpeta);
    QStringList nueve;
    for (int i = 1; i <= 9; ++i) {
        nueve << QStringLiteral("línea %1 ").arg(i) + QString(i == 2 ? 250 : 0, QLatin1Char('x'));
    }
    GuardaNotas(aux, nueve.join(QStringLiteral("\r\n")));
    const QVariantList notas =
        filaDe(aux, QStringLiteral("NotasDeCtes"), {"Nota1", "Nota2", "Nota3", "Nota7"});
    EXPECT_EQ(notas[0].toString(), QStringLiteral("línea 1 "));
    EXPECT_EQ(notas[1].toString().size(), 200);
    EXPECT_EQ(notas[3].toString(), QStringLiteral("línea 7 "));
}

TEST(Paridades, LasDiezPrimerasMonedas) {
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    const QString aux = creaAuxiliar(carpeta);
    GuardaParidades(base.conexion(), aux);
    EXPECT_TRUE(filaDe(aux, QStringLiteral("Paridades"), {"Paridad1"})[0].isNull());
    for (int id = 12; id >= 1; --id) {
        base.ejecuta(QStringLiteral("INSERT INTO monedas (Id, Paridad) VALUES (%1, %1.5)").arg(id));
    }
    const QString otra = carpeta.ruta(QStringLiteral("OTRA.MDB"));
    QFile::copy(creaAuxiliar(carpeta), otra);
    GuardaParidades(base.conexion(), otra);
    EXPECT_EQ(filaDe(otra, QStringLiteral("Paridades"), {"Paridad1", "Paridad10"}),
              (QVariantList{1.5, 10.5}));
}

TEST(PartidasTallaOColor, TextoDeVariantesEnTresPiezas) {
    BaseDePrueba base;
    base.ejecuta(
        QStringLiteral("INSERT INTO remisionesdetalle (Id, Partida, IdExterna) VALUES (4711, 1, "
                       "'RE000004711001'), "
                       "(4711, 2, 'RE000004711002'), (4711, 3, ''), (4711, 4, 'RE000004711004')"));
    base.ejecuta(QStringLiteral("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) VALUES "
                                "('RE000004711001', 'T-G', -1), ('RE000004711001', 'T-CH', 2), "
                                "('RE000004711001', 'T-M', 1.5)"));
    QString largas;
    for (int i = 0; i < 120; ++i) {
        const QString referencia = QStringLiteral("COLOR%1").arg(i, 3, 10, QLatin1Char('0'));
        base.ejecuta(
            QStringLiteral("INSERT INTO referenciaexterna VALUES ('RE000004711004', '%1', 1)")
                .arg(referencia));
        largas += (largas.isEmpty() ? QString() : QStringLiteral("/")) + referencia +
                  QStringLiteral("-1");
    }
    base.ejecuta(QStringLiteral("INSERT INTO partidatallaocolor (IdExterna, Campo1) VALUES "
                                "('RE000004711009', 'de una impresión anterior')"));
    PartidasTallaOColor(base.conexion(), QStringLiteral("remisionesdetalle"), 4711,
                        QStringLiteral("Id"));
    const auto campo = [&](const char* id, const char* columna) {
        return base.valor(QStringLiteral("SELECT %1 FROM partidatallaocolor WHERE IdExterna='%2'")
                              .arg(QString::fromLatin1(columna), QString::fromLatin1(id)));
    };
    EXPECT_EQ(campo("RE000004711001", "Campo1").toString(), QStringLiteral("T-CH-2/T-G-1/T-M-1.5"));
    EXPECT_EQ(campo("RE000004711002", "Campo1").toString(), QString());
    EXPECT_EQ(campo("RE000004711004", "Campo1").toString(), largas.mid(0, 250));
    EXPECT_EQ(campo("RE000004711004", "Campo2").toString(), largas.mid(250, 250));
    EXPECT_EQ(campo("RE000004711004", "Campo3").toString(), largas.mid(500, 250));
    EXPECT_GT(largas.size(), 750);
    EXPECT_FALSE(campo("RE000004711009", "Campo1").isValid());
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 3);

    PartidasTallaOColor(base.conexion(), QStringLiteral("remisionesdetalle"), 1,
                        QStringLiteral("Id"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 3);
}

} // namespace
