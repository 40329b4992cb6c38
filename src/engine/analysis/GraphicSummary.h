#pragma once
// The "Graphic Summary" page: eleven bar charts that set the pools side by
// side, one bar per row of the pool grid in the order the grid shows them.
// The bars are read from the grid's cell texts, not from the records, so a
// grid the DBA has sorted gives sorted bars.

#include <string>
#include <vector>

#include "views/ChartData.h"
#include "views/GridSort.h"
#include "views/ViewData.h"

namespace kov {

// One page of tbsGraphicSummary.
struct GraphicSummaryTab {
    std::string Caption;       // the tab text
    std::string ChartName;     // the chart control's name
    std::string Title;         // the chart's top title
    std::vector<int> Columns;  // pool grid columns whose values are added
    bool Decimal = false;      // cells read as decimals, else as whole numbers
    std::string Unit;          // the value axis's title
};

// The eleven pages in tab order.
const std::vector<GraphicSummaryTab>& GraphicSummaryTabs();

// The pages 0..3 that have a printed page.
constexpr int kPrintableGraphicSummaryPages = 4;

// The chart of one page (0..10) over the pool grid's data rows as they stand.
// A cell that is no number, or a whole number beyond 32 bits, raises the
// "Graphics Summary" failure message and plots 0.
ChartData GraphicSummaryChart(const SortableTable& poolGrid, int page);
ChartData GraphicSummaryChart(const StringTable& poolGrid, int page);

// All eleven charts in page order.
std::vector<ChartData> DrawGraphicSummary(const SortableTable& poolGrid);
std::vector<ChartData> DrawGraphicSummary(const StringTable& poolGrid);

}  // namespace kov
