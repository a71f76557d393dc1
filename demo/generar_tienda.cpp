// Writes the SQL of a sample store to standard output: settings, company, currencies, clients,
// products, texts and a period of delivery notes with their lines. The same arguments always
// give the same store (the random numbers come from a seeded Mersenne twister and are mapped
// without the library's distributions, whose results vary between compilers).
//
//   generar-tienda [--dias N] [--notas N] [--partidas N] [--semilla N] [--desde AAAA-MM-DD]
//                  [--base NOMBRE]

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Producto {
    const char* clave;
    const char* descripcion;
    long precio; // ten-thousandths
    int iva;
    int ieps;
    bool bloqueado;
    bool conTallas;
};

const std::vector<Producto> kProductos = {
    {"ARR1K", "ARROZ SUPER EXTRA 1 KG", 289000, 0, 0, false, false},
    {"FRI1K", "FRIJOL NEGRO 1 KG", 345000, 0, 0, false, false},
    {"ACE1L", "ACEITE VEGETAL 1 L", 412000, 0, 0, false, false},
    {"AZU2K", "AZÚCAR ESTÁNDAR 2 KG", 598000, 0, 0, false, false},
    {"REF600", "REFRESCO COLA 600 ML", 172400, 16, 8, false, false},
    {"REF2L", "REFRESCO COLA 2 L", 318900, 16, 8, false, false},
    {"GAL300", "GALLETAS SURTIDAS 300 G", 256000, 16, 8, false, false},
    {"CHO100", "CHOCOLATE CON ALMENDRAS 100 G", 198300, 16, 8, false, false},
    {"DET1K", "DETERGENTE EN POLVO 1 KG", 386200, 16, 0, false, false},
    {"JAB3", "JABÓN DE TOCADOR 3 PZAS", 412500, 16, 0, false, false},
    {"PAP4", "PAPEL HIGIÉNICO 4 ROLLOS", 337900, 16, 0, true, false},
    {"CLO1L", "CLORO 1 L", 159000, 16, 0, false, false},
    {"LEC1L", "LECHE ENTERA 1 L", 252000, 0, 0, true, false},
    {"HUE18", "HUEVO BLANCO 18 PZAS", 689000, 0, 0, false, false},
    {"CAF200", "CAFÉ SOLUBLE 200 G", 1245000, 0, 0, false, false},
    {"ATU140", "ATÚN EN AGUA 140 G", 218000, 0, 0, false, false},
    {"PLAYC", "PLAYERA ALGODÓN CUELLO REDONDO", 1499000, 16, 0, false, true},
    {"PANT", "PANTALÓN DE MEZCLILLA", 4899000, 16, 0, false, true},
    {"CALC", "CALCETÍN DEPORTIVO", 459000, 16, 0, false, true},
    {"BOT25", "BOTANA DE PAPAS 45 G", 185000, 16, 8, false, false},
};

struct Cliente {
    const char* clave;
    const char* nombre;
    const char* rfc;
    const char* metodo;
    const char* calle;
    const char* numero;
    const char* colonia;
    const char* ciudad;
};

const std::vector<Cliente> kClientes = {
    {"CLIENTE", "PÚBLICO EN GENERAL", "XAXX010101000", "01 - Efectivo", "", "", "", ""},
    {"C001", "ABARROTES LA ESPERANZA", "AES990101AB1", "03 - Transferencia", "AV. JUÁREZ", "120",
     "CENTRO", "GUADALAJARA"},
    {"C002", "MARÍA FERNANDA LÓPEZ", "LOFM800101XY2", "01 - Efectivo", "CALLE HIDALGO", "45",
     "SANTA TERE", "GUADALAJARA"},
    {"C003", "TIENDITA DON PEPE", "TDP050505QW3", "04 - Tarjeta de crédito", "CALLE MORELOS", "8-B",
     "LAS ÁGUILAS", "ZAPOPAN"},
    {"C004", "JOSÉ LUIS O'REILLY", "ORJL750303KK4", "01 - Efectivo", "PRIV. DEL SOL", "3",
     "JARDINES", "TLAQUEPAQUE"},
    {"C005", "COMERCIALIZADORA ANA SOFÍA", "CAS101010ZZ5", "99 - Por definir", "BLVD. LÁZARO",
     "1500", "INDUSTRIAL", "TONALÁ"},
    {"C006", "RESTAURANTE EL AGAVE", "RAG120612LL6", "03 - Transferencia", "AV. MÉXICO", "2233",
     "LADRÓN DE GUEVARA", "GUADALAJARA"},
    {"C007", "JUANA ÁLVAREZ RUIZ", "AARJ900909PP7", "Efectivo", "CALLE ALLENDE", "77", "CENTRO",
     "ZAPOPAN"},
};

