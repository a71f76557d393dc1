#include "reporteador/ControlDeReporte.h"

#include "reporteador/ErrorDeReporte.h"

#include <utility>

namespace {

[[noreturn]] void noSoportada(int id, int indice = -1) {
    throw ErrorDeReporte(ErrorDeReporte::kNoSoportada,
                         indice < 0 ? QStringLiteral("El control de reporte no tiene la propiedad "
                                                     "%1")
                                          .arg(id)
                                    : QStringLiteral("El control de reporte no tiene la propiedad "
                                                     "%1(%2)")
                                          .arg(id)
                                          .arg(indice));
}

} // namespace

ControlDeReporte::ControlDeReporte() {
    trabajo_.ubicaciones.resize(kTablas);
    trabajo_.formulas.resize(kFormulas);
}

void ControlDeReporte::Asigna(int id, const QVariant& valor) {
    switch (id) {
    case 3:
        trabajo_.plantilla = valor.toString();
        break;
    case 8:
        trabajo_.titulo = valor.toString();
        break;
    case 13:
        trabajo_.seleccion = valor.toString();
        break;
    case 17:
        if (valor.toInt() == 1) {
            ejecuta();
        }
        break;
    case 20:
        trabajo_.textoDeConexion = valor.toString();
        break;
    case 24:
        destino_ = valor.toInt();
        break;
    case 25:
        trabajo_.copias = valor.toInt();
        break;
    case 48:
        trabajo_.impresora = valor.toString();
        break;
    case 12:
    case 15:
    case 47:
    case 49:
        break;
    default:
        noSoportada(id);
    }
}

void ControlDeReporte::AsignaIndexada(int id, int indice, const QVariant& valor) {
    QVector<QString>* lista = id == 32   ? &trabajo_.ubicaciones
                              : id == 29 ? &trabajo_.formulas
                                         : nullptr;
    const int largo = lista != nullptr ? static_cast<int>(lista->size()) : kFormulas;
    if ((lista == nullptr && id != 30) || indice < 0 || indice >= largo) {
        noSoportada(id, indice);
    }
    if (lista != nullptr) {
        (*lista)[indice] = valor.toString();
    }
}

QVariant ControlDeReporte::Lee(int id, int indice) const {
    switch (id) {
    case 3:
        return trabajo_.plantilla;
    case 13:
        return trabajo_.seleccion;
    case 20:
        return trabajo_.textoDeConexion;
    case 24:
        return destino_;
    case 29:
        return trabajo_.formulas.value(indice);
    case 32:
        return trabajo_.ubicaciones.value(indice);
    case 48:
        return trabajo_.impresora;
    default:
        return {};
    }
}

void ControlDeReporte::Desvia(Desvio desvio, const QString& carpeta) {
    desvio_ = desvio;
    carpetaDeSalida_ = carpeta;
}

void ControlDeReporte::DirigeAPdf(const QString& carpeta) {
    Desvia(carpeta.isEmpty() ? Desvio::Ninguno : Desvio::Pdf, carpeta);
}

void ControlDeReporte::DirigeAPdfUnico(const QString& archivo) {
    Desvia(archivo.isEmpty() ? Desvio::Ninguno : Desvio::PdfUnico, archivo);
}

QString ControlDeReporte::CierraDocumentoDeCorrida() {
    const QString ruta = motor_.CierraDocumento();
    if (!ruta.isEmpty()) {
        generados_ << ruta;
    }
    return ruta;
}

void ControlDeReporte::ejecuta() {
    using Destino = TrabajoDeReporte::Destino;
    TrabajoDeReporte trabajo = trabajo_;
    trabajo.carpetaDeSalida = carpetaDeSalida_;
    const QString reemplazo = std::exchange(reemplazo_, QString());
    trabajo.archivoDeSalida = desvio_ == Desvio::PdfUnico ? carpetaDeSalida_
                              : desvio_ == Desvio::Pdf    ? reemplazo
                                                          : QString();
    trabajo.destino = destino_ == 0 || desvio_ == Desvio::Ventana ? Destino::Ventana
                      : desvio_ == Desvio::Pdf                    ? Destino::Pdf
                      : desvio_ == Desvio::Png                    ? Destino::Png
                      : desvio_ == Desvio::PdfUnico               ? Destino::PdfUnico
                                                                  : Destino::Impresora;
    ultimo_ = ResultadoDeReporte{};
    ultimo_ = motor_.Ejecuta(trabajo);
    generados_ << ultimo_.archivos;
}
