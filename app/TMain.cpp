#include "app/TMain.h"

#include "app/DoubleClickLabel.h"
#include "app/StartUp.h"
#include "app/TDM.h"
#include "lib/AppOptions.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qpn {

namespace {

QString forDisplay(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Disables a button while its form is open and enables it again afterwards,
// also when the form fails.
class DisabledWhileOpen
{
public:
    explicit DisabledWhileOpen(QPushButton *button) : m_button(button) { m_button->setEnabled(false); }
    ~DisabledWhileOpen() { m_button->setEnabled(true); }
    DisabledWhileOpen(const DisabledWhileOpen &) = delete;
    DisabledWhileOpen &operator=(const DisabledWhileOpen &) = delete;

private:
    QPushButton *m_button;
};

const char *const GreenPanelStyle = "QPushButton, QFrame#PanelHP { background: #2e8b57; color: white; "
                                    "border: 2px outset #3cb371; padding: 6px; font-weight: bold; }"
                                    "QPushButton:disabled { color: #cfe8d8; }";

} // namespace

TMain::TMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Main"));
    buildTitleBand();

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("初期設定メニュー"));
    PageControl1->addTab(TabSheet2, QStringLiteral("メインメニュー"));
    buildSetupPage();
    buildMainPage();
    PageControl1->setCurrentWidget(TabSheet2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);
    layout->addWidget(PageControl1, 1);
    resize(940, 660);
}

TMain::~TMain() = default;

QPushButton *TMain::addButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumHeight(40);
    button->setEnabled(false);
    m_buttons.insert(name, button);
    m_order << name;
    return button;
}

void TMain::buildTitleBand()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setStyleSheet(QStringLiteral("QFrame#Panel1 { background: #000080; }"));
    Title = new QLabel(QStringLiteral("ほどほど固定資産台帳Ｖ３"), Panel1);
    Title->setObjectName(QStringLiteral("Panel1Caption"));
    Title->setStyleSheet(QStringLiteral("color: yellow; font-size: 37px;"));
    L1 = new QLabel(Panel1);
    L1->setObjectName(QStringLiteral("L1"));
    L1->setAlignment(Qt::AlignCenter);
    L1->setStyleSheet(QStringLiteral("color: yellow; font-weight: bold; font-size: 20px;"));
    L3 = new QLabel(Panel1);
    L3->setObjectName(QStringLiteral("L3"));
    L3->setAlignment(Qt::AlignRight | Qt::AlignTop);
    L3->setStyleSheet(QStringLiteral("color: white;"));

    auto *layout = new QGridLayout(Panel1);
    layout->addWidget(L3, 0, 0, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(Title, 1, 0, Qt::AlignCenter);
    layout->addWidget(L1, 2, 0, Qt::AlignCenter);
}

void TMain::buildSetupPage()
{
    QWidget *page = TabSheet1;
    BitBtn2 = addButton(QStringLiteral("BitBtn2"), QStringLiteral("初期設定"), page);
    BitBtn2->setMinimumHeight(56);
    Button3 = addButton(QStringLiteral("Button3"), QStringLiteral("部 門 登 録"), page);
    Button2 = addButton(QStringLiteral("Button2"), QStringLiteral("科　目　登　録"), page);
    Button4 = addButton(QStringLiteral("Button4"), QStringLiteral("購 入 先 登 録"), page);
    Button10 = addButton(QStringLiteral("Button10"), QStringLiteral("区　　分　　１"), page);
    Button11 = addButton(QStringLiteral("Button11"), QStringLiteral("区　　分　　２"), page);
    Button16 = addButton(QStringLiteral("Button16"), QStringLiteral("区　　分　　３"), page);
    BitBtn5 = addButton(QStringLiteral("BitBtn5"), QStringLiteral("データテーブルの修復"), page);
    BitBtn5->setStyleSheet(QStringLiteral("QPushButton:enabled { color: red; }"));
    BitBtn4 = addButton(QStringLiteral("BitBtn4"), QStringLiteral("旧バージョンからのデータ変換"), page);
    BitBtn4->setVisible(false);

    Label6 = new QLabel(QStringLiteral("購入先及び、区分1.2.3は独自の物品管理としてご自由にお使いください。\n"
                                       "帳票や集計計算には出ませんが、CSV出力には出ます。"),
                        page);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label5 = new DoubleClickLabel(page);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setMinimumSize(160, 60);
    connect(Label5, &DoubleClickLabel::doubleClicked, this, &TMain::Label5DblClick);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(12);
    grid->addWidget(BitBtn2, 0, 0, 1, 2);
    grid->addWidget(Button3, 1, 0);
    grid->addWidget(Button2, 2, 0);
    grid->addWidget(Button4, 3, 0);
    grid->addWidget(Button10, 1, 1);
    grid->addWidget(Button11, 2, 1);
    grid->addWidget(Button16, 3, 1);
    grid->addWidget(Label6, 4, 0, 1, 2);
    grid->addWidget(BitBtn5, 5, 0);
    grid->addWidget(BitBtn4, 6, 0);
    grid->setRowStretch(7, 1);
    grid->addWidget(Label5, 8, 1, Qt::AlignRight | Qt::AlignBottom);

    for (QPushButton *button : {BitBtn2, Button3, Button2, Button4, Button10, Button11, Button16, BitBtn5, BitBtn4})
        connect(button, &QPushButton::clicked, this, [this, button] {
            if (button == BitBtn2)
                BitBtn2Click();
            else
                runAction(button->objectName());
        });
}

