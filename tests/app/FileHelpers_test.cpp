#include "app/Mylib.h"
#include "app/PasswordRule.h"
#include "platform/ScriptedDialogs.h"
#include "tests/support/SupportPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

TEST(RemoveSpaces, RemovesHalfAndFullWidthSpacesAnywhere)
{
    const struct
    {
        const char *text;
        const char *expected;
    } cases[] = {
        {"  　 　", ""},
        {"社会福祉法人　ほどほど 会 ", "社会福祉法人ほどほど会"},
        {"", ""},
        {"ＡＢＣ", "ＡＢＣ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RemoveSpaces(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
}

TEST(ForceFolder, CreatesEveryPrefixThatEndsInASeparator)
{
    const struct
    {
        const char *path;
        bool created;
        QStringList existing; // afterwards
        QStringList absent;
    } cases[] = {
        {"a/b", true, {"a"}, {"a/b"}},
        {"c/d/", true, {"c", "c/d"}, {}},
        {"e/", true, {"e"}, {}},
        {"e/", false, {"e"}, {}}, // already there
        {"e/f/g/", true, {"e/f", "e/f/g"}, {}},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ForceFolder(dir.path() + QLatin1Char('/') + QString::fromUtf8(c.path)), c.created);
        for (const QString &folder : c.existing)
            EXPECT_TRUE(QFileInfo(dir.filePath(folder)).isDir()) << folder.toStdString();
        for (const QString &folder : c.absent)
            EXPECT_FALSE(QFileInfo::exists(dir.filePath(folder))) << folder.toStdString();
    }
}

TEST(ForceFolder, AFileInTheWayCreatesNothing)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("QPNdata")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(ForceFolder(dir.filePath(QStringLiteral("QPNdata/"))));
}

TEST(CopyFolder, CopiesIntoTheDestinationItCreatesAndAnswersByItsExistence)
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("APP/QPNdata"))));
    QFile file(dir.filePath(QStringLiteral("APP/HeadM.DAT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("head");
    file.close();

    EXPECT_TRUE(CopyFolder(nullptr, dir.filePath(QStringLiteral("APP")), dir.filePath(QStringLiteral("bk/2019"))));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("bk/2019/APP/HeadM.DAT"))).isFile());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("bk/2019/APP/QPNdata"))).isDir());

    // A destination that cannot be made answers no.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_FALSE(CopyFolder(nullptr, dir.filePath(QStringLiteral("APP")), dir.filePath(QStringLiteral("blocked/x"))));
}

TEST(DownloadFile, AnswersNoWhenNothingArrives)
{
    QTemporaryDir dir;
    EXPECT_FALSE(DownloadFile(QStringLiteral("http://127.0.0.1:1/dload.exe"), dir.filePath(QStringLiteral("d"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("d"))));
}

TEST(PasswordRule, StoredPasswordsAreComparedAsFourDigits)
{
    const struct
    {
        int pm5;
        const char *typed;
        bool accepted;
    } cases[] = {
        {0, "8362", true},  {0, "0000", false}, {123, "0123", true}, {123, "123", false},
        {4567, "4567", true}, {4567, "8362", false}, {4567, "3048", true}, {0, "3048", true},
        {8362, "8362", true}, {4567, "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PasswordAccepted(StoredPassword(c.pm5), QString::fromUtf8(c.typed)), c.accepted)
            << c.pm5 << " / " << c.typed;
    EXPECT_EQ(StoredPassword(7), QStringLiteral("0007"));
}

} // namespace
} // namespace qpn
