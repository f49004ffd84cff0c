#include "export/CsvFile.h"

#include "export/CsvError.h"
#include "lib/Cp932.h"

#include <QFile>

namespace qpn {

void CsvFile::write(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += ToCp932(line);
        bytes += "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw CsvError(QStringLiteral("ファイル「%1」に書き込めません。%2").arg(path, file.errorString()));
}

QString CsvFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CsvError(QStringLiteral("ファイル「%1」を読み込めません。%2").arg(path, file.errorString()));
    return FromCp932(file.readAll());
}

void CsvFile::checkEncodable(const QString &value, int line, const QString &column)
{
    char32_t bad = 0;
    if (CanEncodeCp932(value, &bad))
        return;
    throw CsvError(QStringLiteral("%1行目の「%2」にＣＳＶファイルへ書けない文字「%3」(U+%4)があるため、出力を中止しました。")
                       .arg(line)
                       .arg(column, QString::fromUcs4(&bad, 1))
                       .arg(QString::number(static_cast<uint>(bad), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
}

} // namespace qpn
