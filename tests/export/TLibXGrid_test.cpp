#include "engine/Table.h"
#include "export/TLibXGrid.h"
#include "lib/Cp932.h"
#include "platform/ScriptedDialogs.h"
#include "tests/export/ExportFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace qpn {
namespace {

class TLibXGridTest : public testing::TypesTableTest
{
protected:
    void SetUp() override
    {
        TypesTableTest::SetUp();
        addRow({1, 2, 8.5, QVariant::fromValue(Currency::fromYen(2500000)), QDate(2024, 4, 1), Null, QStringLiteral("机")});
        addRow({2, 1, Null, Null, Null, Null, QStringLiteral("他社\"A\"製")});
        m_table = openTable();
        m_table->fieldByName("Price").setDisplayFormat("#,#");
        m_grid.setDataset(*m_table, {{"ID", "登録番号"}, {"Name", "品名"}, {"Price", "取得価格."}});
        m_grid.settings().ExportFileName = path("TMP$$$.CSV");
    }
    QString workFile() const { return FromCp932(testing::ReadBytes(path("TMP$$$.CSV"))); }

    const QVariant Null;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<engine::Table> m_table;
    TLibXGrid m_grid;
};

TEST_F(TLibXGridTest, CopyCsvFileWritesWhatTheGridShows)
{
    m_grid.setColumnHidden(0, true);
    EXPECT_EQ(m_grid.CopyCsvFile(), 3);
    EXPECT_EQ(workFile(), QStringLiteral(",\"品名\",\"取得価格.\"\r\n,\"机\",\"2,500,000\"\r\n,\"他社\"\"A\"\"製\",\"\"\r\n"));
    EXPECT_TRUE(m_dialogs.texts().isEmpty());
}

TEST_F(TLibXGridTest, ClosedDatasetHasNothingToExport)
{
    m_table->close();
    EXPECT_EQ(m_grid.CopyCsvFile(), 0);
    EXPECT_EQ(m_dialogs.texts(), QStringList{"出力するデータがありません。"});
    m_grid.settings().ExportMessages = false;
    EXPECT_FALSE(m_grid.CopyExcel());
    EXPECT_EQ(m_dialogs.texts().size(), 1);
}

TEST_F(TLibXGridTest, CopyExcelWritesTheWorkbookBesideTheWorkFileAndOpensIt)
{
    QString opened;
    m_grid.setOpener([&opened](const QString &file) { opened = file; return true; });
    EXPECT_TRUE(m_grid.CopyExcel());
    EXPECT_EQ(opened, path("TMP$$$.xlsx"));
    const QString sheet = testing::ReadZipPart(opened, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<t>2,500,000</t>")) << sheet.toStdString(); // a "." title keeps text
}

TEST_F(TLibXGridTest, WithoutASpreadsheetProgramItSaysSoAndNamesTheWorkbook)
{
    m_grid.setOpener([](const QString &) { return false; });
    EXPECT_FALSE(m_grid.CopyExcel());
    ASSERT_EQ(m_dialogs.texts().size(), 1);
    EXPECT_EQ(m_dialogs.texts().first(),
              QStringLiteral("Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ が見つかりません。\r\n\r\nインストール後、再起動して下さい。\r\n")
                  + path("TMP$$$.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(path("TMP$$$.xlsx")));
}

TEST_F(TLibXGridTest, SelectingARowMovesTheDatasetAndPostsTheEdit)
{
    EXPECT_TRUE(m_grid.model()->setData(m_grid.model()->index(0, 1), "椅子"));
    m_grid.setCurrentIndex(m_grid.model()->index(1, 1));
    EXPECT_EQ(m_table->recNo(), 2);
    EXPECT_EQ(m_table->state(), engine::DatasetState::Browse);
    EXPECT_EQ(dump().first(), QStringLiteral("1|2|8.5|2500000|2024/04/01|<null>|椅子|<null>"));
    m_table->first();
    EXPECT_EQ(m_grid.currentIndex().row(), 0);
}

} // namespace
} // namespace qpn
