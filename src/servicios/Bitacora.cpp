#include "servicios/Bitacora.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/Windows1252.h"
#include "servicios/Proceso.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QSysInfo>
#include <exception>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// A field on one line: tabs and line breaks of an error text become blanks.
QString campo(QString texto) {
    static const QRegularExpression separadores(QStringLiteral("[\\t\\r\\n]+"));
    return texto.replace(separadores, QStringLiteral(" ")).trimmed();
}

QString usuario() {
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString nombre = qEnvironmentVariable(variable);
        if (!nombre.isEmpty()) {
            return nombre;
        }
    }
#ifdef Q_OS_UNIX
    // A scheduled run may have none of them: the account's own name.
    if (const passwd* cuenta = ::getpwuid(::getuid())) {
        return QString::fromLocal8Bit(cuenta->pw_name);
    }
#endif
    return {};
}

QString& lineaPerdida() {
    static QString causa;
    return causa;
}

} // namespace

QString Bitacora::Archivo() {
    return QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("Bitacora.txt"));
}

void Bitacora::Anota(const QString& trabajo, const QString& parametros, const QString& resultado) {
    const QStringList campos = {
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
        campo(QSysInfo::machineHostName()),
        campo(usuario()),
        campo(trabajo),
        campo(parametros),
        campo(resultado)};
    // One write per line in append mode, so lines of processes writing at once never mix.
    const QByteArray linea = Windows1252::codifica(campos.join(QLatin1Char('\t'))) + "\r\n";
    // A line the trail cannot take is kept for whoever ends the run to say; the job it records
    // is done and stays done.
    try {
        EscritorDeArchivo::Agrega(Archivo(), linea);
    } catch (const ErrorOrvlib& e) {
        lineaPerdida() = e.descripcion();
    }
}

QString Bitacora::LineaPerdida() {
    return lineaPerdida();
}

QString Bitacora::Registra(const QString& trabajo, const QString& parametros,
                           const std::function<QString()>& accion) {
    QString resultado;
    try {
        resultado = accion();
    } catch (const ErrorOrvlib& e) {
        Anota(trabajo, parametros, QStringLiteral("error: ") + e.texto());
        throw;
    } catch (const std::exception& e) {
        Anota(trabajo, parametros, QStringLiteral("error: ") + QString::fromLocal8Bit(e.what()));
        throw;
    }
    Anota(trabajo, parametros, resultado);
    return resultado;
}
