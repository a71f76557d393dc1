#include "jobs/CorridaDeImpresion.h"

#include "printing/ImpresionDeDocumento.h"
#include "printing/ImpresionDeRemisiones.h"
#include "ui/AlSalir.h"
#include "ui/Dialogos.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

bool CorreImpresion(ImpresionDeRemisiones& impresion, QPushButton* botonPrincipal,
                    QPushButton* imprimir, QPushButton* cancelar, QLabel* progreso) {
    if (!Pregunta(ImpresionDeRemisiones::Pregunta(), QStringLiteral("Imprimir"), true)) {
        return false;
    }
    {
        botonPrincipal->setEnabled(false);
        imprimir->setEnabled(false);
        cancelar->setEnabled(true);
        cancelar->setVisible(true);
        progreso->setVisible(true);
        const AlSalir restaura([=] {
            progreso->setVisible(false);
            botonPrincipal->setEnabled(true);
            imprimir->setEnabled(true);
            cancelar->setVisible(false);
            cancelar->setEnabled(false);
        });
        impresion.Imprime([progreso](const QString& texto) {
            progreso->setText(texto);
            QCoreApplication::processEvents();
        });
    }
    Dialogos::actual().mensaje(ImpresionDeRemisiones::Aviso(), QStringLiteral("Atención"),
                               Dialogos::Icono::Informacion);
    return true;
}
