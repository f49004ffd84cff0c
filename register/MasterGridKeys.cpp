#include "register/MasterGridKeys.h"

#include <algorithm>

namespace qpn {

GridCell MasterEnterTarget(GridCell at, int columnCount, int rowCount)
{
    if (at.column == 1)
        return {std::min(at.row + 1, std::max(rowCount - 1, 0)), 0};
    return {at.row, std::min(at.column + 1, std::max(columnCount - 1, 0))};
}

} // namespace qpn
