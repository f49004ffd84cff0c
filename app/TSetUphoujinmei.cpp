#include "app/TSetUphoujinmei.h"

#include "app/Mylib.h"
#include "app/TDM.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/Dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace qpn {

TSetUphoujinmei::TSetUphoujinmei(TDM &dm, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label3(new QLabel(QStringLiteral("法人名の登録"), this)),
      DBEdit2(new QLineEdit(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      m_dm(dm)
{
    setObjectName(QStringLiteral("SetUphoujinmei"));
    setWindowTitle(QStringLiteral("法人名の登録"));
    Label3->setObjectName(QStringLiteral("Label3"));
    QFont heading = Label3->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    heading.setBold(true);
    Label3->setFont(heading);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setMinimumWidth(360);
    DBEdit2->setAttribute(Qt::WA_InputMethodEnabled, true);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label3, 0, Qt::AlignHCenter);
    layout->addWidget(DBEdit2);
    layout->addWidget(Button1, 0, Qt::AlignHCenter);
    connect(Button1, &QPushButton::clicked, this, &TSetUphoujinmei::Button1Click);
}

TSetUphoujinmei::~TSetUphoujinmei()
{
    releaseTable();
}

void TSetUphoujinmei::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_opened)
        FormShow();
}

void TSetUphoujinmei::FormShow()
{
    engine::Table &head = *m_dm.HeadM;
    if (!head.active())
        head.open();
    m_opened = true;
    head.first();
    // On a first start the table has no row yet; this one becomes its only row.
    if (head.isEmpty())
        head.append();
    else
        head.edit();
    DBEdit2->setText(head.fieldByName(QStringLiteral("meisyou")).asString());
}

void TSetUphoujinmei::Button1Click()
{
    const QString typed = DBEdit2->text();
    AppOptions().CorporationName = RemoveSpaces(typed);
    if (AppOptions().CorporationName.isEmpty())
        return;
    try {
        // The name is stored as typed, spaces and all.
        engine::Table &head = *m_dm.HeadM;
        head.fieldByName(QStringLiteral("meisyou")).setAsString(typed);
        head.post();
        head.close();
        m_opened = false;
    } catch (const engine::EngineError &error) {
        // A name the column cannot take keeps the form open for correction.
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return;
    }
    accept();
}

void TSetUphoujinmei::reject() {}

void TSetUphoujinmei::releaseTable()
{
    if (!m_opened)
        return;
    m_opened = false;
    try {
        engine::Table &head = *m_dm.HeadM;
        head.cancel();
        head.close();
    } catch (const engine::EngineError &) {
        // Nothing was stored; the table is released either way.
    }
}

} // namespace qpn
