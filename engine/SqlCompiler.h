#pragma once

#include "engine/SqlParser.h"
#include "engine/SqlTranslator.h"

#include <QHash>

namespace qpn::engine {

// The static type of an expression. A literal (number, text, parameter, NULL)
// takes its storage form from the column it meets.
struct SqlType
{
    std::optional<FieldType> type;
    int size = 0;
    bool literal = false;
};

// Resolves the names of a parsed statement against the table schemas and writes
// it as SQLite text over the attached table files, converting literals and
// parameters to the storage form of the columns they meet.
class SqlCompiler
{
public:
    explicit SqlCompiler(SchemaLookup lookup);

    Translation compile(SqlStatement &statement);
    // A condition on the columns of one table, its names written bare.
    QString compileFilter(SqlExpr &condition, const TableSchema &schema);

private:
    struct Source
    {
        TableSchema schema;
        QString correlation; // the name the statement uses for it
        QString sqlName;     // "q0" in the translated text
    };

    Translation compileSelect(SqlSelect &select);
    Translation compileUpdate(SqlUpdate &update);
    Translation compileDelete(SqlDelete &deletion);
    Translation compileInsert(SqlInsert &insert);
    Translation compileCreateTable(SqlCreateTable &create);
    Translation compileCreateIndex(SqlCreateIndex &create);
    Translation compileAlter(SqlAlterAdd &alter);
    Translation compileDrop(SqlDrop &drop);

    // The SELECT text; contexts give the storage type each result column must have.
    QString selectText(SqlSelect &select, bool live,
                       const std::vector<std::optional<FieldType>> &contexts,
                       QList<ResultColumn> &columns);
    QString orderByText(std::vector<SqlOrderItem> &orderBy, const QList<ResultColumn> &columns);
    TableSchema attach(const QString &name, QString &alias);
    QString tableText(const TableSchema &schema, const QString &alias) const;
    void addSource(const SqlTableName &table);

    void resolve(SqlExpr &expr);
    void resolveColumn(SqlExpr &expr);
    SqlType typeOf(const SqlExpr &expr) const;
    QString sqlOf(const SqlExpr &expr, std::optional<FieldType> context);
    QString emitLiteral(const SqlExpr &expr, std::optional<FieldType> context) const;
    QString emitParam(const SqlExpr &expr, std::optional<FieldType> context);
    QString emitBinary(const SqlExpr &expr, std::optional<FieldType> context);
    QString emitFunction(const SqlExpr &expr, std::optional<FieldType> context);
    QString emitCase(const SqlExpr &expr, std::optional<FieldType> context);
    QString columnText(const SqlExpr &expr) const;
    static QString convert(const QString &sql, std::optional<FieldType> from,
                           std::optional<FieldType> to);
    static std::optional<FieldType> commonContext(const SqlType &a, const SqlType &b);
    static bool isAggregate(const SqlExpr &expr);

    SchemaLookup m_lookup;
    Translation m_result;
    std::vector<Source> m_sources;
    bool m_bareColumns = false;
    bool m_allowParams = true;
    QHash<QString, int> m_paramIndex; // lower-case name -> index in m_result.params
    QHash<QString, QString> m_paramSpelling;
    QHash<QString, TableSchema> m_attached; // lower-case name -> schema
};

} // namespace qpn::engine
