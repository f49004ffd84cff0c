// The asset pass: years and month counts, the memorandum switch, partial
// disposal, entered book values, row trimming, the non-depreciable loop, the
// data checks and the summary columns.
#include "tests/depreciation/DepreciationFixture.h"

#include "depreciation/CalculationStopped.h"
#include "depreciation/RateTable.h"

namespace qpn::test {
namespace {

using AssetPass = PassTest;

TEST_F(AssetPass, DerivesYearsAndMonthsFromTheDates)
{
    struct Case
    {
        const char *name;
        DateTime bought;
        std::optional<QDate> disposed;
        int acquisitionNendo, firstYearMonths, monthsThisYear, disposalNendo, disposalMonths;
    };
    const Case cases[] = {
        {"mid-year purchase", D(2015, 10, 15), {}, 2015, 6, 12, 1899, 0},
        {"last month of a fiscal year", D(2016, 3, 31), {}, 2015, 1, 12, 1899, 0},
        {"first day of a fiscal year", D(2016, 4, 1), {}, 2016, 12, 12, 1899, 0},
        {"bought in the current year", D(2021, 1, 10), {}, 2020, 3, 3, 1899, 0},
        {"bought after the current year", D(2021, 5, 5), {}, 2021, 11, 12, 1899, 0},
        {"disposed in the current year", D(2015, 4, 1), Q(2020, 9, 20), 2015, 12, 12, 2020, 6},
        {"disposed in its last months", D(2015, 4, 1), Q(2021, 2, 10), 2015, 12, 12, 2020, 11},
        {"disposed in an earlier year", D(2015, 4, 1), Q(2019, 6, 1), 2015, 12, 12, 2019, 0},
    };
    for (const Case &c : cases) {
        AssetData data;
        data.asset = MakeAsset(1, 0, c.bought, 1000000, 10);
        data.asset.廃棄日 = c.disposed;
        run(data);
        const AssetWork &w = m_calculator.work();
        EXPECT_EQ(w.AcquisitionNendo, c.acquisitionNendo) << c.name;
        EXPECT_EQ(w.FirstYearMonths, c.firstYearMonths) << c.name;
        EXPECT_EQ(w.MonthsThisYear, c.monthsThisYear) << c.name;
        EXPECT_EQ(w.DisposalNendo, c.disposalNendo) << c.name;
        EXPECT_EQ(w.DisposalMonths, c.disposalMonths) << c.name;
    }
}

TEST_F(AssetPass, AssetOfALaterYearHasNoCurrentFigures)
{
    AssetData data;
    data.asset = MakeAsset(1, 0, D(2021, 5, 5), 1000000, 10);
    data.asset.期首簿価 = Y(5);
    run(data);
    ASSERT_FALSE(data.rows.empty());
    EXPECT_EQ(data.rows.front().Nendo, 2021);
    EXPECT_EQ(data.asset.期首簿価, Y(0));
    EXPECT_EQ(data.asset.償却額, Y(0));
    EXPECT_EQ(data.asset.期末簿価, Y(0));
    EXPECT_EQ(data.asset.期末償却累計, Y(0));
    EXPECT_EQ(data.asset.償却月数, std::nullopt);
}

TEST_F(AssetPass, MonthsInTheCurrentYearAreWrittenToTheAsset)
{
    struct Case { DateTime bought; int months; };
    for (const Case &c : {Case{D(2021, 1, 10), 3}, Case{D(2019, 6, 1), 12}, Case{D(1990, 4, 1), 12}}) {
        AssetData data;
        data.asset = MakeAsset(1, 0, c.bought, 1000000, 50);
        run(data);
        EXPECT_EQ(data.asset.償却月数, c.months);
    }
}

TEST_F(AssetPass, MemorandumSwitchTurnsIntoTheKeptValue)
{
    struct Case { int yobi2; int yobi3; };
    for (const Case &c : {Case{0, 1}, Case{1, 0}}) {
        AssetData data;
        data.asset = MakeAsset(1, 0, D(2018, 4, 1), 1000000, 10);
        data.asset.yobi3_ID = 1 - c.yobi3;
        data.asset.yobi2_ID = c.yobi2;
        run(data);
        EXPECT_EQ(data.asset.yobi3_ID, c.yobi3) << "yobi2_ID " << c.yobi2;
        EXPECT_EQ(data.asset.yobi2_ID, std::nullopt);
    }
}

// 1 000 000 bought April 2016, life 10 by the life, truncated: 100 000 a year,
// so the 2019 row closes at 600 000. A quarter of it is disposed of on
// 1 October 2020, recalculated over the stored and fixed past rows.
class PartialDisposal : public PassTest
{
protected:
    void SetUp() override
    {
        PassTest::SetUp();
        m_options.RoundingMode = 1;
        data.asset = MakeAsset(7, 0, D(2016, 4, 1), 1000000, 10);
        data.asset.国補積立金 = Y(300000);
        run(data);
        for (YearRow &row : data.rows)
            row.storedSub = row.Sub;
        data.asset.一部除却日 = Q(2020, 10, 1);
        data.asset.一部除却額 = Y(250000);
    }

