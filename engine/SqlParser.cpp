#include "engine/SqlParser.h"

#include "engine/EngineError.h"

#include <QSet>

namespace qpn::engine {

namespace {

// Words that end an expression or a list and so cannot be bare names.
const QSet<QString> &ReservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("SELECT"),   QStringLiteral("FROM"),    QStringLiteral("WHERE"),
        QStringLiteral("AND"),      QStringLiteral("OR"),      QStringLiteral("NOT"),
        QStringLiteral("IS"),       QStringLiteral("NULL"),    QStringLiteral("LIKE"),
        QStringLiteral("IN"),       QStringLiteral("BETWEEN"), QStringLiteral("ORDER"),
        QStringLiteral("BY"),       QStringLiteral("GROUP"),   QStringLiteral("HAVING"),
        QStringLiteral("AS"),       QStringLiteral("ON"),      QStringLiteral("JOIN"),
        QStringLiteral("LEFT"),     QStringLiteral("RIGHT"),   QStringLiteral("INNER"),
        QStringLiteral("OUTER"),    QStringLiteral("FULL"),    QStringLiteral("CROSS"),
        QStringLiteral("UNION"),    QStringLiteral("ASC"),     QStringLiteral("DESC"),
        QStringLiteral("SET"),      QStringLiteral("VALUES"),  QStringLiteral("INTO"),
        QStringLiteral("DISTINCT"), QStringLiteral("ALL"),     QStringLiteral("TRUE"),
        QStringLiteral("FALSE"),    QStringLiteral("CASE"),    QStringLiteral("WHEN"),
        QStringLiteral("THEN"),     QStringLiteral("ELSE"),    QStringLiteral("END"),
        QStringLiteral("ESCAPE"),   QStringLiteral("EXISTS"),
    };
    return words;
}

bool IsReserved(const QString &word)
{
    return ReservedWords().contains(word.toUpper());
}

[[noreturn]] void Fail(const QString &what)
{
    throw EngineError(QStringLiteral("SQL error - ") + what);
}

QString StripDat(const QString &name)
{
    return name.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive) ? name.chopped(4) : name;
}

std::optional<FieldType> FieldTypeByName(const QString &word)
{
    const QString upper = word.toUpper();
    if (upper == QLatin1String("SMALLINT"))
        return FieldType::SmallInt;
    if (upper == QLatin1String("INTEGER") || upper == QLatin1String("INT"))
        return FieldType::Integer;
    if (upper == QLatin1String("FLOAT") || upper == QLatin1String("DOUBLE"))
        return FieldType::Float;
    if (upper == QLatin1String("MONEY") || upper == QLatin1String("CURRENCY"))
        return FieldType::Money;
    if (upper == QLatin1String("DATE"))
        return FieldType::Date;
    if (upper == QLatin1String("TIMESTAMP") || upper == QLatin1String("DATETIME"))
        return FieldType::DateTime;
    if (upper == QLatin1String("BOOLEAN") || upper == QLatin1String("BOOL")
        || upper == QLatin1String("LOGICAL"))
        return FieldType::Boolean;
    if (upper == QLatin1String("CHAR") || upper == QLatin1String("CHARACTER")
        || upper == QLatin1String("VARCHAR"))
        return FieldType::Char;
    if (upper == QLatin1String("MEMO") || upper == QLatin1String("BLOB")
        || upper == QLatin1String("TEXT"))
        return FieldType::Memo;
    return std::nullopt;
}

const QSet<QString> &KnownFunctions()
{
    static const QSet<QString> names = {
        QStringLiteral("SUM"),   QStringLiteral("COUNT"), QStringLiteral("MIN"),
        QStringLiteral("MAX"),   QStringLiteral("AVG"),   QStringLiteral("UPPER"),
        QStringLiteral("LOWER"), QStringLiteral("TRIM"),  QStringLiteral("COALESCE"),
        QStringLiteral("ABS"),
    };
    return names;
}

} // namespace

SqlParser::SqlParser(const QString &text) : m_text(text), m_tokens(TokenizeSql(text)) {}

const SqlToken &SqlParser::peek(int ahead) const
{
    const std::size_t index = std::min(m_pos + ahead, m_tokens.size() - 1);
    return m_tokens[index];
}

const SqlToken &SqlParser::next()
{
    const SqlToken &token = m_tokens[m_pos];
    if (m_pos + 1 < m_tokens.size())
        ++m_pos;
    return token;
}

