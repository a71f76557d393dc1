#include "impresion/LibroDeImpresion.h"

#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/NumerosDeError.h"
#include "servicios/Proceso.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStorageInfo>

namespace {

// The runs of each job the ledger keeps.
constexpr qint64 kCorridasGuardadas = 20;

constexpr const char* kEstados[] = {"pendiente", "enviada", "en cola", "impresa", "con error"};

// A text for a column that takes no NULL: an empty one is written as such.
QVariant texto(const QString& valor) {
    return valor.isNull() ? QVariant(QStringLiteral("")) : QVariant(valor);
}

bool enUnDiscoLocal(const QString& archivo) {
    const QByteArray tipo = QStorageInfo(QFileInfo(archivo).absolutePath()).fileSystemType();
    for (const char* deRed : {"nfs", "cifs", "smb", "fuse", "9p", "afs", "ceph", "glusterfs"}) {
        if (tipo.startsWith(deRed)) {
            return false;
        }
    }
    return true;
}

EstadoDeNota estadoDe(const QString& nombre) {
    for (int i = 0; i < 5; ++i) {
        if (nombre == QLatin1String(kEstados[i])) {
            return static_cast<EstadoDeNota>(i);
        }
    }
    return EstadoDeNota::Pendiente;
}

} // namespace

int CorridaDelLibro::Cuenta(EstadoDeNota estado) const {
    return static_cast<int>(std::count_if(notas.begin(), notas.end(),
                                          [estado](const auto& n) { return n.estado == estado; }));
}

const NotaDelLibro* CorridaDelLibro::PrimeraSinImprimir() const {
    for (const NotaDelLibro& n : notas) {
        if (n.estado == EstadoDeNota::Pendiente || n.estado == EstadoDeNota::Fallida) {
            return &n;
        }
    }
    return nullptr;
}

const NotaDelLibro* CorridaDelLibro::ConFolio(const QString& folio) const {
    const QString buscado = folio.simplified();
    for (const NotaDelLibro& n : notas) {
        if (n.folio == buscado || n.folio.section(QLatin1Char(' '), -1) == buscado) {
            return &n;
        }
    }
    return nullptr;
}

QString LibroDeImpresion::Archivo() {
    return QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("Impresiones.sqlite"));
}

QString LibroDeImpresion::NombreDelEstado(EstadoDeNota estado) {
    return QString::fromLatin1(kEstados[static_cast<int>(estado)]);
}

LibroDeImpresion::LibroDeImpresion(const QString& archivo)
    : archivo_(archivo) {
    EscritorDeArchivo::CreaCarpetaDe(archivo_);
    const bool nuevo = !QFileInfo::exists(archivo_);
    try {
        if (!cnn_.abre(QStringLiteral("QSQLITE"), {}, 0, {}, {}, archivo_)) {
            throw ErrorOrvlib(NumerosDeError::kBaseNoSeAbre,
                              QStringLiteral("No se pudo abrir el registro de impresiones: ") +
                                  cnn_.ultimoError(),
                              archivo_);
        }
        // Each change reaches the disk before the call returns: appended to the write-ahead
        // log and synced, one sync a change rather than the three of a rollback journal. A
        // write-ahead log needs every user of the file on one computer, so on a network or
        // user-space file system the ledger keeps a rollback journal.
        cnn_.ejecuta(QStringLiteral("PRAGMA busy_timeout=10000"));
        cnn_.ejecuta(enUnDiscoLocal(archivo_) ? QStringLiteral("PRAGMA journal_mode=WAL")
                                              : QStringLiteral("PRAGMA journal_mode=DELETE"));
        cnn_.ejecuta(QStringLiteral("PRAGMA synchronous=FULL"));
        creaTablas();
    } catch (const ErrorOrvlib&) {
        // A ledger that could not be set up leaves nothing of itself in the folder.
        cnn_.cierra();
        if (nuevo) {
            for (const char* resto : {"", "-wal", "-shm", "-journal"}) {
                QFile::remove(archivo_ + QLatin1String(resto));
            }
        }
        throw;
    }
}

void LibroDeImpresion::creaTablas() {
    cnn_.ejecuta(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS corridas (id INTEGER PRIMARY KEY, trabajo TEXT NOT NULL, "
        "parametros TEXT NOT NULL, huella TEXT NOT NULL, creada TEXT NOT NULL)"));
    cnn_.ejecuta(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS notas (corrida INTEGER NOT NULL REFERENCES corridas(id), "
        "numero INTEGER NOT NULL, id INTEGER NOT NULL, folio TEXT NOT NULL, estado TEXT NOT "
        "NULL, destino TEXT NOT NULL DEFAULT '', documento TEXT NOT NULL DEFAULT '', trabajo_cups "
        "INTEGER NOT NULL DEFAULT 0, causa "
        "TEXT NOT NULL DEFAULT '', enviada INTEGER NOT NULL DEFAULT 0, previo TEXT NOT NULL "
        "DEFAULT '', PRIMARY KEY (corrida, numero))"));
    agregaColumnaPrevio();
}

