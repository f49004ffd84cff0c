#include "cli/CliCommand.h"
#include "cli/ConsoleDialogs.h"

#include "depreciation/CalculationSettings.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "lib/DateFormat.h"
#include "register/HeaderSettings.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>

#include <map>

namespace qpn::cli
{

namespace
{

const QString Usage = QStringLiteral("usage: qpn [--base DIR] settings [--fiscal-start YYYY/MM/DD] "
                                     "[--residual-method N] [--straight-line-basis N]\n"
                                     "       [--subsidy-residual N] [--rounding N] "
                                     "[--disposal-monthly N] [--era N] [--transition-year N]\n"
                                     "       [--partial-disposal 0|1]\n");

QString DateText(const engine::Field &field)
{
    return field.isNull() ? QString()
                          : FormatDateTime(QStringLiteral("yyyy/mm/dd"), field.asDateTime());
}

// The settings as "name,value[,item text]" lines, in the form's order.
void PrintSettings(const QString &baseFolder, QTextStream &out)
{
    engine::Table head;
    head.setDatabaseName(baseFolder);
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    head.first();
    const bool noRow = head.isEmpty();
    const auto field = [&head](const QString &column) -> const engine::Field & {
        return head.fieldByName(column);
    };
    out << "fiscal-start," << (noRow ? QString() : DateText(field(QStringLiteral("KisyuDate"))))
        << '\n';
    out << "fiscal-end," << (noRow ? QString() : DateText(field(QStringLiteral("KimatuDate"))))
        << '\n';
    for (const HeaderOption &option : HeaderSettings::Options()) {
        out << option.cliName << ',';
        if (!noRow && !field(option.column).isNull()) {
            const int value = field(option.column).asInteger();
            out << value << ',' << option.items.value(value);
        }
        out << '\n';
    }
    out << "transition-year," << (noRow ? QString() : field(QStringLiteral("年度")).asString())
        << '\n';
    head.close();
}

bool ParseFiscalStart(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4})/(\d{1,2})/(\d{1,2})$)"));
    const QRegularExpressionMatch m = pattern.match(text);
    return m.hasMatch() &&
           QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid();
}

// Prints the settings; given any option, applies them as closing the
// settings form does: fiscal end, AppOptions, the PM columns and the fixing
// of every year before the new fiscal year.
int runSettings(CliContext &context)
{
    QStringList args = context.args;
    QString fiscalStart;
    const bool newStart = TakeOption(args, QStringLiteral("--fiscal-start"), fiscalStart);
    std::map<QString, int> options; // column → value
    for (const HeaderOption &option : HeaderSettings::Options()) {
        QString text;
        if (!TakeOption(args, QStringLiteral("--") + option.cliName, text))
            continue;
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < 0 || value >= option.items.size()) {
            context.err << "--" << option.cliName << ": 0 から " << option.items.size() - 1
                        << " までの数を指定してください。\n";
            return 2;
        }
        options[option.column] = value;
    }
    QString transitionYear;
    const bool newTransitionYear =
        TakeOption(args, QStringLiteral("--transition-year"), transitionYear);
    if (!args.isEmpty()) {
        context.err << Usage;
        return 2;
    }
    if (newStart && !ParseFiscalStart(fiscalStart)) {
        context.err << "--fiscal-start: 日付を YYYY/MM/DD で指定してください。\n";
        return 2;
    }
    bool yearOk = true;
    if (newTransitionYear && (transitionYear.toInt(&yearOk), !yearOk)) {
        context.err << "--transition-year: 年度を数で指定してください。\n";
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
        if (newStart || newTransitionYear || !options.empty()) {
            ConsoleDialogs dialogs(context.err, false);
            const ScopedDialogs scope(dialogs);
            HeaderSettings settings(context.baseFolder,
                                    QDir(context.baseFolder).filePath(QStringLiteral("QPNdata")));
            settings.open();
            if (newStart)
                settings.setText(QStringLiteral("KisyuDate"), fiscalStart);
            if (newTransitionYear)
                settings.setText(QStringLiteral("年度"), transitionYear);
            for (const auto &[column, value] : options)
                settings.setOption(column, value);
            settings.close();
        }
        PrintSettings(context.baseFolder, context.out);
        return 0;
    } catch (const SettingsRefused &) {
        // its message has been printed
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
    }
    return 1;
}

const CommandRegistrar registrar(
    {QStringLiteral("settings"),
     QStringLiteral(
         "settings [--fiscal-start YYYY/MM/DD] [--residual-method N] [--straight-line-basis N] "
         "[--subsidy-residual N] [--rounding N] [--disposal-monthly N] [--era N] "
         "[--transition-year N] "
         "[--partial-disposal 0|1]"),
     QStringLiteral(
         "prints the corporation settings (初期設定); given options, applies them as closing the "
         "settings form does (fiscal end, options, fixing the years before the new fiscal year)"),
     &runSettings});

} // namespace

} // namespace qpn::cli
