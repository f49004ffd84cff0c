#pragma once

#include <QString>

namespace qpn::engine {

// An engine session: a name, a private folder for temporary files and the
// record-lock retry policy. Several sessions of one process (and several
// processes) may work on the same files.
class Session
{
public:
    explicit Session(const QString &name);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    QString name() const { return m_name; }
    QString privateFolder() const { return m_privateFolder; }
    void setPrivateFolder(const QString &folder) { m_privateFolder = folder; }
    int lockRetryCount() const { return m_lockRetryCount; }
    void setLockRetryCount(int count) { m_lockRetryCount = count; }
    int lockWaitMs() const { return m_lockWaitMs; }
    void setLockWaitMs(int ms) { m_lockWaitMs = ms; }

    // The session used by components that name none.
    static Session &defaultSession();
    static Session *find(const QString &name);

private:
    QString m_name;
    QString m_privateFolder;
    int m_lockRetryCount = 15;
    int m_lockWaitMs = 100;
};

} // namespace qpn::engine
