#include "impresion/ImpresionDeDocumento.h"

#include "impresion/AuxiliarDeImpresion.h"
#include "impresion/DesgloseDeImpuestos.h"
#include "impresion/PreparativosDeImpresion.h"
#include "impresion/Puntero.h"
#include "impresion/TextosDeImpresion.h"
#include "impresion/modRPTs.h"
#include "orvlib/AlSalir.h"
#include "orvlib/Sentencias.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"

#include <QFile>
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

PartidasImpresas SumaPartidas(Conexion& conexionHost, const QString& tablaDetalle,
                              const QString& id) {
    QSqlQuery q = conexionHost.consulta(
        QStringLiteral("SELECT Cantidad, PrecioNeto, IdExterna<>'' FROM %1 WHERE Id=%2")
            .arg(Sentencias::Nombre(tablaDetalle), id));
    PartidasImpresas p;
    while (q.next()) {
        ++p.lineas;
        p.deTallaOColor += q.value(2).toInt() == 1 ? 1 : 0;
        p.importe +=
            Importe::PorCantidad(Decimal::DeVariant(q.value(0)), Importe::DeVariant(q.value(1)));
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

// The currency's name and abbreviation: the run's, read once, or the store's row of that Id.
MonedasDeLaCorrida::Moneda monedaDe(qint32 id, Conexion& conexionHost,
                                    const PreparativosDeImpresion* preparativos) {
    if (preparativos != nullptr) {
        return preparativos->Monedas().De(id);
    }
    MonedasDeLaCorrida::Moneda m;
    Recordset monedas;
    if (BasesDD::AbrirTabla(monedas, conexionHost, QStringLiteral("monedas where Id=%1").arg(id))) {
        m.nombre = monedas.campo(QStringLiteral("Nombre")).toString();
        m.abreviacion = monedas.campo(QStringLiteral("Abreviacion")).toString();
    }
    BasesDD::CierraTabla(monedas);
    return m;
}

} // namespace

void ImprimeDocumento(const QString& seleccion, const QString& archivoFormato, qint16 tipoDocumento,
                      qint32 idDocumento, Conexion& conexionHost, qint16 conDesglose,
                      const QString& textoNotas, const QString& tablaEncabezado,
                      const QString& tablaDetalle, PreparativosDeImpresion* preparativos) {
    const int lineasPorHoja = preparativos != nullptr
                                  ? preparativos->LineasPorHoja()
                                  : BasesDD::LeeDato(QStringLiteral("PartidasXhojaRem"),
                                                     conexionHost, QStringLiteral("configura"))
                                        .toInt();
    const QString id = QString::number(idDocumento);
    Recordset encabezado;
    double total = 0;
    qint32 moneda = 0;
    if (BasesDD::AbrirTabla(encabezado, conexionHost,
                            tablaEncabezado + QStringLiteral(" where Id=") + id)) {
        total = TotalDelDocumento(encabezado);
        if (tipoDocumento == 2 || tipoDocumento == 3) {
            total -= encabezado.campo(QStringLiteral("Anticipo")).toDouble();
        }
        moneda = encabezado.campo(QStringLiteral("Moneda")).toInt();
    }
    const MonedasDeLaCorrida::Moneda nombres =
        monedaDe(moneda == 0 ? 1 : moneda, conexionHost, preparativos);

    PunteroOcupado();
    const AlSalir punteroNormal([] { PunteroNormal(); });
    modRPTs& rpt = modRPTs::actual();
    rpt.InicializaReporte();
    const QString tablaDePartidas = tablaEncabezado + QStringLiteral("detalle");
    const PartidasImpresas partidas = SumaPartidas(conexionHost, tablaDePartidas, id);
    if (lineasPorHoja > 0) {
        const auto paginas =
            partidas.lineas / lineasPorHoja + (partidas.lineas % lineasPorHoja > 0 ? 1 : 0);
        rpt.stFormulas[1] = QStringLiteral("NumeroDePaginas=%1").arg(paginas);
    }
    if (!encabezado.fin()) {
        FormulasDeDescuento(encabezado, partidas.importe, rpt.stFormulas);
    }
    // The note's size and colour rows exist only for its print: they go after it, and also
    // when a step of it fails (then quietly, so as not to hide that step's error).
    const QString prefijoTallas =
        QStringLiteral("RE") + libKwtm::Pad(id, 9, QStringLiteral("0"), 2);
    const AlSalir borraTallasSiFalla([&conexionHost, &prefijoTallas] {
        if (std::uncaught_exceptions() > 0) {
            BorraPartidasTallaOColor(conexionHost, prefijoTallas);
        }
    });
    // The lines just read tell whether any has size or colour rows to write.
    if (partidas.deTallaOColor > 0 ||
        tablaDetalle.compare(tablaDePartidas, Qt::CaseInsensitive) != 0) {
        PartidasTallaOColor(conexionHost, tablaDetalle, idDocumento, QStringLiteral("Id"));
    }

    QString rutaAuxiliar;
    if (preparativos != nullptr) {
        preparativos->Auxiliar().Vacia();
        rutaAuxiliar = preparativos->Auxiliar().Ruta();
    } else {
        rutaAuxiliar = NombreAuxiliarTemporal();
    }
    // The note's own auxiliary file goes when the print ends, also when a step of it fails.
    const AlSalir borraAuxiliar([&rutaAuxiliar, preparativos] {
        if (preparativos == nullptr) {
            QFile::remove(rutaAuxiliar);
        }
    });
    if (preparativos == nullptr) {
        PreparaAuxiliar(conexionHost, rutaAuxiliar, QString(), QString());
    }
    ImporteConLetra(total, nombres.nombre, nombres.abreviacion, rutaAuxiliar);
    if (preparativos != nullptr) {
        GuardaParidades(preparativos->Monedas().ParidadesDeLaTienda(), rutaAuxiliar);
    } else {
        GuardaParidades(conexionHost, rutaAuxiliar);
    }
    GuardaNotas(rutaAuxiliar, textoNotas);
    if (conDesglose != 0 && !encabezado.fin()) {
        DesgloseDeImpuestos(tipoDocumento, conexionHost, encabezado, rutaAuxiliar, tablaDetalle,
                            preparativos != nullptr ? std::optional(preparativos->Reglas())
                                                    : std::nullopt);
    }
    rpt.ImprimeFormato(archivoFormato, seleccion, conexionHost, rutaAuxiliar,
                       QStringLiteral("remisiones"), tablaEncabezado,
                       QStringLiteral("remisionesdetalle"), tablaDetalle);
    BasesDD::CierraTabla(encabezado);
    try {
        BorraPartidasTallaOColor(conexionHost, prefijoTallas);
    } catch (const ErrorOrvlib& e) {
        throw ErrorDespuesDeImprimir(e);
    }
}
