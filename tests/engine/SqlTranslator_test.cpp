#include "SqlTranslatorFixture.h"

#include "engine/EngineError.h"
#include "engine/SqlTranslator.h"
#include "tests/support/SupportPrinters.h"

#include <QDate>

#include <gtest/gtest.h>

namespace qpn::engine::testing {
namespace {

QString Describe(const ColumnDef &column)
{
    QString text = column.name + u':' + FieldTypeName(column.type);
    if (column.type == FieldType::Char)
        text += QStringLiteral("(%1)").arg(column.size);
    return text;
}

QStringList Describe(const QList<ColumnDef> &columns)
{
    QStringList list;
    for (const ColumnDef &column : columns)
        list.append(Describe(column));
    return list;
}

QStringList Describe(const QList<ResultColumn> &columns)
{
    QStringList list;
    for (const ResultColumn &column : columns) {
        QString text = Describe(column.definition);
        if (!column.originTable.isEmpty())
            text += QStringLiteral(" <- %1.%2").arg(column.originTable, column.originColumn);
        list.append(text);
    }
    return list;
}

QStringList Describe(const QList<ParamUse> &params)
{
    QStringList list;
    for (const ParamUse &param : params)
        list.append(param.name + u':' + (param.type ? FieldTypeName(*param.type) : QStringLiteral("?")));
    return list;
}

QStringList Column(const QList<QStringList> &rows, int index = 0)
{
    QStringList values;
    for (const QStringList &row : rows)
        values.append(row.value(index));
    return values;
}

// The register in its oldest layout, upgraded by the twelve steps, with a few
// masters and assets covering the list filters: held, disposed in an earlier
// year, disposed this year, a consumable, one bought after the period, and one
// whose masters are missing.
class RegisterSql : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.runScript(HeadMScript() + OldestLayoutScript());
        for (const QString &statement : UpgradeStatements())
            db.run(statement);
        db.runScript(QStringLiteral(R"(
            Insert Into kamoku (ID, kamokumei, kubun) Values (100, '基本財産・建物', 1), (210, '建物', 2);
            Insert Into Bumon Values (1, 'ああああ', 1), (2, 'いいいい', Null);
            Insert Into kyoten Values (1, '本部');
            Insert Into Ukeire Values (1, '納入業者');
            Insert Into daicyoA (ID, kamoku_ID, bumon_ID, houhou_ID, 品名, 購入日, 廃棄日, 購入価格, 期首簿価, flg, yobi1_ID, kyoten_ID)
              Values (1, 210, 1, 0, '机', '2019/04/01', Null, 100000, 90000, True, 1, 1),
                     (2, 100, 2, 1, '車', '2020-06-15', Null, 1234567.8915, 500000, False, Null, Null),
                     (3, 999, 9, 0, '椅子', '2018/01/10', '2019/05/01', 5000, 0, Null, Null, Null),
                     (4, 210, 1, 3, '消耗品', '2020/05/01', Null, 800, 800, Null, Null, Null),
                     (5, 210, 2, 0, '棚', '2015/07/07', '2021/01/10', 30000, 3000, Null, Null, Null),
                     (6, 210, 1, 0, '新品', '2021/04/01', Null, 7000, 0, Null, Null, Null);
            Insert Into daicyoB (ID, Sub, Nendo, 当年償却額)
              Values (1, 0, 2019, 10000), (1, 1, 2020, 10000), (1, 2, 2021, 10000), (2, 0, 2020, 0.5);
        )"));
    }

