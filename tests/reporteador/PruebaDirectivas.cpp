#include "apoyo/ImpresionQt.h"
#include "reporteador/ExpresionesDePlantilla.h"
#include "reporteador/FuenteDePlantilla.h"
#include "reporteador/Maquetador.h"
#include "reporteador/Pintor.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using ExpresionesDePlantilla::Referencia;

// The texts laid out for one document of a template, with their top in millimetres.
QVector<QPair<QString, double>> textos(const Plantilla& p, const DatosDeDocumento& d) {
    QHash<QString, QImage> imagenes;
    Maquetador m(p, imagenes);
    QVector<QPair<QString, double>> t;
    for (const PaginaMaquetada& pagina : m.Maqueta({d})) {
        for (const Trazo& trazo : pagina.trazos) {
            if (trazo.tipo == ElementoDePlantilla::Tipo::Texto) {
                t.append({trazo.lineas.join(QLatin1Char('/')), trazo.rect.top()});
            }
        }
    }
    return t;
}

QStringList soloTextos(const Plantilla& p, const DatosDeDocumento& d) {
    QStringList t;
    for (const auto& [texto, y] : textos(p, d)) {
        t << texto;
    }
    return t;
}

TEST(ExpresionesDePlantilla, NumeroDeRenglonYReferencias) {
    EXPECT_EQ(ExpresionesDePlantilla::ConNumero(QStringLiteral("IVA {g.IVAp#}% {g.IVA#} #"), 3),
              QStringLiteral("IVA {g.IVAp3}% {g.IVA3} #"));
    EXPECT_EQ(ExpresionesDePlantilla::ConNumero(QStringLiteral("{#}. {n.Nota#}"), 12),
              QStringLiteral("12. {n.Nota12}"));
    const QVector<Referencia> r = ExpresionesDePlantilla::Referencias(
        QStringLiteral("{a.b} {@F} {Pagina} de {Paginas} {x.y*2+@G} {Total} {a.b c} {x.y+?}"));
    const QVector<QPair<Referencia::Tipo, QString>> esperadas = {
        {Referencia::Tipo::Campo, "a.b"},           {Referencia::Tipo::Formula, "F"},
        {Referencia::Tipo::Pagina, "{Pagina}"},     {Referencia::Tipo::Pagina, "{Paginas}"},
        {Referencia::Tipo::Campo, "x.y"},           {Referencia::Tipo::Formula, "G"},
        {Referencia::Tipo::Desconocida, "{Total}"}, {Referencia::Tipo::Desconocida, "{a.b c}"},
        {Referencia::Tipo::Campo, "x.y"},           {Referencia::Tipo::Desconocida, "{x.y+?}"},
    };
    ASSERT_EQ(r.size(), esperadas.size());
    for (int i = 0; i < r.size(); ++i) {
        EXPECT_EQ(r[i].tipo, esperadas[i].first) << i;
        const QString nombre = r[i].tabla.isEmpty() ? r[i].nombre : r[i].tabla + '.' + r[i].nombre;
        EXPECT_EQ(nombre, esperadas[i].second) << i;
    }
}

TEST(Maquetador, CondicionesConYONoYFormulas) {
    const struct {
        const char* condicion;
        bool visible;
    } casos[] = {
        {"{doc.Uno}", true},
        {"{doc.Cero}", false},
        {"{doc.Vacio}", false},
        {"{doc.Texto}", true},
        {"{doc.Falta}", false},
        {"no {doc.Cero}", true},
        {"no {doc.Uno}", false},
        {"{doc.Cero} o {doc.Uno}", true},
        {"{doc.Uno} y {doc.Cero}", false},
        {"{doc.Cero} y {doc.Uno} o {doc.Texto}", true},
        {"{doc.Uno} y no {@F1} o {doc.Cero}", false},
        {"{@F1}", true},
        {"{@F0}", false},
        {"{@FV}", false},
        {"{@NoExiste}", false},
        {"{doc.Uno-1}", false},
        {"{doc.Uno+@F1-2}", false},
        {"{doc.Uno*@F1}", true},
    };
    DatosDeDocumento d;
    d.principal.pon(QStringLiteral("Uno"), 1);
    d.principal.pon(QStringLiteral("Cero"), 0.0);
    d.principal.pon(QStringLiteral("Vacio"), QString());
    d.principal.pon(QStringLiteral("Texto"), QStringLiteral("a"));
    for (const auto& c : casos) {
        const Plantilla p = FuenteDePlantilla::Lee(
            QStringLiteral("tabla M doc principal\nformula F1 1\nformula F0 0\nformula FV\n"
                           "banda encabezado_documento 5\ntexto 0 0 50 5 \"X\" si %1\n")
                .arg(QString::fromUtf8(c.condicion)));
        EXPECT_EQ(soloTextos(p, d).contains(QStringLiteral("X")), c.visible) << c.condicion;
    }
}

