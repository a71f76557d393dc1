#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/PlantillaDeLaCorrida.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "servicios/Proceso.h"
#include "vistaprevia/VistaPrevia.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray fuenteDePrueba() {
    QFile f(QStringLiteral(DEREMISIONES_FIXTURES "/fmtPrueba.rpt.fuente"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A program folder, the test database with the test template stored, the ODBC data sources of
// an installation and an auxiliary file with the company row.
class Impresion : public TiendaDePrueba {
protected:
    QString auxiliar = carpeta.ruta(QStringLiteral("programa/Temporal/AUX_1.MDB"));
    QString pdfs = carpeta.ruta(QStringLiteral("pdf"));
    modRPTs& m = modRPTs::actual();
    qsizetype generadosAntes = m.crpReport.ArchivosGenerados().size();

    void SetUp() override {
        Proceso& p = Proceso::actual();
        p.stCarpetaPrograma = carpeta.programa() + QLatin1Char('/');
        p.stIniHost = carpeta.ruta(QStringLiteral("host/Orvane.ini"));
        carpeta.registraOrigenesOdbc();
        guardaPlantilla(QStringLiteral("fmtPrueba.rpt"), QString::fromUtf8(fuenteDePrueba()));
        // The schema the run's check reads the auxiliary tables from.
        GuardaPlantilla(base, "Auxiliar.MDB.sql");
        QDir().mkpath(QFileInfo(auxiliar).path());
        {
            QSqlDatabase db =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("aux-prueba"));
            db.setDatabaseName(auxiliar);
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("CREATE TABLE Generales (Empresa TEXT)"));
            q.exec(QStringLiteral("INSERT INTO Generales VALUES ('DISTRIBUIDORA DE PRUEBA')"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("aux-prueba"));
        base.ejecuta(QStringLiteral("INSERT INTO clientes (Clave, Nombre, RFC) VALUES "
                                    "('C001', 'JOSÉ O''REILLY', 'ORJ750303KK4')"));
        QVector<PartidaDePrueba> partidas;
        for (int i = 1; i <= 60; ++i) {
            PartidaDePrueba pd;
            pd.precio = i * 10.5;
            partidas.append(pd);
        }
        AgregaNotas(base,
                    {{1, QDate(2026, 11, 2), 1234.5, 0, 0, QStringLiteral("A"), 77, 0, partidas}});
        base.ejecuta(QStringLiteral(
            "UPDATE remisionesdetalle SET Descripcion=CONCAT('ARTÍCULO ', Partida)"));
        m.crpReport.DirigeAPdf(pdfs);
    }

    void guardaPlantilla(const QString& nombre, const QString& fuente) {
        CamposBin campos;
        campos.BaseDD = &base.conexion();
        campos.GuardaRPT(nombre, ArchivoDePlantilla::Construye(fuente));
    }

    // Note 1 with the formulas given from index 1 on, its header and lines read from the
    // tables given.
    void imprime(const QString& formato = QStringLiteral("fmtPrueba.rpt"),
                 const QStringList& formulas = {QStringLiteral("NumeroDePaginas=3")},
                 const QString& encabezados = QStringLiteral("remisiones"),
                 const QString& partidas = QStringLiteral("remisionesdetalle")) {
        m.InicializaReporte();
        for (qsizetype i = 0; i < formulas.size(); ++i) {
            m.stFormulas[i + 1] = formulas[i];
        }
        const PlantillaDeLaCorrida corrida(base.conexion(), formato);
        m.ImprimeFormato(corrida, QStringLiteral("{Remisiones.Id}=1"), auxiliar,
                         QStringLiteral("remisiones"), encabezados,
                         QStringLiteral("remisionesdetalle"), partidas);
    }

    // The error of a print that must fail; no box is shown for it and no file is left.
    ErrorOrvlib falla(const std::function<void()>& impresion) {
        try {
            impresion();
        } catch (const ErrorOrvlib& e) {
            EXPECT_TRUE(dialogos.cajas().isEmpty());
            EXPECT_EQ(m.crpReport.ArchivosGenerados().size(), generadosAntes);
            EXPECT_EQ(plantillasQueQuedan(), QStringList());
            return e;
        }
        ADD_FAILURE() << "la impresión debió fallar";
        return ErrorOrvlib(0, {}, {});
    }

    // Template files anywhere under the program folder.
    QStringList plantillasQueQuedan() const {
        QStringList quedan;
        QDirIterator it(carpeta.programa(), {QStringLiteral("*.rpt")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            quedan << it.next();
        }
        return quedan;
    }
};

TEST_F(Impresion, ImprimeEnPdfPorElOrigenOdbcConPaginasNumeradas) {
    imprime();
    ASSERT_TRUE(dialogos.cajas().isEmpty()) << qPrintable(dialogos.cajas().value(0).texto);
    ASSERT_EQ(m.crpReport.ArchivosGenerados().size(), generadosAntes + 1);
    const QString pdf = m.crpReport.ArchivosGenerados().last();
    EXPECT_EQ(QFileInfo(pdf).fileName(), QStringLiteral("fmtprueba-1.pdf"));
    const QStringList paginas = PaginasDePdf(pdf);
    ASSERT_GE(paginas.size(), 2);
    for (int i = 0; i < paginas.size(); ++i) {
        EXPECT_TRUE(
            paginas[i].contains(QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())))
            << qPrintable(paginas[i]);
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("DISTRIBUIDORA DE PRUEBA")));
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("Remisión A-77")));
        EXPECT_TRUE(paginas[i].contains(QStringLiteral("Descripción")));
    }
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("Páginas según el programa: 3")));
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("JOSÉ O'REILLY")));
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("ARTÍCULO 1 ")));
    EXPECT_TRUE(paginas.last().contains(QStringLiteral("ARTÍCULO 60")));
    EXPECT_TRUE(paginas.last().contains(QStringLiteral("630.00")));
    EXPECT_TRUE(paginas.last().contains(QStringLiteral("Subtotal 1,234.50")));
    EXPECT_FALSE(QFile::exists(carpeta.ruta(QStringLiteral("programa/fmtprueba.rpt"))));
}

