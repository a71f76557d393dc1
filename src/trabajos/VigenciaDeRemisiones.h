#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class Conexion;

// What the host notes behind a job's working copies were when the job chose them, so that
// before they are printed, listed or invoiced the job can tell whether another workstation has
// since removed, cancelled, invoiced or changed any of them.
class VigenciaDeRemisiones {
public:
    // Reads the host notes (table remisiones of cnn's database) whose Ids the working table
    // holds; the table may be named with its database ("tmpreprocesarem.remisiones").
    void Lee(Conexion& cnn, const QString& tablaDeTrabajo);
    void Olvida();
    // The notes no longer as read, each as "A 501 (cancelada)"; empty when all still are.
    QStringList Cambios(Conexion& cnn) const;
    // Refuses (Rechazo) naming the notes that changed and asking to run the job again with its
    // button (quehacer, for example "pulse de nuevo «Aplicar»").
    void Verifica(Conexion& cnn, const QString& quehacer) const;

private:
    struct Nota {
        QString folio; // "A 501"
        QString cancelada;
        QString facturada;
        QString importes;
    };
    QHash<QString, Nota> leeNotas(Conexion& cnn) const;

    QString tabla_;
    QHash<QString, Nota> leidas_; // by Id
};
