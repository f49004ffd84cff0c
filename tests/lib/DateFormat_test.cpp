#include "lib/DateFormat.h"

#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

TEST(DateFormat, EraFollowsTheCalendarsOwnBoundaries)
{
    struct Case { int y, m, d; const char *eraText; const char *name; int year; };
    const Case cases[] = {
        {1912, 7, 29, "明治45/07/29", "明治", 45},
        {1912, 7, 30, "大正01/07/30", "大正", 1},
        {1926, 12, 24, "大正15/12/24", "大正", 15},
        {1926, 12, 25, "昭和01/12/25", "昭和", 1},
        {1988, 12, 31, "昭和63/12/31", "昭和", 63},
        {1989, 1, 1, "昭和64/01/01", "昭和", 64},
        {1989, 1, 7, "昭和64/01/07", "昭和", 64},
        {1989, 1, 8, "平成01/01/08", "平成", 1},
        {2019, 4, 30, "平成31/04/30", "平成", 31},
        {2019, 5, 1, "令和01/05/01", "令和", 1},
        {2024, 6, 10, "令和06/06/10", "令和", 6},
        {1899, 12, 30, "明治32/12/30", "明治", 32},
    };
    for (const Case &c : cases) {
        const DateTime date = EncodeDate(c.y, c.m, c.d);
        SCOPED_TRACE(c.eraText);
        EXPECT_EQ(FormatDateTime(QStringLiteral("ggee/mm/dd"), date), QString::fromUtf8(c.eraText));
        EXPECT_EQ(EraName(date), QString::fromUtf8(c.name));
        EXPECT_EQ(EraShortName(date), QString::fromUtf8(c.name).left(1));
        EXPECT_EQ(EraYear(date), c.year);
        EXPECT_EQ(FormatDateTime(QStringLiteral("g e"), date),
                  QString::fromUtf8(c.name).left(1) + u' ' + QString::number(c.year));
    }
    // The time of day does not move a date into the next era.
    EXPECT_EQ(EraName(EncodeDate(2019, 4, 30) + 0.999), QStringLiteral("平成"));
}

TEST(DateFormat, Tokens)
{
    const DateTime date = EncodeDate(2024, 6, 9) + (13 * 3600 + 5 * 60 + 7) / 86400.0;
    struct Case { const char *pattern; const char *text; };
    const Case cases[] = {
        {"yyyy/mm/dd", "2024/06/09"},
        {"yy/mm/dd", "24/06/09"},
        {"yyyy/m/d", "2024/6/9"},
        {"YYYY-MM-DD", "2024-06-09"},
        {"hh:nn:ss", "13:05:07"},
        {"h:n:s", "13:5:7"},
        {"hh:mm", "13:05"},        // m after an hour is minutes
        {"hh'h'mm", "13h05"},
        {"m/d hh", "6/9 13"},
        {"ddd dddd", "日 日曜日"},
        {"ddddd", "2024/06/09"},
        {"dddddd", "2024年6月9日"},
        {"'yyyy'\"mm\"", "yyyymm"},  // quoted text is literal in both quotes
        {"yyyy''mm", "202406"},      // '' is an empty literal
        {"yyyy年m月", "2024年6月"},   // other characters are literal
        {"yyyy 'unclosed", "2024 unclosed"},
        {"xq", "xq"},
        {"", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(c.pattern), date), QString::fromUtf8(c.text));
    }
}

TEST(DateFormat, TimeOfNegativeDatesAndRoundingAtMidnight)
{
    EXPECT_EQ(FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn"), -1.75),
              QStringLiteral("1899/12/29 18:00"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("yyyy/mm/dd hh:nn:ss.zzz"), 45351.9999999999),
              QStringLiteral("2024/02/29 23:59:59.999"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("yyyy/mm/dd"), 0), QStringLiteral("1899/12/30"));
}

TEST(DateFormat, PeriodCaptionPatterns)
{
    const DateTime start = EncodeDate(2019, 4, 1);
    const DateTime end = EncodeDate(2020, 3, 31);
    const DateTime october = EncodeDate(2024, 10, 1);
    struct Case { QString pattern; DateTime date; const char *text; };
    const Case cases[] = {
        {"\"(自)\"yyyy\"年\"" + QStringLiteral(" m") + "\"月\"" + " d" + "\"日\"", start,
         "(自)2019年 4月 1日"},
        {"\"(至)\"yyyy\"年\"" + QStringLiteral(" m") + "\"月\"" + "d" + "\"日\"", end,
         "(至)2020年 3月31日"},
        {"\"(自)\"yyyy\"年\"" + QStringLiteral("m") + "\"月\"" + " d" + "\"日\"", october,
         "(自)2024年10月 1日"},
        {"\"(自)\"ggee\"年\"" + QStringLiteral(" m") + "\"月\"" + " d" + "\"日\"", start,
         "(自)平成31年 4月 1日"},
        {QStringLiteral("yyyy'年'm'月'd'日'"), end, "2020年3月31日"},
        {QStringLiteral("gg''ee'年'm'月'd'日'"), end, "令和02年3月31日"},
        {QStringLiteral("yyyy' 年 ' mm' 月 'dd' 日 '"), start, "2019 年  04 月 01 日 "},
        {QStringLiteral("gg ee\"年\" mm\"月\" dd\"日\""), EncodeDate(1994, 5, 12),
         "平成 06年 05月 12日"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern.toStdString());
        EXPECT_EQ(FormatDateTime(c.pattern, c.date), QString::fromUtf8(c.text));
    }
}

TEST(DateFormat, ShortDatePatternIsProcessWide)
{
    EXPECT_EQ(ShortDatePattern(), QStringLiteral("yyyy/mm/dd"));
    EXPECT_EQ(DateToText(EncodeDate(2024, 6, 10)), QStringLiteral("2024/06/10"));
    SetShortDatePattern(QStringLiteral("yy.m.d"));
    EXPECT_EQ(DateToText(EncodeDate(2024, 6, 10)), QStringLiteral("24.6.10"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddddd"), EncodeDate(2024, 6, 10)),
              QStringLiteral("24.6.10"));
    SetShortDatePattern(QStringLiteral("yyyy/mm/dd"));
}

} // namespace
} // namespace qpn
