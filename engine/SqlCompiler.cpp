#include "engine/SqlCompiler.h"

#include "engine/EngineError.h"
#include "engine/SqlLiterals.h"

namespace qpn::engine {

namespace {

[[noreturn]] void Fail(const QString &what)
{
    throw EngineError(QStringLiteral("SQL error - ") + what);
}

const ColumnDef *FindColumn(const TableSchema &schema, const QString &name)
{
    for (const ColumnDef &column : schema.columns)
        if (column.name == name)
            return &column;
    for (const ColumnDef &column : schema.columns)
        if (column.name.compare(name, Qt::CaseInsensitive) == 0)
            return &column;
    return nullptr;
}

bool IsNumeric(std::optional<FieldType> type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::Float
           || type == FieldType::Money;
}

bool IsText(std::optional<FieldType> type)
{
    return type == FieldType::Char || type == FieldType::Memo;
}

QString NotText(const SqlExpr &expr)
{
    return expr.negated ? QStringLiteral("NOT ") : QString();
}

bool IsComparison(const QString &op)
{
    return op == QLatin1String("=") || op == QLatin1String("<>") || op == QLatin1String("<")
           || op == QLatin1String(">") || op == QLatin1String("<=") || op == QLatin1String(">=");
}

QString StorageAffinity(FieldType type)
{
    switch (type) {
    case FieldType::Float:
        return QStringLiteral("REAL");
    case FieldType::Date:
    case FieldType::DateTime:
    case FieldType::Char:
    case FieldType::Memo:
        return QStringLiteral("TEXT");
    default:
        return QStringLiteral("INTEGER");
    }
}

// Money multiplied or divided by a plain number leaves whole units behind.
QString RoundedUnits(const QString &sql)
{
    return QStringLiteral("CAST(ROUND(%1) AS INTEGER)").arg(sql);
}

QString DuplicateFieldMessage(const QString &column, const QString &table)
{
    return QStringLiteral("Invalid or duplicate field name '%1' specified for the table '%2'")
        .arg(column, table);
}

} // namespace

SqlCompiler::SqlCompiler(SchemaLookup lookup) : m_lookup(std::move(lookup)) {}

Translation SqlCompiler::compile(SqlStatement &statement)
{
    return std::visit(
        [this](auto &parsed) -> Translation {
            using T = std::decay_t<decltype(parsed)>;
            if constexpr (std::is_same_v<T, SqlSelect>)
                return compileSelect(parsed);
            else if constexpr (std::is_same_v<T, SqlUpdate>)
                return compileUpdate(parsed);
            else if constexpr (std::is_same_v<T, SqlDelete>)
                return compileDelete(parsed);
            else if constexpr (std::is_same_v<T, SqlInsert>)
                return compileInsert(parsed);
            else if constexpr (std::is_same_v<T, SqlCreateTable>)
                return compileCreateTable(parsed);
            else if constexpr (std::is_same_v<T, SqlCreateIndex>)
                return compileCreateIndex(parsed);
            else if constexpr (std::is_same_v<T, SqlAlterAdd>)
                return compileAlter(parsed);
            else
                return compileDrop(parsed);
        },
        statement);
}

QString SqlCompiler::compileFilter(SqlExpr &condition, const TableSchema &schema)
{
    m_sources = {Source{schema, schema.name, QString()}};
    m_bareColumns = true;
    m_allowParams = false;
    resolve(condition);
    return sqlOf(condition, std::nullopt);
}

// ------------------------------------------------------------------- tables

TableSchema SqlCompiler::attach(const QString &name, QString &alias)
{
    const QString key = name.toLower();
    for (const TableRef &ref : std::as_const(m_result.tables)) {
        if (ref.name.toLower() == key) {
            alias = ref.alias;
            return m_attached.value(key);
        }
    }
    const std::optional<TableSchema> schema = m_lookup ? m_lookup(name) : std::nullopt;
    if (!schema)
        throw EngineError(QStringLiteral("Table '%1' does not exist").arg(name));
    alias = QStringLiteral("t%1").arg(m_result.tables.size());
    m_result.tables.append(TableRef{name, alias});
    TableSchema found = *schema;
    if (found.name.isEmpty())
        found.name = name;
    m_attached.insert(key, found);
    return found;
}

QString SqlCompiler::tableText(const TableSchema &schema, const QString &alias) const
{
    return QuoteSqlName(alias) + u'.' + QuoteSqlName(schema.name);
}

void SqlCompiler::addSource(const SqlTableName &table)
{
    QString alias;
    const TableSchema schema = attach(table.name, alias);
    const QString correlation = table.correlation.isEmpty() ? table.name : table.correlation;
    for (const Source &source : m_sources)
        if (source.correlation.compare(correlation, Qt::CaseInsensitive) == 0)
            Fail(QStringLiteral("the table name '%1' is used twice; give one an alias").arg(correlation));
    m_sources.push_back(Source{schema, correlation, QStringLiteral("q%1").arg(m_sources.size())});
}

// ----------------------------------------------------------------- SELECT

Translation SqlCompiler::compileSelect(SqlSelect &select)
{
    m_result.kind = StatementKind::Select;
    m_result.sql = selectText(select, true, {}, m_result.columns);
    return m_result;
}

QString SqlCompiler::selectText(SqlSelect &select, bool live,
                                const std::vector<std::optional<FieldType>> &contexts,
                                QList<ResultColumn> &columns)
{
    m_sources.clear();
    m_bareColumns = false;
    addSource(select.from);
    for (const SqlJoin &join : select.joins)
        addSource(join.table);
    for (SqlJoin &join : select.joins)
        if (join.on)
            resolve(*join.on);
    if (select.where)
        resolve(*select.where);
    for (SqlExprPtr &group : select.groupBy)
        resolve(*group);
    if (select.having)
        resolve(*select.having);

    QStringList items;
    columns.clear();
    QHash<QString, bool> taken; // lower-case result names
    auto uniqueName = [&taken](const QString &base) {
        QString name = base;
        for (int n = 1; taken.contains(name.toLower()) || name == QLatin1String("__rowid"); ++n)
            name = QStringLiteral("%1_%2").arg(base).arg(n);
        taken.insert(name.toLower(), true);
        return name;
    };
    auto contextAt = [&contexts](qsizetype index) -> std::optional<FieldType> {
        return index < qsizetype(contexts.size()) ? contexts[index] : std::nullopt;
    };
    bool aggregate = select.distinct || !select.groupBy.empty();
    for (SqlSelectItem &item : select.items) {
        if (item.star) {
            bool matched = false;
            for (const Source &source : m_sources) {
                if (!item.starQualifier.isEmpty()
                    && source.correlation.compare(item.starQualifier, Qt::CaseInsensitive) != 0
                    && source.schema.name.compare(item.starQualifier, Qt::CaseInsensitive) != 0)
                    continue;
                matched = true;
                for (const ColumnDef &column : source.schema.columns) {
                    ResultColumn result{uniqueName(column.name), column, source.schema.name,
                                        column.name};
                    result.definition.name = result.name;
                    const QString ref = QuoteSqlName(source.sqlName) + u'.' + QuoteSqlName(column.name);
                    items.append(convert(ref, column.type, contextAt(columns.size())) + " AS "
                                 + QuoteSqlName(result.name));
                    columns.append(result);
                }
            }
            if (!matched)
                Fail(QStringLiteral("unknown table '%1' in '%1.*'").arg(item.starQualifier));
            continue;
        }
        resolve(*item.expr);
        aggregate = aggregate || isAggregate(*item.expr);
        const SqlType type = typeOf(*item.expr);
        ResultColumn result;
        QString base = item.alias;
        if (item.expr->kind == SqlExpr::Kind::Column) {
            result.originTable = m_sources[item.expr->source].schema.name;
            result.originColumn = item.expr->column.name;
            if (base.isEmpty())
                base = item.expr->column.name;
        }
        if (base.isEmpty())
            base = item.sourceText;
        result.name = uniqueName(base);
        const std::optional<FieldType> context = contextAt(columns.size());
        FieldType resultType = type.type.value_or(FieldType::Memo);
        if (context && type.literal)
            resultType = *context;
        result.definition.type = resultType;
        result.definition.size = resultType == FieldType::Char ? type.size : 0;
        if (resultType == FieldType::Char && result.definition.size <= 0)
            result.definition.type = FieldType::Memo;
        result.definition.name = result.name;
        items.append(sqlOf(*item.expr, context ? context : (type.literal ? std::nullopt : type.type))
                     + " AS " + QuoteSqlName(result.name));
        columns.append(result);
    }
    if (select.having)
        aggregate = true;

    QString sql = QStringLiteral("SELECT ");
    if (select.distinct)
        sql += QStringLiteral("DISTINCT ");
    sql += items.join(QStringLiteral(", "));
    const bool rowId = live && m_sources.size() == 1 && !aggregate;
    if (rowId)
        sql += QStringLiteral(", %1.rowid AS \"__rowid\"").arg(QuoteSqlName(m_sources[0].sqlName));
    QString fromAlias;
    attach(select.from.name, fromAlias);
    sql += QStringLiteral(" FROM ") + tableText(m_sources[0].schema, fromAlias)
           + QStringLiteral(" AS ") + QuoteSqlName(m_sources[0].sqlName);
    for (std::size_t i = 0; i < select.joins.size(); ++i) {
        const SqlJoin &join = select.joins[i];
        const Source &source = m_sources[i + 1];
        QString alias;
        attach(join.table.name, alias);
        static const char *keywords[] = {" JOIN ", " LEFT JOIN ", " RIGHT JOIN ", " FULL JOIN ",
                                         " CROSS JOIN "};
        sql += QLatin1String(keywords[int(join.kind)]) + tableText(source.schema, alias)
               + QStringLiteral(" AS ") + QuoteSqlName(source.sqlName);
        if (join.on)
            sql += QStringLiteral(" ON ") + sqlOf(*join.on, std::nullopt);
    }
    if (select.where)
        sql += QStringLiteral(" WHERE ") + sqlOf(*select.where, std::nullopt);
    if (!select.groupBy.empty()) {
        QStringList groups;
        for (const SqlExprPtr &group : select.groupBy)
            groups.append(sqlOf(*group, std::nullopt));
        sql += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
    }
    if (select.having)
        sql += QStringLiteral(" HAVING ") + sqlOf(*select.having, std::nullopt);
    if (!select.orderBy.empty())
        sql += QStringLiteral(" ORDER BY ") + orderByText(select.orderBy, columns);
    m_result.hasRowId = m_result.hasRowId || rowId;
    return sql;
}

QString SqlCompiler::orderByText(std::vector<SqlOrderItem> &orderBy, const QList<ResultColumn> &columns)
{
    QStringList orders;
    for (SqlOrderItem &order : orderBy) {
        SqlExpr &expr = *order.expr;
        QString text;
        if (expr.kind == SqlExpr::Kind::Number) {
            bool ok = false;
            const int position = expr.text.toInt(&ok);
            if (!ok || position < 1 || position > columns.size())
                Fail(QStringLiteral("ORDER BY position %1 is not a result column").arg(expr.text));
            text = expr.text;
        } else if (expr.kind == SqlExpr::Kind::Column && expr.qualifier.isEmpty()) {
            // A result name (ID_1, an alias) first, then a column of the tables.
            for (const ResultColumn &column : columns)
                if (column.name.compare(expr.text, Qt::CaseInsensitive) == 0)
                    text = QuoteSqlName(column.name);
        }
        if (text.isEmpty()) {
            resolve(expr);
            text = sqlOf(expr, std::nullopt);
        }
        orders.append(order.descending ? text + QStringLiteral(" DESC") : text);
    }
    return orders.join(QStringLiteral(", "));
}

// ------------------------------------------------------ UPDATE, DELETE, INSERT

Translation SqlCompiler::compileUpdate(SqlUpdate &update)
{
    m_result.kind = StatementKind::Update;
    addSource(update.table);
    m_bareColumns = true;
    const Source &target = m_sources[0];
    QStringList sets;
    QStringList assigned;
    for (SqlAssignment &assignment : update.assignments) {
        const ColumnDef *column = FindColumn(target.schema, assignment.column);
        if (!column)
            Fail(QStringLiteral("unknown column '%1' in the table '%2'")
                     .arg(assignment.column, target.schema.name));
        if (assigned.contains(column->name))
            Fail(QStringLiteral("the column '%1' is set twice").arg(column->name));
        assigned.append(column->name);
        resolve(*assignment.value);
        sets.append(QuoteSqlName(column->name) + QStringLiteral(" = ")
                    + sqlOf(*assignment.value, column->type));
    }
    m_result.sql = QStringLiteral("UPDATE ") + tableText(target.schema, m_result.tables[0].alias)
                   + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
    if (update.where) {
        resolve(*update.where);
        m_result.sql += QStringLiteral(" WHERE ") + sqlOf(*update.where, std::nullopt);
    }
    return m_result;
}

Translation SqlCompiler::compileDelete(SqlDelete &deletion)
{
    m_result.kind = StatementKind::Delete;
    addSource(deletion.table);
    m_bareColumns = true;
    m_result.sql = QStringLiteral("DELETE FROM ")
                   + tableText(m_sources[0].schema, m_result.tables[0].alias);
    if (deletion.where) {
        resolve(*deletion.where);
        m_result.sql += QStringLiteral(" WHERE ") + sqlOf(*deletion.where, std::nullopt);
    }
    return m_result;
}

Translation SqlCompiler::compileInsert(SqlInsert &insert)
{
    m_result.kind = StatementKind::Insert;
    QString alias;
    const TableSchema target = attach(insert.table.name, alias);
    QList<ColumnDef> columns;
    if (insert.columns.isEmpty()) {
        columns = target.columns;
    } else {
        for (const QString &name : std::as_const(insert.columns)) {
            const ColumnDef *column = FindColumn(target, name);
            if (!column)
                Fail(QStringLiteral("unknown column '%1' in the table '%2'").arg(name, target.name));
            for (const ColumnDef &earlier : std::as_const(columns))
                if (earlier.name == column->name)
                    Fail(QStringLiteral("the column '%1' is named twice").arg(column->name));
            columns.append(*column);
        }
    }
    QStringList names;
    std::vector<std::optional<FieldType>> contexts;
    for (const ColumnDef &column : std::as_const(columns)) {
        names.append(QuoteSqlName(column.name));
        contexts.push_back(column.type);
    }
    QString sql = QStringLiteral("INSERT INTO ") + tableText(target, alias) + QStringLiteral(" (")
                  + names.join(QStringLiteral(", ")) + QStringLiteral(") ");
    if (insert.select) {
        QList<ResultColumn> selected;
        sql += selectText(*insert.select, false, contexts, selected);
        if (selected.size() != columns.size())
            Fail(QStringLiteral("%1 columns but %2 values").arg(columns.size()).arg(selected.size()));
    } else {
        m_sources.clear();
        QStringList rows;
        for (std::vector<SqlExprPtr> &row : insert.rows) {
            if (row.size() != std::size_t(columns.size()))
                Fail(QStringLiteral("%1 columns but %2 values").arg(columns.size()).arg(row.size()));
            QStringList values;
            for (std::size_t i = 0; i < row.size(); ++i) {
                resolve(*row[i]);
                values.append(sqlOf(*row[i], contexts[i]));
            }
            rows.append(u'(' + values.join(QStringLiteral(", ")) + u')');
        }
        sql += QStringLiteral("VALUES ") + rows.join(QStringLiteral(", "));
    }
    m_result.sql = sql;
    return m_result;
}

// --------------------------------------------------------------------- DDL

Translation SqlCompiler::compileCreateTable(SqlCreateTable &create)
{
    TableSchema &schema = create.schema;
    if (schema.columns.isEmpty())
        Fail(QStringLiteral("the table '%1' has no columns").arg(schema.name));
    QStringList definitions;
    for (qsizetype i = 0; i < schema.columns.size(); ++i) {
        const ColumnDef &column = schema.columns[i];
        for (qsizetype j = 0; j < i; ++j)
            if (schema.columns[j].name.compare(column.name, Qt::CaseInsensitive) == 0)
                throw EngineError(DuplicateFieldMessage(column.name, schema.name));
        definitions.append(QuoteSqlName(column.name) + u' ' + StorageAffinity(column.type));
    }
    for (QString &key : schema.primaryKey) {
        const ColumnDef *column = FindColumn(schema, key);
        if (!column)
            Fail(QStringLiteral("the key column '%1' is not a column of the table '%2'")
                     .arg(key, schema.name));
        key = column->name;
    }
    m_result.kind = StatementKind::CreateTable;
    m_result.createdTable = schema;
    m_result.ifNotExists = create.ifNotExists;
    m_result.tables.append(TableRef{schema.name, QStringLiteral("t0")});
    m_result.sql = QStringLiteral("CREATE TABLE ")
                   + (create.ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString())
                   + tableText(schema, QStringLiteral("t0")) + QStringLiteral(" (")
                   + definitions.join(QStringLiteral(", ")) + u')';
    return m_result;
}

Translation SqlCompiler::compileCreateIndex(SqlCreateIndex &create)
{
    QString alias;
    const TableSchema schema = attach(create.table, alias);
    QStringList fields;
    for (QString &field : create.index.fields) {
        const ColumnDef *column = FindColumn(schema, field);
        if (!column)
            throw EngineError(QStringLiteral("Invalid field '%1' specified for the index '%2' in "
                                             "the table '%3'")
                                  .arg(field, create.index.name, schema.name));
        field = column->name;
        fields.append(QuoteSqlName(field));
    }
    m_result.kind = StatementKind::CreateIndex;
    m_result.index = create.index;
    m_result.indexTable = schema.name;
    m_result.ifNotExists = create.ifNotExists;
    m_result.sql = QStringLiteral("CREATE INDEX ")
                   + (create.ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString())
                   + QuoteSqlName(alias) + u'.' + QuoteSqlName(create.index.name)
                   + QStringLiteral(" ON ") + QuoteSqlName(schema.name) + QStringLiteral(" (")
                   + fields.join(QStringLiteral(", ")) + u')';
    return m_result;
}

Translation SqlCompiler::compileAlter(SqlAlterAdd &alter)
{
    QString alias;
    const TableSchema schema = attach(alter.table, alias);
    QStringList statements;
    for (qsizetype i = 0; i < alter.columns.size(); ++i) {
        const ColumnDef &column = alter.columns[i];
        bool duplicate = FindColumn(schema, column.name) != nullptr;
        for (qsizetype j = 0; j < i; ++j)
            duplicate = duplicate
                        || alter.columns[j].name.compare(column.name, Qt::CaseInsensitive) == 0;
        if (duplicate)
            throw EngineError(DuplicateFieldMessage(column.name, schema.name));
        statements.append(QStringLiteral("ALTER TABLE ") + tableText(schema, alias)
                          + QStringLiteral(" ADD COLUMN ") + QuoteSqlName(column.name) + u' '
                          + StorageAffinity(column.type));
    }
    m_result.kind = StatementKind::AlterTableAdd;
    m_result.addedColumns = alter.columns;
    m_result.sql = statements.join(QStringLiteral("; "));
    return m_result;
}

Translation SqlCompiler::compileDrop(SqlDrop &drop)
{
    m_result.kind = drop.index ? StatementKind::DropIndex : StatementKind::DropTable;
    m_result.ifExists = drop.ifExists;
    const std::optional<TableSchema> found = m_lookup ? m_lookup(drop.table) : std::nullopt;
    if (!found && drop.ifExists)
        return m_result; // nothing to drop
    QString alias;
    const TableSchema schema = attach(drop.table, alias);
    if (!drop.index) {
        m_result.sql = QStringLiteral("DROP TABLE ") + tableText(schema, alias);
        return m_result;
    }
    m_result.indexTable = schema.name;
    for (const IndexDef &index : schema.indexes)
        if (index.name.compare(drop.indexName, Qt::CaseInsensitive) == 0)
            m_result.index = index;
    if (m_result.index.name.isEmpty()) {
        if (drop.ifExists) {
            m_result.tables.clear();
            return m_result;
        }
        throw EngineError(
            QStringLiteral("Invalid secondary index name '%1' specified for the table '%2'")
                .arg(drop.indexName, schema.name));
    }
    m_result.sql = QStringLiteral("DROP INDEX ") + QuoteSqlName(alias) + u'.'
                   + QuoteSqlName(m_result.index.name);
    return m_result;
}

// -------------------------------------------------------------- resolution

void SqlCompiler::resolve(SqlExpr &expr)
{
    if (expr.kind == SqlExpr::Kind::Column)
        resolveColumn(expr);
    if (expr.kind == SqlExpr::Kind::Param && !m_allowParams)
        Fail(QStringLiteral("parameters are not allowed here (':%1')").arg(expr.text));
    for (SqlExprPtr &arg : expr.args)
        resolve(*arg);
}

void SqlCompiler::resolveColumn(SqlExpr &expr)
{
    if (!expr.qualifier.isEmpty()) {
        int found = -1;
        for (std::size_t i = 0; i < m_sources.size() && found < 0; ++i)
            if (m_sources[i].correlation.compare(expr.qualifier, Qt::CaseInsensitive) == 0)
                found = int(i);
        for (std::size_t i = 0; i < m_sources.size() && found < 0; ++i)
            if (m_sources[i].schema.name.compare(expr.qualifier, Qt::CaseInsensitive) == 0)
                found = int(i);
        if (found < 0)
            Fail(QStringLiteral("unknown table '%1' in '%1.%2'").arg(expr.qualifier, expr.text));
        const ColumnDef *column = FindColumn(m_sources[found].schema, expr.text);
        if (!column)
            Fail(QStringLiteral("unknown column '%1.%2'").arg(expr.qualifier, expr.text));
        expr.source = found;
        expr.column = *column;
        return;
    }
    // A name several joined tables share means the first table's column, as the
    // result names it without a suffix.
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        if (const ColumnDef *column = FindColumn(m_sources[i].schema, expr.text)) {
            expr.source = int(i);
            expr.column = *column;
            return;
        }
    }
    if (m_sources.size() == 1)
        Fail(QStringLiteral("unknown column '%1' in the table '%2'")
                 .arg(expr.text, m_sources[0].schema.name));
    Fail(QStringLiteral("unknown column '%1'").arg(expr.text));
}

