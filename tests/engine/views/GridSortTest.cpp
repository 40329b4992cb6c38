#include <gtest/gtest.h>

#include "views/GridSort.h"

namespace kov {
namespace {

TEST(CellNumber, ReadsNumbersWithGroupingAndRefusesText) {
    const struct {
        const char* cell;
        bool isNumber;
        double value;
    } cases[] = {{"1,234.50", true, 1234.5}, {"  42 ", true, 42},  {"-3", true, -3},    {"0.00", true, 0},
                 {"BP0     ", false, 0},     {"", false, 0},       {"12a", false, 0},   {"nan", false, 0},
                 {"1e3", true, 1000},        {"+7", true, 7}};
    for (const auto& c : cases) {
        const auto number = CellNumber(c.cell);
        EXPECT_EQ(number.has_value(), c.isNumber) << c.cell;
        if (number && c.isNumber) {
            EXPECT_DOUBLE_EQ(*number, c.value) << c.cell;
        }
    }
}

TEST(SortTable, NumbersSortAsNumbersAndTheMarkerMovesWithTheClick) {
    const std::vector<std::string> headings = {"Pool", "Get Pages"};
    StringTable table{headings, {{"BP1", "1,000"}, {"BP10", "9"}, {"BP2", "200"}}};
    GridSortState state;

    EXPECT_TRUE(state.Toggle());
    SortTable(table, headings, 1, true);
    EXPECT_EQ(table.Headings, (std::vector<std::string>{"Pool", "Get Pages (A)"}));
    EXPECT_EQ(table.Rows[0][0], "BP10");
    EXPECT_EQ(table.Rows[2][0], "BP1");

    EXPECT_FALSE(state.Toggle());
    SortTable(table, headings, 0, false);
    EXPECT_EQ(table.Headings, (std::vector<std::string>{"Pool (D)", "Get Pages"}));
    EXPECT_EQ(table.Rows[0][0], "BP2");
    EXPECT_EQ(table.Rows[2][0], "BP1");
    EXPECT_EQ(state.Code(), 2);
    EXPECT_TRUE(state.Toggle()) << "after a descending sort the next click sorts ascending";
}

}  // namespace
}  // namespace kov
