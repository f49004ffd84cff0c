// Assets and year rows through the engine's real tables.
#include "tests/depreciation/RegisterFixture.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/AssetStore.h"
#include "depreciation/CalculationStopped.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"

namespace qpn::test {
namespace {

using AssetStoreTest = RegisterTest;

AssetData SampleAsset()
{
    AssetData data;
    data.asset = MakeAsset(5, 1, D(2016, 4, 1), 1000000, 10);
    data.asset.残率 = 0.1;
    data.asset.国補積立金 = Currency::fromUnits(3000005000); // 300 000.5
    data.asset.一部除却日 = Q(2019, 7, 1);
    data.asset.yobi2_ID = 0;
    for (int sub = 0; sub < 4; ++sub) {
        YearRow row = StoredRow(5, sub, 2016 + sub);
        row.storedSub.reset();
        row.期末残高 = Y(1000 - sub);
        data.rows.push_back(row);
    }
    data.rows[1].変更償却額 = Y(0);
    data.rows[2].F1 = 1;
    data.rows[3].国補期首調整２３ = Currency::fromUnits(-1);
    return data;
}

TEST_F(AssetStoreTest, StoresAndLoadsEveryKindOfValue)
{
    const AssetData sample = SampleAsset();
    store(sample);
    AssetData back = loaded(5);
    for (YearRow &row : back.rows) {
        EXPECT_EQ(row.storedSub, row.Sub);
        row.storedSub.reset();
    }
    EXPECT_EQ(back.asset, sample.asset);
    EXPECT_EQ(back.rows, sample.rows);
    EXPECT_EQ(back.rows[0].変更償却額, std::nullopt);
    EXPECT_EQ(back.rows[1].変更償却額, Y(0));
}

TEST_F(AssetStoreTest, WritesRenumberedDroppedAndNewRows)
{
    store(SampleAsset());
    const AssetData before = loaded(5);
    AssetData after = before;
    after.rows.erase(after.rows.begin() + 1); // drop Sub 1
    after.rows[1].Sub = 1;                    // 2 → 1
    after.rows[2].Sub = 2;                    // 3 → 2
    after.rows[2].期首残高 = Y(7);
    YearRow added = StoredRow(5, 3, 2019);
    added.storedSub.reset();
    added.kin3 = Y(3);
    after.rows.push_back(added);
    AssetStore(QStringLiteral("AAA")).save(before, after);

    const AssetData back = loaded(5);
    ASSERT_EQ(back.rows.size(), 4u);
    EXPECT_EQ(back.rows[1].Nendo, 2018);
    EXPECT_EQ(back.rows[1].F1, 1);
    EXPECT_EQ(back.rows[2].Nendo, 2019);
    EXPECT_EQ(back.rows[2].期首残高, Y(7));
    EXPECT_EQ(back.rows[2].国補期首調整２３, Currency::fromUnits(-1));
    EXPECT_EQ(back.rows[3].kin3, Y(3));
    EXPECT_EQ(back.rows[3].期末残高, std::nullopt);
}

TEST_F(AssetStoreTest, CalculationSavesRowsAndSummary)
{
    AssetData asset;
    asset.asset = MakeAsset(1, 0, D(2015, 10, 1), 1000000, 5);
    AppOptions().RoundingMode = 1;
    store(asset);
    AssetCalculation calculation(*m_database);
    EXPECT_EQ(calculation.calculate(1, 0, Y(-1), Y(-1)), AssetPassEnd::Completed);
    const AssetData back = loaded(1);
    EXPECT_EQ(BookOf(back.rows),
              (std::vector<Book>{{2015, 0, 100000, 900000}, {2016, 900000, 200000, 700000},
                                 {2017, 700000, 200000, 500000}, {2018, 500000, 200000, 300000},
                                 {2019, 300000, 200000, 100000}, {2020, 100000, 99999, 1}}));
    EXPECT_EQ(back.asset.期首簿価, Y(100000));
    EXPECT_EQ(back.asset.償却額, Y(99999));
    EXPECT_EQ(back.asset.期末簿価, Y(1));
    EXPECT_EQ(back.asset.期首償却累計, Y(900000));
    EXPECT_EQ(back.asset.償却率, 0.2);
    EXPECT_EQ(back.asset.償却月数, 12);
}

TEST_F(AssetStoreTest, OneCalculationServesAssetsAddedLater)
{
    AssetCalculation calculation(*m_database);
    for (int id : {1, 2}) {
        AssetData asset;
        asset.asset = MakeAsset(id, 0, D(2016, 4, 1), 1000000, 10);
        store(asset);
        calculation.calculate(id, 0, Y(-1), Y(-1));
        EXPECT_EQ(loaded(id).asset.期首簿価, Y(600000)) << id;
        EXPECT_EQ(loaded(id).rows.size(), 10u) << id;
    }
}

TEST_F(AssetStoreTest, FailedCheckKeepsTheAssetRowButSavesTheEnteredBookValue)
{
    AssetData asset;
    asset.asset = MakeAsset(2, 0, D(2016, 4, 1), 1000000, 10);
    asset.asset.期首簿価 = Y(11);
    YearRow previous = StoredRow(2, 3, 2019);
    previous.期首残高 = Y(700000);
    asset.rows.push_back(previous);
    store(asset);
    engine::Query spoil;
    spoil.setDatabaseName(QStringLiteral("AAA"));
    spoil.setSql(QStringLiteral("update daicyoA set \"品名\" = null, yobi2_ID = 1 where ID = 2"));
    spoil.execSql();

    AssetCalculation calculation(*m_database);
    EXPECT_THROW(calculation.calculate(2, 0, Y(650000), Y(-1)), CalculationStopped);
    const AssetData back = loaded(2);
    EXPECT_EQ(back.asset.yobi2_ID, 1);
    EXPECT_EQ(back.asset.期首簿価, Y(11));
    ASSERT_EQ(back.rows.size(), 1u);
    EXPECT_EQ(back.rows[0].期末残高, Y(650000));
    EXPECT_EQ(back.rows[0].当年償却額, Y(50000));
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("品名がありませんので、確認してください。登録番号【2】")});
}

} // namespace
} // namespace qpn::test

