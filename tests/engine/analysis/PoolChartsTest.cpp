#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/PoolCharts.h"
#include "common/Formats.h"
#include "support/ChartPoints.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

using test::PointLabels;
using test::PointObjects;
using test::PointValues;
using test::Ranked;

using Setter = void (*)(ObjectRecord&, double);

// Sets one whole-number counter of an object to the key.
template <std::int32_t ActivityBlock::*Counter>
void Set(ObjectRecord& o, double v) {
    o.Activity.*Counter = static_cast<std::int32_t>(v);
}
constexpr Setter getPages = Set<&ActivityBlock::GetPages>, pagesRead = Set<&ActivityBlock::PagesRead>;

const Message PagesReadZero{"", "Number Of Pages Read Is ZERO. Can not Graph", MessageIcon::None};

// Pool BP0 with objects O1..On; types[k] is object k+1's type, "T" beyond.
// A second pool BP1 with one big object follows, so a ranking that strays
// outside its pool shows up.
ReportModel PoolWith(int count, std::string types = "") {
    ReportModel model;
    model.SysInfo.ElapsedTime = "00:00:10";
    test::AddPool(model, "BP0");
    for (int k = 1; k <= count; ++k)
        test::AddObject(model, "O" + std::to_string(k),
                        k <= static_cast<int>(types.size()) ? types.substr(k - 1, 1) : "T");
    test::AddPool(model, "BP1");
    test::AddObject(model, "ELSEWHERE", "I").Activity.GetPages = 1;
    return model;
}

ReportModel PoolWithKeys(const std::vector<double>& keys, Setter set, std::string types = "") {
    ReportModel model = PoolWith(static_cast<int>(keys.size()), std::move(types));
    for (std::size_t k = 0; k < keys.size(); ++k) set(model.Objects(static_cast<int>(k) + 1), keys[k]);
    return model;
}

TEST(PoolChartFormats, PercentHasOneDecimalAndNoGrouping) {
    const struct {
        double fraction;
        const char* text;
    } cases[] = {{1.0 / 3, "33.3%"}, {12.345, "1234.5%"}, {-0.25, "-25.0%"}};
    for (const auto& c : cases) EXPECT_EQ(Percent(c.fraction), c.text) << c.fraction;
}

TEST(PoolChartTypes, NoChartWithoutAPoolOrAGraphType) {
    const ReportModel model = PoolWith(2);
    for (const auto& [pool, position] : {std::pair{1, 0}, {1, 25}, {0, 1}, {3, 7}}) {
        const ChartData chart = PoolChart(model, pool, position);
        EXPECT_TRUE(chart.Title.empty() && chart.Points.empty() && chart.Messages.empty()) << pool << "/" << position;
    }
}

TEST(PoolChartPies, ObjectTypesSumTheirObjectsAndLeaveEmptyGroupsUnnamed) {
    ReportModel model = PoolWith(4, "IIDI");
    for (int o = 1; o <= 4; ++o) {
        ActivityBlock& a = model.Objects(o).Activity;
        a.GetPagesByAccess = {0, 100, 200, 300};
        a.PagesReadByType = {0, 1, 2, 3, 4};
        a.ReadIOsByType = {0, 0, 0, 0, o == 3 ? 0 : 5};
    }
    const struct {
        int position;
        std::vector<std::string> legends;
        std::vector<std::string> values;
        const char* subtitle;
    } cases[] = {
        {4,
         {"Index (75.0%)", "(0.0%)", "Unknown (25.0%)"},
         {"1800", "0", "600", "2,400"},
         "Pool Activity by Object Type Get-Pages"},
        {6, {"Index (100.0%)", "(0.0%)", "(0.0%)"}, {"15", "0", "0", "15"}, "Pool Activity by Object Type Start-IO's"},
    };
    for (const auto& c : cases) {
        const ChartData chart = PoolChart(model, 1, c.position);
        EXPECT_EQ(PointLabels(chart), c.legends) << c.position;
        std::vector<std::string> values;
        for (std::size_t i = 0; i < 4; ++i) values.push_back(chart.SideLabels[i].Value);
        EXPECT_EQ(values, c.values) << c.position;
        EXPECT_EQ(chart.SideLabels[2].Caption, "Unknown");
        EXPECT_TRUE(chart.IsSideLabelHidden(4));
        EXPECT_EQ(chart.Subtitle, c.subtitle);
    }
}

