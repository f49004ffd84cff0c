#include "platform/FolderCopier.h"

#include "platform/CopyProgress.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qpn {

namespace {

constexpr qint64 ChunkSize = 1 << 20;

bool hasWildcard(const QString &name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

FolderCopier::FolderCopier(Dialogs &dialogs, CopyProgress *progress) : m_dialogs(dialogs), m_progress(progress) {}

QString FolderCopier::overwriteQuestion(const QString &file)
{
    return QStringLiteral("コピー先には既に同じ名前のファイルがあります。\n%1\n\nこのファイルを置き換えますか？")
        .arg(QDir::toNativeSeparators(file));
}

void FolderCopier::report(const QString &text, Result &result)
{
    ++result.errors;
    m_dialogs.message(DialogKind::Error, text, {DialogButton::Ok});
}

FolderCopier::Result FolderCopier::copy(const QString &source, const QString &destinationFolder)
{
    Result result;
    m_replaceAll = false;
    m_done = 0;
    const QList<Item> items = plan(source, destinationFolder, result);
    qint64 total = 0;
    for (const Item &item : items)
        total += item.size;
    if (m_progress)
        m_progress->start(total);
    for (const Item &item : items) {
        if (item.folder) {
            if (!QDir().mkpath(item.to))
                report(QStringLiteral("フォルダを作成できません。\n%1").arg(QDir::toNativeSeparators(item.to)), result);
            continue;
        }
        if (!copyFile(item, result))
            break;
    }
    if (m_progress)
        m_progress->finish();
    return result;
}

QList<FolderCopier::Item> FolderCopier::plan(const QString &source, const QString &destinationFolder,
                                             Result &result)
{
    QList<Item> items;
    const QDir destination(destinationFolder);
    QDir().mkpath(destination.absolutePath());
    const QString skipRoot = canonical(destination.absolutePath());

    QString cleaned = QDir::fromNativeSeparators(source);
    while (cleaned.size() > 1 && cleaned.endsWith(QLatin1Char('/')))
        cleaned.chop(1);
    const QFileInfo info(cleaned);

    QFileInfoList entries;
    if (hasWildcard(info.fileName())) {
        // "*.*" means every entry, dotted or not.
        const QString pattern = info.fileName() == QLatin1String("*.*") ? QStringLiteral("*") : info.fileName();
        entries = QDir(info.path()).entryInfoList({pattern}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                                  | QDir::System, QDir::Name);
    } else if (info.exists()) {
        entries << info;
    } else {
        report(QStringLiteral("コピー元が見つかりません。\n%1").arg(QDir::toNativeSeparators(source)), result);
        return items;
    }

    for (const QFileInfo &entry : entries) {
        const QString target = destination.absoluteFilePath(entry.fileName());
        const QString from = canonical(entry.absoluteFilePath());
        if (entry.isDir() && from == skipRoot)
            continue; // the destination itself, matched by a pattern
        if (from == canonical(target)) {
            report(QStringLiteral("コピー元とコピー先が同じです。\n%1").arg(QDir::toNativeSeparators(target)), result);
        } else if (entry.isDir()) {
            addTree(entry.absoluteFilePath(), target, skipRoot, items);
        } else {
            items.append({entry.absoluteFilePath(), target, false, entry.size()});
        }
    }
    return items;
}

void FolderCopier::addTree(const QString &path, const QString &target, const QString &skipRoot,
                           QList<Item> &items) const
{
    items.append({path, target, true, 0});
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name | QDir::DirsLast);
    for (const QFileInfo &entry : entries) {
        const QString to = QDir(target).absoluteFilePath(entry.fileName());
        if (entry.isDir() && !entry.isSymLink()) {
            // A destination below the source is not copied into itself.
            if (canonical(entry.absoluteFilePath()) != skipRoot)
                addTree(entry.absoluteFilePath(), to, skipRoot, items);
        } else if (entry.isDir()) {
            items.append({entry.absoluteFilePath(), to, true, 0});
        } else {
            items.append({entry.absoluteFilePath(), to, false, entry.size()});
        }
    }
}

bool FolderCopier::mayReplace(const QString &target, Result &result)
{
    if (m_replaceAll)
        return true;
    const DialogButton answer = m_dialogs.message(DialogKind::Confirmation, overwriteQuestion(target),
                                                  {DialogButton::Yes, DialogButton::YesToAll, DialogButton::No,
                                                   DialogButton::Cancel},
                                                  QStringLiteral("ファイルの置き換え"));
    switch (answer) {
    case DialogButton::YesToAll:
        m_replaceAll = true;
        return true;
    case DialogButton::Yes:
        return true;
    case DialogButton::No:
        ++result.filesSkipped;
        return false;
    default:
        result.cancelled = true;
        return false;
    }
}

// Returns false when the whole copy is to stop.
bool FolderCopier::copyFile(const Item &item, Result &result)
{
    const QFileInfo targetInfo(item.to);
    if (targetInfo.exists() || targetInfo.isSymLink()) {
        if (targetInfo.isDir()) {
            report(QStringLiteral("同じ名前のフォルダがあるためコピーできません。\n%1")
                       .arg(QDir::toNativeSeparators(item.to)),
                   result);
            m_done += item.size;
            return true;
        }
        if (!mayReplace(item.to, result)) {
            m_done += item.size;
            return !result.cancelled;
        }
    }
    QDir().mkpath(targetInfo.absolutePath());

    const auto fail = [&](const QString &why) {
        report(QStringLiteral("ファイルをコピーできません。\n%1\n%2").arg(QDir::toNativeSeparators(item.from), why),
               result);
    };
    QFile in(item.from);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(in.errorString());
        m_done += item.size;
        return true;
    }
    // Written beside the target and renamed over it at the end, so a failed
    // or cancelled copy never leaves a half-written file in place of a good one.
    QSaveFile out(item.to);
    if (!out.open(QIODevice::WriteOnly)) {
        fail(out.errorString());
        m_done += item.size;
        return true;
    }
    const qint64 start = m_done;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            fail(in.errorString());
            m_done = start + item.size;
            return true;
        }
        if (out.write(chunk) != chunk.size())
            break;
        m_done += chunk.size();
        if (m_progress && !m_progress->advance(m_done, item.from)) {
            out.cancelWriting();
            result.cancelled = true;
            return false;
        }
    }
    if (!out.commit()) {
        fail(out.errorString());
        m_done = start + item.size;
        return true;
    }
    QFile written(item.to);
    written.setPermissions(in.permissions());
    if (written.open(QIODevice::ReadWrite))
        written.setFileTime(QFileInfo(item.from).lastModified(), QFileDevice::FileModificationTime);
    ++result.filesCopied;
    return true;
}

} // namespace qpn
