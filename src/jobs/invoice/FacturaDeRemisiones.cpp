#include "jobs/invoice/FacturaDeRemisiones.h"

#include "hostdata/LargosDeColumnas.h"
#include "hostdata/LimitesDeImporte.h"
#include "hostdata/Proceso.h"
#include "hostdata/Rechazo.h"
#include "hostdata/TablasDeTrabajo.h"
#include "jobs/invoice/RastrosDeFactura.h"
#include "orvlib/AlSalir.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"
#include "orvlib/libKwtm.h"
#include "printing/DesgloseDeImpuestos.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

// A text for a NOT NULL column: an absent text is stored empty, never as NULL.
QString texto(const QString& t) {
    return t.isNull() ? QStringLiteral("") : t;
}

} // namespace

FacturaDeRemisiones::FacturaDeRemisiones(Conexion& cnnPrincipal, Conexion& cnnTemporal)
    : principal_(cnnPrincipal)
    , temporal_(cnnTemporal) {}

QString FacturaDeRemisiones::ClaveMetodoPago(const QString& texto) {
    return texto.mid(2, 3) == QLatin1String(" - ") ? texto.left(2) : texto;
}

QString FacturaDeRemisiones::TextoDePorcentaje(float porcentaje) {
    for (int digitos = 1; digitos <= 9; ++digitos) {
        const QString texto = QString::number(static_cast<double>(porcentaje), 'g', digitos);
        if (!texto.contains(QLatin1Char('e')) && texto.toFloat() == porcentaje) {
            return texto;
        }
    }
    return QString::number(static_cast<double>(porcentaje), 'f', 9);
}

bool FacturaDeRemisiones::TomaLaBaseTemporal() {
    return candado_.Toma();
}

QString FacturaDeRemisiones::QuienTieneLaBaseTemporal() const {
    return candado_.QuienLoTiene();
}

void FacturaDeRemisiones::VerificaLaBaseTemporal() {
    if (!candado_.EsPropio()) {
        throw Rechazo(QStringLiteral("Esta ventana ya no tiene reservada la base de trabajo "
                                     "(la conexión con el servidor se perdió). Ciérrela y ábrala "
                                     "de nuevo."));
    }
}

void FacturaDeRemisiones::SueltaLaBaseTemporal() {
    candado_.Suelta();
}

void FacturaDeRemisiones::PreparaBaseTemporal() {
    principal_.ejecuta(QStringLiteral("Drop database if exists ") + BaseTemporal());
    principal_.ejecuta(QStringLiteral("Create database if not exists ") + BaseTemporal());
    if (!Proceso::actual().bases->AbrirBdD(temporal_, BaseTemporal())) {
        throw ErrorOrvlib(temporal_.ultimoNumero(), temporal_.ultimoError(), BaseTemporal());
    }
    // Copies of the host tables' structure made by the server, columns in the host's order.
    for (const char* tabla : {"remisiones", "remisionesdetalle"}) {
        principal_.ejecuta(QStringLiteral("Create table %1.%2 like %2")
                               .arg(BaseTemporal(), QString::fromLatin1(tabla)));
    }
}

void FacturaDeRemisiones::BorraBaseTemporal() {
    principal_.ejecuta(QStringLiteral("Drop database if exists ") + BaseTemporal());
}

void FacturaDeRemisiones::ValidaEntrada(const QDate& desde, const QDate& hasta, float porcentaje) {
    if (!desde.isValid() || !hasta.isValid()) {
        throw Rechazo(QStringLiteral("Indique las dos fechas de búsqueda (DD/MM/AAAA)."));
    }
    if (desde > hasta) {
        throw Rechazo(QStringLiteral("La fecha inicial de búsqueda es posterior a la final."));
    }
    if (!(porcentaje >= 0 && porcentaje <= 100)) {
        throw Rechazo(QStringLiteral("El porcentaje a reducir debe estar entre 0 y 100."));
    }
}

