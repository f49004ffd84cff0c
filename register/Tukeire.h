#pragma once

#include "register/MasterListForm.h"

namespace qpn {

// "購入先マスター": the Ukeire list.
class Tukeire : public MasterListForm
{
    Q_OBJECT

public:
    explicit Tukeire(const QString &database = QStringLiteral("AAA"), QWidget *parent = nullptr);
    // Creates the form, shows it modally and releases it.
    static int Execute(QWidget *parent = nullptr, const QString &database = QStringLiteral("AAA"));

    TLibXGrid *DBGrid1 = nullptr;
};

} // namespace qpn
