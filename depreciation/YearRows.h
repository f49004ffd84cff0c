#pragma once

#include "depreciation/YearRow.h"

#include <vector>

namespace qpn {

// Look-ups over one asset's year rows, kept in primary-key order (Sub).
class YearRows
{
public:
    // The row of a year index; a new row is inserted in key order when none exists.
    static YearRow &findOrAppend(std::vector<YearRow> &rows, int assetId, int sub);
    // The first row of a fiscal year in (Nendo, Sub) order, or nullptr.
    static const YearRow *findNendo(const std::vector<YearRow> &rows, int nendo);
    static YearRow *findNendo(std::vector<YearRow> &rows, int nendo);
    // The last row in (Nendo, Sub) order, a null row when there is none.
    static YearRow lastByNendo(const std::vector<YearRow> &rows);
};

} // namespace qpn
