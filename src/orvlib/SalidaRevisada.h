#pragma once

#include "orvlib/ErrorDeEscritura.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <optional>

// A write-only device in front of another that checks every write: the first one that fails is
// kept with the system's cause, and every later write fails too, so a writer that ignores what
// write() returns (QPdfWriter does) cannot leave a gap unnoticed. It counts the bytes and keeps
// the last ones, so a caller can check how the content ends.
class SalidaRevisada : public QIODevice {
public:
    // ruta names the file in the error; destino must be open for writing.
    SalidaRevisada(QIODevice& destino, QString ruta);

    bool fallo() const { return falla_.has_value(); }
    // The error of the first failed write; only when fallo().
    ErrorDeEscritura error() const;
    // Records a failure found outside a write (the flush, the sync, the rename).
    void anota(int numeroDelSistema, const QString& textoDelSistema);
    qint64 escritos() const { return escritos_; }
    // Up to the last kCola bytes written.
    const QByteArray& cola() const { return cola_; }

    static constexpr qsizetype kCola = 1024;

protected:
    qint64 readData(char* datos, qint64 maximo) override;
    qint64 writeData(const char* datos, qint64 largo) override;

private:
    struct Falla {
        int numero;
        QString texto;
    };

    QIODevice& destino_;
    QString ruta_;
    std::optional<Falla> falla_;
    qint64 escritos_ = 0;
    QByteArray cola_;
};
