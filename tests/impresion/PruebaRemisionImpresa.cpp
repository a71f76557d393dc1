#include "apoyo/NotasConDescuento.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/TiendaDePrueba.h"
#include "impresion/ImpresionDeDocumento.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/TextosDeImpresion.h"
#include "orvlib/BasesDD.h"
#include "tienda/CifrasDeLinea.h"
#include "tienda/TablasDeTrabajo.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <optional>

namespace {

// The delivery note as the shipped template prints it, on a store whose notes carry every
// IVA and IEPS rate.
class RemisionImpresa : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        TablasDeTrabajo::Crea(base.conexion());
    }

    // IVA 0, 8 and 16 % and IEPS 0, 8 and 26.5 % over seven lines; taxes on the price alone,
    // as configura's AplicaIVA and AplicaImpAd (both 0) say.
    void notaConTodasLasTasas(int id) {
        const QVector<PartidaDePrueba> partidas = {
            {2, 28.90, 0, 0},     {3, 34.50, 8, 0}, {1, 38.62, 16, 0},    {4, 31.89, 16, 8},
            {2, 68.00, 16, 26.5}, {2, 25.60, 0, 8}, {1, 189.00, 8, 26.5},
        };
        AgregaNotas(base, {{id, QDate(2026, 12, 1), 703.68, 71.75, 100.43, QStringLiteral("A"),
                            2000, 0, partidas}});
        CopiaATrabajo(base, id);
    }

    QStringList imprime(int id, const QString& notas = {}) {
        const qsizetype antes = Nuevos().size();
        PreparativosDeImpresion corrida(base.conexion(), QStringLiteral("fmtRemision.rpt"));
        RemisionAImprimir remision;
        remision.seleccion = QStringLiteral("{Remisiones.Id}=%1").arg(id);
        remision.id = id;
        remision.conDesglose = 6;
        remision.textoNotas = notas;
        remision.tablaEncabezado = QStringLiteral("tmpremisiones");
        remision.tablaDetalle = QStringLiteral("tmpremisionesdetalle");
        Recordset encabezado;
        BasesDD::AbrirTabla(encabezado, base.conexion(),
                            QStringLiteral("tmpremisiones where Id=%1").arg(id));
        ImprimeDocumento(remision, encabezado, base.conexion(), corrida);
        EXPECT_TRUE(dialogos.cajas().isEmpty()) << qPrintable(dialogos.cajas().value(0).texto);
        EXPECT_EQ(Nuevos().size(), antes + 1);
        return Nuevos().size() > antes ? PaginasDePdf(Nuevos().last()) : QStringList();
    }

    // The breakdown's rows as printed: "IVA 16" → "302.18 48.35".
    static QMap<QString, QString> desglose(const QString& texto) {
        static const QRegularExpression renglon(QStringLiteral(
            "^\\s*(IVA|IEPS)\\s+([\\d.]+)\\s*%\\s+([\\d,]+\\.\\d\\d)\\s+([\\d,]+\\.\\d\\d)"));
        QMap<QString, QString> filas;
        for (const QString& linea : texto.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = renglon.match(linea);
            if (m.hasMatch()) {
                filas.insert(m.captured(1) + QLatin1Char(' ') + m.captured(2),
                             m.captured(3) + QLatin1Char(' ') + m.captured(4));
            }
        }
        return filas;
    }

    // The amount printed after a label of the totals column ("IVA", "IEPS").
    static double total(const QString& texto, const QString& etiqueta) {
        const QRegularExpression patron(QStringLiteral("\\s%1\\s+([\\d,]+\\.\\d\\d)\\s*$")
                                            .arg(QRegularExpression::escape(etiqueta)));
        for (const QString& linea : texto.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = patron.match(linea);
            if (m.hasMatch()) {
                return m.captured(1).remove(QLatin1Char(',')).toDouble();
            }
        }
        return -1;
    }

    static double suma(const QMap<QString, QString>& filas, const QString& impuesto) {
        double s = 0;
        for (auto it = filas.cbegin(); it != filas.cend(); ++it) {
            if (it.key().startsWith(impuesto + QLatin1Char(' '))) {
                s += it.value().section(QLatin1Char(' '), 1).remove(QLatin1Char(',')).toDouble();
            }
        }
        return s;
    }
};

