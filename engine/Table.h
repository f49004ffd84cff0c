#pragma once

#include "engine/Dataset.h"
#include "engine/Schema.h"

#include <QVariantList>

namespace qpn::engine {

// A table object: the rows of one table in the order of its current index,
// optionally filtered and linked to a master dataset.
class Table : public Dataset
{
    Q_OBJECT

public:
    explicit Table(QObject *parent = nullptr);
    ~Table() override;

    // "daicyoA", "DaicyoA" and "daicyoA.DAT" name the same table.
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name);

    // Empty selects the primary index; otherwise a secondary index by name.
    QString indexName() const { return m_indexName; }
    void setIndexName(const QString &name);

    bool findKey(const QVariantList &keyValues);   // exact match on the current index
    void findNearest(const QVariantList &keyValues); // first row at or after the key

    // A filter text such as "nendo>=2019"; applies while filtered is on.
    QString filter() const { return m_filter; }
    void setFilter(const QString &expression);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool on);

    // Shows only the rows whose leading fields of the current index lie
    // between the two keys, both included (a shorter key compares on its
    // fields only); setRange({id}, {id}) shows one asset's year rows. Cheaper
    // than a filter: the read uses the index.
    void setRange(const QVariantList &startKeys, const QVariantList &endKeys);
    void cancelRange();

    // Master-detail: show only the rows whose detailFields equal the master's
    // current masterFields (semicolon-separated lists).
    void setMasterSource(Dataset *master, const QString &masterFields, const QString &detailFields);

    bool exists() const;
    void createTable(const TableSchema &schema);
    void deleteTable();
    void emptyTable();
    TableSchema schema() const; // of the open or closed table

protected:
    void doOpen() override;
    void doClose() override;
    int doRecordCount() const override;
    QVariant doValue(int row, int fieldIndex) const override;
    void doRowValues(int row, std::vector<QVariant> &values) const override;
    qint64 doRowId(int row) const override;
    int doRowOf(qint64 rowId) const override;
    void doLock(int row) override;
    void doUnlock(int row) override;
    int doPost(int row, bool inserting, const std::vector<QVariant> &buffer,
               const std::vector<bool> &changed) override;
    void doDelete(int row) override;
    void doRefresh() override;
    QString displayName() const override;
    void doInitNewRow(std::vector<QVariant> &buffer) override;

private:
    // The stored form of the key values on the current index, and the first row at or after it.
    size_t seekKey(const QVariantList &keyValues, std::vector<QVariant> &key);
    class Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_tableName;
    QString m_indexName;
    QString m_filter;
    bool m_filtered = false;
    QVariantList m_rangeStart;
    QVariantList m_rangeEnd;
};

} // namespace qpn::engine
