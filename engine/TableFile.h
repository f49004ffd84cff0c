#pragma once

#include "engine/Schema.h"

#include <QString>

struct sqlite3;

namespace qpn::engine {

// The file of one table: where it is, and the schema kept inside it beside
// the rows (a row of the table QpnTableInfo holding the schema as JSON).
namespace tablefile {

// "daicyoA", "DAICYOA" and "daicyoA.DAT" all give "daicyoA".
QString BaseName(const QString &tableName);
// The existing file of the table in the folder, matched without regard to
// case; empty when there is none.
QString Locate(const QString &folder, const QString &tableName);
// The path a new table of that name gets.
QString NewPath(const QString &folder, const QString &tableName);
// The record-lock file beside a table's file.
QString LockPath(const QString &dataPath);
// The table name for messages, from the name as given.
QString DisplayName(const QString &tableName);

QString SchemaToJson(const TableSchema &schema);
TableSchema SchemaFromJson(const QString &json, const QString &displayName);

// Reads the schema of an attached (or main) database; a file that is no
// table of ours gives "Header information corrupt in the table '%s'".
TableSchema ReadSchema(sqlite3 *db, const QString &schemaName, const QString &displayName);
void WriteSchema(sqlite3 *db, const QString &schemaName, const TableSchema &schema);
// Creates the rows table, the schema row, the indexes and the checking triggers.
void CreateObjects(sqlite3 *db, const QString &schemaName, const TableSchema &schema);
// Recreates the triggers that check values written by SQL statements.
void CreateTriggers(sqlite3 *db, const QString &schemaName, const TableSchema &schema);
// Creates a new file holding an empty table (the file must not exist).
void CreateFile(const QString &path, const TableSchema &schema);
// The schema of a table file, cached until a schema change in this process.
TableSchema FileSchema(const QString &path, const QString &displayName);
void ForgetSchemas();
// Changes whenever ForgetSchemas runs, so caches of schemas and of what was
// derived from them know when to start again.
quint64 SchemaGeneration();

// SQLite names of the table's indexes inside its file.
QString PrimaryIndexSqlName();
QString SecondaryIndexSqlName(const QString &indexName);

} // namespace tablefile
} // namespace qpn::engine
