#include "export/ExportSettings.h"

#include <QDir>
#include <QFileInfo>

namespace qpn {

std::uint32_t ExportColorToRgb(std::uint32_t color)
{
    const std::uint32_t red = color & 0xFF;
    const std::uint32_t green = (color >> 8) & 0xFF;
    const std::uint32_t blue = (color >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}

QString ExportWorkFilePath(const QString &programFolder)
{
    QDir folder(programFolder);
    if (QFileInfo(folder.filePath(QStringLiteral("CSV"))).isDir())
        folder.cd(QStringLiteral("CSV"));
    return folder.filePath(QStringLiteral("TMP$$$.CSV"));
}

QString ColumnLetters(int column)
{
    QString letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

} // namespace qpn
