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

#include <map>
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

// A change being typed on the shown asset is saved before the import closes the tables.
TEST_F(AssetOperationsTest, CsvImportKeepsAChangeBeingTyped)
{
    addAsset(1, "机", QDate(2020, 4, 1), 100000, 5);
    addAsset(2, "椅子", QDate(2020, 4, 1), 200000, 5);
    const QString file = QDir(m_dir.path()).filePath("one.csv");
    {
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.setFilter("ID=2");
        table.setFiltered(true);
        DatasetCsvExport::write(table, file, AssetLayouts::exportFields());
    }
    m_ops->open();
    m_ops->jump(1);
    m_ops->assets().edit();
    m_ops->assets().fieldByName("品名").setAsString(QStringLiteral("書架"));
    EXPECT_EQ(m_ops->importCsv(file), 2);
    engine::Query stored;
    stored.setDatabaseName(m_data);
    stored.setSql("Select 品名 From daicyoA Where ID=1");
    stored.open();
    EXPECT_EQ(stored.field(0).asString(), QStringLiteral("書架"));
}

// Year rows after a Register: the fixed marks of the past years and the
// figures of every year, read from the stored table.
struct StoredYear
{
    int nendo = 0;
    int f1 = 0; // 0 for an open row
    Currency depreciation;
    Currency drawdown;
};

class AssetYearRowsTest : public AssetOperationsTest
{
protected:
    // A straight-line asset bought in 2020 with a subsidy, registered once
    // (the years before 2024 come out fixed).
    void addRegisteredAsset(int id, const QDate &bought = QDate(2020, 4, 1), qint64 subsidy = 400000)
    {
        m_ops->close();
        addAsset(id, "机", bought, 1000000, 8);
        engine::Table table;
        table.setDatabaseName(m_data);
        table.setTableName("daicyoA");
        table.open();
        ASSERT_TRUE(table.findKey({id}));
        table.edit();
        table.fieldByName("国補積立金").setAsCurrency(Currency::fromYen(subsidy));
        table.post();
        table.close();
        registerAsset(id, 0);
    }
    void registerAsset(int id, int protection)
    {
        if (!m_ops->assets().active())
            m_ops->open();
        ASSERT_TRUE(m_ops->assets().findKey({id}));
        AssetOperations::RegisterInput input;
        input.protection = protection;
        ASSERT_EQ(m_ops->registerAsset(input), AssetOperations::RegisterResult::Calculated) << id;
    }
    std::map<int, StoredYear> storedYears(int id) const
    {
        engine::Query query;
        query.setDatabaseName(m_data);
        query.setSql("Select Nendo, F1, 当年償却額, 国補当年取崩額 From daicyoB Where ID=:ID");
        query.setParam("ID", id);
        query.open();
        std::map<int, StoredYear> years;
        for (query.first(); !query.eof(); query.next()) {
            const int nendo = query.field(0).asInteger();
            years[nendo] = {nendo, query.field(1).asInteger(), query.field(2).asCurrency(), query.field(3).asCurrency()};
        }
        return years;
    }
    // Moves the shown year rows to the year; false when it is not shown.
    bool goToYear(int nendo) const
    {
        engine::Table &y = m_ops->yearRows();
        for (y.first(); !y.eof(); y.next()) {
            if (y.fieldByName("Nendo").asInteger() == nendo)
                return true;
        }
        return false;
    }
    QList<int> shownYears() const
    {
        QList<int> years;
        engine::Table &y = m_ops->yearRows();
        for (y.first(); !y.eof(); y.next())
            years << y.fieldByName("Nendo").asInteger();
        return years;
    }
};

TEST_F(AssetYearRowsTest, ListChoiceShowsTheCurrentAssetsYears)
{
    addRegisteredAsset(1);
    addRegisteredAsset(2, QDate(2022, 4, 1));
    m_ops->assets().findKey({1});
    EXPECT_EQ(shownYears(), (QList<int>{2020, 2021, 2022, 2023, 2024, 2025, 2026, 2027})) << "購入時から at start";
    m_ops->setListChoice(0);
    EXPECT_EQ(shownYears(), (QList<int>{2024, 2025, 2026, 2027})) << "当年度以降";
    m_ops->assets().findKey({2});
    EXPECT_EQ(shownYears(), (QList<int>{2024, 2025, 2026, 2027, 2028, 2029})) << "the choice follows the asset";
    m_ops->setListChoice(1);
    EXPECT_EQ(shownYears(), (QList<int>{2022, 2023, 2024, 2025, 2026, 2027, 2028, 2029}));
}

