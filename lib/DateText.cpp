#include "lib/DateText.h"

#include "lib/MbText.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace qpn {
namespace {

constexpr int FirstReadableYear = 1868;
constexpr int LastReadableYear = 2087;

bool IsReadableYear(int year)
{
    return year >= FirstReadableYear && year <= LastReadableYear;
}

QString DateText(int year, int month, int day)
{
    return QString::asprintf("%04d/%02d/%02d", year, month, day);
}

struct Ymd
{
    int year = 0;
    int month = 0;
    int day = 0;
};

struct Era
{
    std::array<const char16_t *, 5> letters;
    int baseYear;
};

// Searched in this order, so 令和's letters win over 平成's in the same text.
constexpr std::array<Era, 5> Eras = {{
    {{u"R", u"r", u"Ｒ", u"ｒ", u"令"}, 2018},
    {{u"H", u"h", u"Ｈ", u"ｈ", u"平"}, 1988},
    {{u"S", u"s", u"Ｓ", u"ｓ", u"昭"}, 1925},
    {{u"T", u"t", u"Ｔ", u"ｔ", u"大"}, 1911},
    {{u"M", u"m", u"Ｍ", u"ｍ", u"明"}, 1867},
}};

int EraBaseYear(const QString &text)
{
    for (const Era &era : Eras) {
        for (const char16_t *letter : era.letters) {
            if (MbPos(QString::fromUtf16(letter), text) > 0)
                return era.baseYear;
        }
    }
    return 0;
}

struct DigitRuns
{
    QStringList runs;
    QString digits; // all runs together
};

DigitRuns SplitDigits(const QString &text)
{
    DigitRuns result;
    QString run;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            run.append(c);
        } else if (!run.isEmpty()) {
            result.runs.append(run);
            run.clear();
        }
    }
    if (!run.isEmpty())
        result.runs.append(run);
    result.digits = result.runs.join(QString());
    if (result.digits.size() == 1)
        result.digits.prepend(u'0');
    return result;
}

int Number(const QString &digits, qsizetype from, qsizetype count)
{
    return digits.mid(from, count).toInt();
}

Ymd FromRuns(const DigitRuns &split, bool eraGiven)
{
    if (split.runs.size() != 1) {
        const QStringList &runs = split.runs;
        const auto run = [&](qsizetype i, qsizetype digits) {
            return runs.size() > i ? Number(runs[i], 0, digits) : 0;
        };
        return {run(0, 4), run(1, 2), run(2, 2)};
    }
    // Run-together digits: yymmdd after an era letter, else yyyymmdd or yymmdd.
    if (eraGiven) {
        const QString d = split.digits + QStringLiteral("000000");
        return {Number(d, 0, 2), Number(d, 2, 2), Number(d, 4, 2)};
    }
    const QString d = split.digits + QStringLiteral("00000000");
    const Ymd full{Number(d, 0, 4), Number(d, 4, 2), Number(d, 6, 2)};
    if (split.digits.size() >= 4 && IsReadableYear(full.year))
        return full;
    return {Number(d, 0, 2), Number(d, 2, 2), Number(d, 4, 2)};
}

struct PatternParts
{
    bool month;
    bool day;
};

// Without a year the reader takes, the numbers typed belong to the day end:
// "12" is a day, "5/12" a month and a day.
void ShiftTowardsDay(Ymd &date, qsizetype runs, PatternParts parts, DateReadMode mode)
{
    const int centuryYear = mode == DateReadMode::Western ? 2000 : 1988;
    if (parts.month && date.month == 0) {
        date.month = date.year;
        date.year = 0;
    }
    if (parts.day) {
        if (date.day == 0) {
            date.day = date.month;
            date.month = date.year;
            date.year = 0;
        }
        if (runs == 3 && date.year == 0 && date.month != 0)
            date.year = centuryYear;
    } else if (parts.month && runs == 2 && date.year == 0 && date.month != 0) {
        date.year = centuryYear;
    }
}

void CompleteFromToday(Ymd &date, const Ymd &today, const QString &text, PatternParts parts)
{
    if (parts.day && date.day == 0)
        date.day = today.day;
    if (parts.month && date.month == 0)
        date.month = today.month;
    if (date.year == 0)
        date.year = today.year;
    if (date.month == 0 && !text.startsWith(u'/') && !text.startsWith(u'-'))
        date.year = 2000;
}

void MoveMonth(Ymd &date, int step)
{
    date.month += step;
    if (date.month == 0) {
        date.month = 12;
        --date.year;
    } else if (date.month == 13) {
        date.month = 1;
        ++date.year;
    }
}

// A leading "-" or "/" steps back or forward by a month (a lone day) or a
// year (month and day). "--" and "//" step only towards today.
void ApplyRelativeMove(Ymd &date, const Ymd &today, const QString &text, qsizetype runs,
                       PatternParts parts)
{
    bool monthStep = false;
    if (parts.day && runs == 1)
        monthStep = true;
    else if (!((parts.day && runs == 2) || (!parts.day && parts.month && runs == 1)))
        return;

    int step = 0;
    const QString soFar = NormalDateText(date.year, date.month, date.day);
    const QString todayText = DateText(today.year, today.month, today.day);
    if (text.startsWith(QLatin1String("--")))
        step = soFar > todayText ? -1 : 0;
    else if (text.startsWith(QLatin1String("//")))
        step = soFar < todayText ? 1 : 0;
    else if (text.startsWith(u'-'))
        step = -1;
    else if (text.startsWith(u'/'))
        step = 1;

    if (step == 0)
        return;
    if (monthStep)
        MoveMonth(date, step);
    else
        date.year += step;
}

