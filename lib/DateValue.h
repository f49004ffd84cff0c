#pragma once

#include <QDate>
#include <QString>

#include <functional>

namespace qpn {

// A date is the number of days since 30 December 1899, time of day in the
// fraction. A null date reads as 0, that same day.
using DateTime = double;

DateTime EncodeDate(int year, int month, int day);          // throws std::invalid_argument
bool TryEncodeDate(int year, int month, int day, DateTime &out);
void DecodeDate(DateTime date, int &year, int &month, int &day);
int YearOf(DateTime date);
int MonthOf(DateTime date);
int DayOf(DateTime date);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
DateTime EndOfMonth(DateTime date);
// Adds whole months keeping the day where the target month has it, else its last day.
DateTime IncMonth(DateTime date, int months);

QDate ToQDate(DateTime date);
DateTime FromQDate(const QDate &date);

// Today, replaceable so tests can fix the calendar.
DateTime Today();
void SetTodayProvider(std::function<DateTime()> provider); // empty restores the clock

// The fiscal year of a date: the calendar year in which its fiscal year starts.
// Days are ignored: only the month is compared with the fiscal start's month.
int Nendo(DateTime date, int fiscalStartMonth);

} // namespace qpn
