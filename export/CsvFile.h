#pragma once

#include <QString>
#include <QStringList>

namespace qpn {

// CSV files on disk: CP932 bytes, every line ended by CR LF.
class CsvFile
{
public:
    // Replaces the file with the lines; throws CsvError when it cannot be written.
    static void write(const QString &path, const QStringList &lines);
    // The whole file as text; throws CsvError when it cannot be read.
    static QString read(const QString &path);
    // Throws CsvError naming the line, the column and the character when the
    // value holds a character CP932 has no code for (it would reach the file as "?").
    static void checkEncodable(const QString &value, int line, const QString &column);
};

} // namespace qpn
