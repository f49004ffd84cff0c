#pragma once

#include "lib/DateValue.h"

namespace qpn {

// The options a calculation reads: the current fiscal year and the
// calculation settings (radio-group item indexes).
struct CalcOptions
{
    DateTime FiscalStart = 0;
    DateTime FiscalEnd = 0;
    int FiscalYear = 0;
    int FiscalMonth = 0;
    int ResidualMethod = 0;    // 0 [ｱ], 1 [ｲ], 2 [ｳ]
    int StraightLineBasis = 0; // 0 1 ÷ life, 1 the statutory table
    int SubsidyResidual = 0;   // 0 down to 0, 1 down to 10 %, 2 proportional
    int RoundingMode = 0;      // 0 half up, 1 truncate
    int DisposalMonthly = 0;   // 1 prorates the disposal year by months
    int TransitionYear = 0;

    // The process-wide options as they stand now.
    static CalcOptions fromAppOptions();
    // Options for a fiscal year starting on the given date, ending the day
    // before the same date a year later; every setting 0.
    static CalcOptions forFiscalStart(DateTime start);
};

} // namespace qpn
