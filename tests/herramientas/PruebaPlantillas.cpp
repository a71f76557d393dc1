#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "impresion/MuestraDePlantilla.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/CamposBin.h"
#include "servicios/Proceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QSqlQuery>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct Resultado {
    int codigo = -1;
    QString salida;
    QString errores;
};

// The template kit on a store prepared for printing, with two notes: A-2000 of two lines, one
// of them from size variants, and A-2001 of 25 lines.
class Plantillas : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        AgregaNotas(base, {{1,
                            QDate(2026, 12, 1),
                            350,
                            56,
                            0,
                            QStringLiteral("A"),
                            2000,
                            0,
                            {{1, 100, 16, 0, 0, 0, 0, 0, QStringLiteral("CAMISA")}, {5, 50, 16}}}});
        base.ejecuta(QStringLiteral("UPDATE remisionesdetalle SET IdExterna='RE000000001001' "
                                    "WHERE Id=1 AND Partida=1"));
        base.ejecuta(QStringLiteral("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) "
                                    "VALUES ('RE000000001001', 'T-CH', 2)"));
        QVector<PartidaDePrueba> partidas(25);
        AgregaNotas(base,
                    {{2, QDate(2026, 12, 1), 25, 0, 0, QStringLiteral("A"), 2001, 0, partidas}});
    }

    // entorno: variables to set ("DISPLAY=:97"); with any, the run has no QT_QPA_PLATFORM.
    Resultado plantillas(const QStringList& argumentos, bool conTienda = true,
                         const QStringList& entorno = {}) {
        QStringList todos = argumentos;
        if (conTienda) {
            todos.insert(1, QStringLiteral("--base"));
            todos.insert(2, base.nombre());
            todos.insert(3, QStringLiteral("--servidor"));
            todos.insert(4, base.bases().cRuta);
            todos.insert(5, QStringLiteral("--puerto"));
            todos.insert(6, QString::number(base.bases().cPuerto));
        }
        QProcess proceso;
        if (!entorno.isEmpty()) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
            for (const QString& variable : entorno) {
                env.insert(variable.section(QLatin1Char('='), 0, 0),
                           variable.section(QLatin1Char('='), 1));
            }
            proceso.setProcessEnvironment(env);
        }
        proceso.start(QStringLiteral(DEREMISIONES_PLANTILLAS_EJECUTABLE), todos);
        // The password, never on the command line: root's is empty.
        if (conTienda) {
            proceso.write("\n");
        }
        proceso.closeWriteChannel();
        EXPECT_TRUE(proceso.waitForFinished(120000));
        return {proceso.exitCode(), QString::fromUtf8(proceso.readAllStandardOutput()),
                QString::fromUtf8(proceso.readAllStandardError())};
    }

    QString ruta(const char* nombre) { return carpeta.ruta(QString::fromLatin1(nombre)); }

    // Every table of the store with its checksum, and the scratch databases of samples.
    QStringList estadoDelServidor() {
        QStringList estado;
        QSqlQuery tablas = base.conexion().consulta(QStringLiteral("SHOW TABLES"));
        QStringList nombres;
        while (tablas.next()) {
            nombres << tablas.value(0).toString();
        }
        for (const QString& t : nombres) {
            QSqlQuery suma = base.conexion().consulta(
                QStringLiteral("CHECKSUM TABLE `%1`.`%2`").arg(base.nombre(), t));
            estado << t + QLatin1Char(' ') + (suma.next() ? suma.value(1).toString() : QString());
        }
        QSqlQuery bases =
            base.conexion().consulta(QStringLiteral("SHOW DATABASES LIKE 'deremisiones%'"));
        while (bases.next()) {
            estado << bases.value(0).toString();
        }
        return estado;
    }

    // The line of the shipped source that holds the text.
    static int lineaCon(const QString& fuente, const QString& texto) {
        return static_cast<int>(fuente.left(fuente.indexOf(texto)).count(QLatin1Char('\n'))) + 1;
    }
};

