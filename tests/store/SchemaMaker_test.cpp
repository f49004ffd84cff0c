#include "tests/store/StoreFixture.h"
#include "tests/support/SupportPrinters.h"

#include "engine/EngineError.h"
#include "engine/Table.h"
#include "store/SchemaMaker.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qpn;
using namespace qpn::test;
using engine::FieldType;

namespace {

const QString AccountQuestion = QStringLiteral(
    "社会福祉法人の場合は はい[Y] を選択してください。それ以外の学校法人・公益法人等は いいえ[N] "
    "を選んでください。\n\r科目区分は後で修正が出来ます。");

// Runs both makers as start-up does, answering the account question with `answer`.
QList<ScriptedDialogs::Shown> makeAll(const RegisterFolder &folder, QList<DialogButton> answers,
                                      QList<int> *steps = nullptr)
{
    ScriptedDialogs dialogs(std::move(answers));
    const ScopedDialogs scope(dialogs);
    SchemaMaker maker;
    maker.MakeHeadM(folder.base());
    maker.MakeTBL(folder.data());
    if (steps)
        *steps = maker.appliedSteps();
    return dialogs.shown();
}

QStringList withNulls(QStringList rows, int count)
{
    for (QString &row : rows)
        row += QStringLiteral("|null").repeated(count);
    return rows;
}

} // namespace

TEST(SchemaMaker, HeaderTableHasItsColumnsAndNoKey)
{
    const RegisterFolder folder;
    makeAll(folder, {DialogButton::Yes});

    const engine::TableSchema schema = SchemaOf(folder.base(), QStringLiteral("HeadM"));
    EXPECT_EQ(schema.columns.size(), 27);
    EXPECT_TRUE(schema.primaryKey.isEmpty());
    EXPECT_TRUE(schema.indexes.isEmpty());
    EXPECT_EQ(schema.language, QStringLiteral("ANSI Standard"));
    EXPECT_EQ(schema.sort, QStringLiteral("Default Order"));
    EXPECT_FALSE(QFile::exists(folder.data() + QStringLiteral("/HeadM.DAT")));

    struct Column { const char *name; FieldType type; int size = 0; };
    const Column columns[] = {
        {"meisyou", FieldType::Char, 50},  {"jyuusyo", FieldType::Char, 34},
        {"KisyuDate", FieldType::Date},    {"KimatuDate", FieldType::Date},
        {"Password", FieldType::Char, 10}, {"PathName2", FieldType::Char, 100},
        {"PM1", FieldType::Integer},       {"PM10", FieldType::Integer},
        {"年度", FieldType::Integer},      {"職印５", FieldType::Char, 6},
    };
    for (const Column &c : columns) {
        const engine::ColumnDef *def = schema.column(QString::fromUtf8(c.name));
        ASSERT_NE(def, nullptr) << c.name;
        EXPECT_EQ(def->type, c.type) << c.name;
        if (c.type == FieldType::Char) {
            EXPECT_EQ(def->size, c.size) << c.name;
        }
    }
}

TEST(SchemaMaker, EmptyFolderGetsTenTablesWithTheirKeys)
{
    const RegisterFolder folder;
    makeAll(folder, {DialogButton::Yes});

    struct Expected { const char *table; int columns; QStringList key; bool compress = true; };
    const Expected tables[] = {
        {"Bumon", 3, {"ID"}},
        {"daicyoA", 55, {"ID"}, false},
        {"daicyoB", 25, {"ID", "Sub"}, false},
        {"kamoku", 3, {"ID"}},
        {"Master1", 2, {"ID"}},
        {"Master2", 2, {"ID"}},
        {"Master3", 2, {"ID"}},
        {"Ukeire", 2, {"ID"}},
        {"Regist", 21, {"ID"}},
        {"kyoten", 2, {"kyotenID"}},
    };
    for (const Expected &e : tables) {
        const engine::TableSchema schema = SchemaOf(folder.data(), QString::fromUtf8(e.table));
        EXPECT_EQ(schema.columns.size(), e.columns) << e.table;
        EXPECT_EQ(schema.primaryKey, e.key) << e.table;
        EXPECT_EQ(schema.compressKey, e.compress) << e.table;
        EXPECT_EQ(schema.userMajorVersion, 1) << e.table;
        EXPECT_EQ(schema.language, QStringLiteral("ANSI Standard")) << e.table;
        EXPECT_EQ(schema.sort, QStringLiteral("Default Order")) << e.table;
    }
    QStringList files = QDir(folder.data()).entryList({QStringLiteral("*.DAT")}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), 10) << files.join(QLatin1Char(' ')).toStdString();

    const engine::TableSchema years = SchemaOf(folder.data(), QStringLiteral("daicyoB"));
    ASSERT_EQ(years.indexes.size(), 1);
    EXPECT_EQ(years.indexes.first().name, QStringLiteral("NendoInx"));
    EXPECT_EQ(years.indexes.first().fields, (QStringList{"ID", "Nendo"}));

    // Master names are the table's own; the name columns of the masters follow them.
    EXPECT_EQ(ColumnNamesOf(folder.data(), QStringLiteral("Master2")), (QStringList{"ID", "Master2"}));
    EXPECT_EQ(ColumnsOf(folder.data(), QStringLiteral("kamoku")),
              (QStringList{"ID SMALLINT", "kamokumei CHAR(30)", "kubun SMALLINT"}));
}

