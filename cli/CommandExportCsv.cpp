#include "cli/CliCommand.h"

#include "engine/EngineError.h"
#include "engine/Query.h"
#include "engine/Table.h"
#include "export/CsvError.h"
#include "export/DatasetCsvExport.h"
#include "register/AssetLayouts.h"

#include <QDir>

namespace qpn::cli {

namespace {

// "ＣＳＶ出力" (the 22 columns of the export table) or, with --joined,
// "ＣＳＶ出力２" (the asset table joined to the lists); the file is replaced.
int runExportCsv(CliContext &context)
{
    QStringList args = context.args;
    const bool joined = TakeFlag(args, QStringLiteral("--joined"));
    if (args.size() != 1) {
        context.err << "usage: qpn [--base DIR] export-csv FILE [--joined]\n";
        return 2;
    }
    const QString dataFolder = QDir(context.baseFolder).filePath(QStringLiteral("QPNdata"));
    try {
        int rows = 0;
        if (joined) {
            engine::Query query;
            query.setDatabaseName(dataFolder);
            query.setSql(AssetLayouts::joinedSql());
            rows = DatasetCsvExport::write(query, args.first(), AssetLayouts::joinedFields());
        } else {
            engine::Table table;
            table.setDatabaseName(dataFolder);
            table.setTableName(QStringLiteral("daicyoA"));
            rows = DatasetCsvExport::write(table, args.first(), AssetLayouts::exportFields());
        }
        context.out << rows << " 件を出力しました。\n";
        return 0;
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
    } catch (const CsvError &error) {
        context.err << error.message() << '\n';
    }
    return 1;
}

const CommandRegistrar registrar({QStringLiteral("export-csv"), QStringLiteral("export-csv FILE [--joined]"),
                                  QStringLiteral("writes the assets to a CP932 CSV file (ＣＳＶ出力; --joined: "
                                                 "ＣＳＶ出力２ with the list names)"),
                                  &runExportCsv});

} // namespace

} // namespace qpn::cli
