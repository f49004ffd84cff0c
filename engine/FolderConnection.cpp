#include "engine/FolderConnection.h"

#include "engine/DbFailure.h"
#include "engine/DbStatement.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FailureMap.h"
#include "engine/Session.h"
#include "engine/TableFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace qpn::engine {

namespace {

// SQLite as built here attaches at most ten files to one connection.
constexpr int MaxAttached = 10;

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
        const int attached = int(std::count_if(m_files.begin(), m_files.end(),
                                               [](const auto &entry) { return entry.second.attached; }));
        if (attached >= MaxAttached) {
            detachUnused();
            const int still = int(std::count_if(m_files.begin(), m_files.end(),
                                                [](const auto &entry) { return entry.second.attached; }));
            if (still >= MaxAttached)
                throw EngineError(EngineMessage(text::TooManyFiles, {displayName}));
        }
        try {
            DbStatement attach(m_db.get(), QStringLiteral("ATTACH DATABASE ? AS %1").arg(QuoteId(file.schemaName)));
            attach.bind(1, path);
            attach.execute();
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
    ++file.pins;
    return file.schemaName;
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
    return tablefile::ReadSchema(m_db.get(), schemaName, displayName);
}

std::optional<TableSchema> FolderConnection::lookupSchema(const QString &tableName) const
{
    const QString path = tablefile::Locate(m_folder, tableName);
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