TEST(SchemaMaker, ColumnSizesAreCp932Bytes)
{
    const RegisterFolder folder;
    makeAll(folder, {DialogButton::Yes});
    const QStringList fields = {QStringLiteral("ID"), QStringLiteral("品名")};

    AppendRow(folder.data(), QStringLiteral("daicyoA"), fields, {1, QString(20, QChar(0x6A5F))});
    EXPECT_THROW(AppendRow(folder.data(), QStringLiteral("daicyoA"), fields, {2, QString(21, QChar(0x6A5F))}),
                 engine::EngineError);
    EXPECT_EQ(RowsOf(folder.data(), QStringLiteral("daicyoA")).size(), 1);
}

TEST(SchemaMaker, AccountQuestionPicksTheList)
{
    const QStringList socialWelfare = {
        "100|基本財産・建物|null",   "110|基本財産・土地|null", "120|基本財産・特定預金|null",
        "210|建物|null",             "220|構築物|null",         "230|機械及び装置|null",
        "240|車輌運搬具|null",       "250|器具及び備品|null",   "260|無形固定資産|null",
        "300|消耗備品|null",
    };
    const QStringList school = {
        "100|土地|null",         "110|建物|null", "120|構築物|null", "130|教育機器備品|null",
        "140|その他機器備品|null", "150|図書|null", "160|車輌|null",   "300|消耗備品|null",
    };
    struct Case { const char *name; QList<DialogButton> answers; QStringList accounts; };
    const Case cases[] = {
        {"yes", {DialogButton::Yes}, socialWelfare},
        {"no", {DialogButton::No}, school},
        {"cancel", {DialogButton::Cancel}, school},
        {"closed", {}, school},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RegisterFolder folder;
        const auto shown = makeAll(folder, c.answers);

        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown.first().kind, DialogKind::Warning);
        EXPECT_EQ(shown.first().text, AccountQuestion);
        EXPECT_EQ(shown.first().buttons,
                  (QList<DialogButton>{DialogButton::Yes, DialogButton::No, DialogButton::Cancel}));
        EXPECT_EQ(RowsOf(folder.data(), QStringLiteral("kamoku")), c.accounts);
        EXPECT_EQ(RowsOf(folder.data(), QStringLiteral("Bumon")),
                  (QStringList{"1|ああああ|null", "2|いいいい|null", "3|ううううう|null"}));
        EXPECT_EQ(RowsOf(folder.data(), QStringLiteral("Ukeire")),
                  (QStringList{"1|ああああ", "2|いいいい", "3|ううううう"}));
    }
}

TEST(SchemaMaker, SecondRunChangesNothingAndAsksNothing)
{
    const RegisterFolder folder;
    makeAll(folder, {DialogButton::No});
    AppendRow(folder.base(), QStringLiteral("HeadM"), {QStringLiteral("meisyou")}, {QStringLiteral("法人")});
    const QStringList before = Snapshot(folder.data()) + RowsOf(folder.base(), QStringLiteral("HeadM"));

    QList<int> steps = {-1};
    EXPECT_TRUE(makeAll(folder, {}, &steps).isEmpty());
    EXPECT_TRUE(steps.isEmpty());
    EXPECT_EQ(Snapshot(folder.data()) + RowsOf(folder.base(), QStringLiteral("HeadM")), before);
}

