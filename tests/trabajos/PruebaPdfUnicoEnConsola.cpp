#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// The percentage job from the command line over three notes, printed into one PDF.
class PdfUnicoEnConsola : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        const QDate dia(2026, 11, 2);
        AgregaNotas(base, {{11, dia, 1000, 160, 0, QStringLiteral("A"), 501},
                           {12, dia, 500, 80, 0, QStringLiteral("A"), 502},
                           {13, dia, 200, 32, 0, QStringLiteral("A"), 503}});
    }

    struct Salida {
        int codigo = -1;
        QString errores;
    };

    static Salida corre(const QStringList& opciones) {
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                       QStringList{QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                                   QStringLiteral("501"), QStringLiteral("--final"),
                                   QStringLiteral("503"), QStringLiteral("--porcentaje"),
                                   QStringLiteral("15"), QStringLiteral("--serie"),
                                   QStringLiteral("A")} +
                           opciones);
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardError())};
    }
};

TEST_F(PdfUnicoEnConsola, LasOpcionesQueNoSeCombinanSeRechazan) {
    const QString pdf = carpeta.ruta(QStringLiteral("corrida.pdf"));
    const struct {
        QStringList opciones;
        const char* dice;
    } casos[] = {
        {{QStringLiteral("--pdf-unico"), pdf}, "--pdf-unico requiere --imprimir"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf, QStringLiteral("--pdf"),
          carpeta.ruta(QStringLiteral("pdf"))},
         "--pdf y --pdf-unico no se combinan"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), QStringLiteral(" ")},
         "--pdf-unico necesita el nombre"},
        {{QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "--desde-remision requiere --imprimir"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--continuar"),
          QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "--continuar y --desde-remision no se combinan"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--omitir-pendientes")},
         "--omitir-pendientes solo sirve con --desde-remision"},
        // Nothing of this job was printed yet: there is no run to go on with or reprint.
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf,
          QStringLiteral("--desde-remision"), QStringLiteral("1500")},
         "Este trabajo no tiene una impresión anterior"},
        {{QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf,
          QStringLiteral("--continuar")},
         "Este trabajo no tiene una impresión anterior"},
    };
    for (const auto& c : casos) {
        const Salida s = corre(c.opciones);
        EXPECT_EQ(s.codigo, 2) << c.dice;
        EXPECT_TRUE(s.errores.contains(QString::fromUtf8(c.dice))) << qPrintable(s.errores);
    }
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

TEST_F(PdfUnicoEnConsola, LasRemisionesDeLaCorridaQuedanEnUnArchivo) {
    const QString pdf = carpeta.ruta(QStringLiteral("mes/noviembre.pdf"));
    const Salida s = corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"), pdf});
    EXPECT_EQ(s.codigo, 0) << qPrintable(s.errores);
    const QStringList paginas = PaginasDePdf(pdf);
    ASSERT_EQ(paginas.size(), 3);
    // The reduced copies, in order: 85 % of each subtotal.
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("850.00")));
    EXPECT_TRUE(paginas[1].contains(QStringLiteral("425.00")));
    EXPECT_TRUE(paginas[2].contains(QStringLiteral("170.00")));
    EXPECT_EQ(QDir(carpeta.ruta(QStringLiteral("mes"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("noviembre.pdf")});
}

TEST_F(PdfUnicoEnConsola, UnArchivoQueNoSePuedeEscribirEsUnaFallaSinRestos) {
    // The folder named is a file: the PDF cannot be made there.
    const QString estorbo = carpeta.ruta(QStringLiteral("estorbo"));
    CarpetaDePrueba::escribe(estorbo, "no es una carpeta");
    const Salida s = corre({QStringLiteral("--imprimir"), QStringLiteral("--pdf-unico"),
                            QDir(estorbo).filePath(QStringLiteral("corrida.pdf"))});
    EXPECT_EQ(s.codigo, 1) << qPrintable(s.errores);
    EXPECT_TRUE(s.errores.contains(QStringLiteral("Se imprimieron 0 de 3 remisiones.")))
        << qPrintable(s.errores);
    EXPECT_EQ(CarpetaDePrueba::lee(estorbo), QByteArray("no es una carpeta"));
}

} // namespace