void TMain::buildMainPage()
{
    QWidget *page = TabSheet2;
    BitBtn1 = addButton(QStringLiteral("BitBtn1"), QStringLiteral("資産登録"), page);
    BitBtn1->setMinimumHeight(64);
    Button7 = addButton(QStringLiteral("Button7"), QStringLiteral("一括更新計算"), page);
    Button7->setMinimumHeight(64);
    Button1 = addButton(QStringLiteral("Button1"), QStringLiteral("資産台帳一覧表"), page);
    Button12 = addButton(QStringLiteral("Button12"), QStringLiteral("資産増加表"), page);
    Button13 = addButton(QStringLiteral("Button13"), QStringLiteral("資産減少表"), page);
    Button14 = addButton(QStringLiteral("Button14"), QStringLiteral("固定資産集計表"), page);
    Button6 = addButton(QStringLiteral("Button6"), QStringLiteral("単票連続印刷"), page);
    Button5 = addButton(QStringLiteral("Button5"), QStringLiteral("廃棄資産一覧表"), page);
    Button8 = addButton(QStringLiteral("Button8"), QStringLiteral("固定資産ラベル"), page);
    Button15 = addButton(QStringLiteral("Button15"), QStringLiteral("什器備品（消耗物品）台帳"), page);
    BitBtn8 = addButton(QStringLiteral("BitBtn8"), QStringLiteral("バックアップコピー"), page);
    BitBtn3 = addButton(QStringLiteral("BitBtn3"), QStringLiteral("閉じる(&C)"), page);
    BitBtn3->setEnabled(true);

    PanelHP = new QFrame(page);
    PanelHP->setObjectName(QStringLiteral("PanelHP"));
    PanelHP->setStyleSheet(QString::fromLatin1(GreenPanelStyle));
    BtnHP = addButton(QStringLiteral("BtnHP"), QStringLiteral("HPを開く"), PanelHP);
    BtnUP = addButton(QStringLiteral("BtnUP"), QStringLiteral("バージョンアップ"), PanelHP);
    BtnREM = addButton(QStringLiteral("BtnREM"), QStringLiteral("リモートメンテナンス"), PanelHP);
    auto *hp = new QHBoxLayout(PanelHP);
    hp->addWidget(BtnHP);
    hp->addWidget(BtnUP);
    hp->addWidget(BtnREM);

    Panel2 = addButton(QStringLiteral("Panel2"), QStringLiteral("操作説明書"), page);
    Panel3 = addButton(QStringLiteral("Panel3"), QStringLiteral("平成19年法令改正に対応"), page);
    Panel4 = addButton(QStringLiteral("Panel4"), QStringLiteral("平成23年法令改正に対応"), page);
    Panel5 = addButton(QStringLiteral("Panel5"), QStringLiteral("社福別表３(⑧)の帳票作成"), page);
    for (QPushButton *panel : {Panel2, Panel3, Panel4, Panel5})
        panel->setStyleSheet(QString::fromLatin1(GreenPanelStyle));

    Label4 = new QLabel(QStringLiteral("期首期日"), page);
    Label4->setObjectName(QStringLiteral("Label4"));
    Edit1 = new QLineEdit(page);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFocusPolicy(Qt::NoFocus);
    Edit1->setStyleSheet(QStringLiteral("QLineEdit { background: yellow; color: black; }"));
    Label7 = new QLabel(forDisplay(QStringLiteral("システムが更新されています。\r\nバージョンアップをしてください。")),
                        page);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("QLabel { background: blue; color: white; padding: 6px; }"));
    Label7->setVisible(false);

    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 18, 24, 18);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    grid->addWidget(BitBtn1, 0, 0);
    grid->addWidget(Button7, 1, 0);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Edit1, 4, 0);
    grid->addWidget(Label7, 5, 0, 2, 1);
    int row = 0;
    for (QPushButton *button : {Button1, Button12, Button13, Button14, Button6, Button5, Button8, Button15})
        grid->addWidget(button, row++, 1);
    grid->addWidget(BitBtn8, 0, 2);
    grid->addWidget(BitBtn3, 1, 2);
    grid->addWidget(Panel2, 3, 2);
    grid->addWidget(Panel3, 4, 2);
    grid->addWidget(Panel4, 5, 2);
    grid->addWidget(Panel5, 6, 2);
    grid->addWidget(PanelHP, 8, 0, 1, 3);
    grid->setRowStretch(7, 1);

    connect(Button12, &QPushButton::clicked, this, &TMain::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &TMain::Button13Click);
    connect(Button14, &QPushButton::clicked, this, &TMain::Button14Click);
    connect(Button6, &QPushButton::clicked, this, &TMain::Button6Click);
    connect(Button15, &QPushButton::clicked, this, &TMain::Button15Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TMain::BitBtn3Click);
    for (QPushButton *button : {BitBtn1, Button7, Button1, Button5, Button8, BitBtn8, BtnHP, BtnUP, BtnREM, Panel2,
                                Panel3, Panel4, Panel5})
        connect(button, &QPushButton::clicked, this, [this, button] { runAction(button->objectName()); });
}

