#include "app/Mylib.h"

#include "lib/Dialogs.h"
#include "platform/CopyProgressDialog.h"
#include "platform/Downloader.h"
#include "platform/FolderCopier.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace qpn {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QDir::separator();
}

} // namespace

QString RemoveSpaces(const QString &text)
{
    QString result = text;
    result.remove(QLatin1Char(' '));
    result.remove(QChar(0x3000));
    return result;
}

bool ForceFolder(const QString &path)
{
    bool created = false;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isSeparator(path.at(i)))
            continue;
        const QString prefix = path.left(i + 1);
        if (QFileInfo::exists(prefix))
            continue;
        if (QDir().mkdir(prefix))
            created = true;
    }
    return created;
}

bool CopyFolder(QWidget *window, const QString &source, const QString &destination)
{
    QString target = destination;
    if (target.isEmpty() || !isSeparator(target.back()))
        target += QDir::separator();
    ForceFolder(target);
    CopyProgressDialog progress(window);
    FolderCopier(CurrentDialogs(), &progress).copy(source, target);
    return QFileInfo(target).isDir();
}

bool DownloadFile(const QString &address, const QString &filePath)
{
    return Downloader().download(QUrl(address), filePath);
}

} // namespace qpn
