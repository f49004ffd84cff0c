#include "tests/engine/EngineFixture.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Maintenance.h"

#include <QFile>

namespace qpn::engine {
namespace {

using Maintenance = EngineFixture;

QList<int> ids(Table &table)
{
    QList<int> values;
    for (table.first(); !table.eof(); table.next())
        values << table.fieldByName("ID").asInteger();
    return values;
}

TEST_F(Maintenance, RepairOfAnIntactTableChangesNothing)
{
    fillYearRows();
    for (int run = 0; run < 2; ++run) {
        const RepairReport report = RepairTable(folder(), "daicyoB.DAT");
        EXPECT_FALSE(report.damaged);
    }
    EXPECT_EQ(open("daicyoB")->recordCount(), 12);
    EXPECT_EQ(errorOf([&] { RepairTable(folder(), "kamoku.DAT"); }), "Table 'kamoku' does not exist");
    auto busy = open("daicyoB");
    EXPECT_EQ(errorOf([&] { RepairTable(folder(), "daicyoB.DAT"); }), "The table 'daicyoB' is already in use");
}

TEST_F(Maintenance, RepairSalvagesTheReadableRowsOfADamagedFile)
{
    create(accounts());
    {
        auto table = open("kamoku");
        for (int id = 1; id <= 2000; ++id) {
            table->append();
            table->fieldByName("ID").setAsInteger(id);
            table->fieldByName("kamokumei").setAsString(QStringLiteral("科目%1").arg(id));
            table->fieldByName("memo").setAsString(QString(60, QChar(u'x')));
            table->post();
        }
    }
    const QString path = folder() + "/kamoku.DAT";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 40 * 4096);
        file.seek(20 * 4096); // a page in the middle of the rows
        file.write(QByteArray(4096, '\x5a'));
    }
    const RepairReport report = RepairTable(folder(), "KAMOKU.DAT");
    EXPECT_TRUE(report.damaged);
    EXPECT_GT(report.rowsSalvaged, 1500);
    EXPECT_LT(report.rowsSalvaged, 2000);
    auto table = open("kamoku");
    EXPECT_EQ(table->recordCount(), report.rowsSalvaged);
    ASSERT_TRUE(table->findKey({2000}));
    EXPECT_EQ(table->fieldByName("kamokumei").asString(), QStringLiteral("科目2000"));
    table->close();
    EXPECT_FALSE(RepairTable(folder(), "kamoku").damaged);
}

TEST_F(Maintenance, OptimiseRewritesInKeyOrderAndKeepsABackup)
{
    fillYearRows();
    const QString backup = OptimiseTable(folder(), "daicyoB.DAT");
    EXPECT_TRUE(QFile::exists(backup));
    auto table = open("daicyoB");
    EXPECT_EQ(ids(*table), QList<int>({1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}));
    table->first();
    EXPECT_EQ(table->bookmark().rowId, 1); // the first key is now the first row of the file
    table->close();
    // The backup is the old table, still readable as one.
    QFile::rename(backup, folder() + "/Old.DAT");
    EXPECT_EQ(open("Old")->recordCount(), 12);
}

TEST_F(Maintenance, AddPrimaryIndexRebuildsOrAddsTheKey)
{
    fillYearRows();
    AddPrimaryIndex(folder(), "daicyoB", {"ID;sub"});
    EXPECT_EQ(errorOf([&] { AddPrimaryIndex(folder(), "daicyoB", {"Nendo"}); }),
              "A primary index is already defined for the table 'daicyoB' and cannot be added again");

    TableSchema loose = accounts();
    loose.primaryKey.clear();
    create(loose);
    {
        auto table = open("kamoku");
        for (int id : {2, 1, 2}) {
            table->append();
            table->fieldByName("ID").setAsInteger(id);
            table->post();
        }
    }
    EXPECT_EQ(errorOf([&] { AddPrimaryIndex(folder(), "kamoku", {"id"}); }),
              "Duplicate key found in the index 'Primary' of the table 'kamoku'");
    EXPECT_EQ(errorOf([&] { AddPrimaryIndex(folder(), "kamoku", {"nosuch"}); }),
              "Invalid field 'nosuch' specified for the index 'Primary' in the table 'kamoku'");
    {
        auto table = open("kamoku");
        table->last();
        table->remove();
    }
    AddPrimaryIndex(folder(), "kamoku", {"id"});
    auto table = open("kamoku");
    EXPECT_EQ(ids(*table), QList<int>({1, 2}));
    EXPECT_EQ(table->schema().primaryKey, QStringList({"ID"}));
}

} // namespace
} // namespace qpn::engine
