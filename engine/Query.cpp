#include "engine/Query.h"

#include "engine/DatabaseState.h"
#include "engine/DbFailure.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FailureMap.h"
#include "engine/FolderConnection.h"
#include "engine/RecordLockFile.h"
#include "engine/SqlTranslator.h"
#include "engine/TableFile.h"
#include "engine/TableOps.h"
#include "engine/ValueCodec.h"

#include <QDateTime>
#include <QThread>

#include <algorithm>
#include <optional>

namespace qpn::engine {

namespace {

// Finds the value given for a parameter, by name without regard to case.
std::optional<QVariant> paramValue(const std::map<QString, QVariant> &params, const QString &name)
{
    const auto exact = params.find(name);
    if (exact != params.end())
        return exact->second;
    for (const auto &[key, value] : params) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

// The storage value of a parameter: typed by the column it meets when the
// statement tells, else by its own type.
QVariant paramStorage(const QString &name, const QVariant &value, const std::optional<FieldType> &type)
{
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (type && *type != FieldType::Char && *type != FieldType::Memo) {
        const ColumnDef column{QLatin1Char(':') + name, *type, 0};
        return codec::ToStorage(column, codec::Normalize(column, value, QString()));
    }
    if (value.metaType() == QMetaType::fromType<Currency>())
        return QVariant(qint64(value.value<Currency>().units()));
    switch (value.typeId()) {
    case QMetaType::QDate: return QVariant(codec::IsoDate(value.toDate()));
    case QMetaType::QDateTime: return QVariant(codec::IsoDateTime(value.toDateTime()));
    case QMetaType::Bool: return QVariant(qint64(value.toBool() ? 1 : 0));
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Short: return QVariant(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QVariant(value.toDouble());
    default: return QVariant(value.toString());
    }
}

} // namespace

// A statement run on the session's connection to the folder: the files of
// its tables are attached for the run, under schema names of the connection.
class Query::Impl
{
public:
    explicit Impl(Query &query) : q(query) {}
    ~Impl() { close(); }

    std::shared_ptr<const Translation> translate(const QString &statement);
    // Attaches the statement's tables and gives its text with their schema names.
    QString bindTables(const Translation &translation);
    void releaseTables();
    void bindParams(DbStatement &statement, const Translation &translation) const;
    int run(const QString &statement);
    void openResult();
    void close();

    bool live() const { return !basePath.isEmpty(); }
    int baseColumnOf(int field) const { return baseColumns.value(field, -1); }
    std::optional<std::vector<QVariant>> readBase(qint64 rowId);
    void lock(int row);
    void unlock();
    int post(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed);
    void remove(int row);
    [[noreturn]] void fail(const DbFailure &failure, const QString &table) const { throw MapFailure(failure, table); }

    Query &q;
    std::shared_ptr<FolderConnection> connection;
    QStringList pinned;
    QString display;
    QList<ResultColumn> columns;
    std::vector<std::vector<QVariant>> rows;
    std::vector<qint64> rowIds;

    // A live result: the base table's file, schema and record locks.
    QString basePath;
    QString baseQualified;
    TableSchema baseSchema;
    QList<int> baseColumns; // result field → base column, -1 for none
    std::unique_ptr<RecordLockFile> locks;
    qint64 lockedRowId = -1;
    std::vector<QVariant> lockedStorage;
};

std::shared_ptr<const Translation> Query::Impl::translate(const QString &statement)
{
    return connection->translation(statement);
}

QString Query::Impl::bindTables(const Translation &translation)
{
    QString sql = translation.sql;
    for (const TableRef &ref : translation.tables) {
        const QString name = tablefile::DisplayName(ref.name);
        const QString path = connection->locate(ref.name);
        if (path.isEmpty())
            throw EngineError(EngineMessage(text::TableMissing, {name}));
        const QString schemaName = connection->pin(path, name);
        pinned << path;
        const TableSchema schema = connection->schemaOf(schemaName, name);
        sql.replace(QuoteId(ref.alias) + u'.' + QuoteId(schema.name), QuoteId(schemaName) + u'.' + QuoteId(schema.name));
    }
    if (!translation.tables.isEmpty())
        display = tablefile::DisplayName(translation.tables.first().name);
    return sql;
}

void Query::Impl::releaseTables()
{
    if (connection) {
        for (const QString &path : std::as_const(pinned))
            connection->unpin(path);
    }
    pinned.clear();
}

void Query::Impl::bindParams(DbStatement &statement, const Translation &translation) const
{
    for (int i = 1; i <= statement.parameterCount(); ++i) {
        QString name = statement.parameterName(i);
        if (name.startsWith(u':'))
            name.remove(0, 1);
        const auto value = paramValue(q.m_params, name);
        if (!value)
            throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("no value for the parameter '%1'").arg(name)}));
        std::optional<FieldType> type;
        for (auto use = translation.params.crbegin(); use != translation.params.crend(); ++use) {
            if (use->name.compare(name, Qt::CaseInsensitive) == 0) {
                type = use->type;
                break;
            }
        }
        statement.bind(i, paramStorage(name, *value, type));
    }
}

