#include "engine/Maintenance.h"

#include "engine/DbFailure.h"
#include "engine/DbHandle.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FailureMap.h"
#include "engine/FolderConnection.h"
#include "engine/RecordLockFile.h"
#include "engine/TableFile.h"
#include "engine/TableOps.h"

#include <QFile>

#include <set>

namespace qpn::engine {

namespace {

// The file of a closed table, ready for maintenance.
struct ClosedTable
{
    QString display;
    QString path;
};

ClosedTable claim(const QString &folder, const QString &tableName)
{
    ClosedTable table{tablefile::DisplayName(tableName), tablefile::Locate(folder, tableName)};
    if (table.path.isEmpty())
        throw EngineError(EngineMessage(text::TableMissing, {table.display}));
    if (FolderConnection::fileInUse(table.path) || !RecordLockFile::tableIsFree(tablefile::LockPath(table.path)))
        throw EngineError(EngineMessage(text::InUse, {table.display}));
    return table;
}

std::unique_ptr<DbHandle> openFile(const ClosedTable &table)
{
    try {
        auto db = std::make_unique<DbHandle>(table.path);
        db->exec(QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL"));
        return db;
    } catch (const DbFailure &) {
        throw EngineError(EngineMessage(text::HeaderCorrupt, {table.display}));
    }
}

bool passesCheck(const DbHandle &db)
{
    try {
        DbStatement check(db.get(), QStringLiteral("PRAGMA integrity_check"));
        return check.step() && check.text(0) == QLatin1String("ok") && !check.step();
    } catch (const DbFailure &) {
        return false;
    }
}

QString columnList(const TableSchema &schema)
{
    QStringList names;
    for (const ColumnDef &column : schema.columns)
        names << QuoteId(column.name);
    return names.join(u',');
}

// Every rowid that a scan of the table or of one of its indexes reaches
// before it meets a damaged page.
std::set<qint64> reachableRows(const DbHandle &db, const TableSchema &schema)
{
    std::set<qint64> rows;
    QStringList scans{QStringLiteral("SELECT rowid FROM %1").arg(QuoteId(schema.name))};
    if (!schema.primaryKey.isEmpty())
        scans << QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2")
                     .arg(QuoteId(schema.name), QuoteId(tablefile::PrimaryIndexSqlName()));
    for (const IndexDef &index : schema.indexes)
        scans << QStringLiteral("SELECT rowid FROM %1 INDEXED BY %2")
                     .arg(QuoteId(schema.name), QuoteId(tablefile::SecondaryIndexSqlName(index.name)));
    for (const QString &scan : scans) {
        try {
            DbStatement read(db.get(), scan);
            while (read.step())
                rows.insert(read.int64(0));
        } catch (const DbFailure &) {
            // The rest of this scan lies behind a damaged page.
        }
    }
    return rows;
}

void replaceFile(const QString &path, const QString &fresh, const QString &keep)
{
    QFile::remove(keep);
    if (!QFile::rename(path, keep) || !QFile::rename(fresh, path))
        throw EngineError(EngineMessage(text::WriteError, {tablefile::DisplayName(path.section(u'/', -1))}));
    QFile::remove(path + QStringLiteral("-journal"));
    tablefile::ForgetSchemas();
}

RepairReport salvage(std::unique_ptr<DbHandle> damaged, const TableSchema &schema, const ClosedTable &table)
{
    RepairReport report;
    report.damaged = true;
    const QString fresh = table.path + QStringLiteral(".new");
    QFile::remove(fresh);
    tablefile::CreateFile(fresh, schema);
    {
        DbHandle target(fresh);
        target.exec(QStringLiteral("PRAGMA synchronous=FULL; BEGIN IMMEDIATE"));
        QStringList marks;
        for (qsizetype i = 0; i < schema.columns.size(); ++i)
            marks << QStringLiteral("?");
        DbStatement insert(target.get(), QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                             .arg(QuoteId(schema.name), columnList(schema), marks.join(u',')));
        DbStatement read(damaged->get(), QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?")
                                             .arg(columnList(schema), QuoteId(schema.name)));
        for (const qint64 rowId : reachableRows(*damaged, schema)) {
            try {
                read.bindInt64(1, rowId);
                if (!read.step()) {
                    read.reset();
                    ++report.rowsLost;
                    continue;
                }
                for (int i = 0; i < schema.columns.size(); ++i)
                    insert.bind(i + 1, read.storage(i));
                read.reset();
                insert.execute();
                insert.reset();
                ++report.rowsSalvaged;
            } catch (const DbFailure &) {
                read.reset();
                insert.reset();
                ++report.rowsLost; // unreadable, or a second row with the same key
            }
        }
        target.exec(QStringLiteral("COMMIT"));
    }
    damaged.reset();
    replaceFile(table.path, fresh, table.path + QStringLiteral(".damaged"));
    return report;
}

} // namespace

RepairReport RepairTable(const QString &folder, const QString &tableName)
{
    const ClosedTable table = claim(folder, tableName);
    auto db = openFile(table);
    const TableSchema schema = tablefile::ReadSchema(db->get(), QString(), table.display);
    if (passesCheck(*db)) {
        try {
            db->exec(QStringLiteral("REINDEX"));
            db->exec(QStringLiteral("BEGIN IMMEDIATE"));
            tablefile::CreateTriggers(db->get(), QString(), schema);
            db->exec(QStringLiteral("COMMIT"));
        } catch (const DbFailure &failure) {
            throw MapFailure(failure, table.display);
        }
        return {};
    }
    try {
        return salvage(std::move(db), schema, table);
    } catch (const DbFailure &failure) {
        QFile::remove(table.path + QStringLiteral(".new"));
        throw MapFailure(failure, table.display);
    }
}

QString OptimiseTable(const QString &folder, const QString &tableName)
{
    const ClosedTable table = claim(folder, tableName);
    const QString fresh = table.path + QStringLiteral(".new");
    const QString backup = table.path + QStringLiteral(".bak");
    try {
        TableSchema schema;
        {
            auto old = openFile(table);
            schema = tablefile::ReadSchema(old->get(), QString(), table.display);
        }
        QFile::remove(fresh);
        tablefile::CreateFile(fresh, schema);
        DbHandle target(fresh);
        DbStatement attach(target.get(), QStringLiteral("ATTACH DATABASE ? AS old"));
        attach.bind(1, table.path);
        attach.execute();
        QStringList order;
        for (const QString &key : schema.primaryKey)
            order << QuoteId(key);
        order << QStringLiteral("rowid");
        target.exec(QStringLiteral("PRAGMA synchronous=FULL; BEGIN IMMEDIATE"));
        target.exec(QStringLiteral("INSERT INTO main.%1(%2) SELECT %2 FROM old.%1 ORDER BY %3")
                        .arg(QuoteId(schema.name), columnList(schema), order.join(u',')));
        target.exec(QStringLiteral("COMMIT; DETACH DATABASE old"));
    } catch (const DbFailure &failure) {
        QFile::remove(fresh);
        throw MapFailure(failure, table.display);
    } catch (...) {
        QFile::remove(fresh);
        throw;
    }
    replaceFile(table.path, fresh, backup);
    return backup;
}

void AddPrimaryIndex(const QString &folder, const QString &tableName, const QStringList &columns)
{
    const ClosedTable table = claim(folder, tableName);
    auto db = openFile(table);
    TableSchema schema = tablefile::ReadSchema(db->get(), QString(), table.display);
    QStringList fields;
    for (const QString &part : columns) {
        for (const QString &name : part.split(u';', Qt::SkipEmptyParts)) {
            const int column = tableops::ColumnIndex(schema, name.trimmed());
            if (column < 0)
                throw EngineError(EngineMessage(text::InvalidIndexField, {name.trimmed(), PrimaryIndexName(), table.display}));
            fields << schema.columns[column].name;
        }
    }
    if (fields.isEmpty())
        throw EngineError(EngineMessage(text::InvalidIndexField, {QString(), PrimaryIndexName(), table.display}));
    const QString index = QuoteId(tablefile::PrimaryIndexSqlName());
    try {
        if (!schema.primaryKey.isEmpty()) {
            if (schema.primaryKey != fields)
                throw EngineError(EngineMessage(text::PrimaryExists, {table.display}));
            db->exec(QStringLiteral("REINDEX %1").arg(index)); // the same key: rebuild it
            return;
        }
        QStringList quoted;
        for (const QString &field : std::as_const(fields))
            quoted << QuoteId(field);
        schema.primaryKey = fields;
        db->exec(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            db->exec(QStringLiteral("CREATE UNIQUE INDEX %1 ON %2(%3)").arg(index, QuoteId(schema.name), quoted.join(u',')));
            tablefile::WriteSchema(db->get(), QString(), schema);
            db->exec(QStringLiteral("COMMIT"));
        } catch (...) {
            db->exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, table.display);
    }
}

} // namespace qpn::engine
