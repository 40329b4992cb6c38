#pragma once
// Heading-click sorting of a grid. One direction code per grid is shared by
// all its columns: the first click of a run sorts ascending and every further
// click, on any heading, reverses the direction. The clicked heading carries
// " (A)" or " (D)"; the others are restored from the grid's heading table.
// The object list sorts by the same rule.

#include <cstddef>
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

// The heading of the sorted column: "Object (A)" or "Object (D)".
std::string SortedHeading(std::string_view heading, bool ascending);

// The positions of the cells in sorted order (stable): two cells compare as
// numbers when both read as numbers, as text otherwise. numbers[i] is
// CellNumber(cells[i]).
std::vector<std::size_t> SortedOrder(const std::vector<std::string_view>& cells,
                                     const std::vector<std::optional<double>>& numbers, bool ascending);

// A grid as the window holds it: its text, the headings without a marker,
// and the number each cell reads as, found once when the grid is filled:
// number cells are right-aligned and sort as numbers.
class SortableTable {
public:
    explicit SortableTable(StringTable table = {});

    const StringTable& Table() const { return table_; }
    // The headings as the grid was filled, without a sort marker.
    const std::vector<std::string>& PlainHeadings() const { return headingTable_; }
    // The number a cell reads as; nothing for text and outside the grid.
    std::optional<double> Number(std::size_t row, std::size_t column) const;
    bool IsNumber(std::size_t row, std::size_t column) const { return Number(row, column).has_value(); }

    // Sorts the rows by one column and rewrites the headings with the marker
    // on that column.
    void SortBy(int column, bool ascending);

private:
    StringTable table_;
    std::vector<std::string> headingTable_;
    std::vector<std::vector<std::optional<double>>> numbers_;
};

}  // namespace kov
