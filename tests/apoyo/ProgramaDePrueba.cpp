#include "apoyo/ProgramaDePrueba.h"

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "orvlib/ArchivoIni.h"
#include "servicios/Proceso.h"

#include <QDir>
#include <QLineEdit>

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

namespace {

void llena(QWidget& ventana, std::initializer_list<std::pair<const char*, const char*>> campos) {
    for (const auto& [caja, texto] : campos) {
        Control<QLineEdit>(ventana, caja)->setText(QString::fromUtf8(texto));
    }
}

} // namespace

void LlenaTope(QWidget& ventana, const char* desde, const char* hasta, const char* serie,
               const char* tope, const char* folio) {
    llena(ventana, {{"mkeFecha_0", desde},
                    {"mkeFecha_1", hasta},
                    {"txtDato_4", serie},
                    {"txtDato_2", tope},
                    {"txtDato_3", folio}});
}

void LlenaPorcentaje(QWidget& ventana, const char* inicial, const char* final, const char* serie,
                     const char* porcentaje) {
    llena(ventana, {{"txtDato_0", inicial},
                    {"txtDato_1", final},
                    {"txtDato_4", serie},
                    {"txtDato_2", porcentaje}});
}
