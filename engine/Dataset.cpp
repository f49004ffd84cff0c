#include "engine/Dataset.h"

#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/ValueCodec.h"

#include <algorithm>

namespace qpn::engine {

Dataset::Dataset(QObject *parent)
    : QObject(parent)
{
}

// Subclasses close themselves in their destructors, while their overrides still exist.
Dataset::~Dataset() = default;

void Dataset::ensureActive() const
{
    if (m_state == DatasetState::Inactive)
        throw EngineError(EngineMessage(text::NotOpen));
}

void Dataset::ensureModifiable() const
{
    ensureActive();
    if (!doCanModify())
        throw EngineError(EngineMessage(text::ReadOnlyDataset));
}

void Dataset::open()
{
    if (active())
        return;
    doOpen();
    m_state = DatasetState::Browse;
    m_row = -1;
    setPosition(0);
    emit stateChanged();
    emit rowsChanged();
}

void Dataset::close()
{
    if (!active())
        return;
    if (m_state == DatasetState::Edit) {
        try {
            doUnlock(m_editRow);
        } catch (const EngineError &) {
        }
    }
    m_buffer.clear();
    m_changed.clear();
    m_editRow = -1;
    doClose();
    clearFields();
    m_state = DatasetState::Inactive;
    m_row = -1;
    m_eof = m_bof = true;
    emit stateChanged();
    emit rowsChanged();
    emit currentChanged();
}

void Dataset::setPosition(int row)
{
    const int count = active() ? doRecordCount() : 0;
    const int old = m_row;
    m_row = count == 0 ? -1 : std::clamp(row, 0, count - 1);
    m_eof = m_bof = count == 0;
    if (m_row != old || count == 0)
        emit currentChanged();
}

void Dataset::first()
{
    ensureActive();
    checkBrowseMode();
    setPosition(0);
    m_bof = true;
}

void Dataset::next()
{
    ensureActive();
    checkBrowseMode();
    const int count = doRecordCount();
    if (m_row + 1 < count) {
        setPosition(m_row + 1);
        m_bof = false;
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    ensureActive();
    checkBrowseMode();
    if (m_row > 0) {
        setPosition(m_row - 1);
        m_eof = false;
    } else {
        m_bof = true;
    }
}

void Dataset::last()
{
    ensureActive();
    checkBrowseMode();
    setPosition(doRecordCount() - 1);
    m_eof = true;
}

int Dataset::moveBy(int distance)
{
    ensureActive();
    checkBrowseMode();
    const int count = doRecordCount();
    if (count == 0 || distance == 0)
        return 0;
    const int target = m_row + distance;
    const int reached = std::clamp(target, 0, count - 1);
    const int moved = reached - m_row;
    setPosition(reached);
    m_eof = target > count - 1;
    m_bof = target < 0;
    return moved;
}

int Dataset::recordCount() const
{
    return active() ? doRecordCount() : 0;
}

int Dataset::recNo() const
{
    return active() && m_row >= 0 ? m_row + 1 : 0;
}

Field &Dataset::fieldByName(const QString &name) const
{
    if (Field *field = findField(name))
        return *field;
    throw EngineError(EngineMessage(text::InvalidField, {name, displayName()}));
}

Field *Dataset::findField(const QString &name) const
{
    const auto exact = m_fieldIndex.constFind(name);
    if (exact != m_fieldIndex.constEnd())
        return m_fields[size_t(*exact)].get();
    const auto folded = m_fieldIndexFolded.constFind(name.toCaseFolded());
    if (folded != m_fieldIndexFolded.constEnd())
        return m_fields[size_t(*folded)].get();
    return nullptr;
}

void Dataset::setFields(const QList<ColumnDef> &columns)
{
    clearFields();
    for (const ColumnDef &column : columns) {
        const int index = int(m_fields.size());
        m_fields.push_back(std::make_unique<Field>(*this, column, index));
        m_fieldIndex.insert(column.name, index);
        m_fieldIndexFolded.insert(column.name.toCaseFolded(), index);
    }
}

void Dataset::clearFields()
{
    m_fields.clear();
    m_fieldIndex.clear();
    m_fieldIndexFolded.clear();
}

void Dataset::doRowValues(int row, std::vector<QVariant> &values) const
{
    values.resize(m_fields.size());
    for (size_t i = 0; i < m_fields.size(); ++i)
        values[i] = doValue(row, int(i));
}

void Dataset::startEditing(DatasetState state)
{
    m_state = state;
    emit stateChanged();
    emit currentChanged();
}

void Dataset::finishEditing()
{
    m_editRow = -1;
    m_state = DatasetState::Browse;
    emit stateChanged();
}

void Dataset::append()
{
    ensureModifiable();
    checkBrowseMode();
    m_buffer.assign(m_fields.size(), QVariant());
    m_changed.assign(m_fields.size(), false);
    doInitNewRow(m_buffer);
    for (size_t i = 0; i < m_buffer.size(); ++i)
        m_changed[i] = m_buffer[i].isValid();
    m_editRow = m_row;
    startEditing(DatasetState::Insert);
}

void Dataset::insert()
{
    append();
}

void Dataset::edit()
{
    ensureModifiable();
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return;
    if (doRecordCount() == 0) {
        insert();
        return;
    }
    doLock(m_row); // re-reads the row
    doRowValues(m_row, m_buffer);
    m_buffer.resize(m_fields.size());
    m_changed.assign(m_fields.size(), false);
    m_editRow = m_row;
    startEditing(DatasetState::Edit);
}

void Dataset::post()
{
    ensureActive();
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        return;
    const bool inserting = m_state == DatasetState::Insert;
    const int row = doPost(m_editRow, inserting, m_buffer, m_changed);
    if (!inserting)
        doUnlock(row);
    finishEditing();
    m_row = -2; // force the change signal: the row's values are new
    setPosition(row);
    emit rowsChanged();
}

void Dataset::cancel()
{
    ensureActive();
    if (m_state == DatasetState::Edit)
        doUnlock(m_editRow);
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert) {
        const int row = m_editRow;
        finishEditing();
        m_row = -2;
        setPosition(row);
    }
}

void Dataset::remove()
{
    ensureModifiable();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    if (doRecordCount() == 0)
        throw EngineError(EngineMessage(text::NoCurrentRecord, {displayName()}));
    const bool editing = m_state == DatasetState::Edit;
    const int row = editing ? m_editRow : m_row;
    if (!editing)
        doLock(row);
    try {
        doDelete(row);
    } catch (...) {
        if (!editing)
            doUnlock(row);
        throw;
    }
    doUnlock(row);
    if (editing)
        finishEditing();
    m_row = -2;
    setPosition(row);
    emit rowsChanged();
}

void Dataset::checkBrowseMode()
{
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        post();
}

Bookmark Dataset::bookmark() const
{
    if (!active() || m_row < 0)
        return {};
    return {doRowId(m_row)};
}

void Dataset::gotoBookmark(const Bookmark &bookmark)
{
    ensureActive();
    checkBrowseMode();
    const int row = bookmark.isValid() ? doRowOf(bookmark.rowId) : -1;
    if (row < 0)
        throw EngineError(EngineMessage(text::RecordNotFound, {displayName()}));
    setPosition(row);
}

void Dataset::refresh()
{
    ensureActive();
    checkBrowseMode();
    const qint64 rowId = m_row >= 0 ? doRowId(m_row) : -1;
    const int old = m_row;
    doRefresh();
    const int found = rowId >= 0 ? doRowOf(rowId) : -1;
    m_row = -2;
    setPosition(found >= 0 ? found : old);
    emit rowsChanged();
}

QVariant Dataset::currentValue(int fieldIndex) const
{
    if (m_state == DatasetState::Edit || m_state == DatasetState::Insert)
        return m_buffer.at(size_t(fieldIndex));
    if (m_state == DatasetState::Inactive || m_row < 0)
        return QVariant();
    return doValue(m_row, fieldIndex);
}

void Dataset::setCurrentValue(int fieldIndex, const QVariant &value)
{
    if (m_state != DatasetState::Edit && m_state != DatasetState::Insert)
        throw EngineError(EngineMessage(text::NotEditing));
    m_buffer[size_t(fieldIndex)] = codec::Normalize(field(fieldIndex).definition(), value, displayName());
    m_changed[size_t(fieldIndex)] = true;
    emit currentChanged();
}

} // namespace qpn::engine
