#include "engine/Table.h"

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

#include <QThread>

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <unordered_map>

namespace qpn::engine {

// The open state of a table cursor: the rowids of the rows it shows, in the
// order of the current index, with their key values beside them so a posted
// row finds its place without reading the table again.
class Table::Impl : public ConnectionListener
{
public:
    explicit Impl(Table &table) : q(table) {}
    ~Impl() override { close(); }

    void open();
    void close();
    void setupOrder();
    void prepare();
    void loadRows();
    void afterRollback() override;

    QVariant value(int row, int column);
    quint64 currentTransaction() const; // serial of the open transaction, 0 for none
    // Counts the writes that may have changed this table's rows.
    quint64 generation() const { return connection->writeGeneration() + *writes; }
    bool inRange(const std::vector<QVariant> &key) const;
    std::vector<QVariant> rangeKey(const QVariantList &values) const;
    const std::vector<QVariant> *cachedRow(qint64 rowId);
    void keepOwnWrite(quint64 generationBefore, qint64 rowId);
    std::vector<QVariant> readColumns(const DbStatement &statement, int first) const;
    std::optional<std::vector<QVariant>> readRow(qint64 rowId);
    void readBlock(int row);
    void lock(int row);
    void unlock();
    int post(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed);
    void remove(int row);
    int rowOf(qint64 rowId) const;

    std::vector<QVariant> keyOf(const std::vector<QVariant> &values) const;
    int compareRow(size_t row, const std::vector<QVariant> &key, size_t parts) const;
    size_t insertionPoint(const std::vector<QVariant> &key, qint64 rowId) const;
    size_t lowerBound(const std::vector<QVariant> &key, size_t parts) const;
    void insertAt(size_t position, qint64 rowId, const std::vector<QVariant> &key);
    void eraseAt(size_t position);
    bool inView(qint64 rowId, const std::vector<QVariant> &values);

    // Master-detail.
    std::optional<std::vector<QVariant>> masterValues() const; // canonical, for the detail columns
    void onMasterChanged();

    [[noreturn]] void fail(const DbFailure &failure) const { throw MapFailure(failure, display); }

    Table &q;
    std::shared_ptr<FolderConnection> connection;
    quint64 *writes = nullptr;
    QString path;
    QString schemaName;
    QString display;
    QString qualified; // "f1"."daicyoA"
    TableSchema schema;
    std::vector<int> orderColumns;
    std::vector<int> keyColumns; // of the primary key
    size_t indexFieldCount = 0;
    std::vector<qint64> rowIds;
    std::vector<QVariant> keys; // rowIds.size() × orderColumns.size()

    std::unique_ptr<DbStatement> selectRow;
    std::unique_ptr<DbStatement> insertRow;
    std::unique_ptr<DbStatement> deleteRow;
    std::unique_ptr<DbStatement> filterMatch;
    std::unique_ptr<DbStatement> selectKeys; // of loadRows, kept while its text stays
    QString selectKeysSql;
    // The range on the current index as key values; none when not set.
    std::optional<std::vector<QVariant>> rangeStart;
    std::optional<std::vector<QVariant>> rangeEnd;
    std::map<std::vector<bool>, std::unique_ptr<DbStatement>> updates;

    // Rows read lately, by rowid, valid while nothing else wrote through the
    // connection and the transaction they were read in lasts.
    static constexpr int BlockRows = 32;
    static constexpr size_t MaxCachedRows = 1024;
    std::unique_ptr<DbStatement> selectBlock;
    std::unordered_map<qint64, std::vector<QVariant>> cache;
    quint64 cacheGeneration = 0;
    quint64 cacheTransaction = 0;

    std::unique_ptr<RecordLockFile> locks;
    qint64 lockedRowId = -1;
    std::vector<QVariant> lockedValues;
    quint64 lockedGeneration = 0;
    quint64 lockedTransaction = 0;