QString FacturaDeRemisiones::Parametros(const QDate& desde, const QDate& hasta,
                                        const QString& serie, const QString& cliente,
                                        const QString& nombre, float porcentaje) {
    return QStringLiteral("del %1 al %2, serie '%3', cliente '%4', nombre '%5', porcentaje %6")
        .arg(libKwtm::TextoDeFecha(desde), libKwtm::TextoDeFecha(hasta), serie.trimmed(),
             cliente.trimmed(), nombre.trimmed(), TextoDePorcentaje(porcentaje));
}

QString FacturaDeRemisiones::Parametros(const DatosDeFactura& datos) {
    return QStringLiteral("serie '%1', cliente '%2', fecha %3, folio propuesto %4, total %5")
        .arg(datos.serie, datos.cliente, libKwtm::TextoDeFecha(datos.fecha))
        .arg(datos.folioPropuesto)
        .arg(Formato::Numero((datos.subtotal + datos.iva + datos.ieps).ADouble(),
                             QStringLiteral("#,0.00")));
}

QString FacturaDeRemisiones::Resumen(const TotalesDeFactura& t) {
    return QStringLiteral("%1 remisiones, %2 partidas copiadas; total %3, reducido %4")
        .arg(t.remisiones)
        .arg(t.partidas)
        .arg(Formato::Numero(t.totalAntes().ADouble(), QStringLiteral("#,0.00")),
             Formato::Numero(t.totalDespues().ADouble(), QStringLiteral("#,0.00")));
}

TotalesDeFactura FacturaDeRemisiones::AplicaPorcentaje(const QDate& desde, const QDate& hasta,
                                                       const QString& serie, const QString& cliente,
                                                       const QString& nombre, float porcentaje,
                                                       const std::function<void()>& alAvanzar) {
    ValidaEntrada(desde, hasta, porcentaje);
    VerificaLaBaseTemporal();
    QString condicion = QStringLiteral("remisiones where Fecha>='") + libKwtm::FechaSQL(desde) +
                        QStringLiteral("' and Fecha<='") + libKwtm::FechaSQL(hasta) +
                        QStringLiteral("' and Cancelada=0 and Afectada=1 and Facturada=0");
    if (!serie.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Serie=") + Sentencias::Texto(serie.trimmed());
    }
    if (!cliente.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Cliente=") + Sentencias::Texto(cliente.trimmed());
    }
    if (!nombre.trimmed().isEmpty()) {
        condicion += QStringLiteral(" and Nombre like '%") + Sentencias::Patron(nombre.trimmed()) +
                     QStringLiteral("%'") + Sentencias::EscapeDePatron();
    }
    LimitesDeImporte::Revisa(principal_, condicion);
    temporal_.ejecuta(QStringLiteral("Truncate table remisiones"));
    temporal_.ejecuta(QStringLiteral("Truncate table remisionesdetalle"));
    const QString temporal = BaseTemporal();
    principal_.ejecuta(QStringLiteral("Insert into ") + temporal +
                       QStringLiteral(".remisiones SELECT * from ") + condicion +
                       QStringLiteral(" order by Fecha"));
    if (alAvanzar) {
        alAvanzar();
    }
    // The lines of exactly the notes copied, in one statement that also reduces them: quantities
    // rounded to whole numbers, a quantity that reaches 0 kept at 1.
    const QString reducida = QStringLiteral("Round(d.Cantidad - d.Cantidad * ") +
                             TextoDePorcentaje(porcentaje) + QStringLiteral("/100)");
    principal_.ejecuta(
        QStringLiteral("Insert into %1.remisionesdetalle SELECT %2 from remisionesdetalle d "
                       "join %1.remisiones t on t.Id=d.Id")
            .arg(temporal, TablasDeTrabajo::Columnas(
                               principal_, QStringLiteral("remisionesdetalle"), QStringLiteral("d"),
                               {{QStringLiteral("cantidad"),
                                 QStringLiteral("IF(%1=0, 1, %1)").arg(reducida)}})));

    TotalesDeFactura t;
    QSqlQuery antes = temporal_.consulta(
        QStringLiteral("SELECT COUNT(*), IFNULL(SUM(Subtotal),0), IFNULL(SUM(IVA),0), "
                       "IFNULL(SUM(ImpuestoAd),0), (SELECT COUNT(*) FROM remisionesdetalle) FROM "
                       "remisiones"));
    antes.next();
    t.remisiones = antes.value(0).toInt();
    t.subtotalAntes = Importe::DeVariant(antes.value(1));
    t.ivaAntes = Importe::DeVariant(antes.value(2));
    t.iepsAntes = Importe::DeVariant(antes.value(3));
    t.partidas = antes.value(4).toInt();
    // The figures after the reduction are those the invoice's lines will carry.
    const PartidasDeFactura::Sumas despues = PartidasDeFactura::Suma(partidasDeLaFactura());
    t.subtotalDespues = despues.subtotal;
    t.ivaDespues = despues.iva;
    t.iepsDespues = despues.ieps;
    return t;
}

