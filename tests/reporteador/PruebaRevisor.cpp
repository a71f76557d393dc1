#include "apoyo/ImpresionQt.h"
#include "reporteador/FuenteDePlantilla.h"
#include "reporteador/RevisorDePlantilla.h"

#include <gtest/gtest.h>

namespace {

CatalogoDeDatos catalogo() {
    CatalogoDeDatos c;
    c.columnas.insert(QStringLiteral("m doc"), {"Id", "Folio", "Cliente"});
    c.columnas.insert(QStringLiteral("m lineas"), {"Id", "Partida", "Texto"});
    c.columnas.insert(QStringLiteral("m clientes"), {"Clave", "Nombre"});
    c.columnas.insert(QStringLiteral("a g"), {"IVA1", "IVA2", "IVAp1", "IVAp2"});
    for (const char* t : {"m doc", "m lineas", "m clientes", "m faltante"}) {
        c.origenes.insert(QString::fromLatin1(t),
                          QStringLiteral("tienda.") + QString::fromLatin1(t).mid(2));
    }
    c.origenes.insert(QStringLiteral("a g"), QStringLiteral("Auxiliar.MDB"));
    c.archivos = QStringList{"logo.png"};
    c.lugarDeArchivos = QStringLiteral("reportesbin");
    return c;
}

TEST(RevisorDePlantilla, NombraCadaProblemaConSuLinea) {
    const Plantilla p = FuenteDePlantilla::Lee(QStringLiteral(
        "tabla M doc principal\n"                                                    // 1
        "tabla M lineas detalle enlace Id=doc.Ide orden \"Partida DESC, Textos\"\n"  // 2
        "tabla M clientes busca enlace Clave=docs.Cliente\n"                         // 3
        "tabla M faltante\n"                                                         // 4
        "tabla A g\n"                                                                // 5
        "formula Paginas\n"                                                          // 6
        "partidas_por_hoja {doc.PorHoja}\n"                                          // 7
        "archivo \"{doc.Serie}-{doc.Folio}\"\n"                                      // 8
        "banda encabezado_pagina 10\n"                                               // 9
        "texto 0 0 10 5 \"{clientes.Nombre} {clientes.Nmbre} {Pagina}/{Paginas}\"\n" // 10
        "imagen 0 0 10 5 \"logo.png\"\n"                                             // 11
        "imagen 0 0 10 5 \"LOGO2.png\" si {@Logo}\n"                                 // 12
        "banda detalle 5\n"                                                          // 13
        "texto 0 0 10 5 \"{lineas.Texto*doc.Importe} {Total} {@Paginas}\"\n"         // 14
        "renglones 0 0 10 5 de 1 a 3 si {g.IVA#} o no {g.IVAp#}\n"                   // 15
        "texto 0 0 10 5 \"{#}: {g.IVAp#}\" si {otra.Campo}\n"                        // 16
        "fin\n"                                                                      // 17
        "texto 0 0 10 5 \"{lineas.Texto} {lineas.Te\"\n"));                          // 18
    EXPECT_EQ(RevisorDePlantilla(p, catalogo()).Revisa(),
              (QStringList{
                  "línea 2: el campo Ide no existe en la tabla doc (tienda.doc)",
                  "línea 2: el campo Textos no existe en la tabla lineas (tienda.lineas)",
                  "línea 3: {docs.Cliente}: la tabla docs no está declarada con «tabla»",
                  "línea 4: la tabla faltante no existe (se lee de tienda.faltante)",
                  "línea 7: el campo PorHoja no existe en la tabla doc (tienda.doc)",
                  "línea 8: el campo Serie no existe en la tabla doc (tienda.doc)",
                  "línea 10: el campo Nmbre no existe en la tabla clientes (tienda.clientes)",
                  "línea 12: la fórmula Logo no está declarada con «formula»",
                  "línea 12: la imagen LOGO2.png no está guardada en reportesbin",
                  "línea 14: el campo Importe no existe en la tabla doc (tienda.doc)",
                  "línea 14: no se entiende {Total}: los campos se escriben {Tabla.Campo} y las "
                  "fórmulas {@Formula}",
                  "línea 15: el campo IVA3 no existe en la tabla g (Auxiliar.MDB)",
                  "línea 15: el campo IVAp3 no existe en la tabla g (Auxiliar.MDB)",
                  "línea 16: {otra.Campo}: la tabla otra no está declarada con «tabla»",
                  "línea 16: el campo IVAp3 no existe en la tabla g (Auxiliar.MDB)",
                  "línea 18: falta cerrar la llave de {lineas.Te",
              }));
}

TEST(RevisorDePlantilla, RevisaCadaBanda) {
    const char* const bandas[] = {"encabezado_pagina", "encabezado_documento", "encabezado_detalle",
                                  "detalle",           "pie_documento",        "pie_pagina"};
    QString fuente = QStringLiteral("tabla M doc principal\n");
    QStringList esperados;
    for (const char* banda : bandas) {
        fuente += QStringLiteral("banda %1 5\ntexto 0 0 10 5 \"{doc.Fol}\"\n").arg(banda);
        esperados << QStringLiteral("línea %1: el campo Fol no existe en la tabla doc (tienda.doc)")
                         .arg(fuente.count(QLatin1Char('\n')));
    }
    EXPECT_EQ(RevisorDePlantilla(FuenteDePlantilla::Lee(fuente), catalogo()).Revisa(), esperados);
}

TEST(RevisorDePlantilla, UnaPlantillaSanaNoTieneProblemas) {
    const Plantilla p = FuenteDePlantilla::Lee(QStringLiteral(
        "tabla M doc principal\ntabla M lineas detalle enlace Id=doc.Id orden Partida\n"
        "tabla A g\nformula NumeroDePaginas\nbanda detalle 5\n"
        "texto 0 0 10 5 \"{LINEAS.texto} {g.iva1+g.IVA2} {@numerodepaginas}\" si {doc.Folio}\n"
        "imagen 0 0 10 5 \"Logo.PNG\"\n"));
    EXPECT_EQ(RevisorDePlantilla(p, catalogo()).Revisa(), QStringList());
    const Plantilla sinPrincipal =
        FuenteDePlantilla::Lee(QStringLiteral("\n\ntabla M doc\ntabla A g\n"));
    EXPECT_EQ(RevisorDePlantilla(sinPrincipal, catalogo()).Revisa(),
              QStringList{"línea 3: la plantilla no tiene tabla principal"});
}

} // namespace
