#include "core/tables/rowoperations.h"

#include "core/tables/grid.h"

namespace setforge {

void deleteGridRow(int row, Grid& grid)
{
    const int last = grid.rowCount();
    if (row < 1 || row > last)
        return;
    for (int k = row; k < last; ++k)
        grid.copyRow(k + 1, k);
    grid.clearRow(last);
}

void insertGridRow(int row, Grid& grid)
{
    const int last = grid.rowCount();
    if (row < 1 || row > last)
        return;
    for (int k = last - 1; k >= row; --k)
        grid.copyRow(k, k + 1);
    grid.clearRow(row);
}

} // namespace setforge
