#pragma once

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/ProgramaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

// What printing needs around a test database, as an installation has it: the shared objects
// and paths of the process, the two ODBC data sources, the delivery-note template and the
// auxiliary database template in reportesbin, currencies, the company row and the settings row.
void PreparaImpresion(CarpetaDePrueba& carpeta, BaseDePrueba& base);
// Stores one template source or schema of templates/ in the database's reportesbin.
void GuardaPlantilla(BaseDePrueba& base, const char* archivo);
// The text of a file of templates/.
QString TextoDePlantilla(const char* archivo);
// Stores a template built from a source under that name (fmtRemision.rpt).
void GuardaFuente(BaseDePrueba& base, const QString& nombre, const QString& fuente);
// Stores a plain PNG of 300 x 200 pixels as the store's logo.png.
void GuardaLogo(BaseDePrueba& base);

// A test on a store as the installed program finds it: the process's shared objects, a program
// folder whose ini names the test database, scripted dialogs. Each test adds its notes.
class TiendaDePrueba : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    bool objetos = (Principal::CreaObjetosCompartidos(), true);
    BaseDePrueba base;
    DialogosGuionados dialogos;

    void SetUp() override { ConfiguraPrograma(carpeta, base); }
};

// The same store with the invoice's archive database.
class TiendaConResguardo : public TiendaDePrueba {
protected:
    QString resguardo = CreaResguardo(base);
};

// The reprint windows' store: notes with series, as configura says.
class TiendaConSeries : public TiendaDePrueba {
protected:
    void SetUp() override {
        TiendaDePrueba::SetUp();
        base.ejecuta(QStringLiteral("INSERT INTO configura (SeriesEnRem) VALUES (1)"));
    }
};

// A test of printing: a store prepared with PreparaImpresion whose printed documents go to PDF
// files; Nuevos() gives the files written since the test began.
class TiendaQueImprime : public TiendaDePrueba {
protected:
    modRPTs& rpt = modRPTs::actual();

    void SetUp() override {
        PreparaImpresion(carpeta, base);
        rpt.crpReport.DirigeAPdf(carpeta.ruta(QStringLiteral("pdf")));
    }

    QStringList Nuevos() const { return rpt.crpReport.ArchivosGenerados().mid(antes_); }
    // The end message's line that names the PDFs' folder.
    QString EnLaCarpeta() const {
        return QStringLiteral("\r\nEn la carpeta ") +
               QDir::toNativeSeparators(carpeta.ruta(QStringLiteral("pdf")));
    }

private:
    qsizetype antes_ = rpt.crpReport.ArchivosGenerados().size();
};
