#pragma once
// Value-axis ticks, the same on the screen, on paper and in exported images:
// on 1, 2 or 5 times a power of ten, counted from 0, about five over the range.

#include <functional>
#include <string>
#include <string_view>
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

// How far below the smallest value a bar chart's axis opens, as a share of
// the span between the smallest and the largest value.
inline constexpr double BarAxisOpening = 0.05;

// A bar chart's value axis over the range the analysis fixes, opened below
// the smallest value so that its bar has a length to see and to click: by
// BarAxisOpening of the span, or down to 0 where 0 is closer. Bars of one
// value run from 0.
std::pair<double, double> OpenedBarAxis(double smallest, double largest);

// The span a chart's value axis is drawn over: the range the analysis fixes
// (its bottom only where it fixes one; a bar chart's opened by OpenedBarAxis),
// else the values with 0 inside. A span of one value is widened a little, so
// there is an axis to stand on: upward only, since the bottom is the smallest
// value the analysis fixes and the figure read back (a simulation's flat hit
// ratio line lies on it). A trend's axis is its own to choose and centres a
// flat line (TrendViews). The window, paper and images all draw this span; the
// batch report keeps the range the analysis fixes.
std::pair<double, double> ValueAxisSpan(const ChartData& chart);

// A value axis's title: the figure's unit, and " * 1K" where the values are
// in thousands, so every chart that scales by 1000 says so in one place.
std::string AxisUnit(std::string_view unit, bool thousands);

// A tick label: the value with the tick's decimals and no grouping.
std::string TickText(double value, int decimals);

// The densest of a chart's x label sets whose texts, each centred on its
// place, keep `gap` apart: `place` maps an x value to a position across the
// plot, `width` measures a text in the same units. The sparsest set where
// none does; an empty set where the chart has none.
const std::vector<XMark>& FittingXLabels(const ChartData& chart, const std::function<double(double)>& place,
                                         const std::function<double(const std::string&)>& width, double gap);

// Where a marker's text stands along the top of a plot: its left edge, its
// row (0 the top one) and the width it may take (its own, or less where a
// later text in its row would overprint it).
struct MarkerTextPlace {
    double Left = 0;
    int Row = 0;
    double Width = 0;
};

// Each text stands right of its line, or left of it where the plot ends
// first, in the first of `rows` rows where it clears the texts before it by
// `gap`; where no row is clear it takes the row freed first and the text
// before it there is cut short. `lines` are the markers' x positions in
// ascending order, `widths` their texts' widths, in the same units.
std::vector<MarkerTextPlace> PlaceMarkerTexts(const std::vector<double>& lines, const std::vector<double>& widths,
                                              double plotLeft, double plotRight, double gap, int rows);

}  // namespace kov
