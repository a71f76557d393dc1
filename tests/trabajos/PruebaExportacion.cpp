#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/DiscoPequeno.h"
#include "apoyo/LibroLeido.h"
#include "apoyo/NotasConDescuento.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/BaseDeFactura.h"
#include "trabajos/exportacion/EscritorDeLibro.h"
#include "trabajos/exportacion/ExportacionDeFactura.h"
#include "trabajos/exportacion/ExportacionDePorcentaje.h"
#include "trabajos/exportacion/ExportacionDeTope.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QDir>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QDate kDia1(2026, 12, 1);
const QDate kDia2(2026, 12, 2);

// A sheet as read back, whatever the format: its name and rows, the headers first.
struct Hoja {
    QString nombre;
    QVector<QStringList> filas;
    const HojaLeida* xlsx = nullptr;

    QString celda(int fila, int columna) const { return filas.value(fila).value(columna); }
    Importe cifra(int fila, int columna) const { return Importe::DeTexto(celda(fila, columna)); }
    // The sum of a column over the rows of notes (those between the headers and the totals).
    Importe suma(int columna, int totales) const {
        Importe s;
        for (int f = 1; f < filas.size() - totales; ++f) {
            s += cifra(f, columna);
        }
        return s;
    }
};

// The notes of a store with discounts and amounts on half cents (NotasConDescuento), folios 101
// to 107 of series A, the first four on one day and the rest on the next; the invoice job's
// working database ready.
class Exportacion : public TiendaConResguardo {
protected:
    Conexion principal;
    Conexion temporal;
    FacturaDeRemisiones factura{principal, temporal};