TEST_F(Plantillas, ExtraeDevuelveLaFuenteQueConstruyeHaceIgual) {
    const Resultado r = plantillas(
        {QStringLiteral("extrae"), QStringLiteral("fmtRemision"), ruta("extraida.rpt.fuente")});
    ASSERT_EQ(r.codigo, 0) << qPrintable(r.errores);
    EXPECT_EQ(QString::fromUtf8(CarpetaDePrueba::lee(ruta("extraida.rpt.fuente"))),
              TextoDePlantilla("fmtRemision.rpt.fuente"));
    ASSERT_EQ(plantillas({QStringLiteral("construye"), ruta("extraida.rpt.fuente"),
                          ruta("fmtRemision.rpt")},
                         false)
                  .codigo,
              0);
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    QDir().mkpath(ruta("guardada"));
    campos.ExtraeRPT(QStringLiteral("fmtRemision.rpt"), ruta("guardada"));
    EXPECT_EQ(CarpetaDePrueba::lee(ruta("fmtRemision.rpt")),
              CarpetaDePrueba::lee(ruta("guardada/fmtRemision.rpt")));

    const Resultado falta =
        plantillas({QStringLiteral("extrae"), QStringLiteral("fmtFactura.rpt"), ruta("x")});
    EXPECT_EQ(falta.codigo, 1);
    EXPECT_TRUE(falta.errores.contains(QStringLiteral("No se encontró el archivo fmtFactura.rpt")))
        << qPrintable(falta.errores);
}

TEST_F(Plantillas, RevisaNombraCadaProblemaConSuLinea) {
    const QString fuente = TextoDePlantilla("fmtRemision.rpt.fuente");
    CarpetaDePrueba::escribe(ruta("tal-cual.rpt.fuente"), fuente.toUtf8());
    // A store without the logo: the template prints with a blank space there, as a print does;
    // said, not failed.
    const Resultado sinLogo = plantillas({QStringLiteral("revisa"), ruta("tal-cual.rpt.fuente")});
    EXPECT_EQ(sinLogo.codigo, 0);
    EXPECT_TRUE(sinLogo.salida.startsWith(
        QStringLiteral("Aviso: línea %1: la imagen logo.png no está guardada en reportesbin; se "
                       "imprime en blanco\nSin problemas")
            .arg(lineaCon(fuente, QStringLiteral("imagen ")))))
        << qPrintable(sinLogo.salida);
    GuardaLogo(base);
    const Resultado limpia = plantillas({QStringLiteral("revisa"), ruta("tal-cual.rpt.fuente")});
    EXPECT_EQ(limpia.codigo, 0) << qPrintable(limpia.salida);
    EXPECT_TRUE(limpia.salida.startsWith(QStringLiteral("Sin problemas")))
        << qPrintable(limpia.salida);

    const struct {
        const char* cambio;
        const char* por;
        const char* problema;
    } casos[] = {
        {"{clientes.RFC}", "{clientes.RFCX}",
         "el campo RFCX no existe en la tabla clientes (%1.clientes)"},
        {"{Gravado.IVA#}\" formato", "{Gravado.IVAX#}\" formato",
         "el campo IVAX1 no existe en la tabla Gravado (Auxiliar.MDB)"},
        {"banda detalle 5", "banda renglon 5", "banda desconocida: renglon"},
    };
    for (const auto& c : casos) {
        QString cambiada = fuente;
        cambiada.replace(QString::fromUtf8(c.cambio), QString::fromUtf8(c.por));
        CarpetaDePrueba::escribe(ruta("cambiada.rpt.fuente"), cambiada.toUtf8());
        const Resultado r = plantillas({QStringLiteral("revisa"), ruta("cambiada.rpt.fuente")});
        EXPECT_EQ(r.codigo, 1) << c.por;
        const QString esperado =
            QStringLiteral("línea %1: ").arg(lineaCon(cambiada, QString::fromUtf8(c.por))) +
            QString::fromUtf8(c.problema).arg(base.nombre());
        EXPECT_TRUE(r.salida.split(QLatin1Char('\n')).contains(esperado))
            << qPrintable(esperado) << "\n"
            << qPrintable(r.salida);
    }
}

