#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/modRPTs.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "servicios/Proceso.h"
#include "tienda/OrigenesODBC.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString kFuente =
    QStringLiteral("plantilla t\n"
                   "tabla M remisiones principal\n"
                   "tabla M remisionesdetalle detalle enlace Id=remisiones.Id\n"
                   "tabla M datos9.clientes busca enlace Clave=remisiones.Cliente\n"
                   "tabla A Generales\n"
                   "tabla m REMISIONES\n"
                   "tabla A Titulo100\n"
                   "tabla A Generales\n"
                   "formula NumeroDePaginas\n"
                   "formula Leyenda \"x\"\n");

class Escaneo : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    QString archivo = carpeta.ruta(QStringLiteral("t.rpt"));
    modRPTs m;

    void SetUp() override {
        CarpetaDePrueba::escribe(archivo, ArchivoDePlantilla::Construye(kFuente));
    }
};

TEST_F(Escaneo, TablasDistintasYPosicionesDeGenerales) {
    QStringList tablas;
    EXPECT_EQ(m.TablasDelFormato(carpeta.ruta(QStringLiteral("t")), tablas), 5);
    EXPECT_EQ(tablas, (QStringList{"M remisiones", "M remisionesdetalle", "M datos9.clientes",
                                   "A Generales", "A Titulo100"}));
    ASSERT_EQ(m.inPosicionesGenerales, 2);
    ASSERT_EQ(m.lnPosiciones.size(), 3);
    const QByteArray datos = CarpetaDePrueba::lee(archivo);
    EXPECT_EQ(datos.mid(m.lnPosiciones[1] - 1, 20), QByteArray("PDBDAO.DLL\0Auxiliar.", 20));
    EXPECT_GT(m.lnPosiciones[2], m.lnPosiciones[1]);

    // A restart lists from the second Generales entry on.
    m.inReintento = 1;
    tablas.clear();
    EXPECT_EQ(m.TablasDelFormato(archivo, tablas), 1);
    EXPECT_EQ(tablas, QStringList{"A Generales"});
}

TEST_F(Escaneo, FormulasPresentesYAusentes) {
    EXPECT_TRUE(modRPTs::ExisteFormula(archivo, QStringLiteral("NumeroDePaginas")));
    EXPECT_TRUE(modRPTs::ExisteFormula(carpeta.ruta(QStringLiteral("t")),
                                       QStringLiteral("numerodepaginas")));
    EXPECT_TRUE(modRPTs::ExisteFormula(archivo, QStringLiteral("Leyenda")));
    EXPECT_FALSE(modRPTs::ExisteFormula(archivo, QStringLiteral("Numero")));
    EXPECT_FALSE(modRPTs::ExisteFormula(archivo, QStringLiteral("Total")));
    EXPECT_FALSE(modRPTs::ExisteFormula(archivo, QStringLiteral("remisiones")));
}