int FinalYear(int year, int eraBase, DateReadMode mode)
{
    if (year >= 100 || year < 1)
        return year;
    if (eraBase != 0)
        return eraBase + year;
    if (mode == DateReadMode::Era)
        return 1988 + year;
    return year <= 87 ? 2000 + year : 1900 + year;
}

} // namespace

QString NoDateMarkerText()
{
    return DateText(1867, 12, 31);
}

QString NumericText(const QString &text)
{
    const QString spaced = MbWideToSpaces(text);
    QString result = spaced.contains(u'-') ? QStringLiteral("-") : QString();
    bool pointSeen = false;
    for (const QChar c : spaced) {
        if (c >= u'0' && c <= u'9') {
            result.append(c);
        } else if (c == u'.' && !pointSeen) {
            result.append(c);
            pointSeen = true;
        }
    }
    if (result.isEmpty() || result == u"-")
        return QStringLiteral("0");
    return result;
}

QString MonthEndText(const QString &dateText)
{
    const QStringList parts = dateText.split(u'/');
    if (parts.size() < 2)
        return {};
    bool yearOk = false;
    bool monthOk = false;
    const int year = parts[0].trimmed().toInt(&yearOk);
    const int month = parts[1].trimmed().toInt(&monthOk);
    DateTime firstOfMonth = 0;
    if (!yearOk || !monthOk || !TryEncodeDate(year, month, 1, firstOfMonth))
        return {};
    return DateText(year, month, DaysInMonth(year, month));
}

QString NormalDateText(int year, int month, int day)
{
    // Month 14 is February of the next year, month 0 December of the year before.
    const int monthIndex = month - 1;
    const int yearShift = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    year += yearShift;
    month = monthIndex - yearShift * 12 + 1;
    const QString monthEnd = MonthEndText(DateText(year, month, 1));
    if (monthEnd.isEmpty())
        return {};
    const int lastDay = monthEnd.right(2).toInt();
    if (day > 28 && day > lastDay)
        day = lastDay;
    DateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return monthEnd;
    return DateText(year, month, day);
}

QString FixShowa64(const QString &formatted, const QString &pattern)
{
    const qsizetype showa = formatted.indexOf(u'昭');
    if (showa < 0)
        return formatted;
    // The era year follows the era name; a "64" before it belongs to something else.
    const qsizetype year64 = formatted.indexOf(QLatin1String("64"), showa + 1);
    if (year64 < 0)
        return formatted;
    QString result = formatted;
    result[showa] = u'平';
    const qsizetype wa = result.indexOf(u'和', showa + 1);
    if (wa >= 0)
        result[wa] = u'成';
    const bool twoDigits = pattern.contains(QLatin1String("ee"), Qt::CaseInsensitive);
    result.replace(year64, 2, twoDigits ? QStringLiteral("01") : QStringLiteral("1"));
    return result;
}

BuiltDate BuildDate(int year, int month, int day, DateEntryEnvironment &environment)
{
    const bool anyGiven = year != 0 || month != 0 || day != 0;
    bool invalid = false;
    if (!IsReadableYear(year)) {
        invalid = true;
        year = 1867;
        month = 12;
        day = 31;
    }
    if (month > 12) {
        invalid = true;
        month = 12;
    }
    if (day > 31) {
        invalid = true;
        day = 31;
    }
    month = std::max(month, 1);
    day = std::max(day, 1);

    BuiltDate result;
    DateTime date = 0;
    bool ok = TryEncodeDate(year, month, day, date);
    while (!ok && day > 25) {
        invalid = true;
        --day;
        ok = TryEncodeDate(year, month, day, date);
    }
    if (ok)
        result = {date, year, month, day};
    if (invalid && anyGiven)
        environment.beep();
    return result;
}

QString ReadDateText(const QString &text, const QString &pattern, DateReadMode mode,
                     DateEntryEnvironment &environment)
{
    const int eraBase = EraBaseYear(text);
    Ymd today;
    DecodeDate(environment.today(), today.year, today.month, today.day);

    const QString spaced = MbWideToSpaces(text);
    const DigitRuns split = SplitDigits(spaced);
    const qsizetype runs = split.runs.size();
    const PatternParts parts{pattern.contains(u'm', Qt::CaseInsensitive),
                             pattern.contains(u'd', Qt::CaseInsensitive)};

    Ymd date = FromRuns(split, eraBase != 0);
    if (eraBase == 0 && !IsReadableYear(date.year))
        ShiftTowardsDay(date, runs, parts, mode);
    if (!text.isEmpty()) {
        CompleteFromToday(date, today, spaced, parts);
        ApplyRelativeMove(date, today, spaced, runs, parts);
    }
    date.year = FinalYear(date.year, eraBase, mode);

    const BuiltDate built = BuildDate(date.year, date.month, date.day, environment);
    return DateText(built.year, built.month, built.day);
}

} // namespace qpn
