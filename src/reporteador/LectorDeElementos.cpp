#include "reporteador/LectorDeElementos.h"

#include "reporteador/ValoresDePlantilla.h"

#include <map>

namespace {

// {…} [y|o [no] {…}]…: "y" binds closer than "o".
Condicion leeCondicion(LectorDeLinea& l) {
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

void leeOpcionDeTexto(ElementoDePlantilla& e, const QString& opcion, LectorDeLinea& l) {
    if (opcion == QLatin1String("tam")) {
        e.tamano = l.numero(1, 200, "el tamaño de la letra");
    } else if (opcion == QLatin1String("negrita")) {
        e.negrita = true;
    } else if (opcion == QLatin1String("cursiva")) {
        e.cursiva = true;
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
    } else if (opcion == QLatin1String("ajusta")) {
        e.ajusta = true;
    } else if (opcion == QLatin1String("mayusculas")) {
        e.mayusculas = true;
    } else if (opcion == QLatin1String("si")) {
        e.condicion = leeCondicion(l);
    } else if (opcion == QLatin1String("partes")) {
        e.partes = l.palabra();
    } else if (opcion == QLatin1String("estira")) {
        e.estira = true;
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

QString leeNombreDeImagen(LectorDeLinea& l) {
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
void leeRango(ElementoDePlantilla& e, LectorDeLinea& l) {
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

} // namespace

std::optional<ElementoDePlantilla::Tipo> LectorDeElementos::TipoDe(const QString& orden) {
    static const std::map<QString, ElementoDePlantilla::Tipo> tipos = {
        {QStringLiteral("texto"), ElementoDePlantilla::Tipo::Texto},
        {QStringLiteral("linea"), ElementoDePlantilla::Tipo::Linea},
        {QStringLiteral("caja"), ElementoDePlantilla::Tipo::Caja},
        {QStringLiteral("imagen"), ElementoDePlantilla::Tipo::Imagen},
        {QStringLiteral("renglones"), ElementoDePlantilla::Tipo::Renglones},
    };
    const auto it = tipos.find(orden);
    return it == tipos.end() ? std::nullopt : std::optional(it->second);
}

ElementoDePlantilla LectorDeElementos::Lee(ElementoDePlantilla::Tipo tipo, LectorDeLinea& l) {
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
