#pragma once

#include <QString>

#include <compare>
#include <cstdint>
#include <iosfwd>

namespace qpn {

// An amount of money held exactly as a signed count of ten-thousandths of a
// yen ("units"; 1 yen = 10000 units). Money never passes through a double on
// its way to or from storage.
class Currency
{
public:
    static constexpr std::int64_t UnitsPerYen = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units); }
    static constexpr Currency fromYen(std::int64_t yen) { return Currency(yen * UnitsPerYen); }

    constexpr std::int64_t units() const { return m_units; }
    // The amount in yen as extended precision, for products with rates.
    long double toLongDouble() const { return static_cast<long double>(m_units) / UnitsPerYen; }

    constexpr Currency operator+(Currency other) const { return Currency(m_units + other.m_units); }
    constexpr Currency operator-(Currency other) const { return Currency(m_units - other.m_units); }
    constexpr Currency operator-() const { return Currency(-m_units); }
    constexpr Currency &operator+=(Currency other) { m_units += other.m_units; return *this; }
    constexpr Currency &operator-=(Currency other) { m_units -= other.m_units; return *this; }
    constexpr auto operator<=>(const Currency &) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

// x (in yen, extended precision) rounded to the nearest unit, ties to the even unit.
Currency ToUnits(long double yen);
// v truncated toward zero to whole yen.
Currency TruncYen(Currency value);
// TruncYen(ToUnits(x + 0.5 yen)): whole yen with halves going up.
Currency HalfUpYen(long double yen);

// amount × rate and amount ÷ divisor in extended precision, back to units (ties to even).
Currency MulRate(Currency amount, long double rate);
Currency DivBy(Currency amount, long double divisor);

// Reads a typed amount ("1,234", "1234.5", "-12", " ", "") to the nearest unit;
// blank text is 0. Throws std::invalid_argument with a Japanese message for text
// that is no number.
Currency ParseCurrency(const QString &text);

// Shortest plain decimal text in yen without separators ("1234", "-0.5").
QString CurrencyPlainText(Currency value);

// Lets test failures print an amount as yen instead of its bytes.
void PrintTo(const Currency &value, std::ostream *os);

} // namespace qpn
