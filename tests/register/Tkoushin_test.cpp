#include "depreciation/Tkoushin.h"
#include "engine/Database.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "lib/AppOptions.h"
#include "platform/RadioGroup.h"
#include "tests/register/HeaderFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace qpn::test
{
namespace
{

const QString RecalculationQuestion =
    QStringLiteral("この処理を実行すると、今までの計算がクリアされて減価償却計算をやり直します。実"
                   "行してもよいですか。");

// The form over a register whose fiscal year starts on 1 April of a year set
// in the header and in AppOptions, as start-up leaves them.
class TkoushinTest : public HeaderTest
{
protected:
    void SetUp() override
    {
        HeaderTest::SetUp();
        m_database = std::make_unique<engine::Database>(engine::Session::defaultSession(),
                                                        QStringLiteral("AAA"), data());
        setFiscalYear(2020);
        m_form = std::make_unique<Tkoushin>(*m_database, base());
    }

    void TearDown() override
    {
        m_form.reset();
        m_database.reset();
        HeaderTest::TearDown();
    }

    void setFiscalYear(int year)
    {
        setHeader({{QStringLiteral("KisyuDate"), QDate(year, 4, 1)},
                   {QStringLiteral("KimatuDate"), QDate(year + 1, 3, 31)}});
        AppOptions().setFiscalStart(EncodeDate(year, 4, 1));
        AppOptions().FiscalEnd = EncodeDate(year + 1, 3, 31);
    }

    void sql(const QString &text) const
    {
        engine::Query q;
        q.setDatabaseName(data());
        q.setSql(text);
        q.execSql();
    }

    // Straight-line, 1 000 000 bought in April 2016, life 10: 100 000 a year.
    void storeAsset(int id, const QString &name = QStringLiteral("机")) const
    {
        engine::Query q;
        q.setDatabaseName(data());
        q.setSql(QStringLiteral(
            "insert into daicyoA (ID, houhou_ID, houhou2_ID, \"品名\", \"購入日\", \"購入価格\", "
            "\"償却年数\", \"残率\", yobi3_ID) values (:ID, 0, 0, :N, :D, 1000000, 10, 0, 1)"));
        q.setParam(QStringLiteral("ID"), id);
        q.setParam(QStringLiteral("N"), name.isEmpty() ? QVariant() : QVariant(name));
        q.setParam(QStringLiteral("D"), QDate(2016, 4, 1));
        q.execSql();
    }

    // Closing balances by fiscal year.
    std::map<int, qint64> closings(int id) const
    {
        engine::Query q;
        q.setDatabaseName(data());
        q.setSql(QStringLiteral("select Nendo, \"期末残高\" from daicyoB where ID = :ID"));
        q.setParam(QStringLiteral("ID"), id);
        q.open();
        std::map<int, qint64> result;
        for (q.first(); !q.eof(); q.next())
            result[q.fieldByName(QStringLiteral("Nendo")).asInteger()] =
                q.fieldByName(QStringLiteral("期末残高")).asCurrency().units() /
                Currency::UnitsPerYen;
        return result;
    }

    // Opens the form, chooses protection and presses 実行.
    void run(int choice)
    {
        m_form->show();
        m_form->RadioGroup1->item(choice)->click();
        m_form->Button1->click();
    }

    std::unique_ptr<engine::Database> m_database;
    std::unique_ptr<Tkoushin> m_form;
};

TEST_F(TkoushinTest, OpeningShowsTheFiscalStartAndTheOptions)
{
    setHeader({{QStringLiteral("年度"), 2018}});
    AppOptions().ResidualMethod = 2;
    AppOptions().StraightLineBasis = 1;
    AppOptions().SubsidyResidual = 2;
    AppOptions().RoundingMode = 1;
    m_form->show();
    EXPECT_EQ(m_form->DBText1->text(), QStringLiteral("2020/04/01"));
    EXPECT_EQ(m_form->RadioGroup5->itemIndex(), 2);
    EXPECT_EQ(m_form->RadioGroup2->itemIndex(), 1);
    EXPECT_EQ(m_form->RadioGroup3->itemIndex(), 2);
    EXPECT_EQ(m_form->RadioGroup4->itemIndex(), 1);
    EXPECT_FALSE(m_form->RadioGroup5->isEnabled());
    EXPECT_TRUE(m_form->RadioGroup1->isEnabled());
    EXPECT_EQ(AppOptions().TransitionYear, 2018);

    // Closing writes the shown options back to the header row.
    m_form->BitBtn1->click();
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(header(QStringLiteral("PM1")), QVariant(2));
    EXPECT_EQ(header(QStringLiteral("PM2")), QVariant(1));
    EXPECT_EQ(header(QStringLiteral("PM3")), QVariant(2));
    EXPECT_EQ(header(QStringLiteral("PM4")), QVariant(1));
}

TEST_F(TkoushinTest, RecalculationNotConfirmedChangesNothing)
{
    storeAsset(1);
    run(0);
    ASSERT_FALSE(m_form->isVisible());
    sql(QStringLiteral("update daicyoB set \"期末残高\" = 5 where Nendo = 2017"));
    const std::map<int, int> marks = fixedMarks(1);
    const std::map<int, qint64> before = closings(1);
    for (DialogButton answer : {DialogButton::No, DialogButton::Cancel}) {
        m_dialogs.answer(answer);
        run(1);
        EXPECT_EQ(m_dialogs.texts().value(m_dialogs.texts().size() - 1), RecalculationQuestion);
        EXPECT_TRUE(m_form->isVisible());
        EXPECT_EQ(fixedMarks(1), marks);
        EXPECT_EQ(closings(1), before);
        m_form->close();
    }
}

TEST_F(TkoushinTest, ProtectionFixesThePastYearsBeforeCalculating)
{
    storeAsset(1);
    run(0);
    ASSERT_FALSE(m_form->isVisible());
    // The register moves on to April 2021; the stored rows carry figures of their own.
    setFiscalYear(2021);
    sql(QStringLiteral("update daicyoB set \"期末残高\" = 7, F1 = null"));
    run(0);
    EXPECT_FALSE(m_form->isVisible());
    const std::map<int, qint64> after = closings(1);
    for (int nendo = 2016; nendo <= 2020; ++nendo)
        EXPECT_EQ(after.at(nendo), 7) << nendo; // fixed first, so kept
    EXPECT_EQ(after.at(2021), 1); // recalculated from the kept 7 down to the memorandum yen
    const std::map<int, int> marks = fixedMarks(1);
    for (const auto &[nendo, mark] : marks)
        EXPECT_EQ(mark, nendo <= 2020 ? 1 : 0) << nendo;
}

TEST_F(TkoushinTest, RecalculationRebuildsEveryYearAndFixesThePastAgain)
{
    storeAsset(1);
    storeAsset(2);
    run(0);
    setFiscalYear(2021);
    sql(QStringLiteral("update daicyoB set \"期末残高\" = 7, F1 = 1"));
    m_dialogs.answer(DialogButton::Yes);
    run(1);
    EXPECT_FALSE(m_form->isVisible());
    for (int id : {1, 2}) {
        SCOPED_TRACE(id);
        const std::map<int, qint64> after = closings(id);
        EXPECT_EQ(after.at(2016), 900000);
        EXPECT_EQ(after.at(2020), 500000);
        EXPECT_EQ(after.at(2021), 400000);
        for (const auto &[nendo, mark] : fixedMarks(id))
            EXPECT_EQ(mark, nendo < 2021 ? 1 : 0) << nendo;
    }
    EXPECT_EQ(m_form->Gauge1->maximum(), 1);
    EXPECT_EQ(m_form->Gauge1->value(), 1);
    // The choice persists on the long-lived form.
    m_form->show();
    EXPECT_EQ(m_form->RadioGroup1->itemIndex(), 1);
    m_form->close();
}

TEST_F(TkoushinTest, ARunThatDoesNotFinishLeavesTheFormOpen)
{
    // Nothing to calculate.
    run(0);
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(m_dialogs.texts(), QStringList{QStringLiteral("計算する資産がありません。")});
    m_form->close();

    // A failed check stops at its asset; the assets before it keep their figures.
    storeAsset(1);
    storeAsset(2, QString());
    storeAsset(3);
    run(0);
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(m_dialogs.texts().value(1),
              QStringLiteral("品名がありませんので、確認してください。登録番号【2】"));
    EXPECT_EQ(closings(1).size(), 10u);
    EXPECT_TRUE(closings(3).empty());

    // The next run on the same form starts again at the first asset.
    sql(QStringLiteral("update daicyoA set \"品名\" = 'x' where ID = 2"));
    sql(QStringLiteral("update daicyoB set \"期末残高\" = 7 where Nendo = 2020"));
    m_form->Button1->click();
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(closings(1).at(2020), 500000);
    EXPECT_EQ(closings(3).size(), 10u);
}

TEST_F(TkoushinTest, TheHiddenButtonFixesTheYearsBeforeTheCurrentOne)
{
    storeAsset(1);
    run(0);
    sql(QStringLiteral("update daicyoB set F1 = null"));
    m_form->show();
    EXPECT_FALSE(m_form->Button2->isVisibleTo(m_form.get()));
    QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(3, 3),
                      m_form->Label14->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(m_form->Label14, &click);
    ASSERT_TRUE(m_form->Button2->isVisibleTo(m_form.get()));

    m_dialogs.answer(DialogButton::No);
    m_form->Button2->click();
    EXPECT_EQ(m_dialogs.texts().value(m_dialogs.texts().size() - 1),
              QStringLiteral("この処理を実行すると、当年度までの償却計算を自動的に固定化します。"));
    for (const auto &[nendo, mark] : fixedMarks(1))
        EXPECT_EQ(mark, 0) << nendo;

    m_dialogs.answer(DialogButton::Yes);
    m_form->Button2->click();
    for (const auto &[nendo, mark] : fixedMarks(1))
        EXPECT_EQ(mark, nendo < 2020 ? 1 : 0) << nendo;
    m_form->close();
    // Revealed for the rest of the process.
    m_form->show();
    EXPECT_TRUE(m_form->Button2->isVisible());
    m_form->close();
}

} // namespace
} // namespace qpn::test
