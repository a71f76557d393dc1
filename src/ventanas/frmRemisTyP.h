#pragma once

#include "interfaz/VentanaDeReimpresion.h"
#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/Conexion.h"
#include "trabajos/VigenciaDeRemisiones.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QVector>
#include <array>
#include <memory>

class BotonDeContinuar;
class ColocadorDeControles;
class PanelDeElegidas;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

// "Reimpresión de remisiones (por tope y por período)": period, cap and first folio in, one
// grid row per day out; the list for the host's global invoice and its removal.
class frmRemisTyP : public VentanaDeReimpresion {
    Q_OBJECT
public:
    explicit frmRemisTyP(QWidget* parent = nullptr);
    ~frmRemisTyP() override;

    static QString Titulo() {
        return QStringLiteral("Reimpresión de remisiones (por tope y por período)");
    }

    // Whether the command line asks for the test values: exactly "-probando".
    static bool PideDatosDePrueba(const QStringList& argumentos);
    static QString AvisoDeFolio();
    static QString AvisoDeTope();

protected:
    void alActivarPorPrimeraVez() override;

private:
    // The fields with their labels, whose last values are kept, and "&Aplicar".
    void creaControles();
    // The grid, the buttons under it, the chosen notes' panel and the run's progress, hidden
    // until "Aplicar" fills them.
    void creaResultados(const ColocadorDeControles& coloca);
    // The tab order and the default button.
    void ordenaElTeclado();
    void conectaEntradas();
    void alCargar();
    // Why the field refuses what it holds; empty when it takes it.
    QString revisaDato(int indice) const;
    bool validaDato(int indice);
    // Gives the field its display format when it holds a number; one it refuses is left as
    // typed, for the clerk to mend.
    void formatea(int indice);
    // The fields "Aplicar" reads, each as leaving it checks it: false, with the warning and the
    // focus in the first that refuses.
    bool revisaCampos();
    // The inputs by their values, as a run reads them.
    QStringList entradas() const;
    void alCambiarEntradas() override;
    void cmdAplicar_Click();
    // The grid and the buttons of a run that chose notes.
    void muestraResultado(const ResultadoDeTope& resultado);
    void limpiaResultados() override;
    void borraTablasDeTrabajo() override;
    // "&Imprimir", or the offer to go on with a stopped run.
    void imprime(bool continuar);
    void Command2_Click();
    void Command4_Click();
    void cmdResumen_Click();

    std::unique_ptr<ReimpresionConTope> logica_;
    std::unique_ptr<class ImpresionDeRemisiones> impresion_;
    QString archivoBandera_;
    // The chosen notes as "Aplicar" read them.
    VigenciaDeRemisiones vigencia_;
    int remisionesDeLaReja_ = 0;

    std::array<QLineEdit*, 2> mkeFecha;
    QLabel* Label7;
    // Indexed by control number; txtDato(0) and txtDato(1) are not built.
    std::array<QLineEdit*, 5> txtDato{};
    QPushButton* cmdAplicar;
    QTableWidget* mfgReja;
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command4;
    QPushButton* cmdVistaPrevia;
    BotonDeContinuar* cmdContinuar;
    QLabel* Label8;
    // The parameters of the run the results were made with, for the trail of its print.
    QString parametros_;
    // Why a field refuses what it holds.
    QLabel* lblAviso;
    QProgressBar* barImpresion;
    PanelDeElegidas* panelElegidas;
    // The run into one PDF file instead of the printer.
    QCheckBox* chkPdfUnico;
    std::unique_ptr<class UltimosDatos> ultimos_;
};
