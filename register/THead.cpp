#include "register/THead.h"

#include "depreciation/CalculationSettings.h"
#include "engine/EngineError.h"
#include "lib/Dialogs.h"
#include "platform/RadioGroup.h"
#include "register/HeaderSettings.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qpn
{

namespace
{

QLabel *NamedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit *NamedEdit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

RadioGroup *OptionGroup(const QString &column, QWidget *parent, int columns = 1)
{
    const HeaderOption &option = *HeaderSettings::findOption(column);
    auto *group = new RadioGroup(option.caption, option.items, parent, columns);
    group->setObjectName(option.control);
    return group;
}

// The blank areas answer double-clicks only; give them room to be found.
QLabel *BlankArea(const QString &name, QWidget *parent)
{
    QLabel *label = NamedLabel(name, QStringLiteral("　　　　　"), parent);
    label->setMinimumSize(40, 24);
    return label;
}

} // namespace

THead::THead(const QString &baseDatabase, const QString &dataDatabase, const QString &session,
             QWidget *parent)
    : QDialog(parent), Panel1(new QFrame(this)),
      BitBtn1(new QPushButton(QStringLiteral("閉じる(&C)"), Panel1)),
      Label1(NamedLabel(QStringLiteral("Label1"), QStringLiteral("会計期首"), this)),
      Label2(NamedLabel(QStringLiteral("Label2"), QStringLiteral("西暦年"), this)),
      Label3(NamedLabel(QStringLiteral("Label3"), QStringLiteral("法人の名称"), this)),
      Label4(NamedLabel(QStringLiteral("Label4"), QStringLiteral("郵便番号"), this)),
      Label5(NamedLabel(QStringLiteral("Label5"), QStringLiteral("住所"), this)),
      Label6(NamedLabel(QStringLiteral("Label6"), QStringLiteral("電話"), this)),
      Label7(NamedLabel(QStringLiteral("Label7"), QStringLiteral("ユーザーパスワード（数字４桁）"),
                        this)),
      Label9(NamedLabel(QStringLiteral("Label9"), QStringLiteral("ユーザーパスワード"), this)),
      Label10(NamedLabel(QStringLiteral("Label10"),
                         QStringLiteral("４桁のパスワード（数値）を入れてください。"), this)),
      Label11(NamedLabel(QStringLiteral("Label11"), QStringLiteral("初期設定１"), Panel1)),
      RDBEdit3(NamedEdit(QStringLiteral("RDBEdit3"), this)),
      RDBEdit2(NamedEdit(QStringLiteral("RDBEdit2"), this)),
      RDBEdit4(NamedEdit(QStringLiteral("RDBEdit4"), this)),
      RDBEdit5(NamedEdit(QStringLiteral("RDBEdit5"), this)),
      RDBEdit6(NamedEdit(QStringLiteral("RDBEdit6"), this)),
      RDBEdit1(NamedEdit(QStringLiteral("RDBEdit1"), this)),
      RDBEdit7(NamedEdit(QStringLiteral("RDBEdit7"), this)),
      Label16(NamedLabel(QStringLiteral("Label16"), QStringLiteral("新会計移行年度"), this)),
      DBEdit1(NamedEdit(QStringLiteral("DBEdit1"), this)),
      RadioGroup1(OptionGroup(QStringLiteral("PM1"), this)),
      RadioGroup2(OptionGroup(QStringLiteral("PM2"), this)),
      RadioGroup3(OptionGroup(QStringLiteral("PM3"), this)),
      RadioGroup4(OptionGroup(QStringLiteral("PM4"), this)),
      RadioGroup5(OptionGroup(QStringLiteral("PM8"), this, 2)),
      RadioGroup6(OptionGroup(QStringLiteral("PM6"), this, 2)),
      Label8(NamedLabel(QStringLiteral("Label8"),
                        QStringLiteral("[A]による計算は、償却期間で均等に償却します。\n"
                                       "[B]による計算は、償却率で計算します。\n"
                                       "定率法の場合は、耐用年数省令別表による計算になります。"),
                        this)),
      Label12(NamedLabel(QStringLiteral("Label12"),
                         QStringLiteral("運用途中で変更すると、償却額等が変わります。"), this)),
      Label13(NamedLabel(QStringLiteral("Label13"),
                         QStringLiteral("営利事業の場合は[ｱ]を選択してください。\n"
                                        "[ｲ]は5年均等償却を行わないために早く償却が出来ます。\n"
                                        "ただし、この選択は定額法のみの適用です。"),
                         this)),
      Label14(BlankArea(QStringLiteral("Label14"), this)),
      Label15(BlankArea(QStringLiteral("Label15"), this)),
      m_settings(std::make_unique<HeaderSettings>(baseDatabase, dataDatabase, session))
{
    setObjectName(QStringLiteral("Head"));
    setWindowTitle(QStringLiteral("初期設定１"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);

    RDBEdit2->setEnabled(false);
    RDBEdit4->setAttribute(Qt::WA_InputMethodEnabled, false);
    RDBEdit6->setAttribute(Qt::WA_InputMethodEnabled, false);
    RDBEdit5->setAttribute(Qt::WA_InputMethodEnabled, true);
    RDBEdit1->setEchoMode(QLineEdit::Password);
    RDBEdit1->setMaxLength(4);
    RDBEdit7->setEchoMode(QLineEdit::Password);
    RDBEdit7->setFocusPolicy(Qt::ClickFocus); // skipped by Tab
    RadioGroup2->setToolTip(QStringLiteral("(A)を選択すると、均等な減価償却が出来ます。\n"
                                           "(B)は(企業会計など税務会計用に用意しています。"));

    buildLayout();
    Label14->installEventFilter(this);
    Label15->installEventFilter(this);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(RadioGroup3, &RadioGroup::clicked, this, &THead::RadioGroup3Click);
    // Both password boxes edit the same column.
    connect(RDBEdit1, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_password = text;
        const QSignalBlocker blocker(RDBEdit7);
        RDBEdit7->setText(text);
    });
    connect(RDBEdit7, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_password = text;
        const QSignalBlocker blocker(RDBEdit1);
        RDBEdit1->setText(text);
    });
}

