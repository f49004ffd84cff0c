#include "engine/FolderConnection.h"

#include "engine/DbFailure.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FailureMap.h"
#include "engine/Session.h"
#include "engine/SqlTranslator.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace qpn::engine {

namespace {

// SQLite as built here attaches at most ten files to one connection.
constexpr int MaxAttached = 10;
// Statements and translations kept per connection; texts that keep changing
// (values written into them) must not make the caches grow without end.
constexpr size_t MaxCachedStatements = 64;

std::map<QString, std::weak_ptr<FolderConnection>> &registry()
{
    static std::map<QString, std::weak_ptr<FolderConnection>> connections;
    return connections;
}

quint64 writes = 0;

} // namespace

quint64 FolderConnection::writeGeneration() const
{
    return writes;
}

void FolderConnection::noteWrite()
{
    ++writes;
}

quint64 *FolderConnection::writeCounter(const QString &path)
{
    static std::unordered_map<QString, quint64> counters;
    return &counters[path];
}

QString FolderConnection::canonicalFolder(const QString &folder)
{
    const QFileInfo info(folder.isEmpty() ? QDir::currentPath() : folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

std::shared_ptr<FolderConnection> FolderConnection::get(const QString &sessionName, const QString &folder)
{
    const QString canonical = canonicalFolder(folder);
    const QString key = sessionName.toLower() + QChar(0x1f) + canonical;
    auto &connections = registry();
    if (auto found = connections[key].lock())
        return found;
    std::shared_ptr<FolderConnection> created(new FolderConnection(sessionName, canonical));
    connections[key] = created;
    return created;
}

FolderConnection::FolderConnection(const QString &sessionName, const QString &folder)
    : m_sessionName(sessionName)
    , m_folder(folder)
{
    m_db.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    m_db.setBusyTimeout(std::max(0, lockRetryCount() * lockWaitMs()));
}

FolderConnection::~FolderConnection()
{
    if (m_inTransaction) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK"));
        } catch (const DbFailure &) {
        }
    }
    auto &connections = registry();
    for (auto it = connections.begin(); it != connections.end();) {
        it = it->second.expired() ? connections.erase(it) : std::next(it);
    }
}

int FolderConnection::lockRetryCount() const
{
    const Session *session = Session::find(m_sessionName);
    return session ? session->lockRetryCount() : 15;
}

int FolderConnection::lockWaitMs() const
{
    const Session *session = Session::find(m_sessionName);
    return session ? session->lockWaitMs() : 100;
}

QString FolderConnection::pin(const QString &path, const QString &displayName)
{
    Attachment &file = m_files[path];
    if (file.schemaName.isEmpty())
        file.schemaName = QStringLiteral("f%1").arg(m_nextSchema++);
    if (!file.attached) {
        if (m_inTransaction) {
            // SQLite attaches no file inside a transaction: every table file of
            // the folder was attached when it started, as far as they fit.
            tablefile::FileSchema(path, displayName); // a damaged file says so
            throw EngineError(EngineMessage(text::TooManyFiles, {displayName}));
        }
        if (attachedCount() >= MaxAttached) {
            detachUnused();
            if (attachedCount() >= MaxAttached)
                throw EngineError(EngineMessage(text::TooManyFiles, {displayName}));
        }
        attach(path, file, displayName);
    }
    ++file.pins;
    return file.schemaName;
}

int FolderConnection::attachedCount() const
{
    return int(std::count_if(m_files.begin(), m_files.end(), [](const auto &entry) { return entry.second.attached; }));
}

