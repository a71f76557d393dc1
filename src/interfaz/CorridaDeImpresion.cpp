#include "interfaz/CorridaDeImpresion.h"

#include "impresion/ImpresionDeDocumento.h"
#include "impresion/modRPTs.h"
#include "interfaz/BotonDeContinuar.h"
#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/AlSalir.h"
#include "orvlib/EscritorDeArchivo.h"
#include "servicios/Bitacora.h"
#include "servicios/Dialogos.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Proceso.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Whether the error carries a database driver's own text, which is shown only in the details.
bool deUnControlador(const QString& error) {
    return error.contains(QLatin1String("QODBC")) || error.contains(QLatin1String("QMYSQL")) ||
           error.contains(QLatin1String("[ma-")) || error.contains(QLatin1String("[MySQL]")) ||
           error.contains(QLatin1String("[unixODBC]"));
}

void muestraFin(VentanaDeTrabajo& ventana, const ResultadoDeImpresion& r,
                const QString& unSoloPdf) {
    if (!r.Fallo()) {
        const bool enArchivo = r.Completa() && !unSoloPdf.isEmpty();
        Dialogos::actual().mensaje(
            r.Mensaje() + (enArchivo ? QStringLiteral("\r\nEn el archivo ") +
                                           QDir::toNativeSeparators(unSoloPdf)
                                     : QString()),
            QStringLiteral("Atención"),
            r.Completa() ? Dialogos::Icono::Informacion : Dialogos::Icono::Advertencia);
        return;
    }
    // Where it stopped and the count first; what the error means, when it is known, instead of
    // the driver's text, which goes to the details.
    if (!r.causa) {
        Dialogos::actual().mensaje(r.Mensaje(), QStringLiteral("Error"), Dialogos::Icono::Critico);
        return;
    }
    const ExplicacionDeError explicacion = ExplicacionDeError::De(*r.causa);
    if (explicacion.clase() == ExplicacionDeError::Clase::Otra && !deUnControlador(r.error)) {
        Dialogos::actual().mensaje(r.Mensaje(), QStringLiteral("Error"), Dialogos::Icono::Critico);
        return;
    }
    if (explicacion.PerdioLaConexion()) {
        ventana.PierdeLaConexion();
    }
    const QString donde = r.Mensaje().section(QStringLiteral("\r\n\r\n"), 0, 0);
    Dialogos::actual().mensajeConDetalle(
        donde + QStringLiteral("\r\n\r\n") + explicacion.principal(), r.error,
        QStringLiteral("Error"), Dialogos::Icono::Critico);
}

} // namespace

QString PdfDeLaCorrida(const QString& trabajo) {
    return QDir(Proceso::CarpetaDelPrograma())
        .filePath(QStringLiteral("PDF/%1-%2.pdf")
                      .arg(trabajo, QDateTime::currentDateTime().toString(
                                        QStringLiteral("yyyyMMdd-HHmmss"))));
}

std::optional<ResultadoDeImpresion>
CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, const QString& trabajo,
               QPushButton* cancelar, QLabel* progreso, QProgressBar* barra,
               const QString& unSoloPdf, const CorridaDetenida* desde) {
    if (!Pregunta(ImpresionDeRemisiones::Pregunta(), QStringLiteral("Imprimir"), true)) {
        return std::nullopt;
    }
    ControlDeReporte& control = modRPTs::actual().crpReport;
    const ControlDeReporte::Desvio desvio = control.DesvioActual();
    const QString carpeta = control.CarpetaDeSalida();
    if (!unSoloPdf.isEmpty()) {
        EscritorDeArchivo::CreaCarpetaDe(unSoloPdf);
        control.DirigeAPdfUnico(unSoloPdf);
    }
    // The window's next run goes where runs went before this one.
    const AlSalir devuelve([&control, desvio, carpeta, &unSoloPdf] {
        if (!unSoloPdf.isEmpty()) {
            control.Desvia(desvio, carpeta);
        }
    });
    // Enter must never stop a run: Cancelar takes no focus, so Escape, its mnemonic or a click
    // stop it, and an Enter meant for something else does not.
    cancelar->setFocusPolicy(Qt::NoFocus);
    cancelar->setAutoDefault(false);
    ResultadoDeImpresion resultado;
    ventana.Trabaja(
        [&] {
            cancelar->setEnabled(true);
            cancelar->setVisible(true);
            progreso->clear();
            progreso->setVisible(true);
            barra->setValue(0);
            barra->setFormat(QStringLiteral("%v de %m"));
            barra->setTextVisible(true);
            barra->setVisible(true);
            const AlSalir restaura([=] {
                progreso->setVisible(false);
                barra->setVisible(false);
                cancelar->setVisible(false);
                cancelar->setEnabled(false);
            });
            resultado = impresion.Imprime(
                [=](int numero, int total, const QString& folio) {
                    progreso->setText(QStringLiteral("Remisión ") + folio);
                    barra->setRange(0, total);
                    barra->setValue(numero);
                    QCoreApplication::processEvents();
                },
                desde != nullptr ? desde->id : 0);
        },
        cancelar);
    // A resumed run is a line of its own, saying where it went on from.
    QStringList detalle;
    if (desde != nullptr) {
        detalle << desde->ParaLaBitacora();
    }
    if (!unSoloPdf.isEmpty()) {
        detalle << QStringLiteral("pdf-unico ") + unSoloPdf;
    }
    Bitacora::Anota(trabajo, detalle.join(QStringLiteral("; ")), resultado.Resumen());
    muestraFin(ventana, resultado, unSoloPdf);
    return resultado;
}

void ImprimeEnVentana(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, Conexion& cnn,
                      const QString& trabajo, const ControlesDeCorrida& controles,
                      const VigenciaDeRemisiones& vigencia, const QString& quehacer,
                      bool continuar) {
    BotonDeContinuar& oferta = *controles.continuar;
    std::optional<CorridaDetenida> desde;
    if (continuar) {
        desde = oferta.Verificada(cnn, quehacer);
    } else {
        vigencia.Verifica(cnn, quehacer);
    }
    const CorridaDetenida::Copias copias = CorridaDetenida::LeeCopias(cnn);
    // Kept before the run: a window that loses the server during it forgets its own.
    const VigenciaDeRemisiones leida = vigencia;
    const QString pdf = controles.pdfUnico->isChecked()
                            ? PdfDeLaCorrida(trabajo.section(QLatin1Char(' '), 0, 0))
                            : QString();
    // The offer stands where the run shows its progress.
    const bool ofrecida = oferta.isVisible();
    oferta.setVisible(false);
    const std::optional<ResultadoDeImpresion> resultado =
        CorreImpresion(ventana, impresion, trabajo, controles.cancelar, controles.progreso,
                       controles.barra, pdf, desde ? &*desde : nullptr);
    if (resultado) {
        oferta.Tras(*resultado, copias, continuar ? nullptr : &leida, trabajo);
    } else {
        oferta.setVisible(ofrecida);
    }
}
