#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/ImpresionQt.h"
#include "apoyo/Pdf.h"
#include "orvlib/SalidaRevisada.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/DocumentoDeCorrida.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/FuenteDePlantilla.h"
#include "reporteador/Maquetador.h"
#include "reporteador/MedidaDeTexto.h"
#include "reporteador/Plantilla.h"
#include "reporteador/Seleccion.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <gtest/gtest.h>

namespace {

TEST(Seleccion, FormulasQueSeVuelvenCondiciones) {
    const struct {
        const char* seleccion;
        const char* sql;
    } validas[] = {
        {"{Remisiones.Id}=4711", "`Id`=4711"},
        {"{remisiones.Serie} = 'A' and {Remisiones.Factura}>=10", "`Serie`='A' AND `Factura`>=10"},
        {"({Remisiones.Id}<>1 or {Remisiones.Id}<=-2.5) AND NOT {Remisiones.Serie}=\"O'B\"",
         "(`Id`<>1 OR `Id`<=-2.5) AND NOT `Serie`='O''B'"},
        {"   ", ""},
    };
    for (const auto& v : validas) {
        EXPECT_EQ(
            Seleccion::CondicionSql(QString::fromUtf8(v.seleccion), QStringLiteral("Remisiones")),
            QString::fromUtf8(v.sql))
            << v.seleccion;
    }
    // The auxiliary SQLite file quotes names with double quotes and takes backslashes as they are.
    const struct {
        const char* seleccion;
        Sentencias::Motor motor;
        const char* sql;
    } porMotor[] = {
        {"{Remisiones.Serie}='a\\b'", Sentencias::Motor::MySQL, "`Serie`='a\\\\b'"},
        {"{Remisiones.Serie}='a\\b'", Sentencias::Motor::SQLite, "\"Serie\"='a\\b'"},
        {"{Remisiones.Serie}=\"O'B\"", Sentencias::Motor::SQLite, "\"Serie\"='O''B'"},
    };
    for (const auto& v : porMotor) {
        EXPECT_EQ(Seleccion::CondicionSql(QString::fromUtf8(v.seleccion),
                                          QStringLiteral("Remisiones"), v.motor),
                  QString::fromUtf8(v.sql))
            << v.seleccion;
    }
    for (const char* invalida :
         {"{Remisiones.Id}=", "{Remisiones.Id}=1; DROP TABLE x", "{Clientes.Clave}='A'",
          "{Remisiones.Id} like 1", "({Remisiones.Id}=1", "{Remisiones.Serie}='sin cerrar"}) {
        try {
            Seleccion::CondicionSql(QString::fromUtf8(invalida), QStringLiteral("Remisiones"));
            ADD_FAILURE() << "aceptó " << invalida;
        } catch (const ErrorDeReporte& e) {
            EXPECT_EQ(e.numero(), ErrorDeReporte::kPlantilla) << invalida;
        }
    }
}

TEST(FuenteDePlantilla, ErroresConSuLinea) {
    const struct {
        const char* fuente;
        const char* texto;
    } casos[] = {
        {"plantilla x\nhoja servilleta\n", "línea 2: hoja desconocida"},
        {"texto 0 0 10 5 \"sin banda\"\n", "línea 1: el elemento no está en ninguna banda"},
        {"banda detalle 5\ntexto 0 0 diez 5 \"x\"\n", "línea 2: \"diez\" no es un número"},
        {"tabla X remisiones\n", "línea 1: el tipo de tabla"},
        {"banda lateral 5\n", "línea 1: banda desconocida"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" parpadea\n", "línea 2: opción desconocida"},
        {"banda detalle 5\nrenglones 0 0 10 5 de 1 a 3\ntexto 0 0 5 5 \"x\"\n",
         "línea 2: faltó el «fin»"},
        {"banda detalle 5\nrenglones 0 0 10 5 de 1 a 3\nrenglones 0 0 10 5 de 1 a 2\n",
         "línea 3: unos renglones no pueden ir dentro de otros"},
        {"banda detalle 5\nrenglones 0 0 10 5 de 1 a 3\nbanda pie_documento 5\n",
         "línea 3: falta «fin» de los renglones de la línea 2"},
        {"banda detalle 5\nfin\n", "línea 2: «fin» sin renglones"},
        {"banda detalle 5\nrenglones 0 0 10 5 de 3 a 1\n", "línea 2: rango de renglones inválido"},
        {"banda detalle 5\nrenglones 0 0 10 5 1 a 3\n", "línea 2: los renglones se escriben"},
        {"banda detalle 5\nrenglones 0 0 10 0 de 1 a 3\n", "línea 2: el alto de un renglón"},
        {"banda detalle 5\nimagen 0 0 10 5 \"img/logo.png\"\n", "línea 2: la imagen se nombra sin"},
        {"banda detalle 5\nimagen 0 0 10 5 \"logo.gif\"\n", "línea 2: la imagen es un archivo PNG"},
        {"partidas_por_hoja diez\n", "línea 1: partidas_por_hoja lleva un número"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" si {a.b} y\n", "línea 2: faltan datos"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" si a.b\n", "línea 2: la condición se escribe"},
        {"plantilla x y\n", "línea 1: sobra: y"},
        {"banda detalle 5\ntexto 0 0 10 5 \"{remisionesdetalle.De\n",
         "línea 2: faltan las comillas que cierran el texto"},
        // Values cut short or misspelt are refused, not taken for a default.
        {"banda pie_pagina 5\ntexto 0 0 10 5 \"x\" tam 7 alinea c",
         "línea 2: alineación desconocida: c (izq, centro o der)"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" alinea zzz\n", "línea 2: alineación desconocida"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" tam 7 alinea\n", "línea 2: faltan datos"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" tam 0\n", "línea 2: el tamaño de la letra"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" color #33\n", "línea 2: color inválido: #33"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" color red\n", "línea 2: color inválido"},
        {"banda detalle 5\ncaja 0 0 10 5 relleno #e8edf\n", "línea 2: color inválido"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" formato \"#,0.\"\n",
         "línea 2: formato de número inválido"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" formato \"pesos\"\n",
         "línea 2: formato de número inválido"},
        {"banda detalle 5\ntexto 0 0 10 5 \"x\" fecha \"dia\"\n",
         "línea 2: formato de fecha inválido"},
        {"banda detalle 5\ntexto -3 0 10 5 \"x\"\n", "línea 2: X debe estar entre 0 y 1000"},
        {"banda detalle 5\ntexto 0 0 0 5 \"x\"\n", "línea 2: el ancho debe estar entre"},
        {"banda detalle 5\nlinea 0 0 10 5 grueso 40\n", "línea 2: el grueso debe estar entre"},
        {"banda detalle -5\n", "línea 1: el alto de la banda"},
        {"letra \"Liberation Sans\" 0\n", "línea 1: el tamaño de la letra"},
    };
    for (const auto& c : casos) {
        try {
            FuenteDePlantilla::Lee(QString::fromUtf8(c.fuente));
            ADD_FAILURE() << "aceptó " << c.fuente;
        } catch (const ErrorDeReporte& e) {
            EXPECT_TRUE(e.texto().contains(QString::fromUtf8(c.texto))) << qPrintable(e.texto());
        }
    }
    EXPECT_EQ(FuenteDePlantilla::Palabras(
                  QStringLiteral("texto 1 2 \"a \\\"b\\\" c\" relleno #eeeeee # no")),
              (QStringList{"texto", "1", "2", "a \"b\" c", "relleno", "#eeeeee", "#", "no"}));
}

TEST(ArchivoDePlantilla, ElBinarioGuardaLaFuenteYRechazaOtrosArchivos) {
    const QString fuente =
        QStringLiteral("plantilla p\nhoja a4\ntabla M remisiones principal\n"
                       "formula Uno\nbanda detalle 7\ntexto 1 2 3 4 \"Año {remisiones.Id}\"\n");
    const Plantilla p = ArchivoDePlantilla::Lee(ArchivoDePlantilla::Construye(fuente));
    EXPECT_EQ(p.nombre, QStringLiteral("p"));
    EXPECT_DOUBLE_EQ(p.altoHoja, 297);
    EXPECT_EQ(p.formulas, QStringList{"Uno"});
    ASSERT_EQ(p.detalle.elementos.size(), 1);
    EXPECT_EQ(p.detalle.elementos[0].texto, QStringLiteral("Año {remisiones.Id}"));
    try {
        ArchivoDePlantilla::Lee("no es una plantilla");
        ADD_FAILURE();
    } catch (const ErrorDeReporte& e) {
        EXPECT_EQ(e.numero(), ErrorDeReporte::kPlantilla);
    }
}

TEST(ArchivoDePlantilla, UnArchivoDanadoSeDistingueDeUnoSinSuma) {
    const QString fuente =
        QStringLiteral("plantilla p\ntabla M remisiones principal\nbanda detalle 7\n"
                       "texto 1 2 3 4 \"{remisionesdetalle.Descripcion}\"\n");
    const QByteArray sano = ArchivoDePlantilla::Construye(fuente);
    const qsizetype suma = sano.indexOf(QByteArray("SUMA\0", 5));
    ASSERT_GT(suma, 0);
    // As templates were stored before they carried a checksum.
    const QByteArray sinSuma = sano.left(suma) + sano.mid(suma + 5 + 32);
    QByteArray cambiado = sano;
    cambiado[cambiado.size() - 5] = 'X';
    // A byte of a table's name in the entries the program scans, and one of the signature.
    QByteArray tablaCambiada = sano;
    tablaCambiada[sano.indexOf("remisiones") + 3] = 'X';
    QByteArray firmaCambiada = sano;
    firmaCambiada[2] = 'X';
    const struct {
        const char* caso;
        QByteArray archivo;
        const char* error; // empty: read as written
    } casos[] = {
        {"sano", sano, ""},
        {"sin suma", sinSuma, ""},
        {"cortado en el texto", sano.left(sano.size() - 10), "su texto está cortado"},
        {"sin suma y cortado", sinSuma.left(sinSuma.size() - 10), "su texto está cortado"},
        {"cortado antes del texto", sano.left(suma + 8), "está cortada antes de su texto"},
        {"un byte cambiado", cambiado, "su texto no corresponde con su suma de verificación"},
        {"una tabla cambiada", tablaCambiada, "su encabezado (la lista de tablas y fórmulas)"},
        {"una tabla cambiada sin suma",
         sinSuma.left(suma).replace("remisiones", "remisionXs") + sinSuma.mid(suma),
         "su encabezado (la lista de tablas y fórmulas)"},
        {"la firma cambiada", firmaCambiada, "su firma está cambiada"},
    };
    for (const auto& c : casos) {
        try {
            EXPECT_EQ(ArchivoDePlantilla::Fuente(c.archivo), fuente) << c.caso;
            EXPECT_STREQ(c.error, "") << c.caso;
        } catch (const ErrorDeReporte& e) {
            EXPECT_EQ(e.numero(), ErrorDeReporte::kPlantilla) << c.caso;
            EXPECT_TRUE(e.texto().startsWith(QStringLiteral("La plantilla está dañada: ") +
                                             QString::fromUtf8(c.error)))
                << c.caso << ": " << e.texto().toStdString();
        }
    }
}

// A page of 100 mm: 10 top and bottom margins, a page header of 10 and a footer of 10 leave
// 60 mm for the document; headings take 5 and each detail row 10.
const QString kPaginaChica = QStringLiteral(
    "plantilla chica\nhoja 100x100\nmargenes 5 10 5 10\n"
    "tabla M doc principal\ntabla M lineas detalle enlace Id=doc.Id\n"
    "banda encabezado_pagina 10\ntexto 0 0 90 5 \"Doc {doc.Folio}\"\n"
    "banda encabezado_detalle 5\ntexto 0 0 90 5 \"Columnas\"\n"
    "banda detalle 10\ntexto 0 0 40 10 \"{lineas.Texto}\" ajusta\n"
    "texto 50 0 40 10 \"{lineas.Importe}\" formato \"#,0.00\" alinea der si {lineas.Importe}\n"
    "banda pie_documento 25\ntexto 0 0 90 5 \"Total {doc.Total}\" formato \"#,0.00\"\n"
    "banda pie_pagina 10\ntexto 0 0 90 5 \"Página {Pagina} de {Paginas}\"\n");

DatosDeDocumento documento(int folio, int lineas, const QString& texto = QStringLiteral("x")) {
    DatosDeDocumento d;
    d.principal.pon(QStringLiteral("Folio"), folio);
    d.principal.pon(QStringLiteral("Total"), 1234.5);
    for (int i = 0; i < lineas; ++i) {
        Fila f;
        f.pon(QStringLiteral("Texto"), texto);
        f.pon(QStringLiteral("Importe"), i);
        d.detalle.append({f, {}});
    }
    return d;
}

QStringList textos(const PaginaMaquetada& pagina) {
    QStringList t;
    for (const Trazo& trazo : pagina.trazos) {
        t << trazo.lineas.join(QLatin1Char('/'));
    }
    return t;
}

TEST(Maquetador, PaginasEncabezadosRepetidosYPieEntero) {
    const Plantilla p = FuenteDePlantilla::Lee(kPaginaChica);
    QHash<QString, QImage> imagenes;
    Maquetador m(p, imagenes);
    // 5 rows: 5 + 50 fit in 60; the footer of 25 does not and goes to a page of its own. Pages
    // are numbered within each document.
    const QVector<PaginaMaquetada> paginas = m.Maqueta({documento(7, 5), documento(8, 7)});
    ASSERT_EQ(paginas.size(), 4);
    EXPECT_EQ(textos(paginas[0]), (QStringList{"Doc 7", "Columnas", "x", "x", "1.00", "x", "2.00",
                                               "x", "3.00", "x", "4.00", "Página 1 de 2"}));
    EXPECT_EQ(textos(paginas[1]), (QStringList{"Doc 7", "Total 1,234.50", "Página 2 de 2"}));
    EXPECT_EQ(textos(paginas[2]).mid(0, 2), (QStringList{"Doc 8", "Columnas"}));
    EXPECT_EQ(textos(paginas[3]).mid(0, 2), (QStringList{"Doc 8", "Columnas"}));
    EXPECT_TRUE(textos(paginas[3]).contains(QStringLiteral("Total 1,234.50")));
    EXPECT_TRUE(textos(paginas[3]).contains(QStringLiteral("Página 2 de 2")));
    for (const PaginaMaquetada& pagina : paginas) {
        for (const Trazo& t : pagina.trazos) {
            EXPECT_LE(t.rect.bottom(), 100 - 10 + 1e-9);
        }
    }
}

TEST(Maquetador, UnRenglonAjustadoCreceYNoSeParte) {
    const Plantilla p = FuenteDePlantilla::Lee(kPaginaChica);
    QHash<QString, QImage> imagenes;
    Maquetador m(p, imagenes);
    const QString largo = QStringLiteral("palabra ").repeated(24).trimmed();
    const QVector<PaginaMaquetada> paginas = m.Maqueta({documento(1, 2, largo)});
    const Trazo* primero = nullptr;
    for (const Trazo& t : paginas[0].trazos) {
        if (t.lineas.size() > 1) {
            primero = &t;
            break;
        }
    }
    ASSERT_NE(primero, nullptr);
    EXPECT_GT(primero->rect.height(), 10);
    EXPECT_EQ(primero->lineas.join(QLatin1Char(' ')), largo);
    // The second grown row does not fit under the first and starts the next page whole.
    ASSERT_GE(paginas.size(), 2);
    EXPECT_TRUE(textos(paginas[1]).contains(QStringLiteral("Columnas")));
}

// The same text measured again at another width or in another size is cut for that one: what
// was measured before is kept by text, width and font.
TEST(MedidaDeTexto, PartirRespetaElAnchoYLosSaltos) {
    const QString abecedario = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    const QString frase = QStringLiteral("uno dos tres cuatro");
    const struct {
        QString texto;
        double anchoMm;
        double puntos;
        QStringList lineas; // empty: cut inside the word, more than one line
    } casos[] = {
        {QStringLiteral("uno dos\r\ntres"), 200, 9, {"uno dos", "tres"}},
        {abecedario, 10, 9, {}},
        {abecedario, 200, 9, {abecedario}},
        {frase, 40, 9, {frase}},
        {frase, 40, 18, {"uno dos tres", "cuatro"}},
        {frase, 40, 9, {frase}},
    };
    for (const auto& c : casos) {
        QFont letra(QStringLiteral("Liberation Sans"));
        letra.setPointSizeF(c.puntos);
        const QStringList lineas = MedidaDeTexto::Parte(c.texto, c.anchoMm, letra);
        if (c.lineas.isEmpty()) {
            EXPECT_GT(lineas.size(), 1) << qPrintable(c.texto);
            EXPECT_EQ(lineas.join(QString()), c.texto);
        } else {
            EXPECT_EQ(lineas, c.lineas)
                << qPrintable(c.texto) << " " << c.anchoMm << " " << c.puntos;
        }
    }
}

// One page whose only text is the given one.
QVector<PaginaMaquetada> paginaCon(const QString& texto) {
    Trazo t;
    t.rect = QRectF(10, 10, 120, 8);
    t.lineas = {texto};
    t.altoDeLinea = 5;
    t.familia = QStringLiteral("Liberation Sans");
    t.color = Qt::black;
    return {PaginaMaquetada{{t}}};
}

// A run's file painted on the caller's thread or on its own: far more documents than wait for
// the painter, each on its page in the order added; dropped half-way, nothing is left.
TEST(DocumentoDeCorrida, CadaDocumentoEnSuOrdenPinteQuienPinte) {
    CarpetaDePrueba carpeta;
    const QDir pdfs(carpeta.ruta(QStringLiteral("pdf")));
    ASSERT_TRUE(pdfs.mkpath(QStringLiteral(".")));
    Plantilla hoja;
    hoja.nombre = QStringLiteral("hoja");
    hoja.anchoHoja = 140;
    hoja.altoHoja = 30;
    for (const auto hilo : {PinturaDePaginas::Hilo::ElMismo, PinturaDePaginas::Hilo::Propio}) {
        const bool propio = hilo == PinturaDePaginas::Hilo::Propio;
        const QString ruta =
            pdfs.filePath(propio ? QStringLiteral("propio.pdf") : QStringLiteral("mismo.pdf"));
        {
            DocumentoDeCorrida pdf(ruta, {}, DocumentoDeCorrida::Indice::ConMarcadores, hilo);
            for (int n = 1; n <= 40; ++n) {
                pdf.Agrega(hoja, paginaCon(QStringLiteral("Documento %1").arg(n)));
            }
            EXPECT_EQ(pdf.Termina(), ruta);
        }
        const QStringList paginas = PaginasDePdf(ruta);
        ASSERT_EQ(paginas.size(), 40) << propio;
        for (int n = 1; n <= 40; ++n) {
            EXPECT_EQ(paginas[n - 1].trimmed(), QStringLiteral("Documento %1").arg(n)) << propio;
        }

        const QString dejado = pdfs.filePath(QStringLiteral("dejado.pdf"));
        {
            DocumentoDeCorrida pdf(dejado, {}, DocumentoDeCorrida::Indice::ConMarcadores, hilo);
            for (int n = 1; n <= 40; ++n) {
                pdf.Agrega(hoja, paginaCon(QStringLiteral("Documento %1").arg(n)));
            }
        }
        EXPECT_EQ(pdfs.entryList(QDir::Files | QDir::Hidden),
                  propio ? QStringList({QStringLiteral("mismo.pdf"), QStringLiteral("propio.pdf")})
                         : QStringList{QStringLiteral("mismo.pdf")});
    }
}

// A PDF is whole only when something was written and its last bytes close it with %%EOF, also
// when the writer reported no error: a file cut short is never counted as printed.
TEST(PdfCompleto, SoloCuentaElQueTerminaEnSuCierre) {
    const QByteArray largo = QByteArray("%PDF-1.4\n") + QByteArray(5000, 'x');
    const struct {
        const char* caso;
        QByteArray contenido;
        const char* falta;
    } casos[] = {
        {"vacío", QByteArray(), "quedó vacío"},
        {"cortado", largo, "quedó sin su cierre (%%EOF)"},
        {"cortado tras el cierre de otra sección", largo + "\n%%EOF\n1 0 obj",
         "quedó sin su cierre (%%EOF)"},
        {"cerrado", largo + "\nstartxref\n9\n%%EOF\n", ""},
        {"cerrado sin salto final", QByteArray("%PDF-1.4\n%%EOF"), ""},
    };
    for (const auto& c : casos) {
        QBuffer destino;
        ASSERT_TRUE(destino.open(QIODevice::WriteOnly));
        SalidaRevisada salida(destino, QStringLiteral("nota.pdf"));
        ASSERT_TRUE(salida.open(QIODevice::WriteOnly));
        if (!c.contenido.isEmpty()) {
            ASSERT_EQ(salida.write(c.contenido), c.contenido.size());
        }
        EXPECT_FALSE(salida.fallo());
        EXPECT_EQ(DocumentoDeCorrida::FaltaAlPdf(salida), QString::fromUtf8(c.falta)) << c.caso;
    }
}

} // namespace
