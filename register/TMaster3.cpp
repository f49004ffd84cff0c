#include "register/TMaster3.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

namespace qpn {

TMaster3::TMaster3(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("マスター3"), database, parent)
{
    setObjectName(QStringLiteral("TMaster3"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("Master3"),
                      {{QStringLiteral("ID"), QStringLiteral("区分コード")}, {QStringLiteral("Master3"), QStringLiteral("区分名")}});
    m_body->addWidget(DBGrid1);
}

int TMaster3::Execute(QWidget *parent, const QString &database)
{
    TMaster3 form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