TEST_F(AssetYearRowsTest, ToggleFixedFlipsTheMarkAndSavesTheRow)
{
    addRegisteredAsset(1);
    ASSERT_EQ(storedYears(1).at(2022).f1, 1);
    ASSERT_EQ(storedYears(1).at(2024).f1, 0);
    struct Case { int nendo; int after; };
    const Case cases[] = {{2022, 0}, {2022, 1}, {2024, 1}, {2024, 0}};
    for (const auto &c : cases) {
        ASSERT_TRUE(goToYear(c.nendo));
        m_ops->toggleFixed();
        EXPECT_EQ(m_ops->yearRows().state(), engine::DatasetState::Browse);
        EXPECT_EQ(m_ops->yearRows().fieldByName("Nendo").asInteger(), c.nendo) << "stays on its row";
        EXPECT_EQ(storedYears(1).at(c.nendo).f1, c.after) << c.nendo;
        EXPECT_EQ(m_ops->yearRows().fieldByName("F1").isNull(), c.after == 0) << "cleared, not 0";
    }
    // A typed but unsaved amount on the row is saved with the mark.
    ASSERT_TRUE(goToYear(2023));
    m_ops->yearRows().edit();
    m_ops->yearRows().fieldByName("変更償却額").setAsCurrency(Currency::fromYen(1000));
    m_ops->toggleFixed();
    EXPECT_EQ(m_ops->yearRows().state(), engine::DatasetState::Browse);
    EXPECT_EQ(storedYears(1).at(2023).f1, 0);
    EXPECT_EQ(m_ops->yearRows().fieldByName("変更償却額").asCurrency(), Currency::fromYen(1000));
}

TEST_F(AssetYearRowsTest, TypedAmountsActOnOpenRowsAtTheNextRegister)
{
    enum class Mark { Keep, Toggle, Delete, Type1 };
    struct Case
    {
        const char *name;
        int nendo;
        const char *column = "変更償却額";
        Mark mark = Mark::Keep;
        int protection = 0;
        bool acts = true;
        bool leaveRow = true; // false: still typing when Register is pressed
    };
    const Case cases[] = {
        {"open current year", 2024},
        {"open current year, subsidy drawdown", 2024, "kin3"},
        {"fixed past year keeps its figures", 2022, "変更償却額", Mark::Keep, 0, false},
        {"fixed past year keeps its drawdown", 2022, "kin3", Mark::Keep, 0, false},
        {"past year opened by the toggle", 2022, "変更償却額", Mark::Toggle},
        {"past year opened by deleting the mark", 2021, "kin3", Mark::Delete},
        {"current year fixed by typing 1 is still recomputed", 2024, "変更償却額", Mark::Type1},
        {"fixed past year with protection off", 2022, "変更償却額", Mark::Keep, 1},
        {"row still in editing at Register", 2024, "変更償却額", Mark::Keep, 0, true, false},
        {"drawdown still in editing at Register", 2024, "kin3", Mark::Keep, 0, true, false},
    };
    const Currency typed = Currency::fromYen(12345);
    int id = 0;
    for (const auto &c : cases) {
        addRegisteredAsset(++id);
        const StoredYear before = storedYears(id).at(c.nendo);
        const bool subsidy = QLatin1String(c.column) == QLatin1String("kin3");
        ASSERT_NE(subsidy ? before.drawdown : before.depreciation, typed);

        m_ops->setListChoice(1);
        ASSERT_TRUE(goToYear(c.nendo)) << c.name;
        if (c.mark == Mark::Toggle)
            m_ops->toggleFixed();
        engine::Table &y = m_ops->yearRows();
        y.edit();
        if (c.mark == Mark::Delete)
            y.fieldByName("F1").clear();
        if (c.mark == Mark::Type1)
            y.fieldByName("F1").setAsInteger(1);
        y.fieldByName(c.column).setAsCurrency(typed);
        if (c.leaveRow) {
            y.next(); // leaving the row saves it
            EXPECT_EQ(y.state(), engine::DatasetState::Browse) << c.name;
            const int typedMark = c.mark == Mark::Keep ? before.f1 : c.mark == Mark::Type1 ? 1 : 0;
            EXPECT_EQ(storedYears(id).at(c.nendo).f1, typedMark) << c.name;
        }

        registerAsset(id, c.protection);
        const StoredYear after = storedYears(id).at(c.nendo);
        EXPECT_EQ(subsidy ? after.drawdown : after.depreciation, c.acts ? typed : (subsidy ? before.drawdown : before.depreciation))
            << c.name;
        EXPECT_EQ(after.f1, c.nendo < 2024 ? 1 : 0) << c.name << ": past years fixed again";
        EXPECT_EQ(m_ops->mode(), AssetOperations::Mode::Browse);
    }
}

TEST_F(AssetYearRowsTest, JumpSavesATypedYearAmountAndShowsTheNewAssetsYears)
{
    addRegisteredAsset(1);
    addRegisteredAsset(2, QDate(2022, 4, 1));
    m_ops->assets().findKey({1});
    ASSERT_TRUE(goToYear(2024));
    m_ops->yearRows().edit();
    m_ops->yearRows().fieldByName("変更償却額").setAsCurrency(Currency::fromYen(777));
    m_ops->jump(2);
    EXPECT_EQ(m_ops->yearRows().state(), engine::DatasetState::Browse);
    EXPECT_EQ(m_ops->yearRows().fieldByName("ID").asInteger(), 2);
    EXPECT_EQ(shownYears().first(), 2022);
    engine::Query stored;
    stored.setDatabaseName(m_data);
    stored.setSql("Select 変更償却額 From daicyoB Where ID=1 and Nendo=2024");
    stored.open();
    EXPECT_EQ(stored.field(0).asCurrency(), Currency::fromYen(777));
}

