#include "platform/CopyProgress.h"
#include "platform/FolderCopier.h"
#include "platform/ScriptedDialogs.h"
#include "tests/support/SupportPrinters.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

using B = DialogButton;

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class FolderCopierTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        writeFile(path("APP/HeadM.DAT"), "head");
        writeFile(path("APP/QPNdata/daicyoA.DAT"), "assets");
        writeFile(path("APP/QPNdata/kamoku.DAT"), "accounts");
        QDir().mkpath(path("APP/empty"));
    }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
};

TEST_F(FolderCopierTest, FolderLandsInASubfolderOfTheSameNameWithItsTreeAndDates)
{
    const QDateTime stamp(QDate(2019, 4, 1), QTime(10, 0, 2));
    QFile headM(path("APP/HeadM.DAT"));
    ASSERT_TRUE(headM.open(QIODevice::ReadWrite));
    ASSERT_TRUE(headM.setFileTime(stamp, QFileDevice::FileModificationTime));
    headM.close();

    FolderCopier copier(m_dialogs);
    const auto result = copier.copy(path("APP"), path("bk/new/"));
    EXPECT_EQ(result.filesCopied, 3);
    EXPECT_EQ(result.errors, 0);
    EXPECT_EQ(readFile(path("bk/new/APP/HeadM.DAT")), "head");
    EXPECT_EQ(readFile(path("bk/new/APP/QPNdata/daicyoA.DAT")), "assets");
    EXPECT_TRUE(QFileInfo(path("bk/new/APP/empty")).isDir());
    EXPECT_EQ(QFileInfo(path("bk/new/APP/HeadM.DAT")).lastModified(), stamp);
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

TEST_F(FolderCopierTest, ExistingFilesAreReplacedOnlyAsAnswered)
{
    struct Case
    {
        const char *name;
        QList<B> answers;
        QByteArray head, assets, accounts; // afterwards, in the destination
        int questions;
        bool cancelled = false;
    };
    // Files are copied in the order HeadM, daicyoA, kamoku.
    const Case cases[] = {
        {"yes each", {B::Yes, B::Yes, B::Yes}, "head", "assets", "accounts", 3},
        {"no keeps", {B::No, B::Yes, B::No}, "old", "assets", "old", 3},
        {"yes to all asks once", {B::YesToAll}, "head", "assets", "accounts", 1},
        {"cancel stops", {B::Yes, B::Cancel}, "head", "old", "old", 2, true},
        {"closing the box stops", {B::Close}, "old", "old", "old", 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(path("bk")).removeRecursively();
        for (const char *file : {"bk/APP/HeadM.DAT", "bk/APP/QPNdata/daicyoA.DAT", "bk/APP/QPNdata/kamoku.DAT"})
            writeFile(path(file), "old");
        ScriptedDialogs dialogs;
        for (const B answer : c.answers)
            dialogs.answer(answer);
        FolderCopier copier(dialogs);
        const auto result = copier.copy(path("APP"), path("bk"));
        EXPECT_EQ(readFile(path("bk/APP/HeadM.DAT")), c.head);
        EXPECT_EQ(readFile(path("bk/APP/QPNdata/daicyoA.DAT")), c.assets);
        EXPECT_EQ(readFile(path("bk/APP/QPNdata/kamoku.DAT")), c.accounts);
        EXPECT_EQ(dialogs.messages().size(), c.questions);
        EXPECT_EQ(result.cancelled, c.cancelled);
        EXPECT_EQ(dialogs.pending(), 0);
        EXPECT_EQ(dialogs.messages().first().text,
                  FolderCopier::overwriteQuestion(QDir(path("bk/APP")).absoluteFilePath("HeadM.DAT")));
    }
}

TEST_F(FolderCopierTest, CopyIntoItsOwnSubfolderDoesNotRecurse)
{
    FolderCopier copier(m_dialogs);
    EXPECT_EQ(copier.copy(path("APP"), path("APP/backup")).filesCopied, 3);
    m_dialogs.answer(B::YesToAll);
    EXPECT_EQ(copier.copy(path("APP"), path("APP/backup")).filesCopied, 3); // the earlier copy is left out
    EXPECT_EQ(readFile(path("APP/backup/APP/QPNdata/kamoku.DAT")), "accounts");
    EXPECT_FALSE(QFileInfo::exists(path("APP/backup/APP/backup")));
}

TEST_F(FolderCopierTest, PatternsCopyEachMatchIntoTheDestination)
{
    FolderCopier copier(m_dialogs);
    const auto result = copier.copy(path("APP/QPNdata/*.DAT"), path("flat"));
    EXPECT_EQ(result.filesCopied, 2);
    EXPECT_EQ(readFile(path("flat/kamoku.DAT")), "accounts");
    EXPECT_EQ(QDir(path("flat")).entryList(QDir::Files), (QStringList{"daicyoA.DAT", "kamoku.DAT"}));
}

TEST_F(FolderCopierTest, FailuresAreReportedAndTheCopyGoesOn)
{
    QDir().mkpath(path("bk/APP/HeadM.DAT")); // a folder where a file should go
    FolderCopier copier(m_dialogs);
    const auto result = copier.copy(path("APP"), path("bk"));
    EXPECT_EQ(result.errors, 1);
    EXPECT_EQ(result.filesCopied, 2);
    ASSERT_EQ(m_dialogs.messages().size(), 1);
    EXPECT_EQ(m_dialogs.messages().first().kind, DialogKind::Error);

    const auto missing = copier.copy(path("nothing-here"), path("bk"));
    EXPECT_EQ(missing.errors, 1);
    EXPECT_EQ(m_dialogs.messages().size(), 2);
}

class CancelAfterFirstChunk final : public CopyProgress
{
public:
    void start(qint64 total) override { m_total = total; }
    bool advance(qint64, const QString &) override { return false; }
    void finish() override { m_finished = true; }
    qint64 m_total = -1;
    bool m_finished = false;
};

TEST_F(FolderCopierTest, CancelledProgressLeavesNoHalfFileBehind)
{
    writeFile(path("bk/APP/HeadM.DAT"), "old");
    m_dialogs.answer(B::Yes);
    CancelAfterFirstChunk progress;
    FolderCopier copier(m_dialogs, &progress);
    const auto result = copier.copy(path("APP"), path("bk"));
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(progress.m_total, 4 + 6 + 8);
    EXPECT_TRUE(progress.m_finished);
    EXPECT_EQ(readFile(path("bk/APP/HeadM.DAT")), "old");
    EXPECT_FALSE(QFileInfo::exists(path("bk/APP/QPNdata/daicyoA.DAT")));
}

} // namespace
} // namespace qpn
