#include "orvlib/CamposBin.h"

#include "orvlib/Conexion.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/EscritorDeArchivo.h"
#include "orvlib/NumerosDeError.h"
#include "orvlib/Sentencias.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

void CamposBin::ExtraeRPT(const QString& archivo, const QString& carpeta) const {
    QSqlQuery q =
        BaseDD->consulta(QStringLiteral("SELECT %1 FROM %2 WHERE %3=? ORDER BY %4")
                             .arg(Sentencias::Nombre(CampoTexto), Sentencias::Nombre(cTablaRpts),
                                  Sentencias::Nombre(CampoLlave), Sentencias::Nombre(CampoNumero)),
                         {archivo});
    QByteArray contenido;
    bool hay = false;
    while (q.next()) {
        hay = true;
        contenido += QByteArray::fromBase64(q.value(0).toString().toLatin1());
    }
    if (!hay) {
        throw ErrorOrvlib(
            kNoGuardado,
            QStringLiteral("No se encontró el archivo %1 en %2").arg(archivo, cTablaRpts), archivo);
    }
    EscritorDeArchivo::Escribe(QDir(carpeta).filePath(archivo), contenido);
}

void CamposBin::GuardaRPT(const QString& archivo, const QByteArray& contenido) const {
    // A failure halfway leaves the stored file as it was instead of cut short.
    QSqlDatabase bd = BaseDD->bd();
    const bool enTransaccion = bd.transaction();
    try {
        reemplaza(archivo, contenido);
    } catch (const ErrorOrvlib&) {
        if (enTransaccion) {
            bd.rollback();
        }
        throw;
    }
    if (enTransaccion && !bd.commit()) {
        throw ErrorOrvlib(NumerosDeError::kSinNumero, bd.lastError().text(),
                          QStringLiteral("COMMIT"));
    }
}

void CamposBin::reemplaza(const QString& archivo, const QByteArray& contenido) const {
    BaseDD->consulta(QStringLiteral("DELETE FROM %1 WHERE %2=?")
                         .arg(Sentencias::Nombre(cTablaRpts), Sentencias::Nombre(CampoLlave)),
                     {archivo});
    const QString inserta =
        QStringLiteral("INSERT INTO %1 (%2,%3,%4) VALUES (?,?,?)")
            .arg(Sentencias::Nombre(cTablaRpts), Sentencias::Nombre(CampoLlave),
                 Sentencias::Nombre(CampoNumero), Sentencias::Nombre(CampoTexto));
    int renglon = 0;
    for (qsizetype i = 0; i < contenido.size() || renglon == 0; i += kBytesPorRenglon) {
        BaseDD->consulta(inserta,
                         {archivo, ++renglon,
                          QString::fromLatin1(contenido.mid(i, kBytesPorRenglon).toBase64())});
    }
}
