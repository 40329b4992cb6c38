#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "views/AxisTicks.h"
#include "views/ChartData.h"

namespace kov {
namespace {

TEST(AxisTicks, StepIsOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double range, step;
        int decimals;
    } cases[] = {{2682, 1000, 0}, {1341, 500, 0},     {100, 20, 0}, {9.5, 2, 0},
                 {0.5, 0.1, 1},   {0.0237, 0.005, 3}, {0, 1, 0},    {-5, 1, 0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(RoundTickStep(c.range), c.step) << c.range;
        EXPECT_EQ(TickDecimals(RoundTickStep(c.range)), c.decimals) << c.range;
    }
}

TEST(AxisTicks, TicksAreTheStepsMultiplesInsideTheRangeEndsIncluded) {
    const struct {
        double low, high;
        std::vector<std::string> texts;
    } cases[] = {
        {231.58, 2188.99, {"500", "1000", "1500", "2000"}},  // a top list's axis from its smallest bar
        {0, 100, {"0", "20", "40", "60", "80", "100"}},
        {71.07, 94.83, {"75", "80", "85", "90"}},
        {-0.3, 0.2, {"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2"}},
        {5, 5, {}},
    };
    for (const auto& c : cases) {
        const AxisTicks ticks = TicksBetween(c.low, c.high);
        std::vector<std::string> texts;
        for (double value : ticks.Values) texts.push_back(TickText(value, ticks.Decimals));
        EXPECT_EQ(texts, c.texts) << c.low << " to " << c.high;
    }
}

// The smallest bar keeps a length: the axis opens below it by a twentieth of
// the span, or down to 0 where 0 is nearer; bars of one value run from 0.
TEST(AxisTicks, BarAxisOpensBelowTheSmallestValue) {
    const struct {
        double smallest, largest, low, high;
    } cases[] = {
        {200, 900, 165, 900},  // the margin: 5 % of 700
        {71.07, 94.83, 69.882, 94.83},
        {2, 100, 0, 100},  // 0 is nearer than the margin of 4.9
        {0, 15, 0, 15},
        {12, 12, 0, 12},  // every value equal
        {-40, -40, -40, 0},
        {0, 0, 0, 0},
        {-100, 900, -150, 900},  // bars already grow from 0 both ways
    };
    for (const auto& c : cases) {
        const auto [low, high] = OpenedBarAxis(c.smallest, c.largest);
        EXPECT_NEAR(low, c.low, 1e-9) << c.smallest << " to " << c.largest;
        EXPECT_DOUBLE_EQ(high, c.high) << c.smallest << " to " << c.largest;
    }
}

// Only a bar chart's fixed bottom opens; a line keeps its range, an axis the
// analysis fixes only at the top starts at 0, and one value still gets a span.
TEST(AxisTicks, ValueAxisSpanOpensOnlyABarChartsFixedBottom) {
    const auto span = [](ChartKind kind, std::optional<AxisRange> axis, const std::vector<double>& values) {
        ChartData chart;
        chart.Kind = kind;
        chart.Axis = axis;
        for (double value : values) chart.Points.push_back({"", value});
        return ValueAxisSpan(chart);
    };
    using Span = std::pair<double, double>;
    EXPECT_EQ(span(ChartKind::Bar, AxisRange{12, 12}, {12, 12}), (Span{0, 12}));
    EXPECT_EQ(span(ChartKind::Bar, AxisRange{200, 900}, {200, 900}), (Span{165, 900}));
    EXPECT_EQ(span(ChartKind::Line, AxisRange{200, 900}, {200, 900}), (Span{200, 900}));
    EXPECT_EQ(span(ChartKind::Bar, AxisRange{0, 50, false}, {20, 40}), (Span{0, 50}));
    EXPECT_EQ(span(ChartKind::Bar, std::nullopt, {0, 0}), (Span{0, 1}));
}

// Labels one unit of x apart on a scale of `pixels` per unit, each text as
// wide as its characters: the densest set whose neighbours keep a gap of 2.
TEST(AxisTicks, FittingXLabelsTakesTheDensestSetThatStandsApart) {
    ChartData chart;
    chart.XLabelSets = {
        {{0, "aaaa"}, {1, "bb"}, {2, "cc"}, {3, "dd"}, {4, "ee"}},
        {{0, "aaaa"}, {2, "cccc"}, {4, "eeee"}},
        {{0, "aaaa"}, {4, "eeee"}},
    };
    const struct {
        double pixels;
        std::size_t set;
    } cases[] = {
        {10, 0},                                 // 3 + 2 = 5 needed between each pair
        {5, 0},                                  // exactly the room needed
        {4.9, 1},                                // (4 + 4) / 2 + 2 = 6 needed two units apart
        {3, 1},   {2.9, 2}, {1.5, 2}, {1.4, 2},  // nothing fits: the sparsest set
    };
    const auto width = [](const std::string& text) { return static_cast<double>(text.size()); };
    for (const auto& c : cases) {
        const auto place = [&](double x) { return x * c.pixels; };
        EXPECT_EQ(&FittingXLabels(chart, place, width, 2), &chart.XLabelSets[c.set]) << c.pixels;
    }
    EXPECT_TRUE(FittingXLabels(
                    ChartData{}, [](double x) { return x; }, width, 2)
                    .empty());
}

// A plot from 0 to 100, gap 2, two rows: texts right of their lines where
// they fit, else left; a second row before any text is cut.
TEST(AxisTicks, MarkerTextsTakeTheFirstClearRowAndCutOnlyWhenNoneIs) {
    struct Place {
        double Left;
        int Row;
        double Width;
        bool operator==(const Place&) const = default;
    };
    const struct {
        const char* what;
        std::vector<double> lines, widths;
        std::vector<Place> places;
    } cases[] = {
        {"apart", {10, 60}, {20, 20}, {{12, 0, 20}, {62, 0, 20}}},
        {"close", {10, 20}, {20, 20}, {{12, 0, 20}, {22, 1, 20}}},
        {"at the right end", {90}, {20}, {{68, 0, 20}}},
        {"no clear row", {10, 20, 30}, {20, 20, 20}, {{12, 0, 18}, {22, 1, 20}, {32, 0, 20}}},
    };
    for (const auto& c : cases) {
        std::vector<Place> places;
        for (const MarkerTextPlace& p : PlaceMarkerTexts(c.lines, c.widths, 0, 100, 2, 2))
            places.push_back({p.Left, p.Row, p.Width});
        EXPECT_EQ(places, c.places) << c.what;
    }
}

// A range of one value (a trend of one report, one simulated size) is drawn
// with its value in the middle; a real range is drawn as it is.
TEST(AxisTicks, ASingleValueIsDrawnInTheMiddleOfItsAxis) {
    const struct {
        double low, high, drawnLow, drawnHigh;
    } cases[] = {
        {0, 3, 0, 3}, {0, 0, -1, 1}, {2000, 2000, 1900, 2100}, {-40, -40, -42, -38}, {5, 4, 4, 6},
    };
    for (const auto& c : cases) {
        const auto [low, high] = DrawnSpan(c.low, c.high);
        EXPECT_EQ(low, c.drawnLow) << c.low << " to " << c.high;
        EXPECT_EQ(high, c.drawnHigh) << c.low << " to " << c.high;
    }
}

}  // namespace
}  // namespace kov
