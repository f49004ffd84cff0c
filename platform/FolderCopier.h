#pragma once

#include "lib/Dialogs.h"

#include <QList>
#include <QString>

namespace qpn {

class CopyProgress;

// A recursive copy into a folder: the source is a folder (copied with
// everything below it into a subfolder of the same name), a single file, or a
// pattern such as "dir/*.DAT" (each match is copied into the destination).
// Missing folders are created without asking; an existing file is replaced
// only after asking (yes, yes to all, no, cancel) through the dialog seam;
// each failure is reported there and the copy goes on with the next file.
// Files keep their modification time. Nothing inside the destination is
// copied again, so a folder can be copied into one of its own subfolders.
class FolderCopier
{
public:
    struct Result
    {
        int filesCopied = 0;
        int filesSkipped = 0; // existing files the user chose to keep
        int errors = 0;
        bool cancelled = false;
    };

    explicit FolderCopier(Dialogs &dialogs, CopyProgress *progress = nullptr);

    Result copy(const QString &source, const QString &destinationFolder);

    static QString overwriteQuestion(const QString &file);

private:
    struct Item
    {
        QString from;
        QString to;
        bool folder = false;
        qint64 size = 0;
    };

    QList<Item> plan(const QString &source, const QString &destinationFolder, Result &result);
    void addTree(const QString &path, const QString &target, const QString &skipRoot, QList<Item> &items) const;
    bool copyFile(const Item &item, Result &result);
    bool mayReplace(const QString &target, Result &result);
    void report(const QString &text, Result &result);

    Dialogs &m_dialogs;
    CopyProgress *m_progress;
    bool m_replaceAll = false;
    qint64 m_done = 0;
};

} // namespace qpn
