#pragma once

#include "engine/DbHandle.h"
#include "engine/Schema.h"

#include <QString>

#include <map>
#include <optional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace qpn::engine {

class DbStatement;
struct Translation;

// Told when a transaction of the connection was rolled back, so cursors can
// drop rows they read inside it.
class ConnectionListener
{
public:
    virtual ~ConnectionListener() = default;
    virtual void afterRollback() = 0;
};

// The one SQLite connection of a session on a folder: an in-memory main
// database with the files of the tables in use attached. Everything a
// session does in one folder goes through it, so a transaction spans every
// table of the folder (SQLite commits several attached files atomically).
class FolderConnection
{
public:
    // Shared by every cursor and handle of the session on that folder.
    static std::shared_ptr<FolderConnection> get(const QString &sessionName, const QString &folder);
    static QString canonicalFolder(const QString &folder);
    ~FolderConnection();
    FolderConnection(const FolderConnection &) = delete;
    FolderConnection &operator=(const FolderConnection &) = delete;

    sqlite3 *db() const { return m_db.get(); }
    DbHandle &handle() { return m_db; }
    const DbHandle &handle() const { return m_db; }
    QString folder() const { return m_folder; }
    QString sessionName() const { return m_sessionName; }
    int lockRetryCount() const;
    int lockWaitMs() const;

    // Attaches a table's file while anyone uses it; returns its schema name
    // ("f1") and checks that the file is a table of ours.
    QString pin(const QString &path, const QString &displayName);
    void unpin(const QString &path);
    bool isAttached(const QString &path) const;
    // The file of a table of the folder by name (see tablefile::Locate).
    QString locate(const QString &tableName) const;
    // The schema stored in an attached file.
    TableSchema schemaOf(const QString &schemaName, const QString &displayName) const;
    // The schema of a table of the folder by name, as this connection sees it
    // (inside its transaction too); none when the table does not exist.
    std::optional<TableSchema> lookupSchema(const QString &tableName) const;

    // A statement of the dialect as translated for this folder's tables,
    // kept while no schema of the process changes.
    std::shared_ptr<const Translation> translation(const QString &statement);
    // Prepared statements kept by their SQLite text: a caller takes one,
    // binds and runs it, and gives it back reset.
    std::unique_ptr<DbStatement> takeStatement(const QString &sql);
    void giveStatement(const QString &sql, std::unique_ptr<DbStatement> statement);

    void begin();
    void commit();
    void rollback();
    // Nested steps of the open transaction, by name; a name may repeat, and
    // then names the innermost step.
    void savepoint(const QString &name);
    void release(const QString &name);
    void rollbackTo(const QString &name); // and releases it
    bool inTransaction() const { return m_inTransaction; }
    quint64 transactionSerial() const { return m_transactionSerial; } // counts begun transactions

    // Counts writes through every connection of the process; cursors compare
    // it to know when rows they hold may be stale.
    quint64 writeGeneration() const;
    void noteWrite();
    // Counts writes to one table file through every connection of the process;
    // a cursor adds it to writeGeneration(), so writes to other tables leave
    // its rows alone. The counter lives as long as the process.
    static quint64 *writeCounter(const QString &path);
    void noteWrite(const QString &path) { ++*writeCounter(path); }

    void addListener(ConnectionListener *listener);
    void removeListener(ConnectionListener *listener);

    // True when any connection of this process has the file attached.
    static bool fileInUse(const QString &path);

private:
    FolderConnection(const QString &sessionName, const QString &folder);
    // Runs a statement kept prepared.
    void runKept(const QString &sql);

    struct Attachment
    {
        QString schemaName;
        int pins = 0;
        bool attached = false;
        std::optional<TableSchema> schema; // as read since it was attached
        quint64 schemaGeneration = 0;
    };

    void detachUnused();
    int attachedCount() const;
    void attach(const QString &path, Attachment &file, const QString &displayName);
    void attachFolder();

    QString m_sessionName;
    QString m_folder;
    DbHandle m_db;
    std::map<QString, Attachment> m_files; // by path
    int m_nextSchema = 1;
    bool m_inTransaction = false;
    quint64 m_transactionSerial = 0;
    std::vector<ConnectionListener *> m_listeners;
    // Declared after m_db: statements are finalized before it closes.
    std::unordered_map<QString, std::unique_ptr<DbStatement>> m_statements;
    std::unordered_map<QString, std::shared_ptr<const Translation>> m_translations;
    quint64 m_translationGeneration = 0;
};

// A kept prepared statement borrowed for one use; it goes back to the
// connection's cache, reset, however the use ends.
class StatementLoan
{
public:
    StatementLoan(FolderConnection &connection, const QString &sql);
    ~StatementLoan();
    StatementLoan(const StatementLoan &) = delete;
    StatementLoan &operator=(const StatementLoan &) = delete;

    DbStatement &operator*() const { return *m_statement; }
    DbStatement *operator->() const { return m_statement.get(); }

private:
    FolderConnection &m_connection;
    QString m_sql;
    std::unique_ptr<DbStatement> m_statement;
};

} // namespace qpn::engine
