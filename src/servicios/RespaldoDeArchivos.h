#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// What a set of files held before a step that writes them all: a failure puts every one back
// byte for byte (and removes the ones and the folders the step made), a success hands files
// that existed back to their owner, group and mode, so that a run as root or as another clerk
// takes over no one's file.
class RespaldoDeArchivos {
public:
    // Records the file before its first write; a private file keeps the owner-only mode its
    // writer gives it.
    void guarda(const QString& archivo, bool privado = false);
    // Makes the folder and those above it that are missing, remembering which; false when it
    // cannot.
    bool creaCarpeta(const QString& carpeta);
    // Puts every recorded file back as it was and removes the folders made; the files it could
    // not put back.
    QStringList restaura() const;
    // Gives the recorded files that existed their owner, group and mode again; the new ones in
    // a folder shared by a group (setgid, group-writable) take its group and group write.
    void devuelveDuenos() const;

private:
    struct Original {
        QString ruta;
        bool existia = false;
        bool privado = false;
        QByteArray bytes;
        unsigned dueno = 0;
        unsigned grupo = 0;
        unsigned modo = 0;
    };

    static void ponDueno(const Original& o);
    static void comparteConElGrupo(const QString& archivo);

    QVector<Original> archivos_;
    QStringList carpetas_; // made by creaCarpeta, the outermost first
};
