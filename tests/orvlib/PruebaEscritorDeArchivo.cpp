#include "apoyo/DiscoPequeno.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/BasesDD.h"
#include "orvlib/Conexion.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/SalidaRevisada.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A device that takes the first bytes it is given and then fails as a full or forbidden disk
// would, with the system's number.
class DispositivoQueFalla : public QIODevice {
public:
    DispositivoQueFalla(qint64 tomaHasta, int numero)
        : tomaHasta_(tomaHasta)
        , numero_(numero) {
        open(QIODevice::WriteOnly);
    }

    QByteArray tomados;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* datos, qint64 largo) override {
        if (tomados.size() + largo > tomaHasta_) {
            setErrorString(QStringLiteral("falla de la prueba"));
            errno = numero_;
            return -1;
        }
        tomados.append(datos, static_cast<qsizetype>(largo));
        return largo;
    }

private:
    qint64 tomaHasta_;
    int numero_;
};

struct CausaDeFalla {
    const char* caso;
    int numero;
    const char* texto;
};

class SalidaQueFalla : public ::testing::TestWithParam<CausaDeFalla> {};

TEST_P(SalidaQueFalla, LaPrimeraEscrituraFallidaQuedaConSuCausa) {
    DispositivoQueFalla destino(10, GetParam().numero);
    SalidaRevisada salida(destino, QStringLiteral("/tienda/ListaRemisiones.txt"));
    EXPECT_EQ(salida.write("12345678"), 8);
    EXPECT_EQ(salida.write("90ab"), -1);
    // Once failed, later writes fail too, even those that would fit.
    EXPECT_EQ(salida.write("c"), -1);
    ASSERT_TRUE(salida.fallo());
    EXPECT_EQ(salida.escritos(), 8);
    EXPECT_EQ(salida.error().descripcion(), QString::fromUtf8(GetParam().texto));
    EXPECT_EQ(salida.error().contexto(), QStringLiteral("/tienda/ListaRemisiones.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Causas, SalidaQueFalla,
    ::testing::Values(CausaDeFalla{"DiscoLleno", ENOSPC,
                                   "No hay espacio en el disco para escribir ListaRemisiones.txt"},
                      CausaDeFalla{"SinPermiso", EACCES,
                                   "No se tiene permiso para escribir ListaRemisiones.txt"},
                      CausaDeFalla{"OtraCausa", EIO,
                                   "No se pudo escribir ListaRemisiones.txt: falla de la prueba"}),
    [](const auto& info) { return std::string(info.param.caso); });

// QPdfWriter ignores what its writes return and its painter's end() reports success: only the
// checked device tells the PDF is incomplete.
TEST(SalidaRevisada, UnPdfQueNoCupoSeNota) {
    DispositivoQueFalla destino(2000, ENOSPC);
    SalidaRevisada salida(destino, QStringLiteral("A-601.pdf"));
    {
        QPdfWriter pdf(&salida);
        QPainter pintor(&pdf);
        pintor.drawText(100, 100, QStringLiteral("Remisión A-601"));
        pintor.end();
    }
    EXPECT_TRUE(salida.fallo());
    EXPECT_FALSE(destino.tomados.contains("%%EOF"));
}

// What a full disk does to each way of writing: the old file stays byte for byte, no scratch
// file is left, and the error names the file and the cause.
struct EscrituraEnDiscoLleno {
    const char* caso;
    qint64 dejar; // bytes left free on the disk
    std::function<void(const QString&)> escribe;
};

class DiscoLleno : public ::testing::TestWithParam<EscrituraEnDiscoLleno> {};

TEST_P(DiscoLleno, ElArchivoAnteriorQuedaIntacto) {
    DiscoPequeno disco(64);
    if (!disco.Montado()) {
        GTEST_SKIP() << qPrintable(disco.PorQueNo());
    }
    const QString ruta = disco.ruta(QStringLiteral("DeRemisiones.ini"));
    const QByteArray antes = "[Configuración]\r\nCarpeta de Orvane=/srv/orvane\r\n";
    EscritorDeArchivo::Escribe(ruta, antes);
    disco.Llena(GetParam().dejar);
    try {
        GetParam().escribe(ruta);
        ADD_FAILURE() << "debió fallar";
    } catch (const ErrorOrvlib& e) {
        EXPECT_EQ(e.descripcion(),
                  QStringLiteral("No hay espacio en el disco para escribir DeRemisiones.ini"));
        EXPECT_EQ(e.contexto(), ruta);
    }
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(), antes);
    EXPECT_EQ(disco.Archivos(), QStringList{QStringLiteral("DeRemisiones.ini")});
}

INSTANTIATE_TEST_SUITE_P(
    Escrituras, DiscoLleno,
    ::testing::Values(
        EscrituraEnDiscoLleno{
            "TodoElArchivo", 8192,
            [](const QString& ruta) { EscritorDeArchivo::Escribe(ruta, QByteArray(100000, 'a')); }},
        // A content small enough to stay in the write buffer until the flush.
        EscrituraEnDiscoLleno{"UnaClaveDelIni", 0,
                              [](const QString& ruta) {
                                  ArchivoIni(ruta).escribe(QStringLiteral("Configuración"),
                                                           QStringLiteral("Base de datos"),
                                                           QStringLiteral("datos1"));
                              }},
        // Part of the line gets in before the disk is full: it is taken back.
        EscrituraEnDiscoLleno{
            "AlFinal", 8192,
            [](const QString& ruta) { EscritorDeArchivo::Agrega(ruta, QByteArray(20000, 'b')); }}),
    [](const auto& info) { return std::string(info.param.caso); });

// The auxiliary database on a full disk: SQLite's "database or disk is full" is said as the
// file it could not write.
TEST(DiscoLleno, LaBaseAuxiliarDiceQueNoHayEspacio) {
    DiscoPequeno disco(256);
    if (!disco.Montado()) {
        GTEST_SKIP() << qPrintable(disco.PorQueNo());
    }
    const QString ruta = disco.ruta(QStringLiteral("AUX_1.MDB"));
    EscritorDeArchivo::Escribe(ruta, {});
    Conexion auxiliar;
    ASSERT_TRUE(BasesDD::AbreBdDAccess(auxiliar, ruta));
    auxiliar.ejecuta(QStringLiteral("CREATE TABLE Notas (Texto BLOB)"));
    disco.Llena();
    try {
        auxiliar.consulta(QStringLiteral("INSERT INTO Notas VALUES (?)"),
                          {QByteArray(200000, 'n')});
        ADD_FAILURE() << "debió fallar";
    } catch (const ErrorOrvlib& e) {
        EXPECT_EQ(e.descripcion(),
                  QStringLiteral("No hay espacio en el disco para escribir AUX_1.MDB"));
    }
}

// The new content does not take the name when its last look refuses it or when it does not
// reach the disk (the sync fails): the old file stays and no scratch file is left.
TEST(EscritorDeArchivo, UnContenidoRechazadoOSinSincronizarNoTomaElNombre) {
    const struct {
        const char* caso;
        EscritorDeArchivo::Sincronizacion sincroniza;
        EscritorDeArchivo::Revision revision;
    } casos[] = {
        {"rechazado", EscritorDeArchivo::Sincroniza,
         [](const SalidaRevisada& s) {
             return s.cola().endsWith("%%EOF") ? QString() : QStringLiteral("quedó sin su cierre");
         }},
        {"sin sincronizar",
         [](QFileDevice&) {
             errno = EIO;
             return false;
         },
         {}},
    };
    for (const auto& c : casos) {
        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath(QStringLiteral("A-601.pdf"));
        EscritorDeArchivo::Escribe(ruta, "%PDF-1.4 viejo %%EOF");
        EscritorDeArchivo escritor(ruta, c.sincroniza);
        escritor.escribe("%PDF-1.4 cortado");
        EXPECT_THROW(escritor.termina(c.revision), ErrorOrvlib) << c.caso;
        QFile archivo(ruta);
        ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
        EXPECT_EQ(archivo.readAll(), QByteArray("%PDF-1.4 viejo %%EOF")) << c.caso;
        EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("A-601.pdf")})
            << c.caso;
    }
}

} // namespace
