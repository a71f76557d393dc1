#include "apoyo/ProgramaDePrueba.h"

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Proceso.h"

#include <QDir>

void ConfiguraPrograma(CarpetaDePrueba& carpeta, BaseDePrueba& base) {
    Proceso& p = Proceso::actual();
    p.stArchivoIni = carpeta.ruta(QStringLiteral("programa/DeRemisiones.ini"));
    const QString host = carpeta.ruta(QStringLiteral("host"));
    QDir().mkpath(host);
    ArchivoIni ini(p.stArchivoIni);
    ini.escribe(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"), host);
    ini.escribe(QStringLiteral("Configuración"), QStringLiteral("Base de datos principal"),
                base.nombre());
    carpeta.registraInstalacion(host);
}

QString CreaResguardo(BaseDePrueba& base) {
    const QString resguardo = base.creaBaseAdicional(QStringLiteral("resguardo"));
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        base.ejecuta(QStringLiteral("CREATE TABLE %1.%2 LIKE %2")
                         .arg(resguardo, QString::fromLatin1(tabla)));
    }
    return resguardo;
}
