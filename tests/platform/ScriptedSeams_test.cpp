#include "platform/ScriptedDialogs.h"
#include "platform/ScriptedModals.h"
#include "platform/WidgetDialogs.h"
#include "tests/support/SupportPrinters.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace qpn {
namespace {

using B = DialogButton;

TEST(ScriptedDialogs, OkBoxesNeedNoScriptAndQuestionsTakeAnswersInOrder)
{
    ScriptedDialogs dialogs;
    dialogs.answer(B::No).answer(B::Cancel);
    ShowMessage(QStringLiteral("one"));
    EXPECT_EQ(MessageDlg(QStringLiteral("two"), DialogKind::Warning, {B::Yes, B::No, B::Cancel}), B::No);
    EXPECT_EQ(MessageDlg(QStringLiteral("three"), DialogKind::Error, {B::Ok}), B::Ok);
    EXPECT_EQ(MessageDlg(QStringLiteral("four"), DialogKind::Confirmation, {B::Ok, B::Cancel}), B::Cancel);
    EXPECT_EQ(dialogs.texts(), (QStringList{"one", "two", "three", "four"}));
    EXPECT_EQ(dialogs.messages().at(1).kind, DialogKind::Warning);
    EXPECT_EQ(dialogs.messages().at(1).buttons, (QList<B>{B::Yes, B::No, B::Cancel}));
    EXPECT_EQ(dialogs.pending(), 0);
}

TEST(ScriptedDialogs, UnforeseenQuestionsFailLoudly)
{
    ScriptedDialogs dialogs;
    EXPECT_THROW(MessageDlg(QStringLiteral("q"), DialogKind::Confirmation, {B::Yes, B::No}), ScriptError);
    dialogs.answer(B::YesToAll);
    EXPECT_THROW(MessageDlg(QStringLiteral("q"), DialogKind::Confirmation, {B::Yes, B::No}), ScriptError);
    QString value;
    EXPECT_THROW(dialogs.prompt(QStringLiteral("c"), QStringLiteral("l"), value), ScriptError);
    EXPECT_THROW(dialogs.chooseFolder(QStringLiteral("c"), QString()), ScriptError);
    EXPECT_THROW(dialogs.chooseOpenFile(QStringLiteral("c"), QString(), QString()), ScriptError);
    EXPECT_THROW(dialogs.chooseSaveFile(QStringLiteral("c"), QString(), QString()), ScriptError);
}

TEST(ScriptedDialogs, ClosingABoxIsAlwaysAnAnswer)
{
    ScriptedDialogs dialogs;
    dialogs.answer(B::Close);
    EXPECT_EQ(MessageDlg(QStringLiteral("q"), DialogKind::Warning, {B::Yes, B::No}), B::Close);
}

TEST(ScriptedDialogs, PromptsAndPickersAnswerFromTheirOwnQueues)
{
    ScriptedDialogs dialogs;
    dialogs.answerPrompt(QStringLiteral("typed")).cancelPrompt();
    dialogs.answerFolder(QStringLiteral("/tmp/x")).answerOpenFile(QStringLiteral("/tmp/in.csv"));
    dialogs.answerSaveFile(QString());
    QString value = QStringLiteral("before");
    EXPECT_TRUE(dialogs.prompt(QStringLiteral("c"), QStringLiteral("l"), value));
    EXPECT_EQ(value, QStringLiteral("typed"));
    EXPECT_FALSE(dialogs.prompt(QStringLiteral("c"), QStringLiteral("l"), value));
    EXPECT_EQ(value, QStringLiteral("typed"));
    EXPECT_EQ(dialogs.chooseFolder(QStringLiteral("c"), QString()), QStringLiteral("/tmp/x"));
    EXPECT_EQ(dialogs.chooseOpenFile(QStringLiteral("c"), QString(), QString()), QStringLiteral("/tmp/in.csv"));
    EXPECT_EQ(dialogs.chooseSaveFile(QStringLiteral("c"), QString(), QString()), QString());
}

TEST(ScriptedDialogs, RestoresThePreviousSeam)
{
    ScriptedDialogs outer;
    {
        ScriptedDialogs inner;
        ShowMessage(QStringLiteral("inner"));
    }
    ShowMessage(QStringLiteral("outer"));
    EXPECT_EQ(outer.texts(), QStringList{"outer"});
}

// A small form that refuses to close on an empty edit, as registration forms do.
class NameForm : public QDialog
{
public:
    NameForm()
    {
        setObjectName(QStringLiteral("NameForm"));
        edit = new QLineEdit(this);
        ok = new QPushButton(this);
        connect(ok, &QPushButton::clicked, this, [this] {
            if (!edit->text().isEmpty())
                accept();
        });
    }
    QLineEdit *edit;
    QPushButton *ok;
};

TEST(ScriptedModals, StepDrivesTheShownFormAndItsResultIsReturned)
{
    ScriptedModals modals;
    bool visibleDuringStep = false;
    modals.expect(QStringLiteral("NameForm"), [&](QDialog &dialog) {
        auto &form = static_cast<NameForm &>(dialog);
        visibleDuringStep = form.isVisible();
        form.ok->click();
        EXPECT_TRUE(form.isVisible());
        form.edit->setText(QStringLiteral("x"));
        form.ok->click();
    });
    NameForm form;
    EXPECT_EQ(ExecModal(form), QDialog::Accepted);
    EXPECT_TRUE(visibleDuringStep);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(modals.shown(), QStringList{"NameForm"});
}

TEST(ScriptedModals, UnscriptedMisnamedOrUnclosedFormsThrow)
{
    NameForm form;
    {
        ScriptedModals modals;
        EXPECT_THROW(ExecModal(form), ScriptError);
    }
    {
        ScriptedModals modals;
        modals.expect(QStringLiteral("OtherForm"), [](QDialog &dialog) { dialog.accept(); });
        EXPECT_THROW(ExecModal(form), ScriptError);
    }
    {
        ScriptedModals modals;
        modals.expect(QStringLiteral("NameForm"), [](QDialog &) {});
        EXPECT_THROW(ExecModal(form), ScriptError);
        EXPECT_FALSE(form.isVisible());
    }
    {
        ScriptedModals modals;
        modals.expect(QStringLiteral("NameForm"), [](QDialog &dialog) { dialog.close(); });
        EXPECT_EQ(ExecModal(form), QDialog::Rejected);
    }
}

TEST(WidgetDialogs, PickerFilterAcceptsPairsSeparatedByBars)
{
    EXPECT_EQ(WidgetDialogs::pickerFilter(QStringLiteral("CSV (*.csv)|*.csv|すべて|*.*")),
              QStringLiteral("CSV (*.csv) (*.csv);;すべて (*.*)"));
    EXPECT_EQ(WidgetDialogs::pickerFilter(QStringLiteral("表|*.xls;*.xlsx")), QStringLiteral("表 (*.xls *.xlsx)"));
    EXPECT_EQ(WidgetDialogs::pickerFilter(QStringLiteral("CSV (*.csv)")), QStringLiteral("CSV (*.csv)"));
}

} // namespace
} // namespace qpn