int Query::Impl::run(const QString &statement)
{
    const std::shared_ptr<const Translation> translated = translate(statement);
    const Translation &translation = *translated;
    switch (translation.kind) {
    case StatementKind::CreateTable:
        tableops::CreateTable(connection->folder(), translation.createdTable, translation.ifNotExists);
        return 0;
    case StatementKind::CreateIndex:
        tableops::AddIndex(*connection, translation.indexTable, translation.index, translation.ifNotExists);
        return 0;
    case StatementKind::AlterTableAdd:
        tableops::AddColumns(*connection, translation.tables.value(0).name, translation.addedColumns);
        return 0;
    case StatementKind::DropTable:
        if (!translation.tables.isEmpty())
            tableops::DeleteTable(connection->folder(), translation.tables.first().name);
        return 0;
    case StatementKind::DropIndex:
        if (!translation.tables.isEmpty())
            tableops::DropIndex(*connection, translation.indexTable, translation.index.name);
        return 0;
    default: break;
    }
    try {
        int changed = 0;
        {
            const StatementLoan prepared(*connection, bindTables(translation));
            bindParams(*prepared, translation);
            prepared->execute();
            if (translation.kind != StatementKind::Select) {
                changed = connection->handle().changes();
                for (const QString &path : std::as_const(pinned))
                    connection->noteWrite(path);
            }
        }
        releaseTables();
        return changed;
    } catch (const DbFailure &failure) {
        releaseTables();
        fail(failure, display);
    } catch (...) {
        releaseTables();
        throw;
    }
}

void Query::Impl::openResult()
{
    const QStringList statements = SplitScript(q.m_sql);
    if (statements.size() != 1)
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("a query opens exactly one SELECT statement")}));
    const std::shared_ptr<const Translation> translated = translate(statements.first());
    const Translation &translation = *translated;
    if (translation.kind != StatementKind::Select)
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("the statement gives no result set")}));
    columns = translation.columns;
    rows.clear();
    rowIds.clear();
    try {
        const StatementLoan prepared(*connection, bindTables(translation));
        bindParams(*prepared, translation);
        const int count = int(columns.size());
        while (prepared->step()) {
            std::vector<QVariant> row;
            row.reserve(size_t(count));
            for (int i = 0; i < count; ++i)
                row.push_back(codec::Read(columns[i].definition, *prepared, i));
            rows.push_back(std::move(row));
            if (translation.hasRowId)
                rowIds.push_back(prepared->int64(count));
        }
    } catch (const DbFailure &failure) {
        releaseTables();
        fail(failure, display);
    } catch (...) {
        releaseTables();
        throw;
    }
    if (q.requestLive() && translation.hasRowId && translation.tables.size() == 1) {
        // Keep the base table attached while the result can be edited.
        basePath = pinned.first();
        pinned.removeFirst();
        const QString schemaName = connection->pin(basePath, display);
        connection->unpin(basePath); // balance the pin taken by bindTables, now owned here
        baseSchema = connection->schemaOf(schemaName, display);
        baseQualified = QuoteId(schemaName) + u'.' + QuoteId(baseSchema.name);
        baseColumns.clear();
        for (const ResultColumn &column : std::as_const(columns)) {
            const bool fromBase = !column.originColumn.isEmpty();
            baseColumns << (fromBase ? tableops::ColumnIndex(baseSchema, column.originColumn) : -1);
        }
        locks = std::make_unique<RecordLockFile>(tablefile::LockPath(basePath));
        locks->holdOpen();
    }
    releaseTables();
}