// A damaged report's negative counters cannot be shares: each slice is
// written with its counter as it is, and the chart says why; a sound pie
// carries no such text.
TEST(PoolChartPies, NegativeCountersAreWrittenAsTheyAreWithANote) {
    ReportModel model = PoolWith(1);
    ActivityBlock& activity = model.Pools(1).Activity;
    activity.PagesReadByType = {0, -7175, 0, 1196, 30000};
    const ChartData damaged = PoolChart(model, 1, 2);
    EXPECT_EQ(test::PointsOf(damaged, &ChartPoint::ValueText),
              (std::vector<std::string>{"-7175", "0", "1196", "30000"}));
    EXPECT_EQ(damaged.Note, "Negative counters cannot be drawn as a share.");
    activity.PagesReadByType[1] = 7175;
    const ChartData sound = PoolChart(model, 1, 2);
    EXPECT_TRUE(sound.Note.empty());
    EXPECT_TRUE(sound.Points[0].ValueText.empty());
}

TEST(PoolChartPies, ZeroTotalsHideTheChartAfterTheirMessages) {
    ReportModel model = PoolWith(2, "IT");
    model.Pools(1).Activity.GetPages = 50;  // nothing by access kind, read or per object
    const Message pagesStep{"", "Number Of Pages Read Is ZERO. Can not Graph ...", MessageIcon::None};
    const Message iosStep{"", "Number Of Start IOs Is ZERO. Can not Graph ...", MessageIcon::None};
    const struct {
        int position;
        std::vector<Message> messages;
    } cases[] = {
        {1, {PagesReadZero}}, {2, {pagesStep, PagesReadZero}}, {3, {iosStep, PagesReadZero}}, {4, {PagesReadZero}}};
    for (const auto& c : cases) {
        const ChartData chart = PoolChart(model, 1, c.position);
        EXPECT_EQ(chart.Messages, c.messages) << c.position;
        EXPECT_TRUE(chart.Hidden) << c.position;
        EXPECT_TRUE(chart.Points.empty()) << c.position;
        EXPECT_EQ(chart.Subtitle, "") << c.position;
        EXPECT_EQ(chart.Title, "Buffer Pool - BP0     ");
        EXPECT_EQ(chart.SideLabels[c.position == 2 || c.position == 3 ? 4 : 3].Value, "0")
            << "the side labels stay filled";
    }
}

TEST(PoolChartTopLists, EachListRanksItsOwnFigure) {
    const auto sync = [](ObjectRecord& o, double v) { o.Activity.ReadIOsByType[1] = static_cast<std::int32_t>(v); };
    const Setter rate = Set<&ActivityBlock::WriteIOs>;
    const auto sequential = [](ObjectRecord& o, double v) {
        o.Activity.GetPages = 1000;
        o.Activity.GetPagesByAccess[1] = static_cast<std::int32_t>(v);
    };
    const auto appHit = [](ObjectRecord& o, double v) { o.Activity.AppHitRatio = v; };
    const auto sysHit = [](ObjectRecord& o, double v) { o.Activity.SysHitRatio = v; };
    const struct {
        int position;
        Setter set;
        std::vector<double> keys;
        const char* types;
        std::vector<std::string> names;
        std::vector<double> values;
    } cases[] = {
        // Largest first; equal keys go to the later object; zero keys do not count.
        {7, getPages, {500, 800, 500}, "", {"O2", "O3", "O1"}, {800, 500, 500}},
        {7, getPages, {0, 0, 0}, "", {"O3", "O2", "O1"}, {0, 0, 0}},
        {8, sequential, {0, 30, 20}, "", {"O2", "O3"}, {30, 20}},
        {9, sync, {3, 7, 0}, "", {"O2", "O1"}, {7, 3}},
        {13, rate, {30, 70, 0}, "", {"O2", "O1"}, {7, 3}},
        {20, Set<&ActivityBlock::AvgSyncIOTime>, {3, 7, 7}, "", {"O3", "O2", "O1"}, {7, 7, 3}},
        {10, rate, {5}, "", {"O1", ""}, {5, 0}},
        {10, rate, {0, 0}, "", {"", ""}, {0, 0}},
        // Indexes only; table spaces neither count nor rank.
        {12, pagesRead, {900, 100, 200}, "TII", {"O3", "O2"}, {200, 100}},
        {19, sequential, {100, 99, 0, 500}, "IIIT", {"O1", ""}, {100, 0}},
        {19, sequential, {100, 0, 400}, "III", {"O3", "O1"}, {400, 100}},
        // Smallest first; equal keys go to the earlier object; 0 never listed.
        {15, appHit, {90, 0, 80, 80}, "", {"O3", "O4", "O1"}, {80, 80, 90}},
        // Every object counts, and a zero or negative ratio comes first.
        {16, sysHit, {90, 0, 80, -5}, "", {"O4", "O2", "O3", "O1"}, {-5, 0, 80, 90}},
        // Indexes below 95 % only; exactly 95 % is not below it.
        {18, sysHit, {96, 50, 95, 0, 80, 80, 10}, "IIIIIIT", {"O2", "O5", "O6"}, {0.5f, 0.8f, 0.8f}},
        {18, sysHit, {99}, "I", {"", ""}, {0, 0}},
    };
    for (const auto& c : cases) {
        const ChartData chart = PoolChart(PoolWithKeys(c.keys, c.set, c.types), 1, c.position);
        const std::string where = PoolGraphTypes()[static_cast<std::size_t>(c.position - 1)] + " " +
                                  std::to_string(c.keys.size()) + " objects";
        EXPECT_EQ(chart.Kind, ChartKind::Bar) << where;
        EXPECT_EQ(Ranked(PointLabels(chart)), c.names) << where;
        EXPECT_EQ(Ranked(PointValues(chart)), c.values) << where;
        for (const ChartPoint& point : chart.Points)
            EXPECT_EQ(point.Object, point.Label.empty() ? 0 : std::stoi(point.Label.substr(1))) << where;
    }
}

