#pragma once

#include "orvlib/NumerosDeError.h"
#include "orvlib/ObjetoOrvlib.h"

#include <QString>

class Conexion;

// Files stored by the host in a table of numbered text rows (reportesbin: Archivo, Renglon,
// Contenido). Each row's Contenido holds the Base64 text of up to 48,000 bytes of the file, rows
// numbered from 1 in file order, so a stored file comes back byte for byte.
class CamposBin : public ObjetoOrvlib {
public:
    Conexion* BaseDD = nullptr;
    QString CampoLlave = QStringLiteral("Archivo");
    QString CampoNumero = QStringLiteral("Renglon");
    QString CampoTexto = QStringLiteral("Contenido");
    QString cTablaRpts = QStringLiteral("reportesbin");
    QString cRutaPrograma;

    // Writes the stored file of that name into the folder under the same name; throws
    // ErrorOrvlib kNoGuardado when the table holds no such file.
    void ExtraeRPT(const QString& archivo, const QString& carpeta) const;
    // Stores the bytes under the name, replacing any earlier rows of it, in one transaction
    // where the table takes them.
    void GuardaRPT(const QString& archivo, const QByteArray& contenido) const;

    static constexpr int kBytesPorRenglon = 48000;
    static constexpr int kNoGuardado = NumerosDeError::kArchivoNoEncontrado;

private:
    void reemplaza(const QString& archivo, const QByteArray& contenido) const;
};
