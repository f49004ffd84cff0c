#include "tests/engine/EngineFixture.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Session.h"

#include <QElapsedTimer>
#include <QProcess>

namespace qpn::engine {
namespace {

class TransactionLock : public EngineFixture
{
protected:
    void SetUp() override
    {
        fillYearRows();
        create(accounts());
        auto kamoku = open("kamoku");
        kamoku->append();
        kamoku->fieldByName("ID").setAsInteger(1);
        kamoku->fieldByName("kamokumei").setAsString(QStringLiteral("建物"));
        kamoku->post();
    }

    Session m_session{QStringLiteral("BBB")};
};

TEST_F(TransactionLock, RollbackRestoresEveryTableOfTheFolder)
{
    Database data(m_session, "AAA", folder());
    Table years;
    years.setDatabaseName("AAA");
    years.setTableName("daicyoB");
    years.open();
    Table kamoku;
    kamoku.setDatabaseName("AAA");
    kamoku.setTableName("kamoku");
    kamoku.open();

    data.startTransaction();
    EXPECT_TRUE(data.inTransaction());
    years.first();
    years.remove();
    kamoku.edit();
    kamoku.fieldByName("kamokumei").setAsString(QStringLiteral("構築物"));
    kamoku.post();
    data.rollback();

    EXPECT_FALSE(data.inTransaction());
    EXPECT_EQ(years.recordCount(), 12);
    EXPECT_EQ(kamoku.fieldByName("kamokumei").asString(), QStringLiteral("建物"));
    auto fresh = open("daicyoB");
    EXPECT_EQ(fresh->recordCount(), 12);

    {
        Transaction transaction(data);
        years.first();
        years.remove();
        transaction.commit();
    }
    {
        Transaction abandoned(data); // rolls back when it goes out of scope
        years.first();
        years.remove();
    }
    EXPECT_EQ(open("daicyoB")->recordCount(), 11);
}

TEST_F(TransactionLock, AnEditedRowIsLockedAgainstOtherSessionsUntilPost)
{
    m_session.setLockRetryCount(3);
    m_session.setLockWaitMs(20);
    auto mine = open("daicyoB");
    auto theirs = open("DAICYOB.DAT", "BBB");
    ASSERT_TRUE(mine->findKey({2, 1}));
    ASSERT_TRUE(theirs->findKey({2, 1}));
    mine->edit();

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(errorOf([&] { theirs->edit(); }), "Record in the table 'daicyoB' is in use by another user");
    EXPECT_GE(timer.elapsed(), 3 * 20 - 5); // it waited through its retries
    EXPECT_EQ(theirs->state(), DatasetState::Browse);
    EXPECT_EQ(errorOf([&] { theirs->remove(); }), "Record in the table 'daicyoB' is in use by another user");

    mine->fieldByName("F1").setAsInteger(1);
    mine->post();
    EXPECT_EQ(theirs->fieldByName("F1").asInteger(), 1); // rows read before are not shown stale
    theirs->edit(); // the lock is free now, and the row is read again
    EXPECT_EQ(theirs->fieldByName("F1").asInteger(), 1);
    theirs->cancel();
    // Another row was never locked.
    ASSERT_TRUE(theirs->findKey({2, 2}));
    mine->edit();
    theirs->edit();
    theirs->cancel();
}

TEST_F(TransactionLock, PostOfARowChangedBehindTheCursorFails)
{
    auto table = open("daicyoB");
    ASSERT_TRUE(table->findKey({1, 0}));
    table->edit();
    Query update;
    update.setDatabaseName(folder());
    update.setSql("UPDATE daicyoB SET F1 = 1 WHERE ID = 1 AND Sub = 0");
    update.execSql();
    EXPECT_EQ(update.rowsAffected(), 1);
    table->fieldByName("Nendo").setAsInteger(2000);
    EXPECT_EQ(errorOf([&] { table->post(); }),
              "Record has been changed or deleted by another user, session, or table cursor in the table 'daicyoB'");
    table->cancel();
    table->edit(); // editing again starts from the row as it is now
    EXPECT_EQ(table->fieldByName("F1").asInteger(), 1);
    table->fieldByName("Nendo").setAsInteger(2000);
    table->post();
    EXPECT_EQ(open("daicyoB")->fieldByName("Nendo").asInteger(), 2000);
}

TEST_F(TransactionLock, LocksHoldBetweenProcessesAndDieWithTheirProcess)
{
    Session::defaultSession().setLockRetryCount(2);
    Session::defaultSession().setLockWaitMs(10);
    const auto startHolder = [&](QProcess &holder) {
        holder.start(QStringLiteral(QPN_LOCK_HOLDER), {folder(), "daicyoB", "3"});
        EXPECT_TRUE(holder.waitForReadyRead(20000));
        EXPECT_EQ(holder.readLine().trimmed(), "locked");
    };
    auto table = open("daicyoB");
    ASSERT_TRUE(table->findKey({3, 0}));
    {
        QProcess holder;
        startHolder(holder);
        EXPECT_EQ(errorOf([&] { table->edit(); }), "Record in the table 'daicyoB' is in use by another user");
        holder.write("\n");
        holder.closeWriteChannel();
        EXPECT_TRUE(holder.waitForFinished(20000));
        table->edit();
        table->cancel();
    }
    {
        QProcess holder;
        startHolder(holder);
        holder.kill();
        EXPECT_TRUE(holder.waitForFinished(20000));
        table->edit(); // the dead process left no lock behind
        table->cancel();
    }
    Session::defaultSession().setLockRetryCount(15);
    Session::defaultSession().setLockWaitMs(100);
}

} // namespace
} // namespace qpn::engine