// Pages written per write I/O: a ratio below one counts as one, no write
// I/Os as the pages written; the lowest list shows each ratio once.
TEST(PoolChartTopLists, PagesPerWriteListsCountBelowOneAsOneAndShowEachLowestRatioOnce) {
    const struct {
        int position;
        std::vector<std::pair<int, int>> writtenAndWrites;
        std::vector<std::string> names;
        std::vector<double> values;
        std::vector<int> objects;
    } cases[] = {
        {11, {{10, 0}, {0, 5}, {6, 4}}, {"O1", "O3", "O2"}, {10, 1.5, 0.2f}, {1, 3, 2}},
        // Three at 2.0, one at 3.0, one at exactly 1.0 (never listed).
        {17, {{4, 2}, {6, 3}, {2, 1}, {9, 3}, {5, 5}}, {"Duplicate Values", "O4"}, {2, 3}, {1, 4}},
        // Out of order: the exchange sort decides which object the shared bar points to.
        {17, {{9, 3}, {4, 2}, {2, 1}}, {"Duplicate Values", "O1"}, {2, 3}, {2, 1}},
        // Objects without writes have ratio 0 and sort first, though they do not count.
        {17, {{0, 0}, {4, 2}}, {"O1", ""}, {0, 0}, {1, 0}},
    };
    for (const auto& c : cases) {
        ReportModel model = PoolWith(static_cast<int>(c.writtenAndWrites.size()));
        for (std::size_t k = 0; k < c.writtenAndWrites.size(); ++k) {
            model.Objects(static_cast<int>(k) + 1).Activity.PagesWritten = c.writtenAndWrites[k].first;
            model.Objects(static_cast<int>(k) + 1).Activity.WriteIOs = c.writtenAndWrites[k].second;
        }
        const ChartData chart = PoolChart(model, 1, c.position);
        const std::string where = std::to_string(c.position) + "/" + std::to_string(c.writtenAndWrites.size());
        EXPECT_EQ(chart.Subtitle, c.position == 11 ? "Highest Pages/Write" : "Lowest Pages/Write") << where;
        EXPECT_EQ(Ranked(PointLabels(chart)), c.names) << where;
        EXPECT_EQ(Ranked(PointValues(chart)), c.values) << where;
        EXPECT_EQ(Ranked(PointObjects(chart)), c.objects) << where;
    }
}

