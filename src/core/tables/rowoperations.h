#pragma once

namespace setforge {

class Grid;

// Removes data row `row`: rows row+1..N move up one place and row N is emptied. Column 0 and
// the number of rows stay; a row outside 1..N changes nothing.
void deleteGridRow(int row, Grid& grid);

// Opens an empty data row at `row`: rows row..N-1 move down one place and the former content
// of row N is lost. Column 0 and the number of rows stay; a row outside 1..N changes nothing.
void insertGridRow(int row, Grid& grid);

} // namespace setforge
