#pragma once

#include <QString>
#include <QStringList>

class Conexion;

// What an invoice that did not finish left behind where the tables keep writes without
// transactions (MyISAM): reduced copies of notes in the archive database while the notes are
// still open in the host (only archive tables without transactions keep them), and invoice
// headers the program made whose lines or whose notes' cancellation never came. Found before an
// invoice is made, so a second one is not added on the same notes, and when the invoice window
// opens.
class RastrosDeFactura {
public:
    // cnn works on the host's main database; seleccion names the table of the notes to look at
    // ("base.remisiones"), empty for every note in the archive.
    RastrosDeFactura(Conexion& cnn, QString baseResguardo, QString seleccion = {});

    // Looks again: the archive copies only where the archive tables take no transactions, the
    // headers only where the invoice tables take none.
    void Busca(bool notas, bool encabezados);
    bool Vacios() const { return notas_.isEmpty() && encabezados_.isEmpty(); }
    // What was found and how to finish or undo it, in Spanish; empty when nothing.
    QString Texto() const;

    // The invoice headers looked at: the latest ones the program made.
    static constexpr int kEncabezados = 5;

private:
    struct Encabezado {
        qint64 id;
        QString folio;
        int partidas;
    };

    void buscaNotas();
    void buscaEncabezados();
    QString comoDeshacer() const;

    Conexion& cnn_;
    QString resguardo_;
    QString seleccion_;
    QStringList idsDeNotas_;
    QStringList notas_;
    QList<Encabezado> encabezados_;
};