    void SetUp() override {
        TiendaConResguardo::SetUp();
        ASSERT_TRUE(base.bases().AbrirBdD(principal));
        ASSERT_TRUE(factura.TomaLaBaseTemporal());
        factura.PreparaBaseTemporal();
        EscribeNotasConDescuento(base, kDia1);
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Fecha='2026-12-02' WHERE Id>=5"));
        // Names a spreadsheet must keep as they are: a comma and quotes, and a formula's look.
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Nombre='PÉREZ, \"EL GÜERO\"' WHERE "
                                    "Id=3"));
        base.ejecuta(QStringLiteral("UPDATE remisiones SET Nombre='=1+1' WHERE Id=4"));
        base.ejecuta(
            QStringLiteral("INSERT INTO clientes (Clave, Nombre) VALUES ('C1', 'ANA SOFÍA')"));
        base.ejecuta(
            QStringLiteral("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123')"));
        base.ejecuta(QStringLiteral("INSERT INTO generales (Localidad2) VALUES ('COLIMA, COL.')"));
    }

    void TearDown() override {
        factura.BorraBaseTemporal();
        factura.SueltaLaBaseTemporal();
    }

    // The book written to a file of that name and read back.
    QVector<Hoja> escribeYLee(const LibroDeCalculo& libro, const QString& nombre) {
        const QString ruta = carpeta.ruta(nombre);
        EscritorDeLibro::Escribe(libro, ruta);
        QVector<Hoja> hojas;
        if (!EscritorDeLibro::EsCsv(ruta)) {
            leidas_ = LeeXlsx(ruta);
            for (const HojaLeida& h : leidas_) {
                hojas << Hoja{h.nombre, h.celdas, &h};
            }
            return hojas;
        }
        const QVector<QStringList> lineas = LeeCsv(CarpetaDePrueba::lee(ruta));
        if (libro.size() == 1) {
            return {Hoja{libro[0].nombre, lineas}};
        }
        // Sheet after sheet: its name on a line, its rows, an empty line.
        bool nueva = true;
        for (const QStringList& linea : lineas) {
            if (linea == QStringList{QString()}) {
                nueva = true;
            } else if (nueva) {
                hojas << Hoja{linea.value(0), {}};
                nueva = false;
            } else {
                hojas.last().filas << linea;
            }
        }
        return hojas;
    }

    // A date as the file keeps it.
    static QString fecha(const Hoja& hoja, const QDate& dia) {
        return hoja.xlsx ? SerieDeFecha(dia.year(), dia.month(), dia.day())
                         : dia.toString(Qt::ISODate);
    }

    // A text as the file keeps it: a CSV keeps a formula's look a text with an apostrophe.
    static QString texto(const Hoja& hoja, const QString& valor) {
        return !hoja.xlsx && valor.startsWith(QLatin1Char('=')) ? QLatin1Char('\'') + valor : valor;
    }

    // The look a spreadsheet gives every sheet: headers in Spanish, first row frozen, columns
    // wide enough, amounts shown with two decimals and dates as dates.
    static void revisaPresentacion(const Hoja& hoja, const QVector<int>& dinero, int columnaFecha) {
        if (hoja.xlsx == nullptr) {
            return;
        }
        const HojaLeida& h = *hoja.xlsx;
        EXPECT_TRUE(h.primeraFilaFija) << qPrintable(hoja.nombre);
        for (int f = 0; f < hoja.filas.size(); ++f) {
            for (int c = 0; c < hoja.filas[f].size(); ++c) {
                EXPECT_GE(h.anchos.value(c), mostrado(h, f, c).size())
                    << qPrintable(hoja.nombre) << " " << f << "," << c;
            }
        }
        for (int f = 1; f < hoja.filas.size(); ++f) {
            for (int c : dinero) {
                EXPECT_EQ(h.formato(f, c), QStringLiteral("#,##0.00")) << f << "," << c;
            }
            bool numero = false;
            h.celda(f, columnaFecha).toInt(&numero);
            if (numero) {
                EXPECT_EQ(h.formato(f, columnaFecha), QStringLiteral("dd/mm/yyyy")) << f;
            }
        }
    }

    // A cell as a spreadsheet shows it, by its number format.
    static QString mostrado(const HojaLeida& h, int fila, int columna) {
        bool numero = false;
        const double valor = h.celda(fila, columna).toDouble(&numero);
        const QString formato = h.formato(fila, columna);
        if (!numero || fila == 0) {
            return h.celda(fila, columna);
        }
        if (formato == QLatin1String("dd/mm/yyyy")) {
            return QStringLiteral("01/12/2026");
        }
        if (formato.startsWith(QLatin1String("#,##0.00")) || formato == QLatin1String("0.00")) {
            const qsizetype decimales = formato.size() - formato.indexOf(QLatin1Char('.')) - 1;
            return Formato::Numero(valor, QStringLiteral("###,###,##0.") +
                                              QString(decimales, QLatin1Char('0')));
        }
        return QString::number(valor, 'g', 10);
    }

public:
    // Runs a job and reads its export back, checking it whole.
    void revisaTope(const QString& archivo);
    void revisaPorcentaje(const QString& archivo);
    void revisaFactura(const QString& archivo);

private:
    QVector<HojaLeida> leidas_;
};