TEST(PoolChartTopLists, ReadRateListsTakeObjectsAboveOneReadPerSecond) {
    // Ten seconds: 20 read I/Os are 2 per second, 10 exactly 1.
    ReportModel model = PoolWith(4);
    const struct {
        std::int32_t sync, seq, avgSync, avgSeq;
    } objects[] = {{20, 0, 5, 0}, {10, 0, 9, 0}, {30, 0, 1, 0}, {5, 10, 2, 3}};
    for (int o = 1; o <= 4; ++o) {
        ActivityBlock& a = model.Objects(o).Activity;
        a.ReadIOsByType[1] = objects[o - 1].sync;
        a.ReadIOsByType[2] = objects[o - 1].seq;
        a.AvgSyncIOTime = objects[o - 1].avgSync;
        a.AvgSeqPrefIOTime = objects[o - 1].avgSeq;
    }
    const ChartData worst = PoolChart(model, 1, 23);
    EXPECT_EQ(Ranked(PointLabels(worst)), (std::vector<std::string>{"O1", "O4"}))
        << "an average of 1 ms does not count";
    EXPECT_EQ(Ranked(PointValues(worst)), (std::vector<double>{5, 2}));
    const ChartData impactors = PoolChart(model, 1, 24);
    EXPECT_EQ(Ranked(PointLabels(impactors)), (std::vector<std::string>{"O1", "O4", "O3"}));
    EXPECT_EQ(Ranked(PointValues(impactors)), (std::vector<double>{100, 40, 30}));

    model.SysInfo.ElapsedTime = "00:00:00";
    EXPECT_EQ(Ranked(PointLabels(PoolChart(model, 1, 24))), (std::vector<std::string>{"", ""}))
        << "no interval, no rates";
}

TEST(PoolChartTopLists, LargeValuesOfTheCountingListsAreShownInThousands) {
    const auto sequential = [](ObjectRecord& o, double v) {
        o.Activity.GetPages = static_cast<std::int32_t>(v);
        o.Activity.GetPagesByAccess[1] = static_cast<std::int32_t>(v);
    };
    const struct {
        int position;
        Setter set;
        std::vector<double> keys;
        const char* types;
        const char* subtitle;
        std::vector<double> values;
        const char* unit;  // the value axis's title, where every scaled chart notes "* 1K"
    } cases[] = {
        {7, getPages, {5000, 100000}, "", "Top Get Page Requests * 1K", {100, 5}, "get pages * 1K"},
        {7, getPages, {99999, 5000}, "", "Top Get Page Requests", {99999, 5000}, "get pages"},
        {12, pagesRead, {100000, 2000}, "II", "Top Indexes By Pages Read * 1K", {100, 2}, "pages * 1K"},
        {12, pagesRead, {100000, 2000}, "TI", "Top Indexes By Pages Read", {2000, 0}, "pages"},
        {19, sequential, {200000, 3000}, "II", "Indexes > 10% Sequential Prefetch * 1K", {200, 3}, "get pages * 1K"},
        {14, Set<&ActivityBlock::Updates>, {200000, 3000}, "", "Highest Updates", {200000, 3000}, "updates"},
    };
    for (const auto& c : cases) {
        const ChartData chart = PoolChart(PoolWithKeys(c.keys, c.set, c.types), 1, c.position);
        EXPECT_EQ(chart.Subtitle, c.subtitle) << c.position;
        EXPECT_EQ(chart.ValueUnit, c.unit) << c.position;
        EXPECT_EQ(Ranked(PointValues(chart)), c.values) << c.position;
        ASSERT_TRUE(chart.Axis) << c.position;
        EXPECT_EQ(*chart.Axis, (AxisRange{*std::min_element(c.values.begin(), c.values.end()),
                                          *std::max_element(c.values.begin(), c.values.end())}))
            << c.position;
    }
}

TEST(PoolChartTopLists, APoolWithoutObjectsDrawsTwoEmptyBars) {
    ReportModel model = PoolWith(0);
    model.Pools(2).Activity.GetPages = 7;
    for (int position = 7; position <= 24; ++position) {
        const ChartData chart = PoolChart(model, 1, position);
        EXPECT_EQ(chart.Points, (std::vector<ChartPoint>{{"", 0, 0}, {"", 0, 0}})) << position;
        EXPECT_EQ(chart.Axis, (AxisRange{0, 0})) << position;
        EXPECT_TRUE(chart.Messages.empty()) << position;
    }
    EXPECT_EQ(Ranked(PointLabels(PoolChart(model, 2, 7))), (std::vector<std::string>{"ELSEWHERE", ""}));
}

TEST(PoolChartTopLists, ARangeBeyondTheLoadedObjectsIsClipped) {
    ReportModel model = PoolWith(2);
    model.Objects(1).Activity.GetPages = 5;
    model.Pools(1).LastObject = 40;
    EXPECT_EQ(Ranked(PointLabels(PoolChart(model, 1, 7))), (std::vector<std::string>{"O1", "ELSEWHERE", "O2"}));
}

}  // namespace
}  // namespace kov
