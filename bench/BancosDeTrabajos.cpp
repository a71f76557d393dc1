#include "BancosDeTrabajos.h"

#include "Banco.h"
#include "Mediana.h"
#include "TiempoDeCpu.h"
#include "servicios/Proceso.h"
#include "trabajos/factura/FacturaDeRemisiones.h"
#include "trabajos/porcentaje/ReimpresionConPorcentaje.h"
#include "trabajos/tope/ReimpresionConTope.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <cstdio>
#include <vector>

namespace {

void informa(const char* nombre, const EnTurnos& m, const QString& extra = {}) {
    std::printf("%s: %.3f s   cota (INSERT … SELECT): %.3f s   razón: %.2f (mediana de %d rondas "
                "en turnos con la cota)%s\n",
                nombre, m.segundos, m.cota, m.razon, kRondas, qPrintable(extra));
}

// What a cap run leaves, in a few characters, so that a faster build can be checked against a
// slower one on the same store: the list file's digest and the server's checksums of the
// copies and of the host's lines, which the repairs change.
QString huellaDeTope(Conexion& cnn, const QString& lista) {
    QFile archivo(lista);
    archivo.open(QIODevice::ReadOnly);
    QString huella = QString::fromLatin1(
        QCryptographicHash::hash(archivo.readAll(), QCryptographicHash::Md5).toHex().left(12));
    QSqlQuery sumas = cnn.consulta(
        QStringLiteral("CHECKSUM TABLE tmpremisiones, tmpremisionesdetalle, remisionesdetalle"));
    while (sumas.next()) {
        huella += QLatin1Char(' ') + sumas.value(1).toString();
    }
    return huella;
}

} // namespace

int tope(const char* titulo, int dias, int notas, const std::function<double(double)>& parte) {
    QElapsedTimer carga;
    carga.start();
    Banco banco(dias, notas, 5);
    const double segundosDeCarga = carga.nsecsElapsed() / 1e9;
    QSqlQuery periodo = banco.cnn.consulta(
        QStringLiteral("SELECT SUM(Subtotal+IVA+ImpuestoAd), COUNT(*) FROM remisiones WHERE "
                       "Cancelada=0 AND Serie='A'"));
    periodo.next();
    const double total = periodo.value(0).toDouble();
    const double tope = total * parte(periodo.value(1).toDouble());
    banco.cnn.ejecuta(QStringLiteral("CREATE TABLE partidas LIKE remisionesdetalle"));
    banco.cnn.ejecuta(QStringLiteral(
        "INSERT INTO partidas SELECT * FROM remisionesdetalle WHERE (ImpuestoAd>0 AND "
        "(BaseImpuestoAd=0 OR ImporteImpuestoAd=0)) OR (IVA>0 AND (BaseIVA=0 OR ImporteIVA=0))"));
    const QString lista = banco.carpeta(QStringLiteral("ListaRemisiones.txt"));
    ReimpresionConTope trabajo(banco.cnn, lista);
    const QDate desde(2026, 11, 1);
    ResultadoDeTope r;
    qint64 sentencias = 0;
    const TiempoDeCpu cpu(banco.cnn);
    std::vector<double> cliente;
    std::vector<double> servidor;
    const EnTurnos medida = enTurnos(
        [&banco] {
            banco.cnn.ejecuta(QStringLiteral(
                "UPDATE remisionesdetalle d JOIN partidas p ON p.Id=d.Id AND p.Partida=d.Partida "
                "SET d.BaseImpuestoAd=p.BaseImpuestoAd, d.ImporteImpuestoAd=p.ImporteImpuestoAd, "
                "d.BaseIVA=p.BaseIVA, d.ImporteIVA=p.ImporteIVA"));
        },
        [&] {
            const qint64 antes = banco.sentencias();
            const double clienteAntes = cpu.cliente();
            const double servidorAntes = cpu.servidor();
            r = trabajo.Aplica(desde, desde.addDays(dias - 1), QStringLiteral("A"),
                               Importe::DeDouble(tope), 1);
            cliente.push_back(cpu.cliente() - clienteAntes);
            servidor.push_back(cpu.servidor() - servidorAntes);
            sentencias = banco.sentencias() - antes;
        },
        [&banco] { return banco.cota(QStringLiteral("Id IN (SELECT Id FROM tmpremisiones)")); });
    const QString huella = huellaDeTope(banco.cnn, lista);
    informa(titulo, medida,
            QStringLiteral("\n  %1 remisiones elegidas, %2 sentencias (%3 por día); carga de la "
                           "tienda %4 s\n  procesador: programa %6 s, servidor %7 s\n  huella "
                           "del resultado: %5")
                .arg(r.remisiones)
                .arg(sentencias)
                .arg(static_cast<double>(sentencias) / r.dias.size(), 0, 'f', 1)
                .arg(segundosDeCarga, 0, 'f', 1)
                .arg(huella)
                .arg(medianaDe(cliente), 0, 'f', 3)
                .arg(medianaDe(servidor), 0, 'f', 3));
    return 0;
}

