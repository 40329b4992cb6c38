#include "views/AxisTicks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <tuple>

namespace kov {

double RoundTickStep(double range) {
    if (!(range > 0) || !std::isfinite(range)) return 1;
    const double rough = range / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0})
        if (rough <= factor * power) return factor * power;
    return 10 * power;
}

int TickDecimals(double step) {
    return step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

AxisTicks TicksBetween(double low, double high) {
    AxisTicks ticks;
    ticks.Step = RoundTickStep(high - low);
    ticks.Decimals = TickDecimals(ticks.Step);
    if (!(high > low) || !std::isfinite(low) || !std::isfinite(high)) return ticks;
    // A tick counts when it lies inside the range give or take a rounding hair,
    // so an axis ending on a round number shows its end tick.
    const double hair = ticks.Step * 1e-9;
    for (double n = std::ceil((low - hair) / ticks.Step); n * ticks.Step <= high + hair; ++n)
        ticks.Values.push_back(n * ticks.Step);
    return ticks;
}

std::pair<double, double> OpenedBarAxis(double smallest, double largest) {
    if (!(largest > smallest)) return {std::min(0.0, smallest), std::max(0.0, largest)};
    const double opened = smallest - (largest - smallest) * BarAxisOpening;
    return {smallest >= 0 && opened < 0 ? 0 : opened, largest};
}

std::pair<double, double> ValueAxisSpan(const ChartData& chart) {
    double low = 0;
    double high = 0;
    for (const ChartPoint& point : chart.Points) {
        low = std::min(low, point.Value);
        high = std::max(high, point.Value);
    }
    if (chart.Axis) {
        if (chart.Axis->MinFixed) low = chart.Axis->Min;
        high = chart.Axis->Max;
        if (chart.Axis->MinFixed && chart.Kind == ChartKind::Bar) std::tie(low, high) = OpenedBarAxis(low, high);
    }
    if (high <= low) high = low + std::max(1.0, std::abs(low) * 0.05);
    return {low, high};
}

std::string AxisUnit(std::string_view unit, bool thousands) {
    if (!thousands) return std::string(unit);
    return unit.empty() ? std::string("* 1K") : std::string(unit) + " * 1K";
}

std::string TickText(double value, int decimals) {
    if (value == 0) value = 0;  // no "-0"
    char text[64];
    // to_chars, not printf: the window's locale must not turn "." into ",".
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return std::string(text, end);
}

namespace {

bool StandApart(const std::vector<XMark>& labels, const std::function<double(double)>& place,
                const std::function<double(const std::string&)>& width, double gap) {
    for (std::size_t i = 1; i < labels.size(); ++i) {
        const double room = (width(labels[i - 1].Text) + width(labels[i].Text)) / 2 + gap;
        if (place(labels[i].X) - place(labels[i - 1].X) < room) return false;
    }
    return true;
}

}  // namespace

const std::vector<XMark>& FittingXLabels(const ChartData& chart, const std::function<double(double)>& place,
                                         const std::function<double(const std::string&)>& width, double gap) {
    static const std::vector<XMark> none;
    if (chart.XLabelSets.empty()) return none;
    for (const std::vector<XMark>& labels : chart.XLabelSets)
        if (StandApart(labels, place, width, gap)) return labels;
    return chart.XLabelSets.back();
}

std::vector<MarkerTextPlace> PlaceMarkerTexts(const std::vector<double>& lines, const std::vector<double>& widths,
                                              double plotLeft, double plotRight, double gap, int rows) {
    std::vector<MarkerTextPlace> places;
    // The index in places of the text standing last in each row; none yet.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> lastInRow(static_cast<std::size_t>(std::max(rows, 1)), kNone);
    const auto rowEnd = [&](std::size_t row) {
        const std::size_t last = lastInRow[row];
        return last == kNone ? plotLeft - gap : places[last].Left + places[last].Width;
    };
    for (std::size_t k = 0; k < lines.size() && k < widths.size(); ++k) {
        const double width = widths[k];
        const double right = lines[k] + gap;
        const double left = right + width <= plotRight ? right : std::max(plotLeft, lines[k] - gap - width);
        // The first clear row, else the one freed first.
        std::size_t row = 0;
        while (row < lastInRow.size() && rowEnd(row) + gap > left) ++row;
        const bool clear = row < lastInRow.size();
        if (!clear) {
            row = 0;
            for (std::size_t r = 1; r < lastInRow.size(); ++r)
                if (rowEnd(r) < rowEnd(row)) row = r;
            MarkerTextPlace& before = places[lastInRow[row]];
            before.Width = std::max(0.0, std::min(before.Width, left - gap - before.Left));
        }
        lastInRow[row] = places.size();
        places.push_back({left, static_cast<int>(row), width});
    }
    return places;
}

}  // namespace kov
