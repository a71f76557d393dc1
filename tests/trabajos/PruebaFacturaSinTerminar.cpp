#include "trabajos/FacturaDePrueba.h"

// What an invoice that cannot finish leaves: nothing, or what tables without transactions kept,
// said and found again; a lost lock, refused inputs and texts longer than their columns.
namespace {

// Tables that take no transactions keep what was written before a failure: it is said, never
// "nothing changed".
TEST_F(Factura, ConTablasSinTransaccionesUnaFallaDiceLoQueQuedoEscrito) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    base.ejecuta(QStringLiteral("ALTER TABLE facturas ENGINE=MyISAM"));
    base.ejecuta(QStringLiteral("ALTER TABLE sistema ENGINE=MyISAM"));
    // On the strict server every host table is MyISAM already.
    const QStringList sinTransaccion =
        BaseDePrueba::TablasMyIsamLatin1()
            ? QStringList{base.nombre() + QStringLiteral(".facturas (MyISAM)"),
                          base.nombre() + QStringLiteral(".facturasdetalle (MyISAM)"),
                          base.nombre() + QStringLiteral(".remisiones (MyISAM)"),
                          base.nombre() + QStringLiteral(".sistema (MyISAM)"),
                          resguardo + QStringLiteral(".remisiones (MyISAM)"),
                          resguardo + QStringLiteral(".remisionesdetalle (MyISAM)")}
            : QStringList{base.nombre() + QStringLiteral(".facturas (MyISAM)"),
                          base.nombre() + QStringLiteral(".sistema (MyISAM)")};
    EXPECT_EQ(trabajo.AvisoSinTransaccion(resguardo),
              TextosDeFactura::AvisoSinTransaccion(sinTransaccion));
    base.ejecuta(QStringLiteral("CREATE TRIGGER falla_partida BEFORE INSERT ON facturasdetalle "
                                "FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='partida "
                                "rechazada por la prueba'"));
    const TotalesDeFactura t = aplica(0);
    const QString texto = falla(datos(t));
    EXPECT_FALSE(texto.contains(QStringLiteral("no se cambió nada"))) << qPrintable(texto);
    EXPECT_TRUE(texto.startsWith(QStringLiteral("No se terminó de generar la factura.")));
    EXPECT_TRUE(texto.contains(QStringLiteral("el contador FA-B de la tabla sistema quedó en "
                                              "124")))
        << qPrintable(texto);
    EXPECT_TRUE(texto.contains(QStringLiteral("el encabezado de la factura B124")));
    EXPECT_TRUE(texto.contains(QStringLiteral("partida rechazada por la prueba")));
    EXPECT_TRUE(trabajo.QuedoAlgoEscrito());
    EXPECT_EQ(valor(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato='FA-B'")),
              QStringLiteral("124"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT SUM(Cancelada) FROM remisiones")), QStringLiteral("0"));
}

TEST_F(Factura, SinSuCandadoLaVentanaNoAplicaNiGenera) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    const TotalesDeFactura t = aplica(0);
    trabajo.SueltaLaBaseTemporal();
    const QString antes = estado();
    EXPECT_THROW(aplica(0), Rechazo);
    EXPECT_THROW(trabajo.GeneraFactura(datos(t), resguardo), Rechazo);
    EXPECT_EQ(estado(), antes);
    ASSERT_TRUE(trabajo.TomaLaBaseTemporal());
}

TEST_F(Factura, FechasQueNoSirvenSeRechazanSinTocarNada) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    aplica(0);
    EXPECT_THROW(trabajo.AplicaPorcentaje({kDia.addDays(1), kDia, {}, {}, {}, 0}), Rechazo);
    EXPECT_THROW(trabajo.AplicaPorcentaje({QDate(), kDia, {}, {}, {}, 0}), Rechazo);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM tmpreprocesarem.remisiones")),
              QStringLiteral("1"));
}

// An invoice stopped half-way on tables without transactions leaves its traces; the next one on
// the same notes finds them, refuses with what it found, and writes nothing.
struct FacturaAMedias {
    const char* caso;
    int pasoQueFalla;     // 0: the archive copy of the lines fails
    const char* hallazgo; // in the refusal
};

