#pragma once

#include "lib/DateValue.h"

#include <QString>

namespace qpn {

// The Japanese imperial-era calendar, taken from ICU's "japanese" calendar so
// that eras proclaimed after this program was written are known without a
// table of our own. The era changes on the day the calendar gives.
class EraCalendar
{
public:
    struct Era
    {
        QString name; // 平成
        int year = 0; // 1 in the era's first year
    };

    // The era containing the day of the date (the time of day is ignored).
    static Era eraOf(DateTime date);
};

} // namespace qpn
