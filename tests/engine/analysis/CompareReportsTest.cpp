#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "analysis/CompareReports.h"
#include "support/ChartPoints.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

ReportModel Report(const char* elapsed) {
    ReportModel model;
    model.SysInfo.ElapsedTime = elapsed;
    return model;
}

PoolRecord& AddPool(ReportModel& model, const char* name) {
    PoolRecord& pool = test::AddPool(model, name);
    pool.VPSize = 1000;
    pool.VPSEQT = 80;
    return pool;
}

ObjectRecord& AddObject(ReportModel& model, const char* name, std::int32_t syncReadIOs, const char* type = "T") {
    ObjectRecord& object = test::AddObject(model, name, type);
    object.Activity.ReadIOsByType[1] = syncReadIOs;
    return object;
}

// Objects of the pool added last, each with its sync read I/Os.
void AddObjects(ReportModel& model, std::initializer_list<std::pair<const char*, std::int32_t>> objects) {
    for (const auto& [name, syncReadIOs] : objects) AddObject(model, name, syncReadIOs);
}

const ComparedFigure& FigureNamed(const std::vector<ComparedFigure>& figures, const std::string& name) {
    for (const ComparedFigure& figure : figures)
        if (figure.Name == name) return figure;
    throw std::runtime_error("no figure " + name);
}

std::vector<std::string> Names(const PoolComparison& pool, const std::vector<std::size_t>& positions) {
    std::vector<std::string> names;
    for (const std::size_t i : positions) names.push_back(pool.Objects[i].Name);
    return names;
}

TEST(CompareReports, MatchesPoolsByTrimmedNameAndObjectsWithinTheirPool) {
    ReportModel before = Report("01:00:00");
    AddPool(before, "BP0");
    AddObjects(before, {{"DB1.TS1", 10}, {"DB1.TS2", 20}, {"DUP", 1}, {"DUP", 2}});
    AddPool(before, "BP1");
    AddObject(before, "DB2.TS9", 5);
    AddPool(before, "BP7");

    ReportModel after = Report("01:00:00");
    AddPool(after, "BP1   ");  // trailing blanks do not keep it apart
    // The same name in another pool is no match for BP0's object.
    AddObjects(after, {{"DB1.TS1", 99}, {"DB2.TS9", 6}});
    AddPool(after, "BP0");
    AddObjects(after, {{"DUP", 7}, {"DB1.TS2", 25}, {"DUP", 8}, {"DUP", 9}});
    AddPool(after, "BP4");

    const ReportComparison c = CompareReports(before, after);
    ASSERT_EQ(c.Pools.size(), 2u);
    EXPECT_EQ(c.Pools[0].Name, "BP0");
    EXPECT_EQ(c.Pools[0].BeforePool, 1);
    EXPECT_EQ(c.Pools[0].AfterPool, 2);
    EXPECT_EQ(c.Pools[1].Name, "BP1");
    EXPECT_EQ(c.PoolsOnlyBefore, std::vector<std::string>{"BP7"});
    EXPECT_EQ(c.PoolsOnlyAfter, std::vector<std::string>{"BP4"});

    const PoolComparison& bp0 = c.Pools[0];
    ASSERT_EQ(bp0.Objects.size(), 3u);
    EXPECT_EQ(bp0.Objects[0].Name, "DB1.TS2");
    EXPECT_DOUBLE_EQ(bp0.Objects[0].SyncReadIOs.Change * 3600, 5);
    // Repeated names pair in order: the first DUP with the first, the second with the second.
    EXPECT_DOUBLE_EQ(bp0.Objects[1].SyncReadIOs.After * 3600, 7);
    EXPECT_DOUBLE_EQ(bp0.Objects[2].SyncReadIOs.After * 3600, 8);
    EXPECT_EQ(bp0.ObjectsOnlyBefore, std::vector<std::string>{"DB1.TS1"});
    EXPECT_EQ(bp0.ObjectsOnlyAfter, std::vector<std::string>{"DUP"});
    EXPECT_EQ(c.Pools[1].ObjectsOnlyAfter, std::vector<std::string>{"DB1.TS1"});
    EXPECT_EQ(FindPoolComparison(c, "BP1     "), &c.Pools[1]);
    EXPECT_EQ(FindPoolComparison(c, "BP7"), nullptr);
}

