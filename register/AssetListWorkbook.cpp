#include "register/AssetListWorkbook.h"

#include "engine/Field.h"
#include "engine/Table.h"
#include "export/CsvFile.h"
#include "export/GridCsvExport.h"
#include "export/GridWorkbook.h"
#include "register/AssetLayouts.h"

#include <QDir>
#include <QTemporaryDir>

#include <stdexcept>

namespace qpn {

int AssetListWorkbook::write(const QString &database, const QString &workbookPath)
{
    engine::Table table;
    table.setDatabaseName(database);
    table.setTableName(QStringLiteral("daicyoA"));
    table.open();
    for (const QString &name : AssetLayouts::amountFields())
        table.fieldByName(name).setDisplayFormat(QStringLiteral("#,#"));
    table.fieldByName(QStringLiteral("償却率")).setDisplayFormat(QStringLiteral("0.##0"));

    QList<GridCsvColumn> columns;
    for (const auto &column : AssetLayouts::listColumns()) {
        const engine::Field &field = table.fieldByName(column.fieldName);
        columns << GridCsvColumn{column.title.isEmpty() ? field.displayLabel() : column.title, column.width,
                                 [&field] { return field.displayText(); }};
    }
    QTemporaryDir work;
    const QString csv = QDir(work.path()).filePath(QStringLiteral("TMP$$$.CSV"));
    const GridCsvResult result = GridCsvExport::run(table, columns, true, csv);
    if (result.failure != GridCsvResult::Failure::None || result.count <= 0)
        throw std::runtime_error(result.detail.isEmpty() ? "ＣＳＶ出力中にエラーが発生しました。"
                                                         : result.detail.toStdString());
    GridWorkbook::write(CsvFile::read(csv), static_cast<int>(columns.size()), result.count, ExportSettings(),
                        workbookPath);
    table.close();
    return result.count - 1;
}

} // namespace qpn