THead::~THead() = default;

void THead::buildLayout()
{
    auto *band = new QHBoxLayout(Panel1);
    QFont heading = Label11->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    heading.setBold(true);
    Label11->setFont(heading);
    band->addWidget(Label11);
    band->addStretch();
    band->addWidget(BitBtn1);
    Panel1->setFrameShape(QFrame::StyledPanel);

    auto *fields = new QGridLayout;
    int row = 0;
    fields->addWidget(Label1, row, 0);
    fields->addWidget(RDBEdit3, row, 1);
    fields->addWidget(Label2, row++, 2);
    fields->addWidget(Label3, row, 0);
    fields->addWidget(RDBEdit2, row++, 1, 1, 2);
    fields->addWidget(Label4, row, 0);
    fields->addWidget(RDBEdit4, row++, 1);
    fields->addWidget(Label5, row, 0);
    fields->addWidget(RDBEdit5, row++, 1, 1, 2);
    fields->addWidget(Label6, row, 0);
    fields->addWidget(RDBEdit6, row++, 1);
    fields->addWidget(Label7, row, 0);
    fields->addWidget(RDBEdit1, row++, 1);
    fields->addWidget(Label9, row, 0);
    fields->addWidget(RDBEdit7, row++, 1);
    fields->addWidget(Label10, row++, 1, 1, 2);

    auto *options = new QGridLayout;
    options->addWidget(RadioGroup1, 0, 1);
    options->addWidget(Label13, 0, 2);
    options->addWidget(RadioGroup2, 1, 1);
    options->addWidget(Label8, 1, 2);
    options->addWidget(Label14, 2, 0);
    options->addWidget(RadioGroup3, 2, 1);
    auto *transition = new QHBoxLayout;
    transition->addWidget(Label16);
    transition->addWidget(DBEdit1);
    transition->addStretch();
    options->addLayout(transition, 2, 2);
    options->addWidget(Label15, 3, 0);
    options->addWidget(RadioGroup4, 3, 1);
    options->addWidget(Label12, 3, 2);
    options->addWidget(RadioGroup5, 4, 1);
    options->addWidget(RadioGroup6, 4, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(fields);
    layout->addLayout(options);
}

RadioGroup *THead::radioGroupOf(const QString &column) const
{
    const HeaderOption *option = HeaderSettings::findOption(column);
    return option && !option->control.isEmpty() ? findChild<RadioGroup *>(option->control)
                                                : nullptr;
}

void THead::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only an opening loads the row, not a return to the form.
    if (!event->spontaneous() && !m_opened)
        FormActivate();
}

