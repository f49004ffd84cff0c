#include "tests/app/AppFixture.h"

#include "app/TPW.h"
#include "app/TSetUphoujinmei.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "lib/DateValue.h"
#include "platform/ScriptedDialogs.h"
#include "platform/ScriptedModals.h"
#include "tests/support/SupportPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qpn {
namespace {

using test::HeaderValue;
using test::MakeRegister;
using test::ProgramRig;
using test::RowCount;
using test::WorkingFolder;
using B = DialogButton;
using Outcome = StartUp::Outcome;

const QString AccountQuestion = QStringLiteral(
    "社会福祉法人の場合は はい[Y] を選択してください。それ以外の学校法人・公益法人等は いいえ[N] を選んでください。"
    "\n\r科目区分は後で修正が出来ます。");

// Types the password (or leaves the pre-filled text) and presses OK.
ScriptedModals::Step typePassword(const QString *typed)
{
    return [typed](QDialog &dialog) {
        auto &prompt = static_cast<TPW &>(dialog);
        EXPECT_EQ(prompt.Edit1->text(), QStringLiteral("8362"));
        if (typed)
            prompt.Edit1->setText(*typed);
        prompt.BitBtn1->click();
    };
}

TEST(StartUp, BrandNewInstallationAsksAccountsPasswordAndName)
{
    WorkingFolder folder;
    folder.addProgramFile();
    ProgramRig rig;
    ScriptedDialogs dialogs;
    dialogs.answer(B::No); // school and public-interest accounts
    ScriptedModals modals;
    modals.expect(QStringLiteral("PW"), [](QDialog &dialog) {
        auto &prompt = static_cast<TPW &>(dialog);
        EXPECT_EQ(prompt.windowTitle(), QStringLiteral("ユーザーパスワード入力"));
        EXPECT_EQ(prompt.Edit1->text(), QStringLiteral("8362"));
        EXPECT_EQ(prompt.Edit1->maxLength(), 4);
        EXPECT_EQ(prompt.Edit1->echoMode(), QLineEdit::Password);
        prompt.BitBtn1->click();
    });
    modals.expect(QStringLiteral("SetUphoujinmei"), [](QDialog &dialog) {
        auto &form = static_cast<TSetUphoujinmei &>(dialog);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("法人名の登録"));
        form.DBEdit2->setText(QStringLiteral(" 　 "));
        form.Button1->click();
        EXPECT_TRUE(form.isVisible()) << "a name of spaces must keep the form open";
        form.reject(); // Escape
        EXPECT_TRUE(form.isVisible());
        form.DBEdit2->setText(QStringLiteral("学校法人　ほどほど学園 "));
        form.Button1->click();
    });

    EXPECT_EQ(rig.startUp.run(), Outcome::Done);
    EXPECT_EQ(dialogs.texts(), QStringList{AccountQuestion});
    EXPECT_EQ(modals.pending(), 0);
    EXPECT_EQ(RowCount(folder.filePath("QPNdata"), "kamoku"), 8);
    EXPECT_EQ(RowCount(folder.filePath("QPNdata"), "Bumon"), 3);
    EXPECT_EQ(HeaderValue(folder.path(), "meisyou").toString(), QStringLiteral("学校法人　ほどほど学園 "));
    EXPECT_EQ(AppOptions().CorporationName, QStringLiteral("学校法人　ほどほど学園 "));
    EXPECT_EQ(rig.main.L1->text(), QStringLiteral("学校法人　ほどほど学園 "));
    EXPECT_EQ(rig.main.L3->text(), QStringLiteral("最新更新日2019年04月08日"));
    EXPECT_EQ(rig.main.Edit1->text(), QStringLiteral("1899年12月30日"));
    EXPECT_FALSE(rig.startUp.armed());
    EXPECT_EQ(AppOptions().ProductStamp, QStringLiteral("QPN2"));
    EXPECT_EQ(QDir(AppOptions().DataFolder).canonicalPath(), QDir(folder.filePath("QPNdata")).canonicalPath());
    EXPECT_FALSE(rig.dm.HeadM->active()) << "no table stays open after start-up";

    // Activated again after a form closes: nothing is asked or shown again.
    rig.main.FormActivate();
    EXPECT_EQ(rig.startUp.run(), Outcome::Skipped);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(modals.shown().size(), 2);
}