bool SqlCompiler::isAggregate(const SqlExpr &expr)
{
    if (expr.kind == SqlExpr::Kind::Function
        && (expr.op == QLatin1String("SUM") || expr.op == QLatin1String("COUNT")
            || expr.op == QLatin1String("MIN") || expr.op == QLatin1String("MAX")
            || expr.op == QLatin1String("AVG")))
        return true;
    for (const SqlExprPtr &arg : expr.args)
        if (isAggregate(*arg))
            return true;
    return false;
}

// ------------------------------------------------------------------- types

SqlType SqlCompiler::typeOf(const SqlExpr &expr) const
{
    using K = SqlExpr::Kind;
    switch (expr.kind) {
    case K::Number: {
        const bool real = expr.text.contains(u'.') || expr.text.contains(u'e', Qt::CaseInsensitive);
        return {real ? FieldType::Float : FieldType::Integer, 0, true};
    }
    case K::String:
        return {FieldType::Char, 0, true};
    case K::Null:
    case K::Param:
        return {std::nullopt, 0, true};
    case K::Boolean:
        return {FieldType::Boolean, 0, true};
    case K::Column:
        return {expr.column.type, expr.column.size, false};
    case K::Star:
    case K::Extract:
        return {FieldType::Integer, 0, false};
    case K::IsNull:
    case K::Like:
    case K::In:
    case K::Between:
        return {FieldType::Boolean, 0, false};
    case K::Unary:
        if (expr.op == QLatin1String("NOT"))
            return {FieldType::Boolean, 0, false};
        return typeOf(*expr.args[0]);
    case K::Binary: {
        const QString &op = expr.op;
        if (op == QLatin1String("AND") || op == QLatin1String("OR") || IsComparison(op))
            return {FieldType::Boolean, 0, false};
        if (op == QLatin1String("||"))
            return {FieldType::Memo, 0, false};
        const SqlType a = typeOf(*expr.args[0]);
        const SqlType b = typeOf(*expr.args[1]);
        SqlType result;
        result.literal = a.literal && b.literal;
        const bool moneyA = a.type == FieldType::Money;
        const bool moneyB = b.type == FieldType::Money;
        if (op == QLatin1String("+") || op == QLatin1String("-")) {
            if (moneyA || moneyB)
                result.type = FieldType::Money;
            else if (a.type == FieldType::Float || b.type == FieldType::Float)
                result.type = FieldType::Float;
            else
                result.type = !a.literal ? a.type : (!b.literal ? b.type : a.type);
        } else if (op == QLatin1String("*")) {
            if (moneyA != moneyB)
                result.type = FieldType::Money;
            else if (moneyA || a.type == FieldType::Float || b.type == FieldType::Float)
                result.type = FieldType::Float;
            else
                result.type = FieldType::Integer;
        } else { // "/"
            if (moneyA && !moneyB)
                result.type = FieldType::Money;
            else if (moneyA || a.type == FieldType::Float || b.type == FieldType::Float)
                result.type = FieldType::Float;
            else
                result.type = FieldType::Integer;
        }
        if (result.type == FieldType::SmallInt)
            result.type = FieldType::Integer;
        return result;
    }
    case K::Function: {
        const QString &op = expr.op;
        const SqlType arg = typeOf(*expr.args[0]);
        if (op == QLatin1String("COUNT"))
            return {FieldType::Integer, 0, false};
        if (op == QLatin1String("SUM")) {
            if (arg.type == FieldType::Money || arg.type == FieldType::Float)
                return {arg.type, 0, false};
            return {FieldType::Integer, 0, false};
        }
        if (op == QLatin1String("AVG"))
            return {arg.type == FieldType::Money ? FieldType::Money : FieldType::Float, 0, false};
        if (op == QLatin1String("MIN") || op == QLatin1String("MAX"))
            return {arg.type, arg.size, false};
        if (op == QLatin1String("ABS"))
            return arg;
        if (op == QLatin1String("COALESCE")) {
            std::optional<SqlType> literal;
            for (const SqlExprPtr &each : expr.args) {
                const SqlType type = typeOf(*each);
                if (!type.literal && type.type)
                    return type;
                if (!literal && type.type)
                    literal = type;
            }
            return literal.value_or(SqlType{std::nullopt, 0, true});
        }
        // UPPER, LOWER, TRIM
        return {IsText(arg.type) ? arg.type : FieldType::Memo, arg.size, false};
    }
    case K::Case: {
        std::optional<SqlType> literal;
        const std::size_t first = expr.hasOperand ? 1 : 0;
        for (std::size_t i = first; i < expr.args.size(); ++i) {
            const bool isResult = (expr.hasElse && i + 1 == expr.args.size()) || (i - first) % 2 == 1;
            if (!isResult)
                continue;
            const SqlType type = typeOf(*expr.args[i]);
            if (!type.literal && type.type)
                return type;
            if (!literal && type.type)
                literal = type;
        }
        return literal.value_or(SqlType{std::nullopt, 0, true});
    }
    }
    return {};
}