QVector<PartidaDeFactura> FacturaDeRemisiones::partidasDeLaFactura() {
    return PartidasDeFactura::Lee(principal_, BaseTemporal(), ReglasDeImpuestos(principal_));
}

void FacturaDeRemisiones::verificaAntesDeFacturar(const DatosDeFactura& datos,
                                                  const QString& baseResguardo,
                                                  const QVector<PartidaDeFactura>& partidas) {
    const QString tablasDeResguardo = principal_.valor(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME IN ('remisiones','remisionesdetalle')"),
        {baseResguardo});
    if (tablasDeResguardo != QLatin1String("2")) {
        throw Rechazo(
            QStringLiteral("La base de datos de resguardo '%1' no tiene las tablas remisiones y "
                           "remisionesdetalle. No se cambió nada.")
                .arg(baseResguardo));
    }
    if (partidas.isEmpty()) {
        throw Rechazo(QStringLiteral("No hay remisiones aplicadas que facturar: use "
                                     "\"Aplicar\" con otra selección."));
    }
    verificaCantidades(partidas);
    verificaTotales(datos, PartidasDeFactura::Suma(partidas));
    if (principal_
            .valor(QStringLiteral("SELECT COUNT(*) FROM clientes WHERE Clave=?"), {datos.cliente})
            .toInt() == 0) {
        throw Rechazo(QStringLiteral("El cliente '%1' no existe.").arg(datos.cliente));
    }
}

void FacturaDeRemisiones::verificaCantidades(const QVector<PartidaDeFactura>& partidas) {
    // Returns in the period can leave a product with nothing to invoice: a line without
    // quantity has no unit price, and the host takes no such line.
    QStringList productos;
    for (const PartidaDeFactura& p : partidas) {
        if (p.cantidad <= Importe()) {
            productos << QStringLiteral("'%1' (%2)")
                             .arg(p.producto, Formato::Numero(p.cantidad.ADouble(),
                                                              QStringLiteral("#,0.####")));
        }
    }
    if (!productos.isEmpty()) {
        throw Rechazo(
            QStringLiteral("Con las devoluciones del período, estos productos suman una cantidad "
                           "de cero o menos y no pueden ir en la factura: %1. Quite de la "
                           "selección las remisiones que los llevan y use \"Aplicar\" de nuevo. "
                           "No se cambió nada.")
                .arg(productos.join(QStringLiteral(", "))));
    }
}

void FacturaDeRemisiones::verificaTotales(const DatosDeFactura& datos,
                                          const PartidasDeFactura::Sumas& sumas) {
    // The invoice carries what the window showed, or nothing.
    if (datos.subtotal != sumas.subtotal || datos.iva != sumas.iva || datos.ieps != sumas.ieps) {
        throw Rechazo(QStringLiteral(
            "Los importes mostrados ya no corresponden a las remisiones aplicadas; use "
            "\"Aplicar\" de nuevo. No se cambió nada."));
    }
}

