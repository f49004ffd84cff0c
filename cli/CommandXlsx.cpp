#include "cli/CliCommand.h"

#include "engine/EngineError.h"
#include "export/CsvError.h"
#include "register/AssetListWorkbook.h"

#include <QDir>

#include <stdexcept>

namespace qpn::cli {

namespace {

// The list page's "エクセル出力" of every asset: its 27 columns as shown, through
// the CSV work file, into a formatted workbook.
int runXlsx(CliContext &context)
{
    if (context.args.size() != 1) {
        context.err << "usage: qpn [--base DIR] xlsx FILE\n";
        return 2;
    }
    try {
        const int count = AssetListWorkbook::write(QDir(context.baseFolder).filePath(QStringLiteral("QPNdata")),
                                                   context.args.first());
        context.out << count << " 件を出力しました。\n";
        return 0;
    } catch (const engine::EngineError &error) {
        context.err << error.message() << '\n';
    } catch (const CsvError &error) {
        context.err << error.message() << '\n';
    } catch (const std::exception &error) {
        context.err << QString::fromUtf8(error.what()) << '\n';
    }
    return 1;
}

const CommandRegistrar registrar({QStringLiteral("xlsx"), QStringLiteral("xlsx FILE"),
                                  QStringLiteral("writes every asset (the list page's 27 columns) to a workbook"),
                                  &runXlsx});

} // namespace

} // namespace qpn::cli
