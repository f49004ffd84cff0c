#pragma once

#include "lib/Currency.h"

#include <QString>

#include <variant>

namespace qpn {

// One argument of FormatPrintf: an integer, a floating-point number, an amount
// or a text. Converts implicitly so a call reads FormatPrintf("%.5d/%.5d", {12, 345}).
class FormatArg
{
public:
    using Value = std::variant<qint64, long double, Currency, QString>;

    FormatArg(int value) : m_value(qint64(value)) {}
    FormatArg(long value) : m_value(qint64(value)) {}
    FormatArg(long long value) : m_value(qint64(value)) {}
    FormatArg(unsigned value) : m_value(qint64(value)) {}
    FormatArg(double value) : m_value(static_cast<long double>(value)) {}
    FormatArg(long double value) : m_value(value) {}
    FormatArg(Currency value) : m_value(value) {}
    FormatArg(const QString &value) : m_value(value) {}
    FormatArg(const char *value) : m_value(QString::fromUtf8(value)) {}

    const Value &value() const { return m_value; }

private:
    Value m_value;
};

} // namespace qpn
