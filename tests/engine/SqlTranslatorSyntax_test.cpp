#include "SqlTranslatorFixture.h"

#include "engine/EngineError.h"
#include "engine/SqlLiterals.h"
#include "engine/SqlTranslator.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn::engine::testing {
namespace {

QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const EngineError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

TEST(SqlScript, SplitsAtSemicolonsOutsideQuotesAndComments)
{
    struct Case
    {
        const char *script;
        QStringList statements;
    };
    const Case cases[] = {
        {"a; b", {QStringLiteral("a"), QStringLiteral("b")}},
        {"  ;; a ;\n  ", {QStringLiteral("a")}},
        {"/* x; y */ a; b /* ; */", {QStringLiteral("a"), QStringLiteral("b")}},
        {"a/**/b", {QStringLiteral("a b")}},
        {"/* only a comment */", {}},
        {"select ';' from t; x", {QStringLiteral("select ';' from t"), QStringLiteral("x")}},
        {"select 'it''s; fine' from t", {QStringLiteral("select 'it''s; fine' from t")}},
        {"select \"a;b\", [c;d] from t", {QStringLiteral("select \"a;b\", [c;d] from t")}},
        {"select '/* not a comment */' from t", {QStringLiteral("select '/* not a comment */' from t")}},
        {"a -- comment; still comment\n; b", {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SplitScript(QString::fromUtf8(c.script)), c.statements) << c.script;
    EXPECT_EQ(ErrorOf([] { SplitScript(QStringLiteral("a; /* open")); }),
              QStringLiteral("SQL error - unterminated comment"));
}

TEST(SqlLiterals, MoneyLiteralsBecomeExactUnits)
{
    struct Case
    {
        const char *literal;
        std::optional<qint64> units;
    };
    const Case cases[] = {
        {"1", 10000},
        {"1234567.8915", 12345678915},
        {"-12.5", -125000},
        {".5", 5000},
        {"0.00005", 0},         // half a unit: ties go to the even unit
        {"0.00015", 2},
        {"0.000151", 2},
        {"0.00025", 2},
        {"0.000251", 3},
        {"1e3", 10000000},
        {"1.5E-2", 150},
        {"922337203685477", 9223372036854770000},
        {"92233720368547758", std::nullopt},
        {"abc", std::nullopt},
        {"1,000", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MoneyLiteralUnits(QString::fromUtf8(c.literal)), c.units) << c.literal;
}

TEST(SqlLiterals, DateLiteralsBecomeIsoText)
{
    struct Case
    {
        const char *literal;
        bool withTime;
        std::optional<QString> stored;
    };
    const Case cases[] = {
        {"2019/04/01", false, QStringLiteral("2019-04-01")},
        {"2019/4/1", false, QStringLiteral("2019-04-01")},
        {"2019-04-01", false, QStringLiteral("2019-04-01")},
        {"2019/4/1", true, QStringLiteral("2019-04-01 00:00:00")},
        {"2019/4/1 9:05", true, QStringLiteral("2019-04-01 09:05:00")},
        {"2019-04-01 23:59:59", false, QStringLiteral("2019-04-01")},
        {"2020/02/29", false, QStringLiteral("2020-02-29")},
        {"2019/02/29", false, std::nullopt},
        {"2019/13/01", false, std::nullopt},
        {"2019/4/1 25:00", true, std::nullopt},
        {"R1/5/1", false, std::nullopt},
        {"20190401", false, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StoredDateText(QString::fromUtf8(c.literal), c.withTime), c.stored) << c.literal;
}

class SqlErrors : public ::testing::Test
{
protected:
    void SetUp() override { db.runScript(OldestLayoutScript()); }
    SqlScratchDatabase db;
};

TEST_F(SqlErrors, MalformedStatementsNameWhatIsWrong)
{
    struct Case
    {
        const char *statement;
        const char *message;
    };
    const Case cases[] = {
        {"", "SQL error - empty statement"},
        {"Frobnicate daicyoA", "SQL error - expected SELECT, UPDATE, DELETE, INSERT, CREATE, ALTER or DROP near 'Frobnicate'"},
        {"Select * daicyoA", "SQL error - expected FROM near 'daicyoA'"},
        {"Select * From daicyoA Where", "SQL error - expected a value or a column name at the end of the statement"},
        {"Select * From daicyoA Where ID = 1 2", "SQL error - unexpected '2' after the end of the statement"},
        {"Select * From daicyoA; Select 1", "SQL error - unexpected 'Select' after the end of the statement"},
        {"Select * From daicyoA Where 品名 = 'abc", "SQL error - unterminated string 'abc"},
        {"Select * From daicyoA Where \"品名 = 1", "SQL error - unterminated name \"品名 = 1"},
        {"Select * From daicyoA Where ID = :", "SQL error - parameter name missing after ':'"},
        {"Select * From daicyoA Where ID = 1 # 2", "SQL error - unexpected character '#'"},
        {"Select * From daicyoA /* never closed", "SQL error - unterminated comment"},
        {"Select * From nothere", "Table 'nothere' does not exist"},
        {"Select * From daicyoA Left Join nothere On 1 = 1", "Table 'nothere' does not exist"},
        {"Select foo From daicyoA", "SQL error - unknown column 'foo' in the table 'daicyoA'"},
        {"Select foo From daicyoA Left Join kamoku On kamoku_ID = kamoku.ID", "SQL error - unknown column 'foo'"},
        {"Select kamoku.foo From daicyoA Left Join kamoku On kamoku_ID = kamoku.ID", "SQL error - unknown column 'kamoku.foo'"},
        {"Select * From daicyoA x Where y.ID = 1", "SQL error - unknown table 'y' in 'y.ID'"},
        {"Select y.* From daicyoA", "SQL error - unknown table 'y' in 'y.*'"},
        {"Select * From daicyoA Left Join daicyoA On 1 = 1", "SQL error - the table name 'daicyoA' is used twice; give one an alias"},
        {"Select * From daicyoA Left Join kamoku", "SQL error - expected ON at the end of the statement"},
        {"Select * From daicyoA Order By 99", "SQL error - ORDER BY position 99 is not a result column"},
        {"Select * From daicyoA Where 購入日 = '2019/02/30'", "SQL error - '2019/02/30' is not a valid date"},
        {"Select * From daicyoA Where 購入価格 = 'abc'", "SQL error - 'abc' is not a valid amount"},
        {"Select Sum(ID, 2) From daicyoA", "SQL error - SUM takes one argument"},
        {"Select Median(ID) From daicyoA", "SQL error - unknown function 'Median'"},
        {"Select * From daicyoA Where ID In (Select ID From daicyoB)", "SQL error - subqueries are not supported"},
        {"Select * From daicyoA Union Select * From daicyoA", "SQL error - UNION is not supported"},
        {"Update daicyoB Set nope = 1", "SQL error - unknown column 'nope' in the table 'daicyoB'"},
        {"Update daicyoB Set F1 = 1, f1 = 2", "SQL error - the column 'F1' is set twice"},
        {"Update daicyoB F1 = 1", "SQL error - expected SET near '='"},
        {"Delete daicyoB", "SQL error - expected FROM near 'daicyoB'"},
        {"Insert Into kamoku (ID) Values (1, 'x')", "SQL error - 1 columns but 2 values"},
        {"Insert Into kamoku (ID, nope) Values (1, 2)", "SQL error - unknown column 'nope' in the table 'kamoku'"},
        {"Create Table T (a Char)", "SQL error - expected '(' near ')'"},
        {"Create Table T (a Char(0))", "Invalid field definition specified for the field 'a' in the table 'T'"},
        {"Create Table T (a Widget)", "SQL error - unknown column type 'Widget' for the column 'a'"},
        {"Create Table T (a Integer, A Money)", "Invalid or duplicate field name 'A' specified for the table 'T'"},
        {"Create Table T (a Integer, Primary Key (b))", "SQL error - the key column 'b' is not a column of the table 'T'"},
        {"Create Table T (a Integer, Primary Key (a) Compress Lots)", "SQL error - expected FULL, NONE, DUPBYTE or TRAILBYTE after COMPRESS near 'Lots'"},
        {"Create Table T (a Integer) Colour \"Blue\"", "SQL error - unexpected 'Colour' after the end of the statement"},
        {"Create Index X On daicyoB (Nope)", "Invalid field 'Nope' specified for the index 'X' in the table 'daicyoB'"},
        {"Create Index X On nothere (ID)", "Table 'nothere' does not exist"},
        {"Alter Table daicyoA Add \"品名\" Varchar(40)", "Invalid or duplicate field name '品名' specified for the table 'daicyoA'"},
        {"Alter Table daicyoA Add \"x\" Money, add \"X\" Money", "Invalid or duplicate field name 'X' specified for the table 'daicyoA'"},
        {"Alter Table daicyoA Add \"x\"", "SQL error - expected a column type after 'x' at the end of the statement"},
        {"Alter Table nothere Add \"x\" Money", "Table 'nothere' does not exist"},
        {"Drop Table nothere", "Table 'nothere' does not exist"},
        {"Drop Index daicyoB.Nope", "Invalid secondary index name 'Nope' specified for the table 'daicyoB'"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ErrorOf([&] { TranslateStatement(QString::fromUtf8(c.statement), db.lookup()); }),
                  QString::fromUtf8(c.message))
            << c.statement;

    const QString deep = QStringLiteral("Select * From daicyoA Where ") + QString(100000, u'(');
    EXPECT_EQ(ErrorOf([&] { TranslateStatement(deep, db.lookup()); }),
              QStringLiteral("SQL error - the statement is nested too deeply"));
    EXPECT_EQ(ErrorOf([&] { TranslateStatement(QStringLiteral("Select ") + QString(100000, u'+') + u'1', db.lookup()); }),
              QStringLiteral("SQL error - the statement is nested too deeply"));
}

// Whatever is typed into a search box or a filter ends in a message, never a crash.
TEST_F(SqlErrors, TruncatedStatementsFailWithAMessage)
{
    const QString statements[] = {
        QStringLiteral("Select daicyoA.ID, Sum(購入価格) As 合計, Case When flg Then 'y' Else 'n' End From daicyoA "
                       "Left Outer Join kamoku On daicyoA.kamoku_ID = kamoku.ID Where 購入日 Between :S And :E "
                       "And 品名 Not Like '%a%' Escape '!' And ID In (1, 2) Group By daicyoA.ID Having Count(*) > 0 "
                       "Order By 1 Desc"),
        QStringLiteral("Create Table IF NOT EXISTS \"T\" (\"a\" Char(10), \"b\" BLOB(10,1), Primary Key (\"a\") "
                       "Compress Full) Language \"ANSI Standard\" Sort \"Default Order\" User Major Version 1"),
        QStringLiteral("Alter Table daicyoA Add \"x\" Money, add\"y\" Date"),
        QStringLiteral("Insert Into kamoku (ID, kamokumei) Values (1, 'a'), (2, 'b')"),
    };
    for (const QString &statement : statements) {
        EXPECT_NO_THROW(TranslateStatement(statement, db.lookup())) << statement.toStdString();
        for (qsizetype length = 0; length < statement.size(); ++length) {
            const QString cut = statement.left(length);
            try {
                TranslateStatement(cut, db.lookup());
            } catch (const EngineError &error) {
                EXPECT_FALSE(error.message().isEmpty()) << cut.toStdString();
            }
        }
    }
}

TEST_F(SqlErrors, FiltersMatchColumnsInAnyCase)
{
    const TableSchema schema = *db.schema(QStringLiteral("daicyoB"));
    struct Case
    {
        const char *filter;
        const char *sql;
    };
    const Case cases[] = {
        {"nendo>=2019", "(\"Nendo\" >= 2019)"},
        {"NENDO >= 2019 and f1 is null", "((\"Nendo\" >= 2019) AND (\"F1\" IS NULL))"},
        {"当年償却額 > 1000.5", "(\"当年償却額\" > 10005000)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TranslateFilter(QString::fromUtf8(c.filter), schema), QString::fromUtf8(c.sql)) << c.filter;

    const Case errors[] = {
        {"nendo>=", "Filter error for the table 'daicyoB' - expected a value or a column name at the end of the statement"},
        {"year >= 2019", "Filter error for the table 'daicyoB' - unknown column 'year' in the table 'daicyoB'"},
        {"nendo >= :PM1", "Filter error for the table 'daicyoB' - parameters are not allowed here (':PM1')"},
        {"nendo >= 2019 nendo", "Filter error for the table 'daicyoB' - unexpected 'nendo' after the end of the condition"},
    };
    for (const Case &c : errors)
        EXPECT_EQ(ErrorOf([&] { TranslateFilter(QString::fromUtf8(c.filter), schema); }), QString::fromUtf8(c.sql))
            << c.filter;
}

TEST_F(SqlErrors, DropIndexNamesTheIndexAndItsTable)
{
    for (const char *statement : {"Drop Index daicyoB.NendoInx", "DROP INDEX nendoinx ON daicyob"}) {
        const Translation drop = TranslateStatement(QString::fromUtf8(statement), db.lookup());
        EXPECT_EQ(drop.kind, StatementKind::DropIndex) << statement;
        EXPECT_EQ(drop.indexTable, QStringLiteral("daicyoB")) << statement;
        EXPECT_EQ(drop.index.name, QStringLiteral("NendoInx")) << statement;
        EXPECT_EQ(drop.index.fields, QStringList({QStringLiteral("ID"), QStringLiteral("Nendo")})) << statement;
    }
    const Translation missing = TranslateStatement(QStringLiteral("Drop Index If Exists daicyoB.Nope"), db.lookup());
    EXPECT_TRUE(missing.ifExists);
    EXPECT_TRUE(missing.tables.isEmpty());
    EXPECT_TRUE(missing.sql.isEmpty());
}

} // namespace
} // namespace qpn::engine::testing
