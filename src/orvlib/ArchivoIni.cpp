#include "orvlib/ArchivoIni.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

constexpr QFileDevice::Permissions kSoloElDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

ArchivoIni::ArchivoIni(QString ruta, Estilo estilo, Acceso acceso)
    : ruta_(std::move(ruta))
    , acceso_(acceso) {
    if (estilo == Estilo::Unix) {
        utf8_ = true;
        finDeLinea_ = QStringLiteral("\n");
    }
    carga();
}

void ArchivoIni::carga() {
    QFile archivo(ruta_);
    if (!archivo.exists()) {
        return;
    }
    if (!archivo.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta_);
    }
    QByteArray bytes = archivo.readAll();
    bom_ = bytes.startsWith("\xEF\xBB\xBF");
    if (bom_) {
        bytes.remove(0, 3);
    }
    QString texto;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString comoUtf8 = utf8.decode(bytes);
    const bool tieneAltos = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c < 0; });
    if (tieneAltos || bom_) {
        utf8_ = bom_ || !utf8.hasError();
    }
    texto = utf8_ ? comoUtf8 : Windows1252::decodifica(bytes);
    if (texto.contains(QLatin1Char('\n'))) {
        finDeLinea_ =
            texto.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    }
    lineas_ = texto.split(QLatin1Char('\n'));
    for (QString& linea : lineas_) {
        if (linea.endsWith(QLatin1Char('\r'))) {
            linea.chop(1);
        }
    }
    // A file that ends with a line break splits into a last empty element: not a line.
    if (!lineas_.isEmpty() && lineas_.last().isEmpty()) {
        lineas_.removeLast();
    }
}

void ArchivoIni::guarda() const {
    QString texto;
    for (const QString& linea : lineas_) {
        texto += linea + finDeLinea_;
    }
    EscritorDeArchivo archivo(ruta_);
    // The new content never reaches the disk readable by others.
    if (acceso_ == Acceso::Privado) {
        archivo.soloParaElDueno();
    }
    if (bom_) {
        archivo.escribe("\xEF\xBB\xBF");
    }
    archivo.escribe(utf8_ ? texto.toUtf8() : Windows1252::codifica(texto));
    archivo.termina();
}

QString ArchivoIni::nombreDeSeccion(const QString& linea) {
    const QString t = linea.trimmed();
    if (!t.startsWith(QLatin1Char('['))) {
        return {};
    }
    const qsizetype cierre = t.indexOf(QLatin1Char(']'));
    if (cierre < 0) {
        return {};
    }
    return t.mid(1, cierre - 1).trimmed();
}

bool ArchivoIni::esClave(const QString& linea, const QString& clave) {
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    if (igual < 0 || linea.trimmed().startsWith(QLatin1Char(';'))) {
        return false;
    }
    return linea.left(igual).trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) == 0;
}

QString ArchivoIni::valorDe(const QString& linea) {
    QString valor = linea.mid(linea.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (valor.size() >= 2) {
        const QChar primero = valor.front();
        if ((primero == QLatin1Char('"') || primero == QLatin1Char('\'')) &&
            valor.back() == primero) {
            valor = valor.mid(1, valor.size() - 2);
        }
    }
    return valor;
}

QString ArchivoIni::lineaDeClave(const QString& clave, const QString& valor) {
    // Values with surrounding blanks or quotes are enclosed in quotes so they read back whole.
    const bool cita = !valor.isEmpty() &&
                      (valor.front().isSpace() || valor.back().isSpace() ||
                       valor.front() == QLatin1Char('"') || valor.front() == QLatin1Char('\''));
    return clave + QLatin1Char('=') + (cita ? QLatin1Char('"') + valor + QLatin1Char('"') : valor);
}

ArchivoIni::Posicion ArchivoIni::busca(const QString& seccion, const QString& clave) const {
    Posicion p;
    for (qsizetype i = 0; i < lineas_.size(); ++i) {
        const QString& linea = lineas_[i];
        const QString nombre = nombreDeSeccion(linea);
        if (!nombre.isEmpty()) {
            if (p.seccion >= 0) {
                break;
            }
            if (nombre.compare(seccion.trimmed(), Qt::CaseInsensitive) == 0) {
                p.seccion = i;
                p.fin = i + 1;
            }
            continue;
        }
        if (p.seccion < 0) {
            continue;
        }
        if (!linea.trimmed().isEmpty()) {
            p.fin = i + 1;
        }
        if (p.clave < 0 && esClave(linea, clave)) {
            p.clave = i;
        }
    }
    return p;
}

QString ArchivoIni::lee(const QString& seccion, const QString& clave) const {
    const Posicion p = busca(seccion, clave);
    return p.clave < 0 ? QString() : valorDe(lineas_[p.clave]);
}

bool ArchivoIni::tieneSeccion(const QString& seccion) const {
    return busca(seccion, QString()).seccion >= 0;
}

QStringList ArchivoIni::secciones() const {
    QStringList nombres;
    for (const QString& linea : lineas_) {
        const QString nombre = nombreDeSeccion(linea);
        if (!nombre.isEmpty()) {
            nombres << nombre;
        }
    }
    return nombres;
}

void ArchivoIni::escribe(const QString& seccion, const QString& clave, const QString& valor) {
    escribe({{seccion, clave, valor}});
}

void ArchivoIni::escribe(const QList<Valor>& valores) {
    bool cambio = false;
    for (const Valor& v : valores) {
        cambio = pon(v.seccion, v.clave, v.valor) || cambio;
    }
    if (cambio) {
        guarda();
    }
}

bool ArchivoIni::pon(const QString& seccion, const QString& clave, const QString& valor) {
    const Posicion p = busca(seccion, clave);
    if (p.clave >= 0 && valorDe(lineas_[p.clave]) == valor) {
        return false;
    }
    if (p.clave >= 0) {
        const QString& actual = lineas_[p.clave];
        lineas_[p.clave] =
            lineaDeClave(actual.left(actual.indexOf(QLatin1Char('='))).trimmed(), valor);
    } else if (p.seccion >= 0) {
        lineas_.insert(p.fin, lineaDeClave(clave, valor));
    } else {
        lineas_.append(QLatin1Char('[') + seccion + QLatin1Char(']'));
        lineas_.append(lineaDeClave(clave, valor));
    }
    return true;
}

void ArchivoIni::HazPrivado(const QString& ruta) {
    QFile archivo(ruta);
    constexpr QFileDevice::Permissions kDeOtros = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                  QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                  QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (archivo.exists() && (archivo.permissions() & kDeOtros) != 0 &&
        !archivo.setPermissions(kSoloElDueno)) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, archivo.errorString(), ruta);
    }
}
