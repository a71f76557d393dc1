#pragma once

#include <QString>

class ErrorOrvlib;

// What a database, driver or file error means to the person at the window: a Spanish text that
// says what happened and what to do, with the server's own number and text and the statement
// or file kept apart as the detail (the box's details, the trail).
class ExplicacionDeError {
public:
    enum class Clase {
        ConexionPerdida,
        SinServidor,
        UsuarioRechazado,
        PermisoNegado,
        DemasiadasConexiones,
        BaseDesconocida,
        TablaDesconocida,
        EsperaDeBloqueo,
        DiscoLleno,      // the server's disk
        SoloLectura,     // a server that takes no writes
        CifradoExigido,  // a server that takes the login only encrypted
        CifradoFallido,  // an encrypted connection whose certificate did not check
        DiscoLocalLleno, // this computer's disk, writing a file
        OrigenDeDatosNoEncontrado,
        ArchivoNoEscribible,
        Otra
    };

    static ExplicacionDeError De(const ErrorOrvlib& error);
    // A number (the server's or the driver's; -1 when none) and the driver's text, which for
    // ODBC carries the SQLSTATE; the statement or file involved.
    static ExplicacionDeError De(int numero, const QString& texto, const QString& contexto);

    // Whether the connection it came through is gone: the server went away, the connection was
    // killed or dropped, or the server cannot be reached.
    bool PerdioLaConexion() const {
        return clase_ == Clase::ConexionPerdida || clase_ == Clase::SinServidor;
    }
    static bool PerdioLaConexion(const ErrorOrvlib& error) { return De(error).PerdioLaConexion(); }

    Clase clase() const { return clase_; }
    // The file this computer's disk had no room for, when the error names it.
    const QString& archivo() const { return archivo_; }
    // "No hay espacio en el disco para escribir el archivo «…»": the cause alone, for a text
    // that says what to do in its own words.
    static QString SinEspacioPara(const QString& archivo);
    // What happened and what to do.
    const QString& principal() const { return principal_; }
    // "Error no. N: text" and the statement or file on a line of its own.
    const QString& detalle() const { return detalle_; }

private:
    ExplicacionDeError(Clase clase, QString principal, QString detalle, QString archivo);
    static Clase clasifica(int numero, const QString& texto, const QString& contexto);
    static QString explica(Clase clase, int numero, const QString& contexto);

    Clase clase_;
    QString principal_;
    QString detalle_;
    QString archivo_;
};