int porcentaje() {
    Banco banco(14, 1000, 5);
    ReimpresionConPorcentaje trabajo(banco.cnn);
    ResumenDePorcentaje r;
    const EnTurnos medida = enTurnos(
        [] {},
        [&] { r = trabajo.Comprueba(1, 100000, QStringLiteral("A"), Decimal::DeDouble(15)); },
        [&banco] { return banco.cota(QStringLiteral("Cancelada=0 AND Serie='A'")); });
    informa("porcentaje (Comprobar)", medida,
            QStringLiteral("\n  %1 remisiones").arg(r.remisiones));
    return 0;
}

int factura() {
    Banco banco(11, 1000, 5);
    banco.cnn.ejecuta(QStringLiteral("CREATE DATABASE IF NOT EXISTS banco_resguardo"));
    banco.cnn.ejecuta(QStringLiteral(
        "DROP TABLE IF EXISTS banco_resguardo.remisiones, banco_resguardo.remisionesdetalle"));
    banco.cnn.ejecuta(QStringLiteral("CREATE TABLE banco_resguardo.remisiones LIKE remisiones"));
    banco.cnn.ejecuta(
        QStringLiteral("CREATE TABLE banco_resguardo.remisionesdetalle LIKE remisionesdetalle"));
    Conexion principal;
    Conexion temporal;
    Proceso::actual().bases->AbrirBdD(principal);
    FacturaDeRemisiones trabajo(principal, temporal);
    trabajo.TomaLaBaseTemporal();
    trabajo.PreparaBaseTemporal();
    // The bound copies the notes the job copied, read the way the job reads them: once invoiced
    // they are cancelled, and the only ones invoiced (each round starts from none).
    const QString condicion = QStringLiteral(
        "Fecha>='2026-11-01' AND Fecha<='2026-11-11' AND Afectada=1 AND Facturada>0");
    TotalesDeFactura t;
    double aplicar = 0;
    const EnTurnos medida = enTurnos(
        [&banco] {
            for (const char* sentencia :
                 {"UPDATE remisiones SET Cancelada=0, Facturada=0, MotivoCancelacion='' WHERE "
                  "Facturada>0",
                  "DELETE FROM facturas", "DELETE FROM facturasdetalle",
                  "UPDATE sistema SET Contenido='1000' WHERE Dato='FA-F'",
                  "TRUNCATE TABLE banco_resguardo.remisiones",
                  "TRUNCATE TABLE banco_resguardo.remisionesdetalle"}) {
                banco.cnn.ejecuta(QString::fromLatin1(sentencia));
            }
        },
        [&] {
            QElapsedTimer reloj;
            reloj.start();
            t = trabajo.AplicaPorcentaje({QDate(2026, 11, 1), QDate(2026, 11, 11), {}, {}, {}, 10});
            aplicar = reloj.nsecsElapsed() / 1e9;
            DatosDeFactura d;
            d.serie = QStringLiteral("F");
            d.cliente = QStringLiteral("C001");
            d.fecha = QDate(2026, 11, 30);
            d.folioPropuesto = 1001;
            d.subtotal = t.subtotalDespues;
            d.iva = t.ivaDespues;
            d.ieps = t.iepsDespues;
            trabajo.GeneraFactura(d, QStringLiteral("banco_resguardo"));
        },
        [&] { return banco.cota(condicion); });
    trabajo.BorraBaseTemporal();
    trabajo.SueltaLaBaseTemporal();
    banco.cnn.ejecuta(QStringLiteral("DROP DATABASE banco_resguardo"));
    informa("factura (Aplicar + Generar factura)", medida,
            QStringLiteral("\n  %1 remisiones, %2 partidas; Aplicar %3 s (última vez)")
                .arg(t.remisiones)
                .arg(t.partidas)
                .arg(aplicar, 0, 'f', 3));
    return 0;
}
