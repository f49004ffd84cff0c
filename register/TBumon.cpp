#include "register/TBumon.h"

#include "platform/ModalForms.h"

#include <QVBoxLayout>

#include <QTabWidget>

namespace qpn {

TBumon::TBumon(const QString &database, QWidget *parent)
    : MasterListForm(QStringLiteral("部門マスター"), database, parent)
{
    setObjectName(QStringLiteral("TBumon"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    DBGrid1 = addGrid(QStringLiteral("DBGrid1"), QStringLiteral("Bumon"), {}, PageControl1);
    DBGrid2 = addGrid(QStringLiteral("DBGrid2"), QStringLiteral("kyoten"),
                      {{QStringLiteral("kyotenID"), QStringLiteral("拠点区分ID")},
                       {QStringLiteral("kyotenmei"), QStringLiteral("拠点区分名"), false, 200}},
                      PageControl1);
    DatasetModel::Column location(QStringLiteral("kyoten_ID"), QStringLiteral("拠点名"), false, 160);
    location.lookupDataset = table(1);
    location.lookupKeyField = QStringLiteral("kyotenID");
    location.lookupResultField = QStringLiteral("kyotenmei");
    setPageColumns(0, {{QStringLiteral("ID"), QStringLiteral("部門コード")},
                       {QStringLiteral("Bumon"), QStringLiteral("部門名"), false, 200},
                       {QStringLiteral("kyoten_ID"), QStringLiteral("拠点コード")},
                       location});
    PageControl1->addTab(DBGrid1, QStringLiteral("部門登録"));
    PageControl1->addTab(DBGrid2, QStringLiteral("区分登録"));
    m_body->addWidget(PageControl1, 1);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TBumon::PageControl1Change);
}

void TBumon::PageControl1Change()
{
    const int page = PageControl1->currentIndex();
    DBNavigator1->setDataset(table(page), grid(page)->datasetModel());
}

int TBumon::Execute(QWidget *parent, const QString &database)
{
    TBumon form(database, parent);
    return ExecModal(form);
}

} // namespace qpn
