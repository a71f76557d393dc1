#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QWidget;

// The field-entry behaviours every job window shares: getting the focus selects the content,
// keys go through the support library's Teclas and Enter (kind "9" digits only, "!" any; Enter
// moves on), and leaving the field runs its validation, which may keep the focus there when
// the clerk moves forward, never when going back (Shift+Tab). A
// window's warning line (aviso) says why a field refuses what it holds. Pasting is checked
// first: a date box reads a pasted date written as 2026-11-01 or 01/11/2026, a number field
// ("9") the number in what was pasted ("$1,234.50 pesos" gives 1234.50), and a text longer than
// the field takes is refused whole, never cut short.
class EntradaDeCampos : public QObject {
    Q_OBJECT
public:
    // The validation returns false to keep the focus in the box.
    using Validacion = std::function<bool()>;
    // What a date box left without a valid date does: becomes today's date, becomes the empty
    // date, or (Rechaza) says the date is not valid and keeps the focus, an empty box still
    // becoming today's date.
    enum class FechaInvalida { Hoy, Vacia, Rechaza };

    static void Conecta(QLineEdit* caja, const QString& tipo, Validacion valida = {},
                        QLabel* aviso = nullptr);
    // A masked date box and what it does when it is left without a valid date.
    static void ConectaFecha(QLineEdit* caja, const QString& tipo, FechaInvalida siInvalida,
                             QLabel* aviso = nullptr);
    // Gives the date box the support library's mask and, when asked, a date.
    static void PreparaFecha(QLineEdit* caja);
    // Replaces or refuses an invalid date as the box's validation does; false when refused (said
    // on the warning line, or in a box without one).
    static bool ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida, QLabel* aviso = nullptr);
    // Whether the box holds a valid date; an empty one counts as valid (it becomes today's).
    static bool FechaAceptable(const QLineEdit* caja);
    // "La fecha «31/02/2026» no es válida…".
    static QString AvisoDeFecha(const QLineEdit* caja);
    // A date written as day/month/year or year-month-day (what a clerk pastes); invalid otherwise.
    static QDate FechaPegada(const QString& texto);

    // Shows why the box refuses what it holds on the warning line, with a beep, or clears the
    // line when the box accepts it (empty texto) and the line was speaking of this box. True
    // when accepted.
    static bool Avisa(QLabel* aviso, QLineEdit* caja, const QString& texto);
    // Refuses the box: the warning, and the focus back in it.
    static void Rehusa(QLabel* aviso, QLineEdit* caja, const QString& texto);

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
    EntradaDeCampos(QLineEdit* caja, QString tipo, Validacion valida, QLabel* aviso);
    bool teclaPulsada(QLineEdit* caja, class QKeyEvent* tecla);
    void pega(QLineEdit* caja);
    void menuContextual(QLineEdit* caja, class QContextMenuEvent* evento);

    QString tipo_;
    Validacion valida_;
    QLabel* aviso_;
    // The focus came and the content is yet to be selected.
    bool resaltaPendiente_ = false;
};
