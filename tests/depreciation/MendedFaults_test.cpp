// Inputs on which the calculation must neither carry state between assets,
// divide by zero, nor loop for ever.
#include "tests/depreciation/DepreciationFixture.h"

#include "depreciation/CalculationStopped.h"

namespace qpn::test {
namespace {

using MendedFaults = PassTest;

TEST_F(MendedFaults, UnconsumedSubsidyPartialAmountDoesNotReachTheNextAsset)
{
    // A non-depreciable asset's subsidy is not drawn down, so the subsidy part
    // of its partial disposal is never consumed.
    AssetData first;
    first.asset = MakeAsset(1, 2, D(2016, 4, 1), 1000000, 0);
    first.asset.国補積立金 = Y(300000);
    first.asset.国補期首簿価 = Y(200000);
    first.asset.一部除却日 = Q(2020, 10, 1);
    first.asset.一部除却額 = Y(500000);
    run(first);

    AssetData second;
    second.asset = MakeAsset(2, 0, D(2016, 4, 1), 1000000, 10);
    second.asset.一部除却日 = Q(2020, 10, 1);
    second.asset.一部除却額 = Y(250000);
    run(second);
    const YearRow &row = second.rows.at(4);
    ASSERT_EQ(row.Nendo, 2020);
    EXPECT_EQ(row.国補期末残高, Y(0));
    EXPECT_EQ(row.一部除却額国, Y(0));
    EXPECT_EQ(second.asset.国補期末簿価, Y(0));
}

TEST_F(MendedFaults, PartialDisposalWithoutPriceStopsAtThePriceCheck)
{
    AssetData data;
    data.asset = MakeAsset(5, 0, D(2016, 4, 1), 0, 10);
    data.asset.国補積立金 = Y(300000);
    data.asset.一部除却日 = Q(2020, 10, 1);
    data.asset.一部除却額 = Y(250000);
    m_calculator.setOptions(m_options);
    EXPECT_THROW(m_calculator.Calc1A(data, 0, Y(-1), Y(-1)), CalculationStopped);
    EXPECT_EQ(m_dialogs.messages,
              QStringList{QStringLiteral("購入金額がありませんので、確認してください。登録番号【5】")});
}

TEST_F(MendedFaults, ProportionalDrawdownWithoutPriceIsZero)
{
    // Only the price remaining after an earlier partial disposal is known.
    m_options.SubsidyResidual = 2;
    m_options.TransitionYear = 2017;
    AssetData data;
    data.asset = MakeAsset(5, 0, D(2016, 4, 1), 0, 10);
    data.asset.除却後購入価格 = Y(500000);
    data.asset.国補積立金 = Y(300000);
    data.asset.一部除却日 = Q(2018, 10, 1);
    data.asset.一部除却額 = Y(500000);
    run(data);
    ASSERT_GE(data.rows.size(), 2u);
    EXPECT_EQ(data.rows.at(0).国補当年取崩額, Y(0));
    EXPECT_EQ(data.rows.at(0).国補期末残高, Y(300000));
    // The transition year re-bases the balance to nothing.
    EXPECT_EQ(data.rows.at(1).国補期首調整２３, Y(300000));
    EXPECT_EQ(data.rows.at(1).国補当年取崩額, Y(0));
    EXPECT_EQ(data.rows.at(1).国補期末残高, Y(0));
}

TEST_F(MendedFaults, YearlyAmountUnderOneYenStopsTheAsset)
{
    m_options.RoundingMode = 1;
    AssetData tiny;
    tiny.asset = MakeAsset(11, 0, D(2018, 4, 1), 5, 10);
    for (int sub = 0; sub < 4; ++sub)
        tiny.rows.push_back(StoredRow(11, sub, 2018 + sub));
    EXPECT_EQ(run(tiny), AssetPassEnd::AmountTooSmall);
    EXPECT_EQ(m_dialogs.messages,
              QStringList{QStringLiteral("年間の償却額が１円未満のため計算できません。登録番号【11】")});
    EXPECT_EQ(BookOf(tiny.rows), (std::vector<Book>{{2018, 0, 0, 5}, {2019, 5, 0, 5}}));
    EXPECT_EQ(tiny.asset.期首簿価, Y(5));
    EXPECT_EQ(tiny.asset.期末簿価, Y(5));
    EXPECT_EQ(tiny.asset.償却額, Y(0));

    // The next asset is calculated as usual.
    AssetData next;
    next.asset = MakeAsset(12, 0, D(2018, 4, 1), 100000, 2);
    EXPECT_EQ(run(next), AssetPassEnd::Completed);
    EXPECT_EQ(BookOf(next.rows).back(), (Book{2020, 1, 0, 1}));
    EXPECT_EQ(m_dialogs.messages.size(), 1);
}

TEST_F(MendedFaults, SmallAmountsThatReachTheFloorAreCalculated)
{
    struct Case { const char *name; int method; std::int64_t price; double life; int rounding; };
    const Case cases[] = {
        {"1 yen a year rounded up", 0, 5, 10, 0},
        {"already at the memorandum value", 0, 1, 10, 1},
        {"declining balance down to its first year", 1, 100000, 2, 1},
    };
    for (const Case &c : cases) {
        m_options.RoundingMode = c.rounding;
        AssetData data;
        data.asset = MakeAsset(1, c.method, D(2016, 4, 1), c.price, c.life);
        EXPECT_EQ(run(data), AssetPassEnd::Completed) << c.name;
        EXPECT_EQ(YenOf(data.rows.back().期末残高), 1) << c.name;
    }
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

} // namespace
} // namespace qpn::test
