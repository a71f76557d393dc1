#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>

// One row of a table, its columns found without regard to case. The rows of one read share
// the index of their columns, made once for the read.
class Fila {
public:
    // Positions of the columns in a row, by name in lower case.
    using Columnas = QHash<QString, qsizetype>;

    Fila() = default;
    Fila(std::shared_ptr<Columnas> columnas, QVector<QVariant> valores)
        : columnas_(std::move(columnas))
        , valores_(std::move(valores)) {}

    void pon(const QString& campo, const QVariant& valor);
    // An invalid value when the row has no such column.
    QVariant valor(const QString& campo) const;
    bool tiene(const QString& campo) const {
        return columnas_ && columnas_->contains(campo.toLower());
    }

private:
    std::shared_ptr<Columnas> columnas_;
    QVector<QVariant> valores_;
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