TEST_F(RemisionImpresa, CadaTasaConImpuestoTieneSuRenglonYSumanLosTotales) {
    notaConTodasLasTasas(1);
    const QString texto = imprime(1).join(QLatin1Char('\n'));
    const QMap<QString, QString> conImpuesto = {
        {"IVA 8", "292.50 23.40"},
        {"IVA 16", "302.18 48.35"},
        {"IEPS 8", "178.76 14.30"},
        {"IEPS 26.5", "325.00 86.13"},
    };
    EXPECT_EQ(desglose(texto), conImpuesto) << qPrintable(texto);
    EXPECT_DOUBLE_EQ(suma(desglose(texto), QStringLiteral("IVA")), total(texto, "IVA"));
    EXPECT_DOUBLE_EQ(suma(desglose(texto), QStringLiteral("IEPS")), total(texto, "IEPS"));
    EXPECT_DOUBLE_EQ(total(texto, "IVA"), 71.75);
    EXPECT_DOUBLE_EQ(total(texto, "IEPS"), 100.43);
    EXPECT_TRUE(texto.contains(QStringLiteral("Gravado 645.88")));

    // A store that wants them sees the 0 % rates that have a base as well.
    GuardaFuente(base, QStringLiteral("fmtRemision.rpt"),
                 TextoDePlantilla("fmtRemision.rpt.fuente")
                     .replace(QStringLiteral("formula TasasEnCero 0"),
                              QStringLiteral("formula TasasEnCero 1")));
    QMap<QString, QString> todas = conImpuesto;
    todas.insert(QStringLiteral("IVA 0"), QStringLiteral("109.00 0.00"));
    todas.insert(QStringLiteral("IEPS 0"), QStringLiteral("199.92 0.00"));
    EXPECT_EQ(desglose(imprime(1).join(QLatin1Char('\n'))), todas);
}

TEST_F(RemisionImpresa, SinImpuestosNoHayDesgloseNiHuecos) {
    AgregaNotas(base, {{2, QDate(2026, 12, 1), 575, 0, 0, QStringLiteral("A"), 2001}});
    CopiaATrabajo(base, 2);
    const QString texto = imprime(2).join(QLatin1Char('\n'));
    EXPECT_TRUE(desglose(texto).isEmpty());
    EXPECT_FALSE(texto.contains(QStringLiteral("Desglose de impuestos")));
    EXPECT_TRUE(texto.contains(QStringLiteral("575.00")));
}

TEST_F(RemisionImpresa, LasSieteLineasDeLaNota) {
    notaConTodasLasTasas(3);
    QStringList lineas;
    for (int i = 1; i <= 8; ++i) {
        lineas << QStringLiteral("Línea %1 de la nota del cliente.").arg(i);
    }
    const QString texto = imprime(3, lineas.join(QStringLiteral("\r\n"))).join(QLatin1Char('\n'));
    for (int i = 1; i <= 7; ++i) {
        EXPECT_TRUE(texto.contains(lineas[i - 1])) << i;
    }
    EXPECT_FALSE(texto.contains(lineas[7]));
}

TEST_F(RemisionImpresa, PartidasPorHojaDeLaTienda) {
    const struct {
        int porHoja;
        int lineas;
        QVector<int> porPagina;
    } casos[] = {
        {10, 25, {10, 10, 5}},
        {10, 20, {10, 10}},
        {7, 8, {7, 1}},
        {0, 25, {25}},
    };
    int id = 10;
    for (const auto& c : casos) {
        base.ejecuta(QStringLiteral("UPDATE configura SET PartidasXhojaRem=%1").arg(c.porHoja));
        QVector<PartidaDePrueba> partidas;
        for (int i = 1; i <= c.lineas; ++i) {
            PartidaDePrueba p;
            p.precio = i;
            p.producto = QStringLiteral("ART%1").arg(i, 3, 10, QLatin1Char('0'));
            partidas.append(p);
        }
        AgregaNotas(base,
                    {{++id, QDate(2026, 12, 2), 100, 0, 0, QStringLiteral("A"), id, 0, partidas}});
        CopiaATrabajo(base, id);
        const QStringList paginas = imprime(id);
        ASSERT_EQ(paginas.size(), c.porPagina.size()) << c.porHoja << " " << c.lineas;
        for (int i = 0; i < paginas.size(); ++i) {
            EXPECT_EQ(paginas[i].count(QStringLiteral("ART")), c.porPagina[i]) << i;
            EXPECT_TRUE(paginas[i].contains(
                QStringLiteral("Página %1 de %2").arg(i + 1).arg(paginas.size())));
        }
        // The program's page count and the template's agree.
        const QString formula = rpt.crpReport.Lee(29, 1).toString();
        EXPECT_EQ(formula, c.porHoja > 0 ? QStringLiteral("NumeroDePaginas=%1").arg(paginas.size())
                                         : QString());
    }
}

