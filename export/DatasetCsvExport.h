#pragma once

#include <QList>
#include <QString>

namespace qpn::engine {
class Dataset;
class Field;
class Query;
class Table;
} // namespace qpn::engine

namespace qpn {

// A field of a fixed export layout: the column and its title (empty: the field's
// display label).
struct CsvFieldSpec
{
    QString name;
    QString label;
};

// The whole-dataset CSV export: a header line of labels, then every row from
// the current one (the first when the dataset was closed) to the end, each field
// as plain text; numbers bare, everything else quoted with quotes doubled.
class DatasetCsvExport
{
public:
    // Asks "同名のファイルがあります。..." when the file exists; false when the
    // answer was not yes and nothing was written.
    static bool writeTable(engine::Table &table, const QString &path, const QList<CsvFieldSpec> &fields = {});
    // Overwrites without asking.
    static void writeQuery(engine::Query &query, const QString &path, const QList<CsvFieldSpec> &fields = {});

    // Opens the dataset, writes the file, closes the dataset; returns the data rows written.
    static int write(engine::Dataset &dataset, const QString &path, const QList<CsvFieldSpec> &fields = {});
    // One field's item as the file holds it.
    static QString item(const engine::Field &field);
};

} // namespace qpn
