#include "cli/CliCommand.h"

#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/Dialogs.h"
#include "store/SchemaMaker.h"

#include <QDir>

namespace qpn::cli {

namespace {

// Answers the account-list question from the command line's option and
// passes every other message on to standard error.
class InitDialogs final : public Dialogs
{
public:
    InitDialogs(DialogButton accountAnswer, QTextStream &err) : m_answer(accountAnswer), m_err(err) {}

    DialogButton message(DialogKind, const QString &text, const QList<DialogButton> &buttons,
                         const QString &) override
    {
        if (buttons.contains(DialogButton::Yes) && buttons.contains(DialogButton::No)) {
            m_asked = true;
            return m_answer;
        }
        m_err << text << '\n';
        return buttons.isEmpty() ? DialogButton::Ok : buttons.first();
    }
    bool prompt(const QString &, const QString &, QString &, bool) override { return false; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(const QString &, const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }

    bool asked() const { return m_asked; }

private:
    DialogButton m_answer;
    QTextStream &m_err;
    bool m_asked = false;
};

bool isBlank(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QChar(0x3000)).isEmpty();
}

// The header table holds one row; the first start appends it, as the
// corporation-name registration does, and the name goes into meisyou.
void storeHeader(const QString &baseFolder, const QString *name)
{
    engine::Table head;
    head.setDatabaseName(baseFolder);
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    if (head.isEmpty())
        head.append();
    else if (name)
        head.edit();
    else
        return;
    if (name)
        head.fieldByName(QStringLiteral("meisyou")).setAsString(*name);
    head.post();
    head.close();
}

int runInit(CliContext &context)
{
    QString accounts = QStringLiteral("social-welfare");
    QString name;
    TakeOption(context.args, QStringLiteral("--accounts"), accounts);
    const bool hasName = TakeOption(context.args, QStringLiteral("--name"), name);
    if (!context.args.isEmpty()) {
        context.err << "qpn init: 不明な引数です: " << context.args.join(QLatin1Char(' ')) << '\n';
        return 2;
    }
    if (accounts != QStringLiteral("social-welfare") && accounts != QStringLiteral("school")) {
        context.err << "qpn init: --accounts は social-welfare か school です: " << accounts << '\n';
        return 2;
    }
    if (hasName && isBlank(name)) {
        context.err << "qpn init: 法人名が空白です。\n";
        return 2;
    }

    const QString dataFolder = QDir(context.baseFolder).filePath(QStringLiteral("QPNdata"));
    if (!QDir().mkpath(dataFolder)) {
        context.err << "データフォルダが作成できませんでしたので、終了します。\n";
        return 1;
    }
    const bool socialWelfare = accounts == QStringLiteral("social-welfare");
    InitDialogs dialogs(socialWelfare ? DialogButton::Yes : DialogButton::No, context.err);
    const ScopedDialogs scope(dialogs);
    try {
        SchemaMaker maker;
        maker.MakeHeadM(context.baseFolder);
        maker.MakeTBL(dataFolder);
        storeHeader(context.baseFolder, hasName ? &name : nullptr);
        context.out << "QPNdata: " << QDir::toNativeSeparators(dataFolder) << '\n';
        if (!maker.appliedSteps().isEmpty()) {
            QStringList steps;
            for (const int step : maker.appliedSteps())
                steps.append(QString::number(step));
            context.out << "upgrade steps: " << steps.join(QLatin1Char(' ')) << '\n';
        }
        if (dialogs.asked())
            context.out << "kamoku: " << (socialWelfare ? "social-welfare" : "school") << '\n';
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
        return 1;
    }
    return 0;
}

const CommandRegistrar registrar({
    QStringLiteral("init"),
    QStringLiteral("init [--accounts social-welfare|school] [--name TEXT]"),
    QStringLiteral("creates or upgrades the register's tables (QPNdata/ and HeadM) and seeds the empty lists"),
    &runInit,
});

} // namespace

} // namespace qpn::cli
