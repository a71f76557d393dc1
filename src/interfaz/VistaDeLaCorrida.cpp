#include "interfaz/VistaDeLaCorrida.h"

#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/Puntero.h"
#include "impresion/modRPTs.h"
#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/AlSalir.h"
#include "reporteador/Reporteador.h"

#include <QCoreApplication>
#include <stdexcept>

QVector<DocumentoEnVista> VistaDeLaCorrida::Documentos(Conexion& cnn) {
    QVector<DocumentoEnVista> documentos;
    // The engine hands each laid-out note to the preview instead of a printer; here the preview
    // keeps them, and the one installed before comes back however the run ends.
    const Reporteador::Presentador antes = Reporteador::PonPresentador(
        [&documentos](const QString& titulo, const QVector<PaginaMaquetada>& paginas,
                      QSizeF hojaMm) {
            documentos.append({titulo, paginas, hojaMm});
        });
    ControlDeReporte& control = modRPTs::actual().crpReport;
    const ControlDeReporte::Desvio desvio = control.DesvioActual();
    const QString carpeta = control.CarpetaDeSalida();
    const AlSalir devuelve([&control, desvio, carpeta, antes] {
        control.Desvia(desvio, carpeta);
        Reporteador::PonPresentador(antes);
    });
    control.Desvia(ControlDeReporte::Desvio::Ventana);
    const ResultadoDeImpresion resultado = ImpresionDeRemisiones(cnn).Imprime(
        [](int, int, const QString&) { QCoreApplication::processEvents(); });
    if (resultado.Fallo()) {
        throw std::runtime_error(
            (QStringLiteral("No se pudo preparar la vista previa.\r\n") + resultado.Mensaje())
                .toStdString());
    }
    return documentos;
}

void VistaDeLaCorrida::Muestra(VentanaDeTrabajo& ventana, Conexion& cnn) {
    QVector<DocumentoEnVista> documentos;
    ventana.Trabaja([&] {
        PunteroOcupado();
        const AlSalir normal([] { PunteroNormal(); });
        documentos = Documentos(cnn);
    });
    // The title is made before the notes move into the window.
    const QString titulo =
        documentos.size() == 1
            ? QStringLiteral("Vista previa: 1 remisión")
            : QStringLiteral("Vista previa: %1 remisiones").arg(documentos.size());
    VistaPrevia vista(titulo, std::move(documentos), &ventana);
    vista.exec();
}
