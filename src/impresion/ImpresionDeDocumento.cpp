#include "impresion/ImpresionDeDocumento.h"

#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/AuxiliarDeLaCorrida.h"
#include "impresion/DesgloseDeImpuestos.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/Puntero.h"
#include "impresion/TextosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "orvlib/AlSalir.h"
#include "orvlib/Sentencias.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"

#include <QSqlQuery>
#include <exception>

double TotalDelDocumento(const Recordset& encabezado) {
    double total = 0;
    for (const char* campo : {"Subtotal", "IVA", "ImpuestoAd", "Cargo1Cantidad", "Cargo2Cantidad",
                              "Cargo3Cantidad", "Retencion"}) {
        total += encabezado.campo(QString::fromLatin1(campo)).toDouble();
    }
    return total;
}

bool Pregunta(const QString& pregunta, const QString& titulo, bool noPorDefecto) {
    return Dialogos::actual().pregunta(pregunta, titulo, noPorDefecto);
}

QString TextoDeNotas(const QString& clave, const QString& tipo, Conexion& conexionHost) {
    QString texto;
    Recordset rs;
    try {
        BasesDD::AbrirTabla(
            rs, conexionHost,
            QStringLiteral("textos where Clave like '") +
                Sentencias::Patron(tipo + libKwtm::Pad(clave, 15, QStringLiteral(" "), 0)) +
                QStringLiteral("%'") + Sentencias::EscapeDePatron() +
                QStringLiteral(" order by Clave"));
        for (; !rs.fin(); rs.siguiente()) {
            texto += rs.campo(QStringLiteral("Texto")).toString();
        }
    } catch (const std::exception&) {
        // What was gathered stays; the notes tables are the next place to look.
    }
    if (!texto.isEmpty()) {
        return texto;
    }
    const QString tabla = tipo == QLatin1String("CLI")   ? QStringLiteral("textosclientes")
                          : tipo == QLatin1String("PRO") ? QStringLiteral("textosproveedores")
                                                         : QStringLiteral("textosproductos");
    try {
        if (BasesDD::AbrirTabla(rs, conexionHost,
                                tabla + Utilerias::CambXXX(QStringLiteral(" where Clave='XXX'"),
                                                           Sentencias::Escapa(clave)))) {
            texto = rs.campo(QStringLiteral("Notas")).toString();
        }
    } catch (const std::exception&) {
        return texto;
    }
    return texto;
}

PartidasImpresas SumaPartidas(const QVector<LineaImpresa>& lineas) {
    PartidasImpresas p;
    for (const LineaImpresa& l : lineas) {
        ++p.lineas;
        p.deTallaOColor += l.deTallaOColor ? 1 : 0;
        p.importe += Importe::PorCantidad(l.cantidad, l.precio);
    }
    return p;
}

void FormulasDeDescuento(const Recordset& encabezado, Importe importeDePartidas,
                         std::array<QString, 21>& formulas) {
    bool conDescuento =
        Importe::DeVariant(encabezado.campo(QStringLiteral("Descuento"))) != Importe();
    for (int n = 1; n <= 5; ++n) {
        conDescuento =
            conDescuento ||
            Importe::DeVariant(encabezado.campo(QStringLiteral("Desc%1").arg(n))) != Importe();
    }
    if (!conDescuento) {
        return;
    }
    const Importe subtotal = Importe::DeVariant(encabezado.campo(QStringLiteral("Subtotal")));
    formulas[2] = QStringLiteral("ImporteDePartidas=") + importeDePartidas.TextoSql();
    formulas[3] =
        QStringLiteral("DescuentoDePartidas=") + (importeDePartidas - subtotal).TextoSql();
}