QStringList FacturaDeRemisiones::TablasSinTransaccion(const QString& baseResguardo) {
    QSqlQuery q = principal_.consulta(
        QStringLiteral(
            "SELECT TABLE_SCHEMA, TABLE_NAME, ENGINE FROM information_schema.TABLES WHERE "
            "(TABLE_SCHEMA=DATABASE() AND TABLE_NAME IN ('sistema','facturas','facturasdetalle',"
            "'remisiones')) OR (TABLE_SCHEMA=? AND TABLE_NAME IN ('remisiones',"
            "'remisionesdetalle')) ORDER BY TABLE_SCHEMA, TABLE_NAME"),
        {baseResguardo});
    static const QStringList kConTransacciones = {
        QStringLiteral("innodb"),  QStringLiteral("xtradb"),     QStringLiteral("tokudb"),
        QStringLiteral("rocksdb"), QStringLiteral("ndbcluster"), QStringLiteral("ndb")};
    QStringList tablas;
    while (q.next()) {
        if (!kConTransacciones.contains(q.value(2).toString().toLower())) {
            tablas << QStringLiteral("%1.%2 (%3)")
                          .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
        }
    }
    return tablas;
}

qint32 FacturaDeRemisiones::tomaFolio(const DatosDeFactura& datos) {
    const QString clave = QStringLiteral("FA-") + datos.serie;
    // The series counter row is locked until the invoice is committed, so a second invoice of
    // the series waits here and then finds the folio this one took.
    principal_.consulta(QStringLiteral("SELECT Contenido FROM sistema WHERE Dato=? FOR UPDATE"),
                        {clave});
    qint32 folio = datos.folioPropuesto;
    while (principal_
               .valor(QStringLiteral("SELECT COUNT(*) FROM facturas WHERE Serie=? AND Factura=?"),
                      {datos.serie, folio})
               .toInt() > 0) {
        ++folio;
    }
    principal_.consulta(QStringLiteral("Update sistema set Contenido=? where Dato=?"),
                        {QString::number(folio), clave});
    anota(QStringLiteral("el contador %1 de la tabla sistema quedó en %2").arg(clave).arg(folio),
          principal(QStringLiteral("sistema")));
    return folio;
}

std::pair<QStringList, QVariantList> FacturaDeRemisiones::encabezado(const DatosDeFactura& datos,
                                                                     qint32 folio) {
    QStringList columnas = {QStringLiteral("Factura"), QStringLiteral("Serie"),
                            QStringLiteral("Cliente"), QStringLiteral("Fecha"),
                            QStringLiteral("Hora"),    QStringLiteral("Vence")};
    QVariantList valores = {folio,
                            texto(datos.serie),
                            texto(datos.cliente),
                            datos.fecha,
                            reloj_().toString(QStringLiteral("hh:mm:ss")),
                            datos.fecha};
    QSqlQuery cliente = principal_.consulta(
        QStringLiteral(
            "SELECT Nombre, Telefono1, Calle, CP, Colonia, Ciudad, Estado, RFC, NumExterior, "
            "NumInterior, ReferenciaDomic, Localidad, Pais FROM clientes WHERE Clave=?"),
        {datos.cliente});
    if (cliente.next()) {
        const QStringList deCliente = {QStringLiteral("Nombre"),
                                       QStringLiteral("Telefono"),
                                       QStringLiteral("Calle"),
                                       QStringLiteral("CP"),
                                       QStringLiteral("Colonia"),
                                       QStringLiteral("Ciudad"),
                                       QStringLiteral("Estado"),
                                       QStringLiteral("RFC"),
                                       QStringLiteral("NumExterior"),
                                       QStringLiteral("NumInterior"),
                                       QStringLiteral("ReferenciaDomic"),
                                       QStringLiteral("Localidad"),
                                       QStringLiteral("Pais")};
        for (int i = 0; i < deCliente.size(); ++i) {
            columnas << deCliente[i];
            valores << cliente.value(i);
        }
        columnas << QStringLiteral("LugarExpedicion");
        const QString lugar =
            principal_.valor(QStringLiteral("SELECT Localidad2 FROM generales LIMIT 1"));
        valores << texto(lugar);
    }
    columnas << QStringLiteral("Subtotal") << QStringLiteral("IVA") << QStringLiteral("Usuario")
             << QStringLiteral("MetodoDePago") << QStringLiteral("ImpuestoAd")
             << QStringLiteral("Descuento") << QStringLiteral("ModoCreacion");
    valores << datos.subtotal.TextoSql() << datos.iva.TextoSql() << QStringLiteral("")
            << texto(datos.metodoDePago) << datos.ieps.TextoSql() << QStringLiteral("0") << 16;
    return {columnas, valores};
}

