#pragma once

#include "engine/Field.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace qpn::engine {

enum class DatasetState { Inactive, Browse, Edit, Insert };

// An opaque position that survives other rows being added or removed.
struct Bookmark
{
    qint64 rowId = -1;
    bool isValid() const { return rowId >= 0; }
};

// The cursor over rows that tables and queries share: navigation, the current
// row's fields, and editing through a buffer that Post writes back.
class Dataset : public QObject
{
    Q_OBJECT
    friend class Field; // names the table in its messages

public:
    explicit Dataset(QObject *parent = nullptr);
    ~Dataset() override;

    // Which database handle (name) or folder path the dataset reads; empty
    // means the working folder. The session defaults to the default session.
    QString databaseName() const { return m_databaseName; }
    void setDatabaseName(const QString &nameOrPath) { m_databaseName = nameOrPath; }
    QString sessionName() const { return m_sessionName; }
    void setSessionName(const QString &name) { m_sessionName = name; }

    void open();
    void close();
    bool active() const { return m_state != DatasetState::Inactive; }
    void setActive(bool on) { on ? open() : close(); }
    DatasetState state() const { return m_state; }

    void first();
    void next();
    void prior();
    void last();
    int moveBy(int distance); // rows actually moved
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const;
    int recNo() const; // 1-based position, 0 when empty
    bool isEmpty() const { return recordCount() == 0; }

    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    Field &field(int index) const { return *m_fields.at(static_cast<size_t>(index)); }
    Field &fieldByName(const QString &name) const; // throws for a missing name
    Field *findField(const QString &name) const;  // nullptr for a missing name

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove(); // delete of the current row
    void checkBrowseMode(); // posts a pending edit

    Bookmark bookmark() const;
    void gotoBookmark(const Bookmark &bookmark);
    void refresh();

    // Used by Field: the current row's value and its change while editing.
    QVariant currentValue(int fieldIndex) const;
    // The stored value of any row (0-based position) without moving the cursor,
    // for grids that paint rows other than the current one.
    QVariant valueAt(int row, int fieldIndex) const { return doValue(row, fieldIndex); }
    void setCurrentValue(int fieldIndex, const QVariant &value);

signals:
    void stateChanged();
    void currentChanged();  // the cursor moved or its row changed
    void rowsChanged();     // rows were added, removed, or the whole set reloaded

protected:
    // The implementation layer of tables and queries.
    virtual void doOpen() = 0;  // loads the schema (setFields) and the rows
    virtual void doClose() = 0;
    virtual int doRecordCount() const = 0;
    virtual QVariant doValue(int row, int fieldIndex) const = 0;
    virtual qint64 doRowId(int row) const = 0;
    virtual int doRowOf(qint64 rowId) const = 0; // -1 when gone
    virtual void doLock(int row) = 0;    // pessimistic record lock for Edit
    virtual void doUnlock(int row) = 0;
    // Writes the edit buffer; returns the row position it ends up at.
    virtual int doPost(int row, bool inserting, const std::vector<QVariant> &buffer,
                       const std::vector<bool> &changed) = 0;
    virtual void doDelete(int row) = 0;
    virtual void doRefresh() = 0;
    virtual QString displayName() const = 0; // the table name for messages
    // Fills a new row's buffer before editing starts (a detail's link fields).
    virtual void doInitNewRow(std::vector<QVariant> &buffer) { Q_UNUSED(buffer); }
    // Every value of a row, for the edit buffer.
    virtual void doRowValues(int row, std::vector<QVariant> &values) const;
    // False for results that cannot be edited.
    virtual bool doCanModify() const { return true; }

    void setFields(const QList<ColumnDef> &columns);
    void clearFields();
    void setPosition(int row); // clamps and updates eof/bof
    int position() const { return m_row; }

private:
    void ensureActive() const;
    void ensureModifiable() const;
    void startEditing(DatasetState state);
    void finishEditing();

    QString m_databaseName;
    QString m_sessionName;
    DatasetState m_state = DatasetState::Inactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    int m_row = -1;
    bool m_eof = true;
    bool m_bof = true;
    std::vector<QVariant> m_buffer;
    std::vector<bool> m_changed;
    int m_editRow = -1;
    QHash<QString, int> m_fieldIndex;       // by exact name
    QHash<QString, int> m_fieldIndexFolded; // by name without regard to case
};

} // namespace qpn::engine
