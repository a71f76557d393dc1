#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// One run of the report engine, described plainly: the template, the records, where each of
// its tables is read, the values of its formulas, where the pages go and how the data source
// is reached.
struct TrabajoDeReporte {
    // PdfUnico: every report of a run into one PDF file, archivoDeSalida.
    enum class Destino { Ventana, Impresora, Pdf, Png, PdfUnico };

    QString plantilla; // the template file
    QString seleccion; // the record selection, as {Tabla.Campo}=valor …
    // The location of each distinct table entry of the template, in order ("base.tabla", or
    // the auxiliary file's path); an empty one reads the table under its own name.
    QVector<QString> ubicaciones;
    QVector<QString> formulas; // "Nombre=valor"; empty ones are skipped
    QString textoDeConexion;   // "DSN=…;UID=…;PWD=…;"
    Destino destino = Destino::Impresora;
    QString impresora; // device name; empty or unknown takes the system's default
    int copias = 0;
    QString titulo;          // of the preview window; '' is replaced by the template's name
    QString carpetaDeSalida; // of PDF and PNG files
    // The one PDF of a run; for PDF files, the file this report replaces (an earlier print of
    // the same note), else a name no file has yet is taken.
    QString archivoDeSalida;
    QString marcador; // the report's bookmark in the run's one PDF; none when empty
    // Told where the report goes, and under which document name, once that is known and
    // before anything is written or handed over: the PDF file, the printer's queue or the run's
    // one PDF.
    std::function<void(const QString& destino, const QString& documento)> alEnviar;
};

// What a run produced.
struct ResultadoDeReporte {
    int paginas = 0;
    QStringList archivos; // PDF or PNG files written
    // The job CUPS made of a document sent to a system queue, and its state then; 0 otherwise.
    int trabajoCups = 0;
    int estadoCups = 0;
};
