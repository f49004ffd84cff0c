#pragma once

#include "lib/DateEntryEnvironment.h"
#include "lib/DateValue.h"

#include <QString>

namespace qpn {

// The date that stands for "no date": 1867-12-31, the day before the first
// date the reader accepts. Date fields show it as empty text.
constexpr DateTime NoDateMarker = -11687;
QString NoDateMarkerText(); // "1867/12/31"

// How a two-digit year without an era letter is read: Western (2000 + year for
// 1–87, 1900 + year for 88–99) or as a 平成 year in the era modes.
enum class DateReadMode { Western, Era };

// The digits and the first full stop of a typed number, with a leading "-"
// when the text has one anywhere ("12-" is -12). Text without digits gives "0".
QString NumericText(const QString &text);

// "yyyy/mm/dd" of the last day of the month of a "yyyy/m[/d]" text; empty when
// the text names no month.
QString MonthEndText(const QString &dateText);
// "yyyy/mm/dd" of a year, month and day, moving an out-of-range month into the
// year around it and a day past the month's end back to the last day.
QString NormalDateText(int year, int month, int day);

// ICU shows 1989-01-01 to 1989-01-07 as 昭和64; the program shows them as 平成
// year 1. Turns "昭和64/01/05" into "平成01/01/05" ("1" unless the pattern has ee).
QString FixShowa64(const QString &formatted, const QString &pattern);

struct BuiltDate
{
    DateTime date = NoDateMarker;
    int year = 1867;
    int month = 12;
    int day = 31;
};

// The date of year, month and day as a date field reads it: years outside
// 1868–2087 give the no-date marker, an impossible month or day is brought
// into range (31 April is 30 April), and a correction beeps.
BuiltDate BuildDate(int year, int month, int day, DateEntryEnvironment &environment);

// What the user typed into a date field ("H6/5/12", "5/12", "20240512",
// "--25") as "yyyy/mm/dd", completed from today, or the no-date marker's text.
// pattern is the field's display pattern: whether it shows a month and a day
// decides how lone numbers are read.
QString ReadDateText(const QString &text, const QString &pattern, DateReadMode mode,
                     DateEntryEnvironment &environment);

} // namespace qpn
