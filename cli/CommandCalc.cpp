#include "cli/CliCommand.h"
#include "cli/ConsoleDialogs.h"

#include "depreciation/BatchRun.h"
#include "depreciation/RateTable.h"
#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "register/HeaderSettings.h"

#include <QDir>

namespace qpn::cli
{

namespace
{

// Progress on standard error, a step per percent, so a large register does
// not flood the terminal.
class ProgressLine
{
public:
    explicit ProgressLine(QTextStream &err) : m_err(err) {}
    void show(int index, int count)
    {
        const int percent = count > 0 ? (index + 1) * 100 / count : 100;
        if (percent == m_percent)
            return;
        m_percent = percent;
        m_err << "\r計算中 " << index + 1 << '/' << count << " (" << percent << "%)";
        m_err.flush();
    }
    void end()
    {
        if (m_percent >= 0)
            m_err << '\n';
        m_err.flush();
    }

private:
    QTextStream &m_err;
    int m_percent = -1;
};

// The batch update: protection choice 0, or 1 with --recalculate (its
// question answered yes). Exit status 1 when a failed check stopped the run.
int runCalc(CliContext &context)
{
    QStringList args = context.args;
    const bool recalculate = TakeFlag(args, QStringLiteral("--recalculate"));
    if (!args.isEmpty()) {
        context.err << "usage: qpn [--base DIR] calc [--recalculate]\n";
        return 2;
    }
    try {
        engine::Table head;
        head.setDatabaseName(context.baseFolder);
        head.setTableName(QStringLiteral("HeadM"));
        if (!head.exists()) {
            context.err << "実行できる環境ではありませんので、終了します。\n";
            return 1;
        }
        HeaderSettings::LoadAppOptions(context.baseFolder);
        LoadRateTable();
        engine::Database data(engine::Session::defaultSession(), QStringLiteral("AAA"),
                              QDir(context.baseFolder).filePath(QStringLiteral("QPNdata")));

        ConsoleDialogs dialogs(context.out, recalculate);
        const ScopedDialogs scope(dialogs);
        ProgressLine progress(context.err);
        BatchRun batch(data);
        batch.setProgress([&progress](int index, int count) { progress.show(index, count); });
        const BatchRun::Outcome outcome =
            batch.run(recalculate ? BatchRun::Recalculate : BatchRun::Protect);
        progress.end();
        switch (outcome) {
        case BatchRun::Outcome::Completed:
            context.out << batch.assetsCalculated() << " 件の資産を計算しました。\n";
            return 0;
        case BatchRun::Outcome::NoAssets:
            return 0;
        case BatchRun::Outcome::Cancelled:
        case BatchRun::Outcome::Stopped:
            context.out << batch.assetsCalculated() << " 件の資産を計算して中断しました。\n";
            return 1;
        }
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
    }
    return 1;
}

const CommandRegistrar registrar(
    {QStringLiteral("calc"), QStringLiteral("calc [--recalculate]"),
     QStringLiteral("the batch depreciation update (一括更新計算): past years protected, or "
                    "with --recalculate every year recalculated from the purchase"),
     &runCalc});

} // namespace

} // namespace qpn::cli
