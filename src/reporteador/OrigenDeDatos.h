#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

// One row of a table, its columns found without regard to case.
class Fila {
public:
    void pon(const QString& campo, const QVariant& valor) {
        campos_.insert(campo.toLower(), valor);
    }
    // An invalid value when the row has no such column.
    QVariant valor(const QString& campo) const { return campos_.value(campo.toLower()); }
    bool tiene(const QString& campo) const { return campos_.contains(campo.toLower()); }

private:
    QHash<QString, QVariant> campos_;
};

// Where the engine reads its tables: the host's tables through the ODBC data source that the
// connect text names (kept open between reports while the text stays the same), and the
// auxiliary file's tables through SQLite.
class OrigenDeDatos {
public:
    OrigenDeDatos();
    ~OrigenDeDatos();
    OrigenDeDatos(const OrigenDeDatos&) = delete;
    OrigenDeDatos& operator=(const OrigenDeDatos&) = delete;

    // "DSN=…;UID=…;PWD=…;" (other keys are read from the data source itself). Throws 20527
    // with the server's cause in Spanish ("El servidor no acepta más conexiones").
    void Conecta(const QString& textoDeConexion);
    // Within a run the tables are not made again: their columns are read once for the run and
    // the connection is taken as it is, not tried first.
    void IniciaCorrida() { enCorrida_ = true; }
    void TerminaCorrida() { enCorrida_ = false; }
    // Rows of the table at a location ("database.table" through ODBC, or a file path and table
    // name for the auxiliary file), with an optional SQL condition and order. Throws 20506.
    QVector<Fila> Lee(const QString& ubicacion, const QString& tablaDeAccess,
                      const QString& condicion, const QString& orden = {});
    void CierraAuxiliar();

private:
    // The select list of a table read through ODBC, texts as their UTF-8 bytes; kept while the
    // connection lasts.
    QString camposOdbc(const QString& tabla, const QString& ubicacion);
    QVector<Fila> consulta(const QString& conexion, const QString& sentencia,
                           const QString& ubicacion);
    // The statement ready to run: on the auxiliary file, kept prepared for the next report of
    // the run, which reads its tables by the same texts.
    QSqlQuery& preparadaEnElAuxiliar(const QString& sentencia, const QString& ubicacion);
    // Every row of a statement just run, then its cursor closed.
    static QVector<Fila> filasDe(QSqlQuery& q);

    QString odbc_;
    QHash<QString, QString> camposOdbc_;
    QString auxiliar_;
    QHash<QString, QSqlQuery> leidasDelAuxiliar_;
    QString textoDeConexion_;
    QString rutaAuxiliar_;
    bool enCorrida_ = false;
};
