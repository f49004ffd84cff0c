#pragma once

#include <QString>

#include <optional>

namespace qpn::engine {

// A decimal literal in yen ("1234", "-0.5", "1e3") as ten-thousandths of a yen,
// exact for up to four decimals and rounded to the nearest unit (ties to even)
// beyond. None for text that is no number or does not fit 64 bits.
std::optional<qint64> MoneyLiteralUnits(const QString &literal);

// 'YYYY/MM/DD' or 'YYYY-MM-DD' (one-digit month and day allowed, an optional
// time HH:MM[:SS] after a blank) as stored: 'YYYY-MM-DD', or with time
// 'YYYY-MM-DD HH:MM:SS'. None for text that is no valid date.
std::optional<QString> StoredDateText(const QString &literal, bool withTime);

// The text of an SQLite string literal.
QString QuoteSqlString(const QString &text);
// The text of an SQLite quoted name.
QString QuoteSqlName(const QString &name);

} // namespace qpn::engine
