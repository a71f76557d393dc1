#include "reporteador/FuenteDePlantilla.h"

#include "reporteador/ErrorDeReporte.h"

#include <map>

namespace {

// Reads one line's words in order, failing with the line number.
class Lector {
public:
    Lector(QStringList palabras, int linea)
        : palabras_(std::move(palabras))
        , linea_(linea) {}

    bool quedan() const { return i_ < palabras_.size(); }
    QString palabra() {
        if (!quedan()) {
            falla(QStringLiteral("faltan datos"));
        }
        return palabras_[i_++];
    }
    double numero() {
        const QString p = palabra();
        bool ok = false;
        const double n = p.toDouble(&ok);
        if (!ok) {
            falla(QStringLiteral("\"%1\" no es un número").arg(p));
        }
        return n;
    }
    QColor color() {
        const QColor c(palabra());
        if (!c.isValid()) {
            falla(QStringLiteral("color inválido"));
        }
        return c;
    }
    [[noreturn]] void falla(const QString& texto) const {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("Plantilla, línea %1: %2").arg(linea_).arg(texto));
    }

private:
    QStringList palabras_;
    qsizetype i_ = 0;
    int linea_;
};

void leeHoja(Plantilla& p, Lector& l) {
    const QString hoja = l.palabra().toLower();
    if (hoja == QLatin1String("carta")) {
        p.anchoHoja = 215.9;
        p.altoHoja = 279.4;
    } else if (hoja == QLatin1String("oficio")) {
        p.anchoHoja = 215.9;
        p.altoHoja = 355.6;
    } else if (hoja == QLatin1String("a4")) {
        p.anchoHoja = 210;
        p.altoHoja = 297;
    } else {
        const QStringList medidas = hoja.split(QLatin1Char('x'));
        bool okAncho = false;
        bool okAlto = false;
        if (medidas.size() != 2) {
            l.falla(QStringLiteral("hoja desconocida: ") + hoja);
        }
        p.anchoHoja = medidas[0].toDouble(&okAncho);
        p.altoHoja = medidas[1].toDouble(&okAlto);
        if (!okAncho || !okAlto) {
            l.falla(QStringLiteral("hoja desconocida: ") + hoja);
        }
    }
}

void leeTabla(Plantilla& p, Lector& l) {
    TablaDePlantilla t;
    const QString tipo = l.palabra().toUpper();
    if (tipo != QLatin1String("M") && tipo != QLatin1String("A")) {
        l.falla(QStringLiteral("el tipo de tabla es M (ODBC) o A (archivo auxiliar)"));
    }
    t.deAccess = tipo == QLatin1String("A");
    t.nombre = l.palabra();
    while (l.quedan()) {
        const QString p2 = l.palabra().toLower();
        if (p2 == QLatin1String("principal")) {
            t.papel = TablaDePlantilla::Papel::Principal;
        } else if (p2 == QLatin1String("detalle")) {
            t.papel = TablaDePlantilla::Papel::Detalle;
        } else if (p2 == QLatin1String("busca")) {
            t.papel = TablaDePlantilla::Papel::Busqueda;
        } else if (p2 == QLatin1String("orden")) {
            t.orden = l.palabra();
        } else if (p2 == QLatin1String("enlace")) {
            const QString enlace = l.palabra();
            const qsizetype igual = enlace.indexOf(QLatin1Char('='));
            const qsizetype punto = enlace.indexOf(QLatin1Char('.'), igual);
            if (igual <= 0 || punto < 0) {
                l.falla(QStringLiteral("el enlace se escribe Campo=Tabla.Campo"));
            }
            t.campoPropio = enlace.left(igual);
            t.tablaEnlace = enlace.mid(igual + 1, punto - igual - 1);
            t.campoEnlace = enlace.mid(punto + 1);
        } else {
            l.falla(QStringLiteral("opción de tabla desconocida: ") + p2);
        }
    }
    p.tablas.append(t);
}

void leeOpcionDeTexto(ElementoDePlantilla& e, const QString& opcion, Lector& l) {
    if (opcion == QLatin1String("tam")) {
        e.tamano = l.numero();
    } else if (opcion == QLatin1String("negrita")) {
        e.negrita = true;
    } else if (opcion == QLatin1String("cursiva")) {
        e.cursiva = true;
    } else if (opcion == QLatin1String("alinea")) {
        const QString a = l.palabra().toLower();
        e.alineacion = a == QLatin1String("der")      ? Qt::AlignRight
                       : a == QLatin1String("centro") ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
    } else if (opcion == QLatin1String("formato")) {
        e.formato = l.palabra();
    } else if (opcion == QLatin1String("fecha")) {
        e.formatoFecha = l.palabra();
    } else if (opcion == QLatin1String("ajusta")) {
        e.ajusta = true;
    } else if (opcion == QLatin1String("mayusculas")) {
        e.mayusculas = true;
    } else if (opcion == QLatin1String("si")) {
        e.condicion = l.palabra();
    } else if (opcion == QLatin1String("color")) {
        e.color = l.color();
    } else if (opcion == QLatin1String("relleno")) {
        e.relleno = l.color();
    } else if (opcion == QLatin1String("grueso")) {
        e.grueso = l.numero();
    } else {
        l.falla(QStringLiteral("opción desconocida: ") + opcion);
    }
}

