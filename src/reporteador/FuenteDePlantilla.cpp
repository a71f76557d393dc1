#include "reporteador/FuenteDePlantilla.h"

#include "reporteador/ErrorDeReporte.h"
#include "reporteador/ValoresDePlantilla.h"

#include <map>

namespace {

// Reads one line's words in order, failing with the line number.
class Lector {
public:
    Lector(QStringList palabras, int linea)
        : palabras_(std::move(palabras))
        , linea_(linea) {}

    bool quedan() const { return i_ < palabras_.size(); }
    // The next word in lower case without taking it; empty at the end of the line.
    QString mira() const { return quedan() ? palabras_[i_].toLower() : QString(); }
    int linea() const { return linea_; }
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
    // A number from minimo to maximo.
    double numero(double minimo, double maximo, const char* que) {
        const double n = numero();
        if (n < minimo || n > maximo) {
            falla(QStringLiteral("%1 debe estar entre %2 y %3, no %4")
                      .arg(QString::fromUtf8(que))
                      .arg(minimo)
                      .arg(maximo)
                      .arg(n));
        }
        return n;
    }
    QColor color() {
        const QString p = palabra();
        const std::optional<QColor> c = ValoresDePlantilla::Color(p);
        if (!c) {
            falla(QStringLiteral("color inválido: %1 (se escribe #RRGGBB)").arg(p));
        }
        return *c;
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

// {…} [y|o [no] {…}]…: "y" binds closer than "o".
Condicion leeCondicion(Lector& l) {
    Condicion c;
    QVector<TerminoDeCondicion> terminos;
    for (;;) {
        TerminoDeCondicion t;
        QString palabra = l.palabra();
        if (palabra.toLower() == QLatin1String("no")) {
            t.negado = true;
            palabra = l.palabra();
        }
        if (!palabra.startsWith(QLatin1Char('{')) || !palabra.endsWith(QLatin1Char('}'))) {
            l.falla(QStringLiteral("la condición se escribe {Tabla.Campo}: ") + palabra);
        }
        t.expresion = palabra;
        terminos.append(t);
        const QString enlace = l.mira();
        if (enlace != QLatin1String("y") && enlace != QLatin1String("o")) {
            break;
        }
        l.palabra();
        if (enlace == QLatin1String("o")) {
            c.alternativas.append(terminos);
            terminos.clear();
        }
    }
    c.alternativas.append(terminos);
    return c;
}

void leeOpcionDeTexto(ElementoDePlantilla& e, const QString& opcion, Lector& l) {
    if (opcion == QLatin1String("tam")) {
        e.tamano = l.numero(1, 200, "el tamaño de la letra");
    } else if (opcion == QLatin1String("negrita") || opcion == QLatin1String("cursiva")) {
        (opcion == QLatin1String("negrita") ? e.negrita : e.cursiva) = true;
    } else if (opcion == QLatin1String("alinea")) {
        const QString a = l.palabra();
        const std::optional<Qt::Alignment> alineacion = ValoresDePlantilla::Alineacion(a);
        if (!alineacion) {
            l.falla(QStringLiteral("alineación desconocida: %1 (izq, centro o der)").arg(a));
        }
        e.alineacion = *alineacion;
    } else if (opcion == QLatin1String("formato")) {
        e.formato = l.palabra();
        if (!ValoresDePlantilla::PatronDeNumero(e.formato)) {
            l.falla(QStringLiteral("formato de número inválido: \"%1\" (como \"#,0.00\")")
                        .arg(e.formato));
        }
    } else if (opcion == QLatin1String("fecha")) {
        e.formatoFecha = l.palabra();
        if (!ValoresDePlantilla::PatronDeFecha(e.formatoFecha)) {
            l.falla(QStringLiteral("formato de fecha inválido: \"%1\" (como \"dd/MM/yyyy\")")
                        .arg(e.formatoFecha));
        }
    } else if (opcion == QLatin1String("ajusta") || opcion == QLatin1String("estira")) {
        (opcion == QLatin1String("ajusta") ? e.ajusta : e.estira) = true;
    } else if (opcion == QLatin1String("mayusculas")) {
        e.mayusculas = true;
    } else if (opcion == QLatin1String("si")) {
        e.condicion = leeCondicion(l);
    } else if (opcion == QLatin1String("partes")) {
        e.partes = l.palabra();
    } else if (opcion == QLatin1String("color")) {
        e.color = l.color();
    } else if (opcion == QLatin1String("relleno")) {
        e.relleno = l.color();
    } else if (opcion == QLatin1String("grueso")) {
        e.grueso = l.numero(0, 20, "el grueso");
    } else {
        l.falla(QStringLiteral("opción desconocida: ") + opcion);
    }
}

const std::map<QString, ElementoDePlantilla::Tipo>& tiposDeElemento() {
    static const std::map<QString, ElementoDePlantilla::Tipo> tipos = {
        {QStringLiteral("texto"), ElementoDePlantilla::Tipo::Texto},
        {QStringLiteral("linea"), ElementoDePlantilla::Tipo::Linea},
        {QStringLiteral("caja"), ElementoDePlantilla::Tipo::Caja},
        {QStringLiteral("imagen"), ElementoDePlantilla::Tipo::Imagen},
        {QStringLiteral("renglones"), ElementoDePlantilla::Tipo::Renglones},
    };
    return tipos;
}

QString leeNombreDeImagen(Lector& l) {
    const QString nombre = l.palabra();
    if (nombre.isEmpty() || nombre.contains(QLatin1Char('/')) ||
        nombre.contains(QLatin1Char('\\'))) {
        l.falla(QStringLiteral("la imagen se nombra sin carpeta, como se guardó: ") + nombre);
    }
    const QString extension = nombre.section(QLatin1Char('.'), -1).toLower();
    if (!nombre.contains(QLatin1Char('.')) ||
        !QStringList{QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg")}.contains(
            extension)) {
        l.falla(QStringLiteral("la imagen es un archivo PNG o JPEG (.png, .jpg): ") + nombre);
    }
    return nombre;
}

// renglones X Y ANCHO ALTO de D a H
void leeRango(ElementoDePlantilla& e, Lector& l) {
    if (l.palabra().toLower() != QLatin1String("de")) {
        l.falla(QStringLiteral("los renglones se escriben renglones X Y ANCHO ALTO de 1 a 10"));
    }
    e.desde = static_cast<int>(l.numero());
    if (l.palabra().toLower() != QLatin1String("a")) {
        l.falla(QStringLiteral("los renglones se escriben renglones X Y ANCHO ALTO de 1 a 10"));
    }
    e.hasta = static_cast<int>(l.numero());
    if (e.desde < 0 || e.hasta < e.desde || e.hasta - e.desde >= 1000) {
        l.falla(QStringLiteral("rango de renglones inválido"));
    }
}

ElementoDePlantilla leeElemento(ElementoDePlantilla::Tipo tipo, Lector& l) {
    ElementoDePlantilla e;
    e.tipo = tipo;
    e.linea = l.linea();
    // Millimetres from the band's top-left, on a sheet of at most a metre.
    constexpr double kMaximo = 1000;
    e.x = l.numero(0, kMaximo, "X");
    e.y = l.numero(0, kMaximo, "Y");
    if (tipo == ElementoDePlantilla::Tipo::Linea) {
        e.ancho = l.numero(0, kMaximo, "X2") - e.x;
        e.alto = l.numero(0, kMaximo, "Y2") - e.y;
    } else {
        e.ancho = l.numero(0.01, kMaximo, "el ancho");
        e.alto = l.numero(0, kMaximo, "el alto");
    }
    if (tipo == ElementoDePlantilla::Tipo::Texto) {
        e.texto = l.palabra();
    } else if (tipo == ElementoDePlantilla::Tipo::Imagen) {
        e.texto = leeNombreDeImagen(l);
    } else if (tipo == ElementoDePlantilla::Tipo::Renglones) {
        leeRango(e, l);
        if (e.alto <= 0) {
            l.falla(QStringLiteral("el alto de un renglón debe ser mayor que 0"));
        }
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

// The template the statements build, one statement at a time.
class Lectura {
public:
    void lee(const QString& orden, Lector& l);
    Plantilla termina();

private:
    void leeElementoEnBanda(ElementoDePlantilla::Tipo tipo, Lector& l);

    Plantilla p_;
    BandaDePlantilla* banda_ = nullptr;
    ElementoDePlantilla* lista_ = nullptr; // the renglones being read, until its "fin"
};

void Lectura::leeElementoEnBanda(ElementoDePlantilla::Tipo tipo, Lector& l) {
    if (banda_ == nullptr) {
        l.falla(QStringLiteral("el elemento no está en ninguna banda"));
    }
    if (lista_ != nullptr) {
        if (tipo == ElementoDePlantilla::Tipo::Renglones) {
            l.falla(QStringLiteral("unos renglones no pueden ir dentro de otros (falta «fin» "
                                   "de los de la línea %1)")
                        .arg(lista_->linea));
        }
        lista_->renglon.push_back(leeElemento(tipo, l));
        return;
    }
    banda_->elementos.push_back(leeElemento(tipo, l));
    if (tipo == ElementoDePlantilla::Tipo::Renglones) {
        lista_ = &banda_->elementos.back();
    }
}

void Lectura::lee(const QString& orden, Lector& l) {
    const auto tipo = tiposDeElemento().find(orden);
    if (tipo != tiposDeElemento().end()) {
        leeElementoEnBanda(tipo->second, l);
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
        Lector(QStringList(), lista_->linea)
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
            Lector(palabras, n + 1).falla(e.texto());
        }
        if (!palabras.isEmpty()) {
            Lector l(palabras, n + 1);
            lectura.lee(l.palabra().toLower(), l);
        }
    }
    return lectura.termina();
}
