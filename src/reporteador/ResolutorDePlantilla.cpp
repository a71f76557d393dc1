#include "reporteador/ResolutorDePlantilla.h"

#include "orvlib/Formato.h"
#include "reporteador/ExpresionesDePlantilla.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <algorithm>
#include <functional>

namespace {

// The text with every match of the pattern replaced by what the function makes of it.
QString reemplaza(const QString& texto, const QRegularExpression& patron,
                  const std::function<QString(const QRegularExpressionMatch&)>& valor) {
    QString resultado;
    qsizetype desde = 0;
    QRegularExpressionMatchIterator it = patron.globalMatch(texto);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        resultado += texto.mid(desde, m.capturedStart() - desde) + valor(m);
        desde = m.capturedEnd();
    }
    return resultado + texto.mid(desde);
}

bool tieneValor(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return false;
    }
    const QString t = v.toString().trimmed();
    bool numero = false;
    const double n = t.toDouble(&numero);
    return numero ? n != 0 : !t.isEmpty();
}

} // namespace

using namespace ExpresionesDePlantilla;

ResolutorDePlantilla::ResolutorDePlantilla(const Plantilla& plantilla)
    : p_(plantilla) {}

QString ResolutorDePlantilla::FormateaValor(const QVariant& valor, const ElementoDePlantilla& e) {
    if (!valor.isValid() || valor.isNull()) {
        return {};
    }
    if (valor.typeId() == QMetaType::QDate || valor.typeId() == QMetaType::QDateTime) {
        return valor.toDate().toString(e.formatoFecha);
    }
    if (!e.formato.isEmpty()) {
        bool numero = false;
        const double n = valor.toString().toDouble(&numero);
        if (numero) {
            return Formato::Numero(n, e.formato);
        }
    }
    return valor.toString();
}

QVariant ResolutorDePlantilla::valorDeCampo(const QString& tabla, const QString& campo) const {
    const QString t = tabla.toLower();
    const int indice = p_.indiceDeTabla(tabla);
    if (indice < 0 || documento_ == nullptr) {
        return {};
    }
    switch (p_.tablas[indice].papel) {
    case TablaDePlantilla::Papel::Principal:
        return documento_->principal.valor(campo);
    case TablaDePlantilla::Papel::Detalle:
        return renglon_ != nullptr ? renglon_->fila.valor(campo) : QVariant();
    default:
        if (renglon_ != nullptr && renglon_->busquedas.contains(t)) {
            return renglon_->busquedas.value(t).valor(campo);
        }
        return documento_->unicas.value(t).valor(campo);
    }
}

double ResolutorDePlantilla::Calcula(const QString& expresion) const {
    double suma = 0;
    double producto = 0;
    bool resta = false;
    bool primero = true;
    qsizetype posicion = 0;
    for (QRegularExpressionMatch m;
         (m = Termino().match(expresion, posicion, QRegularExpression::NormalMatch,
                              QRegularExpression::AnchorAtOffsetMatchOption))
             .hasMatch() &&
         m.capturedLength() > 0;
         posicion = m.capturedEnd()) {
        const int formula = m.captured(5).isEmpty() ? -1 : p_.indiceDeFormula(m.captured(5));
        const double valor = !m.captured(2).isEmpty()
                                 ? valorDeCampo(m.captured(2), m.captured(3)).toDouble()
                             : formula >= 0 ? p_.valoresDeFormulas.value(formula).toDouble()
                                            : m.captured(4).toDouble();
        const QString op = m.captured(1);
        if (primero || op == QLatin1String("+") || op == QLatin1String("-")) {
            suma += primero ? 0 : (resta ? -producto : producto);
            producto = valor;
            resta = op == QLatin1String("-");
            primero = false;
        } else if (op == QLatin1String("*")) {
            producto *= valor;
        } else {
            producto = valor != 0 ? producto / valor : 0;
        }
    }
    return suma + (resta ? -producto : producto);
}

QString ResolutorDePlantilla::conNumero(const QString& texto) const {
    return numero_ > 0 ? ConNumero(texto, numero_) : texto;
}

QString ResolutorDePlantilla::Resuelve(const QString& texto, const ElementoDePlantilla& e) const {
    if (!e.partes.isEmpty()) {
        ElementoDePlantilla entera = e;
        entera.partes.clear();
        return UnePartes(texto, e.partes, [&](const QString& p) { return Resuelve(p, entera); });
    }
    const QString numerado = conNumero(texto);
    // A fixed text (a label) has nothing to put in.
    if (!numerado.contains(QLatin1Char('{'))) {
        return e.mayusculas ? numerado.toUpper() : numerado;
    }
    const QString conCuentas =
        reemplaza(numerado, Cuenta(), [this, &e](const QRegularExpressionMatch& m) {
            return FormateaValor(Calcula(m.captured(1)), e);
        });
    const QString resultado =
        reemplaza(conCuentas, Campo(), [this, &e](const QRegularExpressionMatch& m) {
            const QString nombre = m.captured(1);
            if (nombre.startsWith(QLatin1Char('@'))) {
                const int f = p_.indiceDeFormula(nombre.mid(1));
                return f < 0 ? QString() : FormateaValor(p_.valoresDeFormulas.value(f), e);
            }
            // {Pagina} and {Paginas} are put in once every page is laid out.
            return m.captured(2).isEmpty() ? m.captured(0)
                                           : FormateaValor(valorDeCampo(nombre, m.captured(2)), e);
        });
    return e.mayusculas ? resultado.toUpper() : resultado;
}

QString ResolutorDePlantilla::ResuelveEnDocumento(const QString& texto,
                                                  const DatosDeDocumento& documento) {
    documento_ = &documento;
    renglon_ = nullptr;
    ElementoDePlantilla e;
    e.formatoFecha = QStringLiteral("yyyy-MM-dd");
    const QString resultado = Resuelve(texto, e);
    documento_ = nullptr;
    return resultado;
}

int ResolutorDePlantilla::PartidasPorHoja(const DatosDeDocumento& documento) {
    if (p_.partidasPorHoja.isEmpty()) {
        return 0;
    }
    const double n = ResuelveEnDocumento(p_.partidasPorHoja, documento).trimmed().toDouble();
    return n >= 1 ? static_cast<int>(n) : 0;
}

bool ResolutorDePlantilla::cumple(const TerminoDeCondicion& termino) const {
    const QString expresion = conNumero(termino.expresion);
    bool valor = false;
    const QRegularExpressionMatch cuenta = Cuenta().match(expresion);
    const QRegularExpressionMatch campo = Campo().match(expresion);
    if (cuenta.hasMatch()) {
        valor = Calcula(cuenta.captured(1)) != 0;
    } else if (campo.hasMatch() && campo.captured(1).startsWith(QLatin1Char('@'))) {
        const int f = p_.indiceDeFormula(campo.captured(1).mid(1));
        valor = f >= 0 && tieneValor(p_.valoresDeFormulas.value(f));
    } else if (campo.hasMatch()) {
        valor = tieneValor(valorDeCampo(campo.captured(1), campo.captured(2)));
    }
    return valor != termino.negado;
}

bool ResolutorDePlantilla::Cumple(const Condicion& condicion) const {
    if (condicion.vacia()) {
        return true;
    }
    return std::any_of(condicion.alternativas.begin(), condicion.alternativas.end(),
                       [this](const QVector<TerminoDeCondicion>& terminos) {
                           return std::all_of(
                               terminos.begin(), terminos.end(),
                               [this](const TerminoDeCondicion& t) { return cumple(t); });
                       });
}
