#pragma once

#include "orvlib/SalidaRevisada.h"

#include <QSaveFile>
#include <QString>
#include <functional>

// Writes one file whole or not at all: the content goes to a scratch file beside it, every write,
// the flush and the sync to disk are checked, and only then does it take the file's name in one
// step. On any failure the old file stays byte for byte and ErrorDeEscritura names the file and
// the cause in Spanish ("No hay espacio en el disco para escribir …"); a content the last look
// refuses is an ErrorOrvlib with that reason.
class EscritorDeArchivo {
public:
    // A last look at what was written before it takes the name: the reason to refuse it, or
    // an empty text.
    using Revision = std::function<QString(const SalidaRevisada&)>;

    // Brings what was written to the disk; false, with errno set, when it could not.
    using Sincronizacion = std::function<bool(QFileDevice&)>;

    // Opens the scratch file; throws when it cannot be made. sincroniza stands in for the
    // system's sync where a disk that fails at it has to be shown.
    explicit EscritorDeArchivo(QString ruta, Sincronizacion sincroniza = Sincroniza);
    // Without termina(), the scratch file goes and the old file stays.
    ~EscritorDeArchivo() = default;
    EscritorDeArchivo(const EscritorDeArchivo&) = delete;
    EscritorDeArchivo& operator=(const EscritorDeArchivo&) = delete;

    // The new content is readable and writable by its owner only, from its first byte.
    void soloParaElDueno();
    // The checked device, for writers that take a QIODevice (QPdfWriter); it keeps the first
    // write the disk refused.
    SalidaRevisada& dispositivo() { return salida_; }
    void escribe(const QByteArray& bytes);
    // Flushes, syncs, checks and renames; throws, keeping the old file, when anything failed.
    void termina(const Revision& revision = {});

    // The whole content of a file at once.
    static void Escribe(const QString& ruta, const QByteArray& contenido);
    // Adds to the end of a file in one write; a write that fails is taken back.
    static void Agrega(const QString& ruta, const QByteArray& contenido);
    // Makes the folder of a file to write; throws when it cannot.
    static void CreaCarpetaDe(const QString& ruta);
    // The system's sync of the file's data (fsync).
    static bool Sincroniza(QFileDevice& archivo);

private:
    QString ruta_;
    QSaveFile archivo_;
    SalidaRevisada salida_;
    Sincronizacion sincroniza_;
};
