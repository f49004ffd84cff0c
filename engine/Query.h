#pragma once

#include "engine/Dataset.h"

#include <QStringList>
#include <QVariant>

#include <map>

namespace qpn::engine {

// A statement of the engine's SQL dialect with named parameters (":PM1").
// Open runs a SELECT and gives a dataset; ExecSql runs anything else, or a
// script of several statements. A single-table SELECT with requestLive gives
// an editable result whose posted edits go to the base row.
class Query : public Dataset
{
    Q_OBJECT

public:
    explicit Query(QObject *parent = nullptr);
    ~Query() override;

    QString sql() const { return m_sql; }
    void setSql(const QString &text); // closes the query, keeps parameter values by name

    // Parameter values use the same QVariant types as Field::value.
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;
    QStringList paramNames() const; // as they appear in the text, without the colon

    bool requestLive() const { return m_requestLive; }
    void setRequestLive(bool on) { m_requestLive = on; }

    void execSql();
    int rowsAffected() const { return m_rowsAffected; }

protected:
    void doOpen() override;
    void doClose() override;
    int doRecordCount() const override;
    QVariant doValue(int row, int fieldIndex) const override;
    qint64 doRowId(int row) const override;
    int doRowOf(qint64 rowId) const override;
    void doLock(int row) override;
    void doUnlock(int row) override;
    int doPost(int row, bool inserting, const std::vector<QVariant> &buffer,
               const std::vector<bool> &changed) override;
    void doDelete(int row) override;
    void doRefresh() override;
    QString displayName() const override;
    bool doCanModify() const override;

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_sql;
    std::map<QString, QVariant> m_params;
    bool m_requestLive = false;
    int m_rowsAffected = 0;
};

} // namespace qpn::engine
