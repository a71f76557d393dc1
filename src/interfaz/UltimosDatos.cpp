#include "interfaz/UltimosDatos.h"

#include "orvlib/ArchivoIni.h"
#include "orvlib/ErrorOrvlib.h"
#include "servicios/Proceso.h"

#include <QLineEdit>

UltimosDatos::UltimosDatos(QString seccion, QList<QPair<QString, QLineEdit*>> campos)
    : seccion_(std::move(seccion))
    , campos_(std::move(campos)) {}

void UltimosDatos::Restaura() const {
    const ArchivoIni ini(Proceso::actual().stArchivoIni);
    for (const auto& [clave, campo] : campos_) {
        const QString valor = ini.lee(seccion_, clave);
        if (!valor.isEmpty()) {
            campo->setText(valor);
        }
    }
}

void UltimosDatos::Guarda() const {
    QList<ArchivoIni::Valor> valores;
    for (const auto& [clave, campo] : campos_) {
        valores.append({seccion_, clave, campo->text()});
    }
    try {
        ArchivoIni(Proceso::actual().stArchivoIni).escribe(valores);
    } catch (const ErrorOrvlib&) {
        // Remembering is a convenience: it never undoes or stops the run that used them.
    }
}