    SqlScratchDatabase db;
};

TEST_F(RegisterSql, UpgradeStepsAddTheirColumnsInTableOrder)
{
    const QStringList upgraded = Describe(db.schema(QStringLiteral("daicyoA"))->columns).mid(38);
    EXPECT_EQ(upgraded, QStringList({
                            QStringLiteral("固定償却額:MONEY"),
                            QStringLiteral("Master1_ID:INTEGER"),
                            QStringLiteral("Master2_ID:INTEGER"),
                            QStringLiteral("Master3_ID:INTEGER"),
                            QStringLiteral("SubID:CHAR(40)"),
                            QStringLiteral("除却後購入価格:MONEY"),
                            QStringLiteral("一部除却日:DATE"),
                            QStringLiteral("一部除却額:MONEY"),
                            QStringLiteral("除却後購入価格国:MONEY"),
                            QStringLiteral("一部除却額国Ａ:MONEY"),
                            QStringLiteral("国補期首調整２３:MONEY"),
                            QStringLiteral("国補期首調整後額:MONEY"),
                            QStringLiteral("一部除却期首額:MONEY"),
                            QStringLiteral("一部除却期首額国:MONEY"),
                            QStringLiteral("一部除却期首累計額:MONEY"),
                            QStringLiteral("一部除却期首累計額国:MONEY"),
                            QStringLiteral("kyoten_ID:INTEGER"),
                        }));
    EXPECT_EQ(db.schema(QStringLiteral("daicyoB"))->columns.size(), 25);
    EXPECT_EQ(Describe(db.schema(QStringLiteral("bumon"))->columns).last(), QStringLiteral("kyoten_ID:INTEGER"));

    // The rows written after the upgrade land in the added columns of the real files.
    db.run(QStringLiteral(R"(Update daicyoA Set "一部除却日" = '2020/10/01', "一部除却額国Ａ" = 12.5 Where ID = 1)"));
    EXPECT_EQ(db.rows(QStringLiteral(R"(Select 一部除却日, 一部除却額国Ａ From daicyoA Where ID = 1)")),
              QList<QStringList>({{QStringLiteral("2020-10-01"), QStringLiteral("12.5")}}));

    // A second run of a step is refused by name.
    try {
        db.run(UpgradeStatements().at(2));
        FAIL() << "the step ran twice";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Invalid or duplicate field name '除却後購入価格' "
                                                  "specified for the table 'daicyoA'"));
    }
}

TEST_F(RegisterSql, CreateStatementsCarryKeysAndTableOptions)
{
    struct Case
    {
        const char *table;
        QStringList key;
        bool compress;
        int version;
        qsizetype columns;
    };
    const Case cases[] = {
        {"daicyoB", {QStringLiteral("ID"), QStringLiteral("Sub")}, false, 1, 25},
        {"kamoku", {QStringLiteral("ID")}, true, 1, 3},
        {"kyoten", {QStringLiteral("kyotenID")}, true, 1, 2},
        {"HeadM", {}, false, 0, 27},
    };
    for (const Case &c : cases) {
        const std::optional<TableSchema> schema = db.schema(QString::fromUtf8(c.table));
        ASSERT_TRUE(schema) << c.table;
        EXPECT_EQ(schema->primaryKey, c.key) << c.table;
        EXPECT_EQ(schema->compressKey, c.compress) << c.table;
        EXPECT_EQ(schema->userMajorVersion, c.version) << c.table;
        EXPECT_EQ(schema->language, QStringLiteral("ANSI Standard")) << c.table;
        EXPECT_EQ(schema->sort, QStringLiteral("Default Order")) << c.table;
        EXPECT_EQ(schema->columns.size(), c.columns) << c.table;
    }
    EXPECT_EQ(Describe(db.schema(QStringLiteral("HeadM"))->columns).mid(20, 3),
              QStringList({QStringLiteral("PM10:INTEGER"), QStringLiteral("年度:INTEGER"),
                           QStringLiteral("職印１:CHAR(6)")}));

    const Translation index = TranslateStatement(
        QStringLiteral(R"(CREATE INDEX IF NOT EXISTS "NendoInx" ON "daicyoB" ("ID","Nendo"))"), db.lookup());
    EXPECT_EQ(index.kind, StatementKind::CreateIndex);
    EXPECT_TRUE(index.ifNotExists);
    EXPECT_EQ(index.indexTable, QStringLiteral("daicyoB"));
    EXPECT_EQ(index.index.name, QStringLiteral("NendoInx"));
    EXPECT_EQ(index.index.fields, QStringList({QStringLiteral("ID"), QStringLiteral("Nendo")}));
    EXPECT_FALSE(index.index.primary);
}