TEST_F(Impresion, UnaConexionPerdidaEntreImpresionesSeRehace) {
    imprime();
    QSqlQuery propias = base.conexion().consulta(
        QStringLiteral(
            "SELECT ID FROM information_schema.PROCESSLIST WHERE DB=? AND ID<>CONNECTION_ID()"),
        {base.nombre()});
    int cortadas = 0;
    while (propias.next()) {
        base.ejecuta(QStringLiteral("KILL ") + propias.value(0).toString());
        ++cortadas;
    }
    EXPECT_GE(cortadas, 1);
    imprime();
    EXPECT_TRUE(dialogos.cajas().isEmpty());
    EXPECT_EQ(m.crpReport.ArchivosGenerados().size(), generadosAntes + 2);
}

TEST_F(Impresion, LaVistaPreviaMuestraLasPaginas) {
    imprime();
    QString carpetaPrograma;
    modRPTs::ExtraeFormato(base.conexion(), QStringLiteral("fmtprueba.rpt"), carpetaPrograma,
                           QStringLiteral("reportesbin"));
    m.crpReport.Asigna(24, 0);
    int hojas = 0;
    QTimer::singleShot(0, [&hojas] {
        auto* vista = qobject_cast<VistaPrevia*>(QApplication::activeModalWidget());
        ASSERT_NE(vista, nullptr);
        // One page at a time: the next one until there is no other.
        for (int p = 0; vista->Pagina() == p; vista->IrA(0, ++p)) {
            hojas += vista->Imagen().isNull() ? 0 : 1;
        }
        vista->close();
    });
    m.crpReport.Asigna(17, 1);
    EXPECT_EQ(hojas, 2);
    EXPECT_EQ(m.crpReport.PaginasDelUltimo(), 2);
}

TEST_F(Impresion, UnOrigenDeDatosQueNoExisteEsElErrorDelServidor) {
    ControlDeReporte motor;
    QString carpetaPrograma;
    modRPTs::ExtraeFormato(base.conexion(), QStringLiteral("fmtprueba.rpt"), carpetaPrograma,
                           QStringLiteral("reportesbin"));
    motor.Asigna(3, carpetaPrograma + QStringLiteral("fmtprueba.rpt"));
    motor.Asigna(20, QStringLiteral("DSN=no-existe;UID=root;PWD=;"));
    motor.Asigna(24, 1);
    try {
        motor.Asigna(17, 1);
        FAIL() << "debió fallar";
    } catch (const ErrorDeReporte& e) {
        EXPECT_EQ(e.numero(), ErrorDeReporte::kServidor);
        EXPECT_TRUE(e.texto().contains(QStringLiteral("no-existe")));
    }
}

