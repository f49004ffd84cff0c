// The batch run over the engine's real tables: protection choices, the fixed
// marks, stopping at a failed check, an empty register and progress.
#include "tests/depreciation/RegisterFixture.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/BatchRun.h"
#include "engine/Query.h"
#include "lib/AppOptions.h"

namespace qpn::test {
namespace {

class BatchRunTest : public RegisterTest
{
protected:
    // 1 000 000 bought April 2016, life 10: 100 000 a year.
    void storeAsset(int id, std::optional<QDate> disposed = {})
    {
        AssetData asset;
        asset.asset = MakeAsset(id, 0, D(2016, 4, 1), 1000000, 10);
        asset.asset.廃棄日 = disposed;
        store(asset);
    }

    // Calculated during fiscal 2020, then moved on to fiscal 2021 with the
    // stored 2020 row closing at a figure of its own.
    void calculatedLastYear(int id)
    {
        storeAsset(id);
        AssetCalculation(*m_database).calculate(id, 0, Y(-1), Y(-1));
        sql(QStringLiteral("update daicyoB set \"期末残高\" = 555555 where Nendo = 2020"));
        setFiscalYear(2021);
    }

    void sql(const QString &text)
    {
        engine::Query q;
        q.setDatabaseName(QStringLiteral("AAA"));
        q.setSql(text);
        q.execSql();
    }

    static const YearRow &rowOf(const AssetData &asset, int nendo)
    {
        for (const YearRow &row : asset.rows) {
            if (row.Nendo == nendo)
                return row;
        }
        static const YearRow none;
        ADD_FAILURE() << "no row for " << nendo;
        return none;
    }

    static void expectPastYearsFixed(const AssetData &asset, int fiscalYear)
    {
        for (const YearRow &row : asset.rows)
            EXPECT_EQ(row.F1, *row.Nendo < fiscalYear ? std::optional<int>(1) : std::nullopt) << *row.Nendo;
    }
};

TEST_F(BatchRunTest, ProtectKeepsStoredPastYears)
{
    calculatedLastYear(1);
    BatchRun batch(*m_database);
    EXPECT_EQ(batch.run(BatchRun::Protect), BatchRun::Outcome::Completed);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    const AssetData asset = loaded(1);
    EXPECT_EQ(BookOf({rowOf(asset, 2020)}).front(), (Book{2020, 600000, 100000, 555555}));
    EXPECT_EQ(BookOf({rowOf(asset, 2021)}).front(), (Book{2021, 555555, 100000, 455555}));
    EXPECT_EQ(asset.asset.期首簿価, Y(555555));
    expectPastYearsFixed(asset, 2021);
}

TEST_F(BatchRunTest, RecalculateStartsFromThePurchase)
{
    calculatedLastYear(1);
    BatchRun batch(*m_database);
    EXPECT_EQ(batch.run(BatchRun::Recalculate), BatchRun::Outcome::Completed);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages.front(),
              QStringLiteral("この処理を実行すると、今までの計算がクリアされて減価償却計算をやり直します。実行してもよいですか。"));
    const AssetData asset = loaded(1);
    EXPECT_EQ(BookOf({rowOf(asset, 2020)}).front(), (Book{2020, 600000, 100000, 500000}));
    EXPECT_EQ(BookOf({rowOf(asset, 2021)}).front(), (Book{2021, 500000, 100000, 400000}));
    expectPastYearsFixed(asset, 2021);
}

TEST_F(BatchRunTest, RecalculateNotConfirmedChangesNothing)
{
    for (DialogButton answer : {DialogButton::No, DialogButton::Cancel}) {
        calculatedLastYear(1);
        const AssetData before = loaded(1);
        m_dialogs.answer = answer;
        BatchRun batch(*m_database);
        EXPECT_EQ(batch.run(BatchRun::Recalculate), BatchRun::Outcome::Cancelled);
        const AssetData after = loaded(1);
        EXPECT_EQ(after.rows, before.rows);
        EXPECT_EQ(after.asset, before.asset);
        sql(QStringLiteral("delete from daicyoB"));
        sql(QStringLiteral("delete from daicyoA"));
        setFiscalYear(2020);
    }
}

TEST_F(BatchRunTest, PastDisposalYearIsRecalculatedUnderProtection)
{
    storeAsset(1, Q(2019, 6, 1));
    AssetCalculation(*m_database).calculate(1, 0, Y(-1), Y(-1));
    sql(QStringLiteral("update daicyoB set \"期末残高\" = 3, \"当年償却額\" = 4"));
    setFiscalYear(2021);
    BatchRun(*m_database).run(BatchRun::Protect);
    const AssetData asset = loaded(1);
    ASSERT_EQ(asset.rows.size(), 4u);
    EXPECT_EQ(BookOf({asset.rows.back()}).front(), (Book{2019, 3, 0, 0}));
    EXPECT_EQ(BookOf({asset.rows.at(2)}).front(), (Book{2018, 800000, 4, 3}));
    EXPECT_EQ(asset.asset.kin1, Y(1000000));
}

TEST_F(BatchRunTest, FailedCheckStopsTheRunAtItsAsset)
{
    for (int id = 1; id <= 3; ++id)
        storeAsset(id);
    sql(QStringLiteral("update daicyoA set \"品名\" = null where ID = 2"));
    std::vector<std::pair<int, int>> progress;
    BatchRun batch(*m_database);
    batch.setProgress([&](int index, int count) { progress.emplace_back(index, count); });
    EXPECT_EQ(batch.run(BatchRun::Protect), BatchRun::Outcome::Stopped);
    EXPECT_EQ(batch.stoppedAssetId(), 2);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("品名がありませんので、確認してください。登録番号【2】")});
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}}));
    EXPECT_EQ(loaded(1).rows.size(), 10u);
    EXPECT_TRUE(loaded(2).rows.empty());
    EXPECT_TRUE(loaded(3).rows.empty());

    // A new run starts again at the first asset.
    sql(QStringLiteral("update daicyoA set \"品名\" = 'x' where ID = 2"));
    progress.clear();
    EXPECT_EQ(batch.run(BatchRun::Protect), BatchRun::Outcome::Completed);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(loaded(3).rows.size(), 10u);
}

TEST_F(BatchRunTest, EmptyRegisterHasNothingToCalculate)
{
    BatchRun batch(*m_database);
    EXPECT_EQ(batch.run(BatchRun::Protect), BatchRun::Outcome::NoAssets);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("計算する資産がありません。")});
}

} // namespace
} // namespace qpn::test