TEST_F(RegisterSql, AssetListJoinsMastersAndSuffixesRepeatedNames)
{
    const QString list = QStringLiteral(
        "Select * From daicyoA "
        " Left Outer Join kamoku On daicyoA.kamoku_ID = kamoku.ID "
        " Left Outer Join Bumon On daicyoA.bumon_ID = Bumon.ID "
        " Left Outer Join kyoten On daicyoA.kyoten_ID = kyoten.kyotenID "
        "Where (購入日 >= :PM1) and (購入日 <= :PM2) and (houhou_ID < 3) "
        "  and not ((廃棄日 is not null) and (期首簿価 = 0)) "
        "Order By bumon_ID, kamoku_ID, 購入日, DaicyoA.ID");
    const Translation translation = TranslateStatement(list, db.lookup());
    const QStringList columns = Describe(translation.columns);
    EXPECT_EQ(columns.size(), 55 + 3 + 3 + 2);
    EXPECT_EQ(columns.value(0), QStringLiteral("ID:INTEGER <- daicyoA.ID"));
    EXPECT_EQ(columns.mid(55), QStringList({
                                   QStringLiteral("ID_1:SMALLINT <- kamoku.ID"),
                                   QStringLiteral("kamokumei:CHAR(30) <- kamoku.kamokumei"),
                                   QStringLiteral("kubun:INTEGER <- kamoku.kubun"),
                                   QStringLiteral("ID_2:SMALLINT <- Bumon.ID"),
                                   QStringLiteral("Bumon:CHAR(40) <- Bumon.Bumon"),
                                   QStringLiteral("kyoten_ID_1:INTEGER <- Bumon.kyoten_ID"),
                                   QStringLiteral("kyotenID:SMALLINT <- kyoten.kyotenID"),
                                   QStringLiteral("kyotenmei:CHAR(40) <- kyoten.kyotenmei"),
                               }));
    EXPECT_EQ(Describe(translation.params), QStringList({QStringLiteral("PM1:DATE"), QStringLiteral("PM2:DATE")}));
    EXPECT_FALSE(translation.hasRowId);
    EXPECT_EQ(translation.tables.size(), 4);

    const QList<QStringList> rows =
        db.rows(list, {{QStringLiteral("PM1"), QDate(1890, 4, 1)}, {QStringLiteral("PM2"), QDate(2021, 3, 31)}});
    // Held assets and the one disposed this year, by department and account; the
    // asset disposed earlier (opening 0), the consumable and the later one are out.
    EXPECT_EQ(Column(rows), QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5")}));
    const int bumonName = 59;
    EXPECT_EQ(Column(rows, bumonName),
              QStringList({QStringLiteral("ああああ"), QStringLiteral("いいいい"), QStringLiteral("いいいい")}));
    EXPECT_EQ(Column(rows, 9), QStringList({QStringLiteral("100000"), QStringLiteral("1234567.8915"),
                                            QStringLiteral("30000")}));
}

TEST_F(RegisterSql, AssetsWithoutMastersStayListedWithEmptyNames)
{
    const QList<QStringList> rows = db.rows(QStringLiteral(
        "Select daicyoA.ID, kamokumei, Bumon.Bumon, Ukeire.Ukeire From daicyoA "
        "Left Join kamoku On daicyoA.kamoku_ID = kamoku.ID "
        "Left Join Bumon On daicyoA.bumon_ID = Bumon.ID "
        "Left Join Ukeire On daicyoA.yobi1_ID = Ukeire.ID "
        "Where ID >= :S and ID <= :E Order By bumon_ID, kamoku_ID, ID"),
        {{QStringLiteral("S"), 1}, {QStringLiteral("E"), 3}});
    EXPECT_EQ(rows, QList<QStringList>({
                        {QStringLiteral("1"), QStringLiteral("建物"), QStringLiteral("ああああ"), QStringLiteral("納入業者")},
                        {QStringLiteral("2"), QStringLiteral("基本財産・建物"), QStringLiteral("いいいい"), QStringLiteral("NULL")},
                        {QStringLiteral("3"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("NULL")},
                    }));
}

TEST_F(RegisterSql, ReportQueriesSelectTheirAssets)
{
    const QString joins = QStringLiteral("Select * From daicyoA Left Outer Join kamoku On kamoku_ID = kamoku.ID "
                                         "Left Outer Join Bumon On bumon_ID = Bumon.ID ");
    const QVariantMap year = {{QStringLiteral("PM1"), QDate(2020, 4, 1)}, {QStringLiteral("PM2"), QDate(2021, 3, 31)}};
    struct Case
    {
        const char *name;
        QString where;
        QVariantMap params;
        QStringList ids;
    };
    const Case cases[] = {
        {"increase table", QStringLiteral("Where 購入日 Between :PM1 And :PM2 And houhou_ID < 3 Order By bumon_ID, kamoku_ID, daicyoA.ID"),
         year, {QStringLiteral("2")}},
        {"decrease table", QStringLiteral("Where 廃棄日 Between :PM1 And :PM2 And houhou_ID < 3 Order By bumon_ID, kamoku_ID, daicyoA.ID"),
         year, {QStringLiteral("5")}},
        {"disposed-asset list", QStringLiteral("Where 購入日 >= :PM1 And 購入日 <= :PM2 And houhou_ID < 3 And 廃棄日 Is Not Null "
                                               "Order By bumon_ID, kamoku_ID, daicyoA.ID"),
         {{QStringLiteral("PM1"), QDate(1890, 4, 1)}, {QStringLiteral("PM2"), QDate(2021, 3, 31)}},
         {QStringLiteral("5"), QStringLiteral("3")}},
        {"consumable ledger", QStringLiteral("Where houhou_ID = 3 And 廃棄日 Is Null Order By bumon_ID, kamoku_ID, 購入日, daicyoA.ID"),
         {}, {QStringLiteral("4")}},
        {"summary source", QStringLiteral("Where houhou_ID < 3"), {},
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("6")}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Column(db.rows(joins + c.where, c.params)), c.ids) << c.name;
}

TEST_F(RegisterSql, SearchAndSumQueriesOfTheEntryForm)
{
    const QString where = QStringLiteral(" Where ID>0  and kamoku_ID=210 and \"廃棄日\" is null and \"品名\" like '%%1%'");
    const QString search = QStringLiteral(" Select * From daicyoA ") + where + QStringLiteral(" Order By \"購入日\"");
    EXPECT_EQ(Column(db.rows(search.arg(QString()))),
              QStringList({QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("6")}));
    EXPECT_EQ(Column(db.rows(search.arg(QStringLiteral("机")))), QStringList({QStringLiteral("1")}));

    const Translation live = TranslateStatement(search.arg(QString()), db.lookup());
    EXPECT_TRUE(live.hasRowId);
    EXPECT_EQ(live.columns.size(), 55);
    EXPECT_EQ(db.rowIds(search.arg(QString())).size(), 3);

    const QString sums = QStringLiteral(
        " Select Sum(購入価格),Sum(期首簿価),Sum(期末簿価),Sum(償却額),Sum(国補期首簿価),"
        "Sum(国補期末簿価),Sum(国補取崩額) From daicyoA  Where ID>0 ");
    const Translation sum = TranslateStatement(sums, db.lookup());
    EXPECT_FALSE(sum.hasRowId);
    EXPECT_EQ(Describe(sum.columns).value(0), QStringLiteral("Sum(購入価格):MONEY"));
    const QList<QStringList> totals = db.rows(sums + QStringLiteral(" and \"廃棄日\" is null"));
    ASSERT_EQ(totals.size(), 1);
    EXPECT_EQ(totals[0].mid(0, 3),
              QStringList({QStringLiteral("1342367.8915"), QStringLiteral("590800"), QStringLiteral("NULL")}));
}

TEST_F(RegisterSql, AggregatesKeepTheTypeOfTheirColumn)
{
    const Translation translation = TranslateStatement(
        QStringLiteral("Select Count(*), Sum(数量), Sum(償却年数), Min(購入日), Max(品名) As 最後, "
                       "Avg(購入価格) From daicyoA"),
        db.lookup());
    EXPECT_EQ(Describe(translation.columns),
              QStringList({QStringLiteral("Count(*):INTEGER"), QStringLiteral("Sum(数量):INTEGER"),
                           QStringLiteral("Sum(償却年数):FLOAT"), QStringLiteral("Min(購入日):DATE"),
                           QStringLiteral("最後:CHAR(40)"), QStringLiteral("Avg(購入価格):MONEY")}));
    EXPECT_EQ(db.rows(QStringLiteral("Select Count(*), Min(購入日), Sum(当年償却額) From daicyoB "
                                     "Left Join daicyoA On daicyoB.ID = daicyoA.ID")),
              QList<QStringList>({{QStringLiteral("4"), QStringLiteral("2019-04-01"), QStringLiteral("30000.5")}}));
}

TEST_F(RegisterSql, YearRowsAreFixedAndReopenedByUpdate)
{
    const Translation fix = db.run(QStringLiteral("UpDate daicyoB Set F1=1 where Nendo<:PM1"),
                                   {{QStringLiteral("PM1"), 2020}});
    EXPECT_EQ(fix.kind, StatementKind::Update);
    EXPECT_EQ(Describe(fix.params), QStringList({QStringLiteral("PM1:INTEGER")}));
    const QString marks = QStringLiteral("Select Nendo, F1 From daicyoB Where ID = 1 Order By Sub");
    EXPECT_EQ(Column(db.rows(marks), 1),
              QStringList({QStringLiteral("1"), QStringLiteral("NULL"), QStringLiteral("NULL")}));

    db.run(QStringLiteral("Update daicyoB \n Set F1=1\n where nendo < :PM1"), {{QStringLiteral("PM1"), 2021}});
    EXPECT_EQ(Column(db.rows(marks), 1),
              QStringList({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("NULL")}));

    db.run(QStringLiteral("UpDate daicyoB Set F1 = Null"));
    EXPECT_EQ(db.rows(QStringLiteral("Select Count(*) From daicyoB Where F1 Is Not Null")),
              QList<QStringList>({{QStringLiteral("0")}}));
}

TEST_F(RegisterSql, LiteralsTakeTheStorageFormOfTheColumnTheyMeet)
{
    struct Case
    {
        const char *condition;
        QStringList ids;
    };
    const QString one = QStringLiteral("1"), two = QStringLiteral("2"), three = QStringLiteral("3"),
                  five = QStringLiteral("5"), six = QStringLiteral("6");
    const Case cases[] = {
        {"購入価格 = 1234567.8915", {two}},
        {"1234567.8915 = 購入価格", {two}},
        {"購入価格 > 99999.99 and 購入価格 < 100000.01", {one}},
        {"購入価格 between 5000 and 30000", {three, five, six}},
        {"購入価格 in (100000, 7000)", {one, six}},
        {"購入価格 = '5000'", {three}},
        {"購入価格 - 期首簿価 = 10000", {one}},
        {"購入価格 * 0.5 = 50000", {one}},
        {"購入価格 / 2 > 600000", {two}},
        {"-購入価格 < -1000000", {two}},
        {"購入価格 > coalesce(数量, 0) + 99999", {one, two}},
        {"購入日 = '2019/4/1'", {one}},
        {"購入日 = '2020-06-15'", {two}},
        {"購入日 between '2019/01/01' and '2020/12/31'", {one, two, QStringLiteral("4")}},
        {"廃棄日 < '2020/1/1'", {three}},
        {"flg = True", {one}},
        {"flg = false", {two}},
        {"kamoku_ID = '100'", {two}},
        {"not (廃棄日 is not null or 期首簿価 = 0)", {one, two, QStringLiteral("4")}},
        {"品名 like '椅%' or 品名 = '棚'", {three, five}},
        {"coalesce(廃棄日, '2099/1/1') > '2020/12/31'", {one, two, QStringLiteral("4"), five, six}},
        {"case when houhou_ID = 3 then 購入価格 else 0 end > 500", {QStringLiteral("4")}},
        {"extract(year from 購入日) = 2018", {three}},
    };
    for (const Case &c : cases) {
        const QString statement = QStringLiteral("Select ID From daicyoA Where ") + QString::fromUtf8(c.condition)
                                  + QStringLiteral(" Order By ID");
        EXPECT_EQ(Column(db.rows(statement)), c.ids) << c.condition;
    }

    // Blank text is no date, as everywhere in the register.
    db.run(QStringLiteral("Update daicyoA Set 廃棄日 = '' Where ID = 3"));
    EXPECT_EQ(Column(db.rows(QStringLiteral("Select ID From daicyoA Where 廃棄日 Is Not Null"))),
              QStringList({QStringLiteral("5")}));
}

TEST_F(RegisterSql, ParametersTakeTheTypeOfTheColumnTheyMeet)
{
    struct Case
    {
        const char *statement;
        QStringList params;
    };
    const Case cases[] = {
        {"Select * From daicyoA Where 購入日 >= :PM1 and 購入価格 > :Amount and 品名 like :S",
         {QStringLiteral("PM1:DATE"), QStringLiteral("Amount:MONEY"), QStringLiteral("S:CHAR")}},
        {"Select * From daicyoA Where ID between :S and :E", {QStringLiteral("S:INTEGER"), QStringLiteral("E:INTEGER")}},
        {"Select * From daicyoA Where :pm1 <= 購入日 and 購入日 <= :PM1", {QStringLiteral("pm1:DATE")}},
        {"Update daicyoA Set 購入価格 = :P, 廃棄日 = :D, flg = :F", {QStringLiteral("P:MONEY"), QStringLiteral("D:DATE"), QStringLiteral("F:BOOLEAN")}},
        {"Insert Into daicyoB (ID, 期首残高) Values (:ID, :Amount)", {QStringLiteral("ID:INTEGER"), QStringLiteral("Amount:MONEY")}},
        {"Select :X From daicyoA", {QStringLiteral("X:?")}},
        {"Select * From daicyoA Where 購入価格 + :Add > 0", {QStringLiteral("Add:MONEY")}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Describe(TranslateStatement(QString::fromUtf8(c.statement), db.lookup()).params), c.params)
            << c.statement;

    EXPECT_EQ(Column(db.rows(QStringLiteral("Select ID From daicyoA Where 購入価格 = :P and 購入日 = :D"),
                             {{QStringLiteral("P"), 1234567.8915}, {QStringLiteral("D"), QDate(2020, 6, 15)}})),
              QStringList({QStringLiteral("2")}));
}

TEST_F(RegisterSql, NamesAreBareQuotedOrBracketedInAnyCase)
{
    const Translation translation = TranslateStatement(
        QStringLiteral("select [ID], \"品名\", 品名, [kamoku].[kamokumei] NAME "
                       "from DAICYOA left join KAMOKU on daicyoa.KAMOKU_ID = Kamoku.id "
                       "where [購入価格] > 0 ORDER BY DaicyoA.id DESC, NAME"),
        db.lookup());
    EXPECT_EQ(Describe(translation.columns),
              QStringList({QStringLiteral("ID:INTEGER <- daicyoA.ID"), QStringLiteral("品名:CHAR(40) <- daicyoA.品名"),
                           QStringLiteral("品名_1:CHAR(40) <- daicyoA.品名"),
                           QStringLiteral("NAME:CHAR(30) <- kamoku.kamokumei")}));
    EXPECT_EQ(Column(db.rows(QStringLiteral("SELECT [ID] FROM [daicyoA.DAT] a WHERE a.\"ID\" < 3 order by 1 desc"))),
              QStringList({QStringLiteral("2"), QStringLiteral("1")}));
    EXPECT_EQ(Column(db.rows(QStringLiteral("select b.Nendo from daicyoA a left join daicyoB b on b.ID = a.ID "
                                            "where a.ID = 1 order by b.Nendo desc"))),
              QStringList({QStringLiteral("2021"), QStringLiteral("2020"), QStringLiteral("2019")}));
}

TEST_F(RegisterSql, LiveResultsCarryTheBaseRowId)
{
    const QList<qint64> ids = db.rowIds(QStringLiteral("Select ID From daicyoA Order By ID Desc"));
    ASSERT_EQ(ids.size(), 6);
    db.run(QStringLiteral("Delete From daicyoA Where ID = 6"));
    const QList<qint64> after = db.rowIds(QStringLiteral("Select * From daicyoA Order By ID Desc"));
    EXPECT_EQ(after, ids.mid(1));

    for (const char *statement : {"Select Count(*) From daicyoA", "Select Distinct kamoku_ID From daicyoA",
                                  "Select kamoku_ID, Sum(購入価格) From daicyoA Group By kamoku_ID",
                                  "Select * From daicyoA, kamoku"})
        EXPECT_FALSE(TranslateStatement(QString::fromUtf8(statement), db.lookup()).hasRowId) << statement;
}

TEST_F(RegisterSql, WorkTablesAreCreatedFilledAndDropped)
{
    db.run(QStringLiteral("DROP TABLE IF EXISTS WTBL1"));
    db.run(QStringLiteral("Create Table WTBL1 (kamoku_ID Integer, kubun_ID Integer, kamokumei Char(50), "
                          "kubunmei Char(50), kin1 Money, kin2 Money, PRIMARY KEY (kamoku_ID, kubun_ID))"));
    db.run(QStringLiteral("Insert Into WTBL1 (kamoku_ID, kubun_ID, kamokumei, kin1) "
                          "Select kamoku_ID, bumon_ID, kamokumei, Sum(購入価格) From daicyoA "
                          "Left Join kamoku On kamoku_ID = kamoku.ID Group By kamoku_ID, bumon_ID, kamokumei"));
    EXPECT_EQ(db.rows(QStringLiteral("Select kamoku_ID, kubun_ID, kin1 From WTBL1 Where kin1 > 10000 Order By 1, 2")),
              QList<QStringList>({{QStringLiteral("100"), QStringLiteral("2"), QStringLiteral("1234567.8915")},
                                  {QStringLiteral("210"), QStringLiteral("1"), QStringLiteral("107800")},
                                  {QStringLiteral("210"), QStringLiteral("2"), QStringLiteral("30000")}}));
    db.run(QStringLiteral("Drop Table WTBL1"));
    try {
        db.rows(QStringLiteral("Select * From WTBL1"));
        FAIL() << "the work table is still there";
    } catch (const EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Table 'WTBL1' does not exist"));
    }
    EXPECT_TRUE(db.run(QStringLiteral("Drop Table If Exists WTBL1")).tables.isEmpty());
}

} // namespace
} // namespace qpn::engine::testing
