#include "reporteador/Maquetador.h"

#include "orvlib/Formato.h"

#include <QDate>
#include <QDateTime>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <functional>

namespace {

constexpr double kPuntosPorMm = 1200.0 / 25.4;

const QImage& referencia() {
    static const QImage imagen = [] {
        QImage i(8, 8, QImage::Format_Mono);
        i.setDotsPerMeterX(static_cast<int>(1200 / 0.0254));
        i.setDotsPerMeterY(static_cast<int>(1200 / 0.0254));
        return i;
    }();
    return imagen;
}

const QRegularExpression& patronDeCampo() {
    static const QRegularExpression patron(
        QStringLiteral("\\{\\s*(@?[A-Za-z_][\\w]*)(?:\\.([A-Za-z_][\\w]*))?\\s*\\}"));
    return patron;
}

// {…} with arithmetic: fields, numbers, + - * /, as in {lineas.Cantidad*lineas.Precio}.
const QRegularExpression& patronDeCuenta() {
    static const QRegularExpression patron(QStringLiteral("\\{([^{}]*[-+*/][^{}]*)\\}"));
    return patron;
}

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

Maquetador::Maquetador(const Plantilla& plantilla)
    : p_(plantilla) {}

double Maquetador::AltoDeLinea(const QFont& letra) {
    return QFontMetricsF(letra, &referencia()).lineSpacing() / kPuntosPorMm;
}

QStringList Maquetador::Parte(const QString& texto, double anchoMm, const QFont& letra) {
    const QFontMetricsF m(letra, &referencia());
    const double ancho = anchoMm * kPuntosPorMm;
    QStringList lineas;
    for (const QString& parrafo : QString(texto)
                                      .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                      .split(QLatin1Char('\n'))) {
        QString actual;
        for (const QString& palabra : parrafo.split(QLatin1Char(' '))) {
            const QString candidato =
                actual.isEmpty() ? palabra : actual + QLatin1Char(' ') + palabra;
            if (m.horizontalAdvance(candidato) <= ancho || actual.isEmpty()) {
                actual = candidato;
            } else {
                lineas << actual;
                actual = palabra;
            }
            while (m.horizontalAdvance(actual) > ancho && actual.size() > 1) {
                qsizetype corte = actual.size() - 1;
                while (corte > 1 && m.horizontalAdvance(actual.left(corte)) > ancho) {
                    --corte;
                }
                lineas << actual.left(corte);
                actual = actual.mid(corte);
            }
        }
        lineas << actual;
    }
    return lineas;
}

QString Maquetador::FormateaValor(const QVariant& valor, const ElementoDePlantilla& e) {
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

QVariant Maquetador::valorDeCampo(const QString& tabla, const QString& campo) const {
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

double Maquetador::Calcula(const QString& expresion) const {
    static const QRegularExpression termino(QStringLiteral(
        "\\s*([-+*/])?\\s*(?:([A-Za-z_]\\w*)\\.([A-Za-z_]\\w*)|(\\d+(?:\\.\\d+)?))"));
    double suma = 0;
    double producto = 0;
    bool resta = false;
    bool primero = true;
    qsizetype posicion = 0;
    for (QRegularExpressionMatch m;
         (m = termino.match(expresion, posicion, QRegularExpression::NormalMatch,
                            QRegularExpression::AnchorAtOffsetMatchOption))
             .hasMatch();
         posicion = m.capturedEnd()) {
        const double valor = m.captured(2).isEmpty()
                                 ? m.captured(4).toDouble()
                                 : valorDeCampo(m.captured(2), m.captured(3)).toDouble();
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

QString Maquetador::Resuelve(const QString& texto, const ElementoDePlantilla& e) const {
    const QString conCuentas =
        reemplaza(texto, patronDeCuenta(), [this, &e](const QRegularExpressionMatch& m) {
            return FormateaValor(Calcula(m.captured(1)), e);
        });
    const QString resultado =
        reemplaza(conCuentas, patronDeCampo(), [this, &e](const QRegularExpressionMatch& m) {
            const QString nombre = m.captured(1);
            if (nombre.startsWith(QLatin1Char('@'))) {
                const int f = p_.indiceDeFormula(nombre.mid(1));
                return f < 0 ? QString() : p_.valoresDeFormulas.value(f);
            }
            // {Pagina} and {Paginas} are put in once every page is laid out.
            return m.captured(2).isEmpty() ? m.captured(0)
                                           : FormateaValor(valorDeCampo(nombre, m.captured(2)), e);
        });
    return e.mayusculas ? resultado.toUpper() : resultado;
}

bool Maquetador::visible(const ElementoDePlantilla& e) const {
    if (e.condicion.isEmpty()) {
        return true;
    }
    const QRegularExpressionMatch cuenta = patronDeCuenta().match(e.condicion);
    if (cuenta.hasMatch()) {
        return Calcula(cuenta.captured(1)) != 0;
    }
    const QRegularExpressionMatch m = patronDeCampo().match(e.condicion);
    return m.hasMatch() && tieneValor(valorDeCampo(m.captured(1), m.captured(2)));
}

QFont Maquetador::letra(const ElementoDePlantilla& e) const {
    QFont f(p_.familia);
    f.setPointSizeF(e.tamano > 0 ? e.tamano : p_.tamano);
    f.setBold(e.negrita);
    f.setItalic(e.cursiva);
    return f;
}

Maquetador::Medida Maquetador::mide(const BandaDePlantilla& banda) const {
    Medida m;
    m.alto = banda.alto;
    for (const ElementoDePlantilla& e : banda.elementos) {
        if (!visible(e)) {
            continue;
        }
        Trazo t;
        t.tipo = e.tipo;
        t.rect = QRectF(e.x, e.y, e.ancho, e.alto);
        t.color = e.color;
        t.relleno = e.relleno;
        t.grueso = e.grueso;
        if (e.tipo == ElementoDePlantilla::Tipo::Texto) {
            const QFont f = letra(e);
            t.familia = f.family();
            t.tamano = f.pointSizeF();
            t.negrita = e.negrita;
            t.cursiva = e.cursiva;
            t.alineacion = e.alineacion;
            t.altoDeLinea = AltoDeLinea(f);
            const QString texto = Resuelve(e.texto, e);
            t.lineas = e.ajusta ? Parte(texto, e.ancho, f) : QStringList{texto};
            if (e.ajusta) {
                while (t.lineas.size() > 1 && t.lineas.last().trimmed().isEmpty()) {
                    t.lineas.removeLast();
                }
                t.margenSuperior = std::max(0.0, (e.alto - t.altoDeLinea) / 2);
                t.rect.setHeight(
                    std::max(e.alto, 2 * t.margenSuperior + t.lineas.size() * t.altoDeLinea));
                m.alto = std::max(m.alto, t.rect.bottom());
            }
        }
        m.trazos.append(t);
    }
    return m;
}

double Maquetador::limite() const {
    return p_.altoHoja - p_.margenAba - p_.piePagina.alto;
}

void Maquetador::coloca(const Medida& m) {
    for (Trazo t : m.trazos) {
        t.rect.translate(p_.margenIzq, y_);
        paginas_.last().trazos.append(t);
    }
    y_ += m.alto;
}

void Maquetador::abrePagina() {
    paginas_.append(PaginaMaquetada());
    paginaAbierta_ = true;
    y_ = p_.margenArr;
    coloca(mide(p_.encabezadoPagina));
}

void Maquetador::cierraPagina() {
    if (!paginaAbierta_) {
        return;
    }
    y_ = limite();
    coloca(mide(p_.piePagina));
    paginaAbierta_ = false;
}

void Maquetador::colocaSiCabe(const Medida& m) {
    const double inicioDePagina = p_.margenArr + p_.encabezadoPagina.alto;
    if (y_ + m.alto > limite() && y_ > inicioDePagina) {
        cierraPagina();
        abrePagina();
    }
    coloca(m);
}

QVector<PaginaMaquetada> Maquetador::Maqueta(const QVector<DatosDeDocumento>& documentos) {
    paginas_.clear();
    for (const DatosDeDocumento& d : documentos) {
        documento_ = &d;
        renglon_ = nullptr;
        abrePagina();
        colocaSiCabe(mide(p_.encabezadoDocumento));
        colocaSiCabe(mide(p_.encabezadoDetalle));
        double inicioDeRenglones = y_;
        for (const DatosDeDocumento::Renglon& r : d.detalle) {
            renglon_ = &r;
            const Medida m = mide(p_.detalle);
            renglon_ = nullptr;
            // A row taller than a whole page still goes on the page it starts, not on an empty one.
            if (y_ + m.alto > limite() && y_ > inicioDeRenglones) {
                cierraPagina();
                abrePagina();
                coloca(mide(p_.encabezadoDetalle));
                inicioDeRenglones = y_;
            }
            coloca(m);
        }
        colocaSiCabe(mide(p_.pieDocumento));
        cierraPagina();
    }
    documento_ = nullptr;
    const QString total = QString::number(paginas_.size());
    for (int i = 0; i < paginas_.size(); ++i) {
        for (Trazo& t : paginas_[i].trazos) {
            for (QString& linea : t.lineas) {
                linea
                    .replace(QLatin1String("{Pagina}"), QString::number(i + 1), Qt::CaseInsensitive)
                    .replace(QLatin1String("{Paginas}"), total, Qt::CaseInsensitive);
            }
        }
    }
    return paginas_;
}
