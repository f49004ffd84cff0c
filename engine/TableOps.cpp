#include "engine/TableOps.h"

#include "engine/DbFailure.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FailureMap.h"
#include "engine/FolderConnection.h"
#include "engine/RecordLockFile.h"
#include "engine/TableFile.h"
#include "engine/ValueCodec.h"

#include <QFile>
#include <QSet>

namespace qpn::engine::tableops {

namespace {

QString quotedList(const QStringList &names)
{
    QStringList quoted;
    for (const QString &n : names)
        quoted << QuoteId(n);
    return quoted.join(u',');
}

// Pins a table's file for one operation and runs it in a savepoint, so a
// schema change and its recorded schema change together.
class SchemaChange
{
public:
    SchemaChange(FolderConnection &connection, const QString &tableName)
        : m_connection(connection)
        , m_display(tablefile::DisplayName(tableName))
    {
        m_path = tablefile::Locate(connection.folder(), tableName);
        if (m_path.isEmpty())
            throw EngineError(EngineMessage(text::TableMissing, {m_display}));
        m_schemaName = connection.pin(m_path, m_display);
        try {
            schema = connection.schemaOf(m_schemaName, m_display);
            m_connection.handle().exec(QStringLiteral("SAVEPOINT qpn_schema_change"));
        } catch (const DbFailure &failure) {
            connection.unpin(m_path);
            throw MapFailure(failure, m_display);
        } catch (...) {
            connection.unpin(m_path);
            throw;
        }
    }
    ~SchemaChange()
    {
        if (!m_done) {
            try {
                m_connection.handle().exec(QStringLiteral("ROLLBACK TO qpn_schema_change; RELEASE qpn_schema_change"));
            } catch (const DbFailure &) {
            }
        }
        m_connection.unpin(m_path);
        tablefile::ForgetSchemas();
    }
    void run(const QString &sql)
    {
        try {
            DbStatement(m_connection.db(), sql).execute();
        } catch (const DbFailure &failure) {
            throw MapFailure(failure, m_display);
        }
    }
    void finish()
    {
        try {
            tablefile::WriteSchema(m_connection.db(), m_schemaName, schema);
            m_connection.handle().exec(QStringLiteral("RELEASE qpn_schema_change"));
        } catch (const DbFailure &failure) {
            throw MapFailure(failure, m_display);
        }
        m_done = true;
        m_connection.noteWrite();
    }
    QString prefix() const { return QuoteId(m_schemaName) + u'.'; }
    QString schemaName() const { return m_schemaName; }
    QString display() const { return m_display; }
    sqlite3 *db() const { return m_connection.db(); }

