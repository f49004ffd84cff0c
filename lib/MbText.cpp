#include "lib/MbText.h"

#include "lib/Cp932.h"

namespace qpn {
namespace {

bool IsLeadByte(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool HasSide(QByteArrayView sides, char upper)
{
    return sides.isEmpty() || sides.contains(upper) || sides.contains(char(upper - 'A' + 'a'));
}

constexpr char16_t IdeographicSpace = 0x3000;

bool IsSpace(QChar c)
{
    return c == u' ' || c == IdeographicSpace;
}

bool HasSide(QStringView sides, char16_t upper)
{
    return sides.isEmpty() || sides.contains(QChar(upper), Qt::CaseInsensitive);
}

} // namespace

std::vector<ByteKind> Cp932ByteKinds(QByteArrayView text)
{
    std::vector<ByteKind> kinds(text.size(), ByteKind::Single);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsLeadByte(text[i]))
            continue;
        kinds[i] = ByteKind::Lead;
        if (i + 1 < text.size())
            kinds[++i] = ByteKind::Trail;
    }
    return kinds;
}

int MbPos(const QByteArray &pattern, const QByteArray &text)
{
    if (pattern.isEmpty() || text.isEmpty())
        return 0;
    const std::vector<ByteKind> textKinds = Cp932ByteKinds(text);
    const std::vector<ByteKind> patternKinds = Cp932ByteKinds(pattern);
    const auto kindAt = [&](qsizetype i) {
        return i < text.size() ? textKinds[i] : ByteKind::Single;
    };
    for (qsizetype pos = text.indexOf(pattern); pos >= 0;) {
        const ByteKind first = kindAt(pos);
        const ByteKind last = kindAt(pos + pattern.size() - 1);
        if (first == patternKinds.front() && last == patternKinds.back())
            return static_cast<int>(pos + 1);
        pos = text.indexOf(pattern, pos + (first == ByteKind::Lead ? 2 : 1));
    }
    return 0;
}

QByteArray MbTrim(const QByteArray &text, QByteArrayView sides)
{
    const std::vector<ByteKind> kinds = Cp932ByteKinds(text);
    const auto isWideSpace = [&](qsizetype lead) {
        return kinds[lead] == ByteKind::Lead && lead + 1 < text.size()
               && text[lead] == '\x81' && text[lead + 1] == '\x40';
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    if (HasSide(sides, 'L')) {
        while (begin < end) {
            if (text[begin] == ' ')
                ++begin;
            else if (isWideSpace(begin))
                begin += 2;
            else
                break;
        }
    }
    if (HasSide(sides, 'R')) {
        while (end > begin) {
            if (kinds[end - 1] == ByteKind::Single && text[end - 1] == ' ')
                --end;
            else if (end - 2 >= begin && isWideSpace(end - 2))
                end -= 2;
            else
                break;
        }
    }
    return text.sliced(begin, end - begin);
}

QByteArray MbDropWide(const QByteArray &text)
{
    const std::vector<ByteKind> kinds = Cp932ByteKinds(text);
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (kinds[i] == ByteKind::Single)
            result.append(text[i]);
    }
    return result;
}

QByteArray MbWideToSpaces(const QByteArray &text)
{
    const std::vector<ByteKind> kinds = Cp932ByteKinds(text);
    QByteArray result = text;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (kinds[i] != ByteKind::Single)
            result[i] = ' ';
    }
    return result;
}

QByteArray MbDeleteAll(const QByteArray &pattern, const QByteArray &text)
{
    QByteArray result = text;
    for (int pos = MbPos(pattern, result); pos > 0; pos = MbPos(pattern, result))
        result.remove(pos - 1, pattern.size());
    return result;
}

int MbPos(const QString &pattern, const QString &text)
{
    if (pattern.isEmpty() || text.isEmpty())
        return 0;
    return static_cast<int>(text.indexOf(pattern) + 1);
}

QString MbTrim(const QString &text, QStringView sides)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    if (HasSide(sides, u'L')) {
        while (begin < end && IsSpace(text[begin]))
            ++begin;
    }
    if (HasSide(sides, u'R')) {
        while (end > begin && IsSpace(text[end - 1]))
            --end;
    }
    return text.sliced(begin, end - begin);
}

QString MbDropWide(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        if (IsCp932SingleByte(NextCodePoint(text, i)))
            result.append(QStringView(text).sliced(start, i - start));
    }
    return result;
}

QString MbWideToSpaces(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        if (IsCp932SingleByte(NextCodePoint(text, i)))
            result.append(QStringView(text).sliced(start, i - start));
        else
            result.append(QLatin1String("  "));
    }
    return result;
}

QString MbDeleteAll(const QString &pattern, const QString &text)
{
    QString result = text;
    for (int pos = MbPos(pattern, result); pos > 0; pos = MbPos(pattern, result))
        result.remove(pos - 1, pattern.size());
    return result;
}

} // namespace qpn