TEST(CompareReports, CountsComparePerSecondOfEachIntervalAndWarnWhenTheLengthsDiffer) {
    const struct {
        const char* before;
        const char* after;
        double getPagesBefore, getPagesAfter;  // per second, from 7200 get pages each
        bool differ;
        int zeroWarnings;
    } cases[] = {
        {"01:00:00", "01:06:00", 2, 7200.0 / 3960, false, 0},
        {"01:00:00", "01:06:01", 2, 7200.0 / 3961, true, 0},
        {"00:00:00", "01:00:00", 0, 2, true, 1},
        {"", "", 0, 0, false, 2},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.before) + " / " + k.after);
        ReportModel before = Report(k.before), after = Report(k.after);
        for (ReportModel* m : {&before, &after}) {
            PoolRecord& pool = AddPool(*m, "BP0");
            pool.Activity.GetPages = 7200;
            pool.Activity.SysHitRatio = 95.5;
        }
        const ReportComparison c = CompareReports(before, after);
        ASSERT_EQ(c.Pools.size(), 1u);
        const FigureChange& getPages = FigureNamed(c.Pools[0].Figures, "Get Pages").Values;
        EXPECT_DOUBLE_EQ(getPages.Before, k.getPagesBefore);
        EXPECT_DOUBLE_EQ(getPages.After, k.getPagesAfter);
        // A rate is compared as the grid shows it, not divided again.
        EXPECT_EQ(FigureNamed(c.Pools[0].Figures, "Hit Ratio").Values.Before, 95.5);
        int differ = 0, zero = 0;
        for (const std::string& w : c.Warnings) {
            differ += w.find("differ by more than 10 %") != std::string::npos;
            zero += w.find("has no length") != std::string::npos;
        }
        EXPECT_EQ(differ, k.differ ? 1 : 0);
        EXPECT_EQ(zero, k.zeroWarnings);
        for (const ComparedFigure& f : c.Pools[0].Figures)
            EXPECT_TRUE(
                std::isfinite(f.Values.Before + f.Values.After + f.Values.Change + f.Values.ChangePct.value_or(0)))
                << f.Name;
    }
}

// Change % is of the before value, and there is none from zero.
TEST(FigureCells, MarkRisesAndFallsWithSignAndArrowNotColourAlone) {
    const struct {
        double before, after;
        std::vector<std::string> cells;
    } cases[] = {
        {4, 3, {"4", "3", "-1", "-25.0", "\u25BC fall"}},          {-2, -1, {"-2", "-1", "+1", "+50.0", "\u25B2 rise"}},
        {0, 0.5, {"0.00", "0.50", "+0.50", "n/a", "\u25B2 rise"}}, {0, 0, {"0", "0", "0", "n/a", "= same"}},
        {2.5, 2.5, {"2.50", "2.50", "0.00", "0.0", "= same"}},
    };
    for (const auto& k : cases) EXPECT_EQ(FigureCells(CompareFigure(k.before, k.after)), k.cells);
}