std::optional<FieldType> SqlCompiler::commonContext(const SqlType &a, const SqlType &b)
{
    const bool typedA = !a.literal && a.type;
    const bool typedB = !b.literal && b.type;
    if (typedA && typedB && a.type != b.type && IsNumeric(a.type) && IsNumeric(b.type)
        && (a.type == FieldType::Money || b.type == FieldType::Money))
        return FieldType::Money;
    if (typedA)
        return a.type;
    if (typedB)
        return b.type;
    return std::nullopt;
}

QString SqlCompiler::convert(const QString &sql, std::optional<FieldType> from,
                             std::optional<FieldType> to)
{
    if (!from || !to || *from == *to)
        return sql;
    if (*from == FieldType::Money && IsNumeric(to))
        return QStringLiteral("(%1 / 10000.0)").arg(sql);
    if (*to == FieldType::Money && IsNumeric(from)) {
        if (*from == FieldType::Float)
            return RoundedUnits(QStringLiteral("%1 * 10000").arg(sql));
        return QStringLiteral("(%1 * 10000)").arg(sql);
    }
    return sql;
}

// ---------------------------------------------------------------- emission

QString SqlCompiler::columnText(const SqlExpr &expr) const
{
    const QString name = QuoteSqlName(expr.column.name);
    if (m_bareColumns)
        return name;
    return QuoteSqlName(m_sources[expr.source].sqlName) + u'.' + name;
}