// A ledger written before notes kept the file found at their destination gets the column; its
// notes keep it empty, and are judged as before by their file's time. The second look and the
// change are one write transaction, so two workstations opening the same older ledger add it
// once.
void LibroDeImpresion::agregaColumnaPrevio() {
    if (tieneColumnaPrevio()) {
        return;
    }
    transaccion([this] {
        if (!tieneColumnaPrevio()) {
            cnn_.ejecuta(
                QStringLiteral("ALTER TABLE notas ADD COLUMN previo TEXT NOT NULL DEFAULT ''"));
        }
    });
}

bool LibroDeImpresion::tieneColumnaPrevio() {
    QSqlQuery columnas = cnn_.consulta(QStringLiteral("PRAGMA table_info(notas)"));
    while (columnas.next()) {
        if (columnas.value(1).toString() == QLatin1String("previo")) {
            return true;
        }
    }
    return false;
}

void LibroDeImpresion::transaccion(const std::function<void()>& pasos) {
    cnn_.ejecuta(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        pasos();
        cnn_.ejecuta(QStringLiteral("COMMIT"));
    } catch (...) {
        cnn_.bd().rollback();
        throw;
    }
}

CorridaDelLibro LibroDeImpresion::Abre(CorridaDelLibro corrida) {
    const QString& trabajo = corrida.trabajo;
    transaccion([&] {
        const QSqlQuery alta = cnn_.consulta(
            QStringLiteral("INSERT INTO corridas (trabajo, parametros, huella, creada) VALUES "
                           "(?, ?, ?, ?)"),
            {trabajo, texto(corrida.parametros), texto(corrida.huella),
             QDateTime::currentDateTime().toString(Qt::ISODate)});
        corrida.id = alta.lastInsertId().toLongLong();
        QVector<QVariantList> filas;
        for (const NotaDelLibro& n : std::as_const(corrida.notas)) {
            filas << QVariantList{corrida.id, n.numero, n.id, n.folio, NombreDelEstado(n.estado)};
        }
        cnn_.ejecutaPorFilas(QStringLiteral("INSERT INTO notas (corrida, numero, id, folio, "
                                            "estado) VALUES (?, ?, ?, ?, ?)"),
                             filas);
        // The job's older runs go: only the last ones can be gone on with or reprinted.
        cnn_.consulta(QStringLiteral("DELETE FROM notas WHERE corrida IN (SELECT id FROM "
                                     "corridas WHERE trabajo=? AND id<=?)"),
                      {trabajo, corrida.id - kCorridasGuardadas});
        cnn_.consulta(QStringLiteral("DELETE FROM corridas WHERE trabajo=? AND id<=?"),
                      {trabajo, corrida.id - kCorridasGuardadas});
    });
    return corrida;
}

std::optional<CorridaDelLibro> LibroDeImpresion::Ultima(const QString& trabajo) {
    QSqlQuery q = cnn_.consulta(QStringLiteral("SELECT id, parametros, huella FROM corridas "
                                               "WHERE trabajo=? ORDER BY id DESC LIMIT 1"),
                                {trabajo});
    if (!q.next()) {
        return std::nullopt;
    }
    CorridaDelLibro corrida{
        q.value(0).toLongLong(), trabajo, q.value(1).toString(), q.value(2).toString(), {}};
    QSqlQuery notas = cnn_.consulta(
        QStringLiteral("SELECT numero, id, folio, estado, destino, documento, trabajo_cups, "
                       "causa, enviada, previo FROM notas WHERE corrida=? ORDER BY numero"),
        {corrida.id});
    while (notas.next()) {
        NotaDelLibro n;
        n.numero = notas.value(0).toInt();
        n.id = notas.value(1).toInt();
        n.folio = notas.value(2).toString();
        n.estado = estadoDe(notas.value(3).toString());
        n.destino = notas.value(4).toString();
        n.documento = notas.value(5).toString();
        n.trabajoCups = notas.value(6).toInt();
        n.causa = notas.value(7).toString();
        n.enviada = notas.value(8).toLongLong();
        n.previo = notas.value(9).toString();
        corrida.notas << n;
    }
    return corrida;
}

void LibroDeImpresion::Anota(qint64 corrida, const QVector<NotaDelLibro>& notas) {
    if (notas.isEmpty()) {
        return;
    }
    QVector<QVariantList> filas;
    for (const NotaDelLibro& n : notas) {
        filas << QVariantList{NombreDelEstado(n.estado),
                              texto(n.destino),
                              texto(n.documento),
                              n.trabajoCups,
                              texto(n.causa),
                              n.enviada,
                              texto(n.previo),
                              corrida,
                              n.numero};
    }
    transaccion([&] {
        cnn_.ejecutaPorFilas(
            QStringLiteral("UPDATE notas SET estado=?, destino=?, documento=?, trabajo_cups=?, "
                           "causa=?, enviada=?, previo=? WHERE corrida=? AND numero=?"),
            filas);
    });
}
