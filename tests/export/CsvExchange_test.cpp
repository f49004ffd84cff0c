#include "engine/Field.h"
#include "engine/Table.h"
#include "export/CsvError.h"
#include "export/CsvImport.h"
#include "export/DatasetCsvExport.h"
#include "export/GridCsvExport.h"
#include "lib/Cp932.h"
#include "lib/Dialogs.h"
#include "tests/export/ExportFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QDate>
#include <QDir>

#include <gtest/gtest.h>

namespace qpn {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

QVariant yen(qint64 amount)
{
    return QVariant::fromValue(Currency::fromYen(amount));
}

QVariant day(int y, int m, int d)
{
    return QVariant(QDate(y, m, d));
}

const QVariant Null;

class CsvExchange : public testing::TypesTableTest
{
protected:
    void writeCsv(const QString &name, const QString &text) { WriteBytes(path(name), ToCp932(text)); }
    QString readCsv(const QString &name) const { return FromCp932(ReadBytes(path(name))); }
};

TEST_F(CsvExchange, WholeTableExportWritesPlainTextWithLabels)
{
    addRow({1, 3, 8.5, yen(2500000), day(2024, 4, 1), true, QStringLiteral("他社\"A\"製"), QStringLiteral("一行目\r\n二行目")});
    addRow({2, Null, Null, Null, Null, Null, Null, Null});
    auto table = openTable();
    table->fieldByName("Price").setDisplayFormat("#,#");
    table->fieldByName("Name").setDisplayLabel("品名");
    const int rows = DatasetCsvExport::write(*table, path("out.csv"), {});
    EXPECT_EQ(rows, 2);
    EXPECT_FALSE(table->active());
    EXPECT_EQ(readCsv("out.csv"),
              QStringLiteral("\"ID\",\"Qty\",\"Rate\",\"Price\",\"Day\",\"Flag\",\"品名\",\"Memo\"\r\n"
                             "1,3,8.5,2500000,\"2024/04/01\",\"True\",\"他社\"\"A\"\"製\",\"一行目\r\n二行目\"\r\n"
                             "2,,,,\"\",\"\",\"\",\"\"\r\n"));
}

TEST_F(CsvExchange, FixedLayoutAndEmptyDatasetGiveTheHeaderOnly)
{
    auto table = openTable();
    DatasetCsvExport::write(*table, path("out.csv"), {{"Name", "名称"}, {"ID", ""}});
    EXPECT_EQ(readCsv("out.csv"), QStringLiteral("\"名称\",\"ID\"\r\n"));
}

TEST_F(CsvExchange, TableExportAsksBeforeOverwriting)
{
    struct ScriptedAnswer : Dialogs
    {
        DialogButton answer;
        QStringList asked;
        DialogButton message(DialogKind, const QString &text, const QList<DialogButton> &, const QString &) override
        {
            asked << text;
            return answer;
        }
        bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
        QString chooseFolder(const QString &, const QString &) override { return {}; }
        QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
        QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }
    };
    addRow({1});
    WriteBytes(path("out.csv"), "old");
    for (const DialogButton answer : {DialogButton::No, DialogButton::Cancel, DialogButton::Yes}) {
        ScriptedAnswer dialogs;
        dialogs.answer = answer;
        ScopedDialogs scope(dialogs);
        auto table = openTable();
        const bool written = DatasetCsvExport::writeTable(*table, path("out.csv"));
        EXPECT_EQ(dialogs.asked, QStringList{"同名のファイルがあります。上書をしてもよいですか？"});
        EXPECT_EQ(written, answer == DialogButton::Yes);
        EXPECT_EQ(ReadBytes(path("out.csv")) == "old", answer != DialogButton::Yes);
    }
}

TEST_F(CsvExchange, RoundTripKeepsEveryTypeAndAwkwardText)
{
    addRow({1, 3, 8.5, yen(2500000), day(2024, 4, 1), true, QStringLiteral("①㈱ 机, \"特\""),
            QStringLiteral("メモ,\"引用\"\r\n改行 あり")});
    addRow({2, -7, 0.125, QVariant::fromValue(Currency::fromUnits(-12345)), day(1999, 12, 31), false,
            QStringLiteral("ｶﾅ　全角空白"), Null});
    addRow({3, Null, Null, Null, Null, Null, Null, Null});
    const QStringList before = dump();
    {
        auto table = openTable();
        DatasetCsvExport::write(*table, path("round.csv"));
    }
    auto table = openTable();
    table->emptyTable();
    table->close();
    const auto result = CsvImport::run(path("round.csv"), *table, 0);
    EXPECT_EQ(result.appended, 3);
    EXPECT_EQ(dump(), before);
}

TEST_F(CsvExchange, ImportKeyModesUpdateOrAppend)
{
    addRow({1, 1, Null, yen(100), Null, Null, QStringLiteral("古い"), QStringLiteral("残す")});
    writeCsv("in.csv", QStringLiteral("これは見出しではない,9,9\r\n"
                                      "1,2,0.5,\"5,678\",\"2024/04/01\",True,新しい\r\n"
                                      "5,1,0,10,,,分割 された,memo\r\n"));
    auto table = openTable();
    const auto result = CsvImport::run(path("in.csv"), *table, 1);
    EXPECT_EQ(result.updated, 1);
    EXPECT_EQ(result.appended, 1);
    EXPECT_EQ(dump(), (QStringList{
                          // Items the line lacks leave the memo alone.
                          "1|2|0.5|5678|2024/04/01|True|新しい|残す",
                          // A blank outside quotes splits the item and shifts the memo out.
                          "5|1|0|10|<null>|<null>|分割|された",
                      }));
}

