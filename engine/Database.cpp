#include "engine/Database.h"

#include "engine/DatabaseState.h"
#include "engine/EngineError.h"
#include "engine/EngineText.h"
#include "engine/FolderConnection.h"
#include "engine/Session.h"

#include <QDir>
#include <QList>

namespace qpn::engine {

namespace {
QList<Database *> &registry()
{
    static QList<Database *> databases;
    return databases;
}

Database *findIn(const QString &name, const QString &sessionName)
{
    Database *any = nullptr;
    for (Database *d : registry()) {
        if (d->name().compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (sessionName.isEmpty() || d->session().name().compare(sessionName, Qt::CaseInsensitive) == 0)
            return d;
        if (!any)
            any = d;
    }
    return any;
}
} // namespace

Database::Database(Session &session, const QString &name, const QString &folder)
    : m_session(session)
    , m_name(name)
    , m_folder(folder)
    , m_state(std::make_unique<DatabaseState>())
{
    registry().append(this);
}

Database::~Database()
{
    registry().removeAll(this);
    if (m_state->transaction) {
        try {
            m_state->transaction->rollback();
        } catch (const EngineError &) {
        }
    }
}

void Database::setFolder(const QString &folder)
{
    m_folder = folder;
}

void Database::startTransaction()
{
    if (inTransaction())
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("a transaction is already active")}));
    auto connection = FolderConnection::get(m_session.name(), m_folder.isEmpty() ? QDir::currentPath() : m_folder);
    connection->begin();
    m_state->transaction = std::move(connection);
}

void Database::commit()
{
    if (!m_state->transaction)
        return;
    m_state->transaction->commit();
    m_state->transaction.reset();
}

void Database::rollback()
{
    if (!m_state->transaction)
        return;
    auto connection = std::move(m_state->transaction);
    connection->rollback();
}

bool Database::inTransaction() const
{
    return m_state->transaction && m_state->transaction->inTransaction();
}

Database *Database::find(const QString &name)
{
    return findIn(name, QString());
}

QString Database::folderFor(const QString &databaseNameOrPath)
{
    if (databaseNameOrPath.isEmpty())
        return QDir::currentPath();
    if (const Database *database = find(databaseNameOrPath))
        return database->folder().isEmpty() ? QDir::currentPath() : database->folder();
    return databaseNameOrPath;
}

DatasetTarget ResolveTarget(const QString &databaseNameOrPath, const QString &sessionName)
{
    if (!databaseNameOrPath.isEmpty()) {
        if (const Database *database = findIn(databaseNameOrPath, sessionName)) {
            const QString folder = database->folder().isEmpty() ? QDir::currentPath() : database->folder();
            return {folder, sessionName.isEmpty() ? database->session().name() : sessionName};
        }
    }
    const QString session = sessionName.isEmpty() ? Session::defaultSession().name() : sessionName;
    return {databaseNameOrPath.isEmpty() ? QDir::currentPath() : databaseNameOrPath, session};
}

std::shared_ptr<FolderConnection> ConnectionFor(const QString &databaseNameOrPath, const QString &sessionName)
{
    const DatasetTarget target = ResolveTarget(databaseNameOrPath, sessionName);
    return FolderConnection::get(target.sessionName, target.folder);
}

Transaction::Transaction(Database &database)
    : m_database(database)
{
    m_database.startTransaction();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_database.rollback();
    } catch (const EngineError &) {
    }
}

void Transaction::commit()
{
    m_database.commit();
    m_done = true;
}

Savepoint::Savepoint(Database &database)
{
    if (!database.inTransaction())
        throw EngineError(EngineMessage(text::SqlError, {QStringLiteral("no transaction is active")}));
    // Steps nest strictly, so one name serves them all: each release or
    // rollback meets the innermost step of that name.
    m_connection = database.state().transaction;
    m_name = QStringLiteral("qpn_step");
    m_connection->savepoint(m_name);
}

Savepoint::~Savepoint()
{
    if (m_done || !m_connection->inTransaction())
        return;
    try {
        m_connection->rollbackTo(m_name);
    } catch (const EngineError &) {
    }
}

void Savepoint::release()
{
    if (m_done)
        return;
    m_connection->release(m_name);
    m_done = true;
}

} // namespace qpn::engine