void Exportacion::revisaTope(const QString& archivo) {
    ReimpresionConTope tope(base.conexion(), carpeta.ruta(QStringLiteral("ListaRemisiones.txt")));
    const Importe elTope = Importe::DeTexto(QStringLiteral("3000"));
    const ResultadoDeTope r = tope.Aplica(kDia1, kDia2, QStringLiteral("A"), elTope, 1500);
    ASSERT_GT(r.remisiones, 1);
    ASSERT_LT(r.remisiones, NotasConDescuento().size());
    const QVector<Hoja> hojas =
        escribeYLee(ExportacionDeTope::Libro(base.conexion(), r, elTope), archivo);
    ASSERT_EQ(hojas.size(), 2);
    const Hoja& dias = hojas[0];
    EXPECT_EQ(dias.nombre, QStringLiteral("Días"));
    EXPECT_EQ(dias.filas[0],
              QStringList({"Fecha", "Total real", "Parte del tope", "Total elegido", "Remisiones",
                           "Primer folio nuevo", "Último folio nuevo"}));
    ASSERT_EQ(dias.filas.size(), r.dias.size() + 2);
    for (int d = 0; d < r.dias.size(); ++d) {
        const DiaDeTope& dia = r.dias[d];
        EXPECT_EQ(dias.celda(d + 1, 0), fecha(dias, dia.fecha));
        EXPECT_EQ(dias.cifra(d + 1, 1), dia.totalReal);
        // Each day takes the note that passes its share of the cap.
        EXPECT_LT(dias.cifra(d + 1, 2), dia.aImprimir);
        EXPECT_EQ(dias.cifra(d + 1, 3), dia.aImprimir);
        EXPECT_EQ(dias.celda(d + 1, 4).toInt(), dia.remisiones);
        EXPECT_EQ(QStringLiteral("Del %1 al %2").arg(dias.celda(d + 1, 5), dias.celda(d + 1, 6)),
                  dia.numeros);
    }
    const int totalesDias = dias.filas.size() - 1;
    EXPECT_EQ(dias.cifra(totalesDias, 1), r.real);
    EXPECT_EQ(dias.cifra(totalesDias, 3), r.impreso);
    EXPECT_EQ(dias.celda(totalesDias, 4).toInt(), r.remisiones);
    // The shares add up to the cap, but for the cent each day rounds.
    EXPECT_LE(std::abs((dias.suma(2, 1) - elTope).Diezmilesimos()), 100 * r.dias.size());
    revisaPresentacion(dias, {1, 2, 3}, 0);

    const Hoja& notas = hojas[1];
    EXPECT_EQ(notas.nombre, QStringLiteral("Remisiones elegidas"));
    EXPECT_EQ(notas.filas[0],
              QStringList({"Fecha", "Serie", "Folio original", "Folio nuevo", "Cliente", "Nombre",
                           "Subtotal", "Descuento", "I. V. A.", "IEPS", "Total"}));
    ASSERT_EQ(notas.filas.size(), r.remisiones + 2);
    for (int f = 1; f <= r.remisiones; ++f) {
        QSqlQuery q = base.conexion().consulta(
            QStringLiteral("SELECT r.Id, t.Fecha, r.Factura, t.Subtotal, t.Descuento, t.IVA, "
                           "t.ImpuestoAd, r.Nombre FROM tmpremisiones t JOIN remisiones r ON "
                           "r.Id=t.Id WHERE t.Factura=%1")
                .arg(notas.celda(f, 3)));
        ASSERT_TRUE(q.next()) << qPrintable(notas.celda(f, 3));
        EXPECT_EQ(notas.celda(f, 3).toInt(), 1499 + f);
        EXPECT_EQ(notas.celda(f, 0), fecha(notas, q.value(1).toDate()));
        EXPECT_EQ(notas.celda(f, 1), QStringLiteral("A"));
        EXPECT_EQ(notas.celda(f, 2), q.value(2).toString());
        EXPECT_EQ(notas.celda(f, 5), texto(notas, q.value(7).toString()));
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(notas.cifra(f, 6 + c), Importe::DeVariant(q.value(3 + c))) << f << "," << c;
        }
        const NotaConDescuento& n = NotasConDescuento().at(q.value(0).toInt() - 1);
        EXPECT_EQ(notas.cifra(f, 10).Diezmilesimos(), TotalEnCentavos(n) * 100);
    }
    const int totales = notas.filas.size() - 1;
    EXPECT_EQ(notas.cifra(totales, 10), r.impreso);
    for (int c = 6; c <= 10; ++c) {
        EXPECT_EQ(notas.suma(c, 1), notas.cifra(totales, c)) << c;
    }
    revisaPresentacion(notas, {6, 7, 8, 9, 10}, 0);
}

