#include "app/Program.h"
#include "app/TDM.h"
#include "engine/Database.h"
#include "app/TMain.h"
#include "depreciation/Tkoushin.h"
#include "platform/ScriptedModals.h"
#include "register/MasterListForm.h"
#include "register/THead.h"
#include "tests/app/AppFixture.h"

#include <QPushButton>
#include <QDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

QPushButton *menuButton(TMain &main, const char *name)
{
    return main.findChild<QPushButton *>(QString::fromLatin1(name));
}

// The settings and calculation buttons open their forms through the modal seam.
TEST(Program, SettingsAndCalculationButtonsOpenTheirForms)
{
    test::WorkingFolder folder;
    test::MakeRegister(folder.path());
    Program program;
    program.dm().dataDatabase().setFolder(folder.filePath(QStringLiteral("QPNdata"))); // as start-up does

    for (const char *name : {"BitBtn2", "Button7"}) {
        QPushButton *button = menuButton(program.main(), name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }

    ScriptedModals modals;
    modals.expect(QStringLiteral("Head"), [](QDialog &dialog) { static_cast<THead &>(dialog).BitBtn1->click(); });
    modals.expect(QStringLiteral("koushin"),
                  [](QDialog &dialog) { static_cast<Tkoushin &>(dialog).BitBtn1->click(); });
    menuButton(program.main(), "BitBtn2")->click();
    menuButton(program.main(), "Button7")->click();
    EXPECT_EQ(modals.shown(), (QStringList{QStringLiteral("Head"), QStringLiteral("koushin")}));
    EXPECT_EQ(modals.pending(), 0);
}

// Each master-list button opens its list; the list's close button closes it.
TEST(Program, MasterListButtonsOpenTheirLists)
{
    test::WorkingFolder folder;
    test::MakeRegister(folder.path());
    Program program;
    program.dm().dataDatabase().setFolder(folder.filePath(QStringLiteral("QPNdata")));

    const std::pair<const char *, const char *> buttons[] = {
        {"Button2", "Tkamoku"}, {"Button3", "TBumon"},   {"Button4", "Tukeire"},
        {"Button10", "TMaster1"}, {"Button11", "TMaster2"}, {"Button16", "TMaster3"},
    };
    ScriptedModals modals;
    QStringList expected;
    for (const auto &[button, form] : buttons) {
        expected << QString::fromLatin1(form);
        modals.expect(QString::fromLatin1(form), [](QDialog &dialog) {
            dialog.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
        });
    }
    for (const auto &[button, form] : buttons)
        menuButton(program.main(), button)->click();
    EXPECT_EQ(modals.shown(), expected);
    EXPECT_EQ(modals.pending(), 0);
}

} // namespace
} // namespace qpn
