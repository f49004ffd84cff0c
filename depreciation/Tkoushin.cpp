#include "depreciation/Tkoushin.h"

#include "depreciation/AssetStore.h"
#include "depreciation/BatchRun.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/DateFormat.h"
#include "lib/Dialogs.h"
#include "platform/RadioGroup.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
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

RadioGroup *NamedGroup(const QString &name, const QString &caption, const QStringList &items,
                       QWidget *parent)
{
    auto *group = new RadioGroup(caption, items, parent);
    group->setObjectName(name);
    return group;
}

QPushButton *NamedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tkoushin::Tkoushin(engine::Database &dataDatabase, const QString &headerDatabase, QWidget *parent)
    : QDialog(parent), Panel1(new QFrame(this)),
      Label1(NamedLabel(QStringLiteral("Label1"), QStringLiteral("会計期首"), this)),
      DBText1(NamedLabel(QStringLiteral("DBText1"), QString(), this)),
      Label2(NamedLabel(QStringLiteral("Label2"),
                        QStringLiteral("この処理を実行すると、元には戻せませんので\n"
                                       "必ずバックアップコピーを取ってから実行してください。"),
                        this)),
      RadioGroup1(NamedGroup(QStringLiteral("RadioGroup1"), QStringLiteral("重要"),
                             {QStringLiteral("保護マーク”1”のあるデータは保護されます。"),
                              QStringLiteral("保護マークを無効にして購入時より再計算します。")},
                             this)),
      RadioGroup5(NamedGroup(
          QStringLiteral("RadioGroup5"), QStringLiteral("残価１円まで償却する方法"),
          {QStringLiteral("[ｱ] 税法に基づく計算"), QStringLiteral("[ｲ] 今までの償却額で単純償却"),
           QStringLiteral("[ｳ] 10%残存のままにする")},
          this)),
      RadioGroup2(NamedGroup(QStringLiteral("RadioGroup2"),
                             QStringLiteral("償却計算の選択（定額法のみ）"),
                             {QStringLiteral("[A] 耐用年数による計算"),
                              QStringLiteral("[B] 耐用年数省令別表による計算")},
                             this)),
      RadioGroup3(NamedGroup(QStringLiteral("RadioGroup3"), QStringLiteral("国庫補助金の残価率"),
                             {QStringLiteral("０円まで取崩"), QStringLiteral("10%を残す"),
                              QStringLiteral("新会計基準対応の取崩")},
                             this)),
      RadioGroup4(
          NamedGroup(QStringLiteral("RadioGroup4"), QStringLiteral("償却額の端数処理(定額法のみ)"),
                     {QStringLiteral("円未満四捨五入"), QStringLiteral("円未満切り捨て")}, this)),
      Label8(NamedLabel(QStringLiteral("Label8"),
                        QStringLiteral("[A]による計算は、償却期間で均等に償却します。\n"
                                       "[B]による計算は、償却率で計算します。\n"
                                       "定率法の場合は、耐用年数省令別表による計算になります。"),
                        this)),
      Label13(NamedLabel(QStringLiteral("Label13"),
                         QStringLiteral("営利事業の場合は[ｱ]を選択してください。\n"
                                        "[ｲ]は5年均等償却を行わないために早く償却が出来ます。\n"
                                        "ただし、この選択は定額法のみの適用です。"),
                         this)),
      Button1(NamedButton(QStringLiteral("Button1"), QStringLiteral("実　　行"), this)),
      BitBtn1(NamedButton(QStringLiteral("BitBtn1"), QStringLiteral("キャンセル"), this)),
      Gauge1(new QProgressBar(this)),
      Label14(NamedLabel(QStringLiteral("Label14"), QStringLiteral("　　　　　"), this)),
      Button2(
          NamedButton(QStringLiteral("Button2"), QStringLiteral("過年度の償却計算の固定化"), this)),
      m_data(dataDatabase), m_head(std::make_unique<engine::Table>())
{
    setObjectName(QStringLiteral("koushin"));
    setWindowTitle(QStringLiteral("減価償却の一括更新計算"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 1);
    Gauge1->setValue(0);
    Label2->setStyleSheet(QStringLiteral("background-color: yellow;"));
    Label2->setAutoFillBackground(true);
    RadioGroup1->setItemIndex(0);
    for (RadioGroup *shown : {RadioGroup5, RadioGroup2, RadioGroup3, RadioGroup4})
        shown->setEnabled(false);
    RadioGroup2->setToolTip(QStringLiteral("(A)を選択すると、均等な減価償却が出来ます。\n"
                                           "(B)は(企業会計など税務会計用に用意しています。"));
    Label14->setMinimumSize(40, 24);
    Button2->setVisible(false);

    m_head->setDatabaseName(headerDatabase);
    m_head->setTableName(QStringLiteral("HeadM"));

    buildLayout();
    Label14->installEventFilter(this);
    connect(Button1, &QPushButton::clicked, this, &Tkoushin::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &Tkoushin::Button2Click);
}

Tkoushin::~Tkoushin() = default;

void Tkoushin::buildLayout()
{
    auto *title =
        NamedLabel(QStringLiteral("PanelTitle"), QStringLiteral("減価償却の一括更新計算"), Panel1);
    QFont heading = title->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.4);
    heading.setBold(true);
    title->setFont(heading);
    auto *band = new QHBoxLayout(Panel1);
    band->addWidget(title);
    Panel1->setFrameShape(QFrame::StyledPanel);

    auto *start = new QHBoxLayout;
    start->addWidget(Label1);
    start->addWidget(DBText1);
    start->addStretch();

    auto *options = new QGridLayout;
    options->addWidget(RadioGroup5, 0, 0);
    options->addWidget(Label13, 0, 1);
    options->addWidget(RadioGroup2, 1, 0);
    options->addWidget(Label8, 1, 1);
    options->addWidget(RadioGroup3, 2, 0);
    options->addWidget(RadioGroup4, 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label14);
    buttons->addWidget(Button2);
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(start);
    layout->addWidget(Label2);
    layout->addWidget(RadioGroup1);
    layout->addLayout(options);
    layout->addWidget(Gauge1);
    layout->addLayout(buttons);
}

