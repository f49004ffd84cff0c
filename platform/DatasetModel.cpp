#include "platform/DatasetModel.h"

#include "engine/Dataset.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "lib/DateFormat.h"
#include "lib/Dialogs.h"
#include "lib/DisplayFormat.h"

#include <QDateTime>

#include <exception>

namespace qpn {

using engine::DatasetState;
using engine::FieldType;

namespace {

QString errorText(const std::exception &error)
{
    if (const auto *engineError = dynamic_cast<const engine::EngineError *>(&error))
        return engineError->message();
    return QString::fromUtf8(error.what());
}

bool isNumber(FieldType type)
{
    return type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::Float
        || type == FieldType::Money;
}

DateTime dateOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime at = value.toDateTime();
        return FromQDate(at.date()) + at.time().msecsSinceStartOfDay() / 86400000.0;
    }
    return FromQDate(value.toDate());
}

} // namespace

DatasetModel::DatasetModel(engine::Dataset &dataset, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset)
{
    connect(&m_dataset, &engine::Dataset::rowsChanged, this, &DatasetModel::datasetChanged);
    connect(&m_dataset, &engine::Dataset::stateChanged, this, &DatasetModel::datasetChanged);
    connect(&m_dataset, &engine::Dataset::currentChanged, this, &DatasetModel::datasetChanged);
    m_rowCount = rowCount();
    m_lastCurrent = currentRow();
}

DatasetModel::~DatasetModel() = default;

void DatasetModel::setColumns(const QList<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    for (const Column &column : m_columns) {
        if (column.lookupDataset)
            connect(column.lookupDataset, &engine::Dataset::rowsChanged, this, &DatasetModel::datasetChanged,
                    Qt::UniqueConnection);
    }
    endResetModel();
}

QList<DatasetModel::Column> DatasetModel::columns() const
{
    if (!m_columns.isEmpty())
        return m_columns;
    QList<Column> all;
    for (int i = 0; i < m_dataset.fieldCount(); ++i) {
        const engine::Field &field = m_dataset.field(i);
        if (field.visible())
            all << Column(field.fieldName(), QString(), field.readOnly());
    }
    return all;
}

int DatasetModel::currentRow() const
{
    if (!m_dataset.active())
        return -1;
    if (m_dataset.state() == DatasetState::Insert)
        return m_dataset.recordCount();
    return m_dataset.recNo() - 1;
}

void DatasetModel::setCurrentRow(int row)
{
    if (row == currentRow() || row < 0)
        return;
    if (m_dataset.state() == DatasetState::Insert || m_dataset.state() == DatasetState::Edit)
        postOrCancel();
    if (row == currentRow() || row >= m_dataset.recordCount())
        return;
    m_dataset.moveBy(row - currentRow());
}

void DatasetModel::postOrCancel()
{
    const DatasetState state = m_dataset.state();
    if (state != DatasetState::Edit && state != DatasetState::Insert)
        return;
    if (m_modified)
        m_dataset.post();
    else
        m_dataset.cancel();
    m_modified = false;
}

void DatasetModel::setUpdatesSuspended(bool suspended)
{
    m_suspended = suspended;
    if (!suspended) {
        beginResetModel();
        m_rowCount = rowCount();
        m_lastCurrent = currentRow();
        endResetModel();
        emit currentRowChanged(m_lastCurrent);
    }
}

void DatasetModel::datasetChanged()
{
    if (m_suspended)
        return;
    const DatasetState state = m_dataset.state();
    if (state != DatasetState::Edit && state != DatasetState::Insert)
        m_modified = false;
    const int count = rowCount();
    if (count != m_rowCount) {
        beginResetModel();
        m_rowCount = count;
        endResetModel();
    } else if (count > 0) {
        emit dataChanged(index(0, 0), index(count - 1, columnCount() - 1));
    }
    const int current = currentRow();
    if (current != m_lastCurrent) {
        m_lastCurrent = current;
        emit currentRowChanged(current);
    }
}

engine::Field *DatasetModel::fieldOf(const Column &column) const
{
    return m_dataset.active() ? m_dataset.findField(column.fieldName) : nullptr;
}

bool DatasetModel::isEditRow(int row) const
{
    const DatasetState state = m_dataset.state();
    return (state == DatasetState::Edit || state == DatasetState::Insert) && row == currentRow();
}

QVariant DatasetModel::rawValue(int row, const engine::Field &field) const
{
    if (isEditRow(row))
        return field.value();
    if (row < 0 || row >= m_dataset.recordCount())
        return {};
    return m_dataset.valueAt(row, field.index());
}