ElementoDePlantilla leeElemento(ElementoDePlantilla::Tipo tipo, Lector& l) {
    ElementoDePlantilla e;
    e.tipo = tipo;
    e.x = l.numero();
    e.y = l.numero();
    e.ancho = l.numero();
    e.alto = l.numero();
    if (tipo == ElementoDePlantilla::Tipo::Linea) {
        e.ancho -= e.x;
        e.alto -= e.y;
    }
    if (tipo == ElementoDePlantilla::Tipo::Texto) {
        e.texto = l.palabra();
    }
    while (l.quedan()) {
        leeOpcionDeTexto(e, l.palabra().toLower(), l);
    }
    return e;
}

BandaDePlantilla* banda(Plantilla& p, const QString& nombre) {
    const std::map<QString, BandaDePlantilla*> bandas = {
        {QStringLiteral("encabezado_pagina"), &p.encabezadoPagina},
        {QStringLiteral("encabezado_documento"), &p.encabezadoDocumento},
        {QStringLiteral("encabezado_detalle"), &p.encabezadoDetalle},
        {QStringLiteral("detalle"), &p.detalle},
        {QStringLiteral("pie_documento"), &p.pieDocumento},
        {QStringLiteral("pie_pagina"), &p.piePagina},
    };
    const auto it = bandas.find(nombre.toLower());
    return it == bandas.end() ? nullptr : it->second;
}

} // namespace

QStringList FuenteDePlantilla::Palabras(const QString& linea) {
    QStringList palabras;
    QString actual;
    bool enTexto = false;
    bool hayPalabra = false;
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea[i];
        if (enTexto) {
            if (c == QLatin1Char('\\') && i + 1 < linea.size()) {
                const QChar siguiente = linea[++i];
                actual += siguiente == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : siguiente;
            } else if (c == QLatin1Char('"')) {
                enTexto = false;
            } else {
                actual += c;
            }
        } else if (c == QLatin1Char('"')) {
            enTexto = true;
            hayPalabra = true;
        } else if (c == QLatin1Char('#') && palabras.isEmpty() && !hayPalabra) {
            break;
        } else if (c.isSpace()) {
            if (hayPalabra) {
                palabras << actual;
            }
            actual.clear();
            hayPalabra = false;
        } else {
            actual += c;
            hayPalabra = true;
        }
    }
    if (hayPalabra) {
        palabras << actual;
    }
    return palabras;
}

Plantilla FuenteDePlantilla::Lee(const QString& fuente) {
    Plantilla p;
    BandaDePlantilla* actual = nullptr;
    const QStringList lineas = fuente.split(QLatin1Char('\n'));
    for (int n = 0; n < lineas.size(); ++n) {
        const QStringList palabras = Palabras(lineas[n]);
        if (palabras.isEmpty()) {
            continue;
        }
        Lector l(palabras, n + 1);
        const QString orden = l.palabra().toLower();
        if (orden == QLatin1String("plantilla")) {
            p.nombre = l.palabra();
        } else if (orden == QLatin1String("hoja")) {
            leeHoja(p, l);
        } else if (orden == QLatin1String("margenes")) {
            p.margenIzq = l.numero();
            p.margenArr = l.numero();
            p.margenDer = l.numero();
            p.margenAba = l.numero();
        } else if (orden == QLatin1String("letra")) {
            p.familia = l.palabra();
            p.tamano = l.numero();
        } else if (orden == QLatin1String("tabla")) {
            leeTabla(p, l);
        } else if (orden == QLatin1String("formula")) {
            p.formulas << l.palabra();
            p.valoresDeFormulas << (l.quedan() ? l.palabra() : QString());
        } else if (orden == QLatin1String("banda")) {
            const QString nombre = l.palabra();
            actual = banda(p, nombre);
            if (actual == nullptr) {
                l.falla(QStringLiteral("banda desconocida: ") + nombre);
            }
            actual->alto = l.numero();
        } else if (orden == QLatin1String("texto") || orden == QLatin1String("linea") ||
                   orden == QLatin1String("caja")) {
            if (actual == nullptr) {
                l.falla(QStringLiteral("el elemento no está en ninguna banda"));
            }
            actual->elementos.append(
                leeElemento(orden == QLatin1String("texto")   ? ElementoDePlantilla::Tipo::Texto
                            : orden == QLatin1String("linea") ? ElementoDePlantilla::Tipo::Linea
                                                              : ElementoDePlantilla::Tipo::Caja,
                            l));
        } else {
            l.falla(QStringLiteral("instrucción desconocida: ") + orden);
        }
    }
    return p;
}