TEST_F(Plantillas, GuardaNoGuardaLoQueRevisaRechaza) {
    const QString fuente = TextoDePlantilla("fmtRemision.rpt.fuente");
    const struct {
        const char* caso;
        QString texto;
        const char* dice;
    } casos[] = {
        {"cortada", fuente.left(fuente.indexOf(QStringLiteral("{remisionesdetalle.De")) + 20),
         "línea"},
        {"campo que no existe",
         QString(fuente).replace(QStringLiteral("\"{remisiones.Subtotal}\""),
                                 QStringLiteral("\"{remisiones.SubtotalQueNoExiste}\"")),
         "el campo SubtotalQueNoExiste no existe en la tabla remisiones"},
        // Cut in the middle of a value, and cut after a whole word that is not the line's end.
        {"cortada en un valor",
         fuente.left(fuente.lastIndexOf(QStringLiteral("alinea centro")) + 8),
         "alineación desconocida: c (izq, centro o der)"},
        {"cortada tras una palabra", fuente.left(fuente.lastIndexOf(QStringLiteral(" alinea der"))),
         "la línea no termina; el archivo parece cortado"},
        {"alineación mal escrita",
         QString(fuente).replace(QStringLiteral("alinea der"), QStringLiteral("alinea zzz")),
         "alineación desconocida: zzz"},
    };
    const QStringList antes = estadoDelServidor();
    for (const auto& c : casos) {
        CarpetaDePrueba::escribe(ruta("danada.rpt.fuente"), c.texto.toUtf8());
        const Resultado revisa = plantillas({QStringLiteral("revisa"), ruta("danada.rpt.fuente")});
        const Resultado guarda = plantillas({QStringLiteral("guarda"), ruta("danada.rpt.fuente")});
        EXPECT_EQ(revisa.codigo, 1) << c.caso;
        EXPECT_EQ(guarda.codigo, 1) << c.caso;
        EXPECT_TRUE(guarda.errores.contains(QString::fromUtf8(c.dice)))
            << c.caso << "\n"
            << qPrintable(guarda.errores);
        EXPECT_EQ(estadoDelServidor(), antes) << c.caso;
    }
    // An image cut short is not stored.
    QImage logo(60, 40, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    logo.save(ruta("logo.png"), "PNG");
    const QByteArray png = CarpetaDePrueba::lee(ruta("logo.png"));
    CarpetaDePrueba::escribe(ruta("logo.png"), png.left(png.size() / 2));
    const Resultado cortada = plantillas({QStringLiteral("guarda"), ruta("logo.png")});
    EXPECT_EQ(cortada.codigo, 1);
    EXPECT_TRUE(cortada.errores.contains(QStringLiteral("no se puede leer")))
        << qPrintable(cortada.errores);
    EXPECT_EQ(estadoDelServidor(), antes);
    // With the image it places given beside it, the shipped template is stored.
    GuardaLogo(base);
    const Resultado sana =
        plantillas({QStringLiteral("guarda"),
                    QStringLiteral(DEREMISIONES_PLANTILLAS "/fmtRemision.rpt.fuente")});
    EXPECT_EQ(sana.codigo, 0) << qPrintable(sana.errores);
}

TEST_F(Plantillas, MuestraEnPdfSinEscribirEnLaTienda) {
    GuardaLogo(base);
    const QStringList antes = estadoDelServidor();
    const Resultado r =
        plantillas({QStringLiteral("muestra"),
                    QStringLiteral(DEREMISIONES_PLANTILLAS "/fmtRemision.rpt.fuente"),
                    QStringLiteral("--serie"), QStringLiteral("A"), QStringLiteral("--folio"),
                    QStringLiteral("2000"), QStringLiteral("--pdf"), ruta("muestras/nota.pdf")});
    ASSERT_EQ(r.codigo, 0) << qPrintable(r.errores);
    EXPECT_EQ(r.salida.trimmed(), ruta("muestras/nota.pdf"));
    const QString texto = PaginasDePdf(ruta("muestras/nota.pdf")).join(QString());
    for (const char* esperado : {"A 2000", "CAMISA", "T-CH-2", "ABARROTES LA ESPERANZA",
                                 "El Surtidor", "(CUATROCIENTOS SEIS PESOS 00/100 M.N.)"}) {
        EXPECT_TRUE(texto.contains(QString::fromUtf8(esperado))) << esperado;
    }
    EXPECT_EQ(estadoDelServidor(), antes);
    // The data sources point at the store again, as a print leaves them.
    EXPECT_EQ(ArchivoIni(carpeta.archivoOdbc(), ArchivoIni::Estilo::Unix)
                  .lee(QStringLiteral("myodbc3-test"), QStringLiteral("Database")),
              base.nombre());
}

TEST_F(Plantillas, MuestraEnPngUnaImagenPorHoja) {
    base.ejecuta(QStringLiteral("UPDATE configura SET PartidasXhojaRem=10"));
    const struct {
        const char* folio;
        QStringList archivos;
    } casos[] = {
        {"2001", {"png/nota-1.png", "png/nota-2.png", "png/nota-3.png"}},
        {"2000", {"png/nota.png"}},
    };
    for (const auto& c : casos) {
        const Resultado r = plantillas(
            {QStringLiteral("muestra"),
             QStringLiteral(DEREMISIONES_PLANTILLAS "/fmtRemision.rpt.fuente"),
             QStringLiteral("--serie"), QStringLiteral("A"), QStringLiteral("--folio"),
             QString::fromLatin1(c.folio), QStringLiteral("--png"), ruta("png/nota.png")});
        ASSERT_EQ(r.codigo, 0) << qPrintable(r.errores);
        QStringList esperados;
        for (const QString& archivo : c.archivos) {
            esperados << carpeta.ruta(archivo);
            const QImage hoja(carpeta.ruta(archivo));
            EXPECT_EQ(hoja.size(), QSize(1275, 1650)) << qPrintable(archivo);
        }
        EXPECT_EQ(r.salida.trimmed().split(QLatin1Char('\n')), esperados);
    }
}

TEST_F(Plantillas, MuestraDiceQueFalta) {
    const QString fuente = QStringLiteral(DEREMISIONES_PLANTILLAS "/fmtRemision.rpt.fuente");
    const Resultado sinNota =
        plantillas({QStringLiteral("muestra"), fuente, QStringLiteral("--serie"),
                    QStringLiteral("B"), QStringLiteral("--folio"), QStringLiteral("2000"),
                    QStringLiteral("--pdf"), ruta("x.pdf")});
    EXPECT_EQ(sinNota.codigo, 1);
    EXPECT_EQ(sinNota.errores.trimmed(),
              QStringLiteral("No hay remisión con serie «B» y folio 2000 en ") + base.nombre());
    const Resultado dosSalidas = plantillas(
        {QStringLiteral("muestra"), fuente, QStringLiteral("--serie"), QStringLiteral("A"),
         QStringLiteral("--folio"), QStringLiteral("2000"), QStringLiteral("--pdf"), ruta("x.pdf"),
         QStringLiteral("--png"), ruta("x.png")});
    EXPECT_EQ(dosSalidas.codigo, 2);
    EXPECT_TRUE(dosSalidas.errores.contains(QStringLiteral("--ventana")));
    // No display for --ventana, none at all or one that is not there: said in Spanish, with the
    // program's own code, never Qt's English abort.
    for (const char* pantalla : {"", ":97"}) {
        SCOPED_TRACE(pantalla);
        const Resultado sinPantalla = plantillas(
            {QStringLiteral("muestra"), fuente, QStringLiteral("--serie"), QStringLiteral("A"),
             QStringLiteral("--folio"), QStringLiteral("2000"), QStringLiteral("--ventana")},
            true, {QStringLiteral("DISPLAY=") + QString::fromLatin1(pantalla)});
        EXPECT_EQ(sinPantalla.codigo, 1);
        EXPECT_TRUE(
            sinPantalla.errores.contains(QStringLiteral("sin --ventana escribe la muestra")))
            << qPrintable(sinPantalla.errores);
        EXPECT_FALSE(sinPantalla.errores.contains(QStringLiteral("This application")));
    }
    const Resultado sinOrden = plantillas({}, false);
    EXPECT_EQ(sinOrden.codigo, 2);
    EXPECT_TRUE(sinOrden.errores.startsWith(QStringLiteral("Uso: plantillas ORDEN")));
    EXPECT_FALSE(QFile::exists(ruta("x.pdf")));
}

// Each order's help is that order's usage alone, without a store, and says where the manual of
// the format is.
TEST_F(Plantillas, CadaOrdenTieneSuAyuda) {
    for (const char* orden : {"construye", "guarda", "extrae", "revisa", "muestra"}) {
        SCOPED_TRACE(orden);
        const Resultado ayuda =
            plantillas({QString::fromLatin1(orden), QStringLiteral("--help")}, false);
        EXPECT_EQ(ayuda.codigo, 0) << qPrintable(ayuda.errores);
        EXPECT_TRUE(ayuda.salida.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(orden))));
        EXPECT_TRUE(ayuda.salida.contains(QStringLiteral("El manual del formato está en ")));
        for (const char* otra : {"construye", "extrae", "muestra"}) {
            if (std::strcmp(otra, orden) != 0) {
                EXPECT_FALSE(
                    ayuda.salida.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(otra))));
            }
        }
    }
}

