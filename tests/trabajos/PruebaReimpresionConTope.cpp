#include "orvlib/ErrorOrvlib.h"
#include "servicios/Rechazo.h"
#include "trabajos/TopeDePrueba.h"
#include "trabajos/tope/RejaDeTope.h"

#include <QDir>
#include <QFile>

namespace {

// Each case: the notes' totals of two days, the cap, and how many notes each day takes.
struct CasoDeAsignacion {
    const char* nombre;
    QVector<double> dia1;
    QVector<double> dia2;
    double tope;
    int tomadas1;
    int tomadas2;
};

TEST_F(Tope, ReglaDeAsignacion) {
    const CasoDeAsignacion casos[] = {
        // Period 200, cap 100: each day's share is 50; reaching it exactly is not passing it.
        {"igual no es mayor", {25, 25, 40, 10}, {100}, 100, 3, 1},
        {"el primero siempre", {70, 10}, {90, 10}, 1, 1, 1},
        {"tope del doble", {10, 20, 30}, {40, 50}, 300, 3, 2},
        // 0.1 + 0.2 + 0.7 is not 1.0 in binary floating point; the share is compared exactly.
        {"tope igual al total", {0.1, 0.2, 0.7}, {0.3, 0.4}, 1.7, 3, 2},
        {"total cero no cuenta", {0, 0, 80, 20}, {100}, 1, 3, 1},
    };
    for (const CasoDeAsignacion& c : casos) {
        SCOPED_TRACE(c.nombre);
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        QVector<NotaDePrueba> notas;
        int id = 0;
        for (double total : c.dia1) {
            notas.append({++id, kDia1, total});
        }
        for (double total : c.dia2) {
            notas.append({++id, kDia2, total});
        }
        AgregaNotas(base, notas);
        const ResultadoDeTope r = aplica(c.tope);
        ASSERT_EQ(r.dias.size(), 2);
        EXPECT_EQ(r.dias[0].remisiones, c.tomadas1);
        EXPECT_EQ(r.dias[1].remisiones, c.tomadas2);
        EXPECT_EQ(idsCopiados().size(), c.tomadas1 + c.tomadas2);
    }
}

// A day's real total is the server's sum of its notes, also where the host keeps amounts as
// floating point or with more than four decimals, whose notes rounded one by one would not add
// up to it.
TEST_F(Tope, ElTotalDelDiaEsLaSumaDelServidorConCualquierTipoDeImporte) {
    for (const char* tipo :
         {"DECIMAL(18,4)", "DECIMAL(12,2)", "INT", "DECIMAL(18,6)", "DOUBLE", "FLOAT"}) {
        SCOPED_TRACE(tipo);
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        base.ejecuta(QStringLiteral("ALTER TABLE remisiones MODIFY Subtotal %1 NOT NULL DEFAULT 0")
                         .arg(QString::fromLatin1(tipo)));
        AgregaNotas(base, {{1, kDia1, 10.1}, {2, kDia1, 0}, {3, kDia1, 0}, {4, kDia2, 5}});
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Subtotal=0.00005 WHERE Id IN (2, 3)"));
        const QVariant suma = base.valor(
            QStringLiteral("SELECT SUM(Subtotal+IVA+ImpuestoAd) FROM remisiones WHERE Id<4"));
        const ResultadoDeTope r = aplica(10000);
        ASSERT_EQ(r.dias.size(), 2);
        EXPECT_EQ(r.dias[0].totalReal, Importe::DeVariant(suma));
        EXPECT_EQ(r.real, r.dias[0].totalReal + Importe::DeDouble(5));
    }
}

TEST_F(Tope, UnPeriodoQueSumaCeroTomaTodasSinDividirEntreCero) {
    AgregaNotas(base, {{1, kDia1, 0}, {2, kDia1, 0}, {3, kDia2, 50}, {4, kDia2, -50}});
    const ResultadoDeTope r = aplica(100);
    ASSERT_EQ(r.dias.size(), 2);
    EXPECT_EQ(r.dias[0].remisiones, 2);
    EXPECT_EQ(r.dias[1].remisiones, 2);
}

TEST_F(Tope, DiasEnOrdenFoliosConsecutivosYSoloLaSerieSinCanceladas) {
    AgregaNotas(base, {
                          {10, kDia2, 100},
                          {11, kDia2, 100},
                          {5, kDia1, 100},
                          {6, kDia1, 100, 0, 0, QStringLiteral("B")},
                          {7, kDia1, 100, 0, 0, QStringLiteral("A"), 0, 1},
                          {8, kDia1, 100},
                          {20, kDia3, 100},
                      });
    const ResultadoDeTope r = aplica(10000, 1500);
    ASSERT_EQ(r.dias.size(), 3);
    EXPECT_EQ(r.dias[0].fecha, kDia1);
    EXPECT_EQ(r.dias[0].numeros, QStringLiteral("Del 1500 al 1501"));
    EXPECT_EQ(r.dias[1].numeros, QStringLiteral("Del 1502 al 1503"));
    EXPECT_EQ(r.dias[2].numeros, QStringLiteral("Del 1504 al 1504"));
    EXPECT_EQ(idsCopiados(), (QList<int>{5, 8, 10, 11, 20}));
    QSqlQuery q = base.conexion().consulta(
        QStringLiteral("SELECT Id, Factura FROM tmpremisiones ORDER BY Id"));
    QList<int> folios;
    while (q.next()) {
        folios << q.value(1).toInt();
    }
    EXPECT_EQ(folios, (QList<int>{1500, 1501, 1502, 1503, 1504}));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT Factura FROM remisiones WHERE Id=5")).toInt(), 5);
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle")).toInt(), 5);
    EXPECT_EQ(CarpetaDePrueba::lee(lista), QByteArray("5,\"A\",1500\r\n8,\"A\",1501\r\n"
                                                      "10,\"A\",1502\r\n11,\"A\",1503\r\n"
                                                      "20,\"A\",1504\r\n"));
}

// The copies' folios must fit the folio column: a first folio whose last copy would pass
// 2,147,483,647 is refused before anything changes, as are inputs that cannot be used; one
// that ends exactly there is taken.
// A note entered late under an earlier day has a larger Id than the next day's notes: folios
// follow the days first, each copy gets the folio its list line says, and each keeps its lines.
TEST_F(Tope, FoliosPorDiaAunqueLosIdsNoSiganLasFechas) {
    PartidaDePrueba dos;
    dos.cantidad = 2;
    dos.precio = 10;
    AgregaNotas(base, {{30, kDia1, 100, 0, 0, QStringLiteral("A"), 0, 0, {dos, dos}},
                       {3, kDia2, 100},
                       {4, kDia2, 100},
                       {31, kDia1, 100}});
    const ResultadoDeTope r = aplica(10000, 1500);
    EXPECT_EQ(r.dias[0].numeros, QStringLiteral("Del 1500 al 1501"));
    EXPECT_EQ(r.dias[1].numeros, QStringLiteral("Del 1502 al 1503"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT GROUP_CONCAT(Id, ':', Factura ORDER BY Id) FROM "
                                        "tmpremisiones"))
                  .toString(),
              QStringLiteral("3:1502,4:1503,30:1500,31:1501"));
    EXPECT_EQ(CarpetaDePrueba::lee(lista), QByteArray("30,\"A\",1500\r\n31,\"A\",1501\r\n"
                                                      "3,\"A\",1502\r\n4,\"A\",1503\r\n"));
    EXPECT_EQ(
        base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle WHERE Id=30")).toInt(),
        2);
}