QString DatasetModel::textOf(const engine::Field &field, const QVariant &value) const
{
    if (!value.isValid())
        return QString();
    const QString format = field.displayFormat();
    switch (field.dataType()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        return format.isEmpty() ? QString::number(value.toInt()) : FormatNumber(format, qint64(value.toInt()));
    case FieldType::Float:
        return format.isEmpty() ? PlainText(value.toDouble()) : FormatNumber(format, value.toDouble());
    case FieldType::Money:
        return format.isEmpty() ? CurrencyText(value.value<Currency>()) : FormatNumber(format, value.value<Currency>());
    case FieldType::Date:
        return format.isEmpty() ? DateToText(dateOf(value)) : FormatDateTime(format, dateOf(value));
    case FieldType::DateTime:
        return FormatDateTime(format.isEmpty() ? ShortDatePattern() + QStringLiteral(" hh:nn:ss") : format,
                              dateOf(value));
    case FieldType::Boolean:
        return PlainText(value.toBool());
    case FieldType::Char:
    case FieldType::Memo:
        break;
    }
    return value.toString();
}

QString DatasetModel::lookupName(const Column &column, const QVariant &code) const
{
    engine::Dataset *lookup = column.lookupDataset;
    if (!code.isValid() || !lookup || !lookup->active())
        return QString();
    const engine::Field *key = lookup->findField(column.lookupKeyField);
    const engine::Field *result = lookup->findField(column.lookupResultField);
    if (!key || !result)
        return QString();
    const QString wanted = code.toString();
    for (int row = 0; row < lookup->recordCount(); ++row) {
        const QVariant candidate = lookup->valueAt(row, key->index());
        if (candidate.isValid() && candidate.toString() == wanted)
            return lookup->valueAt(row, result->index()).toString();
    }
    return QString();
}

QVariant DatasetModel::lookupCode(const Column &column, const QString &name) const
{
    engine::Dataset *lookup = column.lookupDataset;
    if (name.isEmpty() || !lookup || !lookup->active())
        return {};
    const engine::Field *key = lookup->findField(column.lookupKeyField);
    const engine::Field *result = lookup->findField(column.lookupResultField);
    if (!key || !result)
        return {};
    for (int row = 0; row < lookup->recordCount(); ++row) {
        if (lookup->valueAt(row, result->index()).toString() == name)
            return lookup->valueAt(row, key->index());
    }
    return {};
}

QStringList DatasetModel::lookupNames(int column) const
{
    const Column c = this->column(column);
    QStringList names;
    if (!c.lookupDataset || !c.lookupDataset->active())
        return names;
    if (const engine::Field *result = c.lookupDataset->findField(c.lookupResultField)) {
        for (int row = 0; row < c.lookupDataset->recordCount(); ++row)
            names << c.lookupDataset->valueAt(row, result->index()).toString();
    }
    return names;
}

QString DatasetModel::cellText(int row, int column) const
{
    const Column c = this->column(column);
    const engine::Field *field = fieldOf(c);
    if (!field)
        return QString();
    const QVariant value = rawValue(row, *field);
    return c.isLookup() ? lookupName(c, value) : textOf(*field, value);
}

QString DatasetModel::currentText(int column) const
{
    return cellText(currentRow(), column);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_dataset.active())
        return 0;
    return m_dataset.recordCount() + (m_dataset.state() == DatasetState::Insert ? 1 : 0);
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns().size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::EditRole: {
        const Column c = column(index.column());
        const engine::Field *field = fieldOf(c);
        if (!field)
            return {};
        const QVariant value = rawValue(index.row(), *field);
        if (c.isLookup())
            return lookupName(c, value);
        if (!value.isValid())
            return QString();
        if (field->dataType() == FieldType::Money)
            return PlainText(value.value<Currency>());
        if (field->dataType() == FieldType::Float)
            return PlainText(value.toDouble());
        return textOf(*field, value);
    }
    case Qt::TextAlignmentRole: {
        const Column c = column(index.column());
        const engine::Field *field = fieldOf(c);
        if (field && !c.isLookup() && isNumber(field->dataType()))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section == currentRow() ? QStringLiteral("▶") : QString();
    const Column c = column(section);
    if (!c.title.isEmpty())
        return c.title;
    const engine::Field *field = fieldOf(c);
    return field ? field->displayLabel() : c.fieldName;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return flags;
    const Column c = column(index.column());
    const engine::Field *field = fieldOf(c);
    if (field && !c.readOnly && !field->readOnly())
        flags |= Qt::ItemIsEditable;
    return flags;
}

void DatasetModel::writeCell(int row, int column, const QString &text)
{
    const Column c = this->column(column);
    engine::Field *field = fieldOf(c);
    if (!field)
        return;
    setCurrentRow(row);
    if (m_dataset.state() == DatasetState::Browse)
        m_dataset.edit();
    if (c.isLookup())
        field->setValue(lookupCode(c, text));
    else
        field->setAsString(text);
    m_modified = true;
}

bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    try {
        writeCell(index.row(), index.column(), value.toString());
    } catch (const std::exception &error) {
        MessageDlg(errorText(error), DialogKind::Error, {DialogButton::Ok});
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

} // namespace qpn
