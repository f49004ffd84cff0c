#include "engine/Field.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "export/DatasetCsvExport.h"
#include "lib/AppOptions.h"
#include "lib/DateValue.h"
#include "platform/ScriptedDialogs.h"
#include "register/AssetLayouts.h"
#include "register/AssetOperations.h"
#include "store/SchemaMaker.h"
#include "tests/support/SupportPrinters.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace qpn {
namespace {

class AssetOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        SetTodayProvider([] { return EncodeDate(2024, 6, 10); });
        AppOptions().setFiscalStart(EncodeDate(2024, 4, 1));
        AppOptions().FiscalEnd = EncodeDate(2025, 3, 31);
        m_data = QDir(m_dir.path()).filePath("QPNdata");
        QDir().mkpath(m_data);
        m_dialogs.answer(DialogButton::Yes); // the account list question
        SchemaMaker().MakeTBL(m_data);
        m_ops = std::make_unique<AssetOperations>(m_data);
    }
    void TearDown() override { SetTodayProvider({}); }

    // An asset straight into daicyoA: ID, name, purchase date, price (yen), life, residual rate.
    void addAsset(int id, const QString &name, const QDate &bought, qint64 price, double life, double residual = 0,
                  const QDate &disposed = QDate()) const
    {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.open();
        table.append();
        table.fieldByName("ID").setAsInteger(id);
        table.fieldByName("品名").setAsString(name);
        table.fieldByName("購入日").setValue(bought);
        table.fieldByName("購入価格").setAsCurrency(Currency::fromYen(price));
        table.fieldByName("償却年数").setAsFloat(life);
        table.fieldByName("残率").setAsFloat(residual);
        table.fieldByName("houhou_ID").setAsInteger(0);
        table.fieldByName("houhou2_ID").setAsInteger(0);
        table.fieldByName("数量").setAsInteger(1);
        table.fieldByName("yobi3_ID").setAsInteger(1);
        if (disposed.isValid())
            table.fieldByName("廃棄日").setValue(disposed);
        table.post();
    }
    int count(const QString &tableName) const
    {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName(tableName);
        table.open();
        return table.recordCount();
    }
    void registerAll()
    {
        m_ops->open();
        for (m_ops->assets().first(); !m_ops->assets().eof(); m_ops->assets().next()) {
            const int id = m_ops->assets().fieldByName("ID").asInteger();
            ASSERT_EQ(m_ops->registerAsset({}), AssetOperations::RegisterResult::Calculated) << id;
            m_ops->assets().findKey({id});
        }
    }

    QTemporaryDir m_dir;
    QString m_data;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<AssetOperations> m_ops;
};

TEST_F(AssetOperationsTest, NewProposesTheNextNumberAndTheLastAssetsValues)
{
    struct Case { const char *name; double lastLife; int id; int life; };
    const Case cases[] = {{"empty table", -1, 1, 0}, {"after 57 with 8.5", 8.5, 58, 8}, {"after 57 with 9.5", 9.5, 58, 10}};
    for (const auto &c : cases) {
        if (c.lastLife >= 0)
            addAsset(57, "机", QDate(2020, 5, 1), 100000, c.lastLife);
        m_ops->open();
        m_ops->newAsset();
        engine::Table &a = m_ops->assets();
        EXPECT_EQ(m_ops->mode(), AssetOperations::Mode::NewEntry);
        EXPECT_EQ(a.state(), engine::DatasetState::Insert) << c.name;
        EXPECT_EQ(a.fieldByName("ID").asInteger(), c.id) << c.name;
        EXPECT_EQ(a.fieldByName("償却年数").asFloat(), c.life) << c.name;
        EXPECT_EQ(a.fieldByName("数量").asInteger(), 1);
        EXPECT_EQ(a.fieldByName("残率").asFloat(), 0);
        EXPECT_EQ(a.fieldByName("yobi3_ID").asInteger(), 1);
        EXPECT_EQ(a.fieldByName("購入日").asDateTime(),
                  c.lastLife < 0 ? EncodeDate(2024, 6, 10) : EncodeDate(2020, 5, 1));
        EXPECT_EQ(m_ops->showAsset(), c.lastLife < 0 ? QStringLiteral("00001/00001") : QStringLiteral("00002/00002"));
        a.cancel();
        m_ops->close();
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.emptyTable();
    }
}

