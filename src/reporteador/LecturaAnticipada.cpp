#include "reporteador/LecturaAnticipada.h"

#include "orvlib/ListasDeValores.h"
#include "orvlib/Sentencias.h"
#include "reporteador/Plantilla.h"
#include "reporteador/Seleccion.h"

#include <QRegularExpression>

namespace {

bool esEntero(const QVariant& valor) {
    switch (valor.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return !valor.isNull();
    default:
        return false;
    }
}

// A key as the server compares it: a number by its value; a text without its trailing spaces
// and without regard to case.
QString claveDe(const QVariant& valor) {
    if (esEntero(valor)) {
        return QString::number(valor.toLongLong());
    }
    QString texto = valor.toString();
    while (texto.endsWith(QLatin1Char(' '))) {
        texto.chop(1);
    }
    return texto.toCaseFolded();
}

QString clave(int tabla, const QString& condicion, const QString& orden) {
    return QString::number(tabla) + QChar(0x1f) + condicion + QChar(0x1f) + orden;
}

// The rows of a table whose column is one of the values, a statement every few thousand.
QVector<Fila> filasCon(const TablaDePlantilla& tabla, const QString& campo,
                       const QStringList& literales, int i, const LecturaAnticipada::Lector& lee,
                       const QString& orden = {}) {
    QVector<Fila> filas;
    for (const QString& lista : ListasDeValores::Lotes(literales)) {
        filas += lee(i, LecturaAnticipada::EnLista(tabla, campo, lista), orden);
    }
    return filas;
}

} // namespace

QString LecturaAnticipada::EnLista(const TablaDePlantilla& tabla, const QString& campo,
                                   const QString& lista) {
    return Sentencias::Nombre(campo, tabla.motor()) + QStringLiteral(" IN (") + lista +
           QLatin1Char(')');
}

QString LecturaAnticipada::IgualA(const TablaDePlantilla& tabla, const QVariant& valor) {
    return Sentencias::Nombre(tabla.campoPropio, tabla.motor()) + QLatin1Char('=') +
           Sentencias::Literal(valor, tabla.motor());
}

void LecturaAnticipada::Anuncia(const QStringList& selecciones,
                                const QStringList& tablasQueCambian) {
    Olvida();
    anunciadas_ = selecciones;
    for (const QString& tabla : tablasQueCambian) {
        cambian_.insert(tabla.toLower());
    }
}

void LecturaAnticipada::Olvida() {
    anunciadas_.clear();
    cambian_.clear();
    contexto_.clear();
    campo_.clear();
    principales_.clear();
    filas_.clear();
}

std::optional<QVector<Fila>> LecturaAnticipada::Busca(int tabla, const QString& condicion,
                                                      const QString& orden) const {
    const auto filas = filas_.constFind(clave(tabla, condicion, orden));
    if (filas == filas_.constEnd()) {
        return std::nullopt;
    }
    return *filas;
}

void LecturaAnticipada::guarda(int tabla, const QString& condicion, const QString& orden,
                               QVector<Fila> filas) {
    filas_.insert(clave(tabla, condicion, orden), std::move(filas));
}

void LecturaAnticipada::Prepara(const QString& seleccion, const QString& contexto,
                                const Plantilla& p, int principal, const DelServidor& delServidor,
                                const Lector& lee) {
    if (contexto == contexto_ || !anunciadas_.contains(seleccion)) {
        return;
    }
    static const QRegularExpression simple(
        QStringLiteral("^\\s*\\{([^.{}]+)\\.([^.{}]+)\\}\\s*=\\s*(-?\\d{1,18})\\s*$"));
    const TablaDePlantilla& tabla = p.tablas[principal];
    campo_.clear();
    for (const QString& s : std::as_const(anunciadas_)) {
        const QRegularExpressionMatch m = simple.match(s);
        const bool deLaPrincipal =
            m.hasMatch() && m.captured(1).compare(tabla.nombre, Qt::CaseInsensitive) == 0 &&
            (campo_.isEmpty() || m.captured(2).compare(campo_, Qt::CaseInsensitive) == 0);
        if (!deLaPrincipal) {
            Olvida();
            return;
        }
        campo_ = m.captured(2);
    }
    if (!delServidor(principal) || cambian_.contains(tabla.nombre.toLower())) {
        Olvida();
        return;
    }
    filas_.clear();
    contexto_ = contexto;
    leePrincipal(p, principal, lee);
    leeEnlazadas(p, principal, delServidor, lee);
}

