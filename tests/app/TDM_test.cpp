#include "tests/app/AppFixture.h"

#include "app/TDM.h"
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "lib/AppOptions.h"
#include "tests/support/SupportPrinters.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace qpn {
namespace {

TEST(TDM, CreationTakesTheWorkingFolderAsBaseAndSetsUpTheSession)
{
    test::WorkingFolder folder;
    TDM dm;
    EXPECT_EQ(QDir(AppOptions().BaseFolder).canonicalPath(), QDir(folder.path()).canonicalPath());
    EXPECT_EQ(dm.baseDatabase().name(), QStringLiteral("WWW"));
    EXPECT_EQ(QDir(dm.baseDatabase().folder()).canonicalPath(), QDir(folder.path()).canonicalPath());
    EXPECT_EQ(dm.dataDatabase().name(), QStringLiteral("AAA"));
    EXPECT_EQ(dm.session().name(), QStringLiteral("BBB"));
    EXPECT_EQ(dm.session().lockRetryCount(), 15);
    EXPECT_EQ(dm.session().lockWaitMs(), 100);
    EXPECT_EQ(dm.session().privateFolder(), TDM::privateFolderPath());
    EXPECT_TRUE(QFileInfo(TDM::privateFolderPath()).isDir());
    EXPECT_TRUE(dm.privateFolderPath().startsWith(QDir::toNativeSeparators(QDir::tempPath())));
    EXPECT_EQ(TDM::instance(), &dm);
    for (const engine::Table *table : {dm.HeadM, dm.kamokuTB, dm.BumonTB, dm.UkeireTB, dm.RegistTB})
        EXPECT_FALSE(table->active()) << table->tableName().toStdString();
}

TEST(TDM, PeriodCaptionsFollowTheModeAndSurviveReopening)
{
    test::WorkingFolder folder;
    test::MakeRegister(folder.path(), {{"KisyuDate", QDate(2019, 4, 1)}, {"KimatuDate", QDate(2020, 3, 31)}});
    TDM dm;
    engine::Table &head = *dm.HeadM;
    head.open();
    EXPECT_EQ(head.fieldByName("KisyuDate").displayText(), QStringLiteral("2019 年  04 月 01 日 "));
    head.close();

    dm.SetPeriodCaptions(1);
    EXPECT_FALSE(head.active()) << "a closed table is left closed";
    head.open();
    EXPECT_EQ(head.fieldByName("KisyuDate").displayText(), QStringLiteral("(自)2019年 4月 1日"));
    EXPECT_EQ(head.fieldByName("KimatuDate").displayText(), QStringLiteral("2020年3月31日"));

    dm.SetPeriodCaptions(0);
    EXPECT_TRUE(head.active()) << "an open table stays open";
    EXPECT_EQ(head.fieldByName("KimatuDate").displayText(), QStringLiteral("(至)2020年 3月31日"));
    head.close();
    head.open();
    EXPECT_EQ(head.fieldByName("KimatuDate").displayText(), QStringLiteral("(至)2020年 3月31日"));
    head.close();
}

} // namespace
} // namespace qpn
