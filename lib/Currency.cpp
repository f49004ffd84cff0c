#include "lib/Currency.h"

#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>

namespace qpn {

namespace {

// 2^63: the first unit count that no longer fits.
constexpr long double UnitLimit = 9223372036854775808.0L;

[[noreturn]] void ThrowOverflow()
{
    throw std::overflow_error("金額が扱える範囲を超えました。");
}

[[noreturn]] void ThrowNotAmount(const QString &text)
{
    throw std::invalid_argument(
        QStringLiteral("'%1' は正しい金額ではありません。").arg(text).toStdString());
}

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

} // namespace

Currency ToUnits(long double yen)
{
    // nearbyintl rounds in the current mode, which we never change from
    // round-to-nearest-even.
    const long double units = std::nearbyintl(yen * Currency::UnitsPerYen);
    if (!(units > -UnitLimit - 1 && units < UnitLimit)) // also rejects NaN
        ThrowOverflow();
    return Currency::fromUnits(static_cast<std::int64_t>(units));
}

Currency TruncYen(Currency value)
{
    return Currency::fromUnits(value.units() - value.units() % Currency::UnitsPerYen);
}

Currency HalfUpYen(long double yen)
{
    return TruncYen(ToUnits(yen + 0.5L));
}

Currency MulRate(Currency amount, long double rate)
{
    return ToUnits(amount.toLongDouble() * rate);
}

Currency DivBy(Currency amount, long double divisor)
{
    if (divisor == 0)
        throw std::domain_error("0 で除算しました。");
    return ToUnits(amount.toLongDouble() / divisor);
}

Currency ParseCurrency(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text.at(begin)))
        ++begin;
    while (end > begin && IsBlank(text.at(end - 1)))
        --end;
    if (begin == end)
        return {};

    qsizetype i = begin;
    bool negative = false;
    if (text.at(i) == u'-' || text.at(i) == u'+')
        negative = text.at(i++) == u'-';

    // Read the digits exactly: whole yen, then up to four decimals, then the
    // first dropped decimal and whether anything non-zero follows it, for
    // rounding to the nearest unit with ties to even.
    unsigned __int128 units = 0;
    int decimals = 0;
    int firstDropped = -1;
    bool restNonZero = false;
    bool anyDigit = false;
    bool inFraction = false;
    for (; i < end; ++i) {
        const QChar c = text.at(i);
        if (c == u',' && !inFraction && anyDigit)
            continue;
        if (c == u'.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (c < u'0' || c > u'9')
            ThrowNotAmount(text);
        const int digit = c.unicode() - u'0';
        anyDigit = true;
        if (!inFraction || decimals < 4) {
            units = units * 10 + static_cast<unsigned>(digit);
            if (inFraction)
                ++decimals;
            if (units > (static_cast<unsigned __int128>(1) << 64))
                ThrowNotAmount(text);
        } else if (firstDropped < 0) {
            firstDropped = digit;
        } else if (digit != 0) {
            restNonZero = true;
        }
    }
    if (!anyDigit)
        ThrowNotAmount(text);
    for (; decimals < 4; ++decimals)
        units *= 10;
    if (firstDropped > 5 || (firstDropped == 5 && (restNonZero || units % 2 == 1)))
        ++units;
    const unsigned __int128 limit = negative ? (static_cast<unsigned __int128>(1) << 63)
                                             : (static_cast<unsigned __int128>(1) << 63) - 1;
    if (units > limit)
        ThrowNotAmount(text);
    const auto magnitude = static_cast<std::uint64_t>(units);
    return Currency::fromUnits(negative ? static_cast<std::int64_t>(0 - magnitude)
                                        : static_cast<std::int64_t>(magnitude));
}

QString CurrencyPlainText(Currency value)
{
    const std::int64_t units = value.units();
    const std::uint64_t magnitude =
        units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    QString text = QString::number(magnitude / Currency::UnitsPerYen);
    if (const std::uint64_t fraction = magnitude % Currency::UnitsPerYen) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return units < 0 ? u'-' + text : text;
}

void PrintTo(const Currency &value, std::ostream *os)
{
    *os << CurrencyPlainText(value).toStdString() << " yen";
}

} // namespace qpn