    TableSchema schema;

private:
    FolderConnection &m_connection;
    QString m_display;
    QString m_path;
    QString m_schemaName;
    bool m_done = false;
};

} // namespace

int ColumnIndex(const TableSchema &schema, const QString &name)
{
    for (int i = 0; i < schema.columns.size(); ++i) {
        if (schema.columns[i].name == name)
            return i;
    }
    for (int i = 0; i < schema.columns.size(); ++i) {
        if (schema.columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void ValidateSchema(TableSchema &schema)
{
    const QString table = schema.name;
    if (table.isEmpty() || table.contains(u'/') || table.contains(u'\\'))
        throw EngineError(EngineMessage(text::TableMissing, {table}));
    if (schema.columns.isEmpty() || schema.columns.size() > 1000)
        throw EngineError(EngineMessage(text::SizeExceeded, {table}));
    QSet<QString> names;
    for (const ColumnDef &column : schema.columns) {
        const QString folded = column.name.toCaseFolded();
        if (column.name.trimmed().isEmpty() || names.contains(folded))
            throw EngineError(EngineMessage(text::DuplicateFieldName, {column.name, table}));
        names.insert(folded);
        if (column.type == FieldType::Char && (column.size < 1 || column.size > 255))
            throw EngineError(EngineMessage(text::InvalidFieldDefinition, {column.name, table}));
    }
    const auto settle = [&](QStringList &fields, const QString &indexName) {
        if (fields.isEmpty())
            throw EngineError(EngineMessage(text::InvalidIndexField, {QString(), indexName, table}));
        for (QString &field : fields) {
            const int column = ColumnIndex(schema, field);
            if (column < 0)
                throw EngineError(EngineMessage(text::InvalidIndexField, {field, indexName, table}));
            field = schema.columns[column].name;
        }
    };
    if (!schema.primaryKey.isEmpty())
        settle(schema.primaryKey, PrimaryIndexName());
    QSet<QString> indexNames;
    for (IndexDef &index : schema.indexes) {
        if (index.name.trimmed().isEmpty())
            throw EngineError(EngineMessage(text::IndexNameMissing, {table}));
        if (indexNames.contains(index.name.toCaseFolded()))
            throw EngineError(EngineMessage(text::IndexExists, {index.name, table}));
        indexNames.insert(index.name.toCaseFolded());
        settle(index.fields, index.name);
        index.primary = false;
    }
}

bool CreateTable(const QString &folder, TableSchema schema, bool ifNotExists)
{
    schema.name = tablefile::BaseName(schema.name);
    ValidateSchema(schema);
    if (!tablefile::Locate(folder, schema.name).isEmpty()) {
        if (ifNotExists)
            return false;
        throw EngineError(EngineMessage(text::AlreadyExists, {schema.name}));
    }
    const QString path = tablefile::NewPath(folder, schema.name);
    try {
        tablefile::CreateFile(path, schema);
    } catch (const DbFailure &failure) {
        QFile::remove(path);
        throw MapFailure(failure, schema.name);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    return true;
}

void DeleteTable(const QString &folder, const QString &tableName)
{
    const QString display = tablefile::DisplayName(tableName);
    const QString path = tablefile::Locate(folder, tableName);
    if (path.isEmpty())
        throw EngineError(EngineMessage(text::TableMissing, {display}));
    const QString lockPath = tablefile::LockPath(path);
    if (FolderConnection::fileInUse(path) || !RecordLockFile::tableIsFree(lockPath))
        throw EngineError(EngineMessage(text::InUse, {display}));
    if (!QFile::remove(path))
        throw EngineError(EngineMessage(text::CannotDelete, {display}));
    QFile::remove(path + QStringLiteral("-journal"));
    QFile::remove(lockPath);
    tablefile::ForgetSchemas();
}

void EmptyTable(FolderConnection &connection, const QString &tableName)
{
    SchemaChange change(connection, tableName);
    change.run(QStringLiteral("DELETE FROM %1%2").arg(change.prefix(), QuoteId(change.schema.name)));
    change.finish();
}

bool AddIndex(FolderConnection &connection, const QString &tableName, const IndexDef &index, bool ifNotExists)
{
    SchemaChange change(connection, tableName);
    TableSchema &schema = change.schema;
    if (index.primary) {
        if (!schema.primaryKey.isEmpty()) {
            if (ifNotExists)
                return false;
            throw EngineError(EngineMessage(text::PrimaryExists, {change.display()}));
        }
        schema.primaryKey = index.fields;
    } else {
        for (const IndexDef &existing : schema.indexes) {
            if (existing.name.compare(index.name, Qt::CaseInsensitive) == 0) {
                if (ifNotExists)
                    return false;
                throw EngineError(EngineMessage(text::IndexExists, {index.name, change.display()}));
            }
        }
        schema.indexes.append(index);
    }
    ValidateSchema(schema);
    if (index.primary) {
        change.run(QStringLiteral("CREATE UNIQUE INDEX %1%2 ON %3(%4)")
                       .arg(change.prefix(), QuoteId(tablefile::PrimaryIndexSqlName()), QuoteId(schema.name),
                            quotedList(schema.primaryKey)));
    } else {
        const IndexDef &added = schema.indexes.last();
        change.run(QStringLiteral("CREATE INDEX %1%2 ON %3(%4)")
                       .arg(change.prefix(), QuoteId(tablefile::SecondaryIndexSqlName(added.name)),
                            QuoteId(schema.name), quotedList(added.fields)));
    }
    change.finish();
    return true;
}

void DropIndex(FolderConnection &connection, const QString &tableName, const QString &indexName)
{
    SchemaChange change(connection, tableName);
    TableSchema &schema = change.schema;
    for (qsizetype i = 0; i < schema.indexes.size(); ++i) {
        if (schema.indexes[i].name.compare(indexName, Qt::CaseInsensitive) == 0) {
            change.run(QStringLiteral("DROP INDEX IF EXISTS %1%2")
                           .arg(change.prefix(), QuoteId(tablefile::SecondaryIndexSqlName(schema.indexes[i].name))));
            schema.indexes.removeAt(i);
            change.finish();
            return;
        }
    }
    throw EngineError(EngineMessage(text::InvalidIndexName, {indexName, change.display()}));
}

void AddColumns(FolderConnection &connection, const QString &tableName, const QList<ColumnDef> &columns)
{
    SchemaChange change(connection, tableName);
    TableSchema &schema = change.schema;
    for (const ColumnDef &column : columns) {
        if (ColumnIndex(schema, column.name) >= 0)
            throw EngineError(EngineMessage(text::DuplicateFieldName, {column.name, change.display()}));
        schema.columns.append(column);
        ValidateSchema(schema);
        change.run(QStringLiteral("ALTER TABLE %1%2 ADD COLUMN %3 %4")
                       .arg(change.prefix(), QuoteId(schema.name), QuoteId(column.name), codec::SqlType(column.type)));
    }
    try {
        tablefile::CreateTriggers(change.db(), change.schemaName(), schema);
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, change.display());
    }
    change.finish();
}

} // namespace qpn::engine::tableops