    QString filterCondition;
    Dataset *master = nullptr;
    QStringList masterFields;
    QStringList detailFields;
    std::vector<int> detailColumns;
    std::optional<std::vector<QVariant>> shownMaster;
    std::vector<QMetaObject::Connection> masterLinks;
};

namespace {

QStringList splitFields(const QString &fields)
{
    QStringList names;
    for (const QString &part : fields.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

} // namespace

void Table::Impl::open()
{
    connection = ConnectionFor(q.databaseName(), q.sessionName());
    display = tablefile::DisplayName(q.tableName());
    path = tablefile::Locate(connection->folder(), q.tableName());
    if (path.isEmpty())
        throw EngineError(EngineMessage(text::TableMissing, {display}));
    schemaName = connection->pin(path, display);
    writes = FolderConnection::writeCounter(path);
    try {
        schema = connection->schemaOf(schemaName, display);
        display = schema.name; // messages name the table as it was created
        qualified = QuoteId(schemaName) + u'.' + QuoteId(schema.name);
        locks = std::make_unique<RecordLockFile>(tablefile::LockPath(path));
        locks->holdOpen();
        detailColumns.clear();
        for (const QString &name : detailFields) {
            const int column = tableops::ColumnIndex(schema, name);
            if (column < 0)
                throw EngineError(EngineMessage(text::InvalidField, {name, display}));
            detailColumns.push_back(column);
        }
        keyColumns.clear();
        for (const QString &key : schema.primaryKey) {
            const int column = tableops::ColumnIndex(schema, key);
            if (column >= 0)
                keyColumns.push_back(column);
        }
        setupOrder();
        prepare();
        loadRows();
    } catch (...) {
        close();
        throw;
    }
    connection->addListener(this);
}

void Table::Impl::close()
{
    unlock();
    selectRow.reset();
    selectBlock.reset();
    cache.clear();
    insertRow.reset();
    deleteRow.reset();
    filterMatch.reset();
    selectKeys.reset();
    selectKeysSql.clear();
    updates.clear();
    locks.reset();
    rowIds.clear();
    keys.clear();
    if (connection) {
        connection->removeListener(this);
        if (!path.isEmpty())
            connection->unpin(path);
    }
    connection.reset();
    path.clear();
}

void Table::Impl::setupOrder()
{
    QStringList fields;
    if (q.indexName().isEmpty()) {
        fields = schema.primaryKey;
        indexFieldCount = size_t(fields.size());
    } else {
        const auto index = std::find_if(schema.indexes.begin(), schema.indexes.end(), [&](const IndexDef &i) {
            return i.name.compare(q.indexName(), Qt::CaseInsensitive) == 0;
        });
        if (index == schema.indexes.end())
            throw EngineError(EngineMessage(text::InvalidIndexName, {q.indexName(), display}));
        fields = index->fields;
        indexFieldCount = size_t(fields.size());
        for (const QString &key : schema.primaryKey) {
            if (!fields.contains(key, Qt::CaseInsensitive))
                fields << key;
        }
    }
    orderColumns.clear();
    for (const QString &field : fields) {
        const int column = tableops::ColumnIndex(schema, field);
        if (column < 0)
            throw EngineError(EngineMessage(text::InvalidIndexField, {field, q.indexName(), display}));
        orderColumns.push_back(column);
    }
}

void Table::Impl::prepare()
{
    QStringList names;
    QStringList marks;
    for (const ColumnDef &column : schema.columns) {
        names << QuoteId(column.name);
        marks << QStringLiteral("?");
    }
    try {
        selectRow = std::make_unique<DbStatement>(
            connection->db(), QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(names.join(u','), qualified));
        insertRow = std::make_unique<DbStatement>(connection->db(), QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                                                                        .arg(qualified, names.join(u','), marks.join(u',')));
        deleteRow = std::make_unique<DbStatement>(connection->db(),
                                                  QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(qualified));
        QStringList blockMarks;
        for (int i = 0; i < BlockRows; ++i)
            blockMarks << QStringLiteral("?");
        selectBlock = std::make_unique<DbStatement>(connection->db(), QStringLiteral("SELECT rowid,%1 FROM %2 WHERE rowid IN (%3)")
                                                                          .arg(names.join(u','), qualified, blockMarks.join(u',')));
    } catch (const DbFailure &failure) {
        fail(failure);
    }
    updates.clear();
}

void Table::Impl::loadRows()
{
    rowIds.clear();
    keys.clear();
    cache.clear();
    filterMatch.reset();
    filterCondition.clear();
    if (q.filtered() && !q.filter().trimmed().isEmpty()) {
        try {
            filterCondition = TranslateFilter(q.filter(), schema);
        } catch (const EngineError &error) {
            QString reason = error.message();
            if (reason.startsWith(QStringLiteral("Filter error")))
                throw;
            const QString prefix = QStringLiteral("SQL error - ");
            if (reason.startsWith(prefix))
                reason = reason.mid(prefix.size());
            throw EngineError(EngineMessage(text::FilterError, {display, reason}));
        }
    }
    QStringList conditions;
    if (!filterCondition.isEmpty())
        conditions << u'(' + filterCondition + u')';
    std::vector<QVariant> masterStorage;
    if (master) {
        shownMaster = masterValues();
        if (!shownMaster)
            return; // no master row: no detail rows
        for (size_t i = 0; i < detailColumns.size(); ++i) {
            const ColumnDef &column = schema.columns[detailColumns[i]];
            conditions << QuoteId(column.name) + QStringLiteral("=?");
            masterStorage.push_back(codec::ToStorage(column, (*shownMaster)[i]));
        }
    }
    std::vector<QVariant> rangeStorage;
    rangeStart.reset();
    rangeEnd.reset();
    if (!q.m_rangeStart.isEmpty() || !q.m_rangeEnd.isEmpty()) {
        rangeStart = rangeKey(q.m_rangeStart);
        rangeEnd = rangeKey(q.m_rangeEnd);
        // The leading field narrows the read; the whole range is checked below.
        const ColumnDef &column = schema.columns[orderColumns.front()];
        if (!rangeStart->empty() && (*rangeStart)[0].isValid()) {
            conditions << QuoteId(column.name) + QStringLiteral(">=?");
            rangeStorage.push_back(codec::ToStorage(column, codec::Normalize(column, q.m_rangeStart.front(), display)));
        }
        if (!rangeEnd->empty() && (*rangeEnd)[0].isValid()) {
            conditions << QuoteId(column.name) + QStringLiteral("<=?");
            rangeStorage.push_back(codec::ToStorage(column, codec::Normalize(column, q.m_rangeEnd.front(), display)));
        }
    }
    QStringList selected{QStringLiteral("rowid")};
    for (const int column : orderColumns)
        selected << QuoteId(schema.columns[column].name);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(selected.join(u','), qualified);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    const size_t parts = orderColumns.size();
    std::vector<qint64> ids;
    std::vector<QVariant> values;
    std::vector<QVariant> key(parts);
    try {
        if (!filterCondition.isEmpty()) {
            filterMatch = std::make_unique<DbStatement>(
                connection->db(),
                QStringLiteral("SELECT 1 FROM %1 WHERE rowid=? AND (%2)").arg(qualified, filterCondition));
        }
        if (!selectKeys || selectKeysSql != sql) {
            selectKeys.reset();
            selectKeys = std::make_unique<DbStatement>(connection->db(), sql);
            selectKeysSql = sql;
        }
        DbStatement &read = *selectKeys;
        int parameter = 1;
        for (const QVariant &value : masterStorage)
            read.bind(parameter++, value);
        for (const QVariant &value : rangeStorage)
            read.bind(parameter++, value);
        while (read.step()) {
            for (size_t k = 0; k < parts; ++k) {
                const ColumnDef &column = schema.columns[orderColumns[k]];
                key[k] = codec::KeyOf(column, codec::Read(column, read, int(k) + 1));
            }
            if (!inRange(key))
                continue;
            ids.push_back(read.int64(0));
            values.insert(values.end(), key.begin(), key.end());
        }
        read.reset();
    } catch (const DbFailure &failure) {
        if (selectKeys)
            selectKeys->reset();
        fail(failure);
    }
    std::vector<size_t> order(ids.size());
    std::iota(order.begin(), order.end(), size_t(0));
    if (parts > 0) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            for (size_t k = 0; k < parts; ++k) {
                const int c = codec::CompareKeys(values[a * parts + k], values[b * parts + k]);
                if (c != 0)
                    return c < 0;
            }
            return ids[a] < ids[b];
        });
    } else {
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return ids[a] < ids[b]; });
    }
    rowIds.reserve(ids.size());
    keys.reserve(values.size());
    for (const size_t i : order) {
        rowIds.push_back(ids[i]);
        for (size_t k = 0; k < parts; ++k)
            keys.push_back(std::move(values[i * parts + k]));
    }
}

