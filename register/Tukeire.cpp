#include "register/Tukeire.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

namespace qpn {

Tukeire::Tukeire(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("購入先マスター"), database, parent)
{
    setObjectName(QStringLiteral("Tukeire"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("Ukeire"),
                      {{QStringLiteral("ID"), QStringLiteral("購入先コード")}, {QStringLiteral("Ukeire"), QStringLiteral("購入先")}});
    m_body->addWidget(DBGrid1);
}

int Tukeire::Execute(QWidget *parent, const QString &database)
{
    Tukeire form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