qint64 FacturaDeRemisiones::agregaEncabezado(const DatosDeFactura& datos, qint32 folio) {
    const auto [columnas, valores] = encabezado(datos, folio);
    principal_.consulta(
        QStringLiteral("INSERT INTO facturas (%1) VALUES (%2)")
            .arg(columnas.join(QLatin1Char(',')),
                 QStringList(columnas.size(), QStringLiteral("?")).join(QLatin1Char(','))),
        valores);
    const qint64 id = principal_.valor(QStringLiteral("SELECT LAST_INSERT_ID()")).toLongLong();
    anota(QStringLiteral("el encabezado de la factura %1%2 (Id %3) en facturas")
              .arg(datos.serie)
              .arg(folio)
              .arg(id),
          principal(QStringLiteral("facturas")));
    return id;
}

void FacturaDeRemisiones::agregaPartidas(qint64 idFactura,
                                         const QVector<PartidaDeFactura>& lineas) {
    QVector<QVariantList> partidas;
    qint16 partida = 0;
    for (const PartidaDeFactura& p : lineas) {
        partidas.append({idFactura, ++partida, p.descripcion, p.cantidad.TextoSql(),
                         p.precio.TextoSql(), p.precio.TextoSql(), p.tasaIva.TextoSql(), p.producto,
                         p.tasaImpAd.TextoSql(), 1});
    }
    // One note of the lines written, also when one of them fails.
    qsizetype escritas = 0;
    const AlSalir anotaPartidas([&] {
        if (escritas > 0) {
            anota(QStringLiteral("%1 de las %2 partidas de la factura (Id %3) en facturasdetalle")
                      .arg(escritas)
                      .arg(partidas.size())
                      .arg(idFactura),
                  principal(QStringLiteral("facturasdetalle")));
        }
    });
    for (const QVariantList& valores : partidas) {
        principal_.consulta(
            QStringLiteral("INSERT INTO facturasdetalle (Id, Partida, Descripcion, Cantidad, "
                           "PrecioNeto, PrecioBruto, IVA, Producto, ImpuestoAd, NumeroDePrecio) "
                           "VALUES (?,?,?,?,?,?,?,?,?,?)"),
            valores);
        ++escritas;
    }
}

void FacturaDeRemisiones::reemplazaCopiasAnteriores(const QString& resguardo,
                                                    const QString& temporal) {
    // A note re-opened after its invoice was cancelled already has a copy under its Id, the
    // archive's key: the new copy replaces it, which needs DELETE on the archive. Where the
    // archive takes no transactions the check before the invoice refuses such a note instead.
    const QString desde = QStringLiteral("%1.%3 a JOIN %2.remisiones t ON t.Id=a.Id");
    if (principal_
            .valor(QStringLiteral("SELECT COUNT(*) FROM ") +
                   desde.arg(resguardo, temporal, QStringLiteral("remisiones")))
            .toInt() == 0) {
        return;
    }
    for (const char* tabla : {"remisionesdetalle", "remisiones"}) {
        principal_.ejecuta(QStringLiteral("DELETE a FROM ") +
                           desde.arg(resguardo, temporal, QLatin1String(tabla)));
    }
}

