#include "reporteador/Maquetador.h"

#include "reporteador/MedidaDeTexto.h"

#include <QDir>
#include <QImage>
#include <numeric>

namespace {

// Whether two rectangles share some width: what grows above pushes what lies in its columns.
bool enLasMismasColumnas(const QRectF& a, const QRectF& b) {
    return a.left() < b.right() && b.left() < a.right();
}

} // namespace

Maquetador::Maquetador(const Plantilla& plantilla, QHash<QString, QImage>& imagenes)
    : p_(plantilla)
    , valores_(plantilla)
    , imagenes_(imagenes) {}

QFont Maquetador::letra(const ElementoDePlantilla& e) const {
    QFont f(p_.familia);
    f.setPointSizeF(e.tamano > 0 ? e.tamano : p_.tamano);
    f.setBold(e.negrita);
    f.setItalic(e.cursiva);
    return f;
}

const QImage& Maquetador::imagen(const QString& nombre) const {
    const QString ruta = QDir(p_.carpeta).filePath(nombre);
    const auto it = imagenes_.constFind(ruta);
    if (it != imagenes_.constEnd()) {
        return *it;
    }
    return *imagenes_.insert(ruta, QImage(ruta));
}

Trazo Maquetador::trazoDeTexto(const ElementoDePlantilla& e) const {
    Trazo t;
    const QFont f = letra(e);
    t.familia = f.family();
    t.tamano = f.pointSizeF();
    t.negrita = e.negrita;
    t.cursiva = e.cursiva;
    t.alineacion = e.alineacion;
    t.altoDeLinea = MedidaDeTexto::AltoDeLinea(f);
    const QString texto = valores_.Resuelve(e.texto, e);
    t.lineas = e.ajusta ? MedidaDeTexto::Parte(texto, e.ancho, f) : QStringList{texto};
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
        valores_.EnNumero(n);
        if (!valores_.Cumple(e.condicion)) {
            continue;
        }
        const Medida fila = mide(e.renglon, e.alto);
        for (Trazo t : fila.trazos) {
            t.rect.translate(e.x, e.y + y);
            pieza.trazos.append(t);
        }
        y += fila.alto;
    }
    valores_.EnNumero(0);
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
        if (e.tipo == ElementoDePlantilla::Tipo::Renglones || valores_.Cumple(e.condicion)) {
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
    const int porHoja = valores_.PartidasPorHoja(d);
    valores_.EnDocumento(&d);
    double inicioDeRenglones = y_;
    int enLaHoja = 0;
    for (const DatosDeDocumento::Renglon& r : d.detalle) {
        valores_.EnRenglon(&r);
        const Medida m = mide(p_.detalle);
        valores_.EnRenglon(nullptr);
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
        valores_.EnDocumento(&d);
        valores_.EnRenglon(nullptr);
        abrePagina();
        colocaSiCabe(mide(p_.encabezadoDocumento));
        colocaSiCabe(mide(p_.encabezadoDetalle));
        colocaRenglones(d);
        colocaSiCabe(mide(p_.pieDocumento));
        cierraPagina();
        numeraPaginas(primera);
    }
    valores_.EnDocumento(nullptr);
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