TEST_F(RemisionImpresa, LosPdfSeLlamanPorSerieYFolio) {
    AgregaNotas(base, {{21, QDate(2026, 12, 3), 100, 0, 0, QStringLiteral("A"), 2000},
                       {22, QDate(2026, 12, 3), 100, 0, 0, QStringLiteral("A"), 2001},
                       {23, QDate(2026, 12, 3), 100, 0, 0, QStringLiteral(""), 2002},
                       {24, QDate(2026, 12, 3), 100, 0, 0, QStringLiteral("B/C"), 5},
                       {25, QDate(2026, 12, 3), 100, 0, 0, QStringLiteral("A"), 2000}});
    for (int id = 21; id <= 25; ++id) {
        CopiaATrabajo(base, id);
    }
    ImpresionDeRemisiones(base.conexion()).Imprime();
    QStringList nombres;
    for (const QString& pdf : Nuevos()) {
        nombres << QFileInfo(pdf).fileName();
    }
    EXPECT_EQ(nombres,
              (QStringList{"A-2000.pdf", "A-2001.pdf", "2002.pdf", "B_C-5.pdf", "A-2000-2.pdf"}));
    EXPECT_TRUE(PaginasDePdf(Nuevos().last()).join(QString()).contains(QStringLiteral("A 2000")));
}

TEST_F(RemisionImpresa, ElLogotipoGuardadoJuntoALaPlantilla) {
    AgregaNotas(base, {{31, QDate(2026, 12, 4), 100, 0, 0, QStringLiteral("A"), 3000}});
    CopiaATrabajo(base, 31);
    const auto imagenes = [](const QString& pdf) {
        QProcess lista;
        lista.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        lista.waitForFinished(30000);
        return QString::fromUtf8(lista.readAllStandardOutput()).trimmed().count(QLatin1Char('\n')) -
               1; // two heading lines
    };
    imprime(31);
    EXPECT_EQ(imagenes(Nuevos().last()), 0);

    GuardaLogo(base);
    imprime(31);
    EXPECT_EQ(imagenes(Nuevos().last()), 1);
    EXPECT_TRUE(QDir(carpeta.programa()).entryList({QStringLiteral("*.png")}).isEmpty());
    EXPECT_FALSE(QFile::exists(carpeta.ruta(QStringLiteral("programa/fmtremision.rpt"))));
}

// A printed figure in cents: "1,234.56" gives 123456.
qint64 centavos(QString texto) {
    return Importe::DeTexto(texto.remove(QLatin1Char(','))).Diezmilesimos() / 100;
}

// Reads a printed note as a customer with a calculator does and says what does not add up:
// each line is quantity × price; the lines add to the subtotal, or, on a discounted note, to the
// "Importe" row from which "Descuento" takes it to the subtotal; each breakdown row is base ×
// rate and the rows add to the taxes; Gravado and Sin gravar add to the subtotal; TOTAL is
// subtotal + IVA + IEPS and the words say TOTAL.
class RevisorDeNota {
public:
    explicit RevisorDeNota(const QString& texto)
        : texto_(texto) {}

