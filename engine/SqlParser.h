#pragma once

#include "engine/SqlAst.h"
#include "engine/SqlLexer.h"

#include <variant>

namespace qpn::engine {

using SqlStatement = std::variant<SqlSelect, SqlUpdate, SqlDelete, SqlInsert, SqlCreateTable,
                                  SqlCreateIndex, SqlAlterAdd, SqlDrop>;

// Recursive-descent parser of the engine's SQL dialect. Keywords are matched
// without regard to case; names may be bare, "quoted" or [bracketed].
// Every syntax fault throws EngineError("SQL error - ...") naming what was
// expected and where.
class SqlParser
{
public:
    explicit SqlParser(const QString &text);

    SqlStatement parseStatement();
    // A lone condition, as table filters are written.
    SqlExprPtr parseCondition();

private:
    const SqlToken &peek(int ahead = 0) const;
    const SqlToken &next();
    bool isWord(const char *keyword, int ahead = 0) const;
    bool acceptWord(const char *keyword);
    void expectWord(const char *keyword);
    bool isSymbol(const char *symbol, int ahead = 0) const;
    bool acceptSymbol(const char *symbol);
    void expectSymbol(const char *symbol);
    bool isName(int ahead = 0) const;
    QString parseName(const QString &what);
    [[noreturn]] void fail(const QString &expected) const;
    void expectEnd();

    SqlTableName parseTableName();
    QString parseCorrelation();
    SqlSelect parseSelect();
    void parseFromClause(SqlSelect &select);
    SqlUpdate parseUpdate();
    SqlDelete parseDelete();
    SqlInsert parseInsert();
    SqlStatement parseCreate();
    SqlCreateTable parseCreateTable();
    SqlCreateIndex parseCreateIndex();
    SqlAlterAdd parseAlter();
    SqlDrop parseDrop();
    ColumnDef parseColumnDefinition(const QString &table);
    QStringList parseNameList(const QString &what);
    QString parseOptionText();
    int parseInteger(const QString &what);

    SqlExprPtr parseExpression();
    SqlExprPtr parseAnd();
    SqlExprPtr parseNot();
    SqlExprPtr parsePredicate();
    SqlExprPtr parseAdditive();
    SqlExprPtr parseMultiplicative();
    SqlExprPtr parseUnary();
    SqlExprPtr parsePrimary();
    SqlExprPtr parseFunction(const QString &name, int begin);
    SqlExprPtr parseCase(int begin);
    SqlExprPtr makeNode(SqlExpr::Kind kind, int begin) const;
    SqlExprPtr makeBinary(const QString &op, SqlExprPtr left, SqlExprPtr right) const;

    class DepthGuard;

    QString m_text;
    std::vector<SqlToken> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

} // namespace qpn::engine