std::vector<QVariant> Table::Impl::rangeKey(const QVariantList &values) const
{
    std::vector<QVariant> key;
    const size_t parts = std::min(size_t(values.size()), indexFieldCount);
    for (size_t i = 0; i < parts; ++i) {
        const ColumnDef &column = schema.columns[orderColumns[i]];
        key.push_back(codec::KeyOf(column, codec::Normalize(column, values[qsizetype(i)], display)));
    }
    return key;
}

bool Table::Impl::inRange(const std::vector<QVariant> &key) const
{
    // Keys compare on the fields the range gives, as FindKey does.
    const auto compare = [&](const std::vector<QVariant> &bound) {
        for (size_t k = 0; k < bound.size() && k < key.size(); ++k) {
            const int c = codec::CompareKeys(key[k], bound[k]);
            if (c != 0)
                return c;
        }
        return 0;
    };
    if (rangeStart && compare(*rangeStart) < 0)
        return false;
    if (rangeEnd && compare(*rangeEnd) > 0)
        return false;
    return true;
}

void Table::Impl::afterRollback()
{
    cache.clear();
    if (q.state() == DatasetState::Browse) {
        q.refresh();
    }
}

quint64 Table::Impl::currentTransaction() const
{
    return connection->inTransaction() ? connection->transactionSerial() : 0;
}

