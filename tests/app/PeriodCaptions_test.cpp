#include "app/PeriodCaptions.h"
#include "lib/DateFormat.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

struct Case
{
    const char *name;
    QDate start, end;
    int era = 0;
    int mode = 0;
    const char *printedStart;
    const char *printedEnd;
};

TEST(PeriodCaptions, PrintsThePeriodAsTheReportsShowIt)
{
    const Case cases[] = {
        {"April start, Western", {2019, 4, 1}, {2020, 3, 31}, 0, 0, "(自)2019年 4月 1日", "(至)2020年 3月31日"},
        {"mode 1 end is plain", {2019, 4, 1}, {2020, 3, 31}, 0, 1, "(自)2019年 4月 1日", "2020年3月31日"},
        {"October start", {2019, 10, 1}, {2020, 9, 30}, 0, 0, "(自)2019年10月 1日", "(至)2020年 9月30日"},
        {"10 December start has no space", {2019, 12, 10}, {2020, 12, 9}, 0, 0, "(自)2019年12月10日",
         "(至)2020年12月 9日"},
        {"era display 2 prints Western", {2019, 4, 1}, {2020, 3, 31}, 2, 0, "(自)2019年 4月 1日",
         "(至)2020年 3月31日"},
        {"era", {2019, 4, 1}, {2020, 3, 31}, 1, 0, "(自)平成31年 4月 1日", "(至)令和02年 3月31日"},
        {"era, mode 1", {2019, 4, 1}, {2020, 3, 31}, 1, 1, "(自)平成31年 4月 1日", "令和02年3月31日"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const DateTime start = FromQDate(c.start);
        const DateTime end = FromQDate(c.end);
        const PeriodFormats formats = PeriodCaptionFormats(start, end, c.era, c.mode);
        EXPECT_EQ(FormatDateTime(formats.start, start), QString::fromUtf8(c.printedStart));
        EXPECT_EQ(FormatDateTime(formats.end, end), QString::fromUtf8(c.printedEnd));
    }
}

TEST(PeriodCaptions, FormatsAreBuiltFromQuotedPiecesAndTokens)
{
    const DateTime start = FromQDate({2019, 10, 1});
    const DateTime end = FromQDate({2020, 9, 30});
    const PeriodFormats western = PeriodCaptionFormats(start, end, 0, 0);
    EXPECT_EQ(western.start, QStringLiteral("\"(自)\"yyyy\"年\"m\"月\" d\"日\""));
    EXPECT_EQ(western.end, QStringLiteral("\"(至)\"yyyy\"年\" m\"月\"d\"日\""));
    EXPECT_EQ(PeriodCaptionFormats(start, end, 1, 1).end, QStringLiteral("gg''ee'年'm'月'd'日'"));
    EXPECT_EQ(FormatDateTime(InitialPeriodFormat(), start), QStringLiteral("2019 年  10 月 01 日 "));
}

} // namespace
} // namespace qpn
