#include "reporteador/Seleccion.h"

#include "reporteador/ErrorDeReporte.h"

#include <QRegularExpression>

namespace {

class Analizador {
public:
    Analizador(const QString& texto, const QString& tabla, Sentencias::Motor motor)
        : texto_(texto)
        , tabla_(tabla)
        , motor_(motor) {}

    QString expresion() {
        QString sql = termino();
        for (;;) {
            espacios();
            if (palabraClave(QStringLiteral("and"))) {
                sql += QStringLiteral(" AND ") + termino();
            } else if (palabraClave(QStringLiteral("or"))) {
                sql += QStringLiteral(" OR ") + termino();
            } else {
                return sql;
            }
        }
    }

    void fin() {
        espacios();
        if (i_ < texto_.size()) {
            falla();
        }
    }

private:
    void espacios() {
        while (i_ < texto_.size() && texto_[i_].isSpace()) {
            ++i_;
        }
    }

    bool palabraClave(const QString& palabra) {
        if (texto_.mid(i_, palabra.size()).compare(palabra, Qt::CaseInsensitive) != 0) {
            return false;
        }
        const qsizetype despues = i_ + palabra.size();
        if (despues < texto_.size() && texto_[despues].isLetterOrNumber()) {
            return false;
        }
        i_ = despues;
        return true;
    }

    QString termino() {
        espacios();
        if (palabraClave(QStringLiteral("not"))) {
            return QStringLiteral("NOT ") + termino();
        }
        if (i_ < texto_.size() && texto_[i_] == QLatin1Char('(')) {
            ++i_;
            const QString dentro = expresion();
            espacios();
            if (i_ >= texto_.size() || texto_[i_] != QLatin1Char(')')) {
                falla();
            }
            ++i_;
            return QLatin1Char('(') + dentro + QLatin1Char(')');
        }
        const QString campo = this->campo();
        const QString op = operador();
        return campo + op + valor();
    }

    QString campo() {
        espacios();
        static const QRegularExpression patron(
            QStringLiteral("\\G\\{\\s*([A-Za-z_][\\w]*)\\.([A-Za-z_][\\w]*)\\s*\\}"));
        const QRegularExpressionMatch m = patron.match(texto_, i_);
        if (!m.hasMatch()) {
            falla();
        }
        if (m.captured(1).compare(tabla_, Qt::CaseInsensitive) != 0) {
            throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                                 QStringLiteral("La selección solo puede usar campos de la tabla "
                                                "%1: %2")
                                     .arg(tabla_, texto_));
        }
        i_ = m.capturedEnd();
        return Sentencias::Nombre(m.captured(2), motor_);
    }

    QString operador() {
        espacios();
        for (const char* op : {"<>", "<=", ">=", "=", "<", ">"}) {
            const QString o = QString::fromLatin1(op);
            if (texto_.mid(i_, o.size()) == o) {
                i_ += o.size();
                return o;
            }
        }
        falla();
    }

    QString valor() {
        espacios();
        if (i_ < texto_.size() &&
            (texto_[i_] == QLatin1Char('\'') || texto_[i_] == QLatin1Char('"'))) {
            const QChar comilla = texto_[i_++];
            QString t;
            while (i_ < texto_.size() && texto_[i_] != comilla) {
                t += texto_[i_++];
            }
            if (i_ >= texto_.size()) {
                falla();
            }
            ++i_;
            return Sentencias::Texto(t, motor_);
        }
        static const QRegularExpression numero(QStringLiteral("\\G-?\\d+(\\.\\d+)?"));
        const QRegularExpressionMatch m = numero.match(texto_, i_);
        if (!m.hasMatch()) {
            falla();
        }
        i_ = m.capturedEnd();
        return m.captured(0);
    }

    [[noreturn]] void falla() const {
        throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                             QStringLiteral("Fórmula de selección inválida en la posición %1: %2")
                                 .arg(i_ + 1)
                                 .arg(texto_));
    }

    QString texto_;
    QString tabla_;
    Sentencias::Motor motor_;
    qsizetype i_ = 0;
};

} // namespace

QString Seleccion::CondicionSql(const QString& seleccion, const QString& tablaPrincipal,
                                Sentencias::Motor motor) {
    if (seleccion.trimmed().isEmpty()) {
        return {};
    }
    Analizador a(seleccion, tablaPrincipal, motor);
    const QString sql = a.expresion();
    a.fin();
    return sql;
}
