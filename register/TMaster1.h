#pragma once

#include "register/MasterListForm.h"

namespace qpn {

// "マスター1": the Master1 list.
class TMaster1 : public MasterListForm
{
    Q_OBJECT

public:
    explicit TMaster1(const QString &database = QStringLiteral("AAA"), QWidget *parent = nullptr);
    // Creates the form, shows it modally and releases it.
    static int Execute(QWidget *parent = nullptr, const QString &database = QStringLiteral("AAA"));

    TLibXGrid *DBGrid1 = nullptr;
};

} // namespace qpn
