#include "ui/CorridaDeImpresion.h"

#include "hostdata/Bitacora.h"
#include "hostdata/Dialogos.h"
#include "orvlib/AlSalir.h"
#include "printing/ImpresionDeDocumento.h"
#include "ui/VentanaDeTrabajo.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

void muestraFin(const ResultadoDeImpresion& r) {
    const Dialogos::Icono icono = r.Fallo()      ? Dialogos::Icono::Critico
                                  : r.Completa() ? Dialogos::Icono::Informacion
                                                 : Dialogos::Icono::Advertencia;
    Dialogos::actual().mensaje(
        r.Mensaje(), r.Fallo() ? QStringLiteral("Error") : QStringLiteral("Atención"), icono);
}

} // namespace

void CorreImpresion(VentanaDeTrabajo& ventana, ImpresionDeRemisiones& impresion,
                    const QString& trabajo, QPushButton* cancelar, QLabel* progreso,
                    QProgressBar* barra) {
    if (!Pregunta(ImpresionDeRemisiones::Pregunta(), QStringLiteral("Imprimir"), true)) {
        return;
    }
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
    muestraFin(resultado);
}
