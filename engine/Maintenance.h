#pragma once

#include <QString>
#include <QStringList>

namespace qpn::engine {

// Operations on a closed table of a folder ("daicyoA" or "daicyoA.DAT").
struct RepairReport
{
    bool damaged = false;   // the file failed its check
    int rowsSalvaged = 0;   // rows carried into the fresh file when damaged
    int rowsLost = 0;
};

// Checks the file and rebuilds its indexes; a damaged file is replaced by a
// fresh one holding every readable row.
RepairReport RepairTable(const QString &folder, const QString &tableName);
// Rewrites the table in primary-key order; the old file is kept as a backup
// beside it. Returns the backup's path.
QString OptimiseTable(const QString &folder, const QString &tableName);
// Adds a primary index on the named columns.
void AddPrimaryIndex(const QString &folder, const QString &tableName, const QStringList &columns);

} // namespace qpn::engine
