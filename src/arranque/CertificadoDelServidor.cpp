#include "arranque/CertificadoDelServidor.h"

#include "orvlib/NumerosDeError.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QStringList>
#include <QtEndian>

namespace {

constexpr int kEspera = 10000;       // ms
constexpr quint32 kPideTls = 0x0800; // CLIENT_SSL, in the greeting and in the answer
constexpr quint32 kProtocolo41 = 0x0200 | 0x8000 | 0x0001;
constexpr int kCabecera = 4; // three bytes of length and the packet's number

// The server's first packet, whole; empty when none came or it is an error packet.
QByteArray saludo(QSslSocket& socket) {
    while (socket.bytesAvailable() < kCabecera) {
        if (!socket.waitForReadyRead(kEspera)) {
            return {};
        }
    }
    const QByteArray cabecera = socket.peek(kCabecera);
    const int largo = static_cast<quint8>(cabecera[0]) | static_cast<quint8>(cabecera[1]) << 8 |
                      static_cast<quint8>(cabecera[2]) << 16;
    while (socket.bytesAvailable() < kCabecera + largo) {
        if (!socket.waitForReadyRead(kEspera)) {
            return {};
        }
    }
    const QByteArray paquete = socket.read(kCabecera + largo).mid(kCabecera);
    return paquete.startsWith('\xff') ? QByteArray() : paquete;
}

// Whether the greeting offers TLS: the low half of the capabilities follows the version text,
// the connection's number, eight bytes of scramble and a filler.
bool ofreceTls(const QByteArray& paquete) {
    const int finDeVersion = paquete.indexOf('\0', 1);
    const int capacidades = finDeVersion + 1 + 4 + 8 + 1;
    if (finDeVersion < 0 || paquete.size() < capacidades + 2) {
        return false;
    }
    return qFromLittleEndian<quint16>(paquete.constData() + capacidades) & kPideTls;
}

// The client's answer that asks to go on under TLS: capabilities, largest packet, character
// set and 23 bytes of filler, as the second packet.
QByteArray pideTls() {
    QByteArray paquete(kCabecera + 32, '\0');
    paquete[0] = 32;
    paquete[3] = 1;
    qToLittleEndian<quint32>(kProtocolo41 | kPideTls, paquete.data() + kCabecera);
    qToLittleEndian<quint32>(1 << 24, paquete.data() + kCabecera + 4);
    paquete[kCabecera + 8] = 33; // utf8
    return paquete;
}

QSslConfiguration configuracion(const CifradoDeConexion& cifrado) {
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!cifrado.autoridad.isEmpty()) {
        c.setCaCertificates(QSslCertificate::fromPath(cifrado.autoridad));
    }
    return c;
}

CertificadoDelServidor::Resultado fallo(const QString& texto) {
    return {true, NumerosDeError::kCifradoFallido, texto};
}

} // namespace

CertificadoDelServidor::Resultado CertificadoDelServidor::Revisa(const QString& servidor,
                                                                 int puerto,
                                                                 const CifradoDeConexion& cifrado) {
    QSslSocket socket;
    socket.setSslConfiguration(configuracion(cifrado));
    socket.setPeerVerifyName(servidor);
    socket.connectToHost(servidor, static_cast<quint16>(puerto));
    if (!socket.waitForConnected(kEspera)) {
        return {}; // the login says why the server cannot be reached
    }
    const QByteArray paquete = saludo(socket);
    if (paquete.isEmpty()) {
        return {};
    }
    if (!ofreceTls(paquete)) {
        return fallo(QStringLiteral("SSL is required, but the server does not support it"));
    }
    socket.write(pideTls());
    // The request goes out whole, in plain text, before the handshake's first bytes.
    socket.waitForBytesWritten(kEspera);
    socket.startClientEncryption();
    const bool cifrada = socket.waitForEncrypted(kEspera);
    QStringList faltas;
    for (const QSslError& e : socket.sslHandshakeErrors()) {
        faltas << e.errorString();
    }
    if (faltas.isEmpty() && !cifrada) {
        faltas << socket.errorString();
    }
    socket.abort();
    return faltas.isEmpty() ? Resultado{true, -1, {}} : fallo(faltas.join(QStringLiteral("; ")));
}