void FacturaDeRemisiones::cancelaYResguarda(const DatosDeFactura& datos, qint32 folio,
                                            qint64 idFactura, const QString& baseResguardo) {
    const QString resguardo = Sentencias::Nombre(baseResguardo);
    const QString temporal = BaseTemporal();
    reemplazaCopiasAnteriores(resguardo, temporal);
    principal_.ejecuta(QStringLiteral("Insert into %1.remisiones SELECT * FROM %2.remisiones")
                           .arg(resguardo, temporal));
    anota(QStringLiteral("las copias reducidas de las remisiones en %1.remisiones")
              .arg(baseResguardo),
          baseResguardo + QStringLiteral(".remisiones"));
    principal_.ejecuta(
        QStringLiteral("Insert into %1.remisionesdetalle SELECT * FROM %2.remisionesdetalle")
            .arg(resguardo, temporal));
    anota(QStringLiteral("sus partidas en %1.remisionesdetalle").arg(baseResguardo),
          baseResguardo + QStringLiteral(".remisionesdetalle"));
    const int notas = principal_
                          .valor(QStringLiteral("SELECT COUNT(*) FROM ") + temporal +
                                 QStringLiteral(".remisiones"))
                          .toInt();
    QSqlQuery cancela = principal_.consulta(
        QStringLiteral("Update remisiones r join %1.remisiones t on t.Id=r.Id set r.Cancelada=1, "
                       "r.Facturada=?, "
                       "r.MotivoCancelacion=? where r.Cancelada=0 and r.Facturada=0")
            .arg(temporal),
        {idFactura,
         QStringLiteral("REMISION TOMADA EN LA FACTURA ") + datos.serie + QString::number(folio)});
    anota(QStringLiteral("%1 remisiones marcadas como canceladas y facturadas en remisiones")
              .arg(cancela.numRowsAffected()),
          principal(QStringLiteral("remisiones")));
    if (cancela.numRowsAffected() != notas) {
        throw ErrorOrvlib(
            5,
            QStringLiteral("Alguna de las remisiones ya fue cancelada o facturada desde que se "
                           "aplicó la selección; use \"Aplicar\" de nuevo."),
            temporal);
    }
}

FacturaCreada
FacturaDeRemisiones::GeneraFactura(const DatosDeFactura& datos, const QString& baseResguardo,
                                   const std::function<void(int, qint32)>& alAvanzar) {
    quedoEscrito_ = false;
    VerificaLaBaseTemporal();
    const QVector<PartidaDeFactura> partidas = partidasDeLaFactura();
    verificaAntesDeFacturar(datos, baseResguardo, partidas);
    const QStringList sinTransaccion = TablasSinTransaccion(baseResguardo);
    base_ = principal_.valor(QStringLiteral("SELECT DATABASE()"));
    const QString rastros = RastrosDeOtraFactura(baseResguardo, true);
    if (!rastros.isEmpty()) {
        throw Rechazo(rastros);
    }
    verificaLargos(datos);
    escrito_.clear();
    FacturaCreada creada{datos.serie, 0, 0};
    const auto avanza = [&alAvanzar, &creada](int paso) {
        if (alAvanzar) {
            alAvanzar(paso, creada.folio);
        }
    };
    if (!principal_.bd().transaction()) {
        throw ErrorOrvlib(-1, QStringLiteral("No se pudo iniciar la transacción"),
                          QStringLiteral("START TRANSACTION"));
    }
    try {
        creada.folio = tomaFolio(datos);
        avanza(1);
        creada.id = agregaEncabezado(datos, creada.folio);
        avanza(2);
        agregaPartidas(creada.id, partidas);
        avanza(3);
        cancelaYResguarda(datos, creada.folio, creada.id, baseResguardo);
        avanza(4);
        if (!principal_.bd().commit()) {
            throw ErrorOrvlib(-1, QStringLiteral("No se pudo confirmar la transacción"),
                              QStringLiteral("COMMIT"));
        }
        escrito_.clear();
        return creada;
    } catch (const ErrorOrvlib& e) {
        principal_.bd().rollback();
        throw ErrorOrvlib(e.numero(), queQuedo(sinTransaccion) + e.descripcion(), e.contexto());
    }
}

