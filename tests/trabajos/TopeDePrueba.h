#pragma once

#include "apoyo/BaseDePrueba.h"
#include "apoyo/CarpetaDePrueba.h"
#include "apoyo/NotasDePrueba.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

inline const QDate kDia1(2026, 11, 2);
inline const QDate kDia2(2026, 11, 3);
inline const QDate kDia3(2026, 11, 4);

// The cap job on a test store of its own, with its list file in a program folder of its own.

class Tope : public ::testing::Test {
protected:
    CarpetaDePrueba carpeta;
    BaseDePrueba base;
    QString lista = carpeta.ruta(QStringLiteral("programa/ListaRemisiones.txt"));
    ReimpresionConTope trabajo{base.conexion(), lista};

    ResultadoDeTope aplica(double tope, qint64 folio = 1500,
                           const QString& serie = QStringLiteral("A"), QDate desde = kDia1,
                           QDate hasta = kDia3) {
        return trabajo.Aplica(desde, hasta, serie, Importe::DeDouble(tope), folio);
    }
    QList<int> foliosCopiados() {
        QList<int> folios;
        QSqlQuery q = base.conexion().consulta(
            QStringLiteral("SELECT Factura FROM tmpremisiones ORDER BY Id"));
        while (q.next()) {
            folios << q.value(0).toInt();
        }
        return folios;
    }
    QList<int> idsCopiados() {
        QList<int> ids;
        QSqlQuery q =
            base.conexion().consulta(QStringLiteral("SELECT Id FROM tmpremisiones ORDER BY Id"));
        while (q.next()) {
            ids << q.value(0).toInt();
        }
        return ids;
    }
    QString detalle(int id, int partida, const char* campo) {
        return base
            .valor(QStringLiteral("SELECT %1 FROM remisionesdetalle WHERE Id=%2 AND Partida=%3")
                       .arg(QString::fromLatin1(campo))
                       .arg(id)
                       .arg(partida))
            .toString();
    }
};