class FacturaInterrumpida : public Factura, public ::testing::WithParamInterface<FacturaAMedias> {
protected:
    void SinTransacciones() {
        for (const char* tabla : {"facturas", "facturasdetalle", "remisiones", "sistema"}) {
            base.ejecuta(QStringLiteral("ALTER TABLE %1 ENGINE=MyISAM").arg(QLatin1String(tabla)));
        }
        for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
            base.ejecuta(QStringLiteral("ALTER TABLE %1.%2 ENGINE=MyISAM")
                             .arg(resguardo, QLatin1String(tabla)));
        }
    }

    // The first attempt, stopped as the case says.
    void Interrumpe(const TotalesDeFactura& t) {
        const int paso = GetParam().pasoQueFalla;
        if (paso == 0) {
            base.ejecuta(QStringLiteral("INSERT INTO %1.remisionesdetalle (Id, Partida) VALUES "
                                        "(2, 1)")
                             .arg(resguardo));
            falla(datos(t));
            base.ejecuta(
                QStringLiteral("DELETE FROM %1.remisionesdetalle WHERE Id=2").arg(resguardo));
            return;
        }
        falla(datos(t), [paso](int avance, qint32) {
            if (avance == paso) {
                throw ErrorOrvlib(2013, QStringLiteral("Lost connection"),
                                  QStringLiteral("prueba"));
            }
        });
    }
};

TEST_P(FacturaInterrumpida, ElReintentoLaEncuentraYNoEscribeOtra) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}},
                       {2, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P2", 1, 10)}}});
    SinTransacciones();
    Interrumpe(aplica(0));
    ASSERT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    const QString id = valor(QStringLiteral("SELECT Id FROM facturas"));

    const TotalesDeFactura t = aplica(0);
    const QString antes = estado();
    const QString partidas = valor(QStringLiteral("SELECT COUNT(*) FROM facturasdetalle"));
    const QString texto = rechazo(datos(t));
    EXPECT_TRUE(texto.contains(QString::fromUtf8(GetParam().hallazgo))) << qPrintable(texto);
    EXPECT_TRUE(texto.contains(QStringLiteral("No se generó otra factura"))) << qPrintable(texto);
    EXPECT_EQ(estado(), antes);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturasdetalle")), partidas);
    // The window finds the same as it opens.
    EXPECT_EQ(trabajo.RastrosDeOtraFactura(resguardo), texto);

    // Undone as the refusal says, the invoice is made once.
    base.ejecuta(QStringLiteral("DELETE FROM facturasdetalle WHERE Id=") + id);
    base.ejecuta(QStringLiteral("DELETE FROM facturas WHERE Id=") + id);
    base.ejecuta(QStringLiteral("DELETE FROM %1.remisionesdetalle").arg(resguardo));
    base.ejecuta(QStringLiteral("DELETE FROM %1.remisiones").arg(resguardo));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
    const FacturaCreada creada = trabajo.GeneraFactura(datos(aplica(0)), resguardo);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM facturas")), QStringLiteral("1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM remisiones WHERE Facturada=") +
                    QString::number(creada.id)),
              QStringLiteral("2"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FacturaInterrumpida,
    ::testing::Values(FacturaAMedias{"SoloElEncabezado", 2, "la factura B124 (Id "},
                      FacturaAMedias{"SinCancelarLasRemisiones", 3,
                                     "con 2 partidas, sin remisiones canceladas"},
                      FacturaAMedias{"AMitadDelResguardo", 0, "2 remisiones copiadas en "}),
    [](const auto& info) { return std::string(info.param.caso); });

