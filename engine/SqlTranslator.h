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
};

struct ResultColumn
{
    QString name;                   // unique: repeated names get _1, _2 in join order
    ColumnDef definition;           // type and size (SUM of Money is Money)
    QString originTable;            // base table and column, empty for expressions
    QString originColumn;
};

struct Translation
{
    StatementKind kind = StatementKind::Select;
    QString sql;                    // SQLite text; parameters stay ":name"
    QList<TableRef> tables;         // every table read or written
    QList<ParamUse> params;
    QList<ResultColumn> columns;    // Select
    TableSchema createdTable;       // CreateTable (with its primary key and options)
    bool ifNotExists = false;       // CreateTable, CreateIndex
    IndexDef index;                 // CreateIndex
    QString indexTable;             // CreateIndex
    QList<ColumnDef> addedColumns;  // AlterTableAdd
};

// The schema of a table by name (case-insensitive), or none.
using SchemaLookup = std::function<std::optional<TableSchema>(const QString &tableName)>;

// Throws EngineError("SQL error - ...") naming what is wrong.
Translation TranslateStatement(const QString &statement, const SchemaLookup &lookup);
// Splits a script at top-level semicolons, dropping block comments and empty statements.
QStringList SplitScript(const QString &script);

} // namespace qpn::engine