void THead::FormActivate()
{
    try {
        m_settings->open();
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return;
    }
    m_opened = true;
    RDBEdit3->setText(m_settings->text(QStringLiteral("KisyuDate")));
    RDBEdit2->setText(m_settings->text(QStringLiteral("meisyou")));
    RDBEdit4->setText(m_settings->text(QStringLiteral("yuubin")));
    RDBEdit5->setText(m_settings->text(QStringLiteral("jyuusyo")));
    RDBEdit6->setText(m_settings->text(QStringLiteral("denwa")));
    m_password = m_settings->text(QStringLiteral("PM5"));
    RDBEdit1->setText(m_password);
    RDBEdit7->setText(m_password);
    DBEdit1->setText(m_settings->text(QStringLiteral("年度")));
    for (const HeaderOption &option : HeaderSettings::Options()) {
        if (RadioGroup *group = radioGroupOf(option.column)) {
            const QVariant stored = m_settings->value(option.column);
            group->setItemIndex(stored.isValid() ? stored.toInt() : -1);
        }
    }
    RadioGroup3Click();
}

void THead::RadioGroup3Click()
{
    const bool proportional = RadioGroup3->itemIndex() == 2;
    Label16->setVisible(proportional);
    DBEdit1->setVisible(proportional);
}

void THead::Label14DblClick()
{
    RadioGroup3->setVisible(!RadioGroup3->isVisible());
}

void THead::Label15DblClick()
{
    const DialogButton answer =
        MessageDlg(QStringLiteral("一部除却が可能な仕様に変更しますか？"), DialogKind::Confirmation,
                   {DialogButton::Yes, DialogButton::No});
    if (!m_opened)
        return;
    if (answer == DialogButton::Yes)
        m_settings->setOption(QStringLiteral("PM7"), 1);
    else if (answer == DialogButton::No)
        m_settings->setOption(QStringLiteral("PM7"), 0);
}

void THead::storeEdits()
{
    m_settings->setText(QStringLiteral("KisyuDate"), RDBEdit3->text());
    m_settings->setText(QStringLiteral("yuubin"), RDBEdit4->text());
    m_settings->setText(QStringLiteral("jyuusyo"), RDBEdit5->text());
    m_settings->setText(QStringLiteral("denwa"), RDBEdit6->text());
    m_settings->setText(QStringLiteral("PM5"), m_password);
    m_settings->setText(QStringLiteral("年度"), DBEdit1->text());
    for (const HeaderOption &option : HeaderSettings::Options()) {
        const RadioGroup *group = radioGroupOf(option.column);
        if (group && group->itemIndex() >= 0)
            m_settings->setOption(option.column, group->itemIndex());
    }
}

bool THead::FormClose()
{
    if (!m_opened)
        return true;
    try {
        storeEdits();
        m_settings->close();
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        // The row was saved when fixing the past years failed: nothing is left to edit.
        m_opened = m_settings->isOpen();
        return !m_opened;
    } catch (const SettingsRefused &) {
        return false; // its message has been shown
    }
    m_opened = false;
    return true;
}

void THead::done(int result)
{
    if (FormClose())
        QDialog::done(result);
}

void THead::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool THead::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Label14) {
            Label14DblClick();
            return true;
        }
        if (watched == Label15) {
            Label15DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qpn
