#include "interfaz/BotonDeExportar.h"

#include "servicios/Dialogos.h"
#include "trabajos/exportacion/EscritorDeLibro.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& ultimaCarpeta() {
    static QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return carpeta;
}

} // namespace

BotonDeExportar::BotonDeExportar(QWidget* parent)
    : QPushButton(QStringLiteral("E&xportar…"), parent) {
    setEnabled(false);
}

void BotonDeExportar::Exporta(const QString& nombrePropuesto,
                              const std::function<LibroDeCalculo()>& libro) {
    const QString elegido = Dialogos::actual().archivoParaGuardar(
        QStringLiteral("Exportar"), QDir(ultimaCarpeta()).filePath(nombrePropuesto),
        QStringLiteral("Libro de Excel (*.xlsx);;Texto separado por comas (*.csv)"));
    if (elegido.isEmpty()) {
        return;
    }
    const QString ruta = EscritorDeLibro::ConExtension(elegido);
    ultimaCarpeta() = QFileInfo(ruta).absolutePath();
    EscritorDeLibro::Escribe(libro(), ruta);
    Dialogos::actual().mensaje(QStringLiteral("Archivo ") + QDir::toNativeSeparators(ruta) +
                                   QStringLiteral(" generado"),
                               QStringLiteral("Listo"), Dialogos::Icono::Informacion);
}
