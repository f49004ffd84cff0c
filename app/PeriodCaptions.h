#pragma once

#include "lib/DateValue.h"

#include <QString>

namespace qpn {

// The display formats of the header's fiscal start and end through which the
// reports print their period.
struct PeriodFormats
{
    QString start;
    QString end;
};

// Mode 0 prints both dates with (自)/(至) and a space before a one-digit month
// or day so the captions line up; mode 1 prints the end date plainly. An era
// display of 1 prints the Japanese era, any other value the Western year.
PeriodFormats PeriodCaptionFormats(DateTime start, DateTime end, int eraDisplay, int mode);

// The formats the fiscal dates carry until the first call.
QString InitialPeriodFormat();

} // namespace qpn
