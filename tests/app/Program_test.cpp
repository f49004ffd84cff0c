#include "app/Program.h"
#include "app/TDM.h"
#include "engine/Database.h"
#include "app/TMain.h"
#include "depreciation/Tkoushin.h"
#include "platform/ScriptedModals.h"
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

} // namespace
} // namespace qpn
