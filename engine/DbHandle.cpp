#include "engine/DbHandle.h"

#include "engine/DbFailure.h"
#include "engine/EngineFunctions.h"

#include <sqlite3.h>

namespace qpn::engine {

DbHandle::DbHandle(const QString &path, bool readOnly, bool create)
{
    // Memory statistics cost a global mutex on every allocation; nothing reads them.
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    Q_UNUSED(configured);
    int flags = SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    flags |= readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (create)
        flags |= SQLITE_OPEN_CREATE;
    const QByteArray name = path.isEmpty() ? QByteArray(":memory:") : path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        const int code = m_db ? sqlite3_extended_errcode(m_db) : rc;
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbFailure(code, message);
    }
    sqlite3_extended_result_codes(m_db, 1);
    RegisterEngineFunctions(m_db, &m_trustedWrites);
}

DbHandle::~DbHandle()
{
    // Statements are owned elsewhere and finalized first; close_v2 copes either way.
    sqlite3_close_v2(m_db);
}

void DbHandle::exec(const QString &sql) const
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(error);
        throw DbFailure(sqlite3_extended_errcode(m_db), message);
    }
}

bool DbHandle::autocommit() const
{
    return sqlite3_get_autocommit(m_db) != 0;
}

qint64 DbHandle::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int DbHandle::changes() const
{
    return sqlite3_changes(m_db);
}

void DbHandle::setBusyTimeout(int ms) const
{
    sqlite3_busy_timeout(m_db, ms);
}

void DbHandle::fail(int rc) const
{
    Q_UNUSED(rc);
    throw DbFailure(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
}

QString QuoteId(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace qpn::engine