TEST_F(Tope, EntradasYFoliosQueNoCabenSeRechazanSinCambiarNada) {
    PartidaDePrueba sinBase;
    sinBase.precio = 100;
    sinBase.iva = 16;
    AgregaNotas(base, {{1, kDia1, 100}, {2, kDia1, 100}, {3, kDia2, 100}});
    aplica(1000, 10);
    EXPECT_EQ(foliosCopiados(), (QList<int>{10, 11, 12}));
    const QByteArray listaAntes = CarpetaDePrueba::lee(lista);
    AgregaNotas(base, {{4, kDia2, 116, 16, 0, QStringLiteral("A"), 0, 0, {sinBase}}});
    const struct {
        const char* nombre;
        QDate desde;
        QDate hasta;
        double tope;
        qint64 folio;
    } rechazos[] = {
        {"folios de más", kDia1, kDia3, 1000, 2147483645},
        {"folio fuera de la columna", kDia1, kDia3, 1000, 2147483648LL},
        {"folio cero", kDia1, kDia3, 1000, 0},
        {"tope cero", kDia1, kDia3, 0, 1},
        {"fechas al revés", kDia3, kDia1, 1000, 1},
        {"fecha inválida", QDate(), kDia1, 1000, 1},
    };
    for (const auto& r : rechazos) {
        SCOPED_TRACE(r.nombre);
        EXPECT_THROW(trabajo.Aplica(r.desde, r.hasta, QStringLiteral("A"),
                                    Importe::DeDouble(r.tope), r.folio),
                     Rechazo);
        EXPECT_EQ(foliosCopiados(), (QList<int>{10, 11, 12}));
        EXPECT_EQ(CarpetaDePrueba::lee(lista), listaAntes);
        EXPECT_EQ(detalle(4, 1, "BaseIVA"), QStringLiteral("0.0000"));
    }
    aplica(1000, 2147483644);
    EXPECT_EQ(foliosCopiados(), (QList<int>{2147483644, 2147483645, 2147483646, 2147483647}));
}