void Exportacion::revisaPorcentaje(const QString& archivo) {
    ReimpresionConPorcentaje porcentaje(base.conexion());
    const ResumenDePorcentaje r = porcentaje.Comprueba(101, 107, QStringLiteral("A"),
                                                       Decimal::DeTexto(QStringLiteral("12.5")));
    ASSERT_EQ(r.remisiones, 7);
    const QVector<Hoja> hojas =
        escribeYLee(ExportacionDePorcentaje::Libro(base.conexion(), r), archivo);
    ASSERT_EQ(hojas.size(), 1);
    const Hoja& h = hojas[0];
    EXPECT_EQ(h.nombre, QStringLiteral("Remisiones reducidas"));
    EXPECT_EQ(h.filas[0],
              QStringList({"Fecha", "Serie", "Folio", "Cliente", "Nombre", "Subtotal real",
                           "I. V. A. real", "IEPS real", "Total real", "Nuevo subtotal",
                           "Nuevo I. V. A.", "Nuevo IEPS", "Nuevo total"}));
    ASSERT_EQ(h.filas.size(), 9);
    for (int f = 1; f <= 7; ++f) {
        EXPECT_EQ(h.celda(f, 2).toInt(), 100 + f);
        QSqlQuery q = base.conexion().consulta(
            QStringLiteral("SELECT t.Fecha, t.Subtotal, t.IVA, t.ImpuestoAd, r.Nombre FROM "
                           "tmpremisiones t JOIN remisiones r ON r.Id=t.Id WHERE t.Factura=%1")
                .arg(100 + f));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(h.celda(f, 0), fecha(h, q.value(0).toDate()));
        EXPECT_EQ(h.celda(f, 4), texto(h, q.value(4).toString()));
        EXPECT_EQ(h.cifra(f, 8).Diezmilesimos(), TotalEnCentavos(NotasConDescuento()[f - 1]) * 100);
        EXPECT_EQ(h.cifra(f, 5) + h.cifra(f, 6) + h.cifra(f, 7), h.cifra(f, 8));
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(h.cifra(f, 9 + c), Importe::DeVariant(q.value(1 + c))) << f << "," << c;
        }
        EXPECT_EQ(h.cifra(f, 9) + h.cifra(f, 10) + h.cifra(f, 11), h.cifra(f, 12));
    }
    const Importe ventana[] = {r.subtotalReal,  r.ivaReal,  r.impAdReal,  r.totalReal(),
                               r.subtotalNuevo, r.ivaNuevo, r.impAdNuevo, r.totalNuevo()};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(h.cifra(8, 5 + c), ventana[c]) << c;
        EXPECT_EQ(h.suma(5 + c, 1), ventana[c]) << c;
    }
    revisaPresentacion(h, {5, 6, 7, 8, 9, 10, 11, 12}, 0);
}

