#pragma once

#include <QString>
#include <QTemporaryDir>

// A small filesystem of its own (tmpfs) for one test, to see what a full disk does to the files
// the program writes. Mounting needs the right to mount (root); where it is not given,
// Montado() is false and the test skips with the reason.
class DiscoPequeno {
public:
    explicit DiscoPequeno(int kib);
    ~DiscoPequeno();
    DiscoPequeno(const DiscoPequeno&) = delete;
    DiscoPequeno& operator=(const DiscoPequeno&) = delete;

    bool Montado() const { return montado_; }
    const QString& PorQueNo() const { return porQueNo_; }
    QString ruta(const QString& nombre) const;
    // Fills the disk with a file of its own until no byte is left, then frees dejar bytes.
    void Llena(qint64 dejar = 0);
    // Makes the disk read-only, as a folder nobody may write, even root.
    void SoloLectura();
    // The files in it, but the filler, by name.
    QStringList Archivos() const;

private:
    QTemporaryDir punto_;
    bool montado_ = false;
    QString porQueNo_;
};
