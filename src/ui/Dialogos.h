#pragma once

#include <QString>

// Message boxes and yes/no questions as a service: the windows show real boxes, tests script
// the answers and read the texts. Texts keep the program's own line breaks (CR or CR LF).
class Dialogos {
public:
    enum class Icono { Ninguno, Informacion, Advertencia, Critico, Pregunta };

    virtual ~Dialogos() = default;
    virtual void mensaje(const QString& texto, const QString& titulo, Icono icono) = 0;
    // Yes/No with the question icon; true on Yes. The default button is No or Yes as asked.
    virtual bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) = 0;

    // The service in force; the message-box implementation until another is installed.
    static Dialogos& actual();
    // Installs a service (not owned); nullptr goes back to the message boxes.
    static void instala(Dialogos* dialogos);
};
