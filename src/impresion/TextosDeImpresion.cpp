#include "impresion/TextosDeImpresion.h"

#include "impresion/AuxiliarDeLaCorrida.h"
#include "impresion/MonedasDeLaCorrida.h"
#include "orvlib/BasesDD.h"
#include "orvlib/DeMonedas.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/Formato.h"
#include "orvlib/Sentencias.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"
#include "tienda/Importe.h"

#include <QDate>
#include <cmath>

namespace {

QDate comoFecha(const QString& texto) {
    const QDate fecha = libKwtm::LeeFecha(texto);
    return fecha.isValid() ? fecha : QDate::fromString(texto.trimmed(), Qt::ISODate);
}

QString largo(const QDate& f) {
    return QString::number(f.day()) + QStringLiteral(" de ") + Formato::NombreDeMes(f.month()) +
           QStringLiteral(" del ") + QString::number(f.year());
}

// Adds one row to a table of the auxiliary file with the given columns.
void agregaFila(const QString& rutaAuxiliar, const QString& tabla,
                const QList<QPair<QString, QVariant>>& valores) {
    Conexion propia;
    Conexion& auxiliar = AuxiliarDeLaCorrida::Abre(rutaAuxiliar, propia);
    Recordset rs;
    rs.abreParaAgregar(auxiliar, tabla);
    rs.agrega();
    for (const auto& [campo, valor] : valores) {
        rs.asigna(campo, valor);
    }
    rs.guarda();
}

} // namespace

QString TextoDelPeriodo(const QString& desde, const QString& hasta) {
    const QDate d = comoFecha(desde);
    const QDate h = comoFecha(hasta);
    if (!d.isValid() && !h.isValid()) {
        return {};
    }
    if (!h.isValid()) {
        return QStringLiteral("Desde el ") + largo(d);
    }
    if (!d.isValid()) {
        return QStringLiteral("Hasta el ") + largo(h);
    }
    if (d == h) {
        return QStringLiteral("Del ") + largo(d);
    }
    if (d.year() != h.year()) {
        return QStringLiteral("Desde el ") + largo(d) + QStringLiteral(" hasta el ") + largo(h);
    }
    const QString anio = QStringLiteral(" del ") + QString::number(h.year());
    if (d.month() == h.month()) {
        return QStringLiteral("Del %1 al %2 de ").arg(d.day()).arg(h.day()) +
               Formato::NombreDeMes(h.month()) + anio;
    }
    return QStringLiteral("Del %1 de ").arg(d.day()) + Formato::NombreDeMes(d.month()) +
           QStringLiteral(" al %1 de ").arg(h.day()) + Formato::NombreDeMes(h.month()) + anio;
}

QString ImporteConLetra(double importe, const QString& nombreMoneda, const QString& abreviacion,
                        const QString& rutaAuxiliar) {
    // Cents rounded as the figures printed beside the words are, so both always agree; a
    // negative amount reads as its sign and its absolute value.
    // Beyond what a note can carry (the jobs refuse such notes) the words say so instead.
    if (!(std::fabs(importe) < 1e15)) {
        const QString fuera = QStringLiteral("(IMPORTE FUERA DE RANGO)");
        if (!rutaAuxiliar.isEmpty()) {
            agregaFila(rutaAuxiliar, QStringLiteral("Titulo100"),
                       {{QStringLiteral("Encabezado"), fuera}});
        }
        return fuera;
    }
    const qint64 centavosTotales = Formato::Redondea(importe, 2);
    const qint64 absolutos = centavosTotales < 0 ? -centavosTotales : centavosTotales;
    const QString texto = QLatin1Char('(') +
                          (centavosTotales < 0 ? QStringLiteral("MENOS ") : QString()) +
                          DeMonedas::Numeros(absolutos / 100) + nombreMoneda +
                          DeMonedas::Centavos(static_cast<int>(absolutos % 100)) +
                          QStringLiteral("/100 ") + abreviacion + QLatin1Char(')');
    if (!rutaAuxiliar.isEmpty()) {
        agregaFila(rutaAuxiliar, QStringLiteral("Titulo100"),
                   {{QStringLiteral("Encabezado"), texto}});
    }
    return texto;
}

void GuardaParidades(Conexion& conexionHost, const QString& rutaAuxiliar) {
    GuardaParidades(MonedasDeLaCorrida::Lee(conexionHost), rutaAuxiliar);
}

