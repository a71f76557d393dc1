#include "impresion/ResultadoDeImpresion.h"

#include "impresion/ImpresionDeRemisiones.h"

QString ResultadoDeImpresion::cuantas() const {
    if (enCola == 0 && conError == 0) {
        return impresas == 1
                   ? QStringLiteral("Se imprimió 1 de %1 remisiones.").arg(total)
                   : QStringLiteral("Se imprimieron %1 de %2 remisiones.").arg(impresas).arg(total);
    }
    QString texto = QStringLiteral("Impresas %1, en la cola %2").arg(impresas).arg(enCola);
    if (enCola > 0 && !porQueEsperan.isEmpty()) {
        texto += QStringLiteral(" (") + porQueEsperan + QLatin1Char(')');
    }
    texto += QStringLiteral(", con error %1, de %2 remisiones.").arg(conError).arg(total);
    if (!primerError.isEmpty()) {
        texto += QStringLiteral("\r\nCon error: ") + primerError;
    }
    return texto;
}

QString ResultadoDeImpresion::Mensaje() const {
    const QString texto = mensajeSinLugar();
    return dondeQuedaron.isEmpty() ? texto : texto + QStringLiteral("\r\n") + dondeQuedaron;
}

QString ResultadoDeImpresion::DondeSeDetuvo() const {
    const QString donde =
        fallidaImpresa
            ? QStringLiteral("La remisión ") + remisionFallida +
                  QStringLiteral(" se imprimió, pero la impresión se detuvo al terminarla")
        : remisionFallida.isEmpty()
            ? QStringLiteral("La impresión no pudo comenzar")
            : QStringLiteral("La impresión se detuvo en la remisión ") + remisionFallida;
    return donde + QStringLiteral(" (plantilla ") + ImpresionDeRemisiones::Plantilla() +
           QStringLiteral(").\r\n") + cuantas();
}

QString ResultadoDeImpresion::mensajeSinLugar() const {
    if (Fallo()) {
        return DondeSeDetuvo() + QStringLiteral("\r\n\r\n") + error;
    }
    if (cancelada) {
        return QStringLiteral("Impresión cancelada. ") + cuantas();
    }
    if (Completa()) {
        return ImpresionDeRemisiones::Aviso() + QStringLiteral(": %1").arg(impresas);
    }
    return cuantas();
}

QString ResultadoDeImpresion::Resumen() const {
    QString texto = QStringLiteral("impresas %1 de %2, en la cola %3, con error %4")
                        .arg(impresas)
                        .arg(total)
                        .arg(enCola)
                        .arg(conError);
    if (Fallo()) {
        return texto +
               (fallidaImpresa ? QStringLiteral("; detenida después de imprimir ")
                               : QStringLiteral("; detenida en ")) +
               (remisionFallida.isEmpty() ? QStringLiteral("el inicio") : remisionFallida) +
               QStringLiteral(": ") + error;
    }
    if (!primerError.isEmpty()) {
        texto += QStringLiteral("; ") + primerError;
    }
    return cancelada ? texto + QStringLiteral("; cancelada") : texto;
}
