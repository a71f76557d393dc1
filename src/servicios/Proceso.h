#pragma once

#include "orvlib/BasesDD.h"
#include "orvlib/DeArchivos.h"
#include "orvlib/DeEquipo.h"
#include "orvlib/DeMonedas.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/ImpresionTexto.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"

#include <QString>
#include <memory>

// What belongs to the whole process: the shared support-library objects made at start and the
// paths of the program's and the host's files. Lives until the process ends.
struct Proceso {
    std::unique_ptr<libKwtm> kw;
    std::unique_ptr<BasesDD> bases;
    std::unique_ptr<DeEquipo> equipo;
    std::unique_ptr<Utilerias> utilerias;
    std::unique_ptr<DeArchivos> archivos;
    std::unique_ptr<ImpresionTexto> impresionTexto;
    std::unique_ptr<DeMonedas> monedas;
    std::unique_ptr<DelRegistro> registro;

    QString stArchivoIni;      // the program's DeRemisiones.ini
    QString stCarpetaPrograma; // the program folder, with a trailing separator
    QString stIniHost;         // the host's Orvane.ini

    static Proceso& actual();

    // The folder of the program's own files: DEREMISIONES_CARPETA when set, else the
    // executable's folder, or deremisiones in the user's data folder ($XDG_DATA_HOME) for an
    // installed copy or when the executable's folder cannot be written. The folder is not made.
    static QString CarpetaDelPrograma();
    // An installed copy has its data (shipped templates) in share/deremisiones beside bin.
    static bool EsCopiaInstalada();
    static QString CarpetaDeDatosInstalados();
};
