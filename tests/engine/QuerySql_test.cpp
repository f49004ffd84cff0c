#include "tests/engine/EngineFixture.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Query.h"

namespace qpn::engine {
namespace {

using QuerySql = EngineFixture;

Query &prepare(Query &query, const QString &folder, const QString &sql)
{
    query.setDatabaseName(folder);
    query.setSql(sql);
    return query;
}

TEST_F(QuerySql, ScriptsCreateTablesThatTheTableObjectReads)
{
    Query script;
    prepare(script, folder(),
            "/* accounts */ CREATE TABLE IF NOT EXISTS \"kamoku\" (ID SmallInt, kamokumei Varchar(30),"
            " PRIMARY KEY (ID) COMPRESS FULL) LANGUAGE \"ANSI Standard\" SORT \"Default Order\" USER MAJOR VERSION 1;"
            "CREATE TABLE IF NOT EXISTS daicyoA (ID Integer, 購入価格 Money, 購入日 Date, PRIMARY KEY (ID) COMPRESS NONE)"
            " LANGUAGE \"ANSI Standard\" SORT \"Default Order\" USER MAJOR VERSION 1;"
            "CREATE INDEX IF NOT EXISTS KaInx ON daicyoA (購入日);");
    script.execSql();
    script.execSql(); // a second run changes nothing
    Query alter;
    prepare(alter, folder(), "ALTER TABLE daicyoA add\"一部除却日\" Date, add 国補期首調整２３ Money");
    alter.execSql();
    EXPECT_EQ(errorOf([&] { alter.execSql(); }),
              QStringLiteral("Invalid or duplicate field name '一部除却日' specified for the table 'daicyoA'"));
    Table table;
    table.setDatabaseName(folder());
    table.setTableName("DAICYOA");
    const TableSchema schema = table.schema();
    ASSERT_EQ(schema.columns.size(), 5);
    EXPECT_EQ(schema.columns[3].name, QStringLiteral("一部除却日"));
    EXPECT_EQ(schema.columns[4].type, FieldType::Money);
    ASSERT_EQ(schema.indexes.size(), 1);
    EXPECT_EQ(schema.indexes[0].name, "KaInx");
    table.setTableName("kamoku");
    EXPECT_TRUE(table.schema().compressKey);
    EXPECT_EQ(table.schema().userMajorVersion, 1);
}

TEST_F(QuerySql, SelectsJoinsWithParametersAndSums)
{
    fillYearRows();
    create(accounts());
    Query insert;
    prepare(insert, folder(), "UPDATE daicyoB SET F1 = NULL; UPDATE daicyoB SET 当年償却額 = :A WHERE Nendo >= :N");
    insert.setParam("A", QVariant::fromValue(Currency::fromUnits(15000)));
    insert.setParam("n", 2021);
    EXPECT_EQ(insert.paramNames(), QStringList({"A", "N"}));
    insert.execSql();
    EXPECT_EQ(insert.rowsAffected(), 6);

    Query sum;
    prepare(sum, folder(), "SELECT SUM(当年償却額) AS total, SUM(期首残高) FROM daicyoB WHERE ID <> 3");
    sum.open();
    ASSERT_EQ(sum.recordCount(), 1);
    EXPECT_EQ(sum.field(0).dataType(), FieldType::Money);
    EXPECT_EQ(sum.fieldByName("total").asCurrency(), Currency::fromUnits(4 * 15000));

    Query join;
    prepare(join, folder(),
            "SELECT * FROM daicyoB LEFT JOIN kamoku ON daicyoB.ID = kamoku.ID WHERE Nendo = :Y ORDER BY daicyoB.ID DESC");
    join.setParam("Y", 2020);
    join.open();
    EXPECT_EQ(join.recordCount(), 3);
    EXPECT_EQ(join.fieldByName("ID").asInteger(), 3);
    ASSERT_NE(join.findField("ID_1"), nullptr);
    EXPECT_TRUE(join.fieldByName("ID_1").isNull()); // no account row
    EXPECT_EQ(errorOf([&] { join.edit(); }), "Cannot modify a read-only dataset");
}

TEST_F(QuerySql, LiveResultPostsToTheBaseRow)
{
    fillYearRows();
    Query live;
    prepare(live, folder(), "SELECT * FROM daicyoB WHERE ID = 2 ORDER BY Sub");
    live.setRequestLive(true);
    live.open();
    ASSERT_EQ(live.recordCount(), 4);
    live.next();
    live.edit();
    live.fieldByName(QStringLiteral("期首残高")).setAsCurrency(Currency::fromYen(777));
    live.post();
    auto table = open("daicyoB");
    ASSERT_TRUE(table->findKey({2, 1}));
    EXPECT_EQ(table->fieldByName(QStringLiteral("期首残高")).asCurrency(), Currency::fromYen(777));
}

TEST_F(QuerySql, StatementsAreCheckedAndAtomic)
{
    create(accounts());
    Query seed;
    prepare(seed, folder(), "INSERT INTO kamoku (ID, kamokumei) VALUES (1, '建物'); INSERT INTO kamoku (ID, kamokumei) VALUES (2, '車両')");
    seed.execSql();
    struct Case
    {
        QString sql;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("UPDATE kamoku SET kamokumei = :S"),
         QStringLiteral("Maximum or minimum limits on number of fields, auto-increment field value, or field size "
                        "exceeded in the table 'kamoku'")},
        {QStringLiteral("UPDATE kamoku SET kamokumei = '🍣'"),
         QStringLiteral("The character '🍣' (U+1F363) in the field 'kamokumei' of the table 'kamoku' cannot be "
                        "stored in code page 932")},
        {QStringLiteral("UPDATE kamoku SET kubun = 40000"),
         QStringLiteral("The value for the field 'kubun' in the table 'kamoku' is above the maximum allowable value")},
        {QStringLiteral("UPDATE kamoku SET ID = 1"),
         QStringLiteral("Duplicate key found in the index 'Primary' of the table 'kamoku'")},
        {QStringLiteral("SELECT FROM kamoku"), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql.toStdString());
        Query query;
        prepare(query, folder(), c.sql);
        query.setParam("S", QString(16, QChar(u'資'))); // 32 bytes in 30
        const QString message = errorOf([&] { query.execSql(); });
        if (c.message.isEmpty())
            EXPECT_TRUE(message.startsWith("SQL error - ")) << message.toStdString();
        else
            EXPECT_EQ(message, c.message);
    }
    auto table = open("kamoku");
    EXPECT_EQ(table->recordCount(), 2);
    EXPECT_EQ(table->fieldByName("kamokumei").asString(), QStringLiteral("建物"));
    EXPECT_TRUE(table->fieldByName("kubun").isNull());
}

} // namespace
} // namespace qpn::engine