void LecturaAnticipada::leePrincipal(const Plantilla& p, int principal, const Lector& lee) {
    const TablaDePlantilla& tabla = p.tablas[principal];
    QStringList numeros;
    for (const QString& s : std::as_const(anunciadas_)) {
        numeros << QString::number(s.section(QLatin1Char('='), -1).trimmed().toLongLong());
    }
    numeros.removeDuplicates();
    principales_ = filasCon(tabla, campo_, numeros, principal, lee);
    QHash<qint64, QVector<Fila>> porClave;
    for (const Fila& f : std::as_const(principales_)) {
        const QVariant valor = f.valor(campo_);
        if (!esEntero(valor)) {
            // A column that is not a whole number compares otherwise: each report reads it.
            principales_.clear();
            return;
        }
        porClave[valor.toLongLong()].append(f);
    }
    for (const QString& s : std::as_const(anunciadas_)) {
        guarda(principal, Seleccion::CondicionSql(s, tabla.nombre, tabla.motor()), {},
               porClave.value(s.section(QLatin1Char('='), -1).trimmed().toLongLong()));
    }
}

void LecturaAnticipada::leeEnlazadas(const Plantilla& p, int principal,
                                     const DelServidor& delServidor, const Lector& lee) {
    for (int i = 0; i < p.tablas.size() && !principales_.isEmpty(); ++i) {
        const TablaDePlantilla& tabla = p.tablas[i];
        const bool enlazada =
            i != principal && delServidor(i) && !cambian_.contains(tabla.nombre.toLower()) &&
            tabla.tablaEnlace.compare(p.tablas[principal].nombre, Qt::CaseInsensitive) == 0;
        if (!enlazada) {
            continue;
        }
        if (tabla.papel == TablaDePlantilla::Papel::Detalle) {
            leeDetalle(p, i, lee);
        } else if (tabla.papel == TablaDePlantilla::Papel::Busqueda) {
            leeBusqueda(p, i, lee);
        }
    }
    for (int i = 0; i < p.tablas.size() && !principales_.isEmpty(); ++i) {
        const TablaDePlantilla& tabla = p.tablas[i];
        if (tabla.papel == TablaDePlantilla::Papel::Busqueda && delServidor(i) &&
            !cambian_.contains(tabla.nombre.toLower()) &&
            tabla.tablaEnlace.compare(p.tablas[principal].nombre, Qt::CaseInsensitive) != 0) {
            leeBusquedaDeRenglones(p, i, lee);
        }
    }
}

// A document's detail rows, of every detail table in the template's order, as its report puts
// them together; none when a table's were not read ahead.
std::optional<QVector<Fila>> LecturaAnticipada::renglonesDe(const Plantilla& p,
                                                            const Fila& principal) const {
    QVector<Fila> renglones;
    for (int j = 0; j < p.tablas.size(); ++j) {
        const TablaDePlantilla& detalle = p.tablas[j];
        if (detalle.papel != TablaDePlantilla::Papel::Detalle) {
            continue;
        }
        const std::optional<QVector<Fila>> filas =
            Busca(j, IgualA(detalle, principal.valor(detalle.campoEnlace)), detalle.orden);
        if (!filas) {
            return std::nullopt;
        }
        renglones += *filas;
    }
    return renglones;
}

// The rows the block's detail rows look up, in the lists of values each report would ask for.
// A report keeps of them the rows whose key, as a text, is one of its values as texts, so those
// are the rows it is given.
void LecturaAnticipada::leeBusquedaDeRenglones(const Plantilla& p, int i, const Lector& lee) {
    const TablaDePlantilla& tabla = p.tablas[i];
    QVector<ValoresDeRenglones> porDocumento;
    QStringList todos;
    for (const Fila& f : std::as_const(principales_)) {
        const std::optional<QVector<Fila>> renglones = renglonesDe(p, f);
        if (!renglones) {
            return;
        }
        ValoresDeRenglones valores;
        for (const Fila& r : *renglones) {
            const QVariant valor = r.valor(tabla.campoEnlace);
            const QString literal = Sentencias::Literal(valor, tabla.motor());
            if (!valores.textos.contains(literal)) {
                valores.literales << literal;
                valores.textos.insert(literal, valor.toString());
            }
        }
        todos += valores.literales;
        porDocumento << valores;
    }
    todos.removeDuplicates();
    QHash<QString, QVector<Fila>> porClave;
    for (const Fila& f : filasCon(tabla, tabla.campoPropio, todos, i, lee)) {
        porClave[f.valor(tabla.campoPropio).toString()].append(f);
    }
    for (const ValoresDeRenglones& valores : std::as_const(porDocumento)) {
        guardaListas(tabla, i, valores, porClave);
    }
}

