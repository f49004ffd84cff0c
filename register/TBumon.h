#pragma once

#include "register/MasterListForm.h"

class QTabWidget;

namespace qpn {

// "部門マスター": departments on the page "部門登録" (with their location's
// name looked up) and locations on the page "区分登録"; the navigator follows
// the visible page.
class TBumon : public MasterListForm
{
    Q_OBJECT

public:
    explicit TBumon(const QString &database = QStringLiteral("AAA"), QWidget *parent = nullptr);
    static int Execute(QWidget *parent = nullptr, const QString &database = QStringLiteral("AAA"));

    void PageControl1Change();

    QTabWidget *PageControl1 = nullptr;
    TLibXGrid *DBGrid1 = nullptr; // Bumon
    TLibXGrid *DBGrid2 = nullptr; // kyoten
};

} // namespace qpn
