#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace qpn::engine {

// One prepared statement: prepare once, bind and step per row. Values bound
// and read here are storage values: qint64, double, QString or null.
class DbStatement
{
public:
    DbStatement(sqlite3 *db, const QString &sql);
    ~DbStatement();
    DbStatement(const DbStatement &) = delete;
    DbStatement &operator=(const DbStatement &) = delete;

    void bind(int index, const QVariant &storageValue); // 1-based
    void bindInt64(int index, qint64 value);
    void bindDouble(int index, double value);
    void bindText(int index, const QString &value);
    void bindNull(int index);
    int parameterCount() const;
    int parameterIndex(const QString &name) const; // ":PM1" → index, 0 when absent
    QString parameterName(int index) const;

    bool step();     // true while a row is available
    void execute();  // steps to the end and resets
    void reset();    // resets and clears bindings

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    bool isInteger(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    QString text(int column) const;
    QVariant storage(int column) const; // by the stored value's own type

private:
    [[noreturn]] void fail() const;

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace qpn::engine
