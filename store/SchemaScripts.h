#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qpn {

// The creation scripts of the register, in the engine's SQL dialect.
// The header table lives in the base folder, every other table in the data folder.
QString HeadMScript();
QString DataTablesScript();

// One column upgrade: when `table` lacks `testColumn`, `statement` adds it
// (and the columns of the same generation).
struct UpgradeStep
{
    int number;
    QString table;
    QString testColumn;
    QString statement;
};

// The upgrade steps, oldest first; each sees the columns the earlier ones added.
const QList<UpgradeStep> &UpgradeSteps();

} // namespace qpn
