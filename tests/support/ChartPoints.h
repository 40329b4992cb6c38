#pragma once
// The labels, values and objects of a chart's points in the order they are
// drawn, to compare with a list.

#include <algorithm>
#include <string>
#include <vector>

#include "views/ChartData.h"

namespace kov::test {

template <typename T>
std::vector<T> PointsOf(const ChartData& chart, T ChartPoint::*member) {
    std::vector<T> values;
    for (const ChartPoint& point : chart.Points) values.push_back(point.*member);
    return values;
}

inline std::vector<std::string> PointLabels(const ChartData& chart) {
    return PointsOf(chart, &ChartPoint::Label);
}
inline std::vector<double> PointValues(const ChartData& chart) {
    return PointsOf(chart, &ChartPoint::Value);
}
inline std::vector<int> PointObjects(const ChartData& chart) {
    return PointsOf(chart, &ChartPoint::Object);
}

// A bar chart draws its top entry last: the list from the top entry down.
template <typename T>
std::vector<T> Ranked(std::vector<T> drawn) {
    std::reverse(drawn.begin(), drawn.end());
    return drawn;
}

}  // namespace kov::test
