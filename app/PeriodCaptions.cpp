#include "app/PeriodCaptions.h"

namespace qpn {

namespace {

QString monthToken(DateTime date)
{
    return MonthOf(date) >= 10 ? QStringLiteral("m") : QStringLiteral(" m");
}

QString dayToken(DateTime date)
{
    return DayOf(date) >= 10 ? QStringLiteral("d") : QStringLiteral(" d");
}

QString caption(const QString &prefix, DateTime date)
{
    return prefix + monthToken(date) + QStringLiteral("\"月\"") + dayToken(date) + QStringLiteral("\"日\"");
}

} // namespace

PeriodFormats PeriodCaptionFormats(DateTime start, DateTime end, int eraDisplay, int mode)
{
    const bool era = eraDisplay == 1;
    PeriodFormats formats;
    formats.start = caption(era ? QStringLiteral("\"(自)\"ggee\"年\"") : QStringLiteral("\"(自)\"yyyy\"年\""), start);
    formats.end = caption(era ? QStringLiteral("\"(至)\"ggee\"年\"") : QStringLiteral("\"(至)\"yyyy\"年\""), end);
    if (mode == 1)
        formats.end = era ? QStringLiteral("gg''ee'年'm'月'd'日'") : QStringLiteral("yyyy'年'm'月'd'日'");
    return formats;
}

QString InitialPeriodFormat()
{
    return QStringLiteral("yyyy' 年 ' mm' 月 'dd' 日 '");
}

} // namespace qpn
