// The asset year writer in the disposal year.
#include "tests/depreciation/DepreciationFixture.h"

namespace qpn::test {
namespace {

using YearWriter = PassTest;

TEST_F(YearWriter, DisposalYearEndsTheAsset)
{
    struct Case
    {
        const char *name;
        std::int64_t price;
        QDate disposed;
        int monthly = 1;
        int rounding = 1;
        Book last;
        std::size_t rowCount;
    };
    const Case cases[] = {
        {"prorated by months", 1200000, Q(2020, 9, 20), 1, 1, {2020, 480000, 60000, 0}, 7},
        {"not prorated", 1200000, Q(2020, 9, 20), 0, 1, {2020, 480000, 0, 0}, 7},
        {"5/12 rounded half up", 120000, Q(2020, 8, 10), 1, 0, {2020, 48000, 5000, 0}, 7},
        {"a past disposal counts no months", 1200000, Q(2018, 6, 1), 1, 1, {2018, 720000, 0, 0}, 5},
    };
    for (const Case &c : cases) {
        m_options.DisposalMonthly = c.monthly;
        m_options.RoundingMode = c.rounding;
        AssetData data;
        data.asset = MakeAsset(2, 0, D(2014, 4, 1), c.price, 10);
        data.asset.廃棄日 = c.disposed;
        run(data, 1);
        ASSERT_EQ(data.rows.size(), c.rowCount) << c.name;
        const YearRow &last = data.rows.back();
        EXPECT_EQ(BookOf({last}).front(), c.last) << c.name;
        EXPECT_EQ(last.期首償却累計, Y(c.price) - Y(c.last.opening)) << c.name;
        EXPECT_EQ(last.期末償却累計, Y(0)) << c.name;
        EXPECT_EQ(last.kin1, Y(c.price)) << c.name;
    }
}

TEST_F(YearWriter, ProratedAmountRoundsByTheOption)
{
    // 10 000 a year, disposed of in the fifth month: 4 166.67.
    struct Case { int rounding; std::int64_t amount; };
    for (const Case &c : {Case{0, 4167}, Case{1, 4166}}) {
        m_options.DisposalMonthly = 1;
        m_options.RoundingMode = c.rounding;
        AssetData data;
        data.asset = MakeAsset(2, 0, D(2016, 4, 1), 100000, 10);
        data.asset.廃棄日 = Q(2020, 8, 10);
        run(data);
        EXPECT_EQ(data.rows.back().当年償却額, Y(c.amount)) << "rounding " << c.rounding;
        EXPECT_EQ(data.asset.償却額, Y(c.amount));
        EXPECT_EQ(data.asset.期末簿価, Y(0));
    }
}

TEST_F(YearWriter, PastDisposalYearIsRecalculatedOverItsFixedMark)
{
    AssetData data;
    data.asset = MakeAsset(2, 0, D(2014, 4, 1), 1200000, 10);
    data.asset.廃棄日 = Q(2018, 6, 1);
    run(data, 1);
    for (YearRow &row : data.rows)
        row.期末残高 = Y(5); // stale figures under the fixed marks
    ASSERT_EQ(data.rows.back().F1, 1);
    run(data, 0);
    EXPECT_EQ(BookOf({data.rows.back()}).front(), (Book{2018, 5, 0, 0}));
    EXPECT_EQ(data.rows.back().kin1, Y(1200000));
    EXPECT_EQ(data.asset.期首簿価, Y(0));
    EXPECT_EQ(data.asset.kin1, Y(1200000));
}

} // namespace
} // namespace qpn::test