std::string sql(const QString& texto) {
    QString t = texto;
    t.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('\''), QLatin1String("''"));
    std::string citado(1, '\'');
    citado += t.toStdString();
    citado += '\'';
    return citado;
}

std::string sql(const char* texto) {
    return sql(QString::fromUtf8(texto));
}

std::string decimal(long diezmilesimos) {
    const bool negativo = diezmilesimos < 0;
    const long v = negativo ? -diezmilesimos : diezmilesimos;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%ld.%04ld", negativo ? "-" : "", v / 10000, v % 10000);
    return buf;
}

// The store's compounding flags, written to configura: IVA is charged on the price plus IEPS
// (AplicaIVA), IEPS on the price alone.
constexpr int kAplicaIVA = 1;
constexpr int kAplicaImpAd = 0;

// numerador / divisor (both positive) as a whole number of cents, halves up, in
// ten-thousandths: the host's rounding of every figure of a line.
long centavos(long long numerador, long long divisor) {
    return static_cast<long>((numerador + divisor / 2) / divisor) * 100;
}

// Rows of one table, written as multi-row INSERTs of a bounded size. Each table keeps its own
// buffer, so statements of tables filled side by side never interleave.
class Insercion {
public:
    explicit Insercion(std::string encabezado)
        : encabezado_(std::move(encabezado)) {}
    ~Insercion() { cierra(); }
    Insercion(const Insercion&) = delete;
    Insercion& operator=(const Insercion&) = delete;

    void fila(const std::string& valores) {
        texto_ += (filas_ == 0 ? encabezado_ : std::string(",\n")) + "(" + valores + ")";
        if (++filas_ == 1000) {
            cierra();
        }
    }

    void cierra() {
        if (filas_ > 0) {
            texto_ += ";\n";
            std::fputs(texto_.c_str(), stdout);
        }
        texto_.clear();
        filas_ = 0;
    }

private:
    std::string encabezado_;
    std::string texto_;
    int filas_ = 0;
};

std::string lista(std::initializer_list<std::string> valores) {
    std::string r;
    for (const auto& v : valores) {
        r += (r.empty() ? "" : ",") + v;
    }
    return r;
}

void escribeCatalogos(const std::string& base) {
    std::printf("INSERT INTO configura (SeriesEnRem, VariosIVAs, VariosImpAd, AplicaIVA, "
                "AplicaImpAd, PartidasXhojaRem) VALUES (1, 1, 1, %d, %d, 20);\n",
                kAplicaIVA, kAplicaImpAd);
    std::puts("INSERT INTO sistema (Dato, Contenido) VALUES ('FA-B', '123'), ('FA-C', '0'), "
              "('FA-F', '1000');");
    std::puts("INSERT INTO generales (Localidad2) VALUES ('GUADALAJARA, JALISCO');");
    std::printf(
        "INSERT INTO empresas (BaseDeDatos, clave, Empresa, NombreComercial, Regimen, RFC, Calle, "
        "NumExterior, NumInterior, Colonia, Localidad, Estado, Pais, CP, CiudadEstado, Telefonos, "
        "Calle2, NumExterior2, Colonia2, Localidad2, Estado2, Pais2, CP2, Municipio2) VALUES "
        "(%s, 'EMP01', 'DISTRIBUIDORA EL SURTIDOR, S.A. DE C.V.', 'El Surtidor', "
        "'601 - General de Ley Personas Morales', 'DSU010203AB4', 'AV. REVOLUCIÓN', '1450', NULL, "
        "'GENERAL REAL', 'GUADALAJARA', 'JALISCO', 'MÉXICO', '44890', 'GUADALAJARA, JALISCO', "
        "'33 3619 0000', 'CALZ. INDEPENDENCIA', '230', 'SAN JUAN DE DIOS', 'GUADALAJARA', "
        "'JALISCO', 'MÉXICO', '44360', 'GUADALAJARA');\n",
        sql(QString::fromStdString(base)).c_str());
    std::puts("INSERT INTO monedas (Id, Nombre, Abreviacion, Paridad) VALUES "
              "(1, 'PESOS', 'M.N.', 1), (2, 'DÓLARES', 'USD', 18.2500);");
    {
        Insercion ins("INSERT INTO clientes (Clave, Nombre, RFC, MetodoDePago, Calle, NumExterior, "
                      "Colonia, Ciudad, Estado, Pais, CP, Telefono1) VALUES\n");
        for (const Cliente& c : kClientes) {
            ins.fila(lista({sql(c.clave), sql(c.nombre), sql(c.rfc), sql(c.metodo), sql(c.calle),
                            sql(c.numero), sql(c.colonia), sql(c.ciudad), sql("JALISCO"),
                            sql("MÉXICO"), sql("44100"), sql("33 1234 5678")}));
        }
    }
    {
        Insercion ins("INSERT INTO productos (clave, Descripcion, Precio1, IVA, ImpuestoAd, "
                      "Bloqueado) VALUES\n");
        for (const Producto& p : kProductos) {
            ins.fila(
                lista({sql(p.clave), sql(p.descripcion), decimal(p.precio), std::to_string(p.iva),
                       std::to_string(p.ieps), p.bloqueado ? "1" : "0"}));
        }
    }
    std::puts("INSERT INTO textos (Clave, Texto) VALUES "
              "('CLIC001           01', 'Entregar en bodega trasera. '), "
              "('CLIC001           02', 'Horario de recepción de 8 a 14 h.');");
    std::puts("INSERT INTO textosclientes (Clave, Notas) VALUES "
              "('C003', 'Cliente con crédito a 15 días.\\r\\nFavor de revisar la mercancía.');");
}

