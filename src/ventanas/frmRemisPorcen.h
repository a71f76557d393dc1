#pragma once

#include "interfaz/VentanaDeReimpresion.h"
#include "interfaz/VentanaDeTrabajo.h"
#include "orvlib/Conexion.h"
#include "trabajos/VigenciaDeRemisiones.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"

#include <array>
#include <memory>

class BotonDeContinuar;
class BotonDeExportar;
class ColocadorDeControles;
class ImpresionDeRemisiones;
class ReimpresionConPorcentaje;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// "Reimpresión de remisiones (%)": a folio range and a percentage in, the range's copies reduced
// by the percentage in the working tables, their real and new totals shown, and their print.
class frmRemisPorcen : public VentanaDeReimpresion {
    Q_OBJECT
public:
    explicit frmRemisPorcen(QWidget* parent = nullptr);
    ~frmRemisPorcen() override;

    static QString Titulo() { return QStringLiteral("Reimpresión de remisiones (%)"); }
    static QString AvisoDeFolio();

protected:
    void alActivarPorPrimeraVez() override;

private:
    // The fields with their labels, whose last values are kept, the buttons that use them, the
    // tab order and the default button.
    void creaControles();
    // The warning line, what "&Comprobar" found, the run's progress and the buttons of its
    // copies.
    void creaResultados(const ColocadorDeControles& coloca);
    void conectaEntradas();
    void alCargar();
    // Why the field refuses what it holds; empty when it takes it.
    QString revisaDato(int indice) const;
    void formatea(int indice);
    bool validaDato(int indice);
    // The inputs by their values, as "&Comprobar" reads them.
    QStringList entradas() const;
    void alCambiarEntradas() override;
    void limpiaResultados() override;
    void borraTablasDeTrabajo() override;
    // The percentage typed, refused (Rechazo) unless above 0 and below 100.
    Decimal porcentajeEscrito();
    void Command2_Click();
    // What "&Comprobar" found, and the buttons that use it.
    void muestraResumen(const ResumenDePorcentaje& resumen);
    // "&Imprimir", or the offer to go on with a stopped run.
    void imprime(bool continuar);
    void cmdResumen_Click();
    void exporta();

    std::unique_ptr<ReimpresionConPorcentaje> logica_;
    std::unique_ptr<ImpresionDeRemisiones> impresion_;
    // The range's notes as "&Comprobar" read them.
    VigenciaDeRemisiones vigencia_;

    // Indexed by control number; Label(4), Label(5) and txtDato(3) are not built.
    std::array<QLabel*, 9> Label{};
    std::array<QLineEdit*, 5> txtDato{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QProgressBar* barImpresion = nullptr;
    // Why a field refuses what it holds.
    QLabel* lblAviso = nullptr;
    // How many notes "&Comprobar" found, and the run's summary on paper.
    QLabel* lblEncontradas = nullptr;
    QPushButton* cmdResumen = nullptr;
    QPushButton* cmdVistaPrevia = nullptr;
    // The range's notes, real and reduced, as a spreadsheet.
    BotonDeExportar* cmdExportar = nullptr;
    BotonDeContinuar* cmdContinuar = nullptr;
    // The run into one PDF file instead of the printer.
    class QCheckBox* chkPdfUnico = nullptr;
    ResumenDePorcentaje resumen_;
    QString parametros_;
    std::unique_ptr<class UltimosDatos> ultimos_;
};