    AssetData data;
};

TEST_F(PartialDisposal, RemovesItsShareOfBookValueAndSubsidy)
{
    ASSERT_EQ(data.asset.国補期首簿価, Y(180000));
    run(data);
    const AssetRecord &a = data.asset;
    EXPECT_EQ(a.除却後購入価格, Y(750000));
    EXPECT_EQ(a.除却後購入価格国, Y(225000));
    EXPECT_EQ(a.一部除却額国Ａ, Y(75000));
    EXPECT_EQ(a.一部除却期首額, Y(150000));
    EXPECT_EQ(a.一部除却期首累計額, Y(100000));
    EXPECT_EQ(a.一部除却期首額国, Y(45000));
    EXPECT_EQ(a.一部除却期首累計額国, Y(30000));

    const YearRow *row = &data.rows.at(4);
    ASSERT_EQ(row->Nendo, 2020);
    EXPECT_EQ(BookOf({*row}).front(), (Book{2020, 600000, 75000, 375000}));
    EXPECT_EQ(row->一部除却額, Y(150000));
    EXPECT_EQ(row->除却後購入価格B, Y(750000));
    EXPECT_EQ(row->kin1, Y(250000));
    EXPECT_EQ(row->期首償却累計, Y(150000));
    EXPECT_EQ(row->期末償却累計, Y(375000));
    EXPECT_EQ(row->一部除却額国, Y(45000));
    EXPECT_EQ(row->除却後購入価格B国, Y(225000));
    EXPECT_EQ(row->kin2, Y(75000));
    // 225 000 over ten years from an opening of 180 000, less the 45 000 removed.
    EXPECT_EQ(SubsidyBookOf({*row}).front(), (SubsidyBook{2020, 180000, 22500, 112500, 45000, 112500}));
    EXPECT_EQ(BookOf({data.rows.at(5)}).front(), (Book{2021, 375000, 75000, 300000}));
}

TEST_F(AssetPass, EnteredOpeningBookValueClosesThePreviousYear)
{
    AssetData data;
    data.asset = MakeAsset(1, 0, D(2016, 4, 1), 1000000, 10);
    for (int sub = 0; sub < 4; ++sub) {
        data.rows.push_back(StoredRow(1, sub, 2016 + sub));
        data.rows.back().F1 = 1;
    }
    data.rows.back().期首残高 = Y(700000);
    data.rows.back().期末残高 = Y(600000);
    run(data, 0, Y(0));
    EXPECT_EQ(BookOf({data.rows.at(3)}).front(), (Book{2019, 700000, 700000, 0}));
    EXPECT_EQ(data.asset.期首簿価, Y(0));
}

TEST_F(AssetPass, ShortenedLifeDropsTheLaterRows)
{
    AssetData data;
    data.asset = MakeAsset(1, 0, D(2016, 4, 1), 1000000, 10);
    run(data);
    ASSERT_EQ(data.rows.size(), 10u);
    data.asset.償却年数 = 5;
    run(data, 1);
    EXPECT_EQ(BookOf(data.rows),
              (std::vector<Book>{{2016, 0, 200000, 800000}, {2017, 800000, 200000, 600000},
                                 {2018, 600000, 200000, 400000}, {2019, 400000, 200000, 200000},
                                 {2020, 200000, 199999, 1}}));
}

TEST_F(AssetPass, NonDepreciableAssetChangesOnlyByEnteredAmounts)
{
    for (int method : {2, 3}) {
        AssetData data;
        data.asset = MakeAsset(1, method, D(2017, 4, 1), 500000, 0);
        data.rows.push_back(StoredRow(1, 2, 2019));
        data.rows.back().変更償却額 = Y(100000);
        run(data);
        EXPECT_EQ(BookOf(data.rows),
                  (std::vector<Book>{{2017, 0, 0, 500000}, {2018, 500000, 0, 500000}, {2019, 500000, 0, 400000},
                                     {2020, 400000, 0, 400000}}));
        std::vector<std::optional<int>> marks;
        for (const YearRow &row : data.rows)
            marks.push_back(row.F1);
        EXPECT_EQ(marks, (std::vector<std::optional<int>>{1, 1, 1, std::nullopt}));
        EXPECT_EQ(data.rows.front().期首償却累計, std::nullopt);
        EXPECT_EQ(data.asset.期末簿価, Y(400000));
        EXPECT_EQ(data.asset.期末償却累計, Y(0));
        EXPECT_EQ(data.asset.償却率, std::nullopt);
        EXPECT_EQ(data.asset.償却額, Y(0));
    }
}

TEST_F(AssetPass, FailedCheckStopsWithItsMessage)
{
    struct Case { const char *name; void (*spoil)(AssetRecord &); const char *message; };
    const Case cases[] = {
        {"no purchase date", [](AssetRecord &a) { a.購入日.reset(); },
         "購入日がありませんので、確認してください。登録番号【7】"},
        {"no price", [](AssetRecord &a) { a.購入価格 = Y(0); },
         "購入金額がありませんので、確認してください。登録番号【7】"},
        {"no name", [](AssetRecord &a) { a.品名.clear(); },
         "品名がありませんので、確認してください。登録番号【7】"},
        {"no life", [](AssetRecord &a) { a.償却年数.reset(); },
         "法定耐用年数がありませんので、確認してください。登録番号【7】"},
        {"life of one year", [](AssetRecord &a) { a.償却年数 = 1; },
         "法定耐用年数が２年以上でないと、計算できません。登録番号【7】"},
        {"declining balance without life", [](AssetRecord &a) { a.houhou_ID = 1; a.償却年数 = 0; },
         "法定耐用年数がありませんので、確認してください。登録番号【7】"},
    };
    for (const Case &c : cases) {
        m_dialogs.messages.clear();
        AssetData data;
        data.asset = MakeAsset(7, 0, D(2018, 4, 1), 1000000, 10);
        c.spoil(data.asset);
        m_calculator.setOptions(m_options);
        try {
            m_calculator.Calc1A(data, 0, Y(-1), Y(-1));
            ADD_FAILURE() << c.name << ": not stopped";
        } catch (const CalculationStopped &stop) {
            EXPECT_EQ(stop.message(), QString::fromUtf8(c.message)) << c.name;
            EXPECT_EQ(stop.assetId(), 7);
        }
        EXPECT_EQ(m_dialogs.messages, QStringList{QString::fromUtf8(c.message)}) << c.name;
        EXPECT_TRUE(data.rows.empty()) << c.name;
    }
}

TEST_F(AssetPass, NonDepreciableAssetNeedsNoLife)
{
    AssetData data;
    data.asset = MakeAsset(1, 2, D(2018, 4, 1), 1000000, 0);
    EXPECT_EQ(run(data), AssetPassEnd::Completed);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(AssetPass, ZeroStraightLineRateSkipsTheAsset)
{
    const RateTable empty;
    AssetCalculator calculator(empty);
    m_options.StraightLineBasis = 1;
    calculator.setOptions(m_options);
    AssetData data;
    data.asset = MakeAsset(9, 0, D(2018, 4, 1), 1000000, 10);
    data.rows.push_back(StoredRow(9, 0, 2018));
    data.rows.back().期末残高 = Y(123);
    data.asset.期首簿価 = Y(456);
    const AssetData before = data;
    EXPECT_EQ(calculator.Calc1A(data, 0, Y(-1), Y(-1)), AssetPassEnd::ZeroRate);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("正常でないデータがありましたので、処理を中断します。【9】")});
    EXPECT_EQ(data.rows, before.rows);
    EXPECT_EQ(data.asset.期首簿価, Y(456));
}

TEST_F(AssetPass, UnknownMethodKeepsItsRows)
{
    AssetData data;
    data.asset = MakeAsset(1, 7, D(2016, 4, 1), 1000000, 10);
    for (int sub = 0; sub < 6; ++sub) {
        data.rows.push_back(StoredRow(1, sub, 2016 + sub));
        data.rows.back().期首残高 = Y(1000 - sub);
        data.rows.back().期末残高 = Y(999 - sub);
    }
    const std::vector<YearRow> before = data.rows;
    EXPECT_EQ(run(data), AssetPassEnd::UnknownMethod);
    EXPECT_EQ(BookOf(data.rows), BookOf(before));
    EXPECT_EQ(data.asset.期首簿価, Y(996));
    EXPECT_EQ(data.asset.期末簿価, Y(995));
}

} // namespace
} // namespace qpn::test
