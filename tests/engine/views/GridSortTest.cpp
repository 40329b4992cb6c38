#include <gtest/gtest.h>

#include "views/GridSort.h"

namespace kov {
namespace {

TEST(CellNumber, ReadsNumbersWithGroupingAndRefusesText) {
    const struct {
        const char* cell;
        bool isNumber;
        double value;
    } cases[] = {{"1,234.50", true, 1234.5}, {"  42 ", true, 42}, {"-3", true, -3},  {"0.00", true, 0},
                 {"BP0     ", false, 0},     {"", false, 0},      {"12a", false, 0}, {"nan", false, 0},
                 {"1e3", true, 1000},        {"+7", true, 7}};
    for (const auto& c : cases) {
        const auto number = CellNumber(c.cell);
        EXPECT_EQ(number.has_value(), c.isNumber) << c.cell;
        if (number && c.isNumber) {
            EXPECT_DOUBLE_EQ(*number, c.value) << c.cell;
        }
    }
}

TEST(SortableTable, NumbersSortAsNumbersAndTheMarkerMovesWithTheClick) {
    const std::vector<std::string> headings = {"Pool", "Get Pages"};
    SortableTable grid(StringTable{headings, {{"BP1", "1,000"}, {"BP10", "9"}, {"BP2", "200"}, {"BP3", "n/a"}}});
    GridSortState state;
    const auto column = [&grid](std::size_t c) {
        std::vector<std::string> cells;
        for (const auto& row : grid.Table().Rows) cells.push_back(row[c]);
        return cells;
    };

    EXPECT_TRUE(state.Toggle());
    grid.SortBy(1, true);
    EXPECT_EQ(grid.Table().Headings, (std::vector<std::string>{"Pool", "Get Pages (A)"}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"BP10", "BP2", "BP1", "BP3"}));
    // The number each cell reads as moves with its row.
    EXPECT_TRUE(grid.IsNumber(0, 1));
    EXPECT_FALSE(grid.IsNumber(3, 1));
    EXPECT_FALSE(grid.IsNumber(0, 0));
    EXPECT_FALSE(grid.IsNumber(9, 1)) << "outside the grid";

    EXPECT_FALSE(state.Toggle());
    grid.SortBy(0, false);
    EXPECT_EQ(grid.Table().Headings, (std::vector<std::string>{"Pool (D)", "Get Pages"}));
    EXPECT_EQ(column(0), (std::vector<std::string>{"BP3", "BP2", "BP10", "BP1"}));
    EXPECT_FALSE(grid.IsNumber(0, 1));
    EXPECT_EQ(state.Code(), 2);
    EXPECT_TRUE(state.Toggle()) << "after a descending sort the next click sorts ascending";
}

TEST(SortedOrder, IsStableBothWaysAndComparesNumbersOnlyWithNumbers) {
    const std::vector<std::string_view> cells = {"10", "9", "b", "9", "a"};
    std::vector<std::optional<double>> numbers;
    for (std::string_view cell : cells) numbers.push_back(CellNumber(cell));
    EXPECT_EQ(SortedOrder(cells, numbers, true), (std::vector<std::size_t>{1, 3, 0, 4, 2}));
    EXPECT_EQ(SortedOrder(cells, numbers, false), (std::vector<std::size_t>{2, 4, 0, 1, 3}));
}

}  // namespace
}  // namespace kov
