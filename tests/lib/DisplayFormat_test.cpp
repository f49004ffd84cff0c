#include "lib/DisplayFormat.h"

#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

namespace qpn {
namespace {

Currency Yen(long double yen)
{
    return ToUnits(yen);
}

// Amounts go through the exact Currency path; the same rows are checked on
// the floating-point path, which must agree for these binary-exact values.
TEST(DisplayFormat, PictureFormatsOfAmounts)
{
    struct Case { const char *pattern; long double yen; const char *text; };
    const Case cases[] = {
        {"#,#", 1234567, "1,234,567"},   {"#,#", 0, ""},            {"#,#", -1234, "-1,234"},
        {"#,#", 1234.5, "1,235"},        {"#,#", -1234.5, "-1,235"}, {"#,#", 999.5, "1,000"},
        {"#,#", 0.25, ""},               {"#,#", -0.25, ""},        {"#,#", 123, "123"},
        {"#,###", 1234, "1,234"},        {"#,###", 0, ""},          {"#,###", -12, "-12"},
        {"#,0", 0, "0"},                 {"#,0", 1234567, "1,234,567"}, {"#,0", -5, "-5"},
        {"#,0", 0.25, "0"},              {"#,0", -1000, "-1,000"},
        {"0000#", 12, "00012"},          {"0000#", 0, "00000"},     {"0000#", 123456, "123456"},
        {"0000#", -12, "-00012"},
        {"#,#' 円'", 2500000, "2,500,000 円"}, {"#,#' 円'", 0, " 円"}, {"#,#' 円'", -5, "-5 円"},
        {"#' 年'", 10, "10 年"},         {"#' 年'", 0, " 年"},      {"#' 年'", -3, "-3 年"},
        {"#' ヶ月'", 6, "6 ヶ月"},       {"#' ヶ月'", 0, " ヶ月"},  {"#' ヶ月'", -6, "-6 ヶ月"},
        {"'［ '#,# '］'", 3, "［ 3 ］"}, {"'［ '#,# '］'", 1234, "［ 1,234 ］"},
        {"'［ '#,# '］'", 0, "［  ］"},  {"'［ '#,# '］'", -3, "-［ 3 ］"},
        {"#", 2024, "2024"},             {"#", 0, ""},
        {"0.##0", 0.0625, "0.063"},      {"0.##0", 0.5, "0.500"},   {"0.##0", 0, "0.000"},
        {"0.##0", -0.125, "-0.125"},     {"0.##0", 12, "12.000"},   {"0.##0", -0.0004, "0.000"},
        {"0.###0", 0.0625, "0.0625"},    {"0.###0", 0.5, "0.5000"}, {"0.###0", 0, "0.0000"},
        {"0.###0", -0.5, "-0.5000"},
        {"###,###,###,###,##0.####", 1234.5, "1,234.5"},
        {"###,###,###,###,##0.####", 0, "0"},
        {"###,###,###,###,##0.####", -0.0625, "-0.0625"},
        {"###,###,###,###,##0.####", 123456789012.25, "123,456,789,012.25"},
        {".00", 12.5, "12.50"},          {".00", 0.5, ".50"},      {"#.##", 0, ""},
        {"0;(0);'ゼロ'", 5, "5"},        {"0;(0);'ゼロ'", -5, "(5)"}, {"0;(0);'ゼロ'", 0, "ゼロ"},
        {"0;(0);'ゼロ'", -0.25, "ゼロ"}, {"0;;'ゼロ'", -5, "-5"},
        {"000-000-000;#;#", 98765000, "098-765-000"}, {"000-000-000;#;#", 0, ""},
        {"000-000-000;#;#", -1, "1"},    {"000-000-000", 1234567890, "1234-567-890"},
        {"\"a;b\"0", 7, "a;b7"},         {"", 1234.5, "1234.5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.pattern << " " << static_cast<double>(c.yen));
        const QString pattern = QString::fromUtf8(c.pattern);
        EXPECT_EQ(FormatNumber(pattern, Yen(c.yen)), QString::fromUtf8(c.text));
        EXPECT_EQ(FormatNumber(pattern, static_cast<double>(c.yen)), QString::fromUtf8(c.text));
    }
}

TEST(DisplayFormat, FloatsRoundFromTheirDecimalDigits)
{
    struct Case { const char *pattern; double value; const char *text; };
    const Case cases[] = {
        {"0.##0", 0.067, "0.067"},
        {"0.##0", 0.0005, "0.001"},       // 0.0005 is stored a hair above the half
        {"0.##0", 2.675, "2.675"},
        {"0.#0", 2.675, "2.67"},          // and 2.675 a hair below
        {"0.###0", -0.03125, "-0.0313"},  // an exact half goes away from zero
        {"#,#", 1e20, "1E20"},            // beyond extended precision: general form
        {"###,###,###,###,##0.####", -0.12345, "-0.1235"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatNumber(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.text));
    }
}

TEST(DisplayFormat, IntegerOverloadsAreExact)
{
    EXPECT_EQ(FormatNumber(QStringLiteral("0000#"), 12), QStringLiteral("00012"));
    EXPECT_EQ(FormatNumber(QStringLiteral("#,#"), qint64(1234567890123456789)),
              QStringLiteral("1,234,567,890,123,456,789"));
    EXPECT_EQ(FormatNumber(QStringLiteral("#,#"), std::numeric_limits<qint64>::min()),
              QStringLiteral("-9,223,372,036,854,775,808"));
    EXPECT_EQ(FormatNumber(QStringLiteral("#,#"), 0L), QString());
    EXPECT_EQ(FormatNumber(QString(), -42), QStringLiteral("-42"));
}

TEST(DisplayFormat, PrintfFormats)
{
    struct Case { const char *pattern; std::initializer_list<FormatArg> args; const char *text; };
    const Case cases[] = {
        {"%2.0n", {Yen(1234.5)}, "1,235"},   {"%2.0n", {Yen(0)}, " 0"},
        {"%2.0n", {Yen(5)}, " 5"},           {"%2.0n", {Yen(-1234)}, "-1,234"},
        {"%2.0n", {Yen(-0.5)}, "-1"},        {"%2.0n", {1234567.49}, "1,234,567"},
        {"%2.0n", {1234567}, "1,234,567"},   {"%.2n", {Yen(-1234.125)}, "-1,234.13"},
        {"%.4d", {12}, "0012"},              {"%.4d", {0}, "0000"},
        {"%.4d", {12345}, "12345"},          {"%.4d", {-12}, "-0012"},
        {"%.5d/%.5d", {12, 345}, "00012/00345"}, {"%.5d/%.5d", {0, 0}, "00000/00000"},
        {"%-5s|", {"ab"}, "ab   |"},          {"%.1s", {"ab"}, "a"},
        {"%5.1f", {3.14159}, "  3.1"},        {"%f", {Yen(2)}, "2.00"},
        {"%m", {Yen(2500000)}, "¥2,500,000"}, {"%x", {255}, "FF"},
        {"100%%", {}, "100%"},                {"%1:d %0:d", {1, 2}, "2 1"},
        {"%g", {0.1 + 0.2}, "0.3"},           {"%d件", {3}, "3件"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatPrintf(QString::fromUtf8(c.pattern), c.args), QString::fromUtf8(c.text));
    }
}

TEST(DisplayFormat, PrintfRejectsBadPatternsAndArguments)
{
    struct Case { const char *pattern; std::initializer_list<FormatArg> args; };
    const Case cases[] = {
        {"%d", {1.5}}, {"%d", {Yen(1)}}, {"%d", {}}, {"%q", {1}}, {"%", {1}},
        {"%s", {1}},   {"%n", {"x"}},    {"%.5d/%.5d", {1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_THROW(FormatPrintf(QString::fromUtf8(c.pattern), c.args), std::invalid_argument);
    }
}

TEST(DisplayFormat, PlainTexts)
{
    EXPECT_EQ(PlainText(42), QStringLiteral("42"));
    EXPECT_EQ(PlainText(qint64(-9000000000000000000)), QStringLiteral("-9000000000000000000"));
    EXPECT_EQ(PlainText(Yen(2500000)), QStringLiteral("2500000"));
    EXPECT_EQ(PlainText(Yen(-0.5)), QStringLiteral("-0.5"));
    EXPECT_EQ(PlainText(true), QStringLiteral("True"));
    EXPECT_EQ(PlainText(false), QStringLiteral("False"));

    struct Case { double value; const char *text; };
    const Case cases[] = {
        {0.1 + 0.2, "0.3"},   {1234.5, "1234.5"},   {-0.067, "-0.067"}, {0, "0"},
        {-0.0, "0"},          {1e20, "1E20"},       {1.5e-7, "1.5E-7"}, {0.00001, "0.00001"},
        {1e14, "100000000000000"}, {1e15, "1E15"}, {123456789012345678.0, "1.23456789012346E17"},
        {2.0 / 3.0, "0.666666666666667"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PlainText(c.value), QString::fromUtf8(c.text));
    }
}

TEST(DisplayFormat, CurrencyText)
{
    EXPECT_EQ(CurrencyText(Yen(2500000)), QStringLiteral("¥2,500,000"));
    EXPECT_EQ(CurrencyText(Yen(-5)), QStringLiteral("-¥5"));
    EXPECT_EQ(CurrencyText(Yen(0)), QStringLiteral("¥0"));
    EXPECT_EQ(CurrencyText(Yen(1234.5)), QStringLiteral("¥1,235"));
}

} // namespace
} // namespace qpn
