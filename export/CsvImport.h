#pragma once

#include <QString>
#include <QStringList>

namespace qpn::engine {
class Table;
}

namespace qpn {

struct CsvImportResult
{
    int appended = 0;
    int updated = 0;
};

// Reads a CSV file into a table. The first line is the header and is skipped.
// Commas are dropped from items bound for number fields (thousands separators).
// Item j of a line goes to field j (of the given field list, else of the
// table; an auto-numbered first field is skipped); items the line lacks leave
// their fields alone. Key mode 0 empties the table and appends every line;
// modes 1 to 3 look each line up by its first 1 to 3 items on the primary key
// and update the row found or append one. Everything runs in one transaction:
// a failing line rolls the whole import back and throws CsvError naming the
// file line and the column.
class CsvImport
{
public:
    static constexpr int MaxItems = 1001;

    // A missing file does nothing.
    static CsvImportResult run(const QString &path, engine::Table &table, int keyMode,
                               const QStringList &fieldNames = {});
};

} // namespace qpn
