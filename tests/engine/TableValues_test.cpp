#include "tests/engine/EngineFixture.h"

#include "engine/EngineError.h"
#include "engine/Field.h"

#include <QDateTime>

namespace qpn::engine {
namespace {

using TableValues = EngineFixture;

TEST_F(TableValues, EveryTypeRoundTripsExactlyAndNullsStayNull)
{
    create(allTypes());
    {
        auto table = open("Types");
        table->append();
        table->fieldByName("ID").setAsInteger(1);
        table->fieldByName("small").setAsInteger(-32768);
        table->fieldByName("real").setAsFloat(0.1);
        table->fieldByName("money").setAsCurrency(Currency::fromUnits(12345678901234)); // 1,234,567,890.1234 yen
        table->fieldByName("day").setAsString("2019/4/1");
        table->fieldByName("stamp").setValue(QDateTime(QDate(2020, 2, 29), QTime(13, 5, 7)));
        table->fieldByName("flag").setAsBoolean(true);
        table->fieldByName("name").setAsString(QStringLiteral("車両運搬具（軽）ｶﾅ"));
        table->fieldByName("note").setAsString(QString(5000, QChar(u'資')));
        table->post();
        table->append();
        table->fieldByName("ID").setAsInteger(2);
        table->post();
    }
    auto table = open("types.dat");
    ASSERT_EQ(table->recordCount(), 2);
    table->first();
    EXPECT_EQ(table->fieldByName("small").asInteger(), -32768);
    EXPECT_EQ(table->fieldByName("real").asFloat(), 0.1);
    EXPECT_EQ(table->fieldByName("money").asCurrency(), Currency::fromUnits(12345678901234));
    EXPECT_EQ(table->fieldByName("day").value().toDate(), QDate(2019, 4, 1));
    EXPECT_EQ(table->fieldByName("day").asString(), "2019/04/01");
    EXPECT_EQ(table->fieldByName("stamp").value().toDateTime(), QDateTime(QDate(2020, 2, 29), QTime(13, 5, 7)));
    EXPECT_TRUE(table->fieldByName("flag").asBoolean());
    EXPECT_EQ(table->fieldByName("name").asString(), QStringLiteral("車両運搬具（軽）ｶﾅ"));
    EXPECT_EQ(table->fieldByName("note").asString().size(), 5000);
    table->next();
    for (const char *name : {"small", "real", "money", "day", "stamp", "flag", "name", "note"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(table->fieldByName(name).isNull());
    }
    // The null convention of the readers.
    EXPECT_EQ(table->fieldByName("money").asCurrency(), Currency());
    EXPECT_EQ(table->fieldByName("day").asDateTime(), 0.0);
    EXPECT_EQ(table->fieldByName("name").asString(), QString());
}

TEST_F(TableValues, RefusesValuesTheColumnCannotHoldWithoutCuttingThem)
{
    create(allTypes());
    create(yearRows());
    struct Case
    {
        const char *field;
        QVariant value;
        QString message;
    };
    const QString sizeText = "Maximum or minimum limits on number of fields, auto-increment field value, or field size "
                             "exceeded in the table 'Types'";
    const Case cases[] = {
        {"small", 32768, "The value for the field 'small' in the table 'Types' is above the maximum allowable value"},
        {"small", -32769, "The value for the field 'small' in the table 'Types' is below the minimum allowable value"},
        {"ID", qint64(2147483648LL), "The value for the field 'ID' in the table 'Types' is above the maximum allowable value"},
        {"name", QString(21, QChar(u'品')), sizeText},                 // 42 bytes in 40
        {"name", QString(39, QChar(u'a')) + QChar(u'あ'), sizeText},  // 41 bytes
        {"name", QStringLiteral("社会福祉😀"),
         QStringLiteral("The character '😀' (U+1F600) in the field 'name' of the table 'Types' cannot be stored in code page 932")},
        {"note", QStringLiteral("𠮷野家"),
         QStringLiteral("The character '𠮷' (U+20BB7) in the field 'note' of the table 'Types' cannot be stored in code page 932")},
        {"day", QStringLiteral("2019/02/30"), "'2019/02/30' is not a valid date for the field 'day' in the table 'Types'"},
    };
    auto table = open("Types");
    table->append();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(errorOf([&] { table->fieldByName(c.field).setValue(c.value); }), c.message);
        EXPECT_TRUE(table->fieldByName(c.field).isNull());
    }
    // The limits themselves fit.
    table->fieldByName("ID").setAsInteger(1);
    table->fieldByName("small").setAsInteger(32767);
    table->fieldByName("name").setAsString(QString(20, QChar(u'品')));
    table->post();
    EXPECT_EQ(table->fieldByName("name").asString(), QString(20, QChar(u'品')));
}

TEST_F(TableValues, FieldsByNameAndDisplay)
{
    create(allTypes());
    auto table = open("Types");
    EXPECT_EQ(table->findField("nosuch"), nullptr);
    EXPECT_EQ(errorOf([&] { table->fieldByName("nosuch"); }),
              "Invalid field number or name 'nosuch' specified for the table 'Types'");
    EXPECT_EQ(&table->fieldByName("MONEY"), &table->fieldByName("money"));
    EXPECT_EQ(errorOf([&] { table->fieldByName("money").setAsInteger(1); }), "Dataset not in edit or insert mode");

    table->append();
    table->fieldByName("ID").setAsInteger(7);
    table->fieldByName("money").setAsString("1,234,567.5");
    table->fieldByName("day").setAsDateTime(EncodeDate(2019, 4, 1));
    table->post();
    Field &money = table->fieldByName("money");
    EXPECT_EQ(money.asString(), "1234567.5");
    EXPECT_EQ(money.displayText(), QStringLiteral("¥1,234,568"));
    money.setDisplayFormat("#,##0.00");
    EXPECT_EQ(money.displayText(), "1,234,567.50");
    Field &day = table->fieldByName("day");
    day.setDisplayFormat("yyyy'年'm'月'd'日'");
    EXPECT_EQ(day.displayText(), QStringLiteral("2019年4月1日"));
    day.setDisplayLabel(QStringLiteral("購入日"));
    EXPECT_EQ(day.displayLabel(), QStringLiteral("購入日"));
}

} // namespace
} // namespace qpn::engine
