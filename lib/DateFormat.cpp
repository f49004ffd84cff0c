#include "lib/DateFormat.h"

#include "lib/EraCalendar.h"

#include <cmath>
#include <optional>

namespace qpn {

namespace {

QString &ShortPattern()
{
    static QString pattern = QStringLiteral("yyyy/mm/dd");
    return pattern;
}

QString Padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// The broken-down parts of one date value, the era worked out only when a
// pattern asks for it (it costs a calendar lookup).
class DateParts
{
public:
    explicit DateParts(DateTime date) : m_date(date)
    {
        DecodeDate(date, m_year, m_month, m_day);
        // The fraction is the time of day on either side of zero.
        qint64 ms = std::llround(std::fabs(date - std::trunc(date)) * 86400000.0);
        ms = std::min<qint64>(ms, 86399999);
        m_hour = static_cast<int>(ms / 3600000);
        m_minute = static_cast<int>(ms / 60000 % 60);
        m_second = static_cast<int>(ms / 1000 % 60);
        m_msec = static_cast<int>(ms % 1000);
    }

    const EraCalendar::Era &era()
    {
        if (!m_era)
            m_era = EraCalendar::eraOf(m_date);
        return *m_era;
    }

    DateTime m_date;
    int m_year = 0, m_month = 0, m_day = 0;
    int m_hour = 0, m_minute = 0, m_second = 0, m_msec = 0;

private:
    std::optional<EraCalendar::Era> m_era;
};

QString WeekdayName(DateTime date, bool longName)
{
    static const QString names[] = {QStringLiteral("日"), QStringLiteral("月"),
                                    QStringLiteral("火"), QStringLiteral("水"),
                                    QStringLiteral("木"), QStringLiteral("金"),
                                    QStringLiteral("土")};
    const QString name = names[ToQDate(date).dayOfWeek() % 7];
    return longName ? name + QStringLiteral("曜日") : name;
}

void AppendToken(QString &out, QChar token, int count, DateParts &parts)
{
    switch (token.unicode()) {
    case 'y':
        out += count <= 2 ? Padded(parts.m_year % 100, 2) : Padded(parts.m_year, 4);
        break;
    case 'm': // month names as the Japanese locale has them
        if (count <= 2)
            out += Padded(parts.m_month, count);
        else
            out += QString::number(parts.m_month) + (count == 3 ? QString() : QStringLiteral("月"));
        break;
    case 'd':
        if (count <= 2)
            out += Padded(parts.m_day, count);
        else if (count <= 4)
            out += WeekdayName(parts.m_date, count == 4);
        else if (count == 5)
            out += FormatDateTime(ShortDatePattern(), parts.m_date);
        else
            out += FormatDateTime(QStringLiteral("yyyy'年'm'月'd'日'"), parts.m_date);
        break;
    case 'h':
        out += Padded(parts.m_hour, std::min(count, 2));
        break;
    case 'n':
        out += Padded(parts.m_minute, std::min(count, 2));
        break;
    case 's':
        out += Padded(parts.m_second, std::min(count, 2));
        break;
    case 'z':
        out += Padded(parts.m_msec, count <= 2 ? 1 : 3);
        break;
    case 'e':
        out += Padded(parts.era().year, std::min(count, 2));
        break;
    case 'g':
        out += count == 1 ? parts.era().name.left(1) : parts.era().name;
        break;
    default:
        out += QString(count, token);
    }
}

bool IsToken(QChar lower)
{
    return QStringView(u"ymdhnszeg").contains(lower);
}

} // namespace

QString ShortDatePattern()
{
    return ShortPattern();
}

void SetShortDatePattern(const QString &pattern)
{
    ShortPattern() = pattern;
}

QString FormatDateTime(const QString &pattern, DateTime date)
{
    DateParts parts(date);
    QString out;
    QChar lastLetter;
    const qsizetype size = pattern.size();
    for (qsizetype i = 0; i < size;) {
        const QChar c = pattern.at(i);
        if (c == u'"' || c == u'\'') {
            // Quoted literal; an unclosed quote runs to the end of the pattern.
            const qsizetype close = pattern.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? size : close;
            out += QStringView(pattern).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == u'/' || c == u':') {
            out += c; // the Japanese date and time separators are these same characters
            ++i;
            continue;
        }
        const bool letter = c.unicode() < 128 && c.isLetter();
        if (!letter) {
            out += c;
            ++i;
            continue;
        }
        QChar token = c.toLower();
        qsizetype count = 1;
        while (i + count < size && pattern.at(i + count).toLower() == token)
            ++count;
        // "hh:mm": a month token right after an hour token means minutes.
        if (token == u'm' && lastLetter == u'h')
            token = u'n';
        lastLetter = token;
        if (IsToken(token))
            AppendToken(out, token, static_cast<int>(count), parts);
        else
            out += QStringView(pattern).mid(i, count);
        i += count;
    }
    return out;
}

QString DateToText(DateTime date)
{
    return FormatDateTime(ShortDatePattern(), date);
}

QString EraName(DateTime date)
{
    return EraCalendar::eraOf(date).name;
}

QString EraShortName(DateTime date)
{
    return EraCalendar::eraOf(date).name.left(1);
}

int EraYear(DateTime date)
{
    return EraCalendar::eraOf(date).year;
}

} // namespace qpn
