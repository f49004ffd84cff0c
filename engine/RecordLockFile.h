#pragma once

#include <QString>

namespace qpn::engine {

// Record locks of one cursor on one table: byte-range locks on the table's
// lock file ("daicyoA.LCK"), one byte per rowid. They are open-file-description
// locks, so two cursors conflict whether they live in one process or in two,
// and a process that dies releases its locks with it. Byte 0 is taken shared
// by every open cursor, so maintenance can tell that a table is in use.
class RecordLockFile
{
public:
    explicit RecordLockFile(const QString &lockPath);
    ~RecordLockFile();
    RecordLockFile(const RecordLockFile &) = delete;
    RecordLockFile &operator=(const RecordLockFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // One attempt; false when another cursor holds the record.
    bool tryLock(qint64 rowId);
    void unlock(qint64 rowId);
    // Marks the table as open by this cursor.
    bool holdOpen();

    // True when no cursor anywhere has the table open (takes byte 0 exclusively
    // for a moment).
    static bool tableIsFree(const QString &lockPath);

private:
    int m_fd = -1;
};

} // namespace qpn::engine
