#include "tests/engine/EngineFixture.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Session.h"

#include <QFile>

namespace qpn::engine {
namespace {

// Tables and statements whose files are first needed after a transaction
// started, and statements run again after their tables changed.
class TransactionAttach : public EngineFixture
{
protected:
    void SetUp() override
    {
        fillYearRows();
        create(accounts());
    }

    std::unique_ptr<Table> table(const QString &name)
    {
        auto opened = std::make_unique<Table>();
        opened->setDatabaseName("AAA");
        opened->setTableName(name);
        return opened;
    }

    int count(const QString &sql)
    {
        Query query;
        query.setDatabaseName(folder());
        query.setSql(sql);
        query.open();
        return query.fieldByName("N").asInteger();
    }

    Session m_session{QStringLiteral("TXA")};
};

TEST_F(TransactionAttach, TablesFirstUsedInsideATransactionJoinIt)
{
    Database data(m_session, "AAA", folder());
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "committed" : "rolled back");
        Transaction transaction(data);
        auto years = table("daicyoB");
        years->open(); // not attached before the transaction began
        years->findKey({1, 2});
        years->edit();
        years->fieldByName("F1").setAsInteger(1);
        years->post();
        auto accounts = table("kamoku");
        accounts->open();
        accounts->append();
        accounts->fieldByName("ID").setAsInteger(7);
        accounts->fieldByName("kamokumei").setAsString(QStringLiteral("器具"));
        accounts->post();
        Query remove;
        remove.setDatabaseName("AAA");
        remove.setSql("delete from daicyoB where ID = 3");
        remove.execSql();
        years.reset();
        accounts.reset();
        if (keep)
            transaction.commit();
    }
    EXPECT_EQ(count("select count(*) as N from daicyoB where F1 = 1"), 1);
    EXPECT_EQ(count("select count(*) as N from kamoku"), 1);
    EXPECT_EQ(count("select count(*) as N from daicyoB"), 8);
}

TEST_F(TransactionAttach, AForeignFileInTheFolderIsReportedWhenUsed)
{
    QFile foreign(folder() + "/Junk.DAT");
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a table");
    foreign.close();
    Database data(m_session, "AAA", folder());
    Transaction transaction(data); // the folder's other tables still attach
    auto years = table("daicyoB");
    years->open();
    EXPECT_EQ(years->recordCount(), 12);
    EXPECT_EQ(errorOf([&] { table("Junk")->open(); }), "Header information corrupt in the table 'Junk'");
}

TEST_F(TransactionAttach, RepeatedStatementsSeeNewValuesAndColumns)
{
    Query select;
    select.setDatabaseName(folder());
    select.setSql("select * from daicyoB where ID = :ID order by Sub");
    for (const int id : {1, 2, 1}) {
        select.setParam("ID", id);
        select.open();
        EXPECT_EQ(select.recordCount(), 4);
        EXPECT_EQ(select.fieldByName("ID").asInteger(), id);
        select.close();
    }
    Query alter;
    alter.setDatabaseName(folder());
    alter.setSql("alter table daicyoB add memo char(10)");
    alter.execSql();
    select.setParam("ID", 3);
    select.open();
    ASSERT_NE(select.findField("memo"), nullptr);
    EXPECT_EQ(select.fieldByName("Sub").asInteger(), 0);
}

} // namespace
} // namespace qpn::engine
