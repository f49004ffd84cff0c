#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace qpn::engine {
class Dataset;
}

namespace qpn {

// A grid column as the export sees it: its title, its display width (0 or less
// leaves it out) and the text it shows for the dataset's current row. A text
// function that throws leaves the item out with its separator.
struct GridCsvColumn
{
    QString title;
    int width = 64;
    std::function<QString()> text;
};

struct GridCsvResult
{
    enum class Failure { None, NoData, CannotCreate, Error };
    int count = 0;      // lines written, title included; negative when cancelled or stopped
    Failure failure = Failure::None;
    QString detail;     // what went wrong, for Error
};

// The work-file export of a grid: every row from the first, each value the
// text the grid shows, trimmed and quoted. The widget layer adds the progress
// dialog and the messages.
class GridCsvExport
{
public:
    // Called before each row with the rows done so far and the row count;
    // answering false cancels.
    using Progress = std::function<bool(int done, int total)>;

    static GridCsvResult run(engine::Dataset &dataset, const QList<GridCsvColumn> &columns, bool titleRow,
                             const QString &path, const Progress &progress = {});

    static QString titleLine(const QList<GridCsvColumn> &columns);
    // The line of the dataset's current row; line is the file line for messages.
    static QString rowLine(const QList<GridCsvColumn> &columns, int line);
};

} // namespace qpn