void FolderConnection::attach(const QString &path, Attachment &file, const QString &displayName)
{
    try {
        DbStatement statement(m_db.get(), QStringLiteral("ATTACH DATABASE ? AS %1").arg(QuoteId(file.schemaName)));
        statement.bind(1, path);
        statement.execute();
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, displayName);
    }
    file.attached = true;
    try {
        const QString s = QuoteId(file.schemaName);
        m_db.exec(QStringLiteral("PRAGMA %1.journal_mode=DELETE; PRAGMA %1.synchronous=FULL").arg(s));
        tablefile::ReadSchema(m_db.get(), file.schemaName, displayName);
    } catch (...) {
        try {
            m_db.exec(QStringLiteral("DETACH DATABASE %1").arg(QuoteId(file.schemaName)));
            file.attached = false;
        } catch (const DbFailure &) {
        }
        try {
            throw;
        } catch (const DbFailure &) {
            throw EngineError(EngineMessage(text::HeaderCorrupt, {displayName}));
        }
    }
}

// A table first used inside a transaction must already be attached: attach
// every table file of the folder before it starts, as many as SQLite allows.
// A file that is no table of ours is left out; using it fails as it would
// outside a transaction.
void FolderConnection::attachFolder()
{
    const QDir dir(m_folder);
    QStringList entries = dir.entryList({QStringLiteral("*.DAT")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString &entry : std::as_const(entries)) {
        if (attachedCount() >= MaxAttached)
            return;
        const QString path = dir.filePath(entry);
        Attachment &file = m_files[path];
        if (file.attached)
            continue;
        if (file.schemaName.isEmpty())
            file.schemaName = QStringLiteral("f%1").arg(m_nextSchema++);
        try {
            attach(path, file, tablefile::DisplayName(entry));
        } catch (const EngineError &) {
        }
    }
}

void FolderConnection::unpin(const QString &path)
{
    const auto found = m_files.find(path);
    if (found == m_files.end())
        return;
    if (found->second.pins > 0)
        --found->second.pins;
    if (found->second.pins == 0 && !m_inTransaction)
        detachUnused();
}

bool FolderConnection::isAttached(const QString &path) const
{
    const auto found = m_files.find(path);
    return found != m_files.end() && found->second.attached;
}

TableSchema FolderConnection::schemaOf(const QString &schemaName, const QString &displayName) const
{
    // The schema row is read once per attachment until a schema changes.
    for (const auto &[path, file] : m_files) {
        if (file.schemaName != schemaName || !file.attached)
            continue;
        auto &cached = const_cast<Attachment &>(file);
        if (!cached.schema || cached.schemaGeneration != tablefile::SchemaGeneration()) {
            cached.schema = tablefile::ReadSchema(m_db.get(), schemaName, displayName);
            cached.schemaGeneration = tablefile::SchemaGeneration();
        }
        return *cached.schema;
    }
    return tablefile::ReadSchema(m_db.get(), schemaName, displayName);
}

QString FolderConnection::locate(const QString &tableName) const
{
    const QString base = tablefile::BaseName(tableName);
    if (!base.isEmpty() && !base.contains(u'/') && !base.contains(u'\\')) {
        const QString exact = m_folder + u'/' + base + QStringLiteral(".DAT");
        if (QFileInfo(exact).isFile())
            return exact;
    }
    return tablefile::Locate(m_folder, tableName);
}

std::shared_ptr<const Translation> FolderConnection::translation(const QString &statement)
{
    if (m_translationGeneration != tablefile::SchemaGeneration() || m_translations.size() > MaxCachedStatements) {
        m_translations.clear();
        m_statements.clear();
        m_translationGeneration = tablefile::SchemaGeneration();
    }
    auto &cached = m_translations[statement];
    if (!cached) {
        try {
            cached = std::make_shared<const Translation>(
                TranslateStatement(statement, [this](const QString &name) { return lookupSchema(name); }));
        } catch (...) {
            m_translations.erase(statement);
            throw;
        }
    }
    return cached;
}

std::unique_ptr<DbStatement> FolderConnection::takeStatement(const QString &sql)
{
    const auto found = m_statements.find(sql);
    if (found == m_statements.end() || !found->second)
        return std::make_unique<DbStatement>(m_db.get(), sql);
    return std::move(found->second);
}

void FolderConnection::giveStatement(const QString &sql, std::unique_ptr<DbStatement> statement)
{
    statement->reset();
    if (m_statements.size() >= MaxCachedStatements && m_statements.find(sql) == m_statements.end())
        m_statements.clear();
    m_statements[sql] = std::move(statement);
}

std::optional<TableSchema> FolderConnection::lookupSchema(const QString &tableName) const
{
    const QString path = locate(tableName);
    if (path.isEmpty())
        return std::nullopt;
    const QString display = tablefile::DisplayName(tableName);
    const auto found = m_files.find(path);
    if (found != m_files.end() && found->second.attached)
        return schemaOf(found->second.schemaName, display);
    return tablefile::FileSchema(path, display);
}

void FolderConnection::detachUnused()
{
    if (m_inTransaction)
        return;
    for (auto &[path, file] : m_files) {
        if (file.attached && file.pins == 0) {
            try {
                m_db.exec(QStringLiteral("DETACH DATABASE %1").arg(QuoteId(file.schemaName)));
                file.attached = false;
                file.schema.reset();
            } catch (const DbFailure &) {
                // Still busy; detached on a later call.
            }
        }
    }
}

void FolderConnection::begin()
{
    if (m_inTransaction)
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("a transaction is already active")}));
    attachFolder();
    try {
        m_db.exec(QStringLiteral("BEGIN"));
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, m_folder);
    }
    m_inTransaction = true;
    ++m_transactionSerial;
}

