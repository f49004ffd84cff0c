#pragma once

#include "lib/Currency.h"
#include "lib/FormatArg.h"

#include <QString>

#include <concepts>
#include <initializer_list>

namespace qpn {

// The number display formats that grids, reports and exports share.
//
// FormatNumber reads a pattern of up to three sections "positive;negative;zero":
// 0 is a digit or a zero, # a digit or nothing (a # between the first 0 and the
// decimal point, or between the point and the last 0, acts as a 0), "." the
// decimal point, "," anywhere before it groups the whole part by thousands,
// text in '...' or "..." is literal, any other character is printed as it is.
// The value is rounded half away from zero to the pattern's decimals. A
// negative value printed by the first section gets a leading "-"; the second
// section prints the magnitude as it stands. "#,#" prints nothing for zero,
// "0000#" at least five digits. An empty pattern gives PlainText.
QString FormatNumber(const QString &pattern, Currency value);
QString FormatNumber(const QString &pattern, long double value);
QString FormatNumber(const QString &pattern, double value);
QString FormatNumber(const QString &pattern, qint64 value);
template<std::integral T>
    requires(!std::same_as<T, bool>)
QString FormatNumber(const QString &pattern, T value)
{
    return FormatNumber(pattern, static_cast<qint64>(value));
}

// printf-style formatting: "%" [index ":"] ["-"] [width] ["." precision] type,
// with the types d (integer; precision = minimum digits, "%.4d" → 0012),
// x (hexadecimal), f (fixed, precision decimals, default 2), n (as f with
// thousands separators, "%2.0n" → "1,235"), m (yen amount, "¥1,235"), g
// (shortest form, precision significant digits, default 15) and s (text), and
// "%%". Throws std::invalid_argument for a bad pattern or an argument of the
// wrong kind.
QString FormatPrintf(const QString &pattern, std::initializer_list<FormatArg> args);

// The plain text of a value as the CSV export writes it: integers in digits,
// floating-point numbers and amounts in their shortest decimal form without
// separators (15 significant digits; exponent form below 0.00001 or above 15
// digits: "1E20", "1.5E-7"), booleans "True"/"False". Dates are DateToText.
QString PlainText(qint64 value);
QString PlainText(long double value);
QString PlainText(double value);
QString PlainText(Currency value);
QString PlainText(bool value);
template<std::integral T>
    requires(!std::same_as<T, bool>)
QString PlainText(T value)
{
    return PlainText(static_cast<qint64>(value));
}

// An amount in the Japanese currency format: yen sign, thousands separators,
// no decimals ("¥2,500,000", "-¥5").
QString CurrencyText(Currency value);

} // namespace qpn
