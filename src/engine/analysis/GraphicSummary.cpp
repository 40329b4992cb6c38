#include "analysis/GraphicSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "common/FixedText.h"
#include "common/Formats.h"

namespace kov {

namespace {

constexpr const char* kFailureTitle = "Graphics Summary";
constexpr const char* kFailureText = "A fatal error has occured while plotting the Buffer Pools Graphic Summary";

// Why a cell could not be plotted, as the failure's number and description.
struct CellFailure {
    int Number;
    const char* Description;
};
constexpr CellFailure kTypeMismatch{13, "Type mismatch"};
constexpr CellFailure kOverflow{6, "Overflow"};

Message FailureMessage(const CellFailure& failure) {
    return {kFailureTitle,
            std::string(kFailureText) + "\n" + std::to_string(failure.Number) + " : " + failure.Description,
            MessageIcon::Critical};
}

// The cell as a decimal, or as the nearest 32-bit whole number (ties to even).
struct CellValue {
    double Value = 0;
    std::optional<CellFailure> Failure;
};

CellValue ConvertCell(const std::optional<double>& number, bool decimal) {
    if (!number) return {0, kTypeMismatch};
    if (decimal) return {*number, {}};
    const std::optional<long long> whole = WholeNumber32(*number);
    if (!whole) return {0, kOverflow};
    return {static_cast<double>(*whole), {}};
}

}  // namespace

const std::vector<GraphicSummaryTab>& GraphicSummaryTabs() {
    static const std::vector<GraphicSummaryTab> pages = {
        {"I/O", "chartPoolIO", "Buffer Pool Versus I/O", {5}, false, "I/Os"},
        {"I/O per Second", "chartIOSec", "Buffer Pool Versus I/O", {1, 6}, true, "I/Os / s"},
        {"Get Pages", "chartGetPages", "Buffer Pool Versus GetPages", {2}, false, "get pages"},
        {"Updates", "chartUpdates", "Buffer Pool Versus Updates", {3}, false, "updates"},
        {"Write I/Os", "chartWrites", "Buffer Pool Versus Write I/Os", {8}, false, "write I/Os"},
        {"Pages Written", "chartPagesWritten", "Buffer Pool Versus Pages Written", {9}, false, "pages"},
        {"Avg Page Residency Secs",
         "chartAvgResidencySecs",
         "Buffer Pool Versus Average Page Residency In Seconds",
         {10},
         false,
         "s"},
        {"Rand Pages Rd", "chartSyncPagesRd", "Buffer Pool Versus Rand Pages Rd", {11}, false, "pages"},
        {"SP Pages Rd", "chartSPPagesRd", "Buffer Pool Versus SP Pages Rd", {12}, false, "pages"},
        {"LP Pages Rd", "chartLPPagesRd", "Buffer Pool Versus LP Pages Rd", {13}, false, "pages"},
        {"DynPF Pages Rd", "chartDPPagesRd", "Buffer Pool Versus DynPF Pages Rd", {14}, false, "pages"},
    };
    return pages;
}

// The grid's cells are read as the numbers the grid found in them, never
// parsed again.
ChartData GraphicSummaryChart(const SortableTable& poolGrid, int page) {
    const GraphicSummaryTab& tab = GraphicSummaryTabs().at(static_cast<std::size_t>(page));
    ChartData chart;
    chart.Kind = ChartKind::Bar;
    chart.Title = tab.Title;
    chart.ValueUnit = tab.Unit;
    const std::vector<std::vector<std::string>>& rows = poolGrid.Table().Rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        // The empty row a report without pools still shows is no pool: it
        // plots nothing and fails nothing.
        if (rows[r].empty() || TrimBlanks(rows[r].front()).empty()) continue;
        ChartPoint point;
        point.Label = rows[r].empty() ? std::string() : rows[r].front();
        for (const int column : tab.Columns) {
            const CellValue cell = ConvertCell(poolGrid.Number(r, static_cast<std::size_t>(column)), tab.Decimal);
            if (cell.Failure) chart.Messages.push_back(FailureMessage(*cell.Failure));
            point.Value += cell.Value;
        }
        point.ValueText = Grouped(point.Value, tab.Decimal ? 2 : 0);
        chart.Points.push_back(std::move(point));
    }
    if (chart.Points.empty()) return chart;
    AxisRange axis{chart.Points.front().Value, chart.Points.front().Value};
    for (const ChartPoint& point : chart.Points) {
        axis.Min = std::min(axis.Min, point.Value);
        axis.Max = std::max(axis.Max, point.Value);
    }
    if (axis.Max < 0) axis.Max = 0;
    chart.Axis = axis;
    return chart;
}

ChartData GraphicSummaryChart(const StringTable& poolGrid, int page) {
    return GraphicSummaryChart(SortableTable(poolGrid), page);
}

std::vector<ChartData> DrawGraphicSummary(const StringTable& poolGrid) {
    return DrawGraphicSummary(SortableTable(poolGrid));
}

std::vector<ChartData> DrawGraphicSummary(const SortableTable& poolGrid) {
    std::vector<ChartData> charts;
    charts.reserve(GraphicSummaryTabs().size());
    for (int page = 0; page < static_cast<int>(GraphicSummaryTabs().size()); ++page)
        charts.push_back(GraphicSummaryChart(poolGrid, page));
    return charts;
}

}  // namespace kov