const std::vector<QVariant> *Table::Impl::cachedRow(qint64 rowId)
{
    if (cacheGeneration != generation() || cacheTransaction != currentTransaction()) {
        cache.clear();
        cacheGeneration = generation();
        cacheTransaction = currentTransaction();
    }
    const auto found = cache.find(rowId);
    return found == cache.end() ? nullptr : &found->second;
}

void Table::Impl::keepOwnWrite(quint64 generationBefore, qint64 rowId)
{
    // A cursor's own write leaves the rest of its cache as true as it was.
    if (cacheGeneration != generationBefore) {
        cache.clear();
        return;
    }
    cacheGeneration = generation();
    cache.erase(rowId); // the written row is read again when it is next shown
}

std::vector<QVariant> Table::Impl::readColumns(const DbStatement &statement, int first) const
{
    std::vector<QVariant> values;
    values.reserve(size_t(schema.columns.size()));
    for (int i = 0; i < schema.columns.size(); ++i)
        values.push_back(codec::Read(schema.columns[i], statement, first + i));
    return values;
}

std::optional<std::vector<QVariant>> Table::Impl::readRow(qint64 rowId)
{
    try {
        selectRow->bindInt64(1, rowId);
        std::optional<std::vector<QVariant>> values;
        if (selectRow->step())
            values = readColumns(*selectRow, 0);
        selectRow->reset();
        return values;
    } catch (const DbFailure &failure) {
        selectRow->reset();
        fail(failure);
    }
}

void Table::Impl::readBlock(int row)
{
    // Rows are mostly read one after another: read the next ones with this one.
    if (cache.size() > MaxCachedRows)
        cache.clear();
    try {
        for (int i = 0; i < BlockRows; ++i) {
            const size_t at = size_t(row) + size_t(i);
            selectBlock->bindInt64(i + 1, at < rowIds.size() ? rowIds[at] : 0);
        }
        while (selectBlock->step())
            cache[selectBlock->int64(0)] = readColumns(*selectBlock, 1);
        selectBlock->reset();
    } catch (const DbFailure &failure) {
        selectBlock->reset();
        fail(failure);
    }
    const qint64 wanted = rowIds[size_t(row)];
    if (cache.find(wanted) == cache.end())
        cache[wanted] = {}; // gone: reads as nulls
}

