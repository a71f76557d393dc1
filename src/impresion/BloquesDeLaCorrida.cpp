#include "impresion/BloquesDeLaCorrida.h"

#include "impresion/modRPTs.h"

BloquesDeLaCorrida::BloquesDeLaCorrida(Conexion& cnn, const QList<qint32>& ids,
                                       const QString& tablaDetalle)
    : cnn_(cnn)
    , ids_(ids)
    , tablaDetalle_(tablaDetalle)
    , tallas_(cnn) {
    for (int i = 0; i < ids_.size(); ++i) {
        posiciones_.insert(ids_[i], i);
    }
}

QString BloquesDeLaCorrida::SeleccionDe(qint32 id) {
    return QStringLiteral("{Remisiones.Id}=%1").arg(id);
}

void BloquesDeLaCorrida::Antes(qint32 id) {
    const auto posicion = posiciones_.constFind(id);
    if (lineas_.contains(id) || posicion == posiciones_.constEnd()) {
        return;
    }
    const QList<qint32> bloque = ids_.mid(*posicion, kNotasPorBloque);
    ultima_ = bloque.last();
    lineas_ = LeeLineasImpresas(cnn_, tablaDetalle_, 2, bloque);
    ControlDeReporte& control = modRPTs::actual().crpReport;
    conTallas_ = control.DesvioActual() != ControlDeReporte::Desvio::Ventana;
    if (conTallas_) {
        if (!limpia_) {
            tallas_.LimpiaRestos(tablaDetalle_);
            limpia_ = true;
        }
        tallas_.Escribe(tablaDetalle_, bloque);
    }
    // A note without lines is still of the block: it has none to read again.
    QStringList selecciones;
    for (qint32 deBloque : bloque) {
        lineas_[deBloque];
        selecciones << SeleccionDe(deBloque);
    }
    // A preview writes each note's size and colour rows just before its report.
    control.Anticipa(selecciones, conTallas_ ? QStringList()
                                             : QStringList{QStringLiteral("partidatallaocolor")});
}

void BloquesDeLaCorrida::Despues(qint32 id) {
    if (id == ultima_) {
        tallas_.Borra();
    }
}

const QVector<LineaImpresa>* BloquesDeLaCorrida::Lineas(qint32 id) const {
    const auto lineas = lineas_.constFind(id);
    return lineas == lineas_.constEnd() ? nullptr : &*lineas;
}
