#pragma once

namespace qpn {

struct GridCell
{
    int row = 0;
    int column = 0;
    bool operator==(const GridCell &) const = default;
};

// Enter in a master list's grid: from the name (second) column back to the
// code column of the next row (the last row stays), from any other column one
// to the right (the last column stays). So Enter goes code, name, next code.
GridCell MasterEnterTarget(GridCell at, int columnCount, int rowCount);

} // namespace qpn
