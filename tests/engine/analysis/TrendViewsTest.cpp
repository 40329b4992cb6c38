#include <gtest/gtest.h>

#include "analysis/TrendViews.h"

namespace kov {
namespace {

constexpr std::size_t kHitRatio = 3;  // position of "Hit Ratio" among the pool-grid figures

ReportStamp Stamp(int hour) {
    const std::string hh = (hour < 10 ? "0" : "") + std::to_string(hour);
    return {"r" + hh + ".txt", "SYSA/DB2P", "2026-12-03", hh + ":00:00", 3600};
}

// A pool whose figures are all nothing except the one given.
PoolTrend Pool(std::string name, std::size_t figure, FigureSeries values) {
    PoolTrend pool;
    pool.Name = std::move(name);
    pool.Figures.assign(TrendFigureNames().size(), FigureSeries(values.size()));
    pool.Figures[figure] = std::move(values);
    return pool;
}

SystemTrend FourHours() {
    SystemTrend system;
    system.System = "SYSA/DB2P";
    for (int hour = 0; hour < 4; ++hour) system.Reports.push_back(Stamp(hour));
    PoolTrend bp1 = Pool("BP1", kHitRatio, {90.0, 92.5, std::nullopt, 95.0});
    bp1.Events = {{1, "VP size 40,000 -> 60,000"}, {1, "VPSEQT 80 -> 60"}, {3, "pool appears"}};
    bp1.Advice[0] = {{"Increase the pool", {0, 1, 3}}};
    bp1.Advice[1] = {{"Sequential advice", {2}}};
    bp1.SyncReadIORises = {{"TS1", "T", 0, 3, 1.5, 4.0, 2.5}};
    bp1.SyncReadIOFalls = {{"IX1", "I", 1, 2, 10.0, 2.0, -8.0}};
    PoolTrend bp2 = Pool("BP2", kHitRatio, {80.0, 80.0, 80.0, 80.0});
    bp2.Events = {{0, "HP size 0 -> 1,000"}};
    bp2.Advice[0] = {{"Another line", {2, 3}}};
    system.Pools = {std::move(bp1), std::move(bp2)};
    return system;
}

// The first `reports` of FourHours' reports.
SystemTrend FirstHours(std::size_t reports) {
    SystemTrend system = FourHours();
    system.Reports.resize(reports);
    return system;
}

// Hourly reports from 2026-11-01 07:00 (a Sunday) on.
SystemTrend HourlyFromSundayMorning(int reports) {
    SystemTrend system;
    for (int i = 0; i < reports; ++i) {
        const int hour = (7 + i) % 24, day = 1 + (7 + i) / 24;
        const auto twoDigits = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
        system.Reports.push_back({"r.txt", "SYSA/DB2P", "2026-11-" + twoDigits(day), twoDigits(hour) + ":00:00", 3600});
    }
    return system;
}

std::vector<std::string> Texts(const std::vector<XMark>& labels) {
    std::vector<std::string> texts;
    texts.reserve(labels.size());
    for (const XMark& label : labels) texts.push_back(label.Text);
    return texts;
}

std::vector<double> Xs(const std::vector<ChartPoint>& run) {
    std::vector<double> xs;
    xs.reserve(run.size());
    for (const ChartPoint& point : run) xs.push_back(*point.X);
    return xs;
}

TEST(TrendViews, ChartLineBreaksWhereThePoolIsAbsent) {
    const ChartData chart = TrendFigureChart(FourHours(), kHitRatio, {"BP1"});
    EXPECT_EQ(chart.Kind, ChartKind::Line);
    EXPECT_EQ(chart.Title, "Hit Ratio Over Time");
    EXPECT_EQ(chart.ValueUnit, "%");
    ASSERT_EQ(chart.Series.size(), 1u);
    ASSERT_EQ(chart.Series[0].Runs.size(), 2u);
    EXPECT_EQ(Xs(chart.Series[0].Runs[0]), (std::vector<double>{0, 1}));
    EXPECT_EQ(Xs(chart.Series[0].Runs[1]), (std::vector<double>{3}));
    const ChartPoint& second = chart.Series[0].Runs[0][1];
    EXPECT_EQ(second.Value, 92.5);
    EXPECT_EQ(second.ValueText, "92.50");
    EXPECT_EQ(second.Label, "2026-12-03 01:00:00  r01.txt");
    EXPECT_EQ(chart.Series[0].Runs[1][0].ValueText, "95");
    // The events of one report share one marker (the next test counts them).
    EXPECT_EQ(chart.Markers.at(0).Text, "BP1 VP size 40,000 -> 60,000; BP1 VPSEQT 80 -> 60");
}

TEST(TrendViews, ChartTakesTheChosenPoolsInTheirOrder) {
    struct Case {
        std::vector<std::string> Chosen;
        std::vector<std::string> Lines;
        std::vector<double> MarkerXs;
    };
    const Case cases[] = {
        {{"BP1"}, {"BP1"}, {1, 3}},
        {{"BP2", "BP1"}, {"BP2", "BP1"}, {0, 1, 3}},
        {{"BP9", "BP2"}, {"BP2"}, {0}},  // a pool the system lacks is left out
        {{}, {}, {}},
    };
    for (const Case& c : cases) {
        const ChartData chart = TrendFigureChart(FourHours(), kHitRatio, c.Chosen);
        std::vector<std::string> lines;
        for (const ChartSeries& line : chart.Series) lines.push_back(line.Name);
        std::vector<double> xs;
        for (const XMark& marker : chart.Markers) xs.push_back(marker.X);
        EXPECT_EQ(lines, c.Lines) << c.Chosen.size();
        EXPECT_EQ(xs, c.MarkerXs) << c.Chosen.size();
    }
}

TEST(TrendViews, PastEightPoolsTheChartSaysHoveringNamesALine) {
    for (const std::size_t pools : {1u, 8u, 9u, 60u}) {
        SystemTrend system = FourHours();
        std::vector<std::string> chosen;
        for (std::size_t p = 0; p < pools; ++p) {
            system.Pools.push_back(Pool("P" + std::to_string(p), kHitRatio, {1.0, 2.0, 3.0, 4.0}));
            chosen.push_back("P" + std::to_string(p));
        }
        const ChartData chart = TrendFigureChart(system, kHitRatio, chosen);
        EXPECT_EQ(chart.Series.size(), pools);
        EXPECT_EQ(chart.Note.find("hover") != std::string::npos, pools > 8) << pools;
    }
}

TEST(TrendViews, ValueAxisHoldsEveryLineAndStaysOffZeroForRatios) {
    const ChartData chart = TrendFigureChart(FourHours(), kHitRatio, {"BP1", "BP2"});
    ASSERT_TRUE(chart.Axis);
    EXPECT_LT(chart.Axis->Min, 80.0);
    EXPECT_GT(chart.Axis->Min, 50.0);  // a line of hit ratios near 90 % is not flattened against 0
    EXPECT_GT(chart.Axis->Max, 95.0);
    ASSERT_TRUE(chart.XAxis);
    EXPECT_EQ(chart.XAxis->Max, 3.0);
    // A figure the pools never had gives no axis to fix.
    EXPECT_FALSE(TrendFigureChart(FourHours(), 0, {"BP1"}).Axis);
    // A figure beyond the list gives an empty chart, never a failure.
    EXPECT_TRUE(TrendFigureChart(FourHours(), 14, {"BP1"}).Series.empty());
}

// A trend of one report says "1 report" and its x axis is that report alone
// (the charts widen it, so its point stands in the middle of the plot).
TEST(TrendViews, ChartSubtitleCountsTheReportsAndTheTimeAxisSpansThem) {
    struct Case {
        std::size_t Reports;
        std::string Subtitle;
        double XLow, XHigh;
    };
    const Case cases[] = {
        {4, "SYSA/DB2P, 4 reports from 2026-12-03 00:00:00 to 2026-12-03 03:00:00", 0, 3},
        {2, "SYSA/DB2P, 2 reports from 2026-12-03 00:00:00 to 2026-12-03 01:00:00", 0, 1},
        {1, "SYSA/DB2P, 1 report at 2026-12-03 00:00:00", 0, 0},
    };
    for (const Case& c : cases) {
        const ChartData chart = TrendFigureChart(FirstHours(c.Reports), kHitRatio, {"BP1"});
        EXPECT_EQ(chart.Subtitle, c.Subtitle);
        ASSERT_TRUE(chart.XAxis);
        EXPECT_EQ(chart.XAxis->Min, c.XLow) << c.Reports;
        EXPECT_EQ(chart.XAxis->Max, c.XHigh) << c.Reports;
    }
}

// A hit ratio that held still all week must not lie on the plot's frame,
// with or without event texts above it; a figure of 0 keeps its axis at 0.
TEST(TrendViews, AFigureThatHeldStillStandsInsideItsAxis) {
    for (const double value : {94.41, 5000.0, 0.0})
        for (const bool withEvent : {false, true}) {
            SCOPED_TRACE(std::to_string(value) + (withEvent ? " with an event" : ""));
            SystemTrend system = FourHours();
            system.Pools.push_back(Pool("FLAT", kHitRatio, {value, value, value, value}));
            if (withEvent) system.Pools.back().Events = {{2, "VP size 40,000 -> 60,000"}};
            const std::optional<AxisRange> axis = TrendFigureChart(system, kHitRatio, {"FLAT"}).Axis;
            ASSERT_TRUE(axis);
            const double height = (value - axis->Min) / (axis->Max - axis->Min);
            if (value == 0) {
                EXPECT_EQ(axis->Min, 0.0);
                EXPECT_GT(axis->Max, 0.0);
            } else {
                EXPECT_GT(height, 0.25);
                EXPECT_LT(height, 0.75);
            }
        }
}

TEST(TrendViews, TimeLabelsSpreadEvenlyWithBothEnds) {
    struct Case {
        std::size_t Reports;
        std::size_t Most;
        std::vector<double> Xs;
    };
    const Case cases[] = {
        {0, 8, {}}, {1, 8, {0}}, {3, 8, {0, 1, 2}}, {10, 2, {0, 9}}, {10, 4, {0, 3, 6, 9}}, {10, 1, {0}},
    };
    for (const Case& c : cases) {
        std::vector<double> xs;
        for (const XMark& label : TrendTimeLabels(HourlyFromSundayMorning(static_cast<int>(c.Reports)), c.Most))
            xs.push_back(label.X);
        EXPECT_EQ(xs, c.Xs) << c.Reports << " reports, " << c.Most;
    }
    const std::vector<XMark> labels = TrendTimeLabels(HourlyFromSundayMorning(24 * 29), 8);
    ASSERT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels.back().X, 695.0);
    for (std::size_t i = 1; i < labels.size(); ++i) EXPECT_NEAR(labels[i].X - labels[i - 1].X, 695.0 / 7, 1.0);
}

// Each label says what differs from the one before it, so a month of
// hourly reports is labelled "12-03 10:00", not the year again and again.
TEST(TrendViews, TimeLabelsDropWhatRepeatsTheLabelBefore) {
    const std::vector<std::pair<std::string, std::string>> stamps = {
        {"2026-12-31", "22:00:00"}, {"2026-12-31", "23:00:00"}, {"2027-01-01", "00:00:00"},
        {"2027-01-01", "01:00:30"}, {"2027-02-01", "01:00:00"}, {"30-NOV-26", "01:00:00"},
    };
    SystemTrend system;
    for (const auto& [date, time] : stamps) system.Reports.push_back({"r.txt", "SYSA/DB2P", date, time, 3600});
    const std::vector<std::string> expected = {
        "2026-12-31 22:00", "23:00", "2027-01-01 00:00", "01:00:30", "02-01 01:00", "30-NOV-26 01:00",
    };
    EXPECT_EQ(Texts(TrendTimeLabels(system, stamps.size())), expected);
}

// Labels fall on round times, never on whatever hour the series began.
TEST(TrendViews, TimeLabelSetsFallOnRoundTimesAndGetSparser) {
    const SystemTrend month = HourlyFromSundayMorning(24 * 29);
    const std::vector<std::vector<XMark>> sets = TrendTimeLabelSets(month);
    ASSERT_GE(sets.size(), 5u);
    for (std::size_t k = 1; k < sets.size(); ++k) EXPECT_LT(sets[k].size(), sets[k - 1].size()) << k;
    // The set whose labels stand `reports` apart, its first three texts.
    const auto spacedBy = [](const std::vector<std::vector<XMark>>& of, double reports) {
        for (const auto& set : of)
            if (set.size() > 3 && set[1].X - set[0].X == reports) {
                const std::vector<std::string> texts = Texts(set);
                return std::vector<std::string>(texts.begin(), texts.begin() + 3);
            }
        return std::vector<std::string>{};
    };
    EXPECT_EQ(spacedBy(sets, 6), (std::vector<std::string>{"2026-11-01 12:00", "18:00", "11-02 00:00"}));
    EXPECT_EQ(spacedBy(sets, 24), (std::vector<std::string>{"2026-11-02 00:00", "11-03 00:00", "11-04 00:00"}));
    EXPECT_EQ(spacedBy(sets, 24 * 7), (std::vector<std::string>{"2026-11-02 00:00", "11-09 00:00", "11-16 00:00"}))
        << "weeks start on Mondays";
    EXPECT_EQ(sets.back().size(), 1u);

    // The other date forms the tools write fall on the same round times.
    const struct {
        const char* date;
        std::vector<std::string> sixHourly;
    } forms[] = {{"DD-NOV-26", {"01-NOV-26 12:00", "18:00", "02-NOV-26 00:00"}},
                 {"11/DD/2026", {"11/01/2026 12:00", "18:00", "11/02/2026 00:00"}}};
    for (const auto& form : forms) {
        SystemTrend other = month;
        for (ReportStamp& stamp : other.Reports)
            stamp.Date = std::string(form.date).replace(std::string(form.date).find("DD"), 2, stamp.Date.substr(8));
        const std::vector<std::vector<XMark>> otherSets = TrendTimeLabelSets(other);
        ASSERT_EQ(otherSets.size(), sets.size()) << form.date;
        for (std::size_t k = 0; k < sets.size(); ++k)
            for (std::size_t i = 0; i < sets[k].size() && i < otherSets[k].size(); ++i)
                EXPECT_EQ(otherSets[k][i].X, sets[k][i].X) << form.date << " set " << k;
        EXPECT_EQ(spacedBy(otherSets, 6), form.sixHourly) << form.date;
    }

    // Stamps that are not calendar dates: evenly spread, down to the first.
    SystemTrend undated = HourlyFromSundayMorning(48);
    for (ReportStamp& stamp : undated.Reports) stamp.Date = "day 1";
    const std::vector<std::vector<XMark>> spread = TrendTimeLabelSets(undated);
    ASSERT_FALSE(spread.empty());
    EXPECT_EQ(spread.front().size(), 24u);
    EXPECT_EQ(spread.back(), (std::vector<XMark>{{0, "day 1 07:00"}}));
    EXPECT_TRUE(TrendTimeLabelSets(SystemTrend{}).empty());
    EXPECT_EQ(TrendFigureChart(month, kHitRatio, {}).XLabelSets, sets);
}

TEST(TrendViews, AdviceTimelineGivesEachLinesSpan) {
    const StringTable grid = TrendAdviceGrid(FourHours(), {"BP1"});
    const std::vector<std::vector<std::string>> expected = {
        {"BP1", "Random", "Increase the pool", "2026-12-03 00:00:00", "2026-12-03 03:00:00", "3"},
        {"BP1", "Sequential", "Sequential advice", "2026-12-03 02:00:00", "2026-12-03 02:00:00", "1"},
    };
    EXPECT_EQ(grid.Rows, expected);
    EXPECT_EQ(grid.Headings.size(), expected[0].size());
    EXPECT_EQ(TrendAdviceGrid(FourHours(), {"BP1", "BP2"}).Rows.size(), 3u);
}

TEST(TrendViews, EventsOfSeveralPoolsInTimeOrder) {
    const StringTable grid = TrendEventsGrid(FourHours(), {"BP1", "BP2"});
    std::vector<std::string> order;
    for (const auto& row : grid.Rows) order.push_back(row[0] + " " + row[2]);
    EXPECT_EQ(order, (std::vector<std::string>{"1 BP2", "2 BP1", "2 BP1", "4 BP1"}));
    EXPECT_EQ(grid.Rows[1][1], "2026-12-03 01:00:00");
    EXPECT_EQ(grid.Rows[1][3], "VP size 40,000 -> 60,000");
}

TEST(TrendViews, DriftGridsTakeRisesOrFalls) {
    struct Case {
        Drift Which;
        std::vector<std::string> Row;
    };
    const Case cases[] = {
        {Drift::Rises, {"BP1", "T", "TS1", "2026-12-03 00:00:00", "2026-12-03 03:00:00", "1.50", "4", "2.50"}},
        {Drift::Falls, {"BP1", "I", "IX1", "2026-12-03 01:00:00", "2026-12-03 02:00:00", "10", "2", "-8"}},
    };
    for (const Case& c : cases) {
        const StringTable grid = TrendDriftGrid(FourHours(), {"BP1", "BP2"}, c.Which);
        ASSERT_EQ(grid.Rows.size(), 1u);
        EXPECT_EQ(grid.Rows[0], c.Row);
        EXPECT_EQ(grid.Headings.size(), c.Row.size());
    }
}

TEST(TrendViews, SummaryNamesSystemSpanAndLeftOut) {
    struct Case {
        std::size_t Reports;
        std::size_t LeftOut;
        bool WithSystem;
        std::string Text;
    };
    const Case cases[] = {
        {4, 0, true, "SYSA/DB2P: 4 reports from 2026-12-03 00:00:00 to 2026-12-03 03:00:00."},
        {4, 1, true, "SYSA/DB2P: 4 reports from 2026-12-03 00:00:00 to 2026-12-03 03:00:00. 1 file left out."},
        {1, 0, true, "SYSA/DB2P: 1 report at 2026-12-03 00:00:00."},
        {4, 2, false, "2 files left out."},
    };
    for (const Case& c : cases) {
        TrendResult result{{FirstHours(c.Reports)}, {}};
        result.LeftOut.assign(c.LeftOut, LeftOutReport{"bad.txt", {"no header"}});
        EXPECT_EQ(TrendSummary(result, c.WithSystem ? &result.Systems[0] : nullptr), c.Text);
    }
    EXPECT_EQ(TrendSummary(TrendResult{}, nullptr), "No report was read to its end.");
}

// A reader's field error comes as one line of tab-separated parts; read
// whole, each part takes a line of its own.
TEST(TrendViews, LeftOutDetailPutsEachPartOnALine) {
    const struct {
        std::string_view message;
        std::string_view detail;
    } cases[] = {
        {"Read Stat Object Information: Error information :\tError Description : \"'12x4' is not a number\"\t"
         "Data Line         : \"104\"\t",
         "Read Stat Object Information: Error information :\nError Description : \"'12x4' is not a number\"\n"
         "Data Line         : \"104\""},
        {"The report could not be read: no such file", "The report could not be read: no such file"},
        {"\tfirst\t\t  \tsecond  ", "first\nsecond"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LeftOutDetail(c.message), c.detail) << c.message;
}

}  // namespace
}  // namespace kov
