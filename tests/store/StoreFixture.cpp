#include "tests/store/StoreFixture.h"

#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "lib/Currency.h"
#include "store/SchemaScripts.h"

#include <QDate>
#include <QDir>

#include <stdexcept>

namespace qpn::test {

DialogButton ScriptedDialogs::message(DialogKind kind, const QString &text,
                                      const QList<DialogButton> &buttons, const QString &)
{
    m_shown.append({kind, text, buttons});
    return m_answers.isEmpty() ? DialogButton::Close : m_answers.takeFirst();
}

RegisterFolder::RegisterFolder()
{
    if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("QPNdata")))
        throw std::runtime_error("cannot create a temporary register folder");
}

const QStringList &DataTableNames()
{
    static const QStringList names = {
        QStringLiteral("Bumon"),   QStringLiteral("daicyoA"), QStringLiteral("daicyoB"),
        QStringLiteral("kamoku"),  QStringLiteral("Master1"), QStringLiteral("Master2"),
        QStringLiteral("Master3"), QStringLiteral("Ukeire"),  QStringLiteral("Regist"),
        QStringLiteral("kyoten"),
    };
    return names;
}

void ExecSql(const QString &folder, const QString &sql)
{
    engine::Query query;
    query.setDatabaseName(folder);
    query.setSql(sql);
    query.execSql();
}

engine::TableSchema SchemaOf(const QString &folder, const QString &table)
{
    engine::Table t;
    t.setDatabaseName(folder);
    t.setTableName(table);
    return t.schema();
}

QStringList ColumnsOf(const QString &folder, const QString &table)
{
    QStringList out;
    for (const engine::ColumnDef &column : SchemaOf(folder, table).columns) {
        QString line = column.name + QLatin1Char(' ') + engine::FieldTypeName(column.type);
        if (column.type == engine::FieldType::Char)
            line += QStringLiteral("(%1)").arg(column.size);
        out.append(line);
    }
    return out;
}

QStringList ColumnNamesOf(const QString &folder, const QString &table)
{
    QStringList out;
    for (const engine::ColumnDef &column : SchemaOf(folder, table).columns)
        out.append(column.name);
    return out;
}

namespace {

QString valueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("null");
    if (value.typeId() == qMetaTypeId<Currency>())
        return QString::number(value.value<Currency>().units()) + QLatin1Char('u');
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    return value.toString();
}

} // namespace

QStringList RowsOf(const QString &folder, const QString &table)
{
    engine::Table t;
    t.setDatabaseName(folder);
    t.setTableName(table);
    t.open();
    QStringList rows;
    for (t.first(); !t.eof(); t.next()) {
        QStringList values;
        for (int i = 0; i < t.fieldCount(); ++i)
            values.append(valueText(t.field(i).value()));
        rows.append(values.join(QLatin1Char('|')));
    }
    t.close();
    return rows;
}

void AppendRow(const QString &folder, const QString &table, const QStringList &fields,
               const QVariantList &values)
{
    engine::Table t;
    t.setDatabaseName(folder);
    t.setTableName(table);
    t.open();
    t.append();
    for (int i = 0; i < fields.size(); ++i)
        t.fieldByName(fields.at(i)).setValue(values.at(i));
    t.post();
    t.close();
}

QStringList Snapshot(const QString &folder)
{
    QStringList out;
    for (const QString &name : DataTableNames()) {
        engine::Table t;
        t.setDatabaseName(folder);
        t.setTableName(name);
        if (!t.exists()) {
            out.append(QStringLiteral("== %1 missing").arg(name));
            continue;
        }
        const engine::TableSchema schema = t.schema();
        out.append(QStringLiteral("== %1 key(%2) compress=%3 version=%4 %5 / %6")
                       .arg(schema.name, schema.primaryKey.join(QLatin1Char(',')))
                       .arg(schema.compressKey)
                       .arg(schema.userMajorVersion)
                       .arg(schema.language, schema.sort));
        for (const engine::IndexDef &index : schema.indexes)
            out.append(QStringLiteral("index %1(%2)").arg(index.name, index.fields.join(QLatin1Char(','))));
        out += ColumnsOf(folder, name);
        out += RowsOf(folder, name);
    }
    return out;
}

