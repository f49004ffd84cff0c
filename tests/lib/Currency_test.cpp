#include "lib/Currency.h"

#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <stdexcept>

namespace qpn {
namespace {

Currency Units(std::int64_t units)
{
    return Currency::fromUnits(units);
}

TEST(Currency, ToUnitsRoundsTiesToEven)
{
    struct Case { long double yen; std::int64_t units; };
    const Case cases[] = {
        {0.00005L, 0},    {0.00015L, 2},   {0.00025L, 2},     {0.00035L, 4},
        {-0.00025L, -2},  {-0.00035L, -4}, {0.000051L, 1},    {1.23456L, 12346},
        {-1.23454L, -12345}, {12345.0L, 123450000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<double>(c.yen));
        EXPECT_EQ(ToUnits(c.yen), Units(c.units));
    }
}

TEST(Currency, ToUnitsRefusesAmountsBeyondRange)
{
    EXPECT_THROW(ToUnits(1e16L), std::overflow_error);
    EXPECT_THROW(ToUnits(-1e16L), std::overflow_error);
    EXPECT_THROW(ToUnits(std::numeric_limits<long double>::quiet_NaN()), std::overflow_error);
    EXPECT_EQ(ToUnits(-922337203685477.5808L), Units(std::numeric_limits<std::int64_t>::min()));
}

TEST(Currency, TruncAndHalfUpYen)
{
    EXPECT_EQ(TruncYen(Units(12345)), Units(10000));
    EXPECT_EQ(TruncYen(Units(-12345)), Units(-10000));
    EXPECT_EQ(TruncYen(Units(9999)), Units(0));
    EXPECT_EQ(TruncYen(Units(20000)), Units(20000));

    struct Case { long double yen; std::int64_t wholeYen; };
    const Case cases[] = {
        {0.5L, 1},   {2.5L, 3},      {3.5L, 4},  {2.4999L, 2},
        {0.0L, 0},   {1234.5L, 1235}, {-2.5L, -2}, {7.0L, 7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(static_cast<double>(c.yen));
        EXPECT_EQ(HalfUpYen(c.yen), Currency::fromYen(c.wholeYen));
    }
}

TEST(Currency, ProductsAndQuotientsInExtendedPrecision)
{
    EXPECT_EQ(MulRate(Currency::fromYen(1000), 0.1L), Currency::fromYen(100));
    EXPECT_EQ(MulRate(Currency::fromYen(100000), 0.067L), Currency::fromYen(6700));
    EXPECT_EQ(MulRate(Currency::fromYen(1), 0.00005L), Units(0));   // half a unit, to even
    EXPECT_EQ(MulRate(Currency::fromYen(3), 0.00005L), Units(2));   // 1.5 units
    EXPECT_EQ(MulRate(Units(-7), 0.5L), Units(-4));                 // -3.5 units
    EXPECT_EQ(DivBy(Currency::fromYen(1000), 3), Units(3333333));
    EXPECT_EQ(DivBy(Units(6), 4), Units(2));
    EXPECT_EQ(DivBy(Units(10), 4), Units(2));
    EXPECT_THROW(DivBy(Currency::fromYen(1), 0), std::domain_error);
}

TEST(Currency, ParsesTypedAmounts)
{
    constexpr auto Max = std::numeric_limits<std::int64_t>::max();
    constexpr auto Min = std::numeric_limits<std::int64_t>::min();
    struct Case { const char *text; std::int64_t units; };
    const Case cases[] = {
        {"1,234", 12340000},   {"1234.5", 12345000}, {"-12", -120000}, {"", 0},
        {"   ", 0},            {"\u3000 12 ", 120000}, {"+7", 70000},  {"5.", 50000},
        {".5", 5000},          {"-0", 0},            {"1,234,567.8", 12345678000},
        {"0.00005", 0},        {"0.00015", 2},       {"0.00025", 2},   {"0.000250001", 3},
        {"-0.00015", -2},      {"0.00004999", 0},
        {"922337203685477.5807", Max}, {"-922337203685477.5808", Min},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseCurrency(QString::fromUtf8(c.text)), Units(c.units));
    }
}

TEST(Currency, RejectsTextThatIsNoAmount)
{
    const char *const texts[] = {"abc", "12a", "1.2.3", "-", ".", ",123", "1 2", "１２",
                                 "--1", "922337203685477.5808", "99999999999999999999"};
    for (const char *text : texts) {
        SCOPED_TRACE(text);
        EXPECT_THROW(ParseCurrency(QString::fromUtf8(text)), std::invalid_argument);
    }
    try {
        ParseCurrency(QStringLiteral("abc"));
        FAIL();
    } catch (const std::invalid_argument &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("'abc' は正しい金額ではありません。"));
    }
}

TEST(Currency, PlainTextIsShortestDecimal)
{
    struct Case { std::int64_t units; const char *text; };
    const Case cases[] = {
        {12340000, "1234"}, {-5000, "-0.5"}, {0, "0"}, {1, "0.0001"},
        {12345678, "1234.5678"}, {-10, "-0.001"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CurrencyPlainText(Units(c.units)), QString::fromUtf8(c.text));
}

} // namespace
} // namespace qpn

// Failure messages show amounts in yen.
TEST(CurrencyPrinting, PrintsYen)
{
    EXPECT_EQ(::testing::PrintToString(qpn::Currency::fromUnits(12345000)), "1234.5 yen");
    EXPECT_EQ(::testing::PrintToString(qpn::Currency::fromYen(-3)), "-3 yen");
}
