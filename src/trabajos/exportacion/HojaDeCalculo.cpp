#include "trabajos/exportacion/HojaDeCalculo.h"

#include "orvlib/Formato.h"

QString HojaDeCalculo::Texto(const Valor& valor, Tipo tipo) {
    if (const auto* texto = std::get_if<QString>(&valor)) {
        return *texto;
    }
    if (const auto* entero = std::get_if<qint64>(&valor)) {
        return QString::number(*entero);
    }
    if (const auto* importe = std::get_if<Importe>(&valor)) {
        return Formato::Numero(importe->ADouble(), tipo == Tipo::Precio
                                                       ? QStringLiteral("###,###,##0.0000")
                                                       : QStringLiteral("###,###,##0.00"));
    }
    if (const auto* decimal = std::get_if<Decimal>(&valor)) {
        return decimal->TextoSql();
    }
    if (const auto* fecha = std::get_if<QDate>(&valor)) {
        return fecha->toString(QStringLiteral("dd/MM/yyyy"));
    }
    return {};
}