void TMain::setMenuAction(const QString &controlName, MenuAction action)
{
    QPushButton *button = m_buttons.value(controlName);
    if (!button)
        return;
    m_actions.insert(controlName, std::move(action));
    button->setEnabled(true);
}

void TMain::runAction(const QString &controlName)
{
    // Copied: the action may replace itself while it runs.
    const MenuAction action = m_actions.value(controlName);
    if (action)
        action();
}

void TMain::runDisabled(QPushButton *button, const QString &controlName)
{
    const DisabledWhileOpen guard(button);
    runAction(controlName);
}

void TMain::runReport(QPushButton *button, int kind)
{
    const DisabledWhileOpen guard(button);
    AppOptions().ReportKind = kind;
    AppOptions().ReportTitle = button->text();
    runAction(button->objectName());
}

void TMain::BitBtn2Click()
{
    runAction(BitBtn2->objectName());
    showFiscalStart(StartUp::FiscalStartText(AppOptions().FiscalStart));
}

void TMain::Button12Click()
{
    runReport(Button12, 1);
}

void TMain::Button13Click()
{
    runReport(Button13, 2);
}

void TMain::Button14Click()
{
    TDM::instance()->SetPeriodCaptions(0);
    runDisabled(Button14, Button14->objectName());
}

void TMain::Button6Click()
{
    TDM::instance()->SetPeriodCaptions(1);
    runDisabled(Button6, Button6->objectName());
}

void TMain::Button15Click()
{
    TDM::instance()->SetPeriodCaptions(0);
    runDisabled(Button15, Button15->objectName());
}

void TMain::BitBtn3Click()
{
    close();
}

void TMain::Label5DblClick()
{
    BitBtn4->setVisible(true);
}

void TMain::showUpdateDate(const QString &text)
{
    L3->setText(text);
}

void TMain::showCorporationName(const QString &name)
{
    L1->setText(name);
}

void TMain::showFiscalStart(const QString &text)
{
    Edit1->setText(text);
}

void TMain::showUpdateNotice()
{
    Label7->setVisible(true);
}

void TMain::FormActivate()
{
    if (!m_startUp)
        return;
    if (m_startUp->run() == StartUp::Outcome::Ended)
        emit programEnded(m_startUp->exitCode());
}

bool TMain::event(QEvent *event)
{
    // The start-up runs after the window has been shown and activated, not
    // inside that event. A window manager may not activate the window by
    // itself, so the first showing counts as an activation too.
    const bool activation = event->type() == QEvent::WindowActivate
                            || (event->type() == QEvent::Show && !event->spontaneous());
    if (activation && !m_activationQueued && m_startUp && m_startUp->armed()) {
        m_activationQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_activationQueued = false;
            FormActivate();
        });
    }
    return QWidget::event(event);
}

} // namespace qpn
