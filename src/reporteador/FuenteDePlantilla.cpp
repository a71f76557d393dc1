#include "reporteador/FuenteDePlantilla.h"

#include "reporteador/ErrorDeReporte.h"
#include "reporteador/LectorDeElementos.h"

#include <map>

namespace {

void leeHoja(Plantilla& p, LectorDeLinea& l) {
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

void leeTabla(Plantilla& p, LectorDeLinea& l) {
    TablaDePlantilla t;
    t.linea = l.linea();
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

// The template the statements build, one statement at a time.
class Lectura {
public:
    void lee(const QString& orden, LectorDeLinea& l);
    Plantilla termina();

private:
    void leeElementoEnBanda(ElementoDePlantilla::Tipo tipo, LectorDeLinea& l);

    Plantilla p_;
    BandaDePlantilla* banda_ = nullptr;
    ElementoDePlantilla* lista_ = nullptr; // the renglones being read, until its "fin"
};

void Lectura::leeElementoEnBanda(ElementoDePlantilla::Tipo tipo, LectorDeLinea& l) {
    if (banda_ == nullptr) {
        l.falla(QStringLiteral("el elemento no está en ninguna banda"));
    }
    if (lista_ != nullptr) {
        if (tipo == ElementoDePlantilla::Tipo::Renglones) {
            l.falla(QStringLiteral("unos renglones no pueden ir dentro de otros (falta «fin» "
                                   "de los de la línea %1)")
                        .arg(lista_->linea));
        }
        lista_->renglon.push_back(LectorDeElementos::Lee(tipo, l));
        return;
    }
    banda_->elementos.push_back(LectorDeElementos::Lee(tipo, l));
    if (tipo == ElementoDePlantilla::Tipo::Renglones) {
        lista_ = &banda_->elementos.back();
    }
}

void Lectura::lee(const QString& orden, LectorDeLinea& l) {
    if (const auto tipo = LectorDeElementos::TipoDe(orden)) {
        leeElementoEnBanda(*tipo, l);
        return;
    }
    if (lista_ != nullptr && orden != QLatin1String("fin")) {
        l.falla(QStringLiteral("falta «fin» de los renglones de la línea %1").arg(lista_->linea));
    }
    if (orden == QLatin1String("fin")) {
        if (lista_ == nullptr) {
            l.falla(QStringLiteral("«fin» sin renglones que cerrar"));
        }
        lista_ = nullptr;
    } else if (orden == QLatin1String("plantilla")) {
        p_.nombre = l.palabra();
    } else if (orden == QLatin1String("hoja")) {
        leeHoja(p_, l);
    } else if (orden == QLatin1String("margenes")) {
        p_.margenIzq = l.numero(0, 100, "el margen");
        p_.margenArr = l.numero(0, 100, "el margen");
        p_.margenDer = l.numero(0, 100, "el margen");
        p_.margenAba = l.numero(0, 100, "el margen");
    } else if (orden == QLatin1String("letra")) {
        p_.familia = l.palabra();
        p_.tamano = l.numero(1, 200, "el tamaño de la letra");
    } else if (orden == QLatin1String("tabla")) {
        leeTabla(p_, l);
    } else if (orden == QLatin1String("formula")) {
        p_.formulas << l.palabra();
        p_.valoresDeFormulas << (l.quedan() ? l.palabra() : QString());
    } else if (orden == QLatin1String("partidas_por_hoja")) {
        p_.partidasPorHoja = l.palabra();
        p_.lineaPartidas = l.linea();
        bool numero = false;
        p_.partidasPorHoja.toDouble(&numero);
        if (!numero && !(p_.partidasPorHoja.startsWith(QLatin1Char('{')) &&
                         p_.partidasPorHoja.endsWith(QLatin1Char('}')))) {
            l.falla(QStringLiteral("partidas_por_hoja lleva un número o un {Tabla.Campo}"));
        }
        if (l.mira() == QLatin1String("fijo")) {
            l.palabra();
            p_.partidasFijas = true;
        }
    } else if (orden == QLatin1String("archivo")) {
        p_.archivo = l.palabra();
        p_.lineaArchivo = l.linea();
    } else if (orden == QLatin1String("banda")) {
        const QString nombre = l.palabra();
        banda_ = banda(p_, nombre);
        if (banda_ == nullptr) {
            l.falla(QStringLiteral("banda desconocida: ") + nombre);
        }
        banda_->alto = l.numero(0, 1000, "el alto de la banda");
    } else {
        l.falla(QStringLiteral("instrucción desconocida: ") + orden);
    }
    if (l.quedan()) {
        l.falla(QStringLiteral("sobra: ") + l.palabra());
    }
}

Plantilla Lectura::termina() {
    if (lista_ != nullptr) {
        LectorDeLinea(QStringList(), lista_->linea)
            .falla(QStringLiteral("faltó el «fin» de estos renglones"));
    }
    return p_;
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
    if (enTexto) {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("faltan las comillas que cierran el texto"));
    }
    if (hayPalabra) {
        palabras << actual;
    }
    return palabras;
}

Plantilla FuenteDePlantilla::Lee(const QString& fuente) {
    Lectura lectura;
    const QStringList lineas = fuente.split(QLatin1Char('\n'));
    for (int n = 0; n < lineas.size(); ++n) {
        QStringList palabras;
        try {
            palabras = Palabras(lineas[n]);
        } catch (const ErrorDeReporte& e) {
            LectorDeLinea(palabras, n + 1).falla(e.texto());
        }
        if (!palabras.isEmpty()) {
            LectorDeLinea l(palabras, n + 1);
            lectura.lee(l.palabra().toLower(), l);
        }
    }
    return lectura.termina();
}