void Query::Impl::close()
{
    unlock();
    locks.reset();
    releaseTables();
    if (connection && !basePath.isEmpty())
        connection->unpin(basePath);
    basePath.clear();
    rows.clear();
    rowIds.clear();
    columns.clear();
    baseColumns.clear();
}

std::optional<std::vector<QVariant>> Query::Impl::readBase(qint64 rowId)
{
    try {
        DbStatement read(connection->db(), QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(baseQualified));
        read.bindInt64(1, rowId);
        if (!read.step())
            return std::nullopt;
        std::vector<QVariant> values;
        for (int i = 0; i < read.columnCount(); ++i)
            values.push_back(read.storage(i));
        return values;
    } catch (const DbFailure &failure) {
        fail(failure, display);
    }
}

void Query::Impl::lock(int row)
{
    const qint64 id = rowIds.at(size_t(row));
    if (lockedRowId == id)
        return;
    unlock();
    const int retries = connection->lockRetryCount();
    for (int attempt = 0; !locks->tryLock(id); ++attempt) {
        if (attempt >= retries)
            throw EngineError(EngineMessage(text::RecordInUse, {display}));
        QThread::msleep(ulong(std::max(0, connection->lockWaitMs())));
    }
    const auto storage = readBase(id);
    if (!storage) {
        locks->unlock(id);
        throw EngineError(EngineMessage(text::RecordChanged, {display}));
    }
    lockedRowId = id;
    lockedStorage = *storage;
    // Show the row as it is now.
    for (int field = 0; field < columns.size(); ++field) {
        const int base = baseColumnOf(field);
        if (base >= 0)
            rows[size_t(row)][size_t(field)] = codec::FromStorage(baseSchema.columns[base], (*storage)[size_t(base)]);
    }
}

void Query::Impl::unlock()
{
    if (lockedRowId > 0 && locks)
        locks->unlock(lockedRowId);
    lockedRowId = -1;
    lockedStorage.clear();
}

int Query::Impl::post(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed)
{
    QStringList names;
    std::vector<QVariant> values;
    for (int field = 0; field < columns.size(); ++field) {
        const int base = baseColumnOf(field);
        if (base < 0 || !changed[size_t(field)])
            continue;
        const ColumnDef &column = baseSchema.columns[base];
        names << QuoteId(column.name);
        values.push_back(codec::ToStorage(column, codec::Normalize(column, buffer[size_t(field)], display)));
    }
    try {
        if (inserting) {
            for (const QString &key : baseSchema.primaryKey) {
                if (!names.contains(QuoteId(key)))
                    throw EngineError(EngineMessage(text::ValueRequired, {key, display}));
            }
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            DbStatement insert(connection->db(), names.isEmpty()
                                                     ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(baseQualified)
                                                     : QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                                           .arg(baseQualified, names.join(u','), marks.join(u',')));
            for (size_t i = 0; i < values.size(); ++i)
                insert.bind(int(i) + 1, values[i]);
            insert.execute();
            connection->noteWrite(basePath);
            rowIds.push_back(connection->handle().lastInsertRowId());
            rows.push_back(buffer);
            return int(rows.size()) - 1;
        }
        const auto current = readBase(lockedRowId);
        if (!current || *current != lockedStorage)
            throw EngineError(EngineMessage(text::RecordChanged, {display}));
        if (!names.isEmpty()) {
            QStringList assignments;
            for (const QString &name : std::as_const(names))
                assignments << name + QStringLiteral("=?");
            DbStatement update(connection->db(),
                               QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(baseQualified, assignments.join(u',')));
            int parameter = 1;
            for (const QVariant &value : values)
                update.bind(parameter++, value);
            update.bindInt64(parameter, lockedRowId);
            update.execute();
            connection->noteWrite(basePath);
            if (const auto written = readBase(lockedRowId))
                lockedStorage = *written;
        }
        rows[size_t(row)] = buffer;
        return row;
    } catch (const DbFailure &failure) {
        fail(failure, display);
    }
}

void Query::Impl::remove(int row)
{
    try {
        DbStatement erase(connection->db(), QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(baseQualified));
        erase.bindInt64(1, rowIds.at(size_t(row)));
        erase.execute();
    } catch (const DbFailure &failure) {
        fail(failure, display);
    }
    connection->noteWrite(basePath);
    rows.erase(rows.begin() + row);
    rowIds.erase(rowIds.begin() + row);
}