TEST_F(AssetOperationsTest, CopyOfADisposedAssetKeepsItsDateAndFigures)
{
    addAsset(1, "机", QDate(2020, 4, 1), 1000000, 8, 0, QDate(2024, 5, 31));
    registerAll();
    engine::Table &a = m_ops->assets();
    a.findKey({1});
    const Currency closing = a.fieldByName("期末簿価").asCurrency();
    m_ops->copyAsset();
    EXPECT_EQ(a.fieldByName("ID").asInteger(), 2);
    EXPECT_EQ(a.fieldByName("廃棄日").asDateTime(), EncodeDate(2024, 5, 31));
    EXPECT_EQ(a.fieldByName("期末簿価").asCurrency(), closing);
    EXPECT_EQ(a.fieldByName("品名").asString(), QStringLiteral("机"));
}

TEST_F(AssetOperationsTest, RegisterRefusesAResidualRateOfOne)
{
    struct Case { double residual; AssetOperations::RegisterResult result; int rows; };
    const Case cases[] = {{1.0, AssetOperations::RegisterResult::Refused, 0},
                          {0.999, AssetOperations::RegisterResult::Calculated, 1}};
    for (const auto &c : cases) {
        m_ops->open();
        m_ops->newAsset();
        m_ops->assets().fieldByName("品名").setAsString("机");
        m_ops->assets().fieldByName("購入価格").setAsCurrency(Currency::fromYen(100000));
        m_ops->assets().fieldByName("償却年数").setAsFloat(5);
        m_ops->assets().fieldByName("残率").setAsFloat(c.residual);
        EXPECT_EQ(m_ops->registerAsset({}), c.result) << c.residual;
        m_ops->assets().cancel();
        m_ops->close();
        EXPECT_EQ(count("daicyoA"), c.rows) << c.residual;
    }
    EXPECT_TRUE(m_dialogs.texts().contains("【償却残存率】が正しい値ではありませんので、確認してください。"));
    EXPECT_GT(count("daicyoB"), 0);
}

TEST_F(AssetOperationsTest, ChangeFieldsReadBlankAsNoneAndZeroAsZero)
{
    EXPECT_EQ(AssetOperations::parseChange(""), Currency::fromYen(-1));
    EXPECT_EQ(AssetOperations::parseChange(" "), Currency::fromYen(-1));
    EXPECT_EQ(AssetOperations::parseChange("0"), Currency::fromYen(0));
    EXPECT_EQ(AssetOperations::parseChange("1234.56789"), Currency::fromUnits(12345679));
    EXPECT_THROW(AssetOperations::parseChange("1,000"), std::invalid_argument);
    // A change that is no number ends Register silently after saving the row.
    addAsset(1, "机", QDate(2020, 4, 1), 1000000, 8);
    m_ops->open();
    m_ops->assets().edit();
    m_ops->assets().fieldByName("品名").setAsString("机改");
    AssetOperations::RegisterInput input;
    input.bookValueChange = "1,000";
    EXPECT_EQ(m_ops->registerAsset(input), AssetOperations::RegisterResult::CalculationFailed);
    EXPECT_EQ(m_ops->assets().fieldByName("品名").asString(), QStringLiteral("机改"));
    EXPECT_EQ(count("daicyoB"), 0);
}

TEST_F(AssetOperationsTest, DeleteRemovesEveryYearRowOrDiscardsANewAsset)
{
    addAsset(1, "机", QDate(2018, 4, 1), 1000000, 8);
    addAsset(2, "椅子", QDate(2019, 4, 1), 500000, 5);
    registerAll();
    const int yearsOfTwo = [&] {
        m_ops->assets().findKey({2});
        m_ops->setListChoice(1);
        return m_ops->yearRows().recordCount();
    }();
    const int before = count("daicyoB");
    m_ops->assets().findKey({1});
    m_ops->setListChoice(0); // 当年度以降: past years hidden, deleted all the same
    EXPECT_LT(m_ops->yearRows().recordCount(), before - yearsOfTwo);
    m_dialogs.answer(DialogButton::No);
    EXPECT_FALSE(m_ops->deleteAsset());
    EXPECT_EQ(count("daicyoA"), 2);
    m_dialogs.answer(DialogButton::Yes);
    EXPECT_TRUE(m_ops->deleteAsset());
    EXPECT_EQ(count("daicyoA"), 1);
    EXPECT_EQ(count("daicyoB"), yearsOfTwo);

    m_ops->newAsset();
    m_dialogs.answer(DialogButton::Yes);
    EXPECT_TRUE(m_ops->deleteAsset());
    EXPECT_EQ(m_ops->mode(), AssetOperations::Mode::Browse);
    EXPECT_EQ(count("daicyoA"), 1);
    EXPECT_EQ(count("daicyoB"), yearsOfTwo);
    EXPECT_EQ(m_dialogs.texts().count("レコード（データ）を削除します。"), 3);
}

