#include "engine/DbStatement.h"

#include "engine/DbFailure.h"

#include <sqlite3.h>

namespace qpn::engine {

DbStatement::DbStatement(sqlite3 *db, const QString &sql)
    : m_db(db)
{
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(m_db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                      &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail();
}

DbStatement::~DbStatement()
{
    sqlite3_finalize(m_stmt);
}

void DbStatement::bind(int index, const QVariant &value)
{
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        fail();
}

void DbStatement::bindInt64(int index, qint64 value)
{
    if (sqlite3_bind_int64(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void DbStatement::bindDouble(int index, double value)
{
    if (sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void DbStatement::bindText(int index, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    if (sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
}

void DbStatement::bindNull(int index)
{
    if (sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        fail();
}

int DbStatement::parameterCount() const
{
    return sqlite3_bind_parameter_count(m_stmt);
}

int DbStatement::parameterIndex(const QString &name) const
{
    return sqlite3_bind_parameter_index(m_stmt, name.toUtf8().constData());
}

QString DbStatement::parameterName(int index) const
{
    const char *name = sqlite3_bind_parameter_name(m_stmt, index);
    return name ? QString::fromUtf8(name) : QString();
}

bool DbStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const int code = sqlite3_extended_errcode(m_db);
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(m_stmt);
    throw DbFailure(code, message);
}

void DbStatement::execute()
{
    while (step()) {
    }
    sqlite3_reset(m_stmt);
}

void DbStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int DbStatement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString DbStatement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool DbStatement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

bool DbStatement::isInteger(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_INTEGER;
}

qint64 DbStatement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double DbStatement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

QString DbStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return QString::fromUtf8(data, size);
}

QVariant DbStatement::storage(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_NULL: return QVariant();
    default: return QVariant(text(column));
    }
}

void DbStatement::fail() const
{
    throw DbFailure(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
}

} // namespace qpn::engine
