#pragma once

#include "engine/Schema.h"

#include <QString>

#include <memory>

namespace qpn::engine {

class FolderConnection;

// Operations on whole tables that the table object and SQL statements share.
namespace tableops {

// Checks a new table's definition and settles names of keys to the columns'
// own spelling; throws the engine's texts for what is wrong.
void ValidateSchema(TableSchema &schema);
// Creates the table's file; false when it exists and ifNotExists is set.
bool CreateTable(const QString &folder, TableSchema schema, bool ifNotExists);
// Removes the table's file and its lock file. The table must not be in use.
void DeleteTable(const QString &folder, const QString &tableName);
// Deletes every row.
void EmptyTable(FolderConnection &connection, const QString &tableName);
// Adds a secondary index; false when it exists and ifNotExists is set.
bool AddIndex(FolderConnection &connection, const QString &tableName, const IndexDef &index, bool ifNotExists);
void DropIndex(FolderConnection &connection, const QString &tableName, const QString &indexName);
// Adds columns at the end of the table.
void AddColumns(FolderConnection &connection, const QString &tableName, const QList<ColumnDef> &columns);

// The column of the schema with that name, matched without regard to case; -1 when none.
int ColumnIndex(const TableSchema &schema, const QString &name);

} // namespace tableops
} // namespace qpn::engine