void Exportacion::revisaFactura(const QString& archivo) {
    const TotalesDeFactura t =
        factura.AplicaPorcentaje({kDia1, kDia2, QString(), QString(), QString(), 15});
    DatosDeFactura d;
    d.serie = QStringLiteral("B");
    d.cliente = QStringLiteral("C1");
    d.fecha = kDia2;
    d.folioPropuesto = 124;
    d.PonTotales(t);
    const FacturaCreada creada = factura.GeneraFactura(d, resguardo);
    const QVector<Hoja> hojas =
        escribeYLee(ExportacionDeFactura::Libro(principal, t, QStringLiteral("B124")), archivo);
    ASSERT_EQ(hojas.size(), 2);
    const Hoja& partidas = hojas[0];
    EXPECT_EQ(partidas.nombre, QStringLiteral("Partidas de la factura"));
    EXPECT_EQ(partidas.filas[0][2], QStringLiteral("Descripción"));
    // The lines are the invoice's as the host stores them.
    QSqlQuery q = base.conexion().consulta(
        QStringLiteral("SELECT Partida, Producto, Cantidad, PrecioNeto, IVA, ImpuestoAd FROM "
                       "facturasdetalle WHERE Id=%1 ORDER BY Partida")
            .arg(creada.id));
    int f = 0;
    while (q.next()) {
        ++f;
        EXPECT_EQ(partidas.celda(f, 0), q.value(0).toString());
        EXPECT_EQ(partidas.celda(f, 1), q.value(1).toString());
        EXPECT_EQ(Decimal::DeTexto(partidas.celda(f, 3)), Decimal::DeVariant(q.value(2)));
        EXPECT_EQ(partidas.cifra(f, 4), Importe::DeVariant(q.value(3)));
        EXPECT_EQ(Decimal::DeTexto(partidas.celda(f, 6)), Decimal::DeVariant(q.value(4)));
        EXPECT_EQ(Decimal::DeTexto(partidas.celda(f, 8)), Decimal::DeVariant(q.value(5)));
        EXPECT_EQ(partidas.cifra(f, 5) + partidas.cifra(f, 7) + partidas.cifra(f, 9),
                  partidas.cifra(f, 10));
    }
    ASSERT_EQ(partidas.filas.size(), f + 2);
    QSqlQuery encabezado = base.conexion().consulta(
        QStringLiteral("SELECT Subtotal, IVA, ImpuestoAd FROM facturas WHERE Id=%1")
            .arg(creada.id));
    ASSERT_TRUE(encabezado.next());
    const Importe despues[] = {t.subtotalDespues, t.ivaDespues, t.iepsDespues};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(partidas.cifra(f + 1, 5 + 2 * i), despues[i]) << i;
        EXPECT_EQ(partidas.suma(5 + 2 * i, 1), despues[i]) << i;
        EXPECT_EQ(Importe::DeVariant(encabezado.value(i)), despues[i]) << i;
    }
    EXPECT_EQ(partidas.cifra(f + 1, 10), t.totalDespues());
    revisaPresentacion(partidas, {5, 7, 9, 10}, -1);

    // Each note: its stored figures before, and after what its reduced lines come to.
    const Hoja& notas = hojas[1];
    EXPECT_EQ(notas.nombre, QStringLiteral("Remisiones de la factura"));
    ASSERT_EQ(notas.filas.size(), 7 + 3);
    for (int n = 1; n <= 7; ++n) {
        const int id = notas.celda(n, 1).toInt() - 100;
        const NotaConDescuento& nota = NotasConDescuento().at(id - 1);
        EXPECT_EQ(notas.cifra(n, 8).Diezmilesimos(), TotalEnCentavos(nota) * 100);
        QSqlQuery lineas = base.conexion().consulta(
            QStringLiteral("SELECT Partida, Cantidad FROM %1.remisionesdetalle WHERE Id=%2")
                .arg(BaseDeFactura::Nombre())
                .arg(id));
        Importe neto, iva, ieps;
        while (lineas.next()) {
            const LineaConDescuento& l = nota.lineas.at(lineas.value(0).toInt() - 1);
            const CifrasDeLinea c =
                CifrasDeLaLinea(nota, l, lineas.value(1).toDouble() / l.cantidad);
            neto += c.neto;
            iva += c.importeIva;
            ieps += c.importeImpAd;
        }
        EXPECT_EQ(notas.cifra(n, 9), neto) << id;
        EXPECT_EQ(notas.cifra(n, 10), iva) << id;
        EXPECT_EQ(notas.cifra(n, 11), ieps) << id;
        EXPECT_EQ(notas.cifra(n, 12), neto + iva + ieps) << id;
    }
    for (int c = 5; c <= 12; ++c) {
        EXPECT_EQ(notas.suma(c, 2), notas.cifra(8, c)) << c;
    }
    EXPECT_EQ(notas.celda(9, 0), QStringLiteral("Totales de la factura B124:"));
    const Importe ventana[] = {t.subtotalAntes,   t.ivaAntes,   t.iepsAntes,   t.totalAntes(),
                               t.subtotalDespues, t.ivaDespues, t.iepsDespues, t.totalDespues()};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(notas.cifra(9, 5 + c), ventana[c]) << c;
    }
    EXPECT_EQ(notas.suma(5, 2), t.subtotalAntes);
    revisaPresentacion(notas, {5, 6, 7, 8, 9, 10, 11, 12}, 2);
}

