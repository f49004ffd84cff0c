#include "lib/DateValue.h"

#include <cmath>
#include <stdexcept>

namespace qpn {

namespace {

const QDate &ZeroDay()
{
    static const QDate day(1899, 12, 30);
    return day;
}

std::function<DateTime()> &TodayProvider()
{
    static std::function<DateTime()> provider;
    return provider;
}

// The day part of a date: the fraction is the time of day on either side of
// zero, so the day is the value truncated toward zero.
qint64 DayNumber(DateTime date)
{
    return static_cast<qint64>(std::trunc(date));
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, DateTime &out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > DaysInMonth(year, month))
        return false;
    out = static_cast<DateTime>(ZeroDay().daysTo(QDate(year, month, day)));
    return true;
}

DateTime EncodeDate(int year, int month, int day)
{
    DateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw std::invalid_argument(
            QStringLiteral("日付のエンコードに対する引数が無効です (%1/%2/%3)。")
                .arg(year)
                .arg(month)
                .arg(day)
                .toStdString());
    return result;
}

QDate ToQDate(DateTime date)
{
    if (!std::isfinite(date))
        return {};
    return ZeroDay().addDays(DayNumber(date));
}

DateTime FromQDate(const QDate &date)
{
    // A null date reads as the zero date.
    return date.isValid() ? static_cast<DateTime>(ZeroDay().daysTo(date)) : 0.0;
}

void DecodeDate(DateTime date, int &year, int &month, int &day)
{
    const QDate d = ToQDate(date);
    if (!d.isValid()) {
        year = month = day = 0;
        return;
    }
    d.getDate(&year, &month, &day);
}

int YearOf(DateTime date)
{
    return ToQDate(date).year();
}

int MonthOf(DateTime date)
{
    return ToQDate(date).month();
}

int DayOf(DateTime date)
{
    return ToQDate(date).day();
}

DateTime EndOfMonth(DateTime date)
{
    const QDate d = ToQDate(date);
    return FromQDate(QDate(d.year(), d.month(), d.daysInMonth()));
}

DateTime IncMonth(DateTime date, int months)
{
    const QDate d = ToQDate(date);
    // QDate::addMonths already clamps the day to the target month's last day.
    const DateTime moved = FromQDate(d.addMonths(months));
    const DateTime time = std::fabs(date - std::trunc(date));
    return moved < 0 ? moved - time : moved + time;
}

DateTime Today()
{
    if (const auto &provider = TodayProvider())
        return provider();
    return FromQDate(QDate::currentDate());
}

void SetTodayProvider(std::function<DateTime()> provider)
{
    TodayProvider() = std::move(provider);
}

int Nendo(DateTime date, int fiscalStartMonth)
{
    const QDate d = ToQDate(date);
    return d.month() >= fiscalStartMonth ? d.year() : d.year() - 1;
}

} // namespace qpn
