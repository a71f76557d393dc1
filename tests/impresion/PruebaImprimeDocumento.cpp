#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/ImpresionDeDocumento.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/BasesDD.h"
#include "servicios/Proceso.h"
#include "tienda/TablasDeTrabajo.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

class Documento : public TiendaQueImprime {
protected:
    qsizetype impresos = 0;

    void SetUp() override {
        TiendaQueImprime::SetUp();
        TablasDeTrabajo::Crea(base.conexion());
    }

    // A note of n lines copied into the working tables; lines alternate IVA 16 and IEPS 8 + IVA
    // 16, and every third comes from size variants.
    void notaDeTrabajo(int id, int n) {
        QVector<PartidaDePrueba> partidas;
        for (int i = 1; i <= n; ++i) {
            PartidaDePrueba p;
            p.cantidad = i % 4 + 1;
            p.precio = 10 * i + 0.5;
            p.iva = 16;
            p.ieps = i % 2 == 0 ? 8 : 0;
            p.producto = QStringLiteral("P%1").arg(i);
            partidas.append(p);
        }
        AgregaNotas(
            base, {{id, QDate(2026, 11, 2), 1000, 160, 40, QStringLiteral("A"), 90, 0, partidas}});
        base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET Descripcion=CONCAT('ARTÍCULO DE "
                                    "PRUEBA ', Partida) WHERE Id=%1")
                         .arg(id));
        base.ejecuta(
            QStringLiteral("UPDATE remisionesdetalle SET IdExterna=CONCAT('RE', LPAD(Id, 9, "
                           "'0'), LPAD(Partida, 3, '0')) WHERE Id=%1 AND MOD(Partida, 3) = 0")
                .arg(id));
        base.ejecuta(
            QStringLiteral(
                "INSERT INTO referenciaexterna (Id, Referencia, Cantidad) SELECT "
                "IdExterna, 'T-CH', 2 FROM remisionesdetalle WHERE IdExterna<>'' AND Id=%1")
                .arg(id));
        base.ejecuta(
            QStringLiteral(
                "INSERT INTO referenciaexterna (Id, Referencia, Cantidad) SELECT "
                "IdExterna, 'T-G', -1 FROM remisionesdetalle WHERE IdExterna<>'' AND Id=%1")
                .arg(id));
        CopiaATrabajo(base, id);
        base.ejecuta(QStringLiteral("UPDATE tmpremisiones SET Factura=1500 WHERE Id=%1").arg(id));
    }

    QStringList imprime(int id, qint16 desglose = 6, const QString& notas = QString()) {
        PreparativosDeImpresion corrida(base.conexion(), QStringLiteral("fmtRemision.rpt"));
        RemisionAImprimir remision;
        remision.seleccion = QStringLiteral("{Remisiones.Id}=%1").arg(id);
        remision.id = id;
        remision.conDesglose = desglose;
        remision.textoNotas = notas;
        remision.tablaEncabezado = QStringLiteral("tmpremisiones");
        remision.tablaDetalle = QStringLiteral("tmpremisionesdetalle");
        Recordset encabezado;
        BasesDD::AbrirTabla(encabezado, base.conexion(),
                            QStringLiteral("tmpremisiones where Id=%1").arg(id));
        ImprimeDocumento(remision, encabezado, base.conexion(), corrida);
        EXPECT_TRUE(dialogos.cajas().isEmpty()) << qPrintable(dialogos.cajas().value(0).texto);
        if (Nuevos().size() != impresos + 1) {
            ADD_FAILURE() << "no se imprimió";
            return {};
        }
        ++impresos;
        return PaginasDePdf(Nuevos().last());
    }
};

