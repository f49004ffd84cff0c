#include "lib/DateText.h"

#include "lib/DateFormat.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

QString U(const char16_t *text)
{
    return QString::fromUtf16(text);
}

class FixedDay : public DateEntryEnvironment
{
public:
    explicit FixedDay(int year = 2024, int month = 6, int day = 10) : m_today(EncodeDate(year, month, day)) {}
    DateTime today() const override { return m_today; }
    void beep() override { ++beeps; }
    int beeps = 0;

private:
    DateTime m_today;
};

const QString WesternPattern = QStringLiteral("yyyy/mm/dd");
const QString EraPattern = QStringLiteral("gg ee/mm/dd");
const QString EraLongPattern = U(u"gg ee\"年\" mm\"月\" dd\"日\"");

TEST(DateText, NumericTextKeepsDigitsTheFirstPointAndAnyMinus)
{
    struct Case { const char16_t *typed; const char *expected; };
    const Case cases[] = {
        {u"", "0"}, {u"-", "0"}, {u"abc", "0"}, {u"- 1 2", "-12"}, {u"12-", "-12"},
        {u"9,876.5", "9876.5"}, {u"1.2.3", "1.23"}, {u"¥1,000", "1000"},
        {u"１２3", "3"}, // full-width digits are two-byte characters, not digits
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumericText(U(c.typed)), QString::fromLatin1(c.expected)) << c.expected;
}

