#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QLineEdit;

// A window's last inputs, kept in the program's ini file (DeRemisiones.ini) under a section of
// its own, so the window opens with them: saved after a run that used them, restored when the
// window loads.
class UltimosDatos {
public:
    UltimosDatos(QString seccion, QList<QPair<QString, QLineEdit*>> campos);

    // Each field with a saved value takes it.
    void Restaura() const;
    // A file that cannot be written keeps the values it had: the run that used them is done,
    // and what they were is in the trail.
    void Guarda() const;

private:
    QString seccion_;
    QList<QPair<QString, QLineEdit*>> campos_;
};