// Where the archive takes transactions a stopped invoice leaves no copy there: the copy of a
// note that is open again in the host is an earlier invoice the store cancelled, and the note
// is invoiced again, its new copy replacing the old one under the archive's key (Id).
TEST_F(Factura, UnaRemisionReabiertaSeFacturaOtraVezYSuCopiaSeReemplaza) {
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        base.ejecuta(
            QStringLiteral("ALTER TABLE %1.%2 ENGINE=InnoDB").arg(resguardo, QLatin1String(tabla)));
    }
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 2, 10)}}});
    const FacturaCreada primera = trabajo.GeneraFactura(datos(aplica(0)), resguardo);
    base.ejecuta(QStringLiteral("UPDATE facturas SET Cancelada=1 WHERE Id=") +
                 QString::number(primera.id));
    base.ejecuta(QStringLiteral("UPDATE remisiones SET Cancelada=0, Facturada=0 WHERE Id=1"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());

    const FacturaCreada segunda = trabajo.GeneraFactura(datos(aplica(50), 200), resguardo);
    EXPECT_NE(segunda.id, primera.id);
    EXPECT_EQ(valor(QStringLiteral("SELECT Facturada FROM remisiones WHERE Id=1")),
              QString::number(segunda.id));
    EXPECT_EQ(valor(QStringLiteral("SELECT CONCAT(COUNT(*), '/', SUM(Cantidad=1)) FROM "
                                   "%1.remisionesdetalle")
                        .arg(resguardo)),
              QStringLiteral("1/1"));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM %1.remisiones").arg(resguardo)),
              QStringLiteral("1"));
    EXPECT_TRUE(trabajo.RastrosDeOtraFactura(resguardo).isEmpty());
}

// A text longer than its host column is refused before anything is written, naming the field
// and the limit the server gives.
struct TextoLargo {
    const char* caso;
    const char* ajuste; // statements that make the long text, split by ;
    const char* serie;
    const char* esperado;
};

class TextoQueNoCabe : public Factura, public ::testing::WithParamInterface<TextoLargo> {};

TEST_P(TextoQueNoCabe, SeRechazaSinEscribirNada) {
    AgregaNotas(base, {{1, kDia, 100, 16, 0, QStringLiteral("A"), 0, 0, {linea("P1", 1, 10)}}});
    for (const QString& sentencia :
         QString::fromLatin1(GetParam().ajuste).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        base.ejecuta(sentencia);
    }
    DatosDeFactura d = datos(aplica(0));
    d.serie = QString::fromLatin1(GetParam().serie);
    const QString antes = estado();
    const QString texto = rechazo(d);
    EXPECT_TRUE(texto.contains(QString::fromUtf8(GetParam().esperado))) << qPrintable(texto);
    EXPECT_EQ(estado(), antes);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TextoQueNoCabe,
    ::testing::Values(
        TextoLargo{"NombreDe255",
                   "ALTER TABLE clientes MODIFY Nombre VARCHAR(255) NOT NULL DEFAULT ''; UPDATE "
                   "clientes SET Nombre=REPEAT('N', 255) WHERE Clave='C1'",
                   "B", "255 caracteres) no cabe en facturas.Nombre, que admite 150"},
        TextoLargo{"SerieDeCuatro", "", "BBBB", "no cabe en facturas.Serie, que admite 3"},
        // A line's text names the note it came from.
        TextoLargo{"DescripcionConSuRemision",
                   "ALTER TABLE remisionesdetalle MODIFY Descripcion TEXT; ALTER TABLE "
                   "tmpreprocesarem.remisionesdetalle MODIFY Descripcion TEXT; UPDATE "
                   "remisionesdetalle SET Descripcion=REPEAT('D', 10017)",
                   "B", "Viene de la remisión A 1: corríjala en Orvane"},
        // The longest of a product's descriptions counts, not the one the invoice line shows.
        TextoLargo{"LaDescripcionLargaDeUnaSegundaLinea",
                   "ALTER TABLE remisionesdetalle MODIFY Descripcion TEXT; ALTER TABLE "
                   "tmpreprocesarem.remisionesdetalle MODIFY Descripcion TEXT; CREATE TABLE "
                   "segunda AS SELECT * FROM remisionesdetalle; UPDATE segunda SET Partida=2, "
                   "Descripcion=REPEAT('Z', 10017); INSERT INTO remisionesdetalle SELECT * FROM "
                   "segunda; DROP TABLE segunda",
                   "B", "10017 caracteres) no cabe en facturasdetalle.Descripcion"},
        TextoLargo{"ProductoConSuRemision",
                   "ALTER TABLE remisionesdetalle MODIFY Producto VARCHAR(60) NOT NULL; ALTER "
                   "TABLE tmpreprocesarem.remisionesdetalle MODIFY Producto VARCHAR(60) NOT NULL; "
                   "UPDATE remisionesdetalle SET Producto=REPEAT('P', 60)",
                   "B", "no cabe en facturasdetalle.Producto"}),
    [](const auto& info) { return std::string(info.param.caso); });

} // namespace
