#pragma once
// Chart view data: what a chart plots and the labels beside it, computed by
// the engine. The chart widget, the printed page and the batch report draw
// from this and never compute a figure themselves.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Message.h"
#include "views/ViewData.h"

namespace kov {

enum class ChartKind { Pie, Bar, Line };

// One plotted point. For a pie the label is the slice's legend text.
struct ChartPoint {
    std::string Label;
    double Value = 0;
    int Object = 0;  // index in Objects carried by the hidden series; 0 = none
    // The value as its figure is written (grouping, the figure's decimals),
    // for the value label beside a bar or point; empty for pie slices.
    std::string ValueText;
    std::optional<double> X;  // the explicit x value of a line chart's point

    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

// One line of a chart of several lines (a pool's figure over the reports).
// It breaks where it has no value: each run is drawn as one stretch.
struct ChartSeries {
    std::string Name;
    std::vector<std::vector<ChartPoint>> Runs;

    friend bool operator==(const ChartSeries&, const ChartSeries&) = default;
};

// A place on a line chart's x axis and its text: a label under the axis (a
// date), or a marker line across the plot (a pool's settings changed there).
struct XMark {
    double X = 0;
    std::string Text;

    friend bool operator==(const XMark&, const XMark&) = default;
};

// A value axis whose range the analysis fixes. Some charts fix only the
// top; their axis starts wherever the chart component puts it.
struct AxisRange {
    double Min = 0;
    double Max = 0;
    bool MinFixed = true;

    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// The stretch of an axis a chart draws for the values from low to high: a
// single value (a trend of one report, one simulated size) is widened evenly
// on both sides, so its point stands in the middle of the plot, not on an edge.
inline std::pair<double, double> DrawnSpan(double low, double high) {
    if (high > low) return {low, high};
    const double half = std::max(1.0, std::abs(low) * 0.05);
    return {low - half, low + half};
}

struct ChartData {
    ChartKind Kind = ChartKind::Bar;
    std::string Title;
    std::string Subtitle;
    // The caption/value pairs beside the chart, in label order. A pair whose
    // index is in HiddenSideLabels is not shown (its texts are then empty).
    std::vector<LabelPair> SideLabels;
    std::vector<std::size_t> HiddenSideLabels;
    std::vector<ChartPoint> Points;  // in plotted order
    // A line chart of several lines draws these (with a legend) instead of Points.
    std::vector<ChartSeries> Series;
    // Texts under the x axis in place of its numbers, in sets from the
    // densest to the sparsest: a chart draws the densest set whose texts
    // stand apart at its width (FittingXLabels).
    std::vector<std::vector<XMark>> XLabelSets;
    std::vector<XMark> Markers;  // vertical lines across the plot, each with its text
    std::optional<AxisRange> Axis;
    std::optional<AxisRange> XAxis;  // fixed x range of a chart with explicit x values
    // The axes' titles: the figure's unit ("ms", "%", "pages"), with " * 1K"
    // where the values are in thousands; empty where the figure has no unit.
    std::string ValueUnit;
    std::string XUnit;
    // What the chart cannot draw, said in the chart (a pie of negative counters).
    std::string Note;
    // A hidden series carries each point's object index (0 for a blank bar),
    // so a click on a point can name its object.
    bool HasObjectSeries = false;
    bool Hidden = false;            // the page hides the chart; Points is then empty
    std::vector<Message> Messages;  // raised while the chart was computed, in order

    bool IsSideLabelHidden(std::size_t pair) const {
        return std::find(HiddenSideLabels.begin(), HiddenSideLabels.end(), pair) != HiddenSideLabels.end();
    }
};

}  // namespace kov