// ---------------------------------------------------------------------------

Query::Query(QObject *parent)
    : Dataset(parent)
    , m_impl(std::make_unique<Impl>(*this))
{
}

Query::~Query()
{
    try {
        close();
    } catch (const EngineError &) {
    }
}

void Query::setSql(const QString &text)
{
    close();
    m_sql = text;
}

void Query::setParam(const QString &name, const QVariant &value)
{
    QString key = name;
    if (key.startsWith(u':'))
        key.remove(0, 1);
    for (auto &[existing, stored] : m_params) {
        if (existing.compare(key, Qt::CaseInsensitive) == 0) {
            stored = value;
            return;
        }
    }
    m_params[key] = value;
}

QVariant Query::param(const QString &name) const
{
    QString key = name;
    if (key.startsWith(u':'))
        key.remove(0, 1);
    return paramValue(m_params, key).value_or(QVariant());
}

QStringList Query::paramNames() const
{
    // Names after a colon outside quotes, brackets and block comments.
    QStringList names;
    const QString &s = m_sql;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            i = s.indexOf(close, i + 1);
            if (i < 0)
                break;
        } else if (c == u'/' && i + 1 < s.size() && s[i + 1] == u'*') {
            i = s.indexOf(QStringLiteral("*/"), i + 2);
            if (i < 0)
                break;
            ++i;
        } else if (c == u':' && i + 1 < s.size() && (s[i + 1].isLetter() || s[i + 1] == u'_')) {
            qsizetype end = i + 1;
            while (end < s.size() && (s[end].isLetterOrNumber() || s[end] == u'_'))
                ++end;
            const QString name = s.mid(i + 1, end - i - 1);
            if (!names.contains(name, Qt::CaseInsensitive))
                names << name;
            i = end - 1;
        }
    }
    return names;
}

void Query::execSql()
{
    close();
    m_impl->connection = ConnectionFor(databaseName(), sessionName());
    m_rowsAffected = 0;
    for (const QString &statement : SplitScript(m_sql))
        m_rowsAffected = m_impl->run(statement);
}

void Query::doOpen()
{
    m_impl->connection = ConnectionFor(databaseName(), sessionName());
    m_impl->openResult();
    QList<ColumnDef> definitions;
    for (const ResultColumn &column : std::as_const(m_impl->columns)) {
        ColumnDef definition = column.definition;
        definition.name = column.name;
        definitions << definition;
    }
    setFields(definitions);
}

void Query::doClose()
{
    m_impl->close();
}

int Query::doRecordCount() const
{
    return int(m_impl->rows.size());
}

QVariant Query::doValue(int row, int fieldIndex) const
{
    if (row < 0 || size_t(row) >= m_impl->rows.size())
        return QVariant();
    return m_impl->rows[size_t(row)][size_t(fieldIndex)];
}

qint64 Query::doRowId(int row) const
{
    // Rows of a result that is not live are told apart by their position.
    return m_impl->rowIds.empty() ? qint64(row) : m_impl->rowIds.at(size_t(row));
}

int Query::doRowOf(qint64 rowId) const
{
    if (m_impl->rowIds.empty())
        return rowId >= 0 && rowId < qint64(m_impl->rows.size()) ? int(rowId) : -1;
    const auto found = std::find(m_impl->rowIds.begin(), m_impl->rowIds.end(), rowId);
    return found == m_impl->rowIds.end() ? -1 : int(found - m_impl->rowIds.begin());
}

void Query::doLock(int row)
{
    m_impl->lock(row);
}

void Query::doUnlock(int row)
{
    Q_UNUSED(row);
    m_impl->unlock();
}

int Query::doPost(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed)
{
    return m_impl->post(row, inserting, buffer, changed);
}

void Query::doDelete(int row)
{
    m_impl->remove(row);
}

void Query::doRefresh()
{
    const bool wasLive = m_impl->live();
    m_impl->close();
    m_impl->openResult();
    Q_UNUSED(wasLive);
}

QString Query::displayName() const
{
    return m_impl->display;
}

} // namespace qpn::engine

namespace qpn::engine {

bool Query::doCanModify() const
{
    return m_requestLive && m_impl->live();
}

} // namespace qpn::engine