namespace qpn::test {
namespace {

TEST_F(AssetStoreTest, RowThatCannotBeSavedIsReportedAndTheRestIsWritten)
{
    AssetData asset;
    asset.asset = MakeAsset(1, 0, D(2016, 4, 1), 1000000, 10);
    store(asset);
    AssetCalculation(*m_database).calculate(1, 0, Y(-1), Y(-1));

    engine::Session other(QStringLiteral("other"));
    other.setLockRetryCount(1);
    other.setLockWaitMs(10);
    engine::Session &mine = engine::Session::defaultSession();
    const int retries = mine.lockRetryCount();
    mine.setLockRetryCount(1);
    engine::Table held;
    held.setSessionName(QStringLiteral("other"));
    held.setDatabaseName(data());
    held.setTableName(QStringLiteral("daicyoB"));
    held.open();
    ASSERT_TRUE(held.findKey({1, 4}));
    held.edit();

    engine::Query reprice;
    reprice.setDatabaseName(QStringLiteral("AAA"));
    reprice.setSql(QStringLiteral("update daicyoA set \"購入価格\" = 2000000 where ID = 1"));
    reprice.execSql();
    EXPECT_NO_THROW(AssetCalculation(*m_database).calculate(1, 1, Y(-1), Y(-1)));
    held.cancel();
    mine.setLockRetryCount(retries);

    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("登録番号＝1 のデータを確認してください。")});
    const AssetData back = loaded(1);
    ASSERT_EQ(back.rows.size(), 10u);
    EXPECT_EQ(back.rows[0].期末残高, Y(1800000));
    EXPECT_EQ(back.rows[4].期末残高, Y(500000));
    EXPECT_EQ(back.rows[5].期末残高, Y(800000));
}

} // namespace
} // namespace qpn::test
