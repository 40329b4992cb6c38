#include <gtest/gtest.h>

#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "support/ChartPoints.h"

namespace kov {
namespace {

constexpr int kIO = 0, kIOPerSecond = 1, kGetPages = 2, kResidency = 6;

// A pool grid row with the given cells set and every other cell "0".
std::vector<std::string> Row(const std::string& pool, const std::vector<std::pair<int, std::string>>& cells) {
    std::vector<std::string> row(PoolGridHeadings().size(), "0");
    row[0] = pool;
    for (const auto& [column, text] : cells) row[static_cast<std::size_t>(column)] = text;
    return row;
}

StringTable Grid(std::vector<std::vector<std::string>> rows) {
    return {PoolGridHeadings(), std::move(rows)};
}

TEST(GraphicSummary, CellConversions) {
    const struct {
        int page;
        std::vector<std::pair<int, std::string>> cells;
        double value;
        std::string valueText;
    } cases[] = {
        {kIOPerSecond, {{1, "1,234.50"}, {6, "10.25"}}, 1244.75, "1,244.75"},
        {kIOPerSecond, {{1, "0.00"}, {6, "0.00"}}, 0, "0.00"},
        {kGetPages, {{2, "2147483647"}}, 2147483647, "2,147,483,647"},
        {kResidency, {{10, "95.5"}}, 96, "96"},  // nearest whole number, ties to even
        {kResidency, {{10, "94.5"}}, 94, "94"},
        {kResidency, {{10, "-3.25"}}, -3, "-3"},
    };
    for (const auto& c : cases) {
        const ChartData chart = GraphicSummaryChart(Grid({Row("BP0", c.cells)}), c.page);
        ASSERT_EQ(chart.Points.size(), 1u);
        EXPECT_DOUBLE_EQ(chart.Points[0].Value, c.value) << c.cells[0].second;
        EXPECT_EQ(chart.Points[0].ValueText, c.valueText) << c.cells[0].second;
        EXPECT_TRUE(chart.Messages.empty()) << c.cells[0].second;
    }
}

TEST(GraphicSummary, AMaximumBelowZeroBecomesZero) {
    const ChartData chart = GraphicSummaryChart(Grid({Row("BP0", {{10, "-5"}}), Row("BP1", {{10, "-2"}})}), kResidency);
    ASSERT_TRUE(chart.Axis);
    EXPECT_EQ(*chart.Axis, (AxisRange{-5, 0}));
}

TEST(GraphicSummary, ACellThatCannotBePlottedIsReportedAndTheDrawingGoesOn) {
    const struct {
        std::string cell;
        std::string failure;
    } cases[] = {{"", "13 : Type mismatch"}, {"n/a", "13 : Type mismatch"}, {"2147483648", "6 : Overflow"}};
    for (const auto& c : cases) {
        const ChartData chart = GraphicSummaryChart(Grid({Row("BP0", {{5, c.cell}}), Row("BP1", {{5, "7"}})}), kIO);
        ASSERT_EQ(chart.Messages.size(), 1u) << c.cell;
        EXPECT_EQ(chart.Messages[0],
                  (Message{"Graphics Summary",
                           "A fatal error has occured while plotting the Buffer Pools Graphic Summary\n" + c.failure,
                           MessageIcon::Critical}));
        EXPECT_EQ(test::PointValues(chart), (std::vector<double>{0, 7})) << c.cell;
    }
}

// A report without pools (an empty or unreadable file) plots nothing and
// raises nothing: the empty row its pool grid keeps is no pool.
TEST(GraphicSummary, TheEmptyRowOfAReportWithoutPools) {
    const std::vector<ChartData> charts = DrawGraphicSummary(PoolGrid(ReportModel{}));
    ASSERT_EQ(charts.size(), GraphicSummaryTabs().size());
    for (const ChartData& chart : charts) {
        EXPECT_TRUE(chart.Points.empty()) << chart.Title;
        EXPECT_TRUE(chart.Messages.empty()) << chart.Title;
        EXPECT_FALSE(chart.Title.empty());
    }
}

}  // namespace
}  // namespace kov