void GuardaParidades(const QList<QPair<QString, QVariant>>& paridades,
                     const QString& rutaAuxiliar) {
    agregaFila(rutaAuxiliar, QStringLiteral("Paridades"), paridades);
}

void SeparaRenglones(const QString& texto, QStringList& renglones) {
    renglones = {QString(), QString()};
    QString actual;
    for (QChar c : texto) {
        if (c == QLatin1Char('\r')) {
            renglones.last() = actual;
            renglones.append(QString());
            actual.clear();
        } else if (c != QLatin1Char('\n')) {
            actual += c;
        }
    }
    renglones.last() = actual;
}

void GuardaNotas(const QString& rutaAuxiliar, const QString& nota) {
    QStringList renglones;
    SeparaRenglones(nota, renglones);
    QList<QPair<QString, QVariant>> notas;
    for (int i = 1; i < renglones.size() && i <= 7; ++i) {
        notas.append({QStringLiteral("Nota%1").arg(i), renglones[i].left(200)});
    }
    agregaFila(rutaAuxiliar, QStringLiteral("NotasDeCtes"), notas);
}

void BorraPartidasTallaOColor(Conexion& conexionHost, const QString& prefijo) {
    conexionHost.ejecuta(Utilerias::CambXXX(
        QStringLiteral("Delete from partidatallaocolor where IdExterna like 'XXX%'") +
            Sentencias::EscapeDePatron(),
        Sentencias::Patron(prefijo)));
}

namespace {

// Where a document's size and colour rows go: the host's table, its rows of the document
// removed first, or the auxiliary file's own table, made when missing and emptied first.
Conexion& destinoDeTallas(Conexion& conexionHost, Conexion* destino, const QString& prefijo) {
    if (destino == nullptr) {
        BorraPartidasTallaOColor(conexionHost, prefijo);
        return conexionHost;
    }
    VaciaPartidasTallaOColor(*destino);
    return *destino;
}

} // namespace

void VaciaPartidasTallaOColor(Conexion& auxiliar) {
    auxiliar.ejecuta(QStringLiteral("CREATE TABLE IF NOT EXISTS partidatallaocolor (IdExterna "
                                    "TEXT, Campo1 TEXT, Campo2 TEXT, Campo3 TEXT)"));
    auxiliar.ejecuta(QStringLiteral("DELETE FROM partidatallaocolor"));
}

void PartidasTallaOColor(Conexion& conexionHost, const QString& tablaDetalle, qint32 idDocumento,
                         const QString& campoId, Conexion* destino) {
    Recordset lineas;
    if (!BasesDD::AbrirTabla(lineas, conexionHost,
                             tablaDetalle + QStringLiteral(" where ") + campoId + QLatin1Char('=') +
                                 QString::number(idDocumento) +
                                 QStringLiteral(" and IdExterna<>'' order by Partida"))) {
        return;
    }
    Conexion& tallas = destinoDeTallas(
        conexionHost, destino, lineas.campo(QStringLiteral("IdExterna")).toString().left(11));
    for (; !lineas.fin(); lineas.siguiente()) {
        const QString idExterna = lineas.campo(QStringLiteral("IdExterna")).toString();
        QString texto;
        Recordset referencias;
        BasesDD::AbrirTabla(referencias, conexionHost,
                            QStringLiteral("referenciaexterna where Id=") +
                                Sentencias::Texto(idExterna) +
                                QStringLiteral(" order by Referencia"));
        for (; !referencias.fin(); referencias.siguiente()) {
            Importe cantidad = Importe::DeVariant(referencias.campo(QStringLiteral("Cantidad")));
            if (cantidad < Importe()) {
                cantidad = Importe() - cantidad;
            }
            texto += referencias.campo(QStringLiteral("Referencia")).toString() + QLatin1Char('-') +
                     cantidad.TextoSql() + QLatin1Char('/');
        }
        if (texto.endsWith(QLatin1Char('/'))) {
            texto.chop(1);
        }
        Recordset talla;
        BasesDD::AgregaRegistro(
            talla, tallas, QStringLiteral("partidatallaocolor"),
            {QString(), QStringLiteral("IdExterna"), QStringLiteral("Campo1"),
             QStringLiteral("Campo2"), QStringLiteral("Campo3")},
            {QVariant(), idExterna, texto.mid(0, 250), texto.mid(250, 250), texto.mid(500, 250)});
    }
}
