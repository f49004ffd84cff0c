#include "tests/export/ExportFixture.h"

#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace qpn::testing {

QString ReadZipPart(const QString &zipPath, const QString &part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zipPath, part});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        throw std::runtime_error("unzip failed for " + part.toStdString());
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

} // namespace qpn::testing

#include "engine/Field.h"
#include "engine/Table.h"

#include <QDir>

namespace qpn::testing {

engine::TableSchema TypesTableTest::schema()
{
    using engine::FieldType;
    engine::TableSchema s;
    s.name = QStringLiteral("typesT");
    s.columns = {{"ID", FieldType::Integer},   {"Qty", FieldType::SmallInt}, {"Rate", FieldType::Float},
                 {"Price", FieldType::Money},  {"Day", FieldType::Date},     {"Flag", FieldType::Boolean},
                 {"Name", FieldType::Char, 40}, {"Memo", FieldType::Memo}};
    s.primaryKey = {QStringLiteral("ID")};
    return s;
}

void TypesTableTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    engine::Table table;
    table.setDatabaseName(m_dir.path());
    table.setTableName(QStringLiteral("typesT"));
    table.createTable(schema());
}

std::unique_ptr<engine::Table> TypesTableTest::openTable() const
{
    auto table = std::make_unique<engine::Table>();
    table->setDatabaseName(m_dir.path());
    table->setTableName(QStringLiteral("typesT"));
    table->open();
    return table;
}

void TypesTableTest::addRow(const QVariantList &values) const
{
    auto table = openTable();
    table->append();
    for (int i = 0; i < values.size(); ++i) {
        if (values[i].isValid())
            table->field(i).setValue(values[i]);
    }
    table->post();
}

QStringList TypesTableTest::dump() const
{
    auto table = openTable();
    QStringList rows;
    for (table->first(); !table->eof(); table->next()) {
        QStringList cells;
        for (int i = 0; i < table->fieldCount(); ++i)
            cells << (table->field(i).isNull() ? QStringLiteral("<null>") : table->field(i).asString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

QString TypesTableTest::path(const QString &name) const
{
    return QDir(m_dir.path()).filePath(name);
}

} // namespace qpn::testing
