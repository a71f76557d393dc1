#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// What the report module prints a run's template from, once the template is ready: the
// written-out file, its bytes, its table listing and the printer named for it.
class FormatoDeLaCorrida {
public:
    // The written-out file, its name in lower case.
    const QString& Ruta() const { return ruta_; }
    const QByteArray& Contenido() const { return contenido_; }
    // The template's table entries in order, and where its Generales entries are (element 0
    // unused), as modRPTs::TablasDelFormato lists them.
    const QStringList& Tablas() const { return tablas_; }
    const QVector<qint32>& PosicionesGenerales() const { return posiciones_; }
    // Driver, device and port of the printer named for a template starting "fmt"; empty when
    // none is named or installed.
    const std::array<QString, 3>& Impresora() const { return impresora_; }

protected:
    explicit FormatoDeLaCorrida(QString ruta)
        : ruta_(std::move(ruta)) {}

    QString ruta_;
    QByteArray contenido_;
    QStringList tablas_;
    QVector<qint32> posiciones_;
    std::array<QString, 3> impresora_;
};
