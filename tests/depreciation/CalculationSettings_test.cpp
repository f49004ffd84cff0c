// Applying the settings: the fiscal end, AppOptions, the header row and the
// fixing of past years.
#include "tests/depreciation/RegisterFixture.h"

#include "depreciation/AssetCalculation.h"
#include "depreciation/CalculationSettings.h"
#include "engine/Field.h"
#include "engine/Query.h"
#include "lib/AppOptions.h"

namespace qpn::test {
namespace {

using SettingsTest = RegisterTest;

TEST_F(SettingsTest, FiscalEndIsTheDayBeforeTheSameDateAYearLater)
{
    EXPECT_EQ(FiscalEndFor(D(2019, 4, 1)), D(2020, 3, 31));
    EXPECT_EQ(FiscalEndFor(D(2019, 10, 1)), D(2020, 9, 30));
    EXPECT_EQ(FiscalEndFor(D(2019, 3, 1)), D(2020, 2, 29));
    EXPECT_THROW(FiscalEndFor(D(2020, 2, 29)), SettingsRefused);
    EXPECT_EQ(m_dialogs.messages, QStringList{QStringLiteral("会計期首に2月29日は指定できません。")});
}

TEST_F(SettingsTest, ClosingFixesEveryYearBeforeTheNewOne)
{
    for (int id : {1, 2}) {
        AssetData asset;
        asset.asset = MakeAsset(id, id == 1 ? 0 : 2, D(2016, 4, 1), 1000000, 10);
        store(asset);
        AssetCalculation(*m_database).calculate(id, 1, Y(-1), Y(-1));
    }
    CalculationSettings settings;
    settings.FiscalStart = D(2021, 4, 1);
    settings.SubsidyResidual = 2;
    settings.TransitionYear = 2021;
    settings.DisposalMonthly = 1;
    settings.PartialDisposal = 1;
    ApplyCalculationSettings(settings, base(), QStringLiteral("AAA"));

    for (int id : {1, 2}) {
        for (const YearRow &row : loaded(id).rows)
            EXPECT_EQ(row.F1, *row.Nendo <= 2020 ? std::optional<int>(1) : std::nullopt) << id << " " << *row.Nendo;
    }
    EXPECT_EQ(AppOptions().FiscalYear, 2021);
    EXPECT_EQ(AppOptions().FiscalEnd, D(2022, 3, 31));
    EXPECT_EQ(AppOptions().SubsidyResidual, 2);
    EXPECT_EQ(AppOptions().StraightLineBasis, 1);
    EXPECT_EQ(AppOptions().TransitionYear, 2021);

    engine::Query header;
    header.setDatabaseName(base());
    header.setSql(QStringLiteral("select * from HeadM"));
    header.open();
    ASSERT_EQ(header.recordCount(), 1);
    EXPECT_EQ(header.fieldByName(QStringLiteral("KisyuDate")).asDateTime(), D(2021, 4, 1));
    EXPECT_EQ(header.fieldByName(QStringLiteral("KimatuDate")).asDateTime(), D(2022, 3, 31));
    EXPECT_EQ(header.fieldByName(QStringLiteral("PM2")).asInteger(), 1);
    EXPECT_EQ(header.fieldByName(QStringLiteral("PM3")).asInteger(), 2);
    EXPECT_EQ(header.fieldByName(QStringLiteral("PM4")).asInteger(), 1);
    EXPECT_EQ(header.fieldByName(QStringLiteral("PM7")).asInteger(), 1);
    EXPECT_EQ(header.fieldByName(QStringLiteral("PM8")).asInteger(), 1);
    EXPECT_EQ(header.fieldByName(QStringLiteral("年度")).asInteger(), 2021);
}

TEST_F(SettingsTest, LeapDayStartChangesNothing)
{
    CalculationSettings settings;
    settings.FiscalStart = D(2024, 2, 29);
    EXPECT_THROW(ApplyCalculationSettings(settings, base(), QStringLiteral("AAA")), SettingsRefused);
    EXPECT_EQ(AppOptions().FiscalYear, 2020);
    engine::Query header;
    header.setDatabaseName(base());
    header.setSql(QStringLiteral("select * from HeadM"));
    header.open();
    EXPECT_EQ(header.recordCount(), 0);
}

} // namespace
} // namespace qpn::test
