#pragma once

#include "export/DatasetCsvExport.h"
#include "platform/DatasetModel.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qpn {

// The fixed column layouts of the asset register's exchanges and lists.
class AssetLayouts
{
public:
    // "ＣＳＶ出力" and "ＣＳＶ入力": the 22 columns of the export table, in file order.
    static QList<CsvFieldSpec> exportFields();
    static QStringList importFieldNames();
    // "ＣＳＶ出力２": the asset table joined to the six lists.
    static QString joinedSql();
    static QList<CsvFieldSpec> joinedFields();
    // The list page's 27 columns (ID and 品名 frozen).
    static QList<DatasetModel::Column> listColumns();
    // The columns Copy carries over, in the entry form's field order (ID first).
    static QStringList copyFields();
    // Amount columns of the asset table (shown "#,#").
    static QStringList amountFields();
};

} // namespace qpn