QString SqlCompiler::sqlOf(const SqlExpr &expr, std::optional<FieldType> context)
{
    using K = SqlExpr::Kind;
    switch (expr.kind) {
    case K::Number:
    case K::String:
    case K::Null:
    case K::Boolean:
        return emitLiteral(expr, context);
    case K::Param:
        return emitParam(expr, context);
    case K::Column:
        return convert(columnText(expr), expr.column.type, context);
    case K::Star:
        return QStringLiteral("*");
    case K::Unary:
        if (expr.op == QLatin1String("NOT"))
            return QStringLiteral("(NOT %1)").arg(sqlOf(*expr.args[0], std::nullopt));
        return QStringLiteral("(%1%2)").arg(expr.op, sqlOf(*expr.args[0], context));
    case K::Binary:
        return emitBinary(expr, context);
    case K::IsNull:
        return QStringLiteral("(%1 IS %2NULL)")
            .arg(sqlOf(*expr.args[0], std::nullopt), NotText(expr));
    case K::Like: {
        const SqlType subject = typeOf(*expr.args[0]);
        const std::optional<FieldType> textType =
            IsText(subject.type) ? subject.type : std::optional<FieldType>(FieldType::Memo);
        // Parameters are numbered in the order they appear, so write left to right.
        const QString subjectSql = sqlOf(*expr.args[0], std::nullopt);
        const QString patternSql = sqlOf(*expr.args[1], textType);
        QString sql = QStringLiteral("(%1 %2LIKE %3").arg(subjectSql, NotText(expr), patternSql);
        if (expr.args.size() > 2)
            sql += QStringLiteral(" ESCAPE ") + sqlOf(*expr.args[2], FieldType::Memo);
        return sql + u')';
    }
    case K::In: {
        SqlType subject = typeOf(*expr.args[0]);
        std::optional<FieldType> common = commonContext(subject, subject);
        for (std::size_t i = 1; i < expr.args.size() && !common; ++i)
            common = commonContext(typeOf(*expr.args[i]), subject);
        const QString subjectSql = sqlOf(*expr.args[0], common);
        QStringList items;
        for (std::size_t i = 1; i < expr.args.size(); ++i)
            items.append(sqlOf(*expr.args[i], common));
        return QStringLiteral("(%1 %2IN (%3))")
            .arg(subjectSql, NotText(expr), items.join(QStringLiteral(", ")));
    }
    case K::Between: {
        std::optional<FieldType> common = commonContext(typeOf(*expr.args[0]), typeOf(*expr.args[1]));
        if (!common)
            common = commonContext(typeOf(*expr.args[2]), typeOf(*expr.args[0]));
        const QString subjectSql = sqlOf(*expr.args[0], common);
        const QString lowSql = sqlOf(*expr.args[1], common);
        const QString highSql = sqlOf(*expr.args[2], common);
        return QStringLiteral("(%1 %2BETWEEN %3 AND %4)").arg(subjectSql, NotText(expr), lowSql, highSql);
    }
    case K::Function:
        return emitFunction(expr, context);
    case K::Case:
        return emitCase(expr, context);
    case K::Extract: {
        static const QHash<QString, QString> formats = {{QStringLiteral("YEAR"), QStringLiteral("%Y")},
                                                        {QStringLiteral("MONTH"), QStringLiteral("%m")},
                                                        {QStringLiteral("DAY"), QStringLiteral("%d")}};
        const QString sql = QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)")
                                .arg(formats.value(expr.op), sqlOf(*expr.args[0], std::nullopt));
        return convert(sql, FieldType::Integer, context);
    }
    }
    return {};
}

