#include "depreciation/CalculationSettings.h"
#include "engine/EngineError.h"
#include "engine/Query.h"
#include "lib/AppOptions.h"
#include "register/HeaderSettings.h"
#include "tests/register/HeaderFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QDate>

namespace qpn::test
{
namespace
{

QDate Q(int year, int month, int day)
{
    return QDate(year, month, day);
}

TEST_F(HeaderTest, OpeningANewRowSetsTheMissingOptionsAndProposesAFiscalStart)
{
    struct Case {
        const char *name;
        QDate today;
        QString proposal;
    };
    const Case cases[] = {
        {"February belongs to the year before", Q(2020, 2, 15), QStringLiteral("2019/04/01")},
        {"the first of April starts a year", Q(2020, 4, 1), QStringLiteral("2020/04/01")},
        {"March 31 is still the old year", Q(2021, 3, 31), QStringLiteral("2020/04/01")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setToday(FromQDate(c.today));
        ASSERT_FALSE(hasHeaderRow());
        {
            HeaderSettings settings(base(), data());
            settings.open();
            EXPECT_EQ(settings.text(QStringLiteral("KisyuDate")), c.proposal);
        }
        // The option defaults are posted at opening, the proposal only on close.
        ASSERT_TRUE(hasHeaderRow());
        const std::map<QString, QVariant> expected{{QStringLiteral("PM1"), 0},
                                                   {QStringLiteral("PM2"), 1},
                                                   {QStringLiteral("PM3"), 0},
                                                   {QStringLiteral("PM4"), 1},
                                                   {QStringLiteral("PM6"), 0}};
        for (const auto &[column, value] : expected)
            EXPECT_EQ(header(column), value) << column.toStdString();
        EXPECT_FALSE(header(QStringLiteral("PM8")).isValid());
        EXPECT_FALSE(header(QStringLiteral("KisyuDate")).isValid());
        engine::Query wipe;
        wipe.setDatabaseName(base());
        wipe.setSql(QStringLiteral("delete from HeadM"));
        wipe.execSql();
    }
}

TEST_F(HeaderTest, OpeningKeepsStoredValues)
{
    setHeader({{QStringLiteral("KisyuDate"), Q(2018, 10, 1)},
               {QStringLiteral("PM2"), 0},
               {QStringLiteral("PM4"), 0},
               {QStringLiteral("PM8"), 1}});
    HeaderSettings settings(base(), data());
    settings.open();
    EXPECT_EQ(settings.text(QStringLiteral("KisyuDate")), QStringLiteral("2018/10/01"));
    EXPECT_EQ(settings.option(QStringLiteral("PM2")), 0);
    EXPECT_EQ(settings.option(QStringLiteral("PM4")), 0);
    EXPECT_EQ(settings.option(QStringLiteral("PM8")), 1);
    EXPECT_EQ(settings.option(QStringLiteral("PM1")), 0);
}

TEST_F(HeaderTest, ClosingDerivesTheFiscalEndAndPublishesTheOptions)
{
    struct Case {
        const char *start;
        QDate end;
        int year;
    };
    const Case cases[] = {
        {"2019/04/01", Q(2020, 3, 31), 2019},
        {"2019/10/01", Q(2020, 9, 30), 2019},
        {"2020/03/01", Q(2021, 2, 28), 2020},
        {"2019/3/1", Q(2020, 2, 29), 2019},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start);
        HeaderSettings settings(base(), data());
        settings.open();
        settings.setText(QStringLiteral("KisyuDate"), QString::fromUtf8(c.start));
        settings.setText(QStringLiteral("年度"), QStringLiteral("2019"));
        settings.setOption(QStringLiteral("PM1"), 2);
        settings.setOption(QStringLiteral("PM3"), 2);
        settings.setOption(QStringLiteral("PM8"), 1);
        settings.setOption(QStringLiteral("PM6"), 1);
        settings.close();
        EXPECT_FALSE(settings.isOpen());
        EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(c.end));
        EXPECT_EQ(header(QStringLiteral("PM1")), QVariant(2));
        EXPECT_EQ(header(QStringLiteral("PM8")), QVariant(1));
        const AppOptionsData &options = AppOptions();
        EXPECT_EQ(options.FiscalYear, c.year);
        EXPECT_EQ(ToQDate(options.FiscalEnd), c.end);
        EXPECT_EQ(options.ResidualMethod, 2);
        EXPECT_EQ(options.StraightLineBasis, 1);
        EXPECT_EQ(options.SubsidyResidual, 2);
        EXPECT_EQ(options.RoundingMode, 1);
        EXPECT_EQ(options.DisposalMonthly, 1);
        EXPECT_EQ(options.EraDisplay, 1);
        EXPECT_EQ(options.TransitionYear, 2019);
    }
    EXPECT_TRUE(m_dialogs.messages().isEmpty());
}

TEST_F(HeaderTest, ClosingFixesEveryYearBeforeTheNewFiscalYear)
{
    for (int id : {1, 2}) {
        int sub = 0;
        for (int nendo = 2018; nendo <= 2022; ++nendo)
            addYearRow(id, sub++, nendo);
    }
    HeaderSettings settings(base(), data());
    settings.open();
    settings.setText(QStringLiteral("KisyuDate"), QStringLiteral("2021/04/01"));
    settings.close();
    const std::map<int, int> expected{{2018, 1}, {2019, 1}, {2020, 1}, {2021, 0}, {2022, 0}};
    EXPECT_EQ(fixedMarks(1), expected);
    EXPECT_EQ(fixedMarks(2), expected);

    // Moving the start back does not reopen a closed year.
    HeaderSettings again(base(), data());
    again.open();
    again.setText(QStringLiteral("KisyuDate"), QStringLiteral("2019/04/01"));
    again.close();
    EXPECT_EQ(fixedMarks(1), expected);
}

TEST_F(HeaderTest, AStartThatCannotFormAFiscalYearIsRefusedWithNothingWritten)
{
    setHeader({{QStringLiteral("KisyuDate"), Q(2019, 4, 1)},
               {QStringLiteral("KimatuDate"), Q(2020, 3, 31)}});
    addYearRow(1, 0, 2019);
    struct Case {
        QString start;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("2020/02/29"), QStringLiteral("会計期首に2月29日は指定できません。")},
        {QString(), QStringLiteral("会計期首を入力してください。")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start.toStdString());
        HeaderSettings settings(base(), data());
        settings.open();
        settings.setText(QStringLiteral("KisyuDate"), c.start);
        settings.setOption(QStringLiteral("PM1"), 2);
        EXPECT_THROW(settings.close(), SettingsRefused);
        EXPECT_EQ(m_dialogs.texts().value(m_dialogs.texts().size() - 1), c.message);
        EXPECT_TRUE(settings.isOpen()); // the row stays in edit state
        EXPECT_EQ(header(QStringLiteral("KisyuDate")), QVariant(Q(2019, 4, 1)));
        EXPECT_EQ(header(QStringLiteral("PM1")), QVariant(0));
        EXPECT_EQ(AppOptions().FiscalYear, 0);
        EXPECT_EQ(fixedMarks(1), (std::map<int, int>{{2019, 0}}));
    }
    // A refused start can be corrected and the same row closed.
    HeaderSettings settings(base(), data());
    settings.open();
    settings.setText(QStringLiteral("KisyuDate"), QStringLiteral("2020/02/29"));
    EXPECT_THROW(settings.close(), SettingsRefused);
    settings.setText(QStringLiteral("KisyuDate"), QStringLiteral("2020/03/01"));
    settings.close();
    EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(Q(2021, 2, 28)));
}

TEST_F(HeaderTest, ATextTheColumnCannotTakeIsRefusedByTheField)
{
    HeaderSettings settings(base(), data());
    settings.open();
    for (const auto &[column, text] : {std::pair{"KisyuDate", "2020/13/01"},
                                       std::pair{"KisyuDate", "abc"}, std::pair{"PM5", "12a4"}}) {
        SCOPED_TRACE(column);
        EXPECT_THROW(settings.setText(QString::fromUtf8(column), QString::fromUtf8(text)),
                     engine::EngineError);
    }
    settings.setText(QStringLiteral("PM5"), QStringLiteral("0123"));
    settings.close();
    EXPECT_EQ(header(QStringLiteral("PM5")), QVariant(123));
}

} // namespace
} // namespace qpn::test
