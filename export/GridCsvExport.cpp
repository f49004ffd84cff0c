#include "export/GridCsvExport.h"

#include "engine/Dataset.h"
#include "export/CsvError.h"
#include "export/CsvFile.h"
#include "export/CsvText.h"

#include <exception>

namespace qpn {

QString GridCsvExport::titleLine(const QList<GridCsvColumn> &columns)
{
    QString line;
    for (int k = 0; k < columns.size(); ++k) {
        if (columns[k].width <= 0)
            continue;
        if (k > 0)
            line += QLatin1Char(',');
        line += QuoteGridTitle(columns[k].title);
    }
    return line;
}

QString GridCsvExport::rowLine(const QList<GridCsvColumn> &columns, int line)
{
    QString text;
    for (int k = 0; k < columns.size(); ++k) {
        if (columns[k].width <= 0)
            continue;
        QString shown;
        try {
            shown = columns[k].text();
        } catch (const std::exception &) {
            continue; // an unreadable value is left out with its separator
        }
        CsvFile::checkEncodable(shown, line, columns[k].title);
        if (k > 0)
            text += QLatin1Char(',');
        text += QuoteGridItem(shown);
    }
    return text;
}

GridCsvResult GridCsvExport::run(engine::Dataset &dataset, const QList<GridCsvColumn> &columns, bool titleRow,
                                 const QString &path, const Progress &progress)
{
    GridCsvResult result;
    if (dataset.state() != engine::DatasetState::Browse) {
        result.failure = GridCsvResult::Failure::NoData;
        return result;
    }
    QStringList lines;
    try {
        CsvFile::write(path, lines);
    } catch (const CsvError &) {
        result.failure = GridCsvResult::Failure::CannotCreate;
        return result;
    }
    try {
        if (titleRow) {
            for (const auto &column : columns)
                CsvFile::checkEncodable(column.title, 1, column.title);
            lines << titleLine(columns);
            ++result.count;
        }
        dataset.first();
        const int total = dataset.recordCount();
        int done = 0;
        bool cancelled = false;
        while (!dataset.eof()) {
            if (progress && !progress(done, total)) {
                cancelled = true;
                break;
            }
            ++done;
            lines << rowLine(columns, result.count + 1);
            ++result.count;
            dataset.next();
        }
        if (progress && !cancelled)
            progress(done, total);
        dataset.first();
        CsvFile::write(path, lines);
        if (cancelled)
            result.count = -result.count;
    } catch (const std::exception &error) {
        // Nothing of a failed export reaches the work file, and the negative
        // count keeps a spreadsheet export from opening an older file.
        result.failure = GridCsvResult::Failure::Error;
        const auto *csv = dynamic_cast<const CsvError *>(&error);
        result.detail = csv ? csv->message() : QString::fromUtf8(error.what());
        result.count = -result.count;
    }
    return result;
}

} // namespace qpn