void Tkoushin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void Tkoushin::FormActivate()
{
    AppOptionsData &options = AppOptions();
    RadioGroup5->setItemIndex(options.ResidualMethod);
    RadioGroup2->setItemIndex(options.StraightLineBasis);
    RadioGroup3->setItemIndex(options.SubsidyResidual);
    RadioGroup4->setItemIndex(options.RoundingMode);
    try {
        m_head->open();
        m_head->first();
        const engine::Field &start = m_head->fieldByName(QStringLiteral("KisyuDate"));
        DBText1->setText(start.isNull()
                             ? QString()
                             : FormatDateTime(QStringLiteral("yyyy/mm/dd"), start.asDateTime()));
        options.TransitionYear = m_head->fieldByName(QStringLiteral("年度")).asInteger();
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
    }
}

void Tkoushin::FormClose()
{
    if (!m_head->active())
        return;
    try {
        if (!m_head->isEmpty()) {
            m_head->edit();
            m_head->fieldByName(QStringLiteral("PM1")).setAsInteger(RadioGroup5->itemIndex());
            m_head->fieldByName(QStringLiteral("PM2")).setAsInteger(RadioGroup2->itemIndex());
            m_head->fieldByName(QStringLiteral("PM3")).setAsInteger(RadioGroup3->itemIndex());
            m_head->fieldByName(QStringLiteral("PM4")).setAsInteger(RadioGroup4->itemIndex());
            m_head->post();
        }
    } catch (const engine::EngineError &error) {
        m_head->close();
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return;
    }
    m_head->close();
}

void Tkoushin::done(int result)
{
    FormClose();
    QDialog::done(result);
}

int Tkoushin::headerFiscalYear() const
{
    if (!m_head->active() || m_head->isEmpty())
        return AppOptions().FiscalYear;
    return YearOf(m_head->fieldByName(QStringLiteral("KisyuDate")).asDateTime());
}

void Tkoushin::showProgress(int index, int count)
{
    // A range of 0 to 0 would turn the bar into a busy indicator.
    const int last = qMax(count - 1, 1);
    if (Gauge1->maximum() != last)
        Gauge1->setRange(0, last);
    Gauge1->setValue(index);
}

void Tkoushin::Button1Click()
{
    AppOptionsData &options = AppOptions();
    options.ResidualMethod = RadioGroup5->itemIndex();
    options.StraightLineBasis = RadioGroup2->itemIndex();
    options.SubsidyResidual = RadioGroup3->itemIndex();
    options.RoundingMode = RadioGroup4->itemIndex();

    BatchRun run(m_data);
    run.setProgress([this](int index, int count) { showProgress(index, count); });
    BatchRun::Outcome outcome = BatchRun::Outcome::Stopped;
    try {
        outcome =
            run.run(RadioGroup1->itemIndex() == 1 ? BatchRun::Recalculate : BatchRun::Protect);
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return;
    }
    // Only a complete run closes the form; a stopped one leaves it open on
    // its message.
    if (outcome == BatchRun::Outcome::Completed)
        accept();
}

void Tkoushin::Button2Click()
{
    if (MessageDlg(
            QStringLiteral("この処理を実行すると、当年度までの償却計算を自動的に固定化します。"),
            DialogKind::Warning, {DialogButton::Yes, DialogButton::No}) != DialogButton::Yes)
        return;
    try {
        AssetStore(m_data.name()).fixYearsBefore(headerFiscalYear());
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
    }
}

void Tkoushin::Label14DblClick()
{
    Button2->setVisible(true);
}

bool Tkoushin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label14 && event->type() == QEvent::MouseButtonDblClick) {
        Label14DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qpn