QVariant Table::Impl::value(int row, int column)
{
    if (row < 0 || size_t(row) >= rowIds.size())
        return QVariant();
    const qint64 id = rowIds[size_t(row)];
    const std::vector<QVariant> *values = cachedRow(id);
    if (!values) {
        readBlock(row);
        values = cachedRow(id);
    }
    return values && size_t(column) < values->size() ? (*values)[size_t(column)] : QVariant();
}

void Table::Impl::lock(int row)
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
    // Inside a transaction a row read in it cannot have been changed by another
    // connection, and writes through this one clear the cache; otherwise read
    // the row again, as it is now.
    std::optional<std::vector<QVariant>> values;
    if (currentTransaction() != 0) {
        const std::vector<QVariant> *cached = cachedRow(id);
        if (!cached) {
            readBlock(row);
            cached = cachedRow(id);
        }
        if (cached && !cached->empty())
            values = *cached;
    } else {
        values = readRow(id);
    }
    if (!values) {
        locks->unlock(id);
        throw EngineError(EngineMessage(text::RecordChanged, {display}));
    }
    if (currentTransaction() == 0) {
        cachedRow(id); // settles the cache's generation before it takes the fresh row
        cache[id] = *values;
    }
    lockedRowId = id;
    lockedValues = std::move(*values);
    lockedGeneration = generation();
    lockedTransaction = currentTransaction();
}

void Table::Impl::unlock()
{
    if (lockedRowId > 0 && locks)
        locks->unlock(lockedRowId);
    lockedRowId = -1;
    lockedValues.clear();
}

std::vector<QVariant> Table::Impl::keyOf(const std::vector<QVariant> &values) const
{
    std::vector<QVariant> key;
    key.reserve(orderColumns.size());
    for (const int column : orderColumns)
        key.push_back(codec::KeyOf(schema.columns[column], values[size_t(column)]));
    return key;
}

int Table::Impl::compareRow(size_t row, const std::vector<QVariant> &key, size_t parts) const
{
    const size_t width = orderColumns.size();
    for (size_t k = 0; k < parts; ++k) {
        const int c = codec::CompareKeys(keys[row * width + k], key[k]);
        if (c != 0)
            return c;
    }
    return 0;
}

