#include "export/GridWorkbook.h"
#include "tests/export/ExportFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

using testing::ReadZipPart;

TEST(ExportSettings, ColumnLetters)
{
    struct Case { int column; const char *letters; };
    const Case cases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {28, "AB"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}};
    for (const auto &c : cases)
        EXPECT_EQ(ColumnLetters(c.column), QString::fromLatin1(c.letters)) << c.column;
}

TEST(ExportSettings, WorkFileGoesIntoTheCsvFolderWhenThereIsOne)
{
    QTemporaryDir dir;
    EXPECT_EQ(ExportWorkFilePath(dir.path()), QDir(dir.path()).filePath("TMP$$$.CSV"));
    QDir(dir.path()).mkdir("CSV");
    EXPECT_EQ(ExportWorkFilePath(dir.path()), QDir(dir.path()).filePath("CSV/TMP$$$.CSV"));
}

TEST(ExportSettings, ColoursSwapToRgb)
{
    EXPECT_EQ(ExportColorToRgb(0x0000FF), 0xFF0000u);
    EXPECT_EQ(ExportColorToRgb(0x123456), 0x563412u);
}

TEST(GridWorkbook, SheetNameSuffixesAccumulate)
{
    EXPECT_EQ(GridWorkbook::uniqueSheetName("一覧", {}), QStringLiteral("一覧"));
    EXPECT_EQ(GridWorkbook::uniqueSheetName("一覧", {"一覧", "一覧(2)"}), QStringLiteral("一覧(2)(3)"));
}

TEST(GridWorkbook, SpreadsheetReadsNumbersDatesAndKeepsCodesAsText)
{
    struct Case { const char *field; SheetValue::Kind kind; double number = 0; const char *format = ""; };
    const Case cases[] = {
        {"2,500,000", SheetValue::Kind::Number, 2500000, "#,##0"},
        {"-12.5", SheetValue::Kind::Number, -12.5},
        {"0", SheetValue::Kind::Number, 0},
        {"007", SheetValue::Kind::Text},
        {"2024/04/01", SheetValue::Kind::Date, 45383, "yyyy/mm/dd"},
        {"2024/02/30", SheetValue::Kind::Text},
        {"1,23", SheetValue::Kind::Text},
        {"", SheetValue::Kind::Blank},
    };
    for (const auto &c : cases) {
        const auto value = SheetValue::fromCsvField(QString::fromUtf8(c.field));
        EXPECT_EQ(value.kind, c.kind) << c.field;
        EXPECT_EQ(value.number, c.number) << c.field;
        EXPECT_EQ(value.numberFormat, QString::fromUtf8(c.format)) << c.field;
    }
}

class GridWorkbookFile : public ::testing::Test
{
protected:
    QString write(const QString &csv, int columns, int lines, const ExportSettings &settings = {})
    {
        const QString path = QDir(m_dir.path()).filePath("TMP$$$.xlsx");
        GridWorkbook::write(csv, columns, lines, settings, path);
        return path;
    }
    QTemporaryDir m_dir;
};

const QString Csv = QStringLiteral("\"登録番号\",\"品名\",\"管理番号.\"\r\n"
                                   "\"1\",\"他社\"\"A\"\"製\",\"007\"\r\n"
                                   "\"2\",\"机\r\n二段\",\"2,500,000\"\r\n");

TEST_F(GridWorkbookFile, ValuesTitlesAndTextColumns)
{
    const QString path = write(Csv, 3, 3);
    const QString sheet = ReadZipPart(path, "xl/worksheets/sheet1.xml");
    const QString styles = ReadZipPart(path, "xl/styles.xml");
    EXPECT_TRUE(sheet.contains("<t>登録番号</t>")) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("<t>他社\"A\"製</t>"));
    EXPECT_TRUE(sheet.contains(QRegularExpression("<c r=\"A2\"[^>]*><v>1</v>")));
    // The column titled "管理番号." keeps its data as text, even what looks like a number.
    EXPECT_TRUE(sheet.contains("<t>007</t>"));
    EXPECT_TRUE(sheet.contains("<t>2,500,000</t>"));
    EXPECT_TRUE(styles.contains("formatCode=\"@\""));
    EXPECT_FALSE(sheet.contains("<c r=\"A4\""));
}

TEST_F(GridWorkbookFile, BordersFillsFontSheetNameAndOrientation)
{
    ExportSettings settings;
    settings.ExportFillColor = 0x0000FF;      // red
    settings.ExportTitleFillColor = 0xFF0000; // blue
    settings.ExportBorderColor = 0x00FF00;
    settings.ExportFont.name = QStringLiteral("IPAGothic");
    settings.ExportFont.size = 9;
    settings.ExportFont.bold = true;
    settings.ExportSheetName = QStringLiteral("資産一覧");
    settings.ExportLandscape = true;
    const QString path = write(Csv, 3, 3, settings);
    const QString sheet = ReadZipPart(path, "xl/worksheets/sheet1.xml");
    const QString styles = ReadZipPart(path, "xl/styles.xml");
    const QString workbook = ReadZipPart(path, "xl/workbook.xml");
    EXPECT_TRUE(styles.contains("<left style=\"thin\">")) << styles.toStdString();
    EXPECT_TRUE(styles.contains("rgb=\"FF00FF00\""));  // border colour
    EXPECT_TRUE(styles.contains("rgb=\"FFFF0000\""));  // data fill
    EXPECT_TRUE(styles.contains("rgb=\"FF0000FF\""));  // title fill
    EXPECT_TRUE(styles.contains("<name val=\"IPAGothic\"/>"));
    EXPECT_TRUE(styles.contains("<sz val=\"9\"/>"));
    EXPECT_TRUE(styles.contains("<b/>"));
    EXPECT_TRUE(workbook.contains("name=\"資産一覧\""));
    EXPECT_TRUE(sheet.contains("<oddHeader>&amp;C&amp;A</oddHeader>"));
    EXPECT_TRUE(sheet.contains("orientation=\"landscape\""));
}

TEST_F(GridWorkbookFile, NoBordersAtWeightZeroAndWidthsFitTheContents)
{
    ExportSettings settings;
    settings.ExportBorderWeight = 0;
    const QString path = write(Csv, 3, 3, settings);
    const QString sheet = ReadZipPart(path, "xl/worksheets/sheet1.xml");
    EXPECT_FALSE(ReadZipPart(path, "xl/styles.xml").contains("style=\"thin\""));
    // 他社"A"製 is 2+2+3+2 = 9 narrow widths, the widest of column B.
    EXPECT_TRUE(sheet.contains(QRegularExpression("<col min=\"2\" max=\"2\" width=\"10")));
    EXPECT_FALSE(sheet.contains("orientation=\"landscape\""));
}

TEST_F(GridWorkbookFile, TitleLineAloneGivesTheTitlesOnly)
{
    const QString path = write(QStringLiteral("\"品名\",\"数量\"\r\n"), 2, 1);
    const QString sheet = ReadZipPart(path, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<t>品名</t>"));
    EXPECT_FALSE(sheet.contains("<row r=\"2\""));
}

} // namespace
} // namespace qpn
