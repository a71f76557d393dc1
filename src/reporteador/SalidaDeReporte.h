#pragma once

#include "reporteador/Maquetador.h"
#include "reporteador/Plantilla.h"
#include "reporteador/Reporteador.h"
#include "reporteador/TrabajoDeReporte.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Where a laid-out report goes: a PDF file of its own, PNG files, or a printer (a CUPS queue,
// whose job is asked for once the document was handed over). Each tells the report's
// destination before it writes or hands over anything.
class SalidaDeReporte {
public:
    // Tells the job's listener where the report goes and under which name.
    static void AvisaEnvio(const TrabajoDeReporte& t, const QString& destino,
                           const QString& documento);
    // The file the report replaces, else one with a name no file has (A-2000.pdf, A-2000-2.pdf).
    static QString EnPdf(const TrabajoDeReporte& t, const Plantilla& p,
                         const QVector<PaginaMaquetada>& paginas, const QString& nombre);
    // One PNG file per page; a page that cannot be saved takes the pages saved before it away.
    static QStringList EnPng(const TrabajoDeReporte& t, const Plantilla& p,
                             const QVector<PaginaMaquetada>& paginas, const QString& nombre);
    // The printer the job names, else the system's default, made by the maker given when there
    // is one; the CUPS job is kept in the result. Throws ErrorDeReporte when it is not taken.
    static void EnImpresora(const TrabajoDeReporte& t, const Plantilla& p,
                            const QVector<PaginaMaquetada>& paginas, const QString& nombre,
                            ResultadoDeReporte& resultado,
                            const Reporteador::FabricaDeImpresora& fabrica);
};
