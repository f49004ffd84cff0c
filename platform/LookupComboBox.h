#pragma once

#include "engine/Dataset.h"

#include <QComboBox>
#include <QPointer>
#include <QVariant>


namespace qpn {

// A drop-down of the names of a list dataset (kamoku, Bumon, ...) that stands
// for their codes: it shows the name of the code it holds and answers the code
// of the name chosen. A code without a list row shows an empty name.
class LookupComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit LookupComboBox(QWidget *parent = nullptr);

    void setList(engine::Dataset *list, const QString &keyField, const QString &nameField);
    // Re-reads the names (after the list changed).
    void reload();

    QVariant code() const;
    void setCode(const QVariant &code);

signals:
    // The user chose a name.
    void codeChosen(const QVariant &code);

private:
    QPointer<engine::Dataset> m_list;
    QString m_keyField;
    QString m_nameField;
};

} // namespace qpn
