#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

// The field-entry behaviours every job window shares: getting the focus selects the content,
// keys go through the support library's Teclas and Enter (kind "9" digits only, "!" any; Enter
// moves on), and leaving the field runs its validation, which may keep the focus there.
class EntradaDeCampos : public QObject {
    Q_OBJECT
public:
    // The validation returns false to keep the focus in the box.
    using Validacion = std::function<bool()>;
    // What a date box left without a valid date does: becomes today's date, becomes the empty
    // date, or (Rechaza) says the date is not valid and keeps the focus, an empty box still
    // becoming today's date.
    enum class FechaInvalida { Hoy, Vacia, Rechaza };

    static void Conecta(QLineEdit* caja, const QString& tipo, Validacion valida = {});
    // A masked date box and what it does when it is left without a valid date.
    static void ConectaFecha(QLineEdit* caja, const QString& tipo, FechaInvalida siInvalida);
    // Gives the date box the support library's mask and, when asked, a date.
    static void PreparaFecha(QLineEdit* caja);
    // Replaces or refuses an invalid date as the box's validation does; false when refused.
    static bool ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida);
    // Whether the box holds a valid date; an empty one counts as valid (it becomes today's).
    static bool FechaAceptable(const QLineEdit* caja);
    // "La fecha «31/02/2026» no es válida…".
    static QString AvisoDeFecha(const QLineEdit* caja);

    // The host library's keyboard handling of entry fields.
    // Selects the whole content of an entry field.
    static void Resalta(QWidget* control);
    // Up and down arrows move to the previous or next field; the key is then consumed (0).
    static void Teclas(int& tecla, QWidget* control);
    // Filters a typed character: kind "9" takes digits, sign, point and comma, "!" any
    // character. Enter moves to the next field. A refused or consumed character becomes 0.
    static void Enter(int& caracter, const QString& tipo, QWidget* control);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    EntradaDeCampos(QLineEdit* caja, QString tipo, Validacion valida);
    bool teclaPulsada(QLineEdit* caja, class QKeyEvent* tecla);

    QString tipo_;
    Validacion valida_;
};