TEST_F(Documento, ImprimeLaNotaConSusTotalesYLimpia) {
    notaDeTrabajo(4711, 30);
    base.ejecuta(QStringLiteral("UPDATE tmpremisiones SET Anticipo=100, Moneda=0 WHERE Id=4711"));
    const QStringList paginas = imprime(4711, 6, QStringLiteral("Entregar en bodega.\r\nGracias."));
    // Ten lines a sheet, as the store's configura says.
    ASSERT_EQ(paginas.size(), 3);
    for (int i = 0; i < paginas.size(); ++i) {
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("Página %1 de 3").arg(i + 1)));
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("A 1500")));
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("ABARROTES LA ESPERANZA")));
    }
    const QString todo = paginas.join(QLatin1Char('\n'));
    for (const char* texto : {"ARTÍCULO DE PRUEBA 1", "ARTÍCULO DE PRUEBA 30", "T-CH-2/T-G-1",
                              "(MIL CIEN PESOS 00/100 M.N.)", "El Surtidor", "Entregar en bodega.",
                              "Desglose de impuestos", "1,100.00", "Juárez 12"}) {
        EXPECT_TRUE(todo.contains(QString::fromUtf8(texto))) << texto;
    }
    EXPECT_EQ(rpt.crpReport.Lee(29, 1).toString(), QStringLiteral("NumeroDePaginas=3"));
    EXPECT_TRUE(
        QDir(carpeta.ruta(QStringLiteral("programa/Temporal"))).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 0);
    EXPECT_FALSE(QFile::exists(carpeta.ruta(QStringLiteral("programa/fmtremision.rpt"))));
    EXPECT_FALSE(QFile::exists(carpeta.ruta(QStringLiteral("programa/Auxiliar.MDB"))));
}

TEST_F(Documento, PaginasMonedaRetencionYSinDesglose) {
    const struct {
        int lineasPorHoja;
        int lineas;
        const char* formula;
    } paginas[] = {{10, 25, "NumeroDePaginas=3"}, {10, 20, "NumeroDePaginas=2"}, {0, 5, ""}};
    int id = 1;
    for (const auto& p : paginas) {
        base.ejecuta(
            QStringLiteral("UPDATE configura SET PartidasXhojaRem=%1").arg(p.lineasPorHoja));
        notaDeTrabajo(id, p.lineas);
        imprime(id++);
        EXPECT_EQ(rpt.crpReport.Lee(29, 1).toString(), QString::fromLatin1(p.formula));
    }
    notaDeTrabajo(10, 2);
    base.ejecuta(QStringLiteral("UPDATE tmpremisiones SET Moneda=2, Retencion=10 WHERE Id=10"));
    const QString texto = imprime(10, 0).join(QLatin1Char('\n'));
    EXPECT_TRUE(texto.contains(QStringLiteral("(MIL DOSCIENTOS DIEZ DÓLARES 00/100 USD)")));
    EXPECT_FALSE(texto.contains(QStringLiteral("Desglose de impuestos")));
    EXPECT_TRUE(texto.contains(QStringLiteral("Tipo de cambio: 18.25")));
    EXPECT_FALSE(texto.contains(QStringLiteral("18.2500")));
    // A rate kept with more decimals prints them all.
    base.ejecuta(QStringLiteral("ALTER TABLE monedas MODIFY Paridad DECIMAL(18,6) NOT NULL"));
    base.ejecuta(QStringLiteral("UPDATE monedas SET Paridad=17.123456 WHERE Id=2"));
    EXPECT_TRUE(imprime(10, 0)
                    .join(QLatin1Char('\n'))
                    .contains(QStringLiteral("Tipo de cambio: 17.123456")));
}