// Of the notes not chosen only the total counts, so only the three amounts it adds up are
// checked; a chosen note is checked whole, header and lines. The note refused is the one with
// the lowest Id, named by series and folio, before any repair, and the last copies stay.
TEST_F(Tope, LosImportesFueraDeRangoSeRechazanAntesDeReparar) {
    PartidaDePrueba sinBase;
    sinBase.precio = 100;
    sinBase.iva = 16;
    const QVector<NotaDePrueba> notas = {
        {1, kDia1, 116, 16, 0, QStringLiteral("A"), 71, 0, {sinBase}},
        {3, kDia1, 100, 0, 0, QStringLiteral("A"), 73},
        {5, kDia1, 100, 0, 0, QStringLiteral("A"), 75},
        {2, kDia2, 100, 0, 0, QStringLiteral("A"), 72}};
    const struct {
        const char* cambio;
        const char* esperado; // empty: the run goes on
    } casos[] = {
        {"UPDATE remisiones SET IVA=100000000000 WHERE Id=3",
         "La remisión A 73 no se puede usar: su IVA pasa de"},
        {"UPDATE remisiones SET Desc1=101 WHERE Id=3", ""},
        {"UPDATE remisiones SET Desc1=IF(Id=3,101,Desc1), IVA=IF(Id=5,100000000000,IVA)",
         "La remisión A 75 no se puede usar: su IVA pasa de"},
        {"UPDATE remisiones SET Desc1=101 WHERE Id IN (1,2)",
         "La remisión A 71 no se puede usar: su Desc1 no está entre"},
        {"UPDATE remisionesdetalle SET Cantidad=1000000000 WHERE Id=1",
         "La remisión A 71 no se puede usar: en su partida 1, Cantidad pasa de"},
        {"UPDATE remisionesdetalle SET Cantidad=1000000000 WHERE Id=3", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.cambio);
        base.ejecuta(QStringLiteral("DELETE FROM remisiones"));
        base.ejecuta(QStringLiteral("DELETE FROM remisionesdetalle"));
        AgregaNotas(base, notas);
        aplica(1);
        base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET BaseIVA=0 WHERE Id=1"));
        base.ejecuta(QString::fromLatin1(c.cambio));
        try {
            aplica(1);
            EXPECT_STREQ(c.esperado, "");
            EXPECT_EQ(idsCopiados(), (QList<int>{1, 2}));
        } catch (const Rechazo& r) {
            EXPECT_TRUE(r.texto().startsWith(QString::fromUtf8(c.esperado)) && *c.esperado)
                << qPrintable(r.texto());
            EXPECT_EQ(idsCopiados(), (QList<int>{1, 2}));
            EXPECT_EQ(detalle(1, 1, "BaseIVA"), QStringLiteral("0.0000"));
        }
    }
}

// The list is written whole and only once the copies are made: a run that fails before the
// last copies go (here reading the lines it checks) keeps the last good list.
TEST_F(Tope, UnaCorridaQueFallaConservaLaListaAnterior) {
    AgregaNotas(base, {{1, kDia1, 100}});
    aplica(1000, 10);
    const QByteArray listaAntes = CarpetaDePrueba::lee(lista);
    AgregaNotas(base, {{2, kDia1, 100}});
    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle TO remisionesdetalle_aparte"));
    EXPECT_THROW(aplica(1000, 500), ErrorOrvlib);
    base.ejecuta(QStringLiteral("RENAME TABLE remisionesdetalle_aparte TO remisionesdetalle"));
    EXPECT_EQ(CarpetaDePrueba::lee(lista), listaAntes);
    EXPECT_EQ(QDir(carpeta.programa()).entryList(QDir::Files), QStringList{"ListaRemisiones.txt"});
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpfoliostope'")).isValid());
}

