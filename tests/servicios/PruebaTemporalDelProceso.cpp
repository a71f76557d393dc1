#include "apoyo/CarpetaDePrueba.h"
#include "servicios/TemporalDelProceso.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <utime.h>

namespace {

// The lock file of the process's own folder, written for another process id and name.
QByteArray bloqueoDe(qint64 pid, const QByteArray& programa) {
    QList<QByteArray> lineas =
        CarpetaDePrueba::lee(QDir(TemporalDelProceso::Carpeta()).filePath("en-uso.lock"))
            .split('\n');
    lineas[0] = QByteArray::number(pid);
    lineas[1] = programa;
    return lineas.join('\n');
}

QString carpetaAjena(const QString& nombre, const QByteArray& bloqueo) {
    const QString ruta = QDir(TemporalDelProceso::Raiz()).filePath(nombre);
    QDir().mkpath(ruta);
    CarpetaDePrueba::escribe(QDir(ruta).filePath(QStringLiteral("AUX_X.MDB")), "restos");
    if (!bloqueo.isNull()) {
        CarpetaDePrueba::escribe(QDir(ruta).filePath(QStringLiteral("en-uso.lock")), bloqueo);
    }
    return ruta;
}

// A day old, file or folder.
void envejece(const QString& ruta) {
    const time_t ayer = QDateTime::currentDateTime().addDays(-1).toSecsSinceEpoch();
    const utimbuf tiempos{ayer, ayer};
    ASSERT_EQ(::utime(QFile::encodeName(ruta).constData(), &tiempos), 0);
}

TEST(TemporalDelProceso, CadaProcesoTieneLaSuyaYAlArrancarSeQuitanLasAbandonadas) {
    CarpetaDePrueba carpeta;
    const QString propia = TemporalDelProceso::Carpeta();
    EXPECT_EQ(QFileInfo(propia).absolutePath(),
              QFileInfo(carpeta.ruta(QStringLiteral("programa/Temporal"))).absoluteFilePath());
    EXPECT_EQ(TemporalDelProceso::Carpeta(), propia);

    QProcess terminado;
    terminado.start(QStringLiteral("true"));
    ASSERT_TRUE(terminado.waitForStarted());
    const qint64 pidTerminado = terminado.processId();
    ASSERT_TRUE(terminado.waitForFinished());
    QProcess vivo;
    vivo.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(vivo.waitForStarted());

    const QString muerta =
        carpetaAjena(QStringLiteral("muerta"), bloqueoDe(pidTerminado, "pruebas_tienda"));
    const QString ocupada =
        carpetaAjena(QStringLiteral("ocupada"), bloqueoDe(vivo.processId(), "sleep"));
    const QString sinBloqueoVieja = carpetaAjena(QStringLiteral("vieja"), QByteArray());
    envejece(sinBloqueoVieja);
    const QString sinBloqueoNueva = carpetaAjena(QStringLiteral("nueva"), QByteArray());
    const QString suelto = QDir(TemporalDelProceso::Raiz()).filePath(QStringLiteral("AUX_1.MDB"));
    CarpetaDePrueba::escribe(suelto, "de una versión anterior");
    envejece(suelto);

    TemporalDelProceso::LimpiaAbandonadas();
    EXPECT_FALSE(QFileInfo::exists(muerta));
    EXPECT_FALSE(QFileInfo::exists(sinBloqueoVieja));
    EXPECT_FALSE(QFileInfo::exists(suelto));
    EXPECT_TRUE(QFileInfo::exists(QDir(ocupada).filePath(QStringLiteral("AUX_X.MDB"))));
    EXPECT_TRUE(QFileInfo::exists(sinBloqueoNueva));
    EXPECT_TRUE(QFileInfo::exists(propia));
    vivo.kill();
    vivo.waitForFinished();

    TemporalDelProceso::Suelta();
    EXPECT_FALSE(QFileInfo::exists(propia));
}

} // namespace
