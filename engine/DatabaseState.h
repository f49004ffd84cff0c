#pragma once

#include <QString>

#include <memory>

namespace qpn::engine {

class FolderConnection;

// What a database handle holds besides its name and folder: the connection
// of its open transaction.
class DatabaseState
{
public:
    std::shared_ptr<FolderConnection> transaction;
};

// Where a dataset's rows live: the folder and the session whose connection
// it uses. A dataset that names a database handle and no session works in
// that handle's session, so the handle's transactions cover it.
struct DatasetTarget
{
    QString folder;
    QString sessionName;
};
DatasetTarget ResolveTarget(const QString &databaseNameOrPath, const QString &sessionName);
std::shared_ptr<FolderConnection> ConnectionFor(const QString &databaseNameOrPath, const QString &sessionName);

} // namespace qpn::engine