TEST_F(AssetOperationsTest, JumpSavesThePendingEditAndLandsOnTheNumberOrTheNextHigher)
{
    for (const int id : {3, 7, 10})
        addAsset(id, QStringLiteral("資産%1").arg(id), QDate(2020, 4, 1), 100000, 5);
    m_ops->open();
    struct Case { int typed; int lands; };
    const Case cases[] = {{7, 7}, {5, 7}, {1, 3}, {10, 10}, {0, 3}, {11, 10}, {-4, 3}};
    for (const auto &c : cases) {
        m_ops->jump(c.typed);
        EXPECT_EQ(m_ops->assets().fieldByName("ID").asInteger(), c.lands) << c.typed;
    }
    m_ops->jump(10);
    m_ops->assets().edit();
    m_ops->assets().fieldByName("購入価格").setAsCurrency(Currency::fromYen(123456));
    m_ops->jump(3);
    EXPECT_EQ(m_ops->assets().state(), engine::DatasetState::Browse);
    EXPECT_EQ(m_ops->assets().fieldByName("ID").asInteger(), 3);
    engine::Query stored;
    stored.setDatabaseName(m_data);
    stored.setSql("Select 購入価格 From daicyoA Where ID=10");
    stored.open();
    EXPECT_EQ(stored.field(0).asCurrency(), Currency::fromYen(123456)) << "saved unchanged, not recalculated";
    EXPECT_EQ(count("daicyoB"), 0);
}

TEST_F(AssetOperationsTest, JumpOnAnEmptyTableStaysPut)
{
    m_ops->open();
    EXPECT_NO_THROW(m_ops->jump(5));
    EXPECT_TRUE(m_ops->assets().isEmpty());
}

TEST_F(AssetOperationsTest, SearchEditWritesTheResultRowBackIntoItsAsset)
{
    addAsset(1, "机", QDate(2020, 4, 1), 1000000, 8);
    addAsset(2, "椅子", QDate(2021, 4, 1), 300000, 5);
    addAsset(3, "棚", QDate(2019, 4, 1), 200000, 8);
    m_ops->open();
    m_ops->assets().findKey({3});
    m_ops->assets().edit(); // a pending edit of the shown asset is saved as it is
    m_ops->assets().fieldByName("bikou").setAsString("表示中の変更");

    AssetOperations::SearchCriteria criteria;
    criteria.name = "椅子";
    engine::Query result;
    m_ops->search(criteria, result);
    ASSERT_EQ(result.recordCount(), 1);
    result.edit();
    result.fieldByName("品名").setAsString("椅子（改）");
    result.fieldByName("購入価格").setAsCurrency(Currency::fromYen(350000));
    result.fieldByName("廃棄日").setValue(QDate(2024, 5, 1));
    result.fieldByName("SubID").clear();
    result.post();
    m_ops->writeBack(result);

    engine::Table &a = m_ops->assets();
    EXPECT_EQ(a.state(), engine::DatasetState::Browse);
    EXPECT_EQ(a.fieldByName("ID").asInteger(), 2) << "the entry page follows the written asset";
    EXPECT_EQ(a.fieldByName("品名").asString(), QStringLiteral("椅子（改）"));
    EXPECT_EQ(a.fieldByName("購入価格").asCurrency(), Currency::fromYen(350000));
    EXPECT_EQ(a.fieldByName("廃棄日").asDateTime(), EncodeDate(2024, 5, 1));

    engine::Table stored;
    stored.setDatabaseName(m_data);
    stored.setTableName("daicyoA");
    stored.open();
    struct Row { int id; const char *name; qint64 price; const char *memo = ""; };
    const Row rows[] = {{1, "机", 1000000}, {2, "椅子（改）", 350000}, {3, "棚", 200000, "表示中の変更"}};
    for (const auto &r : rows) {
        ASSERT_TRUE(stored.findKey({r.id}));
        EXPECT_EQ(stored.fieldByName("品名").asString(), QString::fromUtf8(r.name)) << r.id;
        EXPECT_EQ(stored.fieldByName("購入価格").asCurrency(), Currency::fromYen(r.price)) << r.id;
        EXPECT_EQ(stored.fieldByName("bikou").asString(), QString::fromUtf8(r.memo)) << r.id;
    }
    EXPECT_EQ(stored.recordCount(), 3);
    EXPECT_EQ(count("daicyoB"), 0) << "no recalculation";

    // A result row whose asset has gone meanwhile brings nothing back.
    a.findKey({2});
    m_dialogs.answer(DialogButton::Yes);
    ASSERT_TRUE(m_ops->deleteAsset());
    EXPECT_NO_THROW(m_ops->writeBack(result));
    EXPECT_EQ(count("daicyoA"), 2);
}

} // namespace
} // namespace qpn
