#include "analysis/PoolCharts.h"

#include <array>

#include "analysis/PoolChartParts.h"

namespace kov {

namespace poolcharts {

namespace {

constexpr int GraphTypeCount = static_cast<int>(PoolGraph::TopIOImpactors);

const std::array<GraphType, GraphTypeCount> GraphTable = {{
    {"Access Type", "Access Type", -1, ""},
    {"Pages Read", "Pages Read", -1, ""},
    {"Read I/Os by Type", "Read I/Os", -1, ""},
    {"Pool Get Pages", "Pool Activity by Object Type Get-Pages", -1, ""},
    {"Pool Pages Read", "Pool Activity by Object Type Pages-Read", -1, ""},
    {"Pool Read I/O by Object Type", "Pool Activity by Object Type Start-IO's", -1, ""},
    {"Top Get Pages", "Top Get Page Requests", 0, "get pages"},
    {"Top Seq. Access", "Top Sequential Access", 0, "get pages"},
    {"Top Random I/O", "Top Random I/O", 0, "read I/Os"},
    {"Top Write I/Os", "Highest Write I/O", 0, "write I/Os"},
    {"Top Pages/Write", "Highest Pages/Write", 2, "pages / write"},
    {"Top Indexes-Pages Read", "Top Indexes By Pages Read", 0, "pages"},
    {"Top I/O Rates/Sec", "Highest IO Rates/Sec", 2, "I/Os / s"},
    {"Top Updates", "Highest Updates", 0, "updates"},
    {"Lowest App. Hit Ratio", "Lowest App. Hit Ratio", 2, "%"},
    {"Lowest Sys. Hit Ratio", "Lowest Sys. Hit Ratio", 2, "%"},
    {"Lowest Pages/Write", "Lowest Pages/Write", 2, "pages / write"},
    {"Indexes < 95 SHR-%", "Index < 95% Sys. Hit Ratio", 4, ""},
    {"Indexes > 10% Seq Pref", "Indexes > 10% Sequential Prefetch", 0, "get pages"},
    {"Worst Avg Sync I/O", "Highest Avg. Sync I/O (ms)", 0, "ms"},
    {"Worst Max Sync I/O", "Highest Max Sync I/O(ms)", 0, "ms"},
    {"Worst Write I/Os (ms)", "Worst Write I/O(ms)", 0, "ms"},
    {"Worst I/O Rate > 1", "Worst Sync I/O(ms)", 0, "ms"},
    {"Top I/O Impactors", "Top I/O Impactors", 0, "ms"},
}};

}  // namespace

const GraphType& GraphOf(PoolGraph graph) {
    return GraphTable[static_cast<std::size_t>(graph) - 1];
}

}  // namespace poolcharts

const std::vector<std::string>& PoolGraphTypes() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> list;
        list.reserve(poolcharts::GraphTable.size());
        for (const poolcharts::GraphType& type : poolcharts::GraphTable) list.emplace_back(type.ListText);
        return list;
    }();
    return texts;
}

ChartData PoolChart(const ReportModel& model, int p, int position) {
    ChartData chart;
    if (!model.Pools.Contains(p) || position < 1 || position > poolcharts::GraphTypeCount) return chart;
    const PoolRecord& pool = model.Pools(p);
    chart.Title = "Buffer Pool - " + pool.PoolName.PaddedString();
    const auto graph = static_cast<PoolGraph>(position);
    if (graph <= PoolGraph::PoolReadIOsByObjectType)
        poolcharts::PieChart(model, pool, graph, chart);
    else
        poolcharts::TopListChart(model, pool, graph, chart);
    return chart;
}

}  // namespace kov
