#include "lib/AppOptions.h"

namespace qpn {

void AppOptionsData::setFiscalStart(DateTime start)
{
    FiscalStart = start;
    DecodeDate(start, FiscalYear, FiscalMonth, FiscalDay);
}

AppOptionsData &AppOptions()
{
    static AppOptionsData options;
    return options;
}

} // namespace qpn