// An address line of parts: the separators go only between the parts that have data, a part's
// own words ("Col.", "C.P.") go with it, and the line of a client without an address is empty.
TEST(Maquetador, LaDireccionLlevaSeparadoresSoloEntreLasPartesQueHay) {
    const struct {
        const char* calle;
        const char* numero;
        const char* colonia;
        const char* estado;
        const char* linea;
    } casos[] = {
        {"JUÁREZ", "12", "CENTRO", "JALISCO", "JUÁREZ 12, Col. CENTRO, JALISCO"},
        {"JUÁREZ", "", "CENTRO", "JALISCO", "JUÁREZ, Col. CENTRO, JALISCO"},
        {"", "12", "", "JALISCO", "12, JALISCO"},
        {"JUÁREZ", "12", "", "", "JUÁREZ 12"},
        {"", "", "CENTRO", "", "Col. CENTRO"},
        {"", "", "", "JALISCO", "JALISCO"},
        {"", "", "", "", ""},
    };
    const Plantilla p = FuenteDePlantilla::Lee(QStringLiteral(
        "tabla M doc principal\nbanda encabezado_documento 5\n"
        "texto 0 0 150 5 \"{doc.Calle} {doc.Numero}|Col. {doc.Colonia}|{doc.Estado}\" "
        "partes \", \"\n"
        "texto 0 5 150 5 \"Sin partes: {doc.Calle} {doc.Numero}, Col. {doc.Colonia}\"\n"));
    for (const auto& c : casos) {
        DatosDeDocumento d;
        d.principal.pon(QStringLiteral("Calle"), QString::fromUtf8(c.calle));
        d.principal.pon(QStringLiteral("Numero"), QString::fromUtf8(c.numero));
        d.principal.pon(QStringLiteral("Colonia"), QString::fromUtf8(c.colonia));
        d.principal.pon(QStringLiteral("Estado"), QString::fromUtf8(c.estado));
        const QStringList t = soloTextos(p, d);
        ASSERT_EQ(t.size(), 2) << c.linea;
        EXPECT_EQ(t[0], QString::fromUtf8(c.linea));
        // A text without the option keeps its words and separators as written.
        EXPECT_TRUE(t[1].startsWith(QStringLiteral("Sin partes: "))) << qPrintable(t[1]);
    }
}

// A breakdown of up to four rates: rows with tax, and 0 % rows with a base when Ceros is 1.
const QString kDesglose = QStringLiteral(
    "hoja 100x200\nmargenes 0 0 0 0\ntabla M doc principal\ntabla A g\nformula Ceros 0\n"
    "banda encabezado_documento 20\n"
    "texto 0 0 50 5 \"Arriba\"\n"
    "renglones 0 5 50 5 de 1 a 4 si {g.IVA#} o {g.SubIVA#} y {@Ceros}\n"
    "  texto 0 0 50 5 \"IVA {g.IVAp#}% {g.IVA#}\" formato \"0.##\"\n"
    "fin\n"
    "texto 0 5 50 5 \"Debajo\"\n"
    "texto 60 5 30 5 \"Al lado\"\n"
    "texto 0 15 90 5 \"Al pie\"\n"
    "banda pie_documento 5\ntexto 0 0 50 5 \"Siguiente banda\"\n");

DatosDeDocumento desglose() {
    DatosDeDocumento d;
    Fila g;
    const double tasas[] = {0, 8, 0, 16};
    const double bases[] = {100, 50, 0, 200};
    for (int n = 1; n <= 4; ++n) {
        g.pon(QStringLiteral("IVAp%1").arg(n), tasas[n - 1]);
        g.pon(QStringLiteral("SubIVA%1").arg(n), bases[n - 1]);
        g.pon(QStringLiteral("IVA%1").arg(n), tasas[n - 1] * bases[n - 1] / 100);
    }
    d.unicas.insert(QStringLiteral("g"), g);
    return d;
}

TEST(Maquetador, RenglonesSinHuecosEmpujanLoDeAbajoYHacenCrecerLaBanda) {
    Plantilla p = FuenteDePlantilla::Lee(kDesglose);
    const QVector<QPair<QString, double>> sinCeros = {
        {"Arriba", 0},  {"IVA 8% 4", 5}, {"IVA 16% 32", 10},      {"Debajo", 15},
        {"Al lado", 5}, {"Al pie", 25},  {"Siguiente banda", 30},
    };
    EXPECT_EQ(textos(p, desglose()), sinCeros);
    p.valoresDeFormulas[0] = QStringLiteral("1");
    const QVector<QPair<QString, double>> conCeros = {
        {"Arriba", 0},  {"IVA 0% 0", 5}, {"IVA 8% 4", 10}, {"IVA 16% 32", 15},
        {"Debajo", 20}, {"Al lado", 5},  {"Al pie", 30},   {"Siguiente banda", 35},
    };
    EXPECT_EQ(textos(p, desglose()), conCeros);
    // Without rows the list takes no room at all.
    const QVector<QPair<QString, double>> vacio = {
        {"Arriba", 0}, {"Debajo", 5}, {"Al lado", 5}, {"Al pie", 15}, {"Siguiente banda", 20}};
    EXPECT_EQ(textos(p, DatosDeDocumento()), vacio);
}

