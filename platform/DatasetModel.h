#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>

namespace qpn::engine {
class Dataset;
class Field;
} // namespace qpn::engine

namespace qpn {

// A Qt table model over an engine table or query: one row per dataset row,
// columns taken from the fields (display labels and display formats), some of
// them read-only or frozen, and lookup columns that show a name from another
// dataset while storing its code. Typing into a row puts the dataset into
// editing; the edit is posted when the view leaves the row (setCurrentRow). A
// row being inserted shows as an extra last row.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        Column() = default;
        Column(const QString &field, const QString &caption = QString(), bool isReadOnly = false, int pixels = 64)
            : fieldName(field), title(caption), readOnly(isReadOnly), width(pixels)
        {
        }

        QString fieldName;   // the field shown; for a lookup the field that stores the code
        QString title;       // empty: the field's display label
        bool readOnly = false;
        int width = 64;      // display width in pixels; 0 hides the column
        // Lookup: show lookupResultField of the lookupDataset row whose
        // lookupKeyField equals this row's fieldName.
        engine::Dataset *lookupDataset = nullptr;
        QString lookupKeyField;
        QString lookupResultField;

        bool isLookup() const { return lookupDataset != nullptr; }
    };

    explicit DatasetModel(engine::Dataset &dataset, QObject *parent = nullptr);
    ~DatasetModel() override;

    engine::Dataset &dataset() const { return m_dataset; }

    // Empty (the default) shows every visible field of the open dataset.
    void setColumns(const QList<Column> &columns);
    QList<Column> columns() const;
    Column column(int index) const { return columns().at(index); }
    int frozenColumns() const { return m_frozenColumns; }
    void setFrozenColumns(int count) { m_frozenColumns = count; }

    // The dataset's current row (0-based; the extra row while inserting), -1 when empty.
    int currentRow() const;
    // Moves the dataset to a row, posting a pending edit of the row it leaves;
    // throws the engine's error when that post fails (the cursor then stays).
    void setCurrentRow(int row);

    // The text a cell shows: the field's display text or the looked-up name.
    QString cellText(int row, int column) const;
    // The same for the dataset's current row.
    QString currentText(int column) const;
    // Names a lookup column offers, in the lookup dataset's order.
    QStringList lookupNames(int column) const;

    // True when a value was typed into the row being edited or inserted.
    bool modified() const { return m_modified; }
    // Posts the pending row when something in it changed, else cancels it.
    void postOrCancel();

    // While suspended the model ignores the dataset's signals (long walks over
    // every row); resuming reloads the view.
    void setUpdatesSuspended(bool suspended);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Writes a typed value into a cell; throws the engine's error. setData calls
    // it and reports the error through the dialog seam.
    void writeCell(int row, int column, const QString &text);

signals:
    void currentRowChanged(int row);

private:
    void datasetChanged();
    engine::Field *fieldOf(const Column &column) const;
    QVariant rawValue(int row, const engine::Field &field) const;
    QString textOf(const engine::Field &field, const QVariant &value) const;
    QString lookupName(const Column &column, const QVariant &code) const;
    QVariant lookupCode(const Column &column, const QString &name) const;
    bool isEditRow(int row) const;

    engine::Dataset &m_dataset;
    QList<Column> m_columns;
    int m_frozenColumns = 0;
    int m_rowCount = 0;
    int m_lastCurrent = -1;
    bool m_modified = false;
    bool m_suspended = false;
};

} // namespace qpn
