#pragma once

#include "depreciation/AssetRecord.h"
#include "depreciation/YearRow.h"

#include <vector>

namespace qpn {

// One asset as the passes see it: its daicyoA row and its daicyoB rows in
// primary-key order (Sub ascending).
struct AssetData
{
    AssetRecord asset;
    std::vector<YearRow> rows;
};

} // namespace qpn
