#pragma once

#include "lib/DateValue.h"

#include <QString>

namespace qpn {

// The process-wide short date pattern, "yyyy/mm/dd" unless set otherwise.
QString ShortDatePattern();
void SetShortDatePattern(const QString &pattern);

// Formats a date with the pattern tokens yyyy yy mm m dd d hh nn ss, the era
// tokens gg g ee e of the Japanese calendar, literal text in double or single
// quotes ('' is an empty literal) and "/" as the date separator.
QString FormatDateTime(const QString &pattern, DateTime date);
// The date in the short date pattern.
QString DateToText(DateTime date);

// The era of a date from the platform's Japanese calendar.
QString EraName(DateTime date);      // 平成
QString EraShortName(DateTime date); // 平
int EraYear(DateTime date);          // 1 for the era's first year

} // namespace qpn
