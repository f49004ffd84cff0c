#pragma once

#include "engine/Schema.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qpn::engine {

// Translates one statement of the engine's SQL dialect to SQLite.
enum class StatementKind { Select, Insert, Update, Delete, CreateTable, CreateIndex, AlterTableAdd, DropTable, DropIndex };

// A table the statement names. Its file is attached for the statement under
// `alias`, and the translated text refers to it as "alias"."name".
struct TableRef
{
    QString name;   // as written, without ".DAT"
    QString alias;  // a schema name unique within the statement
};

struct ParamUse
{
    QString name;                   // without the colon
    std::optional<FieldType> type;  // the type of the column it is compared with or assigned to
                                    // (one entry per name, in order of first use)
};

struct ResultColumn
{
    QString name;                   // unique: repeated names get _1, _2 in join order
    ColumnDef definition;           // type and size (SUM of Money is Money)
    QString originTable;            // base table and column, empty for expressions
    QString originColumn;
};

// `sql` by kind (tables always as "alias"."name", columns under their own names):
// - Select: one SELECT; result columns named as `columns` (then "__rowid" when
//   hasRowId). Money comes out as units, dates as ISO text.
// - Insert, Update, Delete: one statement on the table attached as "t0".
// - CreateTable: CREATE TABLE [IF NOT EXISTS] "t0"."name" with each column's
//   storage affinity (INTEGER, REAL, TEXT) and no key: the key, indexes and the
//   rest of `createdTable` are the engine's to keep.
// - CreateIndex: CREATE INDEX [IF NOT EXISTS] "t0"."index" ON "table" (...).
// - AlterTableAdd: one ALTER TABLE "t0"."name" ADD COLUMN ... per added column,
//   joined by "; ".
// - DropTable: DROP TABLE "t0"."name"; DropIndex: DROP INDEX "t0"."index".
//   With IF EXISTS and nothing to drop, `tables` and `sql` are empty.
struct Translation
{
    StatementKind kind = StatementKind::Select;
    QString sql;                    // SQLite text; parameters stay ":name"
    QList<TableRef> tables;         // every table read or written
    QList<ParamUse> params;
    QList<ResultColumn> columns;    // Select
    // Select over a single table: the translated text also yields that row's
    // rowid as a last, hidden column named "__rowid", so a live result can
    // post its edits to the base row.
    bool hasRowId = false;
    TableSchema createdTable;       // CreateTable (with its primary key and options)
    bool ifNotExists = false;       // CreateTable, CreateIndex
    bool ifExists = false;          // DropTable, DropIndex
    IndexDef index;                 // CreateIndex, DropIndex
    QString indexTable;             // CreateIndex, DropIndex
    QList<ColumnDef> addedColumns;  // AlterTableAdd
};

// The schema of a table by name (case-insensitive), or none.
using SchemaLookup = std::function<std::optional<TableSchema>(const QString &tableName)>;

// Throws EngineError("SQL error - ...") naming what is wrong.
Translation TranslateStatement(const QString &statement, const SchemaLookup &lookup);
// Translates a table filter ("nendo>=2019") to an SQLite condition on that table's columns.
QString TranslateFilter(const QString &expression, const TableSchema &schema);
// Splits a script at top-level semicolons, dropping block comments and empty statements.
QStringList SplitScript(const QString &script);

} // namespace qpn::engine
