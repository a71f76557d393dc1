#include "reporteador/Maquetador.h"

#include "orvlib/Formato.h"
#include "reporteador/ExpresionesDePlantilla.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <functional>
#include <numeric>

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

using namespace ExpresionesDePlantilla;

bool tieneValor(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        return false;
    }
    const QString t = v.toString().trimmed();
    bool numero = false;
    const double n = t.toDouble(&numero);
    return numero ? n != 0 : !t.isEmpty();
}

// Whether two rectangles share some width: what grows above pushes what lies in its columns.
bool enLasMismasColumnas(const QRectF& a, const QRectF& b) {
    return a.left() < b.right() && b.left() < a.right();
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

QString Maquetador::conNumero(const QString& texto) const {
    return numero_ > 0 ? ConNumero(texto, numero_) : texto;
}

QString Maquetador::Resuelve(const QString& texto, const ElementoDePlantilla& e) const {
    if (!e.partes.isEmpty()) {
        ElementoDePlantilla entera = e;
        entera.partes.clear();
        return UnePartes(texto, e.partes, [&](const QString& p) { return Resuelve(p, entera); });
    }
    const QString conCuentas =
        reemplaza(conNumero(texto), Cuenta(), [this, &e](const QRegularExpressionMatch& m) {
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

QString Maquetador::ResuelveEnDocumento(const QString& texto, const DatosDeDocumento& documento) {
    documento_ = &documento;
    renglon_ = nullptr;
    ElementoDePlantilla e;
    e.formatoFecha = QStringLiteral("yyyy-MM-dd");
    const QString resultado = Resuelve(texto, e);
    documento_ = nullptr;
    return resultado;
}

int Maquetador::PartidasPorHoja(const DatosDeDocumento& documento) {
    if (p_.partidasPorHoja.isEmpty()) {
        return 0;
    }
    const double n = ResuelveEnDocumento(p_.partidasPorHoja, documento).trimmed().toDouble();
    return n >= 1 ? static_cast<int>(n) : 0;
}

bool Maquetador::cumple(const TerminoDeCondicion& termino) const {
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

bool Maquetador::Cumple(const Condicion& condicion) const {
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

QFont Maquetador::letra(const ElementoDePlantilla& e) const {
    QFont f(p_.familia);
    f.setPointSizeF(e.tamano > 0 ? e.tamano : p_.tamano);
    f.setBold(e.negrita);
    f.setItalic(e.cursiva);
    return f;
}

const QImage& Maquetador::imagen(const QString& nombre) const {
    const auto it = imagenes_.constFind(nombre);
    if (it != imagenes_.constEnd()) {
        return *it;
    }
    return *imagenes_.insert(nombre, QImage(QDir(p_.carpeta).filePath(nombre)));
}

Trazo Maquetador::trazoDeTexto(const ElementoDePlantilla& e) const {
    Trazo t;
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
    }
    return t;
}

Maquetador::Pieza Maquetador::mideRenglones(const ElementoDePlantilla& e) const {
    Pieza pieza;
    pieza.marco = QRectF(e.x, e.y, e.ancho, 0);
    double y = 0;
    for (int n = e.desde; n <= e.hasta; ++n) {
        numero_ = n;
        if (!Cumple(e.condicion)) {
            continue;
        }
        const Medida fila = mide(e.renglon, e.alto);
        for (Trazo t : fila.trazos) {
            t.rect.translate(e.x, e.y + y);
            pieza.trazos.append(t);
        }
        y += fila.alto;
    }
    numero_ = 0;
    pieza.crecimiento = y;
    return pieza;
}

Maquetador::Pieza Maquetador::mide(const ElementoDePlantilla& e) const {
    if (e.tipo == ElementoDePlantilla::Tipo::Renglones) {
        return mideRenglones(e);
    }
    Pieza pieza;
    Trazo t = e.tipo == ElementoDePlantilla::Tipo::Texto ? trazoDeTexto(e) : Trazo();
    t.tipo = e.tipo;
    t.rect = QRectF(e.x, e.y, e.ancho, e.alto);
    t.color = e.color;
    t.relleno = e.relleno;
    t.grueso = e.grueso;
    pieza.marco = t.rect.normalized();
    if (e.tipo == ElementoDePlantilla::Tipo::Imagen) {
        t.imagen = imagen(e.texto);
        t.estira = e.estira;
        t.alineacion = e.alineacion;
    } else if (e.tipo == ElementoDePlantilla::Tipo::Texto && e.ajusta) {
        t.rect.setHeight(std::max(e.alto, 2 * t.margenSuperior + t.lineas.size() * t.altoDeLinea));
        pieza.crecimiento = t.rect.height() - e.alto;
    }
    pieza.trazos.append(t);
    return pieza;
}

Maquetador::Medida Maquetador::mide(const BandaDePlantilla& banda) const {
    return mide(banda.elementos, banda.alto);
}

Maquetador::Medida Maquetador::mide(const std::vector<ElementoDePlantilla>& elementos,
                                    double alto) const {
    QVector<Pieza> piezas;
    for (const ElementoDePlantilla& e : elementos) {
        if (e.tipo == ElementoDePlantilla::Tipo::Renglones || Cumple(e.condicion)) {
            piezas.append(mide(e));
        }
    }
    // From the top down, each piece moves down as far as the pieces above it in its columns
    // were moved and grew.
    QVector<int> orden(piezas.size());
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&piezas](int a, int b) {
        return piezas[a].marco.top() < piezas[b].marco.top();
    });
    QVector<double> corrimiento(piezas.size(), 0.0);
    for (int k = 0; k < orden.size(); ++k) {
        const Pieza& pieza = piezas[orden[k]];
        for (int j = 0; j < k; ++j) {
            const Pieza& arriba = piezas[orden[j]];
            if (arriba.marco.bottom() <= pieza.marco.top() + 1e-9 &&
                enLasMismasColumnas(arriba.marco, pieza.marco)) {
                corrimiento[orden[k]] =
                    std::max(corrimiento[orden[k]], corrimiento[orden[j]] + arriba.crecimiento);
            }
        }
    }
    // Painted in the template's order, so what is declared later lies on top. The band grows
    // by as much as its lowest piece came to lie lower.
    Medida m;
    double fondo = 0;
    double fondoNuevo = 0;
    for (int i = 0; i < piezas.size(); ++i) {
        for (Trazo t : piezas[i].trazos) {
            t.rect.translate(0, corrimiento[i]);
            m.trazos.append(t);
        }
        const double bajo = piezas[i].marco.bottom() + corrimiento[i] + piezas[i].crecimiento;
        fondo = std::max(fondo, piezas[i].marco.bottom());
        fondoNuevo = std::max(fondoNuevo, bajo);
        m.alto = std::max(m.alto, piezas[i].crecimiento > 0 ? bajo : 0.0);
    }
    m.alto = std::max(m.alto, alto + fondoNuevo - fondo);
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

void Maquetador::colocaRenglones(const DatosDeDocumento& d) {
    const int porHoja = PartidasPorHoja(d);
    documento_ = &d;
    double inicioDeRenglones = y_;
    int enLaHoja = 0;
    for (const DatosDeDocumento::Renglon& r : d.detalle) {
        renglon_ = &r;
        const Medida m = mide(p_.detalle);
        renglon_ = nullptr;
        // A row taller than a whole page still goes on the page it starts, not on an empty one.
        const bool noCabe = y_ + m.alto > limite() && y_ > inicioDeRenglones;
        if (noCabe || (porHoja > 0 && enLaHoja == porHoja)) {
            cierraPagina();
            abrePagina();
            coloca(mide(p_.encabezadoDetalle));
            inicioDeRenglones = y_;
            enLaHoja = 0;
        }
        coloca(m);
        ++enLaHoja;
    }
    // On a pre-printed form what follows the rows has its fixed place under the rows' room.
    if (porHoja > 0 && p_.partidasFijas) {
        y_ = std::max(y_, std::min(limite(), inicioDeRenglones + porHoja * p_.detalle.alto));
    }
}

QVector<PaginaMaquetada> Maquetador::Maqueta(const QVector<DatosDeDocumento>& documentos) {
    paginas_.clear();
    for (const DatosDeDocumento& d : documentos) {
        const qsizetype primera = paginas_.size();
        documento_ = &d;
        renglon_ = nullptr;
        abrePagina();
        colocaSiCabe(mide(p_.encabezadoDocumento));
        colocaSiCabe(mide(p_.encabezadoDetalle));
        colocaRenglones(d);
        colocaSiCabe(mide(p_.pieDocumento));
        cierraPagina();
        numeraPaginas(primera);
    }
    documento_ = nullptr;
    return paginas_;
}

void Maquetador::numeraPaginas(qsizetype primera) {
    const QString total = QString::number(paginas_.size() - primera);
    for (qsizetype i = primera; i < paginas_.size(); ++i) {
        for (Trazo& t : paginas_[i].trazos) {
            for (QString& linea : t.lineas) {
                linea
                    .replace(QLatin1String("{Pagina}"), QString::number(i - primera + 1),
                             Qt::CaseInsensitive)
                    .replace(QLatin1String("{Paginas}"), total, Qt::CaseInsensitive);
            }
        }
    }
}
