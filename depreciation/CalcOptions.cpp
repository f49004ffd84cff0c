#include "depreciation/CalcOptions.h"

#include "lib/AppOptions.h"

namespace qpn {

CalcOptions CalcOptions::fromAppOptions()
{
    const AppOptionsData &app = AppOptions();
    CalcOptions options;
    options.FiscalStart = app.FiscalStart;
    options.FiscalEnd = app.FiscalEnd;
    options.FiscalYear = app.FiscalYear;
    options.FiscalMonth = app.FiscalMonth;
    options.ResidualMethod = app.ResidualMethod;
    options.StraightLineBasis = app.StraightLineBasis;
    options.SubsidyResidual = app.SubsidyResidual;
    options.RoundingMode = app.RoundingMode;
    options.DisposalMonthly = app.DisposalMonthly;
    options.TransitionYear = app.TransitionYear;
    return options;
}

CalcOptions CalcOptions::forFiscalStart(DateTime start)
{
    CalcOptions options;
    options.FiscalStart = start;
    int day = 0;
    DecodeDate(start, options.FiscalYear, options.FiscalMonth, day);
    options.FiscalEnd = IncMonth(start, 12) - 1;
    return options;
}

} // namespace qpn
