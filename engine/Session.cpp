#include "engine/Session.h"

#include <QDir>
#include <QList>

namespace qpn::engine {

namespace {
QList<Session *> &registry()
{
    static QList<Session *> sessions;
    return sessions;
}
} // namespace

Session::Session(const QString &name)
    : m_name(name)
    , m_privateFolder(QDir::tempPath())
{
    registry().append(this);
}

Session::~Session()
{
    registry().removeAll(this);
}

Session &Session::defaultSession()
{
    static Session session(QStringLiteral("Default"));
    return session;
}

Session *Session::find(const QString &name)
{
    if (name.isEmpty())
        return &defaultSession();
    for (Session *s : registry()) {
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    }
    return nullptr;
}

} // namespace qpn::engine
