#pragma once

#include "engine/Schema.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace qpn::engine {

// Syntax tree of the statements the translator parses before it resolves names.
struct SqlExpr;
using SqlExprPtr = std::unique_ptr<SqlExpr>;

struct SqlExpr
{
    enum class Kind {
        Number,   // text: the literal as written
        String,   // text: the value
        Null,
        Boolean,  // text: "1" or "0"
        Param,    // text: the name
        Column,   // qualifier.text
        Star,     // COUNT(*)
        Unary,    // op: "-", "+", "NOT"; args[0]
        Binary,   // op: comparison, arithmetic, "AND", "OR", "||"; args[0], args[1]
        IsNull,   // args[0]; negated for IS NOT NULL
        Like,     // args[0] LIKE args[1] [ESCAPE args[2]]
        In,       // args[0] IN (args[1..])
        Between,  // args[0] BETWEEN args[1] AND args[2]
        Function, // op: upper-case name; args; distinct
        Case,     // args: [operand?] when, then, ..., [else]; hasOperand, hasElse
        Extract,  // op: YEAR, MONTH or DAY; args[0]
    };

    Kind kind = Kind::Null;
    QString text;
    QString qualifier;
    QString op;
    bool negated = false;
    bool distinct = false;
    bool hasOperand = false;
    bool hasElse = false;
    std::vector<SqlExprPtr> args;
    int begin = 0; // source span, for naming result columns and messages
    int end = 0;

    // Filled by name resolution (Column).
    int source = -1;
    ColumnDef column;
};

struct SqlTableName
{
    QString name;        // without ".DAT"
    QString correlation; // the alias written after it, or empty
};

enum class SqlJoinKind { Inner, Left, Right, Full, Cross };

struct SqlJoin
{
    SqlJoinKind kind = SqlJoinKind::Inner;
    SqlTableName table;
    SqlExprPtr on;
};

struct SqlSelectItem
{
    bool star = false;     // * or qualifier.*
    QString starQualifier;
    SqlExprPtr expr;
    QString alias;
    QString sourceText;    // as written, the name of an unnamed expression
};

struct SqlOrderItem
{
    SqlExprPtr expr;
    bool descending = false;
};

struct SqlSelect
{
    bool distinct = false;
    std::vector<SqlSelectItem> items;
    SqlTableName from;
    std::vector<SqlJoin> joins;
    SqlExprPtr where;
    std::vector<SqlExprPtr> groupBy;
    SqlExprPtr having;
    std::vector<SqlOrderItem> orderBy;
};

struct SqlAssignment
{
    QString column;
    SqlExprPtr value;
};

struct SqlUpdate
{
    SqlTableName table;
    std::vector<SqlAssignment> assignments;
    SqlExprPtr where;
};

struct SqlDelete
{
    SqlTableName table;
    SqlExprPtr where;
};

struct SqlInsert
{
    SqlTableName table;
    QStringList columns; // empty: every column in table order
    std::vector<std::vector<SqlExprPtr>> rows;
    std::unique_ptr<SqlSelect> select;
};

// Data definition, ready for the engine.
struct SqlCreateTable
{
    TableSchema schema;
    bool ifNotExists = false;
};

struct SqlCreateIndex
{
    QString table;
    IndexDef index;
    bool ifNotExists = false;
};

struct SqlAlterAdd
{
    QString table;
    QList<ColumnDef> columns;
};

struct SqlDrop
{
    bool index = false; // DROP INDEX, else DROP TABLE
    QString table;
    QString indexName;
    bool ifExists = false;
};

} // namespace qpn::engine
