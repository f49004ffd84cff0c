#pragma once

#include <QString>

#include <memory>

namespace qpn::engine {

class Session;
class DatabaseState;
class FolderConnection;

// A database handle maps a name ("AAA", "WWW") to a folder; every table of the
// folder is one file <Table>.DAT. Transactions span every table of the folder.
class Database
{
public:
    Database(Session &session, const QString &name, const QString &folder = QString());
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    QString name() const { return m_name; }
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    Session &session() const { return m_session; }

    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // The handle registered under a name, or nullptr.
    static Database *find(const QString &name);
    // Resolves what a table or query names as its database: a registered handle
    // name, else a folder path; empty means the working folder.
    static QString folderFor(const QString &databaseNameOrPath);

    DatabaseState &state() const { return *m_state; }

private:
    Session &m_session;
    QString m_name;
    QString m_folder;
    std::unique_ptr<DatabaseState> m_state;
};

// Rolls back in its destructor unless committed.
class Transaction
{
public:
    explicit Transaction(Database &database);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_database;
    bool m_done = false;
};

// A step inside the database's open transaction: rolls back to where it began
// in its destructor unless released, leaving the rest of the transaction as
// it was. Needs an active transaction.
class Savepoint
{
public:
    explicit Savepoint(Database &database);
    ~Savepoint();
    Savepoint(const Savepoint &) = delete;
    Savepoint &operator=(const Savepoint &) = delete;
    void release();

private:
    std::shared_ptr<FolderConnection> m_connection;
    QString m_name;
    bool m_done = false;
};

} // namespace qpn::engine