// Seven rows on pages that hold five, as a page of kPaginaChica in PruebaReporteador does.
QString paginaChica(const QString& porHoja) {
    return QStringLiteral("hoja 100x100\nmargenes 5 10 5 10\n%1\n"
                          "tabla M doc principal\ntabla M lineas detalle enlace Id=doc.Id\n"
                          "banda encabezado_pagina 10\ntexto 0 0 90 5 \"Doc\"\n"
                          "banda encabezado_detalle 5\ntexto 0 0 90 5 \"Columnas\"\n"
                          "banda detalle 10\ntexto 0 0 40 10 \"{lineas.Texto}\"\n"
                          "banda pie_documento 25\ntexto 0 0 90 5 \"Total\"\n"
                          "banda pie_pagina 10\ntexto 0 0 90 5 \"Página {Pagina} de {Paginas}\"\n")
        .arg(porHoja);
}

TEST(Maquetador, PartidasPorHoja) {
    const struct {
        const char* directiva;
        int porHoja; // of the document's PorHoja field
        QVector<int> renglonesPorPagina;
        double yDelTotal;
    } casos[] = {
        {"", 0, {5, 2}, 45},
        {"partidas_por_hoja 3", 0, {3, 3, 1}, 35},
        {"partidas_por_hoja {doc.PorHoja}", 3, {3, 3, 1}, 35},
        {"partidas_por_hoja {doc.PorHoja}", 0, {5, 2}, 45},
        {"partidas_por_hoja {doc.PorHoja}", -2, {5, 2}, 45},
        {"partidas_por_hoja {doc.PorHoja} fijo", 3, {3, 3, 1}, 55},
        {"partidas_por_hoja 9", 0, {5, 2}, 45},
    };
    DatosDeDocumento d;
    for (int i = 1; i <= 7; ++i) {
        Fila f;
        f.pon(QStringLiteral("Texto"), QStringLiteral("R%1").arg(i));
        d.detalle.append({f, {}});
    }
    for (const auto& c : casos) {
        d.principal.pon(QStringLiteral("PorHoja"), c.porHoja);
        const Plantilla p = FuenteDePlantilla::Lee(paginaChica(QString::fromLatin1(c.directiva)));
        QHash<QString, QImage> imagenes;
        Maquetador m(p, imagenes);
        const QVector<PaginaMaquetada> paginas = m.Maqueta({d});
        ASSERT_EQ(paginas.size(), c.renglonesPorPagina.size()) << c.directiva;
        for (int i = 0; i < paginas.size(); ++i) {
            int renglones = 0;
            double yDelTotal = -1;
            for (const Trazo& t : paginas[i].trazos) {
                renglones += t.lineas.value(0).startsWith(QLatin1Char('R')) ? 1 : 0;
                yDelTotal = t.lineas.value(0) == QLatin1String("Total") ? t.rect.top() : yDelTotal;
            }
            EXPECT_EQ(renglones, c.renglonesPorPagina[i]) << c.directiva << " hoja " << i + 1;
            if (i + 1 == paginas.size()) {
                EXPECT_DOUBLE_EQ(yDelTotal, c.yDelTotal) << c.directiva;
            }
        }
    }
}

TEST(Maquetador, ImagenConSusProporcionesOEstirada) {
    QTemporaryDir carpeta;
    QImage logo(10, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(carpeta.filePath(QStringLiteral("logo.png"))));
    // In a box of 40 x 40 the image keeps its proportions at 20 x 40.
    const struct {
        const char* opciones;
        QPoint rojo;
        QPoint blanco;
    } casos[] = {
        {"", {10, 20}, {30, 20}},
        {"alinea centro", {20, 20}, {5, 20}},
        {"alinea der", {30, 20}, {10, 20}},
        {"estira", {30, 20}, {45, 20}},
    };
    for (const auto& c : casos) {
        Plantilla p = FuenteDePlantilla::Lee(
            QStringLiteral("hoja 50x50\nmargenes 0 0 0 0\ntabla M doc principal\n"
                           "banda encabezado_documento 40\n"
                           "imagen 0 0 40 40 \"logo.png\" %1\n"
                           "imagen 0 0 40 40 \"falta.png\"\n")
                .arg(QString::fromLatin1(c.opciones)));
        p.carpeta = carpeta.path();
        QHash<QString, QImage> imagenes;
        Maquetador m(p, imagenes);
        const QVector<PaginaMaquetada> paginas = m.Maqueta({DatosDeDocumento()});
        ASSERT_EQ(paginas.size(), 1);
        ASSERT_EQ(paginas[0].trazos.size(), 2);
        EXPECT_TRUE(paginas[0].trazos[1].imagen.isNull());
        QImage hoja(50, 50, QImage::Format_RGB32); // one pixel a millimetre
        hoja.fill(Qt::white);
        QPainter pintor(&hoja);
        Pintor::Pinta(pintor, paginas[0], 1);
        pintor.end();
        EXPECT_EQ(hoja.pixelColor(c.rojo), QColor(Qt::red)) << c.opciones;
        EXPECT_EQ(hoja.pixelColor(c.blanco), QColor(Qt::white)) << c.opciones;
    }
}

} // namespace
