#include "register/TMaster1.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

namespace qpn {

TMaster1::TMaster1(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("マスター1"), database, parent)
{
    setObjectName(QStringLiteral("TMaster1"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("Master1"),
                      {{QStringLiteral("ID"), QStringLiteral("区分コード")}, {QStringLiteral("Master1"), QStringLiteral("区分名")}});
    m_body->addWidget(DBGrid1);
}

int TMaster1::Execute(QWidget *parent, const QString &database)
{
    TMaster1 form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
