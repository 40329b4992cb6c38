#pragma once
// What the pool pies (PoolPies.cpp), the top lists (PoolTopLists.cpp) and
// the graph-type table (PoolCharts.cpp) share; private to the pool charts.

#include <array>
#include <cstdint>
#include <numeric>
#include <string>

#include "analysis/PoolCharts.h"
#include "common/Message.h"

namespace kov::poolcharts {

inline constexpr int SideLabelCount = 5;

struct GraphType {
    const char* ListText;
    const char* Title;
    // Decimals of a bar's value label: counts and milliseconds are whole,
    // ratios, rates and hit ratios keep two, and the index hit ratio, charted
    // as a fraction, four; -1 for the pies, which have no value labels.
    int ValueDecimals;
    const char* Unit;  // the value axis's title; "" where the figure has no unit
};

const GraphType& GraphOf(PoolGraph graph);

// A message box with the program's name as its title.
inline Message Plain(std::string text) {
    return Message{"", std::move(text), MessageIcon::None};
}

// Keys are compared, and values plotted, in single precision.
inline float Single(double value) {
    return static_cast<float>(value);
}

// The by-kind counters from element 1 (element 0 stays 0).
template <std::size_t N>
long long SumFromOne(const std::array<std::int32_t, N>& byKind) {
    return std::accumulate(byKind.begin() + 1, byKind.end(), 0LL);
}

inline const ObjectRecord& ObjectAt(const ReportModel& model, const ObjectRange& range, std::size_t k) {
    return model.Objects(range.First + static_cast<int>(k));
}

inline bool IsIndex(const ObjectRecord& object) {
    return object.ObjectType.Trimmed() == "I";
}

// Graph types 1-6: the pool's activity in up to four groups.
void PieChart(const ReportModel& model, const PoolRecord& pool, PoolGraph graph, ChartData& chart);
// Graph types 7-24: the pool's objects ranked by one figure, as bars.
void TopListChart(const ReportModel& model, const PoolRecord& pool, PoolGraph graph, ChartData& chart);

}  // namespace kov::poolcharts
