#pragma once

#include <QString>
#include <QStringList>

// Message boxes, yes/no questions and the busy pointer as a service, through which every layer
// talks to the user without knowing how: the windows show real boxes, the command line writes
// on standard error, tests script the answers and read the texts. Texts keep the program's own
// line breaks (CR or CR LF).
class Dialogos {
public:
    enum class Icono { Ninguno, Informacion, Advertencia, Critico, Pregunta };

    virtual ~Dialogos() = default;
    virtual void mensaje(const QString& texto, const QString& titulo, Icono icono) = 0;
    // A message with a detail kept apart from it (the server's text, the statement): a window
    // shows it on request, elsewhere it follows the text.
    virtual void mensajeConDetalle(const QString& texto, const QString& detalle,
                                   const QString& titulo, Icono icono);
    // Yes/No with the question icon; true on Yes. The default button is No or Yes as asked.
    virtual bool pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) = 0;
    // One of the options, chosen from a list (the current one first offered); its place, or -1
    // when none was chosen. Where nobody can choose (the command line), none is.
    virtual int elige(const QString& texto, const QString& titulo, const QStringList& opciones,
                      int inicial) {
        Q_UNUSED(texto);
        Q_UNUSED(titulo);
        Q_UNUSED(opciones);
        Q_UNUSED(inicial);
        return -1;
    }
    // The busy pointer while work runs (true) and the normal one after (false).
    virtual void ocupado(bool siNo) { Q_UNUSED(siNo); }
    // The file to save into, proposed as propuesto (a path) among the kinds of filtros
    // ("Libro de Excel (*.xlsx);;…"); empty when the user cancels, and where nobody is there
    // to choose.
    virtual QString archivoParaGuardar(const QString& titulo, const QString& propuesto,
                                       const QString& filtros);

    // The service in force: the one installed last, else the command line's.
    static Dialogos& actual();
    // Installs a service (not owned); nullptr goes back to the command line's.
    static void instala(Dialogos* dialogos);
};
