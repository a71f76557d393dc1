#include "interfaz/CorridaDeImpresion.h"

#include "impresion/ImpresionDeDocumento.h"
#include "impresion/LibroDeImpresion.h"
#include "impresion/ParadaDeImpresion.h"
#include "impresion/PlanDeImpresion.h"
#include "impresion/modRPTs.h"
#include "interfaz/BotonDeContinuar.h"
#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/AlSalir.h"
#include "orvlib/EscritorDeArchivo.h"
#include "servicios/Bitacora.h"
#include "servicios/Dialogos.h"
#include "servicios/ExplicacionDeError.h"
#include "servicios/Proceso.h"
#include "servicios/Rechazo.h"
#include "trabajos/VigenciaDeRemisiones.h"

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

void muestraFin(VentanaDeTrabajo& ventana, const ResultadoDeImpresion& r) {
    if (!r.Fallo()) {
        Dialogos::actual().mensaje(r.Mensaje(), QStringLiteral("Atención"),
                                   r.Completa() ? Dialogos::Icono::Informacion
                                                : Dialogos::Icono::Advertencia);
        return;
    }
    // Where it stopped and the count first; what the error means, when it is known, instead of
    // the driver's text, which goes to the details.
    if (!r.causa) {
        Dialogos::actual().mensaje(r.Mensaje(), QStringLiteral("Error"), Dialogos::Icono::Critico);
        return;
    }
    if (ParadaDeImpresion::PorDiscoLleno(r)) {
        Dialogos::actual().mensajeConDetalle(
            ParadaDeImpresion::Texto(r, ParadaDeImpresion::Desde::Ventana), r.error,
            QStringLiteral("Error"), Dialogos::Icono::Critico);
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
CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, PlanDeImpresion& plan,
               LibroDeImpresion& libro, const QString& trabajo, QPushButton* cancelar,
               QLabel* progreso, QProgressBar* barra, const QString& unSoloPdf) {
    if (!Pregunta(plan.Pregunta(), QStringLiteral("Imprimir"), true)) {
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
                plan, libro,
                [=](int numero, int total, const QString& folio) {
                    progreso->setText(QStringLiteral("Remisión ") + folio);
                    barra->setRange(0, total);
                    barra->setValue(numero);
                    QCoreApplication::processEvents();
                },
                [=, &impresion](int enCola) {
                    progreso->setText(
                        QStringLiteral("Esperando a la impresora: %1 en la cola (Cancelar deja "
                                       "de esperar; siguen en la cola)")
                            .arg(enCola == 1 ? QStringLiteral("1 remisión")
                                             : QStringLiteral("%1 remisiones").arg(enCola)));
                    QCoreApplication::processEvents();
                    return !impresion.Cancelada();
                });
        },
        cancelar);
    Bitacora::Anota(trabajo, plan.ParaLaBitacora() + QStringLiteral("; ") + resultado.destino,
                    resultado.Resumen());
    muestraFin(ventana, resultado);
    return resultado;
}

namespace {

// The note of the offered run that a reprint starts from, as the clerk picks it; Rechazo when
// none is picked.
QString remisionElegida(const CorridaDelLibro& corrida) {
    QStringList opciones;
    for (const NotaDelLibro& n : corrida.notas) {
        opciones << QStringLiteral("Remisión %1 de %2 · folio %3 · %4")
                        .arg(n.numero)
                        .arg(corrida.notas.size())
                        .arg(n.folio, LibroDeImpresion::NombreDelEstado(n.estado));
    }
    const int elegida = Dialogos::actual().elige(
        QStringLiteral("¿Desde qué remisión se vuelve a imprimir? Se imprimen esa y las "
                       "siguientes de la misma impresión."),
        QStringLiteral("Reimprimir"), opciones, 0);
    if (elegida < 0 || elegida >= corrida.notas.size()) {
        throw Rechazo(QStringLiteral("No se eligió una remisión: no se imprimió nada."));
    }
    return corrida.notas[elegida].folio;
}

// The plan the window asks for: every copy once the host notes are checked, or the offer's.
PlanDeImpresion planPedido(LibroDeImpresion& libro, Conexion& cnn, const TrabajoEnVentana& trabajo,
                           BotonDeContinuar& oferta, bool desdeLaOferta) {
    const QString clave = trabajo.nombre.section(QLatin1Char(' '), 0, 0);
    if (!desdeLaOferta) {
        trabajo.vigencia->Verifica(cnn, trabajo.quehacer);
        return PlanDeImpresion::Nueva(cnn, clave, trabajo.parametros);
    }
    if (!oferta.Corrida()) {
        throw Rechazo(QStringLiteral("No hay una impresión anterior de estas remisiones."));
    }
    try {
        if (oferta.Continua()) {
            PlanDeImpresion plan = PlanDeImpresion::Continuacion(libro, cnn, clave);
            oferta.VerificaNotas(cnn, trabajo.quehacer);
            return plan;
        }
        const QString folio = remisionElegida(*oferta.Corrida());
        PlanDeImpresion plan = PlanDeImpresion::Reimpresion(libro, cnn, clave, folio);
        oferta.VerificaNotas(cnn, trabajo.quehacer);
        return plan;
    } catch (const Rechazo&) {
        oferta.Revisa(cnn, clave, *trabajo.vigencia);
        throw;
    }
}

} // namespace

void ImprimeEnVentana(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion, Conexion& cnn,
                      const TrabajoEnVentana& trabajo, const ControlesDeCorrida& controles,
                      bool desdeLaOferta) {
    BotonDeContinuar& oferta = *controles.continuar;
    LibroDeImpresion libro;
    PlanDeImpresion plan = planPedido(libro, cnn, trabajo, oferta, desdeLaOferta);
    // Kept before the run: a window that loses the server during it forgets its own.
    const VigenciaDeRemisiones leida = desdeLaOferta ? oferta.Vigencia() : *trabajo.vigencia;
    const QString pdf = controles.pdfUnico->isChecked()
                            ? PdfDeLaCorrida(trabajo.nombre.section(QLatin1Char(' '), 0, 0))
                            : QString();
    // The offer stands where the run shows its progress.
    const bool ofrecida = oferta.isVisible();
    oferta.setVisible(false);
    const std::optional<ResultadoDeImpresion> resultado =
        CorreImpresion(ventana, impresion, plan, libro, trabajo.nombre, controles.cancelar,
                       controles.progreso, controles.barra, pdf);
    if (resultado) {
        oferta.Ofrece(plan.corrida(), leida);
    } else {
        oferta.setVisible(ofrecida);
    }
}
