// Year rows of the straight-line and declining-balance methods, asset in,
// book values out.
#include "tests/depreciation/DepreciationFixture.h"

namespace qpn::test {
namespace {

struct YearCase
{
    const char *name;
    int method = 0;
    DateTime bought = 0;
    std::int64_t price = 1000000;
    double life = 10;
    double residual = 0;
    int memo = 1;
    int firstYear = 0;
    int fiscalYear = 2020;
    int rounding = 1;
    int residualMethod = 0;
    std::vector<Book> rows;
    bool leadingRowsOnly = false;
};

class MethodYears : public PassTest
{
protected:
    std::vector<Book> calculate(const YearCase &c)
    {
        setFiscalYear(c.fiscalYear);
        m_options.RoundingMode = c.rounding;
        m_options.ResidualMethod = c.residualMethod;
        AssetData data;
        data.asset = MakeAsset(1, c.method, c.bought, c.price, c.life);
        data.asset.残率 = c.residual;
        data.asset.yobi3_ID = c.memo;
        data.asset.houhou2_ID = c.firstYear;
        EXPECT_EQ(run(data), AssetPassEnd::Completed) << c.name;
        std::vector<Book> books = BookOf(data.rows);
        if (c.leadingRowsOnly && books.size() > c.rows.size())
            books.resize(c.rows.size());
        return books;
    }
};

// The years before 2005 of the 1995 asset with a 10 % residual, the same under every variant.
std::vector<Book> Rows1995To2004()
{
    std::vector<Book> rows{{1995, 0, 75000, 925000}};
    for (int year = 1996; year <= 2004; ++year) {
        const std::int64_t opening = rows.back().closing;
        rows.push_back({year, opening, 90000, opening - 90000});
    }
    return rows;
}

std::vector<Book> Join(std::vector<Book> head, const std::vector<Book> &tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST_F(MethodYears, StraightLine)
{
    const YearCase cases[] = {
        {.name = "six months then the memorandum yen", .bought = D(2015, 10, 1), .life = 5,
         .rows = {{2015, 0, 100000, 900000}, {2016, 900000, 200000, 700000}, {2017, 700000, 200000, 500000},
                  {2018, 500000, 200000, 300000}, {2019, 300000, 200000, 100000}, {2020, 100000, 99999, 1}}},
        {.name = "yearly amount rounded half up", .bought = D(2018, 4, 1), .price = 200000, .life = 3,
         .rounding = 0,
         .rows = {{2018, 0, 66667, 133333}, {2019, 133333, 66667, 66666}, {2020, 66666, 66665, 1}}},
        {.name = "yearly amount truncated runs a year longer", .bought = D(2018, 4, 1), .price = 200000,
         .life = 3,
         .rows = {{2018, 0, 66666, 133334}, {2019, 133334, 66666, 66668}, {2020, 66668, 66666, 2},
                  {2021, 2, 1, 1}}},
        {.name = "no depreciation in the acquisition year", .bought = D(2015, 10, 1), .life = 5, .firstYear = 1,
         .rows = {{2015, 0, 0, 1000000}, {2016, 1000000, 200000, 800000}, {2017, 800000, 200000, 600000},
                  {2018, 600000, 200000, 400000}, {2019, 400000, 200000, 200000},
                  {2020, 200000, 199999, 1}}},
        {.name = "[ｱ] five equal write-downs after the 5 % floor", .bought = D(1995, 6, 15), .residual = 0.1,
         .fiscalYear = 2010, .residualMethod = 0,
         .rows = Join(Rows1995To2004(),
                      {{2005, 115000, 15000, 100000}, {2006, 100000, 0, 100000}, {2007, 100000, 50000, 50000},
                       {2008, 50000, 10000, 40000}, {2009, 40000, 10000, 30000}, {2010, 30000, 10000, 20000},
                       {2011, 20000, 10000, 10000}, {2012, 10000, 9999, 1}})},
        {.name = "[ｲ] the residual dropped from 2007", .bought = D(1995, 6, 15), .residual = 0.1,
         .fiscalYear = 2010, .residualMethod = 1,
         .rows = Join(Rows1995To2004(),
                      {{2005, 115000, 15000, 100000}, {2006, 100000, 0, 100000}, {2007, 100000, 90000, 10000},
                       {2008, 10000, 9999, 1}, {2009, 1, 0, 1}, {2010, 1, 0, 1}})},
        {.name = "[ｳ] stays at 10 %", .bought = D(1995, 6, 15), .residual = 0.1, .fiscalYear = 2010,
         .residualMethod = 2,
         .rows = Join(Rows1995To2004(),
                      {{2005, 115000, 15000, 100000}, {2006, 100000, 0, 100000}, {2007, 100000, 0, 100000},
                       {2008, 100000, 0, 100000}, {2009, 100000, 0, 100000}, {2010, 100000, 0, 100000}})},
    };
    for (const YearCase &c : cases)
        EXPECT_EQ(calculate(c), c.rows) << c.name;
}

TEST_F(MethodYears, DecliningBalance)
{
    const YearCase cases[] = {
        {.name = "old method: 5 % floor, then five write-downs to 1 yen", .method = 1, .bought = D(2000, 4, 1),
         .life = 6, .fiscalYear = 2015,
         .rows = {{2000, 0, 319000, 681000}, {2001, 681000, 217239, 463761}, {2002, 463761, 147939, 315822},
                  {2003, 315822, 100747, 215075}, {2004, 215075, 68608, 146467}, {2005, 146467, 46722, 99745},
                  {2006, 99745, 31818, 67927}, {2007, 67927, 17927, 50000}, {2008, 50000, 10000, 40000},
                  {2009, 40000, 10000, 30000}, {2010, 30000, 10000, 20000}, {2011, 20000, 10000, 10000},
                  {2012, 10000, 9999, 1}, {2013, 1, 0, 1}, {2014, 1, 0, 1}, {2015, 1, 0, 1}}},
        {.name = "250 %: switch to the revised rate", .method = 1, .bought = D(2008, 4, 1),
         .rows = {{2008, 0, 250000, 750000}, {2009, 750000, 187500, 562500}, {2010, 562500, 140625, 421875},
                  {2011, 421875, 105468, 316407}, {2012, 316407, 79101, 237306}, {2013, 237306, 59326, 177980},
                  {2014, 177980, 44495, 133485}, {2015, 133485, 44583, 88902}, {2016, 88902, 44583, 44319},
                  {2017, 44319, 44318, 1}, {2018, 1, 0, 1}, {2019, 1, 0, 1}, {2020, 1, 0, 1}}},
        {.name = "250 %: six months in the acquisition year", .method = 1, .bought = D(2008, 10, 1),
         .rows = {{2008, 0, 125000, 875000}}, .leadingRowsOnly = true},
        {.name = "200 %: the rate's amount equal to the guarantee does not switch", .method = 1,
         .bought = D(2013, 4, 1), .fiscalYear = 2025,
         .rows = {{2013, 0, 200000, 800000}, {2014, 800000, 160000, 640000}, {2015, 640000, 128000, 512000},
                  {2016, 512000, 102400, 409600}, {2017, 409600, 81920, 327680}, {2018, 327680, 65536, 262144},
                  {2019, 262144, 65536, 196608}, {2020, 196608, 65536, 131072}, {2021, 131072, 65536, 65536},
                  {2022, 65536, 65535, 1}, {2023, 1, 0, 1}, {2024, 1, 0, 1}, {2025, 1, 0, 1}}},
        {.name = "life 2: the whole base at once, then -1 to the memorandum yen", .method = 1,
         .bought = D(2010, 4, 1), .price = 100000, .life = 2, .fiscalYear = 2012,
         .rows = {{2010, 0, 100000, 0}, {2011, 0, -1, 1}, {2012, 1, 0, 1}}},
    };
    for (const YearCase &c : cases)
        EXPECT_EQ(calculate(c), c.rows) << c.name;
}

TEST_F(MethodYears, FloorStopsAtTheMemorandumValue)
{
    const YearCase cases[] = {
        {.name = "memorandum 0: the year takes all that is left", .bought = D(2016, 4, 1), .price = 100000,
         .life = 2, .memo = 0,
         .rows = {{2016, 0, 50000, 50000}, {2017, 50000, 50000, 0}, {2018, 0, 0, 0}, {2019, 0, 0, 0},
                  {2020, 0, 0, 0}}},
        {.name = "memorandum 1: rows carry 1 yen up to the current year", .bought = D(2016, 4, 1),
         .price = 100000, .life = 2,
         .rows = {{2016, 0, 50000, 50000}, {2017, 50000, 49999, 1}, {2018, 1, 0, 1}, {2019, 1, 0, 1},
                  {2020, 1, 0, 1}}},
    };
    for (const YearCase &c : cases)
        EXPECT_EQ(calculate(c), c.rows) << c.name;
}

TEST_F(MethodYears, StraightLineRateShown)
{
    struct Case { const char *name; double life; int basis; DateTime bought; double rate; };
    const Case cases[] = {
        {"life 3 by the life", 3, 0, D(2018, 4, 1), 0.333},
        {"life 3 from the table", 3, 1, D(2018, 4, 1), 0.334},
        {"life 3 from the old table", 3, 1, D(2005, 4, 1), 0.333},
        {"life 150 by the life, no cap", 150, 0, D(2018, 4, 1), 0.007},
        {"life 150 from the table reads life 100", 150, 1, D(2018, 4, 1), 0.01},
    };
    for (const Case &c : cases) {
        m_options.StraightLineBasis = c.basis;
        AssetData data;
        data.asset = MakeAsset(1, 0, c.bought, 1000000, c.life);
        run(data);
        EXPECT_EQ(data.asset.償却率, c.rate) << c.name;
    }
}

} // namespace
} // namespace qpn::test
