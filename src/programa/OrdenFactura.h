#pragma once

#include "OrdenDeConsola.h"

class FacturaDeRemisiones;
struct TotalesDeFactura;

// deremisiones factura --desde --hasta --porcentaje --serie-factura --cliente [...] [--generar]:
// the invoice job's "Aplicar" without a window, its eight totals, and with --generar the invoice;
// --exportar writes its lines and notes as a spreadsheet.
class OrdenFactura : public OrdenDeConsola {
protected:
    QString sinopsis() const override;
    QString descripcion() const override;
    QList<QCommandLineOption> opciones() const override;
    int ejecuta(const QCommandLineParser& opciones) override;

private:
    // The eight totals and, when rounding made it another, the reduction they come to.
    void escribeTotales(const TotalesDeFactura& t, double porcentaje);
    // The invoice made, as "B126".
    QString genera(FacturaDeRemisiones& trabajo, const QString& resguardo, const QDate& fecha,
                   const TotalesDeFactura& t, const QCommandLineParser& opciones);
};
