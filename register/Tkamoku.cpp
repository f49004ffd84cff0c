#include "register/Tkamoku.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

#include <QLabel>

namespace qpn {

Tkamoku::Tkamoku(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("資産分類マスター"), database, parent)
{
    setObjectName(QStringLiteral("Tkamoku"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("kamoku"),
                      {{QStringLiteral("ID"), QStringLiteral("科目コード")},
                       {QStringLiteral("kamokumei"), QStringLiteral("科目名"), false, 200},
                       {QStringLiteral("kubun"), QStringLiteral("区分")}});
    Label1 = new QLabel(QStringLiteral("別紙１を作成する場合の区分は次のように設定してください。\n"
                                       "１：基本財産　２：有形固定資産　３：無形固定資産"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    m_body->addWidget(Label1);
    m_body->addWidget(DBGrid1, 1);
}

int Tkamoku::Execute(QWidget *parent, const QString &database)
{
    Tkamoku form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
