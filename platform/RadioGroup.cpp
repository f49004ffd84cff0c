#include "platform/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace qpn
{

RadioGroup::RadioGroup(const QString &caption, const QStringList &items, QWidget *parent,
                       int columns)
    : QGroupBox(caption, parent), m_buttons(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    const int perColumn = (int(items.size()) + columns - 1) / qMax(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        button->setObjectName(QStringLiteral("Item%1").arg(i));
        m_buttons->addButton(button, i);
        layout->addWidget(button, i % qMax(perColumn, 1), i / qMax(perColumn, 1));
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, [this] { emit clicked(); });
}

int RadioGroup::count() const
{
    return int(m_buttons->buttons().size());
}

QRadioButton *RadioGroup::item(int index) const
{
    return qobject_cast<QRadioButton *>(m_buttons->button(index));
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group keeps its checked button; lift that to clear it.
    m_buttons->setExclusive(false);
    if (QAbstractButton *checked = m_buttons->checkedButton())
        checked->setChecked(false);
    m_buttons->setExclusive(true);
}

} // namespace qpn
