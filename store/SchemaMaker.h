#pragma once

#include <QList>
#include <QString>

namespace qpn {

// Brings the header table and the data folder to the current layout at every
// start: creates missing tables, runs the column upgrades in order and seeds
// the empty account, department and supplier lists. The account question goes
// through the dialog seam (CurrentDialogs()).
class SchemaMaker
{
public:
    // Creates HeadM in the base folder when it does not exist.
    void MakeHeadM(const QString &baseFolder);
    // Creates the data tables, upgrades them and seeds the lists; the folder
    // is the one the data-folder database ("AAA") points at. A database name
    // registered with the engine is accepted in place of the path.
    void MakeTBL(const QString &dataFolder);

    // The numbers of the upgrade steps the last MakeTBL ran, in order.
    QList<int> appliedSteps() const { return m_appliedSteps; }

private:
    void runUpgradeSteps(const QString &dataFolder);
    void seedAccounts(const QString &dataFolder);

    QList<int> m_appliedSteps;
};

} // namespace qpn
