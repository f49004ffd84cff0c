#include "app/DoubleClickLabel.h"
#include "app/QpnApplication.h"
#include "app/TMain.h"
#include "engine/EngineError.h"
#include "lib/AppOptions.h"
#include "platform/ScriptedDialogs.h"
#include "tests/support/SupportPrinters.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace qpn {
namespace {

TEST(TMain, CarriesEveryMenuControlWithItsCaptionOnItsPage)
{
    TMain main;
    const struct
    {
        const char *name;
        const char *caption;
        int page;
    } controls[] = {
        {"BitBtn2", "初期設定", 0},
        {"Button3", "部 門 登 録", 0},
        {"Button2", "科　目　登　録", 0},
        {"Button4", "購 入 先 登 録", 0},
        {"Button10", "区　　分　　１", 0},
        {"Button11", "区　　分　　２", 0},
        {"Button16", "区　　分　　３", 0},
        {"BitBtn5", "データテーブルの修復", 0},
        {"BitBtn4", "旧バージョンからのデータ変換", 0},
        {"BitBtn1", "資産登録", 1},
        {"Button7", "一括更新計算", 1},
        {"Button1", "資産台帳一覧表", 1},
        {"Button12", "資産増加表", 1},
        {"Button13", "資産減少表", 1},
        {"Button14", "固定資産集計表", 1},
        {"Button6", "単票連続印刷", 1},
        {"Button5", "廃棄資産一覧表", 1},
        {"Button8", "固定資産ラベル", 1},
        {"Button15", "什器備品（消耗物品）台帳", 1},
        {"BitBtn8", "バックアップコピー", 1},
        {"BitBtn3", "閉じる(&C)", 1},
        {"BtnHP", "HPを開く", 1},
        {"BtnUP", "バージョンアップ", 1},
        {"BtnREM", "リモートメンテナンス", 1},
        {"Panel2", "操作説明書", 1},
        {"Panel3", "平成19年法令改正に対応", 1},
        {"Panel4", "平成23年法令改正に対応", 1},
        {"Panel5", "社福別表３(⑧)の帳票作成", 1},
    };
    const QWidget *pages[] = {main.TabSheet1, main.TabSheet2};
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        const auto *button = main.findChild<QPushButton *>(QString::fromLatin1(c.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(c.caption));
        EXPECT_TRUE(pages[c.page]->isAncestorOf(button));
        // Nothing is wired in a bare main window but the close button.
        EXPECT_EQ(button->isEnabled(), QLatin1String(c.name) == QLatin1String("BitBtn3"));
    }
    EXPECT_EQ(main.menuControlNames().size(), std::size(controls));
    EXPECT_TRUE(main.PanelHP->isAncestorOf(main.BtnUP));

    EXPECT_EQ(main.windowTitle(), QStringLiteral("Main"));
    EXPECT_EQ(main.Title->text(), QStringLiteral("ほどほど固定資産台帳Ｖ３"));
    EXPECT_EQ(main.PageControl1->tabText(0), QStringLiteral("初期設定メニュー"));
    EXPECT_EQ(main.PageControl1->tabText(1), QStringLiteral("メインメニュー"));
    EXPECT_EQ(main.PageControl1->currentWidget(), main.TabSheet2);
    EXPECT_EQ(main.Label4->text(), QStringLiteral("期首期日"));
    EXPECT_TRUE(main.Edit1->isReadOnly());
    EXPECT_EQ(main.Label6->text(), QStringLiteral("購入先及び、区分1.2.3は独自の物品管理としてご自由にお使いください。\n"
                                                  "帳票や集計計算には出ませんが、CSV出力には出ます。"));
    EXPECT_EQ(main.Label7->text(), QStringLiteral("システムが更新されています。\nバージョンアップをしてください。"));
    EXPECT_TRUE(main.Label7->isHidden());
    EXPECT_TRUE(main.BitBtn4->isHidden());
}

TEST(TMain, DoubleClickOnLabel5ShowsTheConversionButton)
{
    TMain main;
    main.show();
    main.PageControl1->setCurrentWidget(main.TabSheet1);
    QTest::mouseDClick(main.Label5, Qt::LeftButton);
    EXPECT_FALSE(main.BitBtn4->isHidden());
    main.close();
}

TEST(TMain, ActionsOpenTheirFormsAndReportButtonsSetKindAndTitle)
{
    AppOptions() = AppOptionsData{};
    TMain main;
    QStringList opened;
    bool disabledWhileOpen = false;
    for (const char *name : {"Button7", "Button12", "Button13"})
        main.setMenuAction(QString::fromLatin1(name), [&, name] {
            opened << QStringLiteral("%1:%2:%3").arg(name).arg(AppOptions().ReportKind).arg(AppOptions().ReportTitle);
            disabledWhileOpen = !main.menuButton(QString::fromLatin1(name))->isEnabled();
        });
    main.Button7->click();
    EXPECT_FALSE(disabledWhileOpen);
    main.Button12->click();
    EXPECT_TRUE(disabledWhileOpen);
    main.Button13->click();
    EXPECT_EQ(opened, (QStringList{"Button7:0:", "Button12:1:資産増加表", "Button13:2:資産減少表"}));
    EXPECT_TRUE(main.Button12->isEnabled());
    EXPECT_FALSE(main.Button14->isEnabled());

    // A failing form still gives its button back.
    main.setMenuAction(QStringLiteral("Button12"), [] { throw std::runtime_error("boom"); });
    EXPECT_THROW(main.Button12Click(), std::runtime_error);
    EXPECT_TRUE(main.Button12->isEnabled());
}

TEST(TMain, SettingsButtonRefreshesTheFiscalStartAfterItsForm)
{
    AppOptions() = AppOptionsData{};
    TMain main;
    main.setMenuAction(QStringLiteral("BitBtn2"), [] { AppOptions().setFiscalStart(EncodeDate(2021, 10, 1)); });
    main.BitBtn2->click();
    EXPECT_EQ(main.Edit1->text(), QStringLiteral("2021年10月01日"));
    AppOptions() = AppOptionsData{};
}

TEST(TMain, CloseButtonClosesTheWindow)
{
    TMain main;
    main.show();
    main.BitBtn3->click();
    EXPECT_FALSE(main.isVisible());
}

TEST(QpnApplication, UnhandledFailuresShowTheirMessageInOneErrorBox)
{
    ScriptedDialogs dialogs;
    try {
        throw engine::EngineError(QStringLiteral("Record in the table 'daicyoA' is in use by another user"));
    } catch (...) {
        QpnApplication::showCurrentException();
    }
    try {
        throw std::runtime_error("何か");
    } catch (...) {
        QpnApplication::showCurrentException();
    }
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages().at(0).kind, DialogKind::Error);
    EXPECT_EQ(dialogs.messages().at(0).text, QStringLiteral("Record in the table 'daicyoA' is in use by another user"));
    EXPECT_EQ(dialogs.messages().at(1).text, QStringLiteral("何か"));
}

} // namespace
} // namespace qpn