TEST(StartUp, PasswordsAreCheckedAgainstTheStoredOne)
{
    struct Case
    {
        const char *name;
        QVariant pm5;
        const char *typed = nullptr; // nullptr: OK on the pre-filled text
        bool closeBox = false;
        bool admitted = true;
    };
    const Case cases[] = {
        {"never set, pre-filled", QVariant()},
        {"0 is never set", 0},
        {"0 refuses its own digits", 0, "0000", false, false},
        {"123 as 0123", 123, "0123"},
        {"123 typed short", 123, "123", false, false},
        {"maintenance code", 4567, "3048"},
        {"wrong", 4567, "4568", false, false},
        {"default no longer valid once set", 4567, nullptr, false, false},
        {"close box takes the text", QVariant(), nullptr, true, true},
        {"close box with a set password", 4567, nullptr, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WorkingFolder folder;
        folder.addProgramFile();
        MakeRegister(folder.path(), {{"meisyou", QStringLiteral("社会福祉法人　ほどほど会")}, {"PM5", c.pm5}});
        ProgramRig rig;
        ScriptedDialogs dialogs;
        ScriptedModals modals;
        const QString typed = c.typed ? QString::fromUtf8(c.typed) : QString();
        modals.expect(QStringLiteral("PW"), [&](QDialog &dialog) {
            auto &prompt = static_cast<TPW &>(dialog);
            if (c.typed)
                prompt.Edit1->setText(typed);
            if (c.closeBox)
                prompt.close();
            else
                prompt.BitBtn1->click();
        });
        const Outcome outcome = rig.startUp.run();
        EXPECT_EQ(outcome, c.admitted ? Outcome::Done : Outcome::Ended);
        EXPECT_TRUE(dialogs.messages().isEmpty()) << "a wrong password ends without a word";
        EXPECT_EQ(rig.startUp.armed(), !c.admitted);
        if (!c.admitted) {
            EXPECT_EQ(rig.startUp.exitCode(), 0);
        }
    }
}

TEST(StartUp, OptionsAndFiscalPeriodComeFromTheHeaderRow)
{
    WorkingFolder folder;
    folder.addProgramFile();
    MakeRegister(folder.path(), {{"meisyou", QStringLiteral("社会福祉法人　ほどほど会")},
                                 {"KisyuDate", QDate(2019, 4, 1)},
                                 {"KimatuDate", QDate(2020, 3, 31)},
                                 {"PM1", 2}, {"PM2", 1}, {"PM3", 2}, {"PM4", 1}, {"PM5", 1234}, {"PM6", 1},
                                 {"PM8", 1}});
    ProgramRig rig;
    ScriptedDialogs dialogs;
    ScriptedModals modals;
    const QString typed = QStringLiteral("1234");
    modals.expect(QStringLiteral("PW"), typePassword(&typed));
    bool checked = false;
    rig.startUp.setUpdateCheck([&](const QString &programFile) {
        checked = true;
        EXPECT_EQ(programFile, StartUp::ProgramFileName(QStringLiteral("QPN2")));
        return true;
    });

    ASSERT_EQ(rig.startUp.run(), Outcome::Done);
    const AppOptionsData &options = AppOptions();
    EXPECT_EQ(options.FiscalStart, EncodeDate(2019, 4, 1));
    EXPECT_EQ(options.FiscalEnd, EncodeDate(2020, 3, 31));
    EXPECT_EQ(options.FiscalYear, 2019);
    EXPECT_EQ(options.FiscalMonth, 4);
    EXPECT_EQ(options.FiscalDay, 1);
    EXPECT_EQ(options.ResidualMethod, 2);
    EXPECT_EQ(options.StraightLineBasis, 1);
    EXPECT_EQ(options.SubsidyResidual, 2);
    EXPECT_EQ(options.RoundingMode, 1);
    EXPECT_EQ(options.EraDisplay, 1);
    EXPECT_EQ(options.DisposalMonthly, 1);
    EXPECT_EQ(rig.main.Edit1->text(), QStringLiteral("2019年04月01日"));
    EXPECT_TRUE(checked);
    EXPECT_FALSE(rig.main.Label7->isHidden());
}

// A main window whose header table disappears while the update date is
// shown, between reading the header values and checking the table.
class VanishingHeaderView final : public StartUpView
{
public:
    explicit VanishingHeaderView(QString file) : m_file(std::move(file)) {}
    void showUpdateDate(const QString &) override { QFile::remove(m_file); }
    void showCorporationName(const QString &) override {}
    void showFiscalStart(const QString &) override {}
    void showUpdateNotice() override {}
    QWidget *window() override { return nullptr; }

private:
    QString m_file;
};

TEST(StartUp, EachExitShowsItsMessageAndEndsTheProgram)
{
    {
        SCOPED_TRACE("data folder cannot be made");
        WorkingFolder folder;
        folder.addProgramFile();
        QFile blocker(folder.filePath("QPNdata"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        ProgramRig rig;
        ScriptedDialogs dialogs;
        EXPECT_EQ(rig.startUp.run(), Outcome::Ended);
        EXPECT_EQ(dialogs.texts(), QStringList{"データフォルダが作成できませんでしたので、終了します。"});
        EXPECT_FALSE(QFileInfo::exists(folder.filePath("HeadM.DAT")));
    }
    {
        SCOPED_TRACE("started from another working folder without the program file");
        WorkingFolder folder;
        ProgramRig rig;
        ScriptedDialogs dialogs;
        dialogs.answer(B::Yes);
        EXPECT_EQ(rig.startUp.run(), Outcome::Ended);
        EXPECT_EQ(dialogs.texts(),
                  (QStringList{AccountQuestion, "実行プログラムのファイル名が変更されているために実行できません。\r\n"
                                                "ファイル名を　QPN2 に戻して実行してください。"}));
        EXPECT_EQ(rig.startUp.exitCode(), 1);
        // The new, empty register was made before the check.
        EXPECT_TRUE(QFileInfo(folder.filePath("HeadM.DAT")).isFile());
        EXPECT_EQ(RowCount(folder.filePath("QPNdata"), "kamoku"), 10);
        EXPECT_EQ(RowCount(folder.path(), "HeadM"), 0);
        EXPECT_EQ(rig.main.L3->text(), QStringLiteral("最新更新日2019年04月08日")); // shown just before the check
        EXPECT_TRUE(rig.main.L1->text().isEmpty());
    }
    {
        SCOPED_TRACE("header table gone");
        WorkingFolder folder;
        folder.addProgramFile();
        MakeRegister(folder.path());
        TDM dm;
        SchemaMaker maker;
        TPassChk passChk(dm);
        VanishingHeaderView view(folder.filePath("HeadM.DAT"));
        StartUp startUp(dm, maker, passChk, view);
        ScriptedDialogs dialogs;
        EXPECT_EQ(startUp.run(), Outcome::Ended);
        EXPECT_EQ(dialogs.texts(), QStringList{"実行できる環境ではありませんので、終了します。"});
        EXPECT_EQ(startUp.exitCode(), 1);
    }
    {
        SCOPED_TRACE("an engine failure while making the tables");
        WorkingFolder folder;
        folder.addProgramFile();
        QDir().mkpath(folder.filePath("QPNdata"));
        QFile damaged(folder.filePath("QPNdata/daicyoA.DAT"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("this is not a table");
        damaged.close();
        ProgramRig rig;
        ScriptedDialogs dialogs;
        EXPECT_EQ(rig.startUp.run(), Outcome::Ended);
        ASSERT_EQ(dialogs.messages().size(), 1);
        EXPECT_EQ(dialogs.messages().first().kind, DialogKind::Error);
        EXPECT_TRUE(dialogs.messages().first().text.contains("daicyoA")) << dialogs.texts().join("|").toStdString();
    }
}

TEST(StartUp, ShowingTheMainWindowRunsTheStartUpOnceAndReportsTheEnd)
{
    WorkingFolder folder;
    ProgramRig rig;
    rig.main.setStartUp(&rig.startUp);
    ScriptedDialogs dialogs;
    dialogs.answer(B::Yes);
    QList<int> ended;
    QObject::connect(&rig.main, &TMain::programEnded, [&](int code) { ended << code; });
    rig.main.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(ended, QList<int>{1});
    EXPECT_EQ(dialogs.messages().size(), 2);

    // Activations before the program has gone start nothing again.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&rig.main, &activate);
    QCoreApplication::processEvents();
    rig.main.FormActivate();
    EXPECT_EQ(ended, QList<int>{1});
    EXPECT_EQ(dialogs.messages().size(), 2);
    rig.main.close();
}

} // namespace
} // namespace qpn