TEST_F(AssetOperationsTest, MemorandumSwitchTurnsIntoTheKeptValue)
{
    addAsset(1, "机", QDate(2020, 4, 1), 1000000, 8);
    {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.open();
        table.edit();
        table.fieldByName("yobi2_ID").setAsInteger(0);
        table.fieldByName("yobi3_ID").setAsInteger(0);
        table.post();
    }
    m_ops->open();
    EXPECT_EQ(m_ops->showAsset(), QStringLiteral("00001/00001"));
    EXPECT_EQ(m_ops->assets().fieldByName("yobi3_ID").asInteger(), 1);
    EXPECT_TRUE(m_ops->assets().fieldByName("yobi2_ID").isNull());
}

TEST_F(AssetOperationsTest, SearchFiltersSumsAndBindsTheName)
{
    addAsset(1, "机", QDate(2020, 4, 1), 1000000, 8);
    addAsset(2, "机'A\"", QDate(2021, 4, 1), 300000, 8, 0, QDate(2024, 5, 1));
    addAsset(3, "椅子", QDate(2019, 4, 1), 200000, 8, 0, QDate(2024, 6, 1));
    m_ops->open();
    struct Case { const char *name; AssetOperations::SearchCriteria criteria; QList<int> ids; qint64 price; };
    AssetOperations::SearchCriteria held, all, disposedOnly, quoted;
    all.includeDisposed = true;
    disposedOnly.disposedOnly = true;
    quoted.includeDisposed = true;
    quoted.name = "'A\"";
    const Case cases[] = {{"held only", held, {1}, 1000000},
                          {"with disposed, by purchase date", all, {3, 1, 2}, 1500000},
                          {"disposed only", disposedOnly, {3, 2}, 500000},
                          {"quotes in the name", quoted, {2}, 300000}};
    for (const auto &c : cases) {
        engine::Query result;
        const auto sums = m_ops->search(c.criteria, result);
        QList<int> ids;
        for (result.first(); !result.eof(); result.next())
            ids << result.fieldByName("ID").asInteger();
        EXPECT_EQ(ids, c.ids) << c.name;
        EXPECT_EQ(sums.price, Currency::fromYen(c.price)) << c.name;
    }
}

TEST_F(AssetOperationsTest, CsvRoundTripKeepsTheAssetsAndRecalculates)
{
    addAsset(1, "①㈱ 机, \"特\"", QDate(2020, 4, 1), 1000000, 8);
    addAsset(2, "椅子", QDate(2023, 10, 1), 500000, 5, 0, QDate(2024, 5, 1));
    {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.open();
        table.edit();
        table.fieldByName("bikou").setAsString("メモ,\"引用\"\r\n二行目");
        table.fieldByName("SubID").setAsString("A-1");
        table.post();
    }
    const QString file = QDir(m_dir.path()).filePath("assets.csv");
    const auto exportAll = [&](const QString &path) {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        DatasetCsvExport::write(table, path, AssetLayouts::exportFields());
    };
    exportAll(file);
    engine::Table table;
    table.setDatabaseName(m_data);
    table.setTableName("daicyoA");
    table.emptyTable();
    EXPECT_EQ(m_ops->importCsv(file), 2);
    EXPECT_GT(count("daicyoB"), 0);
    table.open();
    EXPECT_EQ(table.fieldByName("品名").asString(), QStringLiteral("①㈱ 机, \"特\""));
    EXPECT_EQ(table.fieldByName("bikou").asString(), QStringLiteral("メモ,\"引用\"\r\n二行目"));
    EXPECT_GT(table.fieldByName("期末簿価").asCurrency(), Currency());
    table.next();
    EXPECT_EQ(table.fieldByName("廃棄日").asDateTime(), EncodeDate(2024, 5, 1));
}

} // namespace
} // namespace qpn
