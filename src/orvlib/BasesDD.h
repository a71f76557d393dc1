#pragma once

#include "orvlib/Conexion.h"
#include "orvlib/ObjetoOrvlib.h"
#include "orvlib/Recordset.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// Database services of the host library: the connection settings every job uses, connections
// to the host's MySQL server and to auxiliary files, selections and the host's stored settings.
class BasesDD : public ObjetoOrvlib {
public:
    QString cRuta; // server
    int cPuerto = 3306;
    QString cUsuario;
    QString cPassword; // clear text, in memory only
    QString cMiBase;   // main database
    CifradoDeConexion cCifrado;

    // Opens the connection on that database of the configured server, or on the main database
    // when none is given. False when it could not open (the reason is in the connection).
    bool AbrirBdD(Conexion& cnn, const QString& base = {}) const;
    static void CierraBdD(Conexion& cnn);
    // Opens the file as an auxiliary database; false when it does not exist or cannot open.
    static bool AbreBdDAccess(Conexion& cnn, const QString& archivo);

    // SELECT campos FROM texto; true when it gave at least one row.
    static bool AbrirTabla(Recordset& rs, Conexion& cnn, const QString& texto,
                           const QString& campos = QStringLiteral("*"));
    static void CierraTabla(Recordset& rs);

    // A column of the first row of a settings table (configura), or Contenido of the row of a
    // key/value table (sistema) whose Dato is the name; an empty value when either is missing.
    static QVariant LeeDato(const QString& nombre, Conexion& cnn, const QString& tabla);
    static double Sum(Conexion& cnn, const QString& texto, const QString& expresion);
    // The key of the row this connection added last, whatever other connections add meanwhile.
    static qint64 LastId(Conexion& cnn, const QString& tabla, const QString& campo);
    static qint64 LastRec(Conexion& cnn, const QString& texto);
    // Adds one row; names and values pair by index, and an empty name is skipped.
    static void AgregaRegistro(Recordset& rs, Conexion& cnn, const QString& tabla,
                               const QStringList& campos, const QVariantList& valores);
};

// True for a stored flag that is set: a non-zero number or the text "true"/"verdadero".
bool EsVerdadero(const QVariant& valor);
