#pragma once

#include <QString>

class QWidget;

namespace qpn {

// Removes every half-width and full-width space anywhere in the text.
QString RemoveSpaces(const QString &text);

// Tries to create the folder named by each prefix of the path that ends in a
// separator, in order, whether or not an earlier one existed. Yes when at
// least one folder was created; pass the path with its trailing separator.
bool ForceFolder(const QString &path);

// Copies the source (a folder with everything below it, a file or a pattern)
// into the destination folder, creating it first; asks before replacing files
// and shows progress on a long copy, owned by the window. Yes when the
// destination folder exists afterwards.
bool CopyFolder(QWidget *window, const QString &source, const QString &destination);

// Fetches the address into the file; yes only when the whole file arrived.
bool DownloadFile(const QString &address, const QString &filePath);

} // namespace qpn
