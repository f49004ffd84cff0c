// Builds a register of ASSETS assets (default 20000), calculates it, then times
// the CSV export of the export table, the CSV import with the recalculation of
// every asset, and the list page's workbook, and prints the seconds of each.
//
//   qpn_bench_export [ASSETS] [FOLDER]      (default: a temporary folder)
#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Session.h"
#include "engine/Table.h"
#include "export/CsvImport.h"
#include "export/DatasetCsvExport.h"
#include "lib/AppOptions.h"
#include "lib/DateValue.h"
#include "platform/ScriptedDialogs.h"
#include "register/AssetLayouts.h"
#include "register/AssetListWorkbook.h"
#include "register/AssetOperations.h"
#include "store/SchemaMaker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace qpn;

namespace {

void fillAssets(const QString &data, int assets)
{
    engine::Database database(engine::Session::defaultSession(), QStringLiteral("BENCH"), data);
    engine::Table table;
    table.setDatabaseName(data);
    table.setTableName(QStringLiteral("daicyoA"));
    table.open();
    engine::Transaction transaction(database);
    for (int id = 1; id <= assets; ++id) {
        table.append();
        table.fieldByName(QStringLiteral("ID")).setAsInteger(id);
        table.fieldByName(QStringLiteral("品名")).setAsString(QStringLiteral("備品（第%1号）, \"特注\"").arg(id));
        table.fieldByName(QStringLiteral("購入日")).setAsDateTime(EncodeDate(2000 + id % 25, 1 + id % 12, 1 + id % 28));
        table.fieldByName(QStringLiteral("購入価格")).setAsCurrency(Currency::fromYen(100000 + 1000 * (id % 997)));
        table.fieldByName(QStringLiteral("国補積立金")).setAsCurrency(Currency::fromYen(id % 3 == 0 ? 50000 : 0));
        table.fieldByName(QStringLiteral("償却年数")).setAsFloat(4 + id % 12);
        table.fieldByName(QStringLiteral("houhou_ID")).setAsInteger(id % 5 == 0 ? 1 : 0);
        table.fieldByName(QStringLiteral("houhou2_ID")).setAsInteger(0);
        table.fieldByName(QStringLiteral("残率")).setAsFloat(0);
        table.fieldByName(QStringLiteral("yobi3_ID")).setAsInteger(1);
        table.fieldByName(QStringLiteral("数量")).setAsInteger(1);
        table.fieldByName(QStringLiteral("kamoku_ID")).setAsInteger(1 + id % 5);
        table.fieldByName(QStringLiteral("bumon_ID")).setAsInteger(1);
        table.fieldByName(QStringLiteral("bikou")).setAsString(QStringLiteral("メモ①\r\n二行目"));
        table.post();
    }
    transaction.commit();
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int assets = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    QTemporaryDir temp;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temp.path();
    const QString data = QDir(base).filePath(QStringLiteral("QPNdata"));
    QDir().mkpath(data);

    ScriptedDialogs dialogs;
    dialogs.answer(DialogButton::Yes);
    SchemaMaker().MakeTBL(data);
    AppOptions().setFiscalStart(EncodeDate(2024, 4, 1));
    AppOptions().FiscalEnd = EncodeDate(2025, 3, 31);

    QElapsedTimer timer;
    timer.start();
    fillAssets(data, assets);
    std::printf("register of %d assets filled in %.2f s\n", assets, seconds(timer));
    timer.restart();
    AssetOperations operations(data);
    operations.recalculateAll();
    std::printf("every asset calculated in %.2f s\n", seconds(timer));

    const QString csv = QDir(base).filePath(QStringLiteral("assets.csv"));
    timer.restart();
    {
        engine::Table table;
        table.setDatabaseName(data);
        table.setTableName(QStringLiteral("daicyoA"));
        DatasetCsvExport::write(table, csv, AssetLayouts::exportFields());
    }
    std::printf("CSV export (22 columns):       %.2f s, %lld bytes\n", seconds(timer),
                static_cast<long long>(QFileInfo(csv).size()));

    timer.restart();
    {
        engine::Table table;
        table.setDatabaseName(data);
        table.setTableName(QStringLiteral("daicyoA"));
        CsvImport::run(csv, table, 1, AssetLayouts::importFieldNames());
    }
    const double importOnly = seconds(timer);
    const int recalculated = operations.recalculateAll();
    std::printf("CSV import + recalculation:    %.2f s (import %.2f s, %d assets recalculated)\n", seconds(timer),
                importOnly, recalculated);

    const QString book = QDir(base).filePath(QStringLiteral("assets.xlsx"));
    timer.restart();
    AssetListWorkbook::write(data, book);
    std::printf("workbook (27 columns):         %.2f s, %lld bytes\n", seconds(timer),
                static_cast<long long>(QFileInfo(book).size()));
    return 0;
}
