// The batch run's transactions and fixed marks: each asset saved whole or
// not at all, and a recalculation that clears every mark, also of the rows
// it never calculates.
#include "tests/depreciation/RegisterFixture.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/BatchRun.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "engine/Table.h"

namespace qpn::test {
namespace {

class BatchRunMarks : public RegisterTest
{
protected:
    // 1 000 000 bought April 2016, life 10, calculated and protected in
    // fiscal 2020, then moved on to fiscal 2021.
    void storeAssets(const std::vector<int> &ids)
    {
        for (const int id : ids) {
            AssetData asset;
            asset.asset = MakeAsset(id, 0, D(2016, 4, 1), 1000000, 10);
            store(asset);
        }
        BatchRun(*m_database).run(BatchRun::Protect);
        setFiscalYear(2021);
    }

    void sql(const QString &text)
    {
        engine::Query q;
        q.setDatabaseName(QStringLiteral("AAA"));
        q.setSql(text);
        q.execSql();
    }

    int count(const QString &where)
    {
        engine::Query q;
        q.setDatabaseName(QStringLiteral("AAA"));
        q.setSql(QStringLiteral("select count(*) as N from daicyoB where ") + where);
        q.open();
        return q.fieldByName(QStringLiteral("N")).asInteger();
    }
};

TEST_F(BatchRunMarks, RecalculationClearsTheMarksOfRowsItDoesNotCalculate)
{
    storeAssets({1, 3, 5});
    // Year rows of no asset, between the assets and after them.
    sql(QStringLiteral("insert into daicyoB (ID, Sub, Nendo, F1) values (4, 0, 2016, 1)"));
    sql(QStringLiteral("insert into daicyoB (ID, Sub, Nendo, F1) values (9, 0, 2016, 1)"));
    ASSERT_EQ(count(QStringLiteral("F1 = 1 and ID = 5")), 4);

    sql(QStringLiteral("update daicyoA set \"品名\" = null where ID = 3"));
    BatchRun batch(*m_database);
    EXPECT_EQ(batch.run(BatchRun::Recalculate), BatchRun::Outcome::Stopped);
    EXPECT_EQ(batch.stoppedAssetId(), 3);
    EXPECT_EQ(count(QStringLiteral("F1 is not null and ID <> 1")), 0);
    EXPECT_EQ(count(QStringLiteral("F1 = 1 and ID = 1")), 5); // 2016 to 2020

    sql(QStringLiteral("update daicyoA set \"品名\" = 'x' where ID = 3"));
    sql(QStringLiteral("update daicyoB set F1 = 1 where ID = 4 or ID = 9"));
    EXPECT_EQ(batch.run(BatchRun::Recalculate), BatchRun::Outcome::Completed);
    EXPECT_EQ(count(QStringLiteral("F1 is not null and (ID = 4 or ID = 9)")), 0);
    for (const int id : {1, 3, 5})
        EXPECT_EQ(count(QStringLiteral("F1 = 1 and Nendo < 2021 and ID = %1").arg(id)), 5) << id;
    EXPECT_EQ(count(QStringLiteral("F1 is not null and Nendo >= 2021")), 0);
}

TEST_F(BatchRunMarks, AnAssetThatCannotBeSavedIsTakenBackWhole)
{
    for (const int id : {1, 2, 3}) {
        AssetData asset;
        asset.asset = MakeAsset(id, 0, D(2016, 4, 1), 1000000, 10);
        store(asset);
    }
    // Another user edits asset 2: its year rows are written before its own
    // row, which stays locked.
    engine::Session other(QStringLiteral("OTHER"));
    engine::Table held;
    held.setDatabaseName(data());
    held.setSessionName(QStringLiteral("OTHER"));
    held.setTableName(QStringLiteral("daicyoA"));
    held.open();
    ASSERT_TRUE(held.findKey({2}));
    held.edit();
    engine::Session &session = engine::Session::defaultSession();
    const int retries = session.lockRetryCount();
    session.setLockRetryCount(1);

    BatchRun batch(*m_database);
    QString error;
    try {
        batch.run(BatchRun::Protect);
    } catch (const engine::EngineError &failure) {
        error = failure.message();
    }
    session.setLockRetryCount(retries);
    EXPECT_EQ(error, QStringLiteral("Record in the table 'daicyoA' is in use by another user"));
    EXPECT_EQ(count(QStringLiteral("ID = 1")), 10);
    EXPECT_EQ(count(QStringLiteral("ID = 2")), 0);
    EXPECT_EQ(count(QStringLiteral("ID = 3")), 0);
    held.cancel();
}

} // namespace
} // namespace qpn::test
