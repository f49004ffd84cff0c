#include "tests/engine/EngineFixture.h"

#include "engine/EngineError.h"

namespace qpn::engine {

TableSchema EngineFixture::yearRows()
{
    TableSchema schema;
    schema.name = QStringLiteral("daicyoB");
    schema.columns = {{"ID", FieldType::Integer},       {"Sub", FieldType::Integer},
                      {"Nendo", FieldType::Integer},    {QStringLiteral("期首残高"), FieldType::Money},
                      {QStringLiteral("当年償却額"), FieldType::Money}, {"F1", FieldType::Integer}};
    schema.primaryKey = {"ID", "Sub"};
    schema.indexes = {IndexDef{"NendoInx", {"ID", "Nendo"}, false}};
    schema.userMajorVersion = 1;
    schema.language = QStringLiteral("ANSI Standard");
    schema.sort = QStringLiteral("Default Order");
    return schema;
}

TableSchema EngineFixture::accounts()
{
    TableSchema schema;
    schema.name = QStringLiteral("kamoku");
    schema.columns = {{"ID", FieldType::SmallInt},
                      {"kamokumei", FieldType::Char, 30},
                      {"kubun", FieldType::SmallInt},
                      {"memo", FieldType::Memo}};
    schema.primaryKey = {"ID"};
    schema.compressKey = true;
    schema.userMajorVersion = 1;
    return schema;
}

TableSchema EngineFixture::allTypes()
{
    TableSchema schema;
    schema.name = QStringLiteral("Types");
    schema.columns = {{"ID", FieldType::Integer},     {"small", FieldType::SmallInt}, {"real", FieldType::Float},
                      {"money", FieldType::Money},    {"day", FieldType::Date},       {"stamp", FieldType::DateTime},
                      {"flag", FieldType::Boolean},   {"name", FieldType::Char, 40},  {"note", FieldType::Memo}};
    schema.primaryKey = {"ID"};
    return schema;
}

void EngineFixture::create(const TableSchema &schema)
{
    Table table;
    table.setDatabaseName(folder());
    table.setTableName(schema.name);
    table.createTable(schema);
}

std::unique_ptr<Table> EngineFixture::open(const QString &name, const QString &session)
{
    auto table = std::make_unique<Table>();
    table->setDatabaseName(folder());
    table->setSessionName(session);
    table->setTableName(name);
    table->open();
    return table;
}

void EngineFixture::addYearRow(Table &table, int id, int sub, int nendo, qint64 yen)
{
    table.append();
    table.fieldByName("ID").setAsInteger(id);
    table.fieldByName("Sub").setAsInteger(sub);
    table.fieldByName("Nendo").setAsInteger(nendo);
    table.fieldByName(QStringLiteral("期首残高")).setAsCurrency(Currency::fromYen(yen));
    table.post();
}

void EngineFixture::fillYearRows()
{
    create(yearRows());
    auto table = open("daicyoB");
    for (int id = 3; id >= 1; --id) {
        for (int sub = 0; sub < 4; ++sub)
            addYearRow(*table, id, sub, 2019 + sub, id * 1000 + sub);
    }
}

QString EngineFixture::errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EngineError &error) {
        return error.message();
    }
    ADD_FAILURE() << "no error was raised";
    return QString();
}

} // namespace qpn::engine
