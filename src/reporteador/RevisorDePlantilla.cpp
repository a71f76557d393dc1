#include "reporteador/RevisorDePlantilla.h"

using ExpresionesDePlantilla::Referencia;

QString CatalogoDeDatos::Entrada(const TablaDePlantilla& tabla) {
    return (tabla.deAccess ? QStringLiteral("a ") : QStringLiteral("m ")) + tabla.nombre.toLower();
}

RevisorDePlantilla::RevisorDePlantilla(const Plantilla& plantilla, const CatalogoDeDatos& catalogo,
                                       bool exigeImagenes)
    : p_(plantilla)
    , c_(catalogo)
    , exigeImagenes_(exigeImagenes) {}

void RevisorDePlantilla::problema(int linea, const QString& texto) {
    QStringList& deLaLinea = problemas_[linea];
    if (!deLaLinea.contains(texto)) {
        deLaLinea << texto;
    }
}

void RevisorDePlantilla::revisaCampo(const TablaDePlantilla& tabla, const QString& campo,
                                     int linea) {
    const QString entrada = CatalogoDeDatos::Entrada(tabla);
    if (!c_.columnas.contains(entrada)) {
        return; // the table's own line says it cannot be read
    }
    if (!c_.columnas.value(entrada).contains(campo, Qt::CaseInsensitive)) {
        problema(linea, QStringLiteral("el campo %1 no existe en la tabla %2 (%3)")
                            .arg(campo, tabla.nombre, c_.origenes.value(entrada)));
    }
}

void RevisorDePlantilla::revisaReferencia(const Referencia& r, int linea) {
    switch (r.tipo) {
    case Referencia::Tipo::Campo: {
        const int t = p_.indiceDeTabla(r.tabla);
        if (t < 0) {
            problema(linea, QStringLiteral("{%1.%2}: la tabla %1 no está declarada con «tabla»")
                                .arg(r.tabla, r.nombre));
        } else {
            revisaCampo(p_.tablas[t], r.nombre, linea);
        }
        break;
    }
    case Referencia::Tipo::Formula:
        if (p_.indiceDeFormula(r.nombre) < 0) {
            problema(linea,
                     QStringLiteral("la fórmula %1 no está declarada con «formula»").arg(r.nombre));
        }
        break;
    case Referencia::Tipo::Desconocida:
        problema(linea, QStringLiteral("no se entiende %1: los campos se escriben {Tabla.Campo} "
                                       "y las fórmulas {@Formula}")
                            .arg(r.nombre));
        break;
    case Referencia::Tipo::Pagina:
        break;
    }
}

void RevisorDePlantilla::revisaTexto(const QString& texto, int linea, int numero) {
    // A "{" left open would print as it is, with what follows it.
    const qsizetype abre = texto.lastIndexOf(QLatin1Char('{'));
    if (abre >= 0 && texto.indexOf(QLatin1Char('}'), abre) < 0) {
        problema(linea, QStringLiteral("falta cerrar la llave de %1").arg(texto.mid(abre)));
    }
    const QString expandido = numero > 0 ? ExpresionesDePlantilla::ConNumero(texto, numero) : texto;
    for (const Referencia& r : ExpresionesDePlantilla::Referencias(expandido)) {
        revisaReferencia(r, linea);
    }
}

void RevisorDePlantilla::revisaElementos(const std::vector<ElementoDePlantilla>& elementos,
                                         int numero) {
    for (const ElementoDePlantilla& e : elementos) {
        const auto revisa = [this, &e](int n) {
            for (const QVector<TerminoDeCondicion>& terminos : e.condicion.alternativas) {
                for (const TerminoDeCondicion& t : terminos) {
                    revisaTexto(t.expresion, e.linea, n);
                }
            }
            if (e.tipo == ElementoDePlantilla::Tipo::Texto) {
                revisaTexto(e.texto, e.linea, n);
            }
        };
        if (e.tipo == ElementoDePlantilla::Tipo::Renglones) {
            for (int n = e.desde; n <= e.hasta; ++n) {
                revisa(n);
                revisaElementos(e.renglon, n);
            }
            continue;
        }
        revisa(numero);
        if (e.tipo == ElementoDePlantilla::Tipo::Imagen &&
            !c_.archivos.contains(e.texto, Qt::CaseInsensitive)) {
            const QString texto = QStringLiteral("la imagen %1 no está guardada en %2")
                                      .arg(e.texto, c_.lugarDeArchivos);
            if (exigeImagenes_) {
                problema(e.linea, texto);
            } else {
                const QString aviso =
                    QStringLiteral("línea %1: %2; se imprime en blanco").arg(e.linea).arg(texto);
                if (!avisos_.contains(aviso)) {
                    avisos_ << aviso;
                }
            }
        }
    }
}

void RevisorDePlantilla::revisaTablas() {
    bool hayPrincipal = false;
    for (const TablaDePlantilla& t : p_.tablas) {
        hayPrincipal = hayPrincipal || t.papel == TablaDePlantilla::Papel::Principal;
        const QString entrada = CatalogoDeDatos::Entrada(t);
        if (!c_.columnas.contains(entrada)) {
            problema(t.linea, QStringLiteral("la tabla %1 no existe (se lee de %2)")
                                  .arg(t.nombre, c_.origenes.value(entrada)));
            continue;
        }
        if (!t.campoPropio.isEmpty()) {
            revisaCampo(t, t.campoPropio, t.linea);
            revisaTexto(QStringLiteral("{%1.%2}").arg(t.tablaEnlace, t.campoEnlace), t.linea, 0);
        }
        for (const QString& parte : t.orden.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            revisaCampo(t, parte.trimmed().section(QLatin1Char(' '), 0, 0), t.linea);
        }
    }
    if (!hayPrincipal) {
        problema(p_.tablas.isEmpty() ? 1 : p_.tablas.first().linea,
                 QStringLiteral("la plantilla no tiene tabla principal"));
    }
}

QStringList RevisorDePlantilla::Revisa() {
    problemas_.clear();
    revisaTablas();
    for (const BandaDePlantilla* b :
         {&p_.encabezadoPagina, &p_.encabezadoDocumento, &p_.encabezadoDetalle, &p_.detalle,
          &p_.pieDocumento, &p_.piePagina}) {
        revisaElementos(b->elementos, 0);
    }
    bool numero = false;
    p_.partidasPorHoja.toDouble(&numero);
    if (!p_.partidasPorHoja.isEmpty() && !numero) {
        revisaTexto(p_.partidasPorHoja, p_.lineaPartidas, 0);
    }
    revisaTexto(p_.archivo, p_.lineaArchivo, 0);
    QStringList lista;
    for (auto it = problemas_.cbegin(); it != problemas_.cend(); ++it) {
        for (const QString& texto : it.value()) {
            lista << QStringLiteral("línea %1: %2").arg(it.key()).arg(texto);
        }
    }
    return lista;
}