// Without connection options the kit works on the store the program is pointed at; with
// them it reads the password from standard input, never from an option.
TEST_F(Plantillas, LaConexionDelProgramaOLaDadaConSuContrasenaAparte) {
    const QString fuente = QStringLiteral(DEREMISIONES_PLANTILLAS "/fmtRemision.rpt.fuente");
    const Resultado sinConfiguracion = plantillas({QStringLiteral("revisa"), fuente}, false);
    EXPECT_EQ(sinConfiguracion.codigo, 1);
    EXPECT_TRUE(sinConfiguracion.errores.contains(QStringLiteral("deremisiones configura")))
        << qPrintable(sinConfiguracion.errores);

    ConfiguraPrograma(carpeta, base);
    const Resultado delPrograma = plantillas({QStringLiteral("revisa"), fuente}, false);
    // It reads the store: the test store has no logo stored, which is a warning.
    EXPECT_EQ(delPrograma.codigo, 0) << qPrintable(delPrograma.errores);
    EXPECT_TRUE(delPrograma.salida.contains(
        QStringLiteral("Aviso: línea 36: la imagen logo.png no está guardada en reportesbin")))
        << qPrintable(delPrograma.salida);

    const Resultado conContrasena = plantillas(
        {QStringLiteral("revisa"), QStringLiteral("--contrasena"), QStringLiteral("x"), fuente});
    EXPECT_EQ(conContrasena.codigo, 2);

    QProcess sinEntrada;
    sinEntrada.start(QStringLiteral(DEREMISIONES_PLANTILLAS_EJECUTABLE),
                     {QStringLiteral("revisa"), QStringLiteral("--base"), base.nombre(), fuente});
    sinEntrada.closeWriteChannel();
    ASSERT_TRUE(sinEntrada.waitForFinished(60000));
    EXPECT_EQ(sinEntrada.exitCode(), 2) << sinEntrada.readAllStandardOutput().toStdString();
    EXPECT_TRUE(QString::fromUtf8(sinEntrada.readAllStandardError())
                    .contains(QStringLiteral("Falta la contraseña")));
}