namespace {

QVariant money(std::int64_t units)
{
    return QVariant::fromValue(Currency::fromUnits(units));
}

// Creates `name` in `folder` from the current layout of the same table, keeping
// only the first `columns` columns and dropping those named in `without`.
void createFrom(const QString &reference, const QString &folder, const QString &name, int columns,
                const QStringList &without = {}, bool keepIndexes = true)
{
    engine::TableSchema schema = SchemaOf(reference, name);
    schema.columns = schema.columns.mid(0, columns);
    schema.columns.removeIf([&](const engine::ColumnDef &c) { return without.contains(c.name); });
    if (!keepIndexes)
        schema.indexes.clear();
    engine::Table t;
    t.setDatabaseName(folder);
    t.setTableName(name);
    t.createTable(schema);
}

} // namespace

void CreateLayout(const QString &dataFolder, const Layout &layout)
{
    const QTemporaryDir reference;
    ExecSql(reference.path(), DataTablesScript());

    createFrom(reference.path(), dataFolder, QStringLiteral("daicyoA"), layout.daicyoAColumns);
    createFrom(reference.path(), dataFolder, QStringLiteral("daicyoB"), layout.daicyoBColumns, {},
               layout.nendoIndex);
    createFrom(reference.path(), dataFolder, QStringLiteral("kamoku"), 3,
               layout.kamokuKubun ? QStringList() : QStringList{QStringLiteral("kubun")});
    createFrom(reference.path(), dataFolder, QStringLiteral("Bumon"), 3,
               layout.bumonKyoten ? QStringList() : QStringList{QStringLiteral("kyoten_ID")});
    createFrom(reference.path(), dataFolder, QStringLiteral("Ukeire"), 2);

    // Values only in the columns of the oldest layout, so every layout holds them.
    const QStringList assetFields = {
        QStringLiteral("ID"),   QStringLiteral("kamoku_ID"), QStringLiteral("品名"),
        QStringLiteral("購入日"), QStringLiteral("廃棄日"),   QStringLiteral("購入価格"),
        QStringLiteral("償却年数"), QStringLiteral("flg"),   QStringLiteral("bikou"),
    };
    AppendRow(dataFolder, QStringLiteral("daicyoA"), assetFields,
              {1, 100, QStringLiteral("事務机"), QDate(2019, 4, 1), QVariant(), money(1234565000), 8.0,
               true, QStringLiteral("備考, \"メモ\"")});
    AppendRow(dataFolder, QStringLiteral("daicyoA"), assetFields,
              {2, 240, QStringLiteral("送迎車"), QDate(2015, 10, 15), QDate(2021, 3, 31),
               money(25000000000), 6.0, false, QVariant()});

    const QStringList yearFields = {QStringLiteral("ID"), QStringLiteral("Sub"), QStringLiteral("Nendo"),
                                    QStringLiteral("期首残高"), QStringLiteral("F1")};
    AppendRow(dataFolder, QStringLiteral("daicyoB"), yearFields, {1, 0, 2019, money(1234565000), 1});
    AppendRow(dataFolder, QStringLiteral("daicyoB"), yearFields, {1, 1, 2020, money(1080244375), QVariant()});
    AppendRow(dataFolder, QStringLiteral("daicyoB"), yearFields, {2, 0, 2015, money(25000000000), 1});

    const QStringList codeName = {QStringLiteral("ID"), QStringLiteral("kamokumei")};
    AppendRow(dataFolder, QStringLiteral("kamoku"), codeName, {100, QStringLiteral("建物")});
    AppendRow(dataFolder, QStringLiteral("kamoku"), codeName, {240, QStringLiteral("車輌運搬具")});
    AppendRow(dataFolder, QStringLiteral("Bumon"), {QStringLiteral("ID"), QStringLiteral("Bumon")},
              {1, QStringLiteral("本部")});
    AppendRow(dataFolder, QStringLiteral("Ukeire"), {QStringLiteral("ID"), QStringLiteral("Ukeire")},
              {1, QStringLiteral("業者Ａ")});
}

} // namespace qpn::test
