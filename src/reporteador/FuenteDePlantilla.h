#pragma once

#include "reporteador/Plantilla.h"

#include <QString>
#include <QStringList>

// Reads the text source of a template: one statement per line, words separated by blanks,
// texts in double quotes, a line that starts with "#" is a comment. Throws ErrorDeReporte 20515
// naming the line of anything it does not understand. docs/plantillas.md is the manual.
//
//   plantilla fmtRemision
//   hoja carta                       (carta, oficio, a4, or ANCHOxALTO in mm)
//   margenes 12 10 12 10             (left, top, right, bottom, mm)
//   letra "Liberation Sans" 9
//   tabla M remisiones principal
//   tabla M remisionesdetalle detalle enlace Id=remisiones.Id orden Partida
//   tabla M clientes busca enlace Clave=remisiones.Cliente
//   tabla A Generales
//   formula NumeroDePaginas
//   formula TasasEnCero 0            (with the value it has when the program gives none)
//   partidas_por_hoja {configura.PartidasXhojaRem} fijo   (or a number; fijo is optional)
//   archivo "{remisiones.Serie}-{remisiones.Factura}"     (name of the PDF or PNG files)
//   banda encabezado_pagina 30       (also encabezado_documento, encabezado_detalle, detalle,
//                                     pie_documento, pie_pagina)
//   texto X Y ANCHO ALTO "Folio {remisiones.Factura}" tam 12 negrita alinea der
//         formato "#,0.00" fecha "dd/MM/yyyy" ajusta mayusculas color #333333
//         si {T.C} y no {@F} o {T.D}
//   linea X1 Y1 X2 Y2 grueso 0.3
//   caja X Y ANCHO ALTO grueso 0.2 relleno #eeeeee
//   imagen X Y ANCHO ALTO "logo.png" alinea centro estira
//   renglones X Y ANCHO ALTO de 1 a 10 si {Gravado.IVA#}
//     texto 0 0 40 4 "IVA {Gravado.IVAp#}%"   (placed from the row's top-left)
//   fin
class FuenteDePlantilla {
public:
    static Plantilla Lee(const QString& fuente);
    // The words of one line, quotes removed from texts. Throws ErrorDeReporte 20515 for a text
    // whose quotes are not closed.
    static QStringList Palabras(const QString& linea);
};
