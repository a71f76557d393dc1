#pragma once

#include <QString>
#include <QVector>

// Checks every piece a run needs, as the program would find it, and says for each whether it
// is right or what is wrong and how to mend it. It writes nothing.
class Verificacion {
public:
    struct Punto {
        QString nombre;
        bool correcto = false;
        QString detalle; // what is wrong and how to mend it, or a note on a correct point
    };

    static QVector<Punto> Revisa();
};
