#pragma once

#include "register/MasterListForm.h"

class QLabel;

namespace qpn {

// "資産分類マスター": the asset classes (accounts) with their group for the attachment.
class Tkamoku : public MasterListForm
{
    Q_OBJECT

public:
    explicit Tkamoku(const QString &database = QStringLiteral("AAA"), QWidget *parent = nullptr);
    static int Execute(QWidget *parent = nullptr, const QString &database = QStringLiteral("AAA"));

    TLibXGrid *DBGrid1 = nullptr;
    QLabel *Label1 = nullptr;
};

} // namespace qpn