    QStringList Errores() {
        static const QRegularExpression linea(QStringLiteral(
            "^\\s*([\\d,]+(?:\\.\\d+)?)\\s+([PB]\\d+)\\s+.*\\s([\\d,]+\\.\\d{2,4})\\s+("
            "[\\d,]+\\.\\d\\d)\\s*$"));
        qint64 lineas = 0;
        for (const QString& renglon : texto_.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = linea.match(renglon);
            if (m.hasMatch()) {
                const Decimal q = Decimal::DeTexto(m.captured(1).remove(QLatin1Char(',')));
                const Importe p = Importe::DeTexto(m.captured(3).remove(QLatin1Char(',')));
                comprueba(Importe::PorCantidad(q, p).Diezmilesimos() / 100, centavos(m.captured(4)),
                          QStringLiteral("partida ") + m.captured(2));
                lineas += centavos(m.captured(4));
            }
        }
        const qint64 subtotal = total(QStringLiteral("Subtotal"));
        const qint64 iva = total(QStringLiteral("IVA"));
        const qint64 ieps = total(QStringLiteral("IEPS"));
        const std::optional<qint64> importe = opcional(QStringLiteral("Importe"), QString());
        const std::optional<qint64> descuento = opcional(QStringLiteral("Descuento"), "-");
        if (importe.has_value() != descuento.has_value()) {
            errores_ << QStringLiteral("Importe y Descuento van juntos");
        }
        comprueba(lineas, importe.value_or(subtotal), QStringLiteral("partidas"));
        comprueba(importe.value_or(subtotal) - descuento.value_or(0), subtotal,
                  QStringLiteral("importe menos descuento"));
        comprueba(renglones(QStringLiteral("IVA")), iva, QStringLiteral("desglose del IVA"));
        comprueba(renglones(QStringLiteral("IEPS")), ieps, QStringLiteral("desglose del IEPS"));
        const QRegularExpressionMatch g =
            QRegularExpression(
                QStringLiteral("Gravado ([\\d,]+\\.\\d\\d)\\s+Sin gravar ([\\d,]+\\.\\d\\d)"))
                .match(texto_);
        if (g.hasMatch()) {
            comprueba(centavos(g.captured(1)) + centavos(g.captured(2)), subtotal,
                      QStringLiteral("gravado y sin gravar"));
        }
        const qint64 elTotal = total(QStringLiteral("$"));
        comprueba(subtotal + iva + ieps, elTotal, QStringLiteral("TOTAL"));
        const QString letra = ImporteConLetra(static_cast<double>(elTotal) / 100,
                                              QStringLiteral("PESOS"), QStringLiteral("M.N."), {});
        if (!texto_.simplified().contains(letra.simplified())) {
            errores_ << QStringLiteral("la cantidad con letra no dice %1").arg(letra);
        }
        return errores_;
    }

    qint64 Total() { return total(QStringLiteral("$")); }
    qint64 Subtotal() { return total(QStringLiteral("Subtotal")); }
    bool ConDescuento() { return opcional(QStringLiteral("Descuento"), "-").has_value(); }

private:
    void comprueba(qint64 esperado, qint64 impreso, const QString& que) {
        if (esperado != impreso) {
            errores_ << QStringLiteral("%1: %2 en lugar de %3").arg(que).arg(impreso).arg(esperado);
        }
    }

    // The figure at the end of the line of a totals label, when it is printed.
    std::optional<qint64> opcional(const QString& etiqueta, const QString& signo) {
        const QRegularExpression patron(QStringLiteral("\\s%1\\s+%2([\\d,]+\\.\\d\\d)\\s*$")
                                            .arg(QRegularExpression::escape(etiqueta), signo));
        for (const QString& renglon : texto_.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = patron.match(renglon);
            if (m.hasMatch()) {
                return centavos(m.captured(1));
            }
        }
        return std::nullopt;
    }

    qint64 total(const QString& etiqueta) {
        const std::optional<qint64> valor = opcional(etiqueta, QString());
        if (!valor) {
            errores_ << QStringLiteral("no se imprimió %1").arg(etiqueta);
        }
        return valor.value_or(0);
    }