TEST_F(Documento, TextoDeNotasDeTextosOLaTablaDelCliente) {
    base.ejecuta(
        QStringLiteral("INSERT INTO textos (Clave, Texto) VALUES ('CLIC001           02', 'dos'), "
                       "('CLIC001           01', 'uno '), ('CLIC0011          01', 'otro'), "
                       "('PROC001           01', 'proveedor')"));
    base.ejecuta(QStringLiteral("INSERT INTO textosclientes VALUES ('C002', 'notas del cliente'), "
                                "('O''B', 'con comilla')"));
    EXPECT_EQ(TextoDeNotas(QStringLiteral("C001"), QStringLiteral("CLI"), base.conexion()),
              QStringLiteral("uno dos"));
    EXPECT_EQ(TextoDeNotas(QStringLiteral("C002"), QStringLiteral("CLI"), base.conexion()),
              QStringLiteral("notas del cliente"));
    EXPECT_EQ(TextoDeNotas(QStringLiteral("O'B"), QStringLiteral("CLI"), base.conexion()),
              QStringLiteral("con comilla"));
    EXPECT_EQ(TextoDeNotas(QStringLiteral("C009"), QStringLiteral("CLI"), base.conexion()),
              QString());
    base.ejecuta(QStringLiteral("DROP TABLE textosproductos"));
    EXPECT_EQ(TextoDeNotas(QStringLiteral("C009"), QStringLiteral("ART"), base.conexion()),
              QString());
    EXPECT_FALSE(Pregunta(QStringLiteral("¿Desea imprimir estas remisiones?"),
                          QStringLiteral("Imprimir"), true));
    EXPECT_TRUE(dialogos.cajas().last().noPorDefecto);
    dialogos.responde(true);
    EXPECT_TRUE(Pregunta(QStringLiteral("¿Desea imprimir estas remisiones?"),
                         QStringLiteral("Imprimir"), true));
}

// A run reads its notes a block at a time; each note prints as it does alone: clients keyed
// in another case and with a trailing space (which a binary collation does not match) or
// missing, a note without lines, size rows of a reference given twice, of a line whose
// reference has no rows, of one written in another case, and of a note's neighbour.
TEST_F(Documento, EnUnaCorridaCadaNotaSaleComoSola) {
    const struct {
        int id;
        int lineas;
        const char* cliente;
    } notas[] = {
        {11, 4, "C001"}, {12, 7, "c001 "}, {13, 0, "C001"}, {14, 3, "NO EXISTE"}, {15, 6, "C001"}};
    for (const auto& n : notas) {
        notaDeTrabajo(n.id, n.lineas);
        base.conexion().consulta(QStringLiteral("UPDATE tmpremisiones SET Cliente=?, Factura=? "
                                                "WHERE Id=?"),
                                 {QString::fromLatin1(n.cliente), 1500 + n.id, n.id});
    }
    base.ejecuta(QStringLiteral("UPDATE tmpremisionesdetalle SET IdExterna='RE000000012003' "
                                "WHERE Id=15 AND Partida=6"));
    base.ejecuta(QStringLiteral("DELETE FROM referenciaexterna WHERE Id='RE000000014003'"));
    base.ejecuta(QStringLiteral("UPDATE tmpremisionesdetalle SET IdExterna='re000000011003' "
                                "WHERE Id=11 AND Partida=3"));
    base.ejecuta(QStringLiteral(
        "ALTER TABLE clientes MODIFY Clave VARCHAR(10) COLLATE utf8mb4_bin NOT NULL"));
    QVector<QStringList> solas;
    for (const auto& n : notas) {
        solas << imprime(n.id);
    }
    const ResultadoDeImpresion corrida = ImpresionDeRemisiones(base.conexion()).Imprime();
    EXPECT_TRUE(corrida.Completa()) << qPrintable(corrida.Mensaje());
    const QStringList archivos = Nuevos().mid(impresos);
    ASSERT_EQ(archivos.size(), std::size(notas));
    for (qsizetype i = 0; i < archivos.size(); ++i) {
        EXPECT_EQ(PaginasDePdf(archivos[i]), solas[i]) << notas[i].id;
    }
    EXPECT_TRUE(solas[0].join(QString()).contains(QStringLiteral("ABARROTES LA ESPERANZA")));
    EXPECT_FALSE(solas[1].join(QString()).contains(QStringLiteral("ABARROTES LA ESPERANZA")));
    EXPECT_TRUE(solas[4].join(QString()).contains(QStringLiteral("T-CH-2/T-G-1")));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM partidatallaocolor")).toInt(), 0);
}

} // namespace
