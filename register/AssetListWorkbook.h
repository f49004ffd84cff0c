#pragma once

#include <QString>

namespace qpn {

// The list page's "エクセル出力" without the window: every asset with the
// list's 27 columns as the grid shows them, through a CSV work file in a
// temporary folder, into a formatted workbook. Returns the assets written;
// throws std::runtime_error (or the engine's error) on failure.
class AssetListWorkbook
{
public:
    static int write(const QString &database, const QString &workbookPath);
};

} // namespace qpn
