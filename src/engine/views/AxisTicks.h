#pragma once
// Value-axis ticks, the same on the screen, on paper and in exported images:
// on 1, 2 or 5 times a power of ten, counted from 0, about five over the range.

#include <string>
#include <vector>

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

// A tick label: the value with the tick's decimals and no grouping.
std::string TickText(double value, int decimals);

}  // namespace kov