size_t Table::Impl::insertionPoint(const std::vector<QVariant> &key, qint64 rowId) const
{
    const size_t parts = orderColumns.size();
    // Rows are appended in key order most of the time: check the end first.
    const auto after = [&](size_t row) {
        const int c = compareRow(row, key, parts);
        return c > 0 || (c == 0 && rowIds[row] > rowId);
    };
    if (rowIds.empty() || !after(rowIds.size() - 1))
        return rowIds.size();
    size_t low = 0, high = rowIds.size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (after(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

size_t Table::Impl::lowerBound(const std::vector<QVariant> &key, size_t parts) const
{
    size_t low = 0, high = rowIds.size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (compareRow(mid, key, parts) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

void Table::Impl::insertAt(size_t position, qint64 rowId, const std::vector<QVariant> &key)
{
    rowIds.insert(rowIds.begin() + qsizetype(position), rowId);
    keys.insert(keys.begin() + qsizetype(position * orderColumns.size()), key.begin(), key.end());
}

void Table::Impl::eraseAt(size_t position)
{
    rowIds.erase(rowIds.begin() + qsizetype(position));
    const auto first = keys.begin() + qsizetype(position * orderColumns.size());
    keys.erase(first, first + qsizetype(orderColumns.size()));
}

bool Table::Impl::inView(qint64 rowId, const std::vector<QVariant> &values)
{
    if ((rangeStart || rangeEnd) && !inRange(keyOf(values)))
        return false;
    if (master) {
        if (!shownMaster)
            return false;
        for (size_t i = 0; i < detailColumns.size(); ++i) {
            const ColumnDef &column = schema.columns[detailColumns[i]];
            if (codec::CompareKeys(codec::KeyOf(column, values[size_t(detailColumns[i])]),
                                   codec::KeyOf(column, (*shownMaster)[i]))
                != 0)
                return false;
        }
    }
    if (filterMatch) {
        try {
            filterMatch->bindInt64(1, rowId);
            const bool match = filterMatch->step();
            filterMatch->reset();
            return match;
        } catch (const DbFailure &failure) {
            filterMatch->reset();
            fail(failure);
        }
    }
    return true;
}

int Table::Impl::post(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed)
{
    for (const int column : keyColumns) {
        if (!buffer[size_t(column)].isValid())
            throw EngineError(EngineMessage(text::ValueRequired, {schema.columns[column].name, display}));
    }
    const int columns = int(schema.columns.size());
    const TrustedWrites trusted(connection->handle()); // the buffer holds checked values
    try {
        if (inserting) {
            for (int i = 0; i < columns; ++i)
                codec::Bind(*insertRow, i + 1, schema.columns[i], buffer[size_t(i)]);
            const quint64 before = generation();
            insertRow->execute();
            insertRow->reset();
            const qint64 id = connection->handle().lastInsertRowId();
            ++*writes;
            keepOwnWrite(before, id);
            if (!inView(id, buffer))
                return std::clamp(row, 0, std::max(0, int(rowIds.size()) - 1));
            const std::vector<QVariant> key = keyOf(buffer);
            const size_t at = insertionPoint(key, id);
            insertAt(at, id, key);
            return int(at);
        }
        const qint64 id = lockedRowId;
        // Inside a transaction no other connection can have written the file
        // since the row was read under the lock; writes through this one are counted.
        const bool unchanged = lockedTransaction != 0 && lockedTransaction == currentTransaction()
                               && lockedGeneration == generation();
        if (!unchanged) {
            const auto current = readRow(id);
            if (!current || *current != lockedValues)
                throw EngineError(EngineMessage(text::RecordChanged, {display}));
        }
        if (std::find(changed.begin(), changed.end(), true) == changed.end())
            return row;
        auto &update = updates[changed];
        if (!update) {
            QStringList assignments;
            for (int i = 0; i < columns; ++i) {
                if (changed[size_t(i)])
                    assignments << QuoteId(schema.columns[i].name) + QStringLiteral("=?");
            }
            update = std::make_unique<DbStatement>(
                connection->db(),
                QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(qualified, assignments.join(u',')));
        }
        int parameter = 1;
        for (int i = 0; i < columns; ++i) {
            if (changed[size_t(i)])
                codec::Bind(*update, parameter++, schema.columns[i], buffer[size_t(i)]);
        }
        update->bindInt64(parameter, id);
        const quint64 before = generation();
        update->execute();
        update->reset();
        ++*writes;
        keepOwnWrite(before, id);
        const size_t position = size_t(row);
        if (!inView(id, buffer)) {
            eraseAt(position);
            return std::clamp(row, 0, std::max(0, int(rowIds.size()) - 1));
        }
        const std::vector<QVariant> key = keyOf(buffer);
        if (compareRow(position, key, key.size()) == 0)
            return row;
        eraseAt(position);
        const size_t at = insertionPoint(key, id);
        insertAt(at, id, key);
        return int(at);
    } catch (const DbFailure &failure) {
        insertRow->reset();
        fail(failure);
    }
}

void Table::Impl::remove(int row)
{
    const qint64 id = rowIds.at(size_t(row));
    const quint64 before = generation();
    try {
        deleteRow->bindInt64(1, id);
        deleteRow->execute();
        deleteRow->reset();
    } catch (const DbFailure &failure) {
        deleteRow->reset();
        fail(failure);
    }
    ++*writes;
    keepOwnWrite(before, id);
    eraseAt(size_t(row));
}

int Table::Impl::rowOf(qint64 rowId) const
{
    const auto found = std::find(rowIds.begin(), rowIds.end(), rowId);
    return found == rowIds.end() ? -1 : int(found - rowIds.begin());
}

std::optional<std::vector<QVariant>> Table::Impl::masterValues() const
{
    if (!master || !master->active() || master->isEmpty())
        return std::nullopt;
    std::vector<QVariant> values;
    for (size_t i = 0; i < detailColumns.size(); ++i) {
        const Field *field = master->findField(masterFields.value(qsizetype(i)));
        if (!field)
            return std::nullopt;
        const QVariant value = codec::Normalize(schema.columns[detailColumns[i]], field->value(), display);
        if (!value.isValid())
            return std::nullopt;
        values.push_back(value);
    }
    return values;
}

void Table::Impl::onMasterChanged()
{
    if (!q.active() || q.state() != DatasetState::Browse)
        return;
    if (master && master->state() != DatasetState::Browse && master->state() != DatasetState::Inactive)
        return;
    const auto values = masterValues();
    if (values == shownMaster)
        return;
    loadRows();
    q.setPosition(0);
    emit q.rowsChanged();
    emit q.currentChanged();
}

// ---------------------------------------------------------------------------

Table::Table(QObject *parent)
    : Dataset(parent)
    , m_impl(std::make_unique<Impl>(*this))
{
}

Table::~Table()
{
    try {
        close();
    } catch (const EngineError &) {
    }
}

void Table::setTableName(const QString &name)
{
    if (active())
        close();
    m_tableName = name;
}

void Table::setIndexName(const QString &name)
{
    if (name == m_indexName)
        return;
    const QString old = m_indexName;
    m_indexName = name;
    if (!active())
        return;
    checkBrowseMode();
    const Bookmark mark = bookmark();
    try {
        m_impl->setupOrder();
    } catch (...) {
        m_indexName = old;
        m_impl->setupOrder();
        throw;
    }
    m_impl->loadRows();
    const int row = mark.isValid() ? m_impl->rowOf(mark.rowId) : 0;
    setPosition(row < 0 ? 0 : row);
    emit rowsChanged();
}

size_t Table::seekKey(const QVariantList &keyValues, std::vector<QVariant> &key)
{
    checkBrowseMode();
    if (!active())
        throw EngineError(EngineMessage(text::NotOpen));
    const size_t parts = std::min(size_t(keyValues.size()), m_impl->indexFieldCount);
    if (parts == 0)
        throw EngineError(EngineMessage(text::IndexNameMissing, {m_impl->display}));
    key.clear();
    for (size_t i = 0; i < parts; ++i) {
        const ColumnDef &column = m_impl->schema.columns[m_impl->orderColumns[i]];
        key.push_back(codec::KeyOf(column, codec::Normalize(column, keyValues[qsizetype(i)], m_impl->display)));
    }
    return m_impl->lowerBound(key, parts);
}

bool Table::findKey(const QVariantList &keyValues)
{
    std::vector<QVariant> key;
    const size_t at = seekKey(keyValues, key);
    const size_t parts = key.size();
    if (at >= m_impl->rowIds.size() || m_impl->compareRow(at, key, parts) != 0)
        return false;
    setPosition(int(at));
    return true;
}

void Table::findNearest(const QVariantList &keyValues)
{
    std::vector<QVariant> key;
    const size_t at = seekKey(keyValues, key);
    setPosition(int(std::min(at, m_impl->rowIds.empty() ? size_t(0) : m_impl->rowIds.size() - 1)));
}

void Table::setFilter(const QString &expression)
{
    m_filter = expression;
    if (active() && m_filtered) {
        checkBrowseMode();
        m_impl->loadRows();
        setPosition(0);
        emit rowsChanged();
    }
}

void Table::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (active()) {
        checkBrowseMode();
        try {
            m_impl->loadRows();
        } catch (...) {
            m_filtered = !on;
            m_impl->loadRows();
            throw;
        }
        setPosition(0);
        emit rowsChanged();
    }
}

void Table::setRange(const QVariantList &startKeys, const QVariantList &endKeys)
{
    if (active())
        checkBrowseMode();
    m_rangeStart = startKeys;
    m_rangeEnd = endKeys;
    if (active()) {
        m_impl->loadRows();
        setPosition(0);
        emit rowsChanged();
    }
}

void Table::cancelRange()
{
    setRange({}, {});
}

void Table::setMasterSource(Dataset *master, const QString &masterFields, const QString &detailFields)
{
    for (const auto &link : m_impl->masterLinks)
        disconnect(link);
    m_impl->masterLinks.clear();
    m_impl->master = master;
    m_impl->masterFields = splitFields(masterFields);
    m_impl->detailFields = splitFields(detailFields);
    m_impl->shownMaster.reset();
    if (master) {
        const auto changed = [this] { m_impl->onMasterChanged(); };
        m_impl->masterLinks.push_back(connect(master, &Dataset::currentChanged, this, changed));
        m_impl->masterLinks.push_back(connect(master, &Dataset::rowsChanged, this, changed));
        m_impl->masterLinks.push_back(connect(master, &Dataset::stateChanged, this, changed));
        m_impl->masterLinks.push_back(connect(master, &QObject::destroyed, this, [this] {
            m_impl->master = nullptr;
            m_impl->masterLinks.clear();
        }));
    }
    if (active()) {
        close();
        open();
    }
}

bool Table::exists() const
{
    const DatasetTarget target = ResolveTarget(databaseName(), sessionName());
    return !tablefile::Locate(target.folder, m_tableName).isEmpty();
}

void Table::createTable(const TableSchema &schema)
{
    TableSchema created = schema;
    if (created.name.isEmpty())
        created.name = tablefile::BaseName(m_tableName);
    if (m_tableName.isEmpty())
        m_tableName = created.name;
    const DatasetTarget target = ResolveTarget(databaseName(), sessionName());
    tableops::CreateTable(target.folder, created, false);
}

void Table::deleteTable()
{
    if (active())
        throw EngineError(EngineMessage(text::InUse, {tablefile::DisplayName(m_tableName)}));
    const DatasetTarget target = ResolveTarget(databaseName(), sessionName());
    tableops::DeleteTable(target.folder, m_tableName);
}

void Table::emptyTable()
{
    checkBrowseMode();
    const auto connection = ConnectionFor(databaseName(), sessionName());
    tableops::EmptyTable(*connection, m_tableName);
    if (active()) {
        m_impl->loadRows();
        setPosition(0);
        emit rowsChanged();
    }
}

TableSchema Table::schema() const
{
    if (active())
        return m_impl->schema;
    const DatasetTarget target = ResolveTarget(databaseName(), sessionName());
    const QString path = tablefile::Locate(target.folder, m_tableName);
    if (path.isEmpty())
        throw EngineError(EngineMessage(text::TableMissing, {tablefile::DisplayName(m_tableName)}));
    return tablefile::FileSchema(path, tablefile::DisplayName(m_tableName));
}

void Table::doOpen()
{
    m_impl->open();
    setFields(m_impl->schema.columns);
}

void Table::doClose()
{
    m_impl->close();
}

int Table::doRecordCount() const
{
    return int(m_impl->rowIds.size());
}

QVariant Table::doValue(int row, int fieldIndex) const
{
    return m_impl->value(row, fieldIndex);
}

void Table::doRowValues(int row, std::vector<QVariant> &values) const
{
    const qint64 id = m_impl->rowIds.at(size_t(row));
    if (const std::vector<QVariant> *cached = m_impl->cachedRow(id); cached && !cached->empty()) {
        values = *cached;
        return;
    }
    Dataset::doRowValues(row, values);
}

qint64 Table::doRowId(int row) const
{
    return m_impl->rowIds.at(size_t(row));
}

int Table::doRowOf(qint64 rowId) const
{
    return m_impl->rowOf(rowId);
}

void Table::doLock(int row)
{
    m_impl->lock(row);
}

void Table::doUnlock(int row)
{
    Q_UNUSED(row);
    m_impl->unlock();
}

int Table::doPost(int row, bool inserting, const std::vector<QVariant> &buffer, const std::vector<bool> &changed)
{
    return m_impl->post(row, inserting, buffer, changed);
}

void Table::doDelete(int row)
{
    m_impl->remove(row);
}

void Table::doRefresh()
{
    m_impl->loadRows();
}

void Table::doInitNewRow(std::vector<QVariant> &buffer)
{
    if (!m_impl->master)
        return;
    const auto values = m_impl->masterValues();
    if (!values)
        return;
    for (size_t i = 0; i < m_impl->detailColumns.size(); ++i)
        buffer[size_t(m_impl->detailColumns[i])] = (*values)[i];
}

} // namespace qpn::engine

namespace qpn::engine {

QString Table::displayName() const
{
    if (active() && !m_impl->display.isEmpty())
        return m_impl->display;
    return tablefile::DisplayName(m_tableName);
}

} // namespace qpn::engine
