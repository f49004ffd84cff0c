#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace qpn
{

// A captioned group of radio buttons whose choice is an item index, the form
// in which the option settings are stored.
class RadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    RadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr,
               int columns = 1);

    int count() const;
    QRadioButton *item(int index) const;
    int itemIndex() const;        // -1 when no item is chosen
    void setItemIndex(int index); // -1 (or an index out of range) clears the choice

signals:
    // The user chose an item.
    void clicked();

private:
    QButtonGroup *m_buttons;
};

} // namespace qpn