// Each list of a document's values, in the order and lots its report builds them.
void LecturaAnticipada::guardaListas(const TablaDePlantilla& tabla, int i,
                                     const ValoresDeRenglones& valores,
                                     const QHash<QString, QVector<Fila>>& porClave) {
    for (const QStringList& lote : ListasDeValores::Porciones(valores.literales)) {
        QVector<Fila> filas;
        for (const QString& literal : lote) {
            filas += porClave.value(valores.textos.value(literal));
        }
        guarda(i, EnLista(tabla, tabla.campoPropio, lote.join(QLatin1Char(','))), {}, filas);
    }
}

// The detail rows of the block's documents, by a whole-number link; kept in the table's order.
void LecturaAnticipada::leeDetalle(const Plantilla& p, int i, const Lector& lee) {
    const TablaDePlantilla& tabla = p.tablas[i];
    QStringList numeros;
    for (const Fila& f : std::as_const(principales_)) {
        const QVariant valor = f.valor(tabla.campoEnlace);
        if (!esEntero(valor)) {
            return;
        }
        numeros << QString::number(valor.toLongLong());
    }
    numeros.removeDuplicates();
    QHash<qint64, QVector<Fila>> porClave;
    for (const Fila& f : filasCon(tabla, tabla.campoPropio, numeros, i, lee, tabla.orden)) {
        const QVariant valor = f.valor(tabla.campoPropio);
        if (!esEntero(valor)) {
            return;
        }
        porClave[valor.toLongLong()].append(f);
    }
    for (const Fila& f : std::as_const(principales_)) {
        const QVariant valor = f.valor(tabla.campoEnlace);
        guarda(i, IgualA(tabla, valor), tabla.orden, porClave.value(valor.toLongLong()));
    }
}

// The rows the block's documents look up. A key is taken when keys and rows are whole numbers,
// or when exactly one row could answer it however the server compares texts and that row holds
// it to the letter; otherwise its report reads it.
void LecturaAnticipada::leeBusqueda(const Plantilla& p, int i, const Lector& lee) {
    const TablaDePlantilla& tabla = p.tablas[i];
    QStringList literales;
    for (const Fila& f : std::as_const(principales_)) {
        const QVariant valor = f.valor(tabla.campoEnlace);
        if (!valor.isNull() && valor.isValid()) {
            literales << Sentencias::Literal(valor, tabla.motor());
        }
    }
    literales.removeDuplicates();
    QHash<QString, QVector<Fila>> porClave;
    bool clavesEnteras = true;
    for (const Fila& f : filasCon(tabla, tabla.campoPropio, literales, i, lee)) {
        const QVariant propia = f.valor(tabla.campoPropio);
        clavesEnteras = clavesEnteras && esEntero(propia);
        porClave[claveDe(propia)].append(f);
    }
    for (const Fila& f : std::as_const(principales_)) {
        const QVariant valor = f.valor(tabla.campoEnlace);
        if (valor.isNull() || !valor.isValid()) {
            continue;
        }
        const QVector<Fila> filas = porClave.value(claveDe(valor));
        // A text key is answered only by the one row that holds it to the letter: the server
        // compares texts by its collation, which may or may not ignore case and trailing
        // spaces.
        const bool unaALaLetra =
            filas.size() == 1 &&
            filas.first().valor(tabla.campoPropio).toString() == valor.toString();
        if (unaALaLetra || (esEntero(valor) && clavesEnteras)) {
            guarda(i, IgualA(tabla, valor), {}, filas);
        }
    }
}
