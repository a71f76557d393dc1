#include "arranque/Principal.h"

#include "arranque/Menu.h"
#include "arranque/RevisionDeTienda.h"
#include "interfaz/DialogosQt.h"
#include "interfaz/TraduccionesQt.h"
#include "orvlib/FabricaOrvlib.h"
#include "servicios/Dialogos.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/ParaPluginsPortables.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {

template <typename T> void crea(std::unique_ptr<T>& destino, const QString& identificador) {
    std::unique_ptr<ObjetoOrvlib> objeto = FabricaOrvlib::crea(identificador);
    destino.reset(dynamic_cast<T*>(objeto.release()));
}

} // namespace

void Principal::CreaObjetosCompartidos() {
    Proceso& p = Proceso::actual();
    crea(p.kw, QStringLiteral("Orvlib.libKwtm"));
    crea(p.bases, QStringLiteral("Orvlib.BasesDD"));
    crea(p.equipo, QStringLiteral("Orvlib.DeEquipo"));
    crea(p.utilerias, QStringLiteral("Orvlib.Utilerias"));
    crea(p.archivos, QStringLiteral("Orvlib.DeArchivos"));
    crea(p.impresionTexto, QStringLiteral("Orvlib.ImpresionTexto"));
    crea(p.monedas, QStringLiteral("Orvlib.DeMonedas"));
    crea(p.registro, QStringLiteral("orvlib.DelRegistro"));
}

void Principal::LiberaObjetos() {
    Proceso& p = Proceso::actual();
    p.kw.reset();
    p.bases.reset();
    p.equipo.reset();
    p.utilerias.reset();
    p.archivos.reset();
    p.impresionTexto.reset();
    p.monedas.reset();
    p.registro.reset();
}

bool Principal::Configura() {
    const QString carpeta = Proceso::CarpetaDelPrograma();
    QDir::setCurrent(carpeta);
    // Scratch files of earlier runs that ended abnormally.
    TemporalDelProceso::LimpiaAbandonadas();
    CreaObjetosCompartidos();
    Proceso& p = Proceso::actual();
    p.stArchivoIni = QDir(carpeta).filePath(QStringLiteral("DeRemisiones.ini"));
    if (!QFileInfo::exists(p.stArchivoIni)) {
        // An account never configured: told so, with nothing written in its folders.
        Dialogos::actual().mensaje(
            QStringLiteral("La cuenta «%1» no está configurada: no existe %2. Configúrela, con "
                           "su propia cuenta, con «deremisiones configura» (vea «deremisiones "
                           "configura --help»).")
                .arg(RevisionDeTienda::Cuenta(), p.stArchivoIni),
            QStringLiteral("Atención"), Dialogos::Icono::Critico);
        return false;
    }
    if (!LeeConfiguracion(*p.kw, *p.registro, *p.bases, p.stArchivoIni, true)) {
        return false;
    }
    p.stCarpetaPrograma = carpeta + QLatin1Char('/');
    return true;
}

void Principal::CalculaIniHost() {
    Proceso& p = Proceso::actual();
    const QString carpetaHost =
        LeeIniConDefault(QStringLiteral("Configuración"), QStringLiteral("Ruta de Orvane Premium"),
                         Proceso::CarpetaDelPrograma(), *p.kw, p.stArchivoIni);
    p.stIniHost = carpetaHost + QDir::separator() + QStringLiteral("Orvane.ini");
}

int Principal::Main() {
    // The windows' message boxes and busy pointer from the first message on.
    static DialogosQt cajas;
    Dialogos::instala(&cajas);
    if (!TraduccionesQt::Instala()) {
        std::fprintf(stderr, "Faltan las traducciones de Qt al español (paquete "
                             "qt6-translations-l10n); sus menús y botones saldrán en inglés.\n");
    }
    // Run with a clerk's home (sudo -E), the menu would mix the clerk's files with this
    // account's and leave the files it writes in this account's hands.
    if (const QString otraCasa = RevisionDeTienda::OtraCasa(QStringLiteral("deremisiones"));
        !otraCasa.isEmpty()) {
        Dialogos::actual().mensaje(otraCasa, QStringLiteral("Atención"), Dialogos::Icono::Critico);
        return 1;
    }
    if (!Configura()) {
        // The set-up's own check says what is missing and how to mend it.
        Dialogos::actual().mensaje(
            QStringLiteral("Para saber qué falta en la configuración y cómo arreglarlo, ejecute "
                           "en una terminal:\n\n    deremisiones verifica\n\nPara configurar "
                           "esta cuenta: deremisiones configura (vea «deremisiones configura "
                           "--help»)."),
            QStringLiteral("Atención"), Dialogos::Icono::Informacion);
        return 1;
    }
    auto* menu = new Menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->show();
    menu->activateWindow();
    return QApplication::exec();
}

namespace {

QString carpetaDeEjecucion;

// The runtime folder, when Qt made it: a folder of this account, never what a link points to.
void borraCarpetaDeEjecucion() {
    const QFileInfo info(carpetaDeEjecucion);
    if (info.isDir() && !info.isSymLink() && info.ownerId() == RevisionDeTienda::IdDeLaCuenta()) {
        QDir(carpetaDeEjecucion).removeRecursively();
    }
}

} // namespace

void Principal::AseguraCarpetaDeEjecucion() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        return;
    }
    carpetaDeEjecucion = QDir::temp().filePath(QStringLiteral("deremisiones-%1-%2")
                                                   .arg(RevisionDeTienda::Cuenta())
                                                   .arg(QCoreApplication::applicationPid()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(carpetaDeEjecucion));
    std::atexit(borraCarpetaDeEjecucion);
}
