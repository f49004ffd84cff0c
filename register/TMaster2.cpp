#include "register/TMaster2.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

namespace qpn {

TMaster2::TMaster2(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("マスター2"), database, parent)
{
    setObjectName(QStringLiteral("TMaster2"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("Master2"),
                      {{QStringLiteral("ID"), QStringLiteral("区分コード")}, {QStringLiteral("Master2"), QStringLiteral("区分名")}});
    m_body->addWidget(DBGrid1);
}

int TMaster2::Execute(QWidget *parent, const QString &database)
{
    TMaster2 form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