namespace {

// The note's header row, its total less the advance of kinds 2 and 3, and its currency.
struct Encabezado {
    const Recordset& rs;
    double total = 0;
    qint32 moneda = 0;
};

Encabezado leeEncabezado(const Recordset& rs, const RemisionAImprimir& r) {
    Encabezado e{rs};
    if (!rs.fin()) {
        e.total = TotalDelDocumento(rs);
        if (r.tipoDocumento == 2 || r.tipoDocumento == 3) {
            e.total -= rs.campo(QStringLiteral("Anticipo")).toDouble();
        }
        e.moneda = rs.campo(QStringLiteral("Moneda")).toInt();
    }
    return e;
}

// The page count and the discount column's formulas, from the note's printed lines.
PartidasImpresas ponFormulas(modRPTs& rpt, const Encabezado& e, const QVector<LineaImpresa>& lineas,
                             int lineasPorHoja) {
    const PartidasImpresas partidas = SumaPartidas(lineas);
    if (lineasPorHoja > 0) {
        const auto paginas =
            partidas.lineas / lineasPorHoja + (partidas.lineas % lineasPorHoja > 0 ? 1 : 0);
        rpt.stFormulas[1] = QStringLiteral("NumeroDePaginas=%1").arg(paginas);
    }
    if (!e.rs.fin()) {
        FormulasDeDescuento(e.rs, partidas.importe, rpt.stFormulas);
    }
    return partidas;
}

// What the template reads from the auxiliary file besides the company: the amount in words,
// the exchange rates, the note text and the tax breakdown of the lines it prints from: those
// given, else those of its detail table, read for it.
void llenaAuxiliar(PreparativosDeImpresion& corrida, const Encabezado& e,
                   const RemisionAImprimir& r, const QVector<LineaImpresa>* lineasDelDetalle,
                   Conexion& conexionHost) {
    const QVector<LineaImpresa> lineas =
        r.conDesglose == 0 || e.rs.fin() || lineasDelDetalle != nullptr
            ? QVector<LineaImpresa>()
            : LeeLineasImpresas(conexionHost, r.tablaDetalle, r.tipoDocumento,
                                QString::number(r.id));
    const QString& ruta = corrida.Auxiliar().Ruta();
    corrida.Auxiliar().Llena([&] {
        const MonedasDeLaCorrida::Moneda nombres =
            corrida.Monedas().De(e.moneda == 0 ? 1 : e.moneda);
        ImporteConLetra(e.total, nombres.nombre, nombres.abreviacion, ruta);
        GuardaParidades(corrida.Monedas().ParidadesDeLaTienda(), ruta);
        GuardaNotas(ruta, r.textoNotas);
        if (r.conDesglose != 0 && !e.rs.fin()) {
            DesgloseDeImpuestos(e.rs, lineasDelDetalle != nullptr ? *lineasDelDetalle : lineas,
                                ruta, corrida.Reglas());
        }
    });
}

} // namespace

void ImprimeDocumento(const RemisionAImprimir& r, const Recordset& filaDeEncabezado,
                      Conexion& conexionHost, PreparativosDeImpresion& corrida) {
    const Encabezado encabezado = leeEncabezado(filaDeEncabezado, r);
    PunteroOcupado();
    const AlSalir punteroNormal([] { PunteroNormal(); });
    modRPTs& rpt = modRPTs::actual();
    rpt.InicializaReporte();
    rpt.stMarcador = r.nombre;
    // The note's lines are read once: the page count, the discount column and the breakdown
    // use them, unless the note prints its lines from another table.
    const QString id = QString::number(r.id);
    const QString tablaDePartidas = r.tablaEncabezado + QStringLiteral("detalle");
    const bool otroDetalle = r.tablaDetalle.compare(tablaDePartidas, Qt::CaseInsensitive) != 0;
    const QVector<LineaImpresa> lineas =
        r.lineas != nullptr ? *r.lineas
                            : LeeLineasImpresas(conexionHost, tablaDePartidas, r.tipoDocumento, id);
    const PartidasImpresas partidas = ponFormulas(rpt, encabezado, lineas, corrida.LineasPorHoja());
    // The note's size and colour rows exist only for its print: they go after it, and also
    // when a step of it fails (then quietly, so as not to hide that step's error). The lines
    // just read tell whether any has such rows to write; a note with none writes nothing.
    const QString prefijoTallas =
        QStringLiteral("RE") + libKwtm::Pad(id, 9, QStringLiteral("0"), 2);
    const bool conTallas = !r.tallasDelBloque && (partidas.deTallaOColor > 0 || otroDetalle);
    // A preview writes nothing to the host: its rows go to the run's auxiliary file.
    const bool enVista = rpt.crpReport.DesvioActual() == ControlDeReporte::Desvio::Ventana;
    const bool enElHost = conTallas && !enVista;
    const AlSalir borraTallasSiFalla([&conexionHost, &prefijoTallas, enElHost] {
        if (enElHost && std::uncaught_exceptions() > 0) {
            BorraPartidasTallaOColor(conexionHost, prefijoTallas);
        }
    });
    Conexion propia;
    Conexion* auxiliar =
        enVista ? &AuxiliarDeLaCorrida::Abre(corrida.Auxiliar().Ruta(), propia) : nullptr;
    if (auxiliar != nullptr) {
        VaciaPartidasTallaOColor(*auxiliar);
    }
    if (conTallas) {
        PartidasTallaOColor(conexionHost, r.tablaDetalle, r.id, QStringLiteral("Id"), auxiliar);
    }
    llenaAuxiliar(corrida, encabezado, r, otroDetalle ? nullptr : &lineas, conexionHost);
    rpt.ImprimeFormato(corrida.Plantilla(), r.seleccion, corrida.Auxiliar().Ruta(),
                       QStringLiteral("remisiones"), r.tablaEncabezado,
                       QStringLiteral("remisionesdetalle"), r.tablaDetalle);
    try {
        if (enElHost) {
            BorraPartidasTallaOColor(conexionHost, prefijoTallas);
        }
    } catch (const ErrorOrvlib& e) {
        throw ErrorDespuesDeImprimir(e);
    }
}
