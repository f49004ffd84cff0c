#include "depreciation/YearRows.h"

#include <algorithm>
#include <utility>

namespace qpn {

YearRow &YearRows::findOrAppend(std::vector<YearRow> &rows, int assetId, int sub)
{
    auto it = std::lower_bound(rows.begin(), rows.end(), sub,
                               [](const YearRow &row, int key) { return row.Sub < key; });
    if (it != rows.end() && it->Sub == sub)
        return *it;
    YearRow fresh;
    fresh.ID = assetId;
    fresh.Sub = sub;
    return *rows.insert(it, fresh);
}

const YearRow *YearRows::findNendo(const std::vector<YearRow> &rows, int nendo)
{
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [nendo](const YearRow &row) { return row.Nendo == nendo; });
    return it == rows.end() ? nullptr : &*it;
}

YearRow *YearRows::findNendo(std::vector<YearRow> &rows, int nendo)
{
    return const_cast<YearRow *>(findNendo(std::as_const(rows), nendo));
}

YearRow YearRows::lastByNendo(const std::vector<YearRow> &rows)
{
    const YearRow *last = nullptr;
    for (const YearRow &row : rows) {
        // A null Nendo sorts first; equal years keep key order.
        if (!last || !(row.Nendo < last->Nendo))
            last = &row;
    }
    return last ? *last : YearRow();
}

} // namespace qpn
