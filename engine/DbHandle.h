#pragma once

#include <QString>

struct sqlite3;

namespace qpn::engine {

// Owns one SQLite connection. Throws DbFailure on errors.
class DbHandle
{
public:
    // An in-memory main database when path is empty.
    explicit DbHandle(const QString &path = QString(), bool readOnly = false, bool create = false);
    ~DbHandle();
    DbHandle(const DbHandle &) = delete;
    DbHandle &operator=(const DbHandle &) = delete;

    sqlite3 *get() const { return m_db; }
    void exec(const QString &sql) const;
    bool autocommit() const;
    qint64 lastInsertRowId() const;
    int changes() const;
    void setBusyTimeout(int ms) const;

    // While set, the checking triggers let values through: they come from a
    // cursor that has checked them already.
    void setTrustedWrites(bool on) { m_trustedWrites = on; }

    // Throws DbFailure carrying the connection's last error.
    [[noreturn]] void fail(int rc) const;

private:
    sqlite3 *m_db = nullptr;
    bool m_trustedWrites = false;
};

// Sets trusted writes for a scope.
class TrustedWrites
{
public:
    explicit TrustedWrites(DbHandle &db) : m_db(db) { m_db.setTrustedWrites(true); }
    ~TrustedWrites() { m_db.setTrustedWrites(false); }
    TrustedWrites(const TrustedWrites &) = delete;
    TrustedWrites &operator=(const TrustedWrites &) = delete;

private:
    DbHandle &m_db;
};

// Quotes an identifier for SQLite text.
QString QuoteId(const QString &name);

} // namespace qpn::engine