TEST_F(Tope, ListaConLaSerieCitadaYNingunaSinNotas) {
    AgregaNotas(base, {{4711, kDia1, 500}});
    aplica(100);
    EXPECT_EQ(CarpetaDePrueba::lee(lista), QByteArray("4711,\"A\",1500\r\n"));
    const ResultadoDeTope vacio = aplica(100, 1, QStringLiteral("Z"));
    EXPECT_TRUE(vacio.dias.isEmpty());
    EXPECT_EQ(vacio.real, Importe());
    EXPECT_FALSE(QFile::exists(lista));
    EXPECT_TRUE(idsCopiados().isEmpty());
}

TEST_F(Tope, UnaSerieConComillaSeleccionaEnLugarDeRomper) {
    AgregaNotas(base, {{1, kDia1, 100, 0, 0, QStringLiteral("O'B")}});
    const ResultadoDeTope r = aplica(1000, 1, QStringLiteral("O'B"));
    ASSERT_EQ(r.dias.size(), 1);
    EXPECT_EQ(CarpetaDePrueba::lee(lista), QByteArray("1,\"O'B\",1\r\n"));
}

// A note kept under Id 0 (a store's data restored from a dump keeps it) is copied under Id 0,
// with its lines, not under a new Id.
TEST_F(Tope, UnaRemisionConIdCeroSeCopiaConSuId) {
    AgregaNotas(base, {{0, kDia1, 100}, {7, kDia1, 100}});
    ASSERT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM remisiones WHERE Id=0")).toInt(), 1);
    aplica(10000);
    EXPECT_EQ(idsCopiados(), (QList<int>{0, 7}));
    EXPECT_EQ(
        base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle WHERE Id=0")).toInt(),
        1);
    EXPECT_EQ(CarpetaDePrueba::lee(lista), QByteArray("0,\"A\",1500\r\n7,\"A\",1501\r\n"));
}

// The host's own names stay as they are, also where they contain the table's name.
TEST_F(Tope, LasTablasDeTrabajoCopianLaEstructuraDelHost) {
    base.ejecuta(QStringLiteral("ALTER TABLE remisiones ADD COLUMN remisionesPrevias INT NOT NULL "
                                "DEFAULT 0 COMMENT 'de remisiones' AFTER Serie, ADD KEY "
                                "remisiones_Cliente (Cliente, remisionesPrevias)"));
    base.ejecuta(QStringLiteral("ALTER TABLE remisiones ADD COLUMN `Group` VARCHAR(10) NOT NULL "
                                "DEFAULT 'G'"));
    base.ejecuta(
        QStringLiteral("ALTER TABLE remisionesdetalle COMMENT 'partidas de remisionesdetalle'"));
    trabajo.CreaTablasDeTrabajo();
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        const QString t = QString::fromLatin1(tabla);
        EXPECT_EQ(base.estructura(QStringLiteral("tmp") + t), base.estructura(t)) << tabla;
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COLUMN_NAME FROM information_schema.COLUMNS "
                                        "WHERE TABLE_SCHEMA=DATABASE() AND "
                                        "TABLE_NAME='tmpremisiones' AND ORDINAL_POSITION=3"))
                  .toString(),
              QStringLiteral("remisionesPrevias"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT TABLE_COMMENT FROM information_schema.TABLES "
                                        "WHERE TABLE_SCHEMA=DATABASE() AND "
                                        "TABLE_NAME='tmpremisionesdetalle'"))
                  .toString(),
              QStringLiteral("partidas de remisionesdetalle"));
    AgregaNotas(base, {{1, kDia1, 100}});
    base.ejecuta(QStringLiteral("UPDATE remisiones SET remisionesPrevias=7, `Group`='X'"));
    EXPECT_EQ(aplica(1000).remisiones, 1);
    // The copy is the host's row, column by column, with the new folio.
    EXPECT_EQ(base.valor(QStringLiteral("SELECT CONCAT(Id, ' ', remisionesPrevias, ' ', `Group`, "
                                        "' ', Factura, ' ', Subtotal) FROM tmpremisiones"))
                  .toString(),
              QStringLiteral("1 7 X 1500 100.0000"));
    trabajo.BorraTablasDeTrabajo();
    EXPECT_FALSE(base.valor(QStringLiteral("SHOW TABLES LIKE 'tmpremisiones'")).isValid());
}