TEST(SchemaMaker, UpgradesOlderLayoutsKeepingTheirRows)
{
    struct Case { const char *name; Layout layout; QList<int> steps; };
    const Case cases[] = {
        {"oldest", {38, 20, false, false}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"classificationsButNoPartialDisposal", {43, 20, false, false}, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"onlyLocationsMissing", {54, 25, true, false}, {11, 12}},
        {"yearTableBehind", {55, 20, true, true}, {5, 8}},
        {"yearTableWithoutIndex", {55, 25, true, true, false}, {}},
    };
    const RegisterFolder fresh;
    makeAll(fresh, {DialogButton::Yes});

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RegisterFolder folder;
        CreateLayout(folder.data(), c.layout);
        QMap<QString, QStringList> before;
        QMap<QString, int> oldColumns;
        for (const QString &table : QStringList{"daicyoA", "daicyoB", "kamoku", "Bumon", "Ukeire"}) {
            before[table] = RowsOf(folder.data(), table);
            oldColumns[table] = ColumnNamesOf(folder.data(), table).size();
        }

        QList<int> steps;
        EXPECT_TRUE(makeAll(folder, {}, &steps).isEmpty()); // every list holds rows
        EXPECT_EQ(steps, c.steps);

        for (const QString &table : DataTableNames())
            EXPECT_EQ(ColumnNamesOf(folder.data(), table), ColumnNamesOf(fresh.data(), table)) << table.toStdString();
        for (const QString &table : QStringList{"daicyoA", "daicyoB"})
            EXPECT_EQ(ColumnsOf(folder.data(), table), ColumnsOf(fresh.data(), table)) << table.toStdString();
        const engine::TableSchema kamoku = SchemaOf(folder.data(), QStringLiteral("kamoku"));
        const engine::TableSchema bumon = SchemaOf(folder.data(), QStringLiteral("Bumon"));
        EXPECT_EQ(kamoku.column(QStringLiteral("kubun"))->type,
                  c.layout.kamokuKubun ? FieldType::SmallInt : FieldType::Integer);
        EXPECT_EQ(bumon.column(QStringLiteral("kyoten_ID"))->type,
                  c.layout.bumonKyoten ? FieldType::SmallInt : FieldType::Integer);

        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const int added = ColumnNamesOf(folder.data(), it.key()).size() - oldColumns[it.key()];
            EXPECT_EQ(RowsOf(folder.data(), it.key()), withNulls(it.value(), added)) << it.key().toStdString();
        }
        const engine::TableSchema years = SchemaOf(folder.data(), QStringLiteral("daicyoB"));
        ASSERT_EQ(years.indexes.size(), 1);
        EXPECT_EQ(years.indexes.first().name, QStringLiteral("NendoInx"));
        EXPECT_EQ(years.indexes.first().fields, (QStringList{"ID", "Nendo"}));

        QList<int> again = {-1};
        makeAll(folder, {}, &again);
        EXPECT_TRUE(again.isEmpty());
    }
}

TEST(SchemaMaker, SeedsOnlyTheEmptyLists)
{
    struct Case { const char *name; bool accounts; bool departments; bool suppliers; };
    const Case cases[] = {
        {"accountsKeptDepartmentsSeeded", true, false, true},
        {"deletedAccountsAreAskedForAgain", false, true, true},
        {"suppliersOnly", true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const RegisterFolder folder;
        makeAll(folder, {DialogButton::Yes});
        struct List { QString table; bool keep; };
        const List lists[] = {
            {QStringLiteral("kamoku"), c.accounts},
            {QStringLiteral("Bumon"), c.departments},
            {QStringLiteral("Ukeire"), c.suppliers},
        };
        for (const List &list : lists) {
            engine::Table t;
            t.setDatabaseName(folder.data());
            t.setTableName(list.table);
            t.emptyTable();
            if (list.keep)
                AppendRow(folder.data(), list.table, {QStringLiteral("ID")}, {7});
        }

        const auto shown = makeAll(folder, {DialogButton::No});
        EXPECT_EQ(shown.size(), c.accounts ? 0 : 1);
        for (const List &list : lists) {
            const QStringList rows = RowsOf(folder.data(), list.table);
            if (list.keep) {
                ASSERT_EQ(rows.size(), 1) << list.table.toStdString();
                EXPECT_TRUE(rows.first().startsWith(QStringLiteral("7|null"))) << rows.first().toStdString();
            } else {
                EXPECT_EQ(rows.size(), list.table == QStringLiteral("kamoku") ? 8 : 3) << list.table.toStdString();
            }
        }
    }
}

TEST(SchemaMaker, EngineFailureReachesTheCaller)
{
    const RegisterFolder folder;
    QFile foreign(folder.data() + QStringLiteral("/kamoku.DAT"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray(4096, 'x'));
    foreign.close();

    ScriptedDialogs dialogs;
    const ScopedDialogs scope(dialogs);
    SchemaMaker maker;
    try {
        maker.MakeTBL(folder.data());
        FAIL() << "a foreign kamoku.DAT was accepted";
    } catch (const engine::EngineError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("kamoku"))) << error.message().toStdString();
    }
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
