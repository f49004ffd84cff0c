#include "tests/register/HeaderFixture.h"

#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "store/SchemaMaker.h"

#include <QDir>

namespace qpn::test
{

void HeaderTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QDir(base()).mkpath(QStringLiteral("QPNdata")));
    {
        ScriptedDialogs schemaQuestions; // the account question of a new register
        schemaQuestions.answer(DialogButton::Yes);
        SchemaMaker maker;
        maker.MakeHeadM(base());
        maker.MakeTBL(data());
    }
    AppOptions() = AppOptionsData();
    setToday(EncodeDate(2020, 4, 1));
}

void HeaderTest::TearDown()
{
    SetTodayProvider({});
    AppOptions() = AppOptionsData();
}

void HeaderTest::setToday(DateTime today)
{
    SetTodayProvider([today] { return today; });
}

void HeaderTest::setHeader(const std::map<QString, QVariant> &values) const
{
    engine::Table head;
    head.setDatabaseName(base());
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    head.first();
    if (head.isEmpty())
        head.append();
    else
        head.edit();
    for (const auto &[column, value] : values)
        head.fieldByName(column).setValue(value);
    head.post();
    head.close();
}

QVariant HeaderTest::header(const QString &column) const
{
    engine::Table head;
    head.setDatabaseName(base());
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    head.first();
    return head.isEmpty() ? QVariant() : head.fieldByName(column).value();
}

bool HeaderTest::hasHeaderRow() const
{
    engine::Table head;
    head.setDatabaseName(base());
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    return !head.isEmpty();
}

void HeaderTest::addYearRow(int id, int sub, int nendo, std::optional<int> f1) const
{
    engine::Query insert;
    insert.setDatabaseName(data());
    insert.setSql(
        QStringLiteral("insert into daicyoB (ID, Sub, Nendo, F1) values (:ID, :S, :N, :F)"));
    insert.setParam(QStringLiteral("ID"), id);
    insert.setParam(QStringLiteral("S"), sub);
    insert.setParam(QStringLiteral("N"), nendo);
    insert.setParam(QStringLiteral("F"), f1 ? QVariant(*f1) : QVariant());
    insert.execSql();
}

std::map<int, int> HeaderTest::fixedMarks(int id) const
{
    engine::Query rows;
    rows.setDatabaseName(data());
    rows.setSql(QStringLiteral("select Nendo, F1 from daicyoB where ID = :ID order by Sub"));
    rows.setParam(QStringLiteral("ID"), id);
    rows.open();
    std::map<int, int> marks;
    for (rows.first(); !rows.eof(); rows.next())
        marks[rows.fieldByName(QStringLiteral("Nendo")).asInteger()] =
            rows.fieldByName(QStringLiteral("F1")).asInteger();
    return marks;
}

} // namespace qpn::test