TEST(DateText, NormalDateTextBringsMonthAndDayIntoRange)
{
    struct Case { int year, month, day; const char *expected; };
    const Case cases[] = {
        {2024, 2, 31, "2024/02/29"}, {2023, 2, 29, "2023/02/28"}, {2023, 13, 1, "2024/01/01"},
        {2024, 14, 1, "2025/02/01"}, {2024, 0, 5, "2023/12/05"}, {2024, -12, 5, "2022/12/05"},
        {2024, 4, 0, "2024/04/30"}, // a day that does not convert falls back to the month's end
        {2024, 6, 10, "2024/06/10"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NormalDateText(c.year, c.month, c.day), QString::fromLatin1(c.expected)) << c.expected;
    EXPECT_EQ(MonthEndText(QStringLiteral("2023/12/05")), QStringLiteral("2023/12/31"));
    EXPECT_EQ(MonthEndText(QStringLiteral("2024/2")), QStringLiteral("2024/02/29"));
    EXPECT_EQ(MonthEndText(QStringLiteral("2024")), QString());
}

TEST(DateText, FixShowa64ShowsTheFirstDaysOf1989AsHeisei1)
{
    struct Case { const char16_t *formatted; const char16_t *pattern; const char16_t *expected; };
    const Case cases[] = {
        {u"昭和64/01/05", u"gg ee/mm/dd", u"平成01/01/05"},
        {u"昭和64/01/05", u"gg e/mm/dd", u"平成1/01/05"},
        {u"昭64.01.05", u"g ee.mm.dd", u"平01.01.05"},
        {u"昭和63/12/31", u"gg ee/mm/dd", u"昭和63/12/31"},
        {u"平成06/04/01", u"gg ee/mm/dd", u"平成06/04/01"},
        {u"1964 昭和39", u"yyyy gg ee", u"1964 昭和39"}, // a 64 before the era is no era year
    };
    for (const Case &c : cases)
        EXPECT_EQ(FixShowa64(U(c.formatted), U(c.pattern)), U(c.expected)) << U(c.formatted).toStdString();
}

TEST(DateText, EraFieldsShowTheLastDaysOfShowaAsHeisei)
{
    struct Case { int year, month, day; const char16_t *expected; };
    const Case cases[] = {
        {1988, 12, 31, u"昭和 63/12/31"},
        {1989, 1, 7, u"平成 01/01/07"},
        {1989, 1, 8, u"平成 01/01/08"},
        {2019, 5, 1, u"令和 01/05/01"},
    };
    for (const Case &c : cases) {
        const QString shown = FormatDateTime(EraPattern, EncodeDate(c.year, c.month, c.day));
        EXPECT_EQ(FixShowa64(shown, EraPattern), U(c.expected)) << shown.toStdString();
    }
}

TEST(DateText, BuildDateCorrectsImpossibleDatesWithABeep)
{
    struct Case { int year, month, day; const char *expected; bool beep; };
    const Case cases[] = {
        {2024, 4, 31, "2024/04/30", true},
        {2023, 2, 30, "2023/02/28", true},
        {2024, 2, 31, "2024/02/29", true},
        {2024, 13, 5, "2024/12/05", true},
        {2024, 5, 32, "2024/05/31", true},
        {2024, 0, 0, "2024/01/01", false}, // missing parts are no error
        {1868, 1, 1, "1868/01/01", false},
        {2087, 12, 31, "2087/12/31", false},
        {1867, 12, 31, "1867/12/31", true},
        {2100, 1, 1, "1867/12/31", true},
        {0, 0, 0, "1867/12/31", false},
    };
    for (const Case &c : cases) {
        FixedDay environment;
        const BuiltDate built = BuildDate(c.year, c.month, c.day, environment);
        EXPECT_EQ(FormatDateTime(WesternPattern, built.date), QString::fromLatin1(c.expected)) << c.expected;
        EXPECT_EQ(QString::asprintf("%04d/%02d/%02d", built.year, built.month, built.day),
                  QString::fromLatin1(c.expected));
        EXPECT_EQ(environment.beeps, c.beep ? 1 : 0) << c.expected;
    }
    EXPECT_EQ(EncodeDate(1867, 12, 31), NoDateMarker);
    EXPECT_EQ(NoDateMarkerText(), QStringLiteral("1867/12/31"));
}

struct ReadCase
{
    const char16_t *typed;
    const char *western;
    const char *era;
    bool beep = false;
    int todayMonth = 6;
};

const ReadCase ReadCases[] = {
    {u"H6/5/12", "1994/05/12", "1994/05/12"},
    {u"S64.1.5", "1989/01/05", "1989/01/05"},
    {u"6/5/12", "2006/05/12", "1994/05/12"},
    {u"95/5/12", "1995/05/12", "2083/05/12"},
    {u"0/5/12", "2000/05/12", "1988/05/12"},
    {u"H2012/5/12", "2012/05/12", "2012/05/12"},
    {u"20240512", "2024/05/12", "2024/05/12"},
    {u"240512", "2024/05/12", "2012/05/12"},
    {u"0512", "2024/05/12", "2024/05/12"},
    {u"H060512", "1994/05/12", "1994/05/12"},
    {u"5/12", "2024/05/12", "2024/05/12"},
    {u"12", "2024/06/12", "2024/06/12"},
    {u"-25", "2024/05/25", "2024/05/25"},
    {u"/25", "2024/07/25", "2024/07/25"},
    {u"--25", "2024/05/25", "2024/05/25"},
    {u"--5", "2024/06/05", "2024/06/05"},
    {u"//25", "2024/06/25", "2024/06/25"},
    {u"//5", "2024/07/05", "2024/07/05"},
    {u"//10", "2024/06/10", "2024/06/10"}, // today itself is not before today
    {u"/5/12", "2025/05/12", "2025/05/12"},
    {u"--5/12", "2024/05/12", "2024/05/12"},
    {u"--7/12", "2023/07/12", "2023/07/12"},
    {u"-25", "2023/12/25", "2023/12/25", false, 1},  // month moves cross the year end
    {u"/25", "2025/01/25", "2025/01/25", false, 12},
    {u"R2/1/1", "2020/01/01", "2020/01/01"},
    {u"R1/5/1", "2019/05/01", "2019/05/01"},
    {u"令和2年1月1日", "2020/01/01", "2020/01/01"},
    {u"平成6年5月12日", "1994/05/12", "1994/05/12"},
    {u"Ｈ6.5.12", "1994/05/12", "1994/05/12"},
    {u"Ｈ６．５．１２", "2024/06/10", "2024/06/10"}, // full-width digits are not read
    {u"M45/7/30", "1912/07/30", "1912/07/30"},
    {u"T15/12/25", "1926/12/25", "1926/12/25"},
    {u"2024/4/31", "2024/04/30", "2024/04/30", true},
    {u"2100/1/1", "1867/12/31", "1867/12/31", true},
    {u"", "1867/12/31", "1867/12/31"},
};

TEST(DateText, ReadDateTextInWesternAndEraModes)
{
    for (const ReadCase &c : ReadCases) {
        const QString typed = U(c.typed);
        struct Mode { const QString &pattern; DateReadMode mode; const char *expected; };
        const Mode modes[] = {
            {WesternPattern, DateReadMode::Western, c.western},
            {EraPattern, DateReadMode::Era, c.era},
            {EraLongPattern, DateReadMode::Era, c.era},
        };
        for (const Mode &m : modes) {
            FixedDay environment(2024, c.todayMonth, 10);
            EXPECT_EQ(ReadDateText(typed, m.pattern, m.mode, environment), QString::fromLatin1(m.expected))
                << typed.toStdString() << " with " << m.pattern.toStdString();
            EXPECT_EQ(environment.beeps, c.beep ? 1 : 0) << typed.toStdString();
        }
    }
}

TEST(DateText, ReadDateTextWithoutADayInThePattern)
{
    struct Case { const char *typed; const char *expected; };
    const Case cases[] = {{"5", "2024/05/01"}, {"-5", "2023/05/01"}, {"/5", "2025/05/01"}, {"2023/11", "2023/11/01"}};
    for (const Case &c : cases) {
        FixedDay environment;
        EXPECT_EQ(ReadDateText(QString::fromLatin1(c.typed), QStringLiteral("yyyy/mm"), DateReadMode::Western,
                               environment),
                  QString::fromLatin1(c.expected))
            << c.typed;
    }
}

} // namespace
} // namespace qpn