TEST(CompareReports, TopTenRisesAndFallsOfSyncReadIOsLargestFirstTiesInReportOrder) {
    ReportModel before = Report("00:00:01"), after = Report("00:00:01");
    AddPool(before, "BP1");
    AddPool(after, "BP1");
    // o1..o12 rise; the four rises of 5 keep their order, and of the three
    // rises of 4 the first two fill the ten. f1..f3 fall; s stays; n is new.
    const int rises[] = {5, 5, 9, 1, 5, 4, 4, 4, 6, 7, 5, 8};
    for (int i = 0; i < 12; ++i) {
        const std::string name = "o" + std::to_string(i + 1);
        AddObject(before, name.c_str(), 100);
        AddObject(after, name.c_str(), 100 + rises[i]);
    }
    AddObjects(before, {{"f1", 50}, {"f2", 50}, {"f3", 50}, {"s", 10}});
    AddObjects(after, {{"f1", 48}, {"f2", 46}, {"f3", 48}, {"s", 10}, {"n", 1000}});

    const ReportComparison c = CompareReports(before, after);
    ASSERT_EQ(c.Pools.size(), 1u);
    const PoolComparison& pool = c.Pools[0];
    EXPECT_EQ(Names(pool, pool.SyncReadRises),
              (std::vector<std::string>{"o3", "o12", "o10", "o9", "o1", "o2", "o5", "o11", "o6", "o7"}));
    EXPECT_EQ(Names(pool, pool.SyncReadFalls), (std::vector<std::string>{"f2", "f1", "f3"}));
    EXPECT_EQ(pool.ObjectsOnlyAfter, std::vector<std::string>{"n"});
}

// A change reads better or worse by its figure: a fall of read I/Os is an
// improvement, a rise of the hit ratio too; workload and sizes are neither.
TEST(CompareReports, EveryFigureKnowsWhichWayIsBetter) {
    const struct {
        const char* figure;
        double change;
        Better better;
        Verdict verdict;
    } cases[] = {
        {"RIO/Sec", -45, Better::Down, Verdict::Better},
        {"Rand Pg Rd", 40, Better::Down, Verdict::Worse},
        {"Hit Ratio", 2.5, Better::Up, Verdict::Better},
        {"Avg Pg Res Secs", -10, Better::Up, Verdict::Worse},
        {"Pages per write", 1, Better::Up, Verdict::Better},
        {"Get Pages", 900, Better::None, Verdict::Neutral},
        {"Total 4K Buffers", -500, Better::None, Verdict::Neutral},
        {"WIO/Sec", 0, Better::Down, Verdict::Neutral},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TraitsOf(c.figure).Direction, c.better) << c.figure;
        EXPECT_EQ(VerdictOf(TraitsOf(c.figure).Direction, c.change), c.verdict) << c.figure;
    }
    // Every figure the comparison holds is in the table (a unit at least).
    ReportModel before = Report("01:00:00"), after = Report("01:00:00");
    AddPool(before, "BP0");
    AddPool(after, "BP0");
    const ReportComparison comparison = CompareReports(before, after);
    for (const auto* figures : {&comparison.Totals, &comparison.Pools.front().Figures})
        for (const ComparedFigure& figure : *figures) EXPECT_STRNE(TraitsOf(figure.Name).Unit, "") << figure.Name;
    // The window's grids end with the verdict; the text report's do not.
    const StringTable window = ComparePoolsGrid(comparison, VerdictColumn::With);
    EXPECT_EQ(window.Headings.back(), "Verdict");
    EXPECT_EQ(ComparePoolsGrid(comparison).Headings.back(), "Trend");
}

// The chart of one pool figure: two bars a pool, the first pool on top with
// its before bar above its after bar, in the figure's unit.
TEST(CompareReports, FigureChartGivesEachPoolItsBeforeAndAfterBars) {
    ReportModel before = Report("01:00:00"), after = Report("00:30:00");
    for (ReportModel* model : {&before, &after}) {
        AddPool(*model, "BP0").Activity.GetPages = 7200;
        AddPool(*model, "BP1").Activity.GetPages = 3600;
    }
    const ChartData chart = CompareFigureChart(CompareReports(before, after), "Get Pages/Sec");
    EXPECT_EQ(test::PointLabels(chart),
              (std::vector<std::string>{"BP1 after", "BP1 before", "BP0 after", "BP0 before"}));
    EXPECT_EQ(test::PointValues(chart), (std::vector<double>{2, 1, 4, 2}));
    EXPECT_EQ(chart.ValueUnit, "get pages / s");
    EXPECT_FALSE(chart.Axis) << "bars compared from 0";
    EXPECT_TRUE(CompareFigureChart(CompareReports(before, after), "no such figure").Points.empty());
}

}  // namespace
}  // namespace kov
