#pragma once

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/CupsDePrueba.h"
#include "apoyo/DiscoPequeno.h"
#include "apoyo/Espera.h"
#include "apoyo/NotasDePrueba.h"
#include "apoyo/Pdf.h"
#include "apoyo/ProgramaDePrueba.h"
#include "apoyo/TiendaDePrueba.h"
#include "arranque/Principal.h"
#include "impresion/ImpresionDeRemisiones.h"
#include "impresion/modRPTs.h"
#include "interfaz/DialogosGuionados.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ArchivoIni.h"
#include "orvlib/CamposBin.h"
#include "orvlib/DelRegistro.h"
#include "orvlib/Utilerias.h"
#include "orvlib/Windows1252.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/Reporteador.h"
#include "servicios/Bitacora.h"
#include "servicios/Proceso.h"
#include "trabajos/CandadoDeReimpresion.h"
#include "ventanas/frmRemisPorcen.h"
#include "ventanas/frmRemisTyP.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPaintEngine>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSysInfo>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// The store of the jobs' print tests, and a printer that refuses the document at its end.

const QDate kDia(2026, 11, 2);

// The engine of a printer that takes the pages and refuses the document at its end, as a queue
// that went away while the note was sent.
class MotorQueNoTermina : public QPaintEngine {
public:
    MotorQueNoTermina()
        : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return false; }
    void updateState(const QPaintEngineState&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return QPaintEngine::User; }
};

class ImpresoraQueNoTermina : public QPrinter {
public:
    QPaintEngine* paintEngine() const override { return &motor_; }

private:
    mutable MotorQueNoTermina motor_;
};

// A store ready to print: templates, data sources, company, and notes over two days.
class ImpresionDeTrabajos : public TiendaQueImprime {
protected:
    void SetUp() override {
        TiendaQueImprime::SetUp();
        ConfiguraPrograma(carpeta, base);
        AgregaNotas(base, {{11, kDia, 1000, 160, 0, QStringLiteral("A"), 501},
                           {12, kDia, 500, 80, 0, QStringLiteral("A"), 502},
                           {13, kDia.addDays(1), 200, 32, 0, QStringLiteral("A"), 503},
                           {14, kDia.addDays(1), 300, 48, 0, QStringLiteral("B"), 504}});
    }

    struct Salida {
        int codigo = -1;
        QString salida;
        QString errores;
    };

    // The program run from the command line with those arguments, to its end.
    static Salida corre(const QStringList& argumentos) {
        QProcess programa;
        programa.start(QStringLiteral(DEREMISIONES_EJECUTABLE), argumentos);
        EXPECT_TRUE(programa.waitForFinished(60000));
        return {programa.exitCode(), QString::fromUtf8(programa.readAllStandardOutput()),
                QString::fromUtf8(programa.readAllStandardError())};
    }

    // The percentage job over folios 501 to 503 of series A, with the options given.
    static QStringList porcentaje(const QStringList& opciones = {}) {
        return QStringList{QStringLiteral("porcentaje"), QStringLiteral("--inicial"),
                           QStringLiteral("501"),        QStringLiteral("--final"),
                           QStringLiteral("503"),        QStringLiteral("--porcentaje"),
                           QStringLiteral("15"),         QStringLiteral("--serie"),
                           QStringLiteral("A")} +
               opciones;
    }

    void escribe(QWidget& ventana, const char* caja, const char* texto) {
        Control<QLineEdit>(ventana, caja)->setText(QString::fromUtf8(texto));
    }

    void aplicaTope(frmRemisTyP& ventana) {
        LlenaTope(ventana, "02/11/2026", "03/11/2026", "A", "100000", "1500");
        QTest::mouseClick(Control<QPushButton>(ventana, "cmdAplicar"), Qt::LeftButton);
    }
};