TEST_F(Impresion, UbicacionesYFormulasQueRecibeElMotor) {
    const ErrorOrvlib e = falla([this] {
        imprime(
            QStringLiteral("fmtPrueba.rpt"),
            {QStringLiteral("NumeroDePaginas=3"), QStringLiteral("Otra=1"), QStringLiteral("=4")},
            QStringLiteral("tmpremisiones"), QStringLiteral("tmpremisionesdetalle"));
    });
    // The working tables do not exist here: the engine cannot read them, after every setting
    // was made.
    EXPECT_EQ(e.numero(), ErrorDeReporte::kTabla);
    EXPECT_TRUE(e.descripcion().contains(QStringLiteral("tmpremisiones")));
    EXPECT_EQ(e.contexto(), QStringLiteral("fmtprueba.rpt"));
    EXPECT_EQ(m.crpReport.Lee(32, 0).toString(), base.nombre() + QStringLiteral(".tmpremisiones"));
    EXPECT_EQ(m.crpReport.Lee(32, 1).toString(),
              base.nombre() + QStringLiteral(".tmpremisionesdetalle"));
    EXPECT_EQ(m.crpReport.Lee(32, 2).toString(), base.nombre() + QStringLiteral(".clientes"));
    EXPECT_EQ(m.crpReport.Lee(32, 3).toString(), auxiliar);
    EXPECT_EQ(m.crpReport.Lee(32, 4).toString(), QString());
    EXPECT_EQ(m.crpReport.Lee(29, 1).toString(), QStringLiteral("NumeroDePaginas=3"));
    EXPECT_EQ(m.crpReport.Lee(29, 2).toString(), QString());
    EXPECT_EQ(m.crpReport.Lee(29, 3).toString(), QString());
    EXPECT_EQ(m.crpReport.Lee(20).toString(),
              QStringLiteral("DSN=myodbc3-test;SERVER=%1;DB=%2;UID=root;PWD=;")
                  .arg(base.bases().cRuta, base.nombre()));
}

TEST_F(Impresion, UnaFormulaQueElMotorNoTomaFallaConSuNombre) {
    const ErrorOrvlib e = falla([this] {
        imprime(QStringLiteral("fmtPrueba.rpt"), {QStringLiteral("NumeroDePaginas=\"3")});
    });
    EXPECT_EQ(e.numero(), ErrorDeReporte::kFormula);
    EXPECT_EQ(e.descripcion(),
              QStringLiteral("Es posible que una de estas fórmulas no exista en el formato:\r\n"
                             "NumeroDePaginas"));
}

// An unreadable table restarts the listing from the second Generales entry once; when it
// fails again, the print fails with the engine's error instead of ending in silence.
TEST_F(Impresion, UnaTablaIlegibleReiniciaDesdeElSegundoGeneralesYLuegoFalla) {
    guardaPlantilla(QStringLiteral("fmtDos.rpt"),
                    QStringLiteral("plantilla dos\n"
                                   "tabla M remisiones principal\n"
                                   "tabla A Generales\n"
                                   "tabla M noexiste busca enlace Id=remisiones.Id\n"
                                   "tabla A Generales\n"
                                   "banda detalle 5\n"
                                   "texto 0 0 50 5 \"{Generales.Empresa}\"\n"));
    // The table is there when the run checks the template and gone when the note prints.
    const ErrorOrvlib e = falla([this] {
        base.ejecuta(QStringLiteral("CREATE TABLE noexiste (Id INT)"));
        const PlantillaDeLaCorrida corrida(base.conexion(), QStringLiteral("fmtDos.rpt"));
        base.ejecuta(QStringLiteral("DROP TABLE noexiste"));
        m.InicializaReporte();
        m.ImprimeFormato(corrida, QStringLiteral("{Remisiones.Id}=1"), auxiliar,
                         QStringLiteral("remisiones"), QStringLiteral("remisiones"),
                         QStringLiteral("remisionesdetalle"), QStringLiteral("remisionesdetalle"));
    });
    EXPECT_EQ(e.numero(), ErrorDeReporte::kTabla);
    EXPECT_EQ(e.contexto(), QStringLiteral("fmtdos.rpt"));
    EXPECT_EQ(m.inReintento, 2);
    EXPECT_EQ(m.crpReport.Lee(32, 0).toString(), auxiliar);
}

TEST_F(Impresion, UnaPlantillaQueNoEstaFalla) {
    const ErrorOrvlib e = falla([this] { imprime(QStringLiteral("fmtNoExiste.rpt")); });
    EXPECT_EQ(e.numero(), 53);
    EXPECT_TRUE(e.descripcion().contains(QStringLiteral("fmtnoexiste.rpt")));
}

} // namespace
