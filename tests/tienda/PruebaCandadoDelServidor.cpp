#include "apoyo/BaseDePrueba.h"
#include "orvlib/ErrorOrvlib.h"
#include "tienda/CandadoDelServidor.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kNombre = QStringLiteral("deremisiones.prueba.candado");

// Two workstations' connections to the test database and the lock between them.
class CandadoEntreConexiones : public ::testing::Test {
protected:
    BaseDePrueba base;
    Conexion primera;
    Conexion segunda;

    void SetUp() override {
        ASSERT_TRUE(base.bases().AbrirBdD(primera));
        ASSERT_TRUE(base.bases().AbrirBdD(segunda));
    }

    QString dueno() {
        return base.valor(QStringLiteral("SELECT IS_USED_LOCK('%1')").arg(kNombre)).toString();
    }

    bool tomado() {
        return base.valor(QStringLiteral("SELECT IS_USED_LOCK('%1') IS NOT NULL").arg(kNombre))
                   .toInt() == 1;
    }
};

TEST_F(CandadoEntreConexiones, OtraConexionVivaLoConservaYNadieLaTermina) {
    CandadoDelServidor suyo(primera, kNombre);
    ASSERT_TRUE(suyo.Toma());
    const QString id = dueno();
    CandadoDelServidor mio(segunda, kNombre);
    EXPECT_FALSE(mio.Toma());
    EXPECT_FALSE(mio.Tomado());
    EXPECT_EQ(dueno(), id);
    EXPECT_TRUE(suyo.EsPropio());
}

// A workstation that lets the lock go a moment after another asks for it does not get that one
// refused: Toma waits that moment. Suelta lets it go at once.
TEST_F(CandadoEntreConexiones, UnDuenoQueLoSueltaEnUnMomentoNoLoImpide) {
    QProcess otro;
    otro.start(QStringLiteral("mariadb"),
               {QStringLiteral("--no-defaults"),
                QStringLiteral("-h") + qEnvironmentVariable("DEREMISIONES_MYSQL_HOST"),
                QStringLiteral("-P") + qEnvironmentVariable("DEREMISIONES_MYSQL_PUERTO"),
                QStringLiteral("-uroot"), QStringLiteral("-e"),
                QStringLiteral("SELECT GET_LOCK('%1', 0); SELECT SLEEP(0.3); SELECT "
                               "RELEASE_LOCK('%1');")
                    .arg(kNombre)});
    ASSERT_TRUE(otro.waitForStarted());
    QElapsedTimer espera;
    espera.start();
    while (!tomado() && espera.elapsed() < 10000) {
        QThread::msleep(10);
    }
    ASSERT_TRUE(tomado()) << "el otro equipo no tomó el candado";
    CandadoDelServidor mio(primera, kNombre);
    EXPECT_TRUE(mio.Toma());
    EXPECT_TRUE(mio.EsPropio());
    otro.waitForFinished();
    mio.Suelta();
    EXPECT_FALSE(tomado());
    EXPECT_FALSE(mio.Tomado());
}

// A holder ended on the server (KILL, as when a workstation's connection is cut) is no reason
// to refuse: the lock is taken as soon as the server has let it go.
TEST_F(CandadoEntreConexiones, UnDuenoTerminadoNoLoImpide) {
    CandadoDelServidor suyo(primera, kNombre);
    ASSERT_TRUE(suyo.Toma());
    base.ejecuta(QStringLiteral("KILL ") + dueno());
    CandadoDelServidor mio(segunda, kNombre);
    EXPECT_TRUE(mio.Toma());
    EXPECT_TRUE(mio.EsPropio());
    EXPECT_THROW(suyo.EsPropio(), ErrorOrvlib);
}

// After its own connection was lost, the same lock object, on its connection opened again,
// takes the lock again.
TEST_F(CandadoEntreConexiones, ElMismoCandadoSeRetomaTrasPerderSuConexion) {
    CandadoDelServidor candado(primera, kNombre);
    ASSERT_TRUE(candado.Toma());
    const QString antes = dueno();
    base.ejecuta(QStringLiteral("KILL ") + antes);
    primera.cierra();
    ASSERT_TRUE(base.bases().AbrirBdD(primera));
    EXPECT_TRUE(candado.Toma());
    EXPECT_TRUE(candado.EsPropio());
    EXPECT_NE(dueno(), antes);
}

} // namespace