// A year of a busy store: 150,000 notes with Ids of seven digits, of which the cap takes about
// 20,000, and then all of them. On the strict server, whose max_allowed_packet is 1 MB, one
// statement listing every Id of the second run would be refused.
TEST_F(Tope, UnAnoDeUnaTiendaConcurridaConSentenciasAcotadas) {
    base.ejecuta(QStringLiteral("CREATE TABLE digitos (d INT NOT NULL PRIMARY KEY)"));
    base.ejecuta(
        QStringLiteral("INSERT INTO digitos VALUES (0),(1),(2),(3),(4),(5),(6),(7),(8),(9)"));
    base.ejecuta(QStringLiteral(
        "INSERT INTO remisiones (Id, Serie, Factura, Fecha, Subtotal, IVA, ImpuestoAd) SELECT "
        "1000000+n, 'A', n, '2025-01-01' + INTERVAL n MOD 365 DAY, 100 + n MOD 7, 16, 0 FROM "
        "(SELECT a.d + 10*b.d + 100*c.d + 1000*e.d + 10000*f.d + 100000*g.d AS n FROM digitos a, "
        "digitos b, digitos c, digitos e, digitos f, digitos g WHERE g.d < 2) x WHERE n < 150000"));
    base.ejecuta(QStringLiteral(
        "INSERT INTO remisionesdetalle (Id, Partida, Producto, Cantidad, PrecioNeto, IVA) SELECT "
        "Id, 1, 'P1', 1, Subtotal, 16 FROM remisiones"));
    const double total =
        base.valor(QStringLiteral("SELECT SUM(Subtotal+IVA+ImpuestoAd) FROM remisiones"))
            .toDouble();
    const struct {
        double tope;
        int minimo;
        int maximo;
    } casos[] = {{total * 20000 / 150000, 20000, 20800}, {total * 2, 150000, 150000}};
    for (const auto& c : casos) {
        const ResultadoDeTope r =
            aplica(c.tope, 1, QStringLiteral("A"), QDate(2025, 1, 1), QDate(2025, 12, 31));
        EXPECT_EQ(r.dias.size(), 365);
        EXPECT_GE(r.remisiones, c.minimo);
        EXPECT_LE(r.remisiones, c.maximo);
        EXPECT_EQ(base.valor(QStringLiteral("SELECT CONCAT(COUNT(*), ' ', MIN(Factura), ' ', "
                                            "MAX(Factura), ' ', COUNT(DISTINCT Factura)) FROM "
                                            "tmpremisiones"))
                      .toString(),
                  QStringLiteral("%1 1 %1 %1").arg(r.remisiones));
        EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM tmpremisionesdetalle")).toInt(),
                  r.remisiones);
        EXPECT_EQ(CarpetaDePrueba::lee(lista).count("\r\n"), r.remisiones);
    }
}

TEST(RejaDeTope, CeldasComoLasMuestraLaReja) {
    ResultadoDeTope r;
    r.dias.append({QDate(2026, 11, 1), Importe::DeDouble(45293.21), Importe::DeDouble(6570.25), 5,
                   QStringLiteral("Del 1500 al 1504")});
    r.dias.append({QDate(2026, 1, 9), Importe::DeDouble(0.5), Importe::DeDouble(0.5), 1,
                   QStringLiteral("Del 1505 al 1505")});
    r.real = Importe::DeDouble(1045293.71);
    r.impreso = Importe::DeDouble(6570.75);
    r.remisiones = 6;
    const auto filas = RejaDeTope::Filas(r);
    ASSERT_EQ(filas.size(), 2);
    EXPECT_EQ(filas[0],
              (QStringList{"1", "01/nov/2026", "45,293.21", "6,570.25", "5", "Del 1500 al 1504"}));
    EXPECT_EQ(filas[1][1], QStringLiteral("09/ene/2026"));
    EXPECT_EQ(filas[1][2], QStringLiteral("0.50"));
    EXPECT_EQ(RejaDeTope::Totales(r),
              (QStringList{"", "Totales:", "1,045,293.71", "6,570.75", "6", ""}));
}

TEST(ListaGlobal, CopiaLineaPorLineaYSeBorra) {
    CarpetaDePrueba carpeta;
    const QString origen = carpeta.ruta(QStringLiteral("programa/ListaRemisiones.txt"));
    const QString bandera = carpeta.ruta(QStringLiteral("RdRpFG.txt"));
    CarpetaDePrueba::escribe(origen, "4711,\"A\",1500\r\n4712,\"A\",1501");
    ReimpresionConTope::GeneraListaGlobal(origen, bandera);
    ReimpresionConTope::GeneraListaGlobal(origen, bandera);
    EXPECT_EQ(CarpetaDePrueba::lee(bandera), QByteArray("4711,\"A\",1500\r\n4712,\"A\",1501\r\n"));
    ReimpresionConTope::LimpiaBanderas(bandera);
    EXPECT_FALSE(QFile::exists(bandera));
    EXPECT_NO_THROW(ReimpresionConTope::LimpiaBanderas(bandera));
}

} // namespace