TEST_F(CsvExchange, ImportOfAMissingFileDoesNothing)
{
    addRow({1});
    auto table = openTable();
    const auto result = CsvImport::run(path("none.csv"), *table, 0);
    EXPECT_EQ(result.appended, 0);
    EXPECT_EQ(dump().size(), 1);
}

TEST_F(CsvExchange, FailingLineRollsTheWholeImportBack)
{
    struct Case { const char *name; int mode; const char *csv; const char *where; };
    const Case cases[] = {
        {"duplicate key", 0, "h\r\n7,1\r\n8,1\r\n7,2\r\n", "4行目、1列目（ID）"},
        {"no number", 1, "h\r\n7,1\r\n8,x\r\n", "3行目、2列目（Qty）"},
        {"too long", 1, "h\r\n7,1\r\n8,1,,,,,ああああああああああああああああああああああ\r\n", "3行目、7列目（Name）"},
        {"line break inside a quoted item counts", 1, "h\r\n7,1,,,,,\"a\r\nb\"\r\n8,y\r\n", "4行目、2列目（Qty）"},
    };
    for (const auto &c : cases) {
        addRow({1, 1, Null, yen(100)});
        const QStringList before = dump();
        writeCsv("bad.csv", QString::fromUtf8(c.csv));
        auto table = openTable();
        try {
            CsvImport::run(path("bad.csv"), *table, c.mode);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const CsvError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.where))) << c.name << ": "
                                                                              << error.message().toStdString();
        }
        table.reset();
        EXPECT_EQ(dump(), before) << c.name;
        openTable()->emptyTable();
    }
}

class GridCsv : public CsvExchange
{
protected:
    QList<GridCsvColumn> columns(engine::Table &table, int firstWidth = 64)
    {
        auto text = [&table](const char *name) { return [&table, name] { return table.fieldByName(name).displayText(); }; };
        return {{"登録番号", firstWidth, text("ID")}, {" 品名 ", 64, text("Name")}, {"価格", 64, text("Price")}};
    }
};

TEST_F(GridCsv, ShownTextIsQuotedAndAHiddenFirstColumnLeavesItsSeparator)
{
    addRow({1, Null, Null, yen(2500000), Null, Null, QStringLiteral(" 他社\"A\"製 ")});
    addRow({2, Null, Null, yen(0), Null, Null, QStringLiteral("机")});
    auto table = openTable();
    table->fieldByName("Price").setDisplayFormat("#,#");
    table->next();
    auto result = GridCsvExport::run(*table, columns(*table), true, path("grid.csv"));
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(table->recNo(), 1);
    EXPECT_EQ(readCsv("grid.csv"), QStringLiteral("\"登録番号\",\"品名\",\"価格\"\r\n"
                                                  "\"1\",\"他社\"\"A\"\"製\",\"2,500,000\"\r\n"
                                                  "\"2\",\"机\",\"\"\r\n"));
    result = GridCsvExport::run(*table, columns(*table, 0), false, path("grid.csv"));
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(readCsv("grid.csv"), QStringLiteral(",\"他社\"\"A\"\"製\",\"2,500,000\"\r\n,\"机\",\"\"\r\n"));
}

TEST_F(GridCsv, EmptyClosedUnwritableCancelledAndUnencodable)
{
    auto table = openTable();
    auto result = GridCsvExport::run(*table, columns(*table), true, path("grid.csv"));
    EXPECT_EQ(result.count, 1); // the titles alone
    EXPECT_EQ(readCsv("grid.csv"), QStringLiteral("\"登録番号\",\"品名\",\"価格\"\r\n"));

    result = GridCsvExport::run(*table, columns(*table), true, path("no/such/folder/grid.csv"));
    EXPECT_EQ(result.failure, GridCsvResult::Failure::CannotCreate);
    EXPECT_EQ(result.count, 0);

    table->close();
    result = GridCsvExport::run(*table, columns(*table), true, path("grid.csv"));
    EXPECT_EQ(result.failure, GridCsvResult::Failure::NoData);
    EXPECT_EQ(result.count, 0);

    for (int id = 1; id <= 5; ++id)
        addRow({id});
    table->open();
    result = GridCsvExport::run(*table, columns(*table), true, path("grid.csv"),
                                [](int done, int) { return done < 2; });
    EXPECT_EQ(result.count, -3); // title and two rows, still written
    EXPECT_EQ(readCsv("grid.csv").count(QStringLiteral("\r\n")), 3);

    QList<GridCsvColumn> emoji{{"品名", 64, [] { return QStringLiteral("机😀"); }}};
    result = GridCsvExport::run(*table, emoji, true, path("grid.csv"));
    EXPECT_EQ(result.failure, GridCsvResult::Failure::Error);
    EXPECT_LE(result.count, 0);
    EXPECT_TRUE(result.detail.contains(QStringLiteral("2行目の「品名」"))) << result.detail.toStdString();
    EXPECT_TRUE(result.detail.contains(QStringLiteral("😀")));
}

} // namespace
} // namespace qpn
