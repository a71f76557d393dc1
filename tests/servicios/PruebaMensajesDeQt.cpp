#include "servicios/MensajesDeQt.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// What the process writes on standard error while the step runs.
QByteArray errorEstandarDe(const std::function<void()>& paso) {
    QTemporaryFile archivo;
    EXPECT_TRUE(archivo.open());
    std::fflush(stderr);
    const int antes = ::dup(STDERR_FILENO);
    ::dup2(archivo.handle(), STDERR_FILENO);
    paso();
    std::fflush(stderr);
    ::dup2(antes, STDERR_FILENO);
    ::close(antes);
    QFile leido(archivo.fileName());
    EXPECT_TRUE(leido.open(QIODevice::ReadOnly));
    return leido.readAll();
}

// Qt's drivers' warnings stay off standard error, where the program's own message goes first;
// critical messages still reach it.
TEST(MensajesDeQt, LasAdvertenciasDeQtNoLleganAlErrorEstandar) {
    const QtMessageHandler anterior = qInstallMessageHandler(nullptr);
    MensajesDeQt::Instala();
    const QByteArray escrito = errorEstandarDe([] {
        qWarning("QMYSQLResult::cleanup: unable to free statement handle");
        qDebug("depuración");
        qCritical("falla crítica de prueba");
    });
    qInstallMessageHandler(anterior);
    EXPECT_FALSE(escrito.contains("QMYSQLResult")) << escrito.constData();
    EXPECT_FALSE(escrito.contains("depuración")) << escrito.constData();
    EXPECT_TRUE(escrito.contains("falla crítica de prueba")) << escrito.constData();
}

} // namespace
