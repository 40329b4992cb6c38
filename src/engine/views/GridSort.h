#pragma once
// Heading-click sorting of a grid. One direction code per grid is shared by
// all its columns: the first click of a run sorts ascending and every further
// click, on any heading, reverses the direction. The clicked heading carries
// " (A)" or " (D)"; the others are restored from the grid's heading table.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "views/ViewData.h"

namespace kov {

class GridSortState {
public:
    // 0 unsorted, 1 ascending, 2 descending.
    int Code() const { return code_; }
    // Toggles the direction and returns true when the new direction is ascending.
    bool Toggle();

private:
    int code_ = 0;
};

// The numeric value of a cell when the whole cell reads as a number, grouping
// separators allowed ("1,234.50" -> 1234.5); otherwise nothing.
std::optional<double> CellNumber(std::string_view cell);

// Sorts the rows by one column (stable), comparing two cells as numbers when
// both read as numbers and as text otherwise, and rewrites the headings from the
// grid's heading table with the marker on the clicked column.
void SortTable(StringTable& table, const std::vector<std::string>& headingTable, int column, bool ascending);

}  // namespace kov
