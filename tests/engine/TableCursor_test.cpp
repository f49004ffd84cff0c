#include "tests/engine/EngineFixture.h"

#include "engine/EngineError.h"
#include "engine/Field.h"

#include <QFile>

namespace qpn::engine {
namespace {

using TableCursor = EngineFixture;

QList<int> column(Table &table, const char *name)
{
    QList<int> values;
    for (table.first(); !table.eof(); table.next())
        values << table.fieldByName(name).asInteger();
    return values;
}

TEST_F(TableCursor, NamesMatchWithoutCaseAndWithTheFileSuffix)
{
    create(yearRows());
    create(accounts());
    Table probe;
    probe.setDatabaseName(folder());
    for (const char *name : {"daicyoB", "DAICYOB", "daicyoB.DAT", "DaicyoB.dat"}) {
        SCOPED_TRACE(name);
        probe.setTableName(name);
        EXPECT_TRUE(probe.exists());
        EXPECT_EQ(probe.schema().primaryKey, QStringList({"ID", "Sub"}));
    }
    probe.setTableName("nosuch");
    EXPECT_FALSE(probe.exists());
    EXPECT_EQ(errorOf([&] { probe.open(); }), "Table 'nosuch' does not exist");
    probe.setTableName("kamoku");
    EXPECT_EQ(errorOf([&] { probe.createTable(accounts()); }), "The table 'kamoku' already exists");

    const TableSchema stored = probe.schema();
    EXPECT_TRUE(stored.compressKey);
    EXPECT_EQ(stored.userMajorVersion, 1);
    ASSERT_EQ(stored.columns.size(), 4);
    EXPECT_EQ(stored.columns[1].type, FieldType::Char);
    EXPECT_EQ(stored.columns[1].size, 30);
    EXPECT_TRUE(QFile::exists(folder() + "/kamoku.DAT"));
}

TEST_F(TableCursor, NavigatesInKeyOrder)
{
    fillYearRows();
    auto table = open("daicyoB");
    EXPECT_EQ(table->recordCount(), 12);
    table->first();
    EXPECT_TRUE(table->bof());
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 1); // appended last, sorted first
    EXPECT_EQ(table->recNo(), 1);
    table->prior();
    EXPECT_TRUE(table->bof());
    EXPECT_EQ(table->moveBy(5), 5);
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 2);
    EXPECT_EQ(table->fieldByName("Sub").asInteger(), 1);
    EXPECT_EQ(table->moveBy(100), 6);
    EXPECT_TRUE(table->eof());
    table->last();
    EXPECT_TRUE(table->eof());
    EXPECT_EQ(table->recNo(), 12);
    table->next();
    EXPECT_EQ(table->recNo(), 12);
    EXPECT_EQ(column(*table, "Sub"), QList<int>({0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3}));
}

TEST_F(TableCursor, EditsPostInKeyPlaceAndCancelLeavesTheRow)
{
    fillYearRows();
    auto table = open("daicyoB");
    ASSERT_TRUE(table->findKey({2, 3}));
    table->edit();
    table->fieldByName("ID").setAsInteger(9);
    table->post();
    EXPECT_EQ(table->recNo(), 12); // moved to its new key
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 9);

    table->first();
    table->edit();
    table->fieldByName("Nendo").setAsInteger(1999);
    table->cancel();
    EXPECT_EQ(table->fieldByName("Nendo").asInteger(), 2019);
    EXPECT_EQ(table->state(), DatasetState::Browse);

    table->insert();
    table->fieldByName("ID").setAsInteger(1);
    table->fieldByName("Sub").setAsInteger(0);
    EXPECT_EQ(errorOf([&] { table->post(); }), "Duplicate key found in the index 'Primary' of the table 'daicyoB'");
    EXPECT_EQ(table->state(), DatasetState::Insert); // the row is still being entered
    table->fieldByName("ID").clear();
    EXPECT_EQ(errorOf([&] { table->post(); }), "A value must be provided for the field 'ID' in the table 'daicyoB'");
    table->cancel();

    table->first();
    table->remove();
    EXPECT_EQ(table->recordCount(), 11);
    EXPECT_EQ(table->fieldByName("Sub").asInteger(), 1); // the next row becomes current
    auto again = open("daicyoB");
    EXPECT_EQ(again->recordCount(), 11);
    EXPECT_FALSE(again->findKey({1, 0}));
    EXPECT_TRUE(again->findKey({9, 3}));
}

