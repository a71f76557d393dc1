#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/LibroLeido.h"
#include "apoyo/NotasConDescuento.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/Formato.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QDate kDia1(2026, 12, 1);

// The three commands with --exportar: the file named relative to the folder the command runs
// in lands there (as the cap's --resumen does), with its sheets and the totals the command
// prints.
class ExportacionEnConsola : public TiendaConResguardo {
protected:
    void SetUp() override {
        TiendaConResguardo::SetUp();
        EscribeNotasConDescuento(base, kDia1);
        base.ejecuta(
            QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES ('C1', 'ANA SOFÍA')"));
        base.ejecuta(
            QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123')"));
        ArchivoIni(Proceso::actual().stArchivoIni)
            .escribe(QStringLiteral("Configuración"), QStringLiteral("Base de datos de resguardo"),
                     resguardo);
    }
};

TEST_F(ExportacionEnConsola, ElArchivoQuedaDondeSeCorreLaOrden) {
    const struct {
        QStringList argumentos;
        const char* archivo;
        QStringList hojas;
    } casos[] = {
        {{"tope", "--desde", "01/12/2026", "--hasta", "01/12/2026", "--tope", "1000000", "--folio",
          "1500", "--serie", "A", "--resumen", "resumen.pdf"},
         "tope.xlsx",
         {"Días", "Remisiones elegidas"}},
        {{"porcentaje", "--inicial", "101", "--final", "107", "--porcentaje", "10", "--serie", "A"},
         "porcentaje.xlsx",
         {"Remisiones reducidas"}},
        {{"factura", "--desde", "01/12/2026", "--hasta", "01/12/2026", "--porcentaje", "0",
          "--serie-factura", "B", "--cliente", "C1", "--generar"},
         "mes/factura.xlsx",
         {"Partidas de la factura", "Remisiones de la factura"}},
    };
    const QString trabajo = carpeta.ruta(QStringLiteral("contador"));
    ASSERT_TRUE(QDir().mkpath(trabajo + QStringLiteral("/mes")));
    for (const auto& c : casos) {
        QProcess programa;
        programa.setWorkingDirectory(trabajo);
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE),
                       c.argumentos + QStringList{QStringLiteral("--exportar"),
                                                  QString::fromLatin1(c.archivo)});
        ASSERT_TRUE(programa.waitForFinished(60000));
        EXPECT_EQ(programa.exitCode(), 0) << programa.readAllStandardError().toStdString();
        const QString salida = QString::fromUtf8(programa.readAllStandardOutput());
        const QVector<HojaLeida> hojas =
            LeeXlsx(QDir(trabajo).filePath(QString::fromLatin1(c.archivo)));
        QStringList nombres;
        for (const HojaLeida& h : hojas) {
            nombres << h.nombre;
        }
        ASSERT_EQ(nombres, c.hojas) << c.archivo;
        // The total the command prints is the file's last total.
        const HojaLeida& ultima = hojas.last();
        const QString total = ultima.celdas.last().last();
        EXPECT_TRUE(
            salida.contains(Formato::Numero(total.toDouble(), QStringLiteral("###,###,##0.00"))))
            << c.archivo << " " << qPrintable(total) << "\n"
            << qPrintable(salida);
    }
    // The run's summary, named the same way, lands there too.
    EXPECT_TRUE(QFileInfo::exists(QDir(trabajo).filePath(QStringLiteral("resumen.pdf"))));
}

} // namespace
