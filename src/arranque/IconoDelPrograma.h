#pragma once

#include <QIcon>
#include <QPixmap>

// The program's picture: a delivery note with a printer's tear-off edge, drawn in code so it
// needs no image files.
class IconoDelPrograma {
public:
    static QPixmap Imagen(int lado);
    static QIcon Icono();
};
