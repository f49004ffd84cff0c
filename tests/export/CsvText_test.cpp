#include "export/CsvText.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

TEST(CsvText, GridItemTrimsAndDoublesQuotes)
{
    struct Case { const char *shown; const char *written; };
    const Case cases[] = {
        {"他社\"A\"製", "\"他社\"\"A\"\"製\""},
        {"  2,500,000 ", "\"2,500,000\""},
        {"\t机\r\n", "\"机\""},
        {"　全角空白　", "\"　全角空白　\""}, // a full-width space is content
        {"", "\"\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QuoteGridItem(QString::fromUtf8(c.shown)), QString::fromUtf8(c.written)) << c.shown;
}

TEST(CsvText, TitlesAreTrimmedAndQuotedWithoutDoubling)
{
    EXPECT_EQ(QuoteGridTitle(QStringLiteral(" 品\"名 ")), QStringLiteral("\"品\"名\""));
}

TEST(CsvText, WholeDatasetItemDoublesQuotesAndKeepsLineBreaks)
{
    EXPECT_EQ(QuoteItem(QStringLiteral("a\"b\r\nc")), QStringLiteral("\"a\"\"b\r\nc\""));
    EXPECT_EQ(QuoteItem(QString()), QStringLiteral("\"\""));
}

TEST(CsvText, ImportSplitsItems)
{
    struct Case { const char *name; const char *line; QStringList items; };
    const Case cases[] = {
        {"plain", "1,机,3", {"1", "机", "3"}},
        {"quoted comma stays", "\"5,678\",x", {"5,678", "x"}},
        {"blank splits unquoted", "1,ab cd,3", {"1", "ab", "cd", "3"}},
        {"blanks around separators", " 1 , 2 ,3", {"1", "2", "3"}},
        {"empty between commas", "1,,3", {"1", "", "3"}},
        {"trailing comma adds an empty item", "1,2,", {"1", "2", ""}},
        {"doubled quote", "\"他社\"\"A\"\"製\",2", {"他社\"A\"製", "2"}},
        {"quoted blanks stay", "\" a b \"", {" a b "}},
        {"empty quoted", "\"\",2", {"", "2"}},
        {"text after closing quote is a new item", "\"ab\"cd", {"ab", "cd"}},
        {"quote inside unquoted item is literal", "ab\"c,d", {"ab\"c", "d"}},
    };
    for (const auto &c : cases) {
        const auto records = ParseImportText(QString::fromUtf8(c.line));
        ASSERT_EQ(records.size(), 1) << c.name;
        EXPECT_EQ(records.first().items, c.items) << c.name;
    }
}

TEST(CsvText, ImportRecordsFollowLinesAndQuotedLineBreaks)
{
    const auto records = ParseImportText(QStringLiteral("h1,h2\r\n1,\"memo\r\nline 2\"\r\n\r\n2,x\n3,y\r"));
    ASSERT_EQ(records.size(), 5);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[1].items, (QStringList{"1", "memo\r\nline 2"}));
    EXPECT_EQ(records[2].line, 4);
    EXPECT_TRUE(records[2].items.isEmpty());
    EXPECT_EQ(records[3].line, 5);
    EXPECT_EQ(records[4].line, 6);
    EXPECT_EQ(records[4].items, (QStringList{"3", "y"}));
}

TEST(CsvText, CleanImportItemRemovesEveryComma)
{
    EXPECT_EQ(CleanImportItem(QStringLiteral("1,234,567")), QStringLiteral("1234567"));
}

TEST(CsvText, SpreadsheetParsingKeepsEmptyFieldsAndQuotedBreaks)
{
    const auto records = ParseSpreadsheetCsv(QStringLiteral(",\"a\"\"b\",\"1,2\"\r\n\"x\r\ny\",\r\n"));
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0], (QStringList{"", "a\"b", "1,2"}));
    EXPECT_EQ(records[1], (QStringList{"x\r\ny", ""}));
}

} // namespace
} // namespace qpn
