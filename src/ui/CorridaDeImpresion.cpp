#include "ui/CorridaDeImpresion.h"

#include "hostdata/Bitacora.h"
#include "hostdata/Dialogos.h"
#include "hostdata/ExplicacionDeError.h"
#include "orvlib/AlSalir.h"
#include "printing/ImpresionDeDocumento.h"
#include "ui/VentanaDeTrabajo.h"

#include <QCoreApplication>
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
    const ExplicacionDeError explicacion = ExplicacionDeError::DeTexto(r.error);
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

void CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion,
                    const QString& trabajo, QPushButton* cancelar, QLabel* progreso,
                    QProgressBar* barra) {
    if (!Pregunta(ImpresionDeRemisiones::Pregunta(), QStringLiteral("Imprimir"), true)) {
        return;
    }
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
            resultado = impresion.Imprime([=](int numero, int total, const QString& folio) {
                progreso->setText(QStringLiteral("Remisión ") + folio);
                barra->setRange(0, total);
                barra->setValue(numero);
                QCoreApplication::processEvents();
            });
        },
        cancelar);
    Bitacora::Anota(trabajo, QString(), resultado.Resumen());
    muestraFin(ventana, resultado);
}