TEST(InterpretaTabla, VentanasDeSesentaBytes) {
    const struct {
        QByteArray ventana;
        const char* entrada;
    } casos[] = {
        {QByteArray("PDSODBC.DLL\0myodbc3-test\0remisiones\0", 36), "M remisiones"},
        {QByteArray("PDBDAO.DLL\0Auxiliar.MDB\0Generales\0", 34), "A Generales"},
        {QByteArray("pdsodbc.dll\0origen\0otra.tabla\0", 30), "M otra.tabla"},
        {QByteArray("PDSODBC.DLL\0origen\0tab\x01la\0", 25), ""},
        {QByteArray("PDSODBC sin punto dll"), ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(modRPTs::InterpretaTabla(c.ventana.leftJustified(60, '\0')),
                  QString::fromLatin1(c.entrada))
            << c.ventana.toStdString();
    }
}

TEST(UbicacionDeTabla, TablasDelFormatoApuntadasALasDeTrabajo) {
    CarpetaDePrueba carpeta;
    Principal::CreaObjetosCompartidos();
    Proceso::actual().bases->cMiBase = QStringLiteral("principal");
    const struct {
        const char* entrada;
        const char* ubicacion;
    } casos[] = {
        {"M remisiones", "principal.tmpremisiones"},
        {"M Remisiones", "principal.tmpremisiones"},
        {"M remisionesdetalle", "principal.tmpremisionesdetalle"},
        {"M productosdetalle", "principal.tmpremisionesdetalle"},
        {"M clientes", "principal.clientes"},
        {"M otradb.clientes", "principal.clientes"},
        {"A Generales", "/tmp/AUX_1.MDB"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(modRPTs::UbicacionDeTabla(
                      QString::fromLatin1(c.entrada), QStringLiteral("/tmp/AUX_1.MDB"),
                      QStringLiteral("remisiones"), QStringLiteral("tmpremisiones"),
                      QStringLiteral("remisionesdetalle"), QStringLiteral("tmpremisionesdetalle")),
                  QString::fromLatin1(c.ubicacion))
            << c.entrada;
    }
}

TEST(ImpresoraDelFormato, ClaveSinSufijoEImpresoraNoInstalada) {
    CarpetaDePrueba carpeta;
    Principal::CreaObjetosCompartidos();
    Proceso::actual().stIniHost = carpeta.ruta(QStringLiteral("host/Orvane.ini"));
    ArchivoIni(Proceso::actual().stIniHost)
        .escribe(QStringLiteral("Impresión de formatos"), QStringLiteral("fmtremision.rpt"),
                 QStringLiteral("  Impresora que no existe  "));
    modRPTs m;
    QString impresora;
    m.ImpresoraDelFormato(QStringLiteral("fmtremision_copia.rpt"), impresora);
    EXPECT_EQ(impresora, QStringLiteral("Impresora que no existe"));
    EXPECT_TRUE(m.stControlador.isEmpty());
    EXPECT_TRUE(m.stImpresora.isEmpty());
    EXPECT_TRUE(m.stPuerto.isEmpty());
    m.ImpresoraDelFormato(QStringLiteral("fmtfactura.rpt"), impresora);
    EXPECT_TRUE(impresora.isEmpty());
}

// The store's connection settings, as start-up leaves them in the shared BasesDD.
BasesDD& TiendaConectadaA(int puerto, const QString& usuario, const QString& contrasena) {
    Principal::CreaObjetosCompartidos();
    BasesDD& b = *Proceso::actual().bases;
    b.cRuta = QStringLiteral("servidor-tienda");
    b.cPuerto = puerto;
    b.cUsuario = usuario;
    b.cPassword = contrasena;
    b.cMiBase = QStringLiteral("datos1");
    return b;
}

TEST(OrigenesODBC, LosDiezValoresConLaBaseDeReportes) {
    CarpetaDePrueba carpeta;
    const BasesDD& b = TiendaConectadaA(3307, QStringLiteral("cajero"), {});
    carpeta.registraOrigenesOdbc();
    ActualizaOrigenesODBC();
    const QString ini = carpeta.archivoOdbc();
    EXPECT_EQ(
        CarpetaDePrueba::lee(ini),
        QByteArray("[myodbc3-test]\nDriver=MariaDB Unicode\nServer=servidor-tienda\nPassword=\n"
                   "User=cajero\nPort=3307\nDatabase=datos1\n[Orvane Reportes]\nDriver=MariaDB "
                   "Unicode\nServer=servidor-tienda\nPassword=\nUser=cajero\nPort=3307\n"
                   "Database=orvanereportes\n"));
    EXPECT_EQ(b.cMiBase, QStringLiteral("datos1"));
}

// The driver's TLS keys follow the program's setting: written when it encrypts, put back to
// plain when it no longer does, and never added to data sources that never had them.
TEST(OrigenesODBC, LasClavesDeTlsSiguenAlPrograma) {
    CarpetaDePrueba carpeta;
    BasesDD& b = TiendaConectadaA(3307, QStringLiteral("cajero"), {});
    carpeta.registraOrigenesOdbc();
    const struct {
        CifradoDeConexion cifrado;
        const char* claves; // of each data source, after its five values
    } pasos[] = {
        {{true, QStringLiteral("/srv/orvane/ca.pem")},
         "FORCETLS=1\nSSLVERIFY=1\nSSLCA=/srv/orvane/ca.pem\nSSLCAPATH=\n"},
        {{true, {}}, "FORCETLS=1\nSSLVERIFY=1\nSSLCA=\nSSLCAPATH=/etc/ssl/certs\n"},
        {{false, {}}, "FORCETLS=0\nSSLVERIFY=0\nSSLCA=\nSSLCAPATH=\n"},
    };
    for (const auto& paso : pasos) {
        b.cCifrado = paso.cifrado;
        ActualizaOrigenesODBC();
        const QByteArray claves(paso.claves);
        EXPECT_EQ(CarpetaDePrueba::lee(carpeta.archivoOdbc()),
                  "[myodbc3-test]\nDriver=MariaDB Unicode\nServer=servidor-tienda\nPassword=\n"
                  "User=cajero\nPort=3307\nDatabase=datos1\n" +
                      claves +
                      "[Orvane Reportes]\nDriver=MariaDB Unicode\nServer=servidor-tienda\n"
                      "Password=\nUser=cajero\nPort=3307\nDatabase=orvanereportes\n" +
                      claves)
            << paso.claves;
    }
    b.cCifrado = {};
}

// The data sources carry the store's password: only their owner reads them, and a print that
// changes nothing leaves the file as it was.
TEST(OrigenesODBC, ArchivoPrivadoQueSoloSeEscribeSiCambia) {
    CarpetaDePrueba carpeta;
    BasesDD& b = TiendaConectadaA(3306, QStringLiteral("caja"), QStringLiteral("secreta"));
    const QString ini = carpeta.archivoOdbc();
    const auto modo = [&ini] {
        struct stat estado {};
        ::stat(QFile::encodeName(ini).constData(), &estado);
        return estado.st_mode & 0777;
    };
    // A file that is written again gets a new modification time.
    const QDateTime marca(QDate(2001, 1, 1), QTime(12, 0));
    const auto reescrito = [&ini, &marca] { return QFileInfo(ini).lastModified() != marca; };
    ActualizaOrigenesODBC();
    EXPECT_EQ(modo(), 0600U);

    // An existing file readable by others is tightened, and not rewritten when nothing changes.
    QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                   QFile::ReadOther);
    {
        QFile archivo(ini);
        ASSERT_TRUE(archivo.open(QIODevice::ReadWrite));
        ASSERT_TRUE(archivo.setFileTime(marca, QFileDevice::FileModificationTime));
    }
    ActualizaOrigenesODBC();
    EXPECT_EQ(modo(), 0600U);
    EXPECT_FALSE(reescrito());

    b.cPuerto = 3307;
    ActualizaOrigenesODBC();
    EXPECT_TRUE(reescrito());
    EXPECT_EQ(modo(), 0600U);
    EXPECT_EQ(ArchivoIni(ini).lee(QStringLiteral("Orvane Reportes"), QStringLiteral("Port")),
              QStringLiteral("3307"));
}

TEST(CamposBin, UnArchivoGuardadoSaleByteAByte) {
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    CamposBin campos;
    campos.BaseDD = &base.conexion();
    QByteArray grande(CamposBin::kBytesPorRenglon * 2 + 17, '\0');
    QRandomGenerator azar(7);
    for (char& c : grande) {
        c = static_cast<char>(azar.bounded(256));
    }
    for (const QByteArray& contenido : {grande, QByteArray(), QByteArray("PD\0\x0E\x10\r\n", 7)}) {
        campos.GuardaRPT(QStringLiteral("Archivo.bin"), contenido);
        campos.ExtraeRPT(QStringLiteral("Archivo.bin"), carpeta.programa());
        EXPECT_EQ(CarpetaDePrueba::lee(carpeta.ruta(QStringLiteral("programa/Archivo.bin"))),
                  contenido);
    }
    EXPECT_EQ(base.valor(QStringLiteral("SELECT COUNT(*) FROM reportesbin")).toInt(), 1);
    EXPECT_THROW(campos.ExtraeRPT(QStringLiteral("NoEsta.rpt"), carpeta.programa()), ErrorOrvlib);
}

} // namespace
