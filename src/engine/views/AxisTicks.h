#pragma once
// Value-axis ticks, the same on the screen, on paper and in exported images:
// on 1, 2 or 5 times a power of ten, counted from 0, about five over the range.

#include <string>
#include <utility>
#include <vector>

#include "views/ChartData.h"

namespace kov {

// The tick step for an axis spanning `range`; 1 for an empty range.
double RoundTickStep(double range);

// The decimals a tick label needs to show `step` exactly (0 for whole steps).
int TickDecimals(double step);

struct AxisTicks {
    double Step = 1;
    int Decimals = 0;
    std::vector<double> Values;  // the multiples of Step inside [low, high], ascending
};

AxisTicks TicksBetween(double low, double high);

// The span a bar chart's value axis is drawn over: the range the analysis
// fixes (its bottom only where it fixes one), else the values with 0 inside.
// A span of one value is widened a little, so there is an axis to stand on.
std::pair<double, double> ValueAxisSpan(const ChartData& chart);

// A tick label: the value with the tick's decimals and no grouping.
std::string TickText(double value, int decimals);

}  // namespace kov
