#pragma once

#include <QString>
#include <QStringList>

// Reads and writes one Windows ini file as the Windows profile functions do: sections and keys
// compared without regard to case, keys with spaces and accents taken literally, values trimmed
// and freed of one pair of enclosing quotes, every other line written back untouched. Files are
// Windows-1252 with CR LF; a file already in UTF-8 stays UTF-8. A file of the Unix style
// (unixODBC's data sources) is made in UTF-8 with LF. A private file (one that holds a
// password) is readable and writable by its owner only.
class ArchivoIni {
public:
    enum class Estilo { Windows, Unix };
    enum class Acceso { Comun, Privado };
    struct Valor {
        QString seccion;
        QString clave;
        QString valor;
    };

    explicit ArchivoIni(QString ruta, Estilo estilo = Estilo::Windows,
                        Acceso acceso = Acceso::Comun);

    // "" when the file, the section or the key is missing.
    QString lee(const QString& seccion, const QString& clave) const;
    bool tieneSeccion(const QString& seccion) const;
    // The names of the sections, in file order.
    QStringList secciones() const;
    // Creates the file, the section or the key as needed; writes the file atomically, and not
    // at all when the key already holds the value.
    void escribe(const QString& seccion, const QString& clave, const QString& valor);
    // The same for several keys at once: the file is written once, with all of them or none.
    void escribe(const QList<Valor>& valores);
    // Leaves an existing file readable and writable by its owner only.
    static void HazPrivado(const QString& ruta);

private:
    struct Posicion {
        qsizetype seccion = -1; // line of the section header
        qsizetype clave = -1;   // line of the key
        qsizetype fin = -1;     // line after the last non-blank line of the section
    };

    void carga();
    void guarda() const;
    // Sets the key in memory; false when it already held the value.
    bool pon(const QString& seccion, const QString& clave, const QString& valor);
    Posicion busca(const QString& seccion, const QString& clave) const;
    static QString nombreDeSeccion(const QString& linea);
    static bool esClave(const QString& linea, const QString& clave);
    static QString valorDe(const QString& linea);
    static QString lineaDeClave(const QString& clave, const QString& valor);

    QString ruta_;
    Acceso acceso_;
    QStringList lineas_;
    bool utf8_ = false;
    bool bom_ = false;
    QString finDeLinea_ = QStringLiteral("\r\n");
};
