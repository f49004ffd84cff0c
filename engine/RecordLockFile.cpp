#include "engine/RecordLockFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qpn::engine {

namespace {

int openLockFile(const QString &path)
{
    return ::open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

bool setLock(int fd, short type, qint64 offset)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(fd, F_OFD_SETLK, &lock);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

} // namespace

RecordLockFile::RecordLockFile(const QString &lockPath)
    : m_fd(openLockFile(lockPath))
{
}

RecordLockFile::~RecordLockFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RecordLockFile::tryLock(qint64 rowId)
{
    return m_fd >= 0 && rowId > 0 && setLock(m_fd, F_WRLCK, rowId);
}

void RecordLockFile::unlock(qint64 rowId)
{
    if (m_fd >= 0 && rowId > 0)
        setLock(m_fd, F_UNLCK, rowId);
}

bool RecordLockFile::holdOpen()
{
    return m_fd >= 0 && setLock(m_fd, F_RDLCK, 0);
}

bool RecordLockFile::tableIsFree(const QString &lockPath)
{
    const int fd = openLockFile(lockPath);
    if (fd < 0)
        return true;
    const bool free = setLock(fd, F_WRLCK, 0);
    ::close(fd);
    return free;
}

} // namespace qpn::engine
