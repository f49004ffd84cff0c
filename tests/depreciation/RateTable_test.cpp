#include "depreciation/RateTable.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace qpn {
namespace {

RateTable Loaded()
{
    RateTable table;
    table.load(RateTableText());
    return table;
}

TEST(RateTable, TextHasHeaderNinetyNineLivesAndEmptyLastLine)
{
    const QStringList lines = RateTableText().split(u'\n');
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines.first(), QStringLiteral("耐用年数,定額法,定率法,改訂償却率,補償率,旧定額法,旧定率法,24年定率,改訂償却率,補償率"));
    EXPECT_TRUE(lines.last().isEmpty());
}

TEST(RateTable, EveryRowHoldsItsOwnLife)
{
    const RateTable table = Loaded();
    for (int row = 0; row <= 98; ++row)
        EXPECT_EQ(table.value(row, RateTable::Life), row + 2) << "row " << row;
}

TEST(RateTable, LooksUpStoredValues)
{
    struct Case { const char *what; int column; int life; double rate; };
    const Case cases[] = {
        {"life 100 straight-line", RateTable::StraightLine, 100, 0.01},
        {"life 100 250 % rate", RateTable::Declining250, 100, 0.025},
        {"life 100 250 % revised", RateTable::Declining250Revised, 100, 0.026},
        {"life 100 250 % guarantee", RateTable::Declining250Guarantee, 100, 0.00546},
        {"life 150 reads life 100", RateTable::Declining250Guarantee, 150, 0.00546},
        {"life 150 old straight-line", RateTable::OldStraightLine, 150, 0.01},
        {"life 2 250 % rate", RateTable::Declining250, 2, 1},
        {"life 2 250 % revised", RateTable::Declining250Revised, 2, 0},
        {"life 2 250 % guarantee", RateTable::Declining250Guarantee, 2, 0},
        {"life 2 200 % rate", RateTable::Declining200, 2, 1},
        {"life 2 200 % revised", RateTable::Declining200Revised, 2, 0},
        {"life 2 200 % guarantee", RateTable::Declining200Guarantee, 2, 0},
        {"life 3 250 % revised", RateTable::Declining250Revised, 3, 1},
        {"life 3 250 % guarantee", RateTable::Declining250Guarantee, 3, 0.02789},
        {"life 72 200 % guarantee", RateTable::Declining200Guarantee, 72, 0.01006},
        {"life 73 200 % guarantee", RateTable::Declining200Guarantee, 73, 0.01063},
        {"life 6 old declining", RateTable::OldDeclining, 6, 0.319},
        {"life 10 200 % guarantee", RateTable::Declining200Guarantee, 10, 0.06552},
        {"column 10 is empty", 10, 10, 0},
    };
    const RateTable table = Loaded();
    for (const Case &c : cases)
        EXPECT_EQ(table.RateFor(c.column, c.life), c.rate) << c.what;
}

TEST(RateTable, UnfilledCellsReadZero)
{
    const RateTable table = Loaded();
    for (int row = 0; row < RateTable::RowCount; ++row)
        EXPECT_EQ(table.value(row, 10), 0) << "row " << row;
    for (int column = 0; column < RateTable::ColumnCount; ++column) {
        EXPECT_EQ(table.value(99, column), 0);
        EXPECT_EQ(table.value(100, column), 0);
    }
    EXPECT_EQ(RateTable().RateFor(RateTable::StraightLine, 10), 0); // before loading
}

TEST(RateTable, GenerationFollowsAcquisitionDate)
{
    struct Case { int year, month, day; int generation; };
    const Case cases[] = {
        {1995, 6, 15, 1}, {2007, 3, 31, 1}, {2007, 4, 1, 2},
        {2012, 3, 31, 2}, {2012, 4, 1, 3}, {2025, 1, 1, 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RateGeneration(EncodeDate(c.year, c.month, c.day)), c.generation)
            << c.year << "/" << c.month << "/" << c.day;
}

} // namespace
} // namespace qpn
