#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;

// The field-entry behaviours every job window shares: getting the focus selects the content,
// keys go through the support library's Teclas and Enter (kind "9" digits only, "!" any; Enter
// moves on), and leaving the field runs its validation, which may keep the focus there.
class EntradaDeCampos : public QObject {
    Q_OBJECT
public:
    // The validation returns false to keep the focus in the box.
    using Validacion = std::function<bool()>;
    enum class FechaInvalida { Hoy, Vacia };

    static void Conecta(QLineEdit* caja, const QString& tipo, Validacion valida = {});
    // A masked date box whose text, when it is left without a valid date, becomes today's date
    // or the empty date; the focus is never held.
    static void ConectaFecha(QLineEdit* caja, const QString& tipo, FechaInvalida siInvalida);
    // Gives the date box the support library's mask and, when asked, a date.
    static void PreparaFecha(QLineEdit* caja);
    // Replaces an invalid date as the box's validation does.
    static void ValidaFecha(QLineEdit* caja, FechaInvalida siInvalida);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    EntradaDeCampos(QLineEdit* caja, QString tipo, Validacion valida);
    bool teclaPulsada(QLineEdit* caja, class QKeyEvent* tecla);

    QString tipo_;
    Validacion valida_;
};
