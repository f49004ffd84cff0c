#include "lib/AppOptions.h"
#include "platform/RadioGroup.h"
#include "platform/ScriptedModals.h"
#include "register/THead.h"
#include "tests/register/HeaderFixture.h"
#include "tests/support/SupportPrinters.h"

#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qpn::test
{
namespace
{

class THeadTest : public HeaderTest
{
protected:
    std::unique_ptr<THead> openForm()
    {
        auto form = std::make_unique<THead>(base(), data());
        form->show(); // opening runs FormActivate
        return form;
    }

    static void doubleClick(QWidget *widget)
    {
        QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(5, 5),
                          widget->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }

    static bool transitionYearShown(const THead &form)
    {
        EXPECT_EQ(form.Label16->isVisibleTo(&form), form.DBEdit1->isVisibleTo(&form));
        return form.DBEdit1->isVisibleTo(&form);
    }
};

TEST_F(THeadTest, OpeningShowsTheDefaultsOfANewRow)
{
    setToday(EncodeDate(2020, 2, 15));
    auto form = openForm();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("初期設定１"));
    EXPECT_EQ(form->RDBEdit3->text(), QStringLiteral("2019/04/01"));
    EXPECT_EQ(form->RadioGroup1->itemIndex(), 0);
    EXPECT_EQ(form->RadioGroup2->itemIndex(), 1);
    EXPECT_EQ(form->RadioGroup3->itemIndex(), 0);
    EXPECT_EQ(form->RadioGroup4->itemIndex(), 1);
    EXPECT_EQ(form->RadioGroup5->itemIndex(), -1); // PM8 stays null
    EXPECT_EQ(form->RadioGroup6->itemIndex(), 0);
    EXPECT_FALSE(form->RDBEdit2->isEnabled());
    EXPECT_FALSE(transitionYearShown(*form));
    form->close();
    EXPECT_FALSE(form->isVisible());
    // An option without a choice is saved as 0, never as "no choice" (-1).
    EXPECT_EQ(header(QStringLiteral("PM8")), QVariant(0));
    EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(QDate(2020, 3, 31)));
}

TEST_F(THeadTest, TheTransitionYearFollowsTheProportionalSubsidyChoice)
{
    setHeader({{QStringLiteral("PM3"), 2}, {QStringLiteral("年度"), 2019}});
    auto form = openForm();
    EXPECT_TRUE(transitionYearShown(*form));
    EXPECT_EQ(form->DBEdit1->text(), QStringLiteral("2019"));
    for (const auto &[item, shown] :
         {std::pair{0, false}, std::pair{2, true}, std::pair{1, false}}) {
        SCOPED_TRACE(item);
        form->RadioGroup3->item(item)->click();
        EXPECT_EQ(transitionYearShown(*form), shown);
    }
    form->close();
}

TEST_F(THeadTest, Label14TogglesTheSubsidyOptions)
{
    auto form = openForm();
    EXPECT_TRUE(form->RadioGroup3->isVisibleTo(form.get()));
    doubleClick(form->Label14);
    EXPECT_FALSE(form->RadioGroup3->isVisibleTo(form.get()));
    doubleClick(form->Label14);
    EXPECT_TRUE(form->RadioGroup3->isVisibleTo(form.get()));
    form->close();
}

