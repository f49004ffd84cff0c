#include "lib/DateValue.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace qpn {
namespace {

TEST(DateValue, EncodesAndDecodesDayNumbers)
{
    struct Case { int y, m, d; DateTime day; };
    const Case cases[] = {
        {1899, 12, 30, 0},        {1900, 1, 1, 2},           {2000, 1, 1, 36526},
        {2024, 2, 29, 45351},     {1867, 12, 31, -11687},    {1, 1, 1, -693593},
        {9999, 12, 31, 2958465},  {1989, 1, 8, 32516},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day);
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.day);
        int y = 0, m = 0, d = 0;
        DecodeDate(c.day, y, m, d);
        EXPECT_EQ(y, c.y);
        EXPECT_EQ(m, c.m);
        EXPECT_EQ(d, c.d);
        EXPECT_EQ(YearOf(c.day) * 10000 + MonthOf(c.day) * 100 + DayOf(c.day),
                  c.y * 10000 + c.m * 100 + c.d);
    }
}

TEST(DateValue, RejectsDaysThatDoNotExist)
{
    struct Case { int y, m, d; };
    const Case cases[] = {{2023, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
                          {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {1900, 2, 29}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << '/' << c.m << '/' << c.d);
        DateTime out = 123;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, out));
        EXPECT_EQ(out, 123);
        EXPECT_THROW(EncodeDate(c.y, c.m, c.d), std::invalid_argument);
    }
}

TEST(DateValue, FractionIsTimeOfDayOnBothSidesOfZero)
{
    // -1.5 is noon of 29 December 1899, not of the 28th.
    int y = 0, m = 0, d = 0;
    DecodeDate(-1.5, y, m, d);
    EXPECT_EQ(d, 29);
    DecodeDate(-0.25, y, m, d);
    EXPECT_EQ(d, 30);
    DecodeDate(45351.99, y, m, d);
    EXPECT_EQ(d, 29);
}

TEST(DateValue, LeapYearsAndMonthLengths)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 12), 31);
    EXPECT_EQ(DaysInMonth(2024, 13), 0);
}

TEST(DateValue, EndOfMonthAndIncMonth)
{
    EXPECT_EQ(EndOfMonth(EncodeDate(2024, 2, 10)), EncodeDate(2024, 2, 29));
    EXPECT_EQ(EndOfMonth(EncodeDate(2023, 2, 1)), EncodeDate(2023, 2, 28));
    EXPECT_EQ(EndOfMonth(EncodeDate(2024, 12, 31)), EncodeDate(2024, 12, 31));

    struct Case { DateTime from; int months; DateTime to; };
    const Case cases[] = {
        {EncodeDate(2024, 1, 31), 1, EncodeDate(2024, 2, 29)},
        {EncodeDate(2024, 3, 31), -1, EncodeDate(2024, 2, 29)},
        {EncodeDate(2023, 12, 15), 1, EncodeDate(2024, 1, 15)},
        {EncodeDate(2024, 1, 15), -13, EncodeDate(2022, 12, 15)},
        {EncodeDate(2024, 5, 31), 12, EncodeDate(2025, 5, 31)},
        {EncodeDate(2024, 5, 31) + 0.5, 1, EncodeDate(2024, 6, 30) + 0.5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " + " << c.months);
        EXPECT_EQ(IncMonth(c.from, c.months), c.to);
    }
}

TEST(DateValue, NendoComparesMonthsOnly)
{
    struct Case { DateTime date; int start; int nendo; };
    const Case cases[] = {
        {EncodeDate(2024, 3, 31), 4, 2023},  {EncodeDate(2024, 4, 1), 4, 2024},
        {EncodeDate(2024, 12, 31), 4, 2024}, {EncodeDate(2025, 1, 1), 4, 2024},
        {EncodeDate(2024, 9, 30), 10, 2023}, {EncodeDate(2024, 10, 1), 10, 2024},
        {EncodeDate(2024, 1, 1), 1, 2024},   {EncodeDate(2024, 12, 31), 1, 2024},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_EQ(Nendo(c.date, c.start), c.nendo);
    }
}

TEST(DateValue, QDateConversionsAndNullDate)
{
    EXPECT_EQ(FromQDate(QDate(2024, 6, 10)), EncodeDate(2024, 6, 10));
    EXPECT_EQ(ToQDate(EncodeDate(1867, 12, 31)), QDate(1867, 12, 31));
    EXPECT_EQ(FromQDate(QDate()), 0);
}

TEST(DateValue, TodayCanBeFixed)
{
    SetTodayProvider([] { return EncodeDate(2024, 6, 10); });
    EXPECT_EQ(Today(), EncodeDate(2024, 6, 10));
    SetTodayProvider({});
    EXPECT_NEAR(Today(), FromQDate(QDate::currentDate()), 1);
}

} // namespace
} // namespace qpn
