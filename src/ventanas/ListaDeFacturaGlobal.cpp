#include "ventanas/ListaDeFacturaGlobal.h"

#include "orvlib/Formato.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"
#include "tienda/ParaPluginsPortables.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QDir>
#include <QFileInfo>

QString ListaDeFacturaGlobal::ArchivoBandera() {
    Proceso& p = Proceso::actual();
    QString carpetaHost =
        LeeIniConDefault(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"),
                         Proceso::CarpetaDelPrograma(), *p.kw, p.stArchivoIni);
    if (!carpetaHost.endsWith(QLatin1Char('/')) && !carpetaHost.endsWith(QLatin1Char('\\'))) {
        carpetaHost += QDir::separator();
    }
    return carpetaHost + QStringLiteral("RdRpFG.txt");
}

bool ListaDeFacturaGlobal::ConfirmaGenerar() {
    return Dialogos::actual().pregunta(
        QStringLiteral("¿Desea generar la lista de estas remisiones, para facturar en Orvane?"),
        QStringLiteral("Generar lista"), true);
}

void ListaDeFacturaGlobal::Genera(const QString& archivoBandera, int remisiones) {
    ReimpresionConTope::GeneraListaGlobal(
        QDir(Proceso::CarpetaDelPrograma()).filePath(QStringLiteral("ListaRemisiones.txt")),
        archivoBandera);
    Dialogos::actual().mensaje(
        QStringLiteral("Archivo ") + archivoBandera +
            QStringLiteral(" generado\r\n(%1 remisiones)")
                .arg(Formato::Numero(remisiones, QStringLiteral("###,###,##0"))),
        QStringLiteral("Listo"), Dialogos::Icono::Informacion);
}

void ListaDeFacturaGlobal::Limpia(const QString& archivoBandera) {
    if (!QFileInfo::exists(archivoBandera)) {
        Dialogos::actual().mensaje(
            QStringLiteral("No hay lista para la factura global que quitar: ") + archivoBandera +
                QStringLiteral(" no existe."),
            QStringLiteral("Listo"), Dialogos::Icono::Informacion);
        return;
    }
    if (!Dialogos::actual().pregunta(
            QStringLiteral("¿Desea quitar la lista de remisiones para la factura global de Orvane "
                           "(%1)?")
                .arg(archivoBandera),
            QStringLiteral("Limpiar banderas"), true)) {
        return;
    }
    ReimpresionConTope::LimpiaBanderas(archivoBandera);
    Dialogos::actual().mensaje(QStringLiteral("Archivo ") + archivoBandera +
                                   QStringLiteral(" eliminado"),
                               QStringLiteral("Listo"), Dialogos::Icono::Informacion);
}
