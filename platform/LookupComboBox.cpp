#include "platform/LookupComboBox.h"

#include "engine/Dataset.h"
#include "engine/Field.h"

namespace qpn {

LookupComboBox::LookupComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this](int index) { emit codeChosen(itemData(index)); });
}

void LookupComboBox::setList(engine::Dataset *list, const QString &keyField, const QString &nameField)
{
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = list;
    m_keyField = keyField;
    m_nameField = nameField;
    if (list)
        connect(list, &engine::Dataset::rowsChanged, this, &LookupComboBox::reload);
    reload();
}

void LookupComboBox::reload()
{
    const QVariant current = code();
    const QSignalBlocker blocker(this);
    clear();
    if (!m_list || !m_list->active())
        return;
    const engine::Field *key = m_list->findField(m_keyField);
    const engine::Field *name = m_list->findField(m_nameField);
    if (!key || !name)
        return;
    for (int row = 0; row < m_list->recordCount(); ++row)
        addItem(m_list->valueAt(row, name->index()).toString(), m_list->valueAt(row, key->index()));
    setCode(current);
}

QVariant LookupComboBox::code() const
{
    return currentIndex() >= 0 ? currentData() : QVariant();
}

void LookupComboBox::setCode(const QVariant &code)
{
    int found = -1;
    if (code.isValid()) {
        for (int i = 0; i < count() && found < 0; ++i) {
            if (itemData(i).toString() == code.toString())
                found = i;
        }
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(found);
}

} // namespace qpn