void FolderConnection::commit()
{
    if (!m_inTransaction)
        return;
    try {
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (const DbFailure &failure) {
        // A failed commit leaves the transaction open; the caller may roll back.
        throw MapFailure(failure, m_folder);
    }
    m_inTransaction = false;
    detachUnused();
}

void FolderConnection::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    try {
        if (!m_db.autocommit())
            m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, m_folder);
    }
    noteWrite();
    detachUnused();
    const std::vector<ConnectionListener *> listeners = m_listeners;
    for (ConnectionListener *listener : listeners)
        listener->afterRollback();
}

StatementLoan::StatementLoan(FolderConnection &connection, const QString &sql)
    : m_connection(connection), m_sql(sql), m_statement(connection.takeStatement(sql))
{
}

StatementLoan::~StatementLoan()
{
    m_connection.giveStatement(m_sql, std::move(m_statement));
}

void FolderConnection::runKept(const QString &sql)
{
    const StatementLoan statement(*this, sql);
    try {
        statement->execute();
    } catch (const DbFailure &failure) {
        throw MapFailure(failure, m_folder);
    }
}

void FolderConnection::savepoint(const QString &name)
{
    if (!m_inTransaction)
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("no transaction is active")}));
    runKept(QStringLiteral("SAVEPOINT %1").arg(QuoteId(name)));
}

void FolderConnection::release(const QString &name)
{
    runKept(QStringLiteral("RELEASE %1").arg(QuoteId(name)));
}

void FolderConnection::rollbackTo(const QString &name)
{
    runKept(QStringLiteral("ROLLBACK TO %1").arg(QuoteId(name)));
    runKept(QStringLiteral("RELEASE %1").arg(QuoteId(name)));
    noteWrite();
    const std::vector<ConnectionListener *> listeners = m_listeners;
    for (ConnectionListener *listener : listeners)
        listener->afterRollback();
}

void FolderConnection::addListener(ConnectionListener *listener)
{
    m_listeners.push_back(listener);
}

void FolderConnection::removeListener(ConnectionListener *listener)
{
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

bool FolderConnection::fileInUse(const QString &path)
{
    for (const auto &[key, weak] : registry()) {
        if (const auto connection = weak.lock()) {
            const auto found = connection->m_files.find(path);
            if (found != connection->m_files.end() && found->second.pins > 0)
                return true;
        }
    }
    return false;
}

} // namespace qpn::engine
