#include "impresion/ParadaDeImpresion.h"

#include "impresion/ResultadoDeImpresion.h"
#include "servicios/ExplicacionDeError.h"

bool ParadaDeImpresion::PorDiscoLleno(const ResultadoDeImpresion& resultado) {
    return resultado.Fallo() && resultado.causa &&
           ExplicacionDeError::De(*resultado.causa).clase() ==
               ExplicacionDeError::Clase::DiscoLocalLleno;
}

QString ParadaDeImpresion::Texto(const ResultadoDeImpresion& resultado, Desde desde) {
    const ExplicacionDeError explicacion = ExplicacionDeError::De(*resultado.causa);
    QString texto = ExplicacionDeError::SinEspacioPara(explicacion.archivo()) +
                    QStringLiteral(".\r\n") + resultado.DondeSeDetuvo();
    if (!resultado.dondeQuedaron.isEmpty()) {
        texto += QStringLiteral("\r\n") + resultado.dondeQuedaron;
    }
    if (desde == Desde::Consola) {
        texto += QStringLiteral("\r\n") + resultado.error;
    }
    return texto + QStringLiteral("\r\n\r\n") + queHacer(resultado, desde);
}

QString ParadaDeImpresion::queHacer(const ResultadoDeImpresion& resultado, Desde desde) {
    // A run that never began has nothing to go on from: it is run again.
    if (resultado.remisionFallida.isEmpty()) {
        return QStringLiteral("Libere espacio en ese disco y vuelva a intentar.");
    }
    return desde == Desde::Ventana
               ? QStringLiteral("Libere espacio en ese disco y pulse «Continuar desde la "
                                "remisión» para imprimir las que faltan.")
               : QStringLiteral("Libere espacio en ese disco y ejecute la misma orden con "
                                "--continuar para imprimir las que faltan.");
}
