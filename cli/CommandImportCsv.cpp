#include "cli/CliCommand.h"

#include "engine/Database.h"
#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "export/CsvError.h"
#include "lib/AppOptions.h"
#include "register/AssetOperations.h"

#include <QDir>
#include <QFileInfo>

namespace qpn::cli {

namespace {

// The options the calculation reads, from the header row.
void loadOptions(const QString &baseFolder)
{
    engine::Table head;
    head.setDatabaseName(baseFolder);
    head.setTableName(QStringLiteral("HeadM"));
    head.open();
    head.first();
    AppOptionsData &options = AppOptions();
    options.BaseFolder = baseFolder;
    options.DataFolder = QDir(baseFolder).filePath(QStringLiteral("QPNdata"));
    if (!head.isEmpty()) {
        const auto option = [&head](const char *column) { return head.fieldByName(QString::fromUtf8(column)).asInteger(); };
        options.setFiscalStart(head.fieldByName(QStringLiteral("KisyuDate")).asDateTime());
        options.FiscalEnd = head.fieldByName(QStringLiteral("KimatuDate")).asDateTime();
        options.ResidualMethod = option("PM1");
        options.StraightLineBasis = option("PM2");
        options.SubsidyResidual = option("PM3");
        options.RoundingMode = option("PM4");
        options.EraDisplay = option("PM6");
        options.DisposalMonthly = option("PM8");
        options.TransitionYear = option("年度");
    }
    head.close();
}

// The asset import: the file into daicyoA by ID, then every asset recalculated.
int runImportCsv(CliContext &context)
{
    if (context.args.size() != 1) {
        context.err << "usage: qpn [--base DIR] import-csv FILE\n";
        return 2;
    }
    const QString file = context.args.first();
    if (!QFileInfo::exists(file)) {
        context.err << "ファイル「" << file << "」がありません。\n";
        return 1;
    }
    try {
        loadOptions(context.baseFolder);
        engine::Database data(engine::Session::defaultSession(), QStringLiteral("AAA"),
                              QDir(context.baseFolder).filePath(QStringLiteral("QPNdata")));
        AssetOperations operations(QStringLiteral("AAA"));
        const int count = operations.importCsv(file);
        context.out << count << " 件の資産を計算しました。\n";
        return 0;
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
    } catch (const CsvError &error) {
        context.err << error.message() << '\n';
    }
    return 1;
}

const CommandRegistrar registrar({QStringLiteral("import-csv"), QStringLiteral("import-csv FILE"),
                                  QStringLiteral("imports assets from a CP932 CSV file (ＣＳＶ入力, by 固定資産番号) and "
                                                 "recalculates every asset"),
                                  &runImportCsv});

} // namespace

} // namespace qpn::cli
