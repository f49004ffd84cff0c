// The subsidy pass: straight-line drawdown to 0 or 10 %, proportional
// drawdown with the transition year, entered balances and the summary.
#include "tests/depreciation/DepreciationFixture.h"

namespace qpn::test {
namespace {

class SubsidyPass : public PassTest
{
protected:
    // 1 000 000 bought 1 October 2015, life 10, subsidy 300 000: the asset
    // depreciates 50 000 in 2015, 100 000 a year, and 49 999 in 2025.
    AssetData tenYearAsset()
    {
        AssetData data;
        data.asset = MakeAsset(3, 0, D(2015, 10, 1), 1000000, 10);
        data.asset.国補積立金 = Y(300000);
        return data;
    }

    // Stored, fixed rows for 2016 to 2019 of an asset bought 1 April 2016.
    static AssetData withFixedPastRows(AssetData data)
    {
        for (int sub = 0; sub < 4; ++sub) {
            data.rows.push_back(StoredRow(data.asset.ID, sub, 2016 + sub));
            data.rows.back().F1 = 1;
        }
        return data;
    }
};

std::vector<SubsidyBook> DownToZero()
{
    std::vector<SubsidyBook> rows{{2015, 0, 15000, 285000, 0, 15000}};
    for (int year = 2016; year <= 2024; ++year) {
        const SubsidyBook &last = rows.back();
        rows.push_back({year, last.closing, 30000, last.closing - 30000, last.closingTotal, last.closingTotal + 30000});
    }
    rows.push_back({2025, 15000, 15000, 0, 285000, 300000});
    return rows;
}

std::vector<SubsidyBook> DownToTenPercent()
{
    std::vector<SubsidyBook> rows{{2015, 0, 13500, 286500, 0, 13500}};
    for (int year = 2016; year <= 2024; ++year) {
        const SubsidyBook &last = rows.back();
        rows.push_back({year, last.closing, 27000, last.closing - 27000, last.closingTotal, last.closingTotal + 27000});
    }
    rows.push_back({2025, 43500, 13500, 30000, 256500, 270000});
    return rows;
}

TEST_F(SubsidyPass, DrawsDownByRule)
{
    struct Case { const char *name; int rule; std::vector<SubsidyBook> rows; };
    const Case cases[] = {
        {"straight-line to 0", 0, DownToZero()},
        {"straight-line to 10 %", 1, DownToTenPercent()},
        // 30 % of each year's depreciation; the last row releases the rest.
        {"in proportion to depreciation", 2, DownToZero()},
    };
    for (const Case &c : cases) {
        m_options.RoundingMode = 1;
        m_options.SubsidyResidual = c.rule;
        AssetData data = tenYearAsset();
        run(data);
        EXPECT_EQ(SubsidyBookOf(data.rows), c.rows) << c.name;
        const SubsidyBook current = c.rows.at(5);
        EXPECT_EQ(data.asset.国補期首簿価, Y(current.opening)) << c.name;
        EXPECT_EQ(data.asset.国補取崩額, Y(current.drawdown)) << c.name;
        EXPECT_EQ(data.asset.国補期末簿価, Y(current.closing)) << c.name;
        EXPECT_EQ(data.asset.国補期首取崩累計, Y(current.openingTotal)) << c.name;
        EXPECT_EQ(data.asset.国補期末取崩累計, Y(current.closingTotal)) << c.name;
        EXPECT_EQ(data.asset.kin2, Y(0)) << c.name;
    }
}

TEST_F(SubsidyPass, PastYearsAreFixedAfterEveryPass)
{
    for (int rule : {0, 2}) {
        m_options.SubsidyResidual = rule;
        AssetData data = tenYearAsset();
        run(data, 1);
        for (const YearRow &row : data.rows)
            EXPECT_EQ(row.F1, *row.Nendo < 2020 ? std::optional<int>(1) : std::nullopt)
                << "rule " << rule << " year " << *row.Nendo;
    }
}

TEST_F(SubsidyPass, TransitionYearReBasesTheBalance)
{
    m_options.SubsidyResidual = 2;
    m_options.TransitionYear = 2020;
    AssetData data;
    data.asset = MakeAsset(4, 0, D(2016, 4, 1), 1000000, 10);
    data.asset.国補積立金 = Y(300000);
    data = withFixedPastRows(data);
    data.rows.back().期末残高 = Y(400000);
    data.rows.back().国補期末残高 = Y(125000);
    run(data);

    const YearRow &row = data.rows.at(4);
    ASSERT_EQ(row.Nendo, 2020);
    EXPECT_EQ(row.国補期首調整２３, Y(5000));
    EXPECT_EQ(SubsidyBookOf({row}).front(), (SubsidyBook{2020, 125000, 30000, 90000, 180000, 210000}));
    EXPECT_EQ(data.asset.国補期首調整２３, Y(5000));
    EXPECT_EQ(data.asset.国補期首調整後額, Y(120000));
    EXPECT_EQ(SubsidyBookOf(data.rows).back(), (SubsidyBook{2023, 30000, 30000, 0, 270000, 300000}));
}

TEST_F(SubsidyPass, NonDepreciableAssetKeepsItsSubsidyUnderStraightLineRules)
{
    AssetData data;
    data.asset = MakeAsset(5, 2, D(2016, 4, 1), 1000000, 10);
    data.asset.国補積立金 = Y(300000);
    data.asset.国補期首簿価 = Y(77);
    run(data);
    ASSERT_EQ(data.rows.size(), 5u);
    for (const YearRow &row : data.rows) {
        EXPECT_EQ(row.国補期首残高, std::nullopt);
        EXPECT_EQ(row.国補当年取崩額, std::nullopt);
        EXPECT_EQ(row.kin2, std::nullopt);
    }
    EXPECT_EQ(data.asset.国補期首簿価, Y(77));
    EXPECT_EQ(data.asset.国補期末簿価, std::nullopt);
}

TEST_F(SubsidyPass, EnteredOpeningBalanceClosesThePreviousYear)
{
    AssetData data;
    data.asset = MakeAsset(6, 0, D(2016, 4, 1), 1000000, 10);
    data.asset.国補積立金 = Y(300000);
    data = withFixedPastRows(data);
    data.rows.back().期末残高 = Y(600000);
    data.rows.back().国補期首残高 = Y(150000);
    data.rows.back().国補期末残高 = Y(120000);
    run(data, 0, Y(-1), Y(100000));
    EXPECT_EQ(data.rows.at(3).国補期末残高, Y(100000));
    EXPECT_EQ(data.rows.at(3).国補当年取崩額, Y(50000));
    EXPECT_EQ(data.rows.at(4).国補期首残高, Y(100000));
    EXPECT_EQ(data.rows.at(4).国補期末残高, Y(70000));
    EXPECT_EQ(data.asset.国補期首簿価, Y(100000));
}

TEST_F(SubsidyPass, ProportionalDisposalYearDrawsItsShareOfThatYear)
{
    struct Case { int monthly; std::int64_t drawdown; };
    for (const Case &c : {Case{1, 15000}, Case{0, 0}}) {
        m_options.SubsidyResidual = 2;
        m_options.DisposalMonthly = c.monthly;
        AssetData data;
        data.asset = MakeAsset(8, 0, D(2014, 4, 1), 1200000, 10);
        data.asset.国補積立金 = Y(300000);
        data.asset.廃棄日 = Q(2020, 9, 20);
        run(data);
        const YearRow &row = data.rows.back();
        ASSERT_EQ(row.Nendo, 2020);
        EXPECT_EQ(SubsidyBookOf({row}).front(), (SubsidyBook{2020, 120000, c.drawdown, 0, 180000, 0}))
            << "monthly " << c.monthly;
        EXPECT_EQ(row.kin2, Y(300000));
        EXPECT_EQ(data.asset.kin2, Y(300000));
    }
}

} // namespace
} // namespace qpn::test