TEST_F(TableCursor, FindsByKeyOnTheCurrentIndex)
{
    fillYearRows();
    auto table = open("daicyoB");
    EXPECT_TRUE(table->findKey({3, 2}));
    EXPECT_EQ(table->fieldByName("Nendo").asInteger(), 2021);
    EXPECT_TRUE(table->findKey({2})); // a leading part of the key
    EXPECT_EQ(table->fieldByName("Sub").asInteger(), 0);
    EXPECT_FALSE(table->findKey({4, 0}));
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 2); // unmoved
    table->findNearest({2, 9});
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 3);
    table->findNearest({99});
    EXPECT_EQ(table->recNo(), 12);

    table->setIndexName("NendoInx");
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 3); // stays on the same row
    EXPECT_TRUE(table->findKey({1, 2021}));
    EXPECT_EQ(table->fieldByName("Sub").asInteger(), 2);
    EXPECT_EQ(errorOf([&] { table->setIndexName("NoInx"); }),
              "Invalid secondary index name 'NoInx' specified for the table 'daicyoB'");
    table->setIndexName(QString());
    EXPECT_TRUE(table->findKey({1, 3}));
}

TEST_F(TableCursor, FilterSwitchesOnAndOff)
{
    fillYearRows();
    auto table = open("daicyoB");
    table->setFilter("nendo>=2021");
    EXPECT_EQ(table->recordCount(), 12);
    table->setFiltered(true);
    EXPECT_EQ(table->recordCount(), 6);
    EXPECT_EQ(column(*table, "Nendo"), QList<int>({2021, 2022, 2021, 2022, 2021, 2022}));
    // A row edited out of the filter leaves the view.
    table->first();
    table->edit();
    table->fieldByName("Nendo").setAsInteger(2000);
    table->post();
    EXPECT_EQ(table->recordCount(), 5);
    table->setFiltered(false);
    EXPECT_EQ(table->recordCount(), 12);
    table->setFilter("nendo >>= 1");
    EXPECT_TRUE(errorOf([&] { table->setFiltered(true); }).startsWith("Filter error for the table 'daicyoB' - "));
}

TEST_F(TableCursor, DetailFollowsTheMasterRow)
{
    fillYearRows();
    create(accounts());
    {
        auto master = open("kamoku");
        for (int id : {1, 2, 5}) {
            master->append();
            master->fieldByName("ID").setAsInteger(id);
            master->post();
        }
    }
    auto master = open("kamoku");
    Table detail;
    detail.setDatabaseName(folder());
    detail.setTableName("daicyoB");
    detail.setMasterSource(master.get(), "ID", "ID");
    detail.open();
    EXPECT_EQ(detail.recordCount(), 4);
    EXPECT_EQ(detail.fieldByName("ID").asInteger(), 1);
    master->next();
    EXPECT_EQ(detail.recordCount(), 4);
    EXPECT_EQ(detail.fieldByName("ID").asInteger(), 2);
    master->next();
    EXPECT_EQ(detail.recordCount(), 0);
    // A new detail row takes the master's key.
    detail.append();
    EXPECT_EQ(detail.fieldByName("ID").asInteger(), 5);
    detail.fieldByName("Sub").setAsInteger(0);
    detail.post();
    EXPECT_EQ(detail.recordCount(), 1);
    master->first();
    EXPECT_EQ(detail.recordCount(), 4);
}

TEST_F(TableCursor, BookmarksSurviveOtherRowsChanging)
{
    fillYearRows();
    auto table = open("daicyoB");
    ASSERT_TRUE(table->findKey({2, 2}));
    const Bookmark mark = table->bookmark();
    table->first();
    table->remove();
    addYearRow(*table, 0, 0, 2019, 1);
    table->gotoBookmark(mark);
    EXPECT_EQ(table->fieldByName("ID").asInteger(), 2);
    EXPECT_EQ(table->fieldByName("Sub").asInteger(), 2);
    table->remove();
    EXPECT_EQ(errorOf([&] { table->gotoBookmark(mark); }), "Record not found in the table 'daicyoB'");
}

TEST_F(TableCursor, EmptiesAndDeletesTables)
{
    fillYearRows();
    auto table = open("daicyoB");
    EXPECT_EQ(errorOf([&] { Table other; other.setDatabaseName(folder()); other.setTableName("daicyoB"); other.deleteTable(); }),
              "The table 'daicyoB' is already in use");
    table->emptyTable();
    EXPECT_EQ(table->recordCount(), 0);
    EXPECT_TRUE(table->eof());
    table->close();
    table->deleteTable();
    EXPECT_FALSE(table->exists());
    EXPECT_FALSE(QFile::exists(folder() + "/daicyoB.DAT"));
}

TEST_F(TableCursor, ForeignOrDamagedFilesAreReportedNotOpened)
{
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(folder() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("Bumon.DAT", "This is no table, just some text.\r\n");
    write("Ukeire.DAT", QByteArray());
    create(accounts());
    {
        QFile file(folder() + "/kamoku.DAT");
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(100, '\xff')); // the file header
    }
    for (const char *name : {"Bumon", "Ukeire", "kamoku"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorOf([&] { open(name); }), QStringLiteral("Header information corrupt in the table '%1'").arg(name));
    }
}

} // namespace
} // namespace qpn::engine