TEST_F(Plantillas, LaVistaPreviaDeLaMuestra) {
    int hojas = 0;
    QString titulo;
    // The print lets window events run before the preview opens: wait for it.
    QTimer espera;
    QObject::connect(&espera, &QTimer::timeout, [&] {
        auto* vista = qobject_cast<VistaPrevia*>(QApplication::activeModalWidget());
        if (vista == nullptr) {
            return;
        }
        espera.stop();
        titulo = vista->windowTitle();
        // The sample is one document: its pages are paged through one by one.
        for (int p = 0; vista->Documento() == 0 && vista->Pagina() == p; vista->IrA(0, ++p)) {
            hojas += vista->Imagen().isNull() ? 0 : 1;
        }
        vista->close();
    });
    espera.start(50);
    base.ejecuta(QStringLiteral("UPDATE configura SET PartidasXhojaRem=10"));
    const QStringList escritos =
        MuestraDePlantilla(base.conexion())
            .Muestra(TextoDePlantilla("fmtRemision.rpt.fuente"), QStringLiteral("A"), 2001,
                     MuestraDePlantilla::Salida::Ventana);
    EXPECT_TRUE(escritos.isEmpty());
    EXPECT_EQ(hojas, 3);
    EXPECT_EQ(titulo, QStringLiteral("Visualización de 'fmtRemision'"));
    EXPECT_EQ(Proceso::actual().bases->cMiBase, base.nombre());
    EXPECT_EQ(rpt.crpReport.DesvioActual(), ControlDeReporte::Desvio::Pdf);
}

} // namespace