QString SqlCompiler::emitLiteral(const SqlExpr &expr, std::optional<FieldType> context) const
{
    using K = SqlExpr::Kind;
    if (expr.kind == K::Null)
        return QStringLiteral("NULL");
    if (expr.kind == K::Boolean)
        return expr.text;
    if (expr.kind == K::Number) {
        if (context == FieldType::Money) {
            const std::optional<qint64> units = MoneyLiteralUnits(expr.text);
            if (!units)
                Fail(QStringLiteral("the amount %1 is out of range").arg(expr.text));
            return QString::number(*units);
        }
        return expr.text;
    }
    // A text literal meeting a column of another type takes that column's form.
    const QString &text = expr.text;
    switch (context.value_or(FieldType::Memo)) {
    case FieldType::Date:
    case FieldType::DateTime: {
        if (text.trimmed().isEmpty())
            return QStringLiteral("NULL"); // blank text is no date
        const std::optional<QString> stored = StoredDateText(text, context == FieldType::DateTime);
        if (!stored)
            Fail(QStringLiteral("'%1' is not a valid date").arg(text));
        return QuoteSqlString(*stored);
    }
    case FieldType::Money: {
        const std::optional<qint64> units = MoneyLiteralUnits(text);
        if (!units)
            Fail(QStringLiteral("'%1' is not a valid amount").arg(text));
        return QString::number(*units);
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Float: {
        bool ok = false;
        text.trimmed().toDouble(&ok);
        return ok ? text.trimmed() : QuoteSqlString(text);
    }
    case FieldType::Boolean: {
        const QString word = text.trimmed().toUpper();
        if (word == QLatin1String("TRUE") || word == QLatin1String("T") || word == QLatin1String("1"))
            return QStringLiteral("1");
        if (word == QLatin1String("FALSE") || word == QLatin1String("F") || word == QLatin1String("0"))
            return QStringLiteral("0");
        return QuoteSqlString(text);
    }
    default:
        return QuoteSqlString(text);
    }
}

QString SqlCompiler::emitParam(const SqlExpr &expr, std::optional<FieldType> context)
{
    const QString key = expr.text.toLower();
    auto found = m_paramIndex.constFind(key);
    if (found == m_paramIndex.constEnd()) {
        found = m_paramIndex.insert(key, int(m_result.params.size()));
        m_paramSpelling.insert(key, expr.text);
        m_result.params.append(ParamUse{expr.text, context});
    } else if (!m_result.params[*found].type) {
        m_result.params[*found].type = context;
    }
    return u':' + m_paramSpelling.value(key);
}

QString SqlCompiler::emitBinary(const SqlExpr &expr, std::optional<FieldType> context)
{
    const QString &op = expr.op;
    const SqlExpr &left = *expr.args[0];
    const SqlExpr &right = *expr.args[1];
    // Parameters are numbered in the order they appear, so write left to right.
    auto pair = [&](std::optional<FieldType> leftContext, std::optional<FieldType> rightContext) {
        const QString leftSql = sqlOf(left, leftContext);
        const QString rightSql = sqlOf(right, rightContext);
        return QStringLiteral("(%1 %2 %3)").arg(leftSql, op, rightSql);
    };
    if (op == QLatin1String("AND") || op == QLatin1String("OR"))
        return pair(std::nullopt, std::nullopt);
    if (IsComparison(op)) {
        const std::optional<FieldType> common = commonContext(typeOf(left), typeOf(right));
        return pair(common, common);
    }
    if (op == QLatin1String("||"))
        return pair(FieldType::Memo, FieldType::Memo);

    const SqlType type = typeOf(expr);
    const SqlType leftType = typeOf(left);
    const SqlType rightType = typeOf(right);
    QString sql;
    if (op == QLatin1String("+") || op == QLatin1String("-")) {
        const std::optional<FieldType> inner = type.literal ? context : type.type;
        sql = pair(inner, inner);
    } else if (type.literal) {
        // Only one factor (or the dividend) carries the unit.
        return pair(context, std::nullopt);
    } else {
        const bool leftMoney = leftType.type == FieldType::Money;
        const bool rightMoney = rightType.type == FieldType::Money;
        QString leftSql = sqlOf(left, leftMoney ? leftType.type : std::nullopt);
        const QString rightSql = sqlOf(right, rightMoney ? rightType.type : std::nullopt);
        if (op == QLatin1String("/") && leftMoney && rightMoney)
            leftSql = QStringLiteral("CAST(%1 AS REAL)").arg(leftSql);
        sql = QStringLiteral("(%1 %2 %3)").arg(leftSql, op, rightSql);
        if (type.type == FieldType::Money)
            sql = RoundedUnits(sql);
    }
    return type.literal ? sql : convert(sql, type.type, context);
}

QString SqlCompiler::emitFunction(const SqlExpr &expr, std::optional<FieldType> context)
{
    const QString &op = expr.op;
    const SqlType type = typeOf(expr);
    QString sql;
    if (op == QLatin1String("COALESCE") || op == QLatin1String("ABS")) {
        const std::optional<FieldType> inner = type.literal ? context : type.type;
        QStringList args;
        for (const SqlExprPtr &arg : expr.args)
            args.append(sqlOf(*arg, inner));
        sql = QStringLiteral("%1(%2)").arg(op, args.join(QStringLiteral(", ")));
        return type.literal ? sql : convert(sql, type.type, context);
    }
    const SqlType argType = typeOf(*expr.args[0]);
    const QString arg = sqlOf(*expr.args[0], argType.literal ? std::nullopt : argType.type);
    sql = QStringLiteral("%1(%2%3)").arg(op, expr.distinct ? QStringLiteral("DISTINCT ") : QString(), arg);
    if (op == QLatin1String("AVG") && type.type == FieldType::Money)
        sql = RoundedUnits(sql);
    return convert(sql, type.type, context);
}

QString SqlCompiler::emitCase(const SqlExpr &expr, std::optional<FieldType> context)
{
    const SqlType type = typeOf(expr);
    const std::optional<FieldType> inner = type.literal ? context : type.type;
    std::size_t i = 0;
    QString sql = QStringLiteral("(CASE");
    std::optional<FieldType> operandType;
    if (expr.hasOperand) {
        const SqlType operand = typeOf(*expr.args[0]);
        operandType = commonContext(operand, operand);
        sql += u' ' + sqlOf(*expr.args[0], operandType);
        i = 1;
    }
    const std::size_t pairsEnd = expr.hasElse ? expr.args.size() - 1 : expr.args.size();
    for (; i < pairsEnd; i += 2) {
        sql += QStringLiteral(" WHEN ") + sqlOf(*expr.args[i], operandType)
               + QStringLiteral(" THEN ") + sqlOf(*expr.args[i + 1], inner);
    }
    if (expr.hasElse)
        sql += QStringLiteral(" ELSE ") + sqlOf(*expr.args.back(), inner);
    sql += QStringLiteral(" END)");
    return type.literal ? sql : convert(sql, type.type, context);
}

} // namespace qpn::engine
