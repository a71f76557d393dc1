#include "reporteador/ArchivoDePlantilla.h"

#include "reporteador/ErrorDeReporte.h"
#include "reporteador/FuenteDePlantilla.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

const QByteArray kFuente = QByteArrayLiteral("FUENTE");
const QByteArray kSuma = QByteArrayLiteral("SUMA");
constexpr qsizetype kLargoDeSuma = 32;

// The checksum of a template's text, as hexadecimal digits (no letter p, so the table scan
// never takes it for an entry).
QByteArray sumaDe(const QByteArray& texto) {
    return QCryptographicHash::hash(texto, QCryptographicHash::Md5).toHex();
}

[[noreturn]] void danada(const QString& motivo) {
    throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                         QStringLiteral("La plantilla está dañada: %1. Vuelva a guardarla con "
                                        "«plantillas guarda».")
                             .arg(motivo));
}

// The tables and formulas before the text are what the program scans to point the tables at
// their data: they must be the ones the text declares, byte for byte. A text that cannot be
// read says its own line.
void revisaEncabezado(const QByteArray& encabezado, const QString& fuente) {
    const QByteArray esperado = ArchivoDePlantilla::Construye(fuente);
    if (esperado.left(esperado.lastIndexOf(kSuma + '\0')) != encabezado) {
        danada(QStringLiteral("su encabezado (la lista de tablas y fórmulas) no corresponde con "
                              "su texto"));
    }
}

QByteArray entradaDeTabla(const TablaDePlantilla& t) {
    const QByteArray controlador =
        t.deAccess ? QByteArrayLiteral("PDBDAO.DLL") : QByteArrayLiteral("PDSODBC.DLL");
    const QByteArray origen =
        t.deAccess ? QByteArrayLiteral("Auxiliar.MDB") : QByteArrayLiteral("myodbc3-test");
    QByteArray entrada = controlador + '\0' + origen + '\0' + t.nombre.toLatin1() + '\0';
    // Each entry fills a 64-byte slot, so a scan window never runs into the next one.
    return entrada.leftJustified(64, '\0');
}

} // namespace

const QByteArray ArchivoDePlantilla::kFirma = QByteArrayLiteral("ORVREPORTE 1\r\n\x1A");

QByteArray ArchivoDePlantilla::Construye(const QString& fuente) {
    const Plantilla p = FuenteDePlantilla::Lee(fuente);
    QByteArray archivo = kFirma + '\0';
    for (const TablaDePlantilla& t : p.tablas) {
        if (t.nombre.toLatin1().size() > 30) {
            throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                                 QStringLiteral("Nombre de tabla demasiado largo: ") + t.nombre);
        }
        archivo += entradaDeTabla(t);
    }
    for (const QString& f : p.formulas) {
        archivo += f.toLatin1() + QByteArray("\x00\x0E\x10", 3);
    }
    const QByteArray texto = fuente.toUtf8();
    QByteArray largo(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(texto.size()), largo.data());
    return archivo + kSuma + '\0' + sumaDe(texto) + kFuente + '\0' + largo + texto;
}

QString ArchivoDePlantilla::Fuente(const QByteArray& archivo) {
    if (!archivo.startsWith(kFirma)) {
        // A template whose first bytes changed still carries its text.
        if (archivo.contains(kFuente + '\0')) {
            danada(QStringLiteral("su firma está cambiada"));
        }
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("El archivo no es una plantilla de reporte"));
    }
    const qsizetype marca = archivo.lastIndexOf(kFuente + '\0');
    if (marca < 0 || marca + 11 > archivo.size()) {
        danada(QStringLiteral("está cortada antes de su texto (%1 bytes)").arg(archivo.size()));
    }
    const quint32 largo = qFromLittleEndian<quint32>(archivo.constData() + marca + 7);
    const QByteArray texto = archivo.mid(marca + 11, largo);
    if (texto.size() != qsizetype(largo)) {
        danada(
            QStringLiteral("su texto está cortado (%1 de %2 bytes)").arg(texto.size()).arg(largo));
    }
    // Templates stored before the checksum was written have none; their length is their check.
    const qsizetype suma = archivo.lastIndexOf(kSuma + '\0', marca);
    const bool conSuma = suma >= 0 && suma + 5 + kLargoDeSuma == marca;
    if (conSuma && archivo.mid(suma + 5, kLargoDeSuma) != sumaDe(texto)) {
        danada(QStringLiteral("su texto no corresponde con su suma de verificación"));
    }
    const QString fuente = QString::fromUtf8(texto);
    revisaEncabezado(archivo.left(conSuma ? suma : marca), fuente);
    return fuente;
}

Plantilla ArchivoDePlantilla::Lee(const QByteArray& archivo) {
    return FuenteDePlantilla::Lee(Fuente(archivo));
}

Plantilla ArchivoDePlantilla::LeeArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw ErrorDeReporte(
            ErrorDeReporte::kPlantilla,
            QStringLiteral("No se puede abrir la plantilla %1: %2").arg(ruta, f.errorString()));
    }
    Plantilla p = Lee(f.readAll());
    p.carpeta = QFileInfo(ruta).absolutePath();
    return p;
}