void escribeRemisiones(int dias, int notas, int partidas, unsigned semilla, const QDate& desde) {
    std::mt19937 azar(semilla);
    auto entre = [&azar](int n) { return static_cast<int>(azar() % static_cast<unsigned>(n)); };
    Insercion cab(
        "INSERT INTO remisiones (Id, Serie, Factura, Fecha, Hora, Cliente, Nombre, "
        "Subtotal, IVA, ImpuestoAd, Descuento, Desc1, Desc2, Moneda, Cancelada, Afectada, "
        "Facturada, Usuario) VALUES\n");
    Insercion det("INSERT INTO remisionesdetalle (Id, Partida, Producto, Descripcion, Cantidad, "
                  "PrecioNeto, PrecioBruto, IVA, ImpuestoAd, BaseImpuestoAd, ImporteImpuestoAd, "
                  "BaseIVA, ImporteIVA, IdExterna) VALUES\n");
    Insercion ref("INSERT INTO referenciaexterna (Id, Referencia, Cantidad) VALUES\n");
    const char* tallas[] = {"T-CH", "T-M", "T-G", "T-XG"};
    long folios[3] = {0, 0, 0};
    const char* series[3] = {"A", "B", "C"};
    int id = 0;
    for (int d = 0; d < dias; ++d) {
        const std::string fecha = desde.addDays(d).toString(Qt::ISODate).toStdString();
        for (int n = 0; n < notas; ++n) {
            ++id;
            const int s = entre(10) < 7 ? 0 : (entre(2) == 0 ? 1 : 2);
            const Cliente& cliente = kClientes[entre(static_cast<int>(kClientes.size()))];
            long subtotal = 0;
            long descuento = 0;
            long iva = 0;
            long ieps = 0;
            // One note in six carries header discounts, in hundredths of a per cent: 5 or 10 %,
            // sometimes 2.5 % more on what is left.
            const bool conDescuento = entre(6) == 0;
            const long desc1 = conDescuento ? (entre(2) == 0 ? 500 : 1000) : 0;
            const long desc2 = conDescuento && entre(3) == 0 ? 250 : 0;
            for (int p = 1; p <= partidas; ++p) {
                const Producto& prod = kProductos[entre(static_cast<int>(kProductos.size()))];
                const long cantidad = (1 + entre(6)) * 10000 + (entre(4) == 0 ? 5000 : 0);
                // Each figure in cents: the amount, what is left of it after the discounts
                // (in cascade; a blocked product takes none), IEPS on that, then IVA on both.
                const long bruto =
                    centavos(static_cast<long long>(cantidad) * prod.precio, 1000000);
                long importe = bruto;
                for (const long d : {desc1, desc2}) {
                    if (d != 0 && !prod.bloqueado) {
                        importe = centavos(static_cast<long long>(importe) * (10000 - d), 1000000);
                    }
                }
                const long impIeps = centavos(static_cast<long long>(importe) * prod.ieps, 10000);
                const long baseIvaTotal = importe + (kAplicaIVA == 1 ? impIeps : 0);
                const long impIva =
                    centavos(static_cast<long long>(baseIvaTotal) * prod.iva, 10000);
                const long baseIeps = prod.ieps > 0 ? importe : 0;
                const long baseIva = prod.iva > 0 ? baseIvaTotal : 0;
                const bool sinBases = entre(10) == 0;
                const long precioBruto =
                    prod.precio * (100 + prod.ieps) / 100 * (100 + prod.iva) / 100;
                char idExterna[32] = "";
                if (prod.conTallas) {
                    std::snprintf(idExterna, sizeof idExterna, "RE%09d%03d", id, p);
                    for (int t = 0; t < 1 + entre(3); ++t) {
                        ref.fila(lista(
                            {sql(idExterna), sql(tallas[t]), decimal((1 + entre(3)) * 10000)}));
                    }
                }
                det.fila(lista({std::to_string(id), std::to_string(p), sql(prod.clave),
                                sql(prod.descripcion), decimal(cantidad), decimal(prod.precio),
                                decimal(precioBruto), std::to_string(prod.iva),
                                std::to_string(prod.ieps), decimal(sinBases ? 0 : baseIeps),
                                decimal(sinBases ? 0 : impIeps), decimal(sinBases ? 0 : baseIva),
                                decimal(sinBases ? 0 : impIva), sql(idExterna)}));
                subtotal += importe;
                descuento += bruto - importe;
                iva += impIva;
                ieps += impIeps;
            }
            const bool cancelada = entre(100) < 3;
            char hora[48];
            std::snprintf(hora, sizeof hora, "%02d:%02d:%02d", 9 + n * 12 / std::max(notas, 1),
                          entre(60), entre(60));
            cab.fila(lista({std::to_string(id), sql(series[s]), std::to_string(++folios[s]),
                            sql(fecha.c_str()), sql(hora), sql(cliente.clave), sql(cliente.nombre),
                            decimal(subtotal), decimal(iva), decimal(ieps), decimal(descuento),
                            decimal(desc1 * 100), decimal(desc2 * 100), "1", cancelada ? "1" : "0",
                            entre(10) == 0 ? "0" : "1", "0", sql("CAJA1")}));
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser opciones;
    opciones.setApplicationDescription(
        QStringLiteral("Escribe en la salida estándar el SQL de una tienda de ejemplo."));
    opciones.addHelpOption();
    const QCommandLineOption dias(QStringLiteral("dias"), QStringLiteral("Días del período."),
                                  QStringLiteral("N"), QStringLiteral("30"));
    const QCommandLineOption notas(QStringLiteral("notas"), QStringLiteral("Remisiones por día."),
                                   QStringLiteral("N"), QStringLiteral("40"));
    const QCommandLineOption partidas(QStringLiteral("partidas"),
                                      QStringLiteral("Partidas por remisión."), QStringLiteral("N"),
                                      QStringLiteral("5"));
    const QCommandLineOption semilla(QStringLiteral("semilla"), QStringLiteral("Semilla."),
                                     QStringLiteral("N"), QStringLiteral("20091"));
    const QCommandLineOption desde(QStringLiteral("desde"), QStringLiteral("Primer día."),
                                   QStringLiteral("AAAA-MM-DD"), QStringLiteral("2026-11-01"));
    const QCommandLineOption base(QStringLiteral("base"),
                                  QStringLiteral("Nombre de la base de datos de la tienda."),
                                  QStringLiteral("NOMBRE"), QStringLiteral("datos1"));
    opciones.addOptions({dias, notas, partidas, semilla, desde, base});
    opciones.process(app);

    const QDate primerDia = QDate::fromString(opciones.value(desde), Qt::ISODate);
    if (!primerDia.isValid()) {
        std::fprintf(stderr, "Fecha inválida: %s\n", qPrintable(opciones.value(desde)));
        return 2;
    }
    std::puts("SET NAMES utf8mb4;");
    escribeCatalogos(opciones.value(base).toStdString());
    escribeRemisiones(opciones.value(dias).toInt(), opciones.value(notas).toInt(),
                      opciones.value(partidas).toInt(), opciones.value(semilla).toUInt(),
                      primerDia);
    return 0;
}