TEST_F(THeadTest, Label15SetsThePartialDisposalSwitchOnClose)
{
    struct Case {
        const char *name;
        int stored;
        DialogButton answer;
        int expected;
    };
    const Case cases[] = {
        {"No turns it off", 1, DialogButton::No, 0},
        {"Yes turns it on", 0, DialogButton::Yes, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setHeader({{QStringLiteral("PM7"), c.stored}});
        auto form = openForm();
        m_dialogs.answer(c.answer);
        doubleClick(form->Label15);
        EXPECT_EQ(m_dialogs.texts().value(m_dialogs.texts().size() - 1),
                  QStringLiteral("一部除却が可能な仕様に変更しますか？"));
        EXPECT_EQ(header(QStringLiteral("PM7")), QVariant(c.stored)); // not before the close
        form->close();
        EXPECT_EQ(header(QStringLiteral("PM7")), QVariant(c.expected));
    }
}

TEST_F(THeadTest, ClosingStoresTheChoicesAndFixesThePastYears)
{
    for (int nendo = 2019; nendo <= 2021; ++nendo)
        addYearRow(7, nendo - 2019, nendo);
    auto form = openForm();
    form->RDBEdit3->setText(QStringLiteral("2021/04/01"));
    form->RDBEdit4->setText(QStringLiteral("100-0001"));
    QTest::keyClicks(form->RDBEdit7, QStringLiteral("4321"));
    form->RadioGroup1->item(1)->click();
    form->RadioGroup2->item(0)->click();
    form->RadioGroup5->item(1)->click();
    form->RadioGroup6->item(1)->click();
    EXPECT_EQ(form->RDBEdit1->text(), QStringLiteral("4321"));
    form->BitBtn1->click();
    EXPECT_FALSE(form->isVisible());

    EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(QDate(2022, 3, 31)));
    EXPECT_EQ(header(QStringLiteral("yuubin")), QVariant(QStringLiteral("100-0001")));
    EXPECT_EQ(header(QStringLiteral("PM5")), QVariant(4321));
    EXPECT_EQ(header(QStringLiteral("PM1")), QVariant(1));
    EXPECT_EQ(header(QStringLiteral("PM2")), QVariant(0));
    EXPECT_EQ(header(QStringLiteral("PM8")), QVariant(1));
    EXPECT_EQ(header(QStringLiteral("PM6")), QVariant(1));
    EXPECT_EQ(AppOptions().FiscalYear, 2021);
    EXPECT_EQ(AppOptions().StraightLineBasis, 0);
    EXPECT_EQ(fixedMarks(7), (std::map<int, int>{{2019, 1}, {2020, 1}, {2021, 0}}));
}

TEST_F(THeadTest, ARefusedValueKeepsTheFormOpen)
{
    struct Case {
        QString start;
        QString message;
    };
    const Case cases[] = {
        {QStringLiteral("2020/02/29"), QStringLiteral("会計期首に2月29日は指定できません。")},
        {QStringLiteral("2020/02/30"), QStringLiteral("'2020/02/30' is not a valid date")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start.toStdString());
        setHeader({{QStringLiteral("KisyuDate"), QDate(2019, 4, 1)},
                   {QStringLiteral("KimatuDate"), QDate(2020, 3, 31)},
                   {QStringLiteral("yuubin"), QVariant()}});
        auto form = openForm();
        form->RDBEdit3->setText(c.start);
        form->RDBEdit4->setText(QStringLiteral("100-0001"));
        form->close();
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(m_dialogs.texts().value(m_dialogs.texts().size() - 1).startsWith(c.message));
        EXPECT_EQ(header(QStringLiteral("KisyuDate")), QVariant(QDate(2019, 4, 1)));
        EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(QDate(2020, 3, 31)));
        EXPECT_FALSE(header(QStringLiteral("yuubin")).isValid());
        form->RDBEdit3->setText(QStringLiteral("2020/03/01"));
        form->close();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(header(QStringLiteral("KimatuDate")), QVariant(QDate(2021, 2, 28)));
    }
}

TEST_F(THeadTest, EnterMovesToTheNextControl)
{
    auto form = openForm();
    form->RDBEdit4->setFocus();
    ASSERT_EQ(form->focusWidget(), form->RDBEdit4);
    QTest::keyClick(form->RDBEdit4, Qt::Key_Return);
    EXPECT_TRUE(form->isVisible()); // Enter does not close the form
    EXPECT_EQ(form->focusWidget(), form->RDBEdit5);
    form->close();
}

TEST_F(THeadTest, OpensThroughTheModalSeam)
{
    ScriptedModals modals;
    modals.expect(QStringLiteral("Head"), [](QDialog &dialog) {
        auto &form = static_cast<THead &>(dialog);
        form.RDBEdit3->setText(QStringLiteral("2022/04/01"));
        form.close();
    });
    THead form(base(), data());
    ExecModal(form);
    EXPECT_EQ(modals.pending(), 0);
    EXPECT_EQ(AppOptions().FiscalYear, 2022);
}

} // namespace
} // namespace qpn::test