bool SqlParser::isWord(const char *keyword, int ahead) const
{
    const SqlToken &token = peek(ahead);
    return token.kind == SqlTokenKind::Word
           && token.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

bool SqlParser::acceptWord(const char *keyword)
{
    if (!isWord(keyword))
        return false;
    next();
    return true;
}

void SqlParser::expectWord(const char *keyword)
{
    if (!acceptWord(keyword))
        fail(QString::fromLatin1(keyword));
}

bool SqlParser::isSymbol(const char *symbol, int ahead) const
{
    const SqlToken &token = peek(ahead);
    return token.kind == SqlTokenKind::Symbol && token.text == QLatin1String(symbol);
}

bool SqlParser::acceptSymbol(const char *symbol)
{
    if (!isSymbol(symbol))
        return false;
    next();
    return true;
}

void SqlParser::expectSymbol(const char *symbol)
{
    if (!acceptSymbol(symbol))
        fail(QStringLiteral("'%1'").arg(QLatin1String(symbol)));
}

bool SqlParser::isName(int ahead) const
{
    const SqlToken &token = peek(ahead);
    return token.kind == SqlTokenKind::QuotedName
           || (token.kind == SqlTokenKind::Word && !IsReserved(token.text));
}

QString SqlParser::parseName(const QString &what)
{
    if (!isName())
        fail(what);
    const QString name = next().text;
    if (name.trimmed().isEmpty())
        Fail(QStringLiteral("empty %1").arg(what));
    return name;
}

void SqlParser::fail(const QString &expected) const
{
    const SqlToken &token = peek();
    if (token.kind == SqlTokenKind::End)
        Fail(QStringLiteral("expected %1 at the end of the statement").arg(expected));
    Fail(QStringLiteral("expected %1 near '%2'")
             .arg(expected, m_text.mid(token.begin, token.end - token.begin)));
}

void SqlParser::expectEnd()
{
    acceptSymbol(";");
    if (peek().kind != SqlTokenKind::End) {
        const SqlToken &token = peek();
        Fail(QStringLiteral("unexpected '%1' after the end of the statement")
                 .arg(m_text.mid(token.begin, token.end - token.begin)));
    }
}

// ---------------------------------------------------------------- statements

SqlStatement SqlParser::parseStatement()
{
    if (peek().kind == SqlTokenKind::End)
        Fail(QStringLiteral("empty statement"));
    SqlStatement statement = [this]() -> SqlStatement {
        if (isWord("SELECT"))
            return parseSelect();
        if (isWord("UPDATE"))
            return parseUpdate();
        if (isWord("DELETE"))
            return parseDelete();
        if (isWord("INSERT"))
            return parseInsert();
        if (isWord("CREATE"))
            return parseCreate();
        if (isWord("ALTER"))
            return parseAlter();
        if (isWord("DROP"))
            return parseDrop();
        fail(QStringLiteral("SELECT, UPDATE, DELETE, INSERT, CREATE, ALTER or DROP"));
    }();
    expectEnd();
    return statement;
}

SqlExprPtr SqlParser::parseCondition()
{
    SqlExprPtr condition = parseExpression();
    if (peek().kind != SqlTokenKind::End) {
        const SqlToken &token = peek();
        Fail(QStringLiteral("unexpected '%1' after the end of the condition")
                 .arg(m_text.mid(token.begin, token.end - token.begin)));
    }
    return condition;
}

SqlTableName SqlParser::parseTableName()
{
    SqlTableName table;
    table.name = StripDat(parseName(QStringLiteral("a table name")));
    // A bare file name: daicyoA.DAT
    if (isSymbol(".") && isWord("DAT", 1)) {
        next();
        next();
    }
    table.correlation = parseCorrelation();
    return table;
}

QString SqlParser::parseCorrelation()
{
    if (acceptWord("AS"))
        return parseName(QStringLiteral("an alias after AS"));
    if (isName())
        return next().text;
    return {};
}

SqlSelect SqlParser::parseSelect()
{
    expectWord("SELECT");
    SqlSelect select;
    if (acceptWord("DISTINCT"))
        select.distinct = true;
    else
        acceptWord("ALL");
    do {
        SqlSelectItem item;
        const int begin = peek().begin;
        if (acceptSymbol("*")) {
            item.star = true;
        } else if (isName() && isSymbol(".", 1) && isSymbol("*", 2)) {
            item.star = true;
            item.starQualifier = next().text;
            next();
            next();
        } else {
            item.expr = parseExpression();
            item.sourceText = m_text.mid(begin, item.expr->end - begin).simplified();
            item.alias = parseCorrelation();
        }
        select.items.push_back(std::move(item));
    } while (acceptSymbol(","));
    expectWord("FROM");
    parseFromClause(select);
    if (acceptWord("WHERE"))
        select.where = parseExpression();
    if (acceptWord("GROUP")) {
        expectWord("BY");
        do
            select.groupBy.push_back(parseExpression());
        while (acceptSymbol(","));
    }
    if (acceptWord("HAVING"))
        select.having = parseExpression();
    if (acceptWord("ORDER")) {
        expectWord("BY");
        do {
            SqlOrderItem item;
            item.expr = parseExpression();
            if (acceptWord("DESC") || acceptWord("DESCENDING"))
                item.descending = true;
            else if (!acceptWord("ASC"))
                acceptWord("ASCENDING");
            select.orderBy.push_back(std::move(item));
        } while (acceptSymbol(","));
    }
    if (isWord("UNION"))
        Fail(QStringLiteral("UNION is not supported"));
    return select;
}

void SqlParser::parseFromClause(SqlSelect &select)
{
    select.from = parseTableName();
    for (;;) {
        SqlJoin join;
        if (acceptSymbol(",")) {
            join.kind = SqlJoinKind::Cross;
            join.table = parseTableName();
            select.joins.push_back(std::move(join));
            continue;
        }
        if (acceptWord("LEFT"))
            join.kind = SqlJoinKind::Left;
        else if (acceptWord("RIGHT"))
            join.kind = SqlJoinKind::Right;
        else if (acceptWord("FULL"))
            join.kind = SqlJoinKind::Full;
        else if (acceptWord("CROSS"))
            join.kind = SqlJoinKind::Cross;
        else if (acceptWord("INNER"))
            join.kind = SqlJoinKind::Inner;
        else if (!isWord("JOIN"))
            return;
        if (join.kind == SqlJoinKind::Left || join.kind == SqlJoinKind::Right
            || join.kind == SqlJoinKind::Full)
            acceptWord("OUTER");
        expectWord("JOIN");
        join.table = parseTableName();
        if (join.kind != SqlJoinKind::Cross) {
            expectWord("ON");
            join.on = parseExpression();
        }
        select.joins.push_back(std::move(join));
    }
}

SqlUpdate SqlParser::parseUpdate()
{
    expectWord("UPDATE");
    SqlUpdate update;
    update.table = parseTableName();
    expectWord("SET");
    do {
        SqlAssignment assignment;
        assignment.column = parseName(QStringLiteral("a column name"));
        if (acceptSymbol("."))
            assignment.column = parseName(QStringLiteral("a column name"));
        expectSymbol("=");
        assignment.value = parseExpression();
        update.assignments.push_back(std::move(assignment));
    } while (acceptSymbol(","));
    if (acceptWord("WHERE"))
        update.where = parseExpression();
    return update;
}

SqlDelete SqlParser::parseDelete()
{
    expectWord("DELETE");
    expectWord("FROM");
    SqlDelete deletion;
    deletion.table = parseTableName();
    if (acceptWord("WHERE"))
        deletion.where = parseExpression();
    return deletion;
}

SqlInsert SqlParser::parseInsert()
{
    expectWord("INSERT");
    expectWord("INTO");
    SqlInsert insert;
    insert.table.name = StripDat(parseName(QStringLiteral("a table name")));
    if (isSymbol("(") && !isWord("SELECT", 1))
        insert.columns = parseNameList(QStringLiteral("a column name"));
    if (acceptWord("VALUES")) {
        do {
            expectSymbol("(");
            std::vector<SqlExprPtr> row;
            do
                row.push_back(parseExpression());
            while (acceptSymbol(","));
            expectSymbol(")");
            insert.rows.push_back(std::move(row));
        } while (acceptSymbol(","));
    } else if (isWord("SELECT")) {
        insert.select = std::make_unique<SqlSelect>(parseSelect());
    } else {
        fail(QStringLiteral("VALUES or SELECT"));
    }
    return insert;
}

SqlStatement SqlParser::parseCreate()
{
    expectWord("CREATE");
    if (isWord("TABLE"))
        return parseCreateTable();
    return parseCreateIndex();
}

SqlCreateTable SqlParser::parseCreateTable()
{
    expectWord("TABLE");
    SqlCreateTable create;
    if (acceptWord("IF")) {
        expectWord("NOT");
        expectWord("EXISTS");
        create.ifNotExists = true;
    }
    TableSchema &schema = create.schema;
    schema.name = StripDat(parseName(QStringLiteral("a table name")));
    expectSymbol("(");
    do {
        if (acceptWord("CONSTRAINT"))
            parseName(QStringLiteral("a constraint name"));
        if (acceptWord("PRIMARY")) {
            expectWord("KEY");
            if (!schema.primaryKey.isEmpty())
                throw EngineError(QStringLiteral("A primary index is already defined for the "
                                                 "table '%1' and cannot be added again")
                                      .arg(schema.name));
            schema.primaryKey = parseNameList(QStringLiteral("a key column"));
            for (;;) {
                if (acceptWord("COMPRESS")) {
                    const bool none = isWord("NONE");
                    if (!none && !isWord("FULL") && !isWord("DUPBYTE") && !isWord("TRAILBYTE"))
                        fail(QStringLiteral("FULL, NONE, DUPBYTE or TRAILBYTE after COMPRESS"));
                    next();
                    schema.compressKey = !none;
                } else if (!acceptWord("NOCASE")) {
                    break;
                }
            }
            continue;
        }
        ColumnDef column = parseColumnDefinition(schema.name);
        if (acceptWord("PRIMARY")) {
            expectWord("KEY");
            schema.primaryKey = QStringList{column.name};
        }
        schema.columns.append(column);
    } while (acceptSymbol(","));
    expectSymbol(")");
    for (;;) {
        if (acceptWord("LANGUAGE")) {
            schema.language = parseOptionText();
        } else if (acceptWord("SORT")) {
            schema.sort = parseOptionText();
        } else if (acceptWord("LOCALE") || acceptWord("DESCRIPTION")) {
            parseOptionText();
        } else if (acceptWord("USER")) {
            const bool major = acceptWord("MAJOR");
            if (!major)
                expectWord("MINOR");
            expectWord("VERSION");
            const int version = parseInteger(QStringLiteral("a version number"));
            if (major)
                schema.userMajorVersion = version;
        } else if (acceptWord("INDEX")) {
            expectWord("PAGE");
            expectWord("SIZE");
            parseInteger(QStringLiteral("a page size"));
        } else if (acceptWord("BLOB")) {
            expectWord("BLOCK");
            expectWord("SIZE");
            parseInteger(QStringLiteral("a block size"));
        } else if (acceptWord("LAST")) {
            expectWord("AUTOINC");
            parseInteger(QStringLiteral("a number"));
        } else {
            break;
        }
    }
    return create;
}

ColumnDef SqlParser::parseColumnDefinition(const QString &table)
{
    ColumnDef column;
    column.name = parseName(QStringLiteral("a column name"));
    if (peek().kind != SqlTokenKind::Word)
        fail(QStringLiteral("a column type after '%1'").arg(column.name));
    const QString typeName = next().text;
    const std::optional<FieldType> type = FieldTypeByName(typeName);
    if (!type)
        Fail(QStringLiteral("unknown column type '%1' for the column '%2'")
                 .arg(typeName, column.name));
    column.type = *type;
    if (column.type == FieldType::Char) {
        expectSymbol("(");
        column.size = parseInteger(QStringLiteral("the size of '%1'").arg(column.name));
        expectSymbol(")");
        if (column.size < 1)
            throw EngineError(QStringLiteral("Invalid field definition specified for the field "
                                             "'%1' in the table '%2'")
                                  .arg(column.name, table));
    } else if (column.type == FieldType::Memo && acceptSymbol("(")) {
        // BLOB(n, 1): the size and subtype of a memo, not a limit.
        do
            parseInteger(QStringLiteral("a number"));
        while (acceptSymbol(","));
        expectSymbol(")");
    }
    for (;;) {
        if (acceptWord("NOT")) {
            expectWord("NULL");
        } else if (acceptWord("NULL")) {
        } else if (acceptWord("DEFAULT")) {
            if (acceptSymbol("-"))
                parseInteger(QStringLiteral("a default value"));
            else
                next();
        } else if (acceptWord("DESCRIPTION")) {
            parseOptionText();
        } else {
            break;
        }
    }
    return column;
}

QStringList SqlParser::parseNameList(const QString &what)
{
    QStringList names;
    expectSymbol("(");
    do {
        names.append(parseName(what));
        if (!acceptWord("ASC") && !acceptWord("DESC"))
            acceptWord("NOCASE");
    } while (acceptSymbol(","));
    expectSymbol(")");
    return names;
}

QString SqlParser::parseOptionText()
{
    const SqlToken &token = peek();
    if (token.kind != SqlTokenKind::String && token.kind != SqlTokenKind::QuotedName
        && token.kind != SqlTokenKind::Word)
        fail(QStringLiteral("a quoted text"));
    return next().text;
}

int SqlParser::parseInteger(const QString &what)
{
    bool ok = false;
    const int value = peek().kind == SqlTokenKind::Number ? peek().text.toInt(&ok) : 0;
    if (!ok)
        fail(what);
    next();
    return value;
}

SqlCreateIndex SqlParser::parseCreateIndex()
{
    if (isWord("UNIQUE"))
        Fail(QStringLiteral("unique secondary indexes are not supported"));
    acceptWord("NOCASE");
    expectWord("INDEX");
    SqlCreateIndex create;
    if (acceptWord("IF")) {
        expectWord("NOT");
        expectWord("EXISTS");
        create.ifNotExists = true;
    }
    create.index.name = parseName(QStringLiteral("an index name"));
    expectWord("ON");
    create.table = StripDat(parseName(QStringLiteral("a table name")));
    create.index.fields = parseNameList(QStringLiteral("an index column"));
    if (acceptWord("COMPRESS"))
        next();
    return create;
}

SqlAlterAdd SqlParser::parseAlter()
{
    expectWord("ALTER");
    expectWord("TABLE");
    SqlAlterAdd alter;
    alter.table = StripDat(parseName(QStringLiteral("a table name")));
    do {
        expectWord("ADD");
        acceptWord("COLUMN");
        alter.columns.append(parseColumnDefinition(alter.table));
    } while (acceptSymbol(","));
    return alter;
}

SqlDrop SqlParser::parseDrop()
{
    expectWord("DROP");
    SqlDrop drop;
    if (acceptWord("INDEX")) {
        drop.index = true;
    } else {
        expectWord("TABLE");
    }
    if (acceptWord("IF")) {
        expectWord("EXISTS");
        drop.ifExists = true;
    }
    if (!drop.index) {
        drop.table = StripDat(parseName(QStringLiteral("a table name")));
        return drop;
    }
    const QString first = parseName(QStringLiteral("an index name"));
    if (acceptSymbol(".")) {
        drop.table = StripDat(first);
        drop.indexName = parseName(QStringLiteral("an index name"));
    } else {
        drop.indexName = first;
        expectWord("ON");
        drop.table = StripDat(parseName(QStringLiteral("a table name")));
    }
    return drop;
}

// --------------------------------------------------------------- expressions

SqlExprPtr SqlParser::makeNode(SqlExpr::Kind kind, int begin) const
{
    auto node = std::make_unique<SqlExpr>();
    node->kind = kind;
    node->begin = begin;
    node->end = m_tokens[m_pos > 0 ? m_pos - 1 : 0].end;
    return node;
}

SqlExprPtr SqlParser::makeBinary(const QString &op, SqlExprPtr left, SqlExprPtr right) const
{
    auto node = makeNode(SqlExpr::Kind::Binary, left->begin);
    node->op = op;
    node->args.push_back(std::move(left));
    node->args.push_back(std::move(right));
    return node;
}

// Bounds the recursion of nested parentheses, NOT and signs, so a
// pathological statement fails with a message instead of exhausting the stack.
class SqlParser::DepthGuard
{
public:
    explicit DepthGuard(int &depth) : m_depth(depth)
    {
        if (++m_depth > MaxDepth)
            Fail(QStringLiteral("the statement is nested too deeply"));
    }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    static constexpr int MaxDepth = 200;
    int &m_depth;
};

SqlExprPtr SqlParser::parseExpression()
{
    const DepthGuard guard(m_depth);
    SqlExprPtr left = parseAnd();
    while (acceptWord("OR"))
        left = makeBinary(QStringLiteral("OR"), std::move(left), parseAnd());
    return left;
}

SqlExprPtr SqlParser::parseAnd()
{
    SqlExprPtr left = parseNot();
    while (acceptWord("AND"))
        left = makeBinary(QStringLiteral("AND"), std::move(left), parseNot());
    return left;
}

SqlExprPtr SqlParser::parseNot()
{
    const DepthGuard guard(m_depth);
    const int begin = peek().begin;
    if (acceptWord("NOT")) {
        SqlExprPtr operand = parseNot();
        auto node = makeNode(SqlExpr::Kind::Unary, begin);
        node->op = QStringLiteral("NOT");
        node->args.push_back(std::move(operand));
        return node;
    }
    if (isWord("EXISTS"))
        Fail(QStringLiteral("subqueries are not supported"));
    return parsePredicate();
}

SqlExprPtr SqlParser::parsePredicate()
{
    SqlExprPtr left = parseAdditive();
    const int begin = left->begin;
    static const char *comparisons[] = {"=", "<>", "!=", "<", ">", "<=", ">="};
    for (const char *op : comparisons) {
        if (acceptSymbol(op)) {
            const QString name = QLatin1String(op) == QLatin1String("!=") ? QStringLiteral("<>")
                                                                          : QString::fromLatin1(op);
            return makeBinary(name, std::move(left), parseAdditive());
        }
    }
    if (acceptWord("IS")) {
        const bool negated = acceptWord("NOT");
        expectWord("NULL");
        auto node = makeNode(SqlExpr::Kind::IsNull, begin);
        node->negated = negated;
        node->args.push_back(std::move(left));
        return node;
    }
    const bool negated = isWord("NOT") && (isWord("LIKE", 1) || isWord("IN", 1) || isWord("BETWEEN", 1));
    if (negated)
        next();
    if (acceptWord("LIKE")) {
        SqlExprPtr pattern = parseAdditive();
        SqlExprPtr escape = acceptWord("ESCAPE") ? parseAdditive() : nullptr;
        auto node = makeNode(SqlExpr::Kind::Like, begin);
        node->negated = negated;
        node->args.push_back(std::move(left));
        node->args.push_back(std::move(pattern));
        if (escape)
            node->args.push_back(std::move(escape));
        return node;
    }
    if (acceptWord("IN")) {
        expectSymbol("(");
        if (isWord("SELECT"))
            Fail(QStringLiteral("subqueries are not supported"));
        auto node = std::make_unique<SqlExpr>();
        node->kind = SqlExpr::Kind::In;
        node->negated = negated;
        node->args.push_back(std::move(left));
        do
            node->args.push_back(parseAdditive());
        while (acceptSymbol(","));
        expectSymbol(")");
        node->begin = begin;
        node->end = m_tokens[m_pos - 1].end;
        return node;
    }
    if (acceptWord("BETWEEN")) {
        SqlExprPtr low = parseAdditive();
        expectWord("AND");
        SqlExprPtr high = parseAdditive();
        auto node = makeNode(SqlExpr::Kind::Between, begin);
        node->negated = negated;
        node->args.push_back(std::move(left));
        node->args.push_back(std::move(low));
        node->args.push_back(std::move(high));
        return node;
    }
    return left;
}

SqlExprPtr SqlParser::parseAdditive()
{
    SqlExprPtr left = parseMultiplicative();
    for (;;) {
        QString op;
        if (acceptSymbol("+"))
            op = QStringLiteral("+");
        else if (acceptSymbol("-"))
            op = QStringLiteral("-");
        else if (acceptSymbol("||"))
            op = QStringLiteral("||");
        else
            return left;
        left = makeBinary(op, std::move(left), parseMultiplicative());
    }
}

SqlExprPtr SqlParser::parseMultiplicative()
{
    SqlExprPtr left = parseUnary();
    for (;;) {
        QString op;
        if (acceptSymbol("*"))
            op = QStringLiteral("*");
        else if (acceptSymbol("/"))
            op = QStringLiteral("/");
        else
            return left;
        left = makeBinary(op, std::move(left), parseUnary());
    }
}

SqlExprPtr SqlParser::parseUnary()
{
    const DepthGuard guard(m_depth);
    const int begin = peek().begin;
    if (isSymbol("-") || isSymbol("+")) {
        const QString op = next().text;
        SqlExprPtr operand = parseUnary();
        auto node = makeNode(SqlExpr::Kind::Unary, begin);
        node->op = op;
        node->args.push_back(std::move(operand));
        return node;
    }
    return parsePrimary();
}

SqlExprPtr SqlParser::parsePrimary()
{
    const SqlToken &token = peek();
    const int begin = token.begin;
    switch (token.kind) {
    case SqlTokenKind::Number: {
        const QString text = next().text;
        auto node = makeNode(SqlExpr::Kind::Number, begin);
        node->text = text;
        return node;
    }
    case SqlTokenKind::String: {
        const QString text = next().text;
        auto node = makeNode(SqlExpr::Kind::String, begin);
        node->text = text;
        return node;
    }
    case SqlTokenKind::Parameter: {
        const QString text = next().text;
        auto node = makeNode(SqlExpr::Kind::Param, begin);
        node->text = text;
        return node;
    }
    default:
        break;
    }
    if (acceptSymbol("(")) {
        if (isWord("SELECT"))
            Fail(QStringLiteral("subqueries are not supported"));
        SqlExprPtr inner = parseExpression();
        expectSymbol(")");
        inner->begin = begin;
        inner->end = m_tokens[m_pos - 1].end;
        return inner;
    }
    if (acceptWord("NULL"))
        return makeNode(SqlExpr::Kind::Null, begin);
    if (isWord("TRUE") || isWord("FALSE")) {
        const bool value = isWord("TRUE");
        next();
        auto node = makeNode(SqlExpr::Kind::Boolean, begin);
        node->text = value ? QStringLiteral("1") : QStringLiteral("0");
        return node;
    }
    if (acceptWord("CASE"))
        return parseCase(begin);
    if (token.kind == SqlTokenKind::Word && isSymbol("(", 1)) {
        const QString name = next().text;
        next();
        return parseFunction(name, begin);
    }
    if (!isName())
        fail(QStringLiteral("a value or a column name"));
    auto node = std::make_unique<SqlExpr>();
    node->kind = SqlExpr::Kind::Column;
    node->text = next().text;
    if (acceptSymbol(".")) {
        node->qualifier = StripDat(node->text);
        node->text = parseName(QStringLiteral("a column name after '%1.'").arg(node->qualifier));
    }
    node->begin = begin;
    node->end = m_tokens[m_pos - 1].end;
    return node;
}

SqlExprPtr SqlParser::parseFunction(const QString &name, int begin)
{
    const QString upper = name.toUpper();
    if (upper == QLatin1String("EXTRACT")) {
        const QString part = parseName(QStringLiteral("YEAR, MONTH or DAY")).toUpper();
        if (part != QLatin1String("YEAR") && part != QLatin1String("MONTH")
            && part != QLatin1String("DAY"))
            Fail(QStringLiteral("EXTRACT of '%1' is not supported").arg(part));
        expectWord("FROM");
        SqlExprPtr operand = parseExpression();
        expectSymbol(")");
        auto node = makeNode(SqlExpr::Kind::Extract, begin);
        node->op = part;
        node->args.push_back(std::move(operand));
        return node;
    }
    if (!KnownFunctions().contains(upper))
        Fail(QStringLiteral("unknown function '%1'").arg(name));
    std::vector<SqlExprPtr> args;
    bool distinct = false;
    if (upper == QLatin1String("COUNT") && isSymbol("*")) {
        const int starBegin = peek().begin;
        next();
        args.push_back(makeNode(SqlExpr::Kind::Star, starBegin));
    } else {
        distinct = acceptWord("DISTINCT");
        do
            args.push_back(parseExpression());
        while (acceptSymbol(","));
    }
    expectSymbol(")");
    const bool single = upper != QLatin1String("COALESCE");
    if (single && args.size() != 1)
        Fail(QStringLiteral("%1 takes one argument").arg(upper));
    auto node = makeNode(SqlExpr::Kind::Function, begin);
    node->op = upper;
    node->distinct = distinct;
    node->args = std::move(args);
    return node;
}

SqlExprPtr SqlParser::parseCase(int begin)
{
    auto node = std::make_unique<SqlExpr>();
    node->kind = SqlExpr::Kind::Case;
    if (!isWord("WHEN")) {
        node->hasOperand = true;
        node->args.push_back(parseExpression());
    }
    if (!isWord("WHEN"))
        fail(QStringLiteral("WHEN"));
    while (acceptWord("WHEN")) {
        node->args.push_back(parseExpression());
        expectWord("THEN");
        node->args.push_back(parseExpression());
    }
    if (acceptWord("ELSE")) {
        node->hasElse = true;
        node->args.push_back(parseExpression());
    }
    expectWord("END");
    node->begin = begin;
    node->end = m_tokens[m_pos - 1].end;
    return node;
}

} // namespace qpn::engine