QString FacturaDeRemisiones::RastrosDeOtraFactura(const QString& baseResguardo,
                                                  bool deLaSeleccion) {
    const QString hay = principal_.valor(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA=? AND "
                       "TABLE_NAME='remisiones'"),
        {baseResguardo});
    if (hay.toInt() == 0) {
        return {};
    }
    base_ = principal_.valor(QStringLiteral("SELECT DATABASE()"));
    // Where the tables take transactions a stopped invoice leaves nothing behind: no header,
    // and no archive copy of a note still open (such a copy is then a note re-opened since its
    // invoice was cancelled, invoiced again normally).
    const QStringList sinTransaccion = TablasSinTransaccion(baseResguardo);
    const auto alguna = [&sinTransaccion](const QStringList& tablas) {
        return std::any_of(sinTransaccion.begin(), sinTransaccion.end(), [&](const QString& t) {
            return std::any_of(tablas.begin(), tablas.end(), [&t](const QString& tabla) {
                return t.startsWith(tabla + QLatin1Char(' '), Qt::CaseInsensitive);
            });
        });
    };
    const bool encabezados = alguna(
        {principal(QStringLiteral("facturas")), principal(QStringLiteral("facturasdetalle"))});
    const bool notas = alguna({baseResguardo + QStringLiteral(".remisiones"),
                               baseResguardo + QStringLiteral(".remisionesdetalle")});
    if (!notas && !encabezados) {
        return {};
    }
    RastrosDeFactura rastros(principal_, baseResguardo,
                             deLaSeleccion ? BaseTemporal() + QStringLiteral(".remisiones")
                                           : QString());
    rastros.Busca(notas, encabezados);
    return rastros.Texto();
}

void FacturaDeRemisiones::verificaLargos(const DatosDeFactura& datos) {
    const auto [columnas, valores] = encabezado(datos, datos.folioPropuesto);
    LargosDeColumnas(principal_, QStringLiteral("facturas")).Verifica(columnas, valores);
    const LargosDeColumnas partidas(principal_, QStringLiteral("facturasdetalle"));
    for (const QString& columna : {QStringLiteral("Descripcion"), QStringLiteral("Producto")}) {
        const QString nombre = Sentencias::Nombre(columna);
        partidas.Verifica(columna,
                          principal_.valor(QStringLiteral("SELECT %1 FROM %2.remisionesdetalle "
                                                          "ORDER BY CHAR_LENGTH(%1) DESC LIMIT 1")
                                               .arg(nombre, BaseTemporal())));
    }
    LargosDeColumnas(principal_, QStringLiteral("remisiones"))
        .Verifica(QStringLiteral("MotivoCancelacion"),
                  QStringLiteral("REMISION TOMADA EN LA FACTURA ") + datos.serie +
                      QString::number(datos.folioPropuesto));
}

QString FacturaDeRemisiones::principal(const QString& tabla) const {
    return base_ + QLatin1Char('.') + tabla;
}

void FacturaDeRemisiones::anota(const QString& que, const QString& tabla) {
    escrito_.emplace_back(que, tabla);
}

QString FacturaDeRemisiones::queQuedo(const QStringList& sinTransaccion) {
    // What the rollback cannot undo: the steps done on tables without transactions.
    QStringList quedo;
    for (const auto& [que, tabla] : escrito_) {
        const bool permanece =
            std::any_of(sinTransaccion.begin(), sinTransaccion.end(), [&](const QString& s) {
                return s.startsWith(tabla + QLatin1Char(' '), Qt::CaseInsensitive);
            });
        if (permanece) {
            quedo << QStringLiteral("- ") + que;
        }
    }
    escrito_.clear();
    if (quedo.isEmpty()) {
        return QStringLiteral("No se generó la factura y no se cambió nada.\r\n");
    }
    quedoEscrito_ = true;
    return QStringLiteral("No se terminó de generar la factura. Estas tablas no admiten "
                          "transacciones y conservan lo que ya se había escrito en ellas: %1.\r\n"
                          "Quedó escrito:\r\n%2\r\nRevise esos datos en Orvane antes de "
                          "volver a intentarlo.\r\n")
        .arg(sinTransaccion.join(QStringLiteral(", ")), quedo.join(QStringLiteral("\r\n")));
}