    // The breakdown's rows of one tax: each checked as base × rate, their taxes summed.
    qint64 renglones(const QString& impuesto) {
        static const QRegularExpression renglon(QStringLiteral(
            "^\\s*(IVA|IEPS)\\s+([\\d.]+)\\s*%\\s+([\\d,]+\\.\\d\\d)\\s+([\\d,]+\\.\\d\\d)"));
        qint64 suma = 0;
        for (const QString& linea : texto_.split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = renglon.match(linea);
            if (m.hasMatch() && m.captured(1) == impuesto) {
                const Importe base = Importe::DeTexto(m.captured(3).remove(QLatin1Char(',')));
                const qint64 impuestoImpreso = centavos(m.captured(4));
                const qint64 calculado =
                    base.PorTasa(Decimal::DeTexto(m.captured(2))).Diezmilesimos() / 100;
                // Each line's tax is rounded on its own: a row may differ by a cent.
                if (std::abs(calculado - impuestoImpreso) > 1) {
                    errores_ << QStringLiteral("%1 %2 %: %3 × tasa no es %4")
                                    .arg(impuesto, m.captured(2), m.captured(3), m.captured(4));
                }
                suma += impuestoImpreso;
            }
        }
        return suma;
    }

    QString texto_;
    QStringList errores_;
};

// Every note of the store's table adds up printed whole and reduced by each percentage; a
// reduction of p % leaves (1 − p) of each note's TOTAL to the cent of each line, discounts
// kept; and the window's new totals are what the printed copies add up to.
class NotasQueSuman : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        EscribeNotasConDescuento(base, QDate(2026, 12, 1));
    }

    // Prints every working copy and checks each one; returns their TOTALs and the sum of
    // their subtotals, in cents.
    std::pair<QVector<qint64>, qint64> imprimeYRevisa(const QString& caso) {
        const qsizetype antes = Nuevos().size();
        ImpresionDeRemisiones(base.conexion()).Imprime();
        const QStringList pdfs = Nuevos().mid(antes);
        const QVector<NotaConDescuento>& notas = NotasConDescuento();
        EXPECT_EQ(pdfs.size(), notas.size()) << qPrintable(caso);
        QVector<qint64> totales;
        qint64 subtotales = 0;
        for (int i = 0; i < pdfs.size() && i < notas.size(); ++i) {
            RevisorDeNota revisor(PaginasDePdf(pdfs[i]).join(QLatin1Char('\n')));
            EXPECT_EQ(revisor.Errores(), QStringList())
                << qPrintable(caso) << " nota " << notas[i].id;
            const bool conDescuento = notas[i].descuentos[0] != 0;
            EXPECT_EQ(revisor.ConDescuento(), conDescuento) << qPrintable(caso) << " " << i;
            totales << revisor.Total();
            subtotales += revisor.Subtotal();
        }
        return {totales, subtotales};
    }
};

TEST_F(NotasQueSuman, CompletasYReducidasSumanAlCentavo) {
    TablasDeTrabajo::Crea(base.conexion());
    const QVector<NotaConDescuento>& notas = NotasConDescuento();
    for (const NotaConDescuento& n : notas) {
        CopiaATrabajo(base, n.id);
    }
    const QVector<qint64> completos = imprimeYRevisa(QStringLiteral("completas")).first;
    for (int i = 0; i < completos.size(); ++i) {
        EXPECT_EQ(completos[i], TotalEnCentavos(notas[i])) << notas[i].id;
    }

    ReimpresionConPorcentaje trabajo(base.conexion());
    for (const char* p : {"7", "15", "33.33", "50"}) {
        const Decimal porcentaje = Decimal::DeTexto(QString::fromLatin1(p));
        const ResumenDePorcentaje r =
            trabajo.Comprueba(101, 100 + notas.size(), QStringLiteral("A"), porcentaje);
        const auto [totales, subtotales] = imprimeYRevisa(QStringLiteral("%1 %").arg(p));
        qint64 suma = 0;
        for (int i = 0; i < totales.size(); ++i) {
            // (1 − p) of the whole note's TOTAL, within a cent for each of its lines.
            const double esperado =
                static_cast<double>(completos[i]) * (1 - porcentaje.ADouble() / 100);
            EXPECT_LE(std::abs(static_cast<double>(totales[i]) - esperado),
                      static_cast<double>(notas[i].lineas.size()) + 1e-6)
                << p << " % nota " << notas[i].id << ": " << totales[i] << " de " << completos[i];
            suma += totales[i];
        }
        EXPECT_EQ(suma, r.totalNuevo().Diezmilesimos() / 100) << p;
        EXPECT_EQ(subtotales, r.subtotalNuevo.Diezmilesimos() / 100) << p;
    }
}

} // namespace