struct CasoDeExportacion {
    const char* nombre;
    void (Exportacion::*revisa)(const QString&);
    const char* archivo;
};

class ExportacionDeTrabajos : public Exportacion,
                              public ::testing::WithParamInterface<CasoDeExportacion> {};

// Every figure of the file is the working tables' and its totals are those the window shows,
// to the cent, in both formats.
TEST_P(ExportacionDeTrabajos, LasCifrasSonLasDeLaCorrida) {
    (this->*GetParam().revisa)(QString::fromLatin1(GetParam().archivo));
    // The scratch workbook is gone.
    EXPECT_TRUE(QDir(TemporalDelProceso::Carpeta())
                    .entryList({QStringLiteral("exportacion-*")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Trabajos, ExportacionDeTrabajos,
    ::testing::Values(
        CasoDeExportacion{"TopeXlsx", &Exportacion::revisaTope, "tope.xlsx"},
        CasoDeExportacion{"TopeCsv", &Exportacion::revisaTope, "tope.CSV"},
        CasoDeExportacion{"PorcentajeXlsx", &Exportacion::revisaPorcentaje, "porcentaje.xlsx"},
        CasoDeExportacion{"PorcentajeCsv", &Exportacion::revisaPorcentaje, "porcentaje.csv"},
        CasoDeExportacion{"FacturaXlsx", &Exportacion::revisaFactura, "factura.xlsx"},
        CasoDeExportacion{"FacturaCsv", &Exportacion::revisaFactura, "factura.csv"}),
    [](const auto& info) { return std::string(info.param.nombre); });

// A disk that fills and a folder that cannot be written: the refusal names the file and the
// cause, and no file, whole or part, is left.
TEST_F(Exportacion, UnArchivoQueNoCabeONoSePuedeEscribirNoQueda) {
    ReimpresionConPorcentaje porcentaje(base.conexion());
    const LibroDeCalculo libro = ExportacionDePorcentaje::Libro(
        base.conexion(), porcentaje.Comprueba(101, 107, QStringLiteral("A"),
                                              Decimal::DeTexto(QStringLiteral("10"))));
    const struct {
        const char* caso;
        bool lleno;
        const char* dice;
    } casos[] = {{"disco lleno", true, "No hay espacio en el disco para escribir"},
                 {"carpeta de sólo lectura", false, "No se tiene permiso para escribir"}};
    for (const auto& c : casos) {
        for (const char* nombre : {"corrida.xlsx", "corrida.csv"}) {
            DiscoPequeno disco(64);
            if (!disco.Montado()) {
                GTEST_SKIP() << qPrintable(disco.PorQueNo());
            }
            if (c.lleno) {
                disco.Llena();
            } else {
                disco.SoloLectura();
            }
            const QString ruta = disco.ruta(QString::fromLatin1(nombre));
            try {
                EscritorDeLibro::Escribe(libro, ruta);
                ADD_FAILURE() << c.caso << " " << nombre << ": debió fallar";
            } catch (const ErrorOrvlib& e) {
                EXPECT_EQ(e.descripcion(),
                          QString::fromUtf8(c.dice) + QLatin1Char(' ') + QLatin1String(nombre))
                    << c.caso;
                EXPECT_EQ(e.contexto(), ruta);
            }
            EXPECT_TRUE(disco.Archivos().isEmpty())
                << c.caso << ": " << qPrintable(disco.Archivos().join(QLatin1Char(' ')));
        }
    }
}

} // namespace
