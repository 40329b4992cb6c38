#include <gtest/gtest.h>

#include "analysis/SimGraphs.h"
#include "support/ChartPoints.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

using test::PointObjects;
using test::PointValues;

// Per-point results of one test object; points not given stay 0.
struct TestObject {
    std::vector<std::int32_t> MaxWorkSet;
    std::vector<double> HitRatio = {};
    std::vector<double> IORate = {};
};

// Pool BP1 (after BP0, which has no objects) with one simulation slot whose
// size points are sizes[k - 1], each with get pages unless told otherwise.
struct SimPool {
    ReportModel Model;
    static constexpr int Pool = 2;

    explicit SimPool(const std::vector<TestObject>& objects, std::vector<std::int32_t> sizes = {1000, 2000, 3000, 4000},
                     std::vector<std::int32_t> getPages = {}) {
        test::AddPool(Model, "BP0");
        PoolRecord& pool = test::AddPool(Model, "BP1");
        SimulationRecord& sim = Model.Simulations(Model.Simulations.Add());
        sim.SizeCount = static_cast<std::int16_t>(sizes.size());
        Model.SimulationCount = 1;
        pool.SimCount = 1;
        PoolSimRecord& slot = pool.SimSlot(1);
        slot.SimulationNo = 1;
        for (std::size_t k = 1; k <= sizes.size(); ++k) {
            slot.SimPoolSize[k] = sizes[k - 1];
            slot.Detail1[k] = getPages.empty() ? 100 : getPages[k - 1];
        }
        for (std::size_t i = 0; i < objects.size(); ++i) {
            ObjectRecord& object = test::AddObject(Model, "DB1.OBJ" + std::to_string(i + 1), "");
            SimObjectRecord& results = object.Sims.emplace_back();
            results.SimulationNo = 1;
            const TestObject& t = objects[i];
            for (std::size_t k = 1; k <= t.MaxWorkSet.size(); ++k) results.Detail5[k] = t.MaxWorkSet[k - 1];
            for (std::size_t k = 1; k <= t.HitRatio.size(); ++k) results.Detail8[k] = t.HitRatio[k - 1];
            for (std::size_t k = 1; k <= t.IORate.size(); ++k) results.Detail7[k] = t.IORate[k - 1];
        }
    }
    PoolSimRecord& Slot() { return Model.Pools(Pool).SimSlot(1); }
};

// Objects whose maximum working set at the largest size (point 4) is given.
std::vector<TestObject> AtLargestSize(const std::vector<std::int32_t>& workSets) {
    std::vector<TestObject> objects;
    for (std::int32_t w : workSets) objects.push_back({{1, 1, 1, w}});
    return objects;
}

TEST(SimGraphs, LargestSizePointIsTheLargestSizeWithGetPages) {
    const struct {
        std::vector<std::int32_t> sizes, getPages;
        int point;
    } cases[] = {
        {{1000, 2000, 3000}, {5, 5, 5}, 3}, {{1000, 3000, 2000}, {5, 0, 5}, 3},  // the largest size had no get pages
        {{1000, 2000, 2000}, {5, 5, 5}, 2},                                      // equal sizes: the first wins
        {{4000, 2000, 3000}, {5, 5, 5}, 1}, {{1000, 2000}, {0, 0}, 0},
    };
    for (const auto& c : cases) {
        SimPool pool({}, c.sizes, c.getPages);
        EXPECT_EQ(LargestSizePoint(pool.Model, SimPool::Pool, 1), c.point) << c.sizes[1];
    }
    SimPool pool({});
    EXPECT_EQ(LargestSizePoint(pool.Model, SimPool::Pool, 2), 0) << "an unused slot";
    EXPECT_EQ(LargestSizePoint(pool.Model, 1, 1), 0) << "a pool without simulations";
}

TEST(SimGraphs, WorkSetChartsRankWithTheirTieRules) {
    // Of equal values the largest chart puts the later object last and the
    // smallest the earlier object first: both draw the same order.
    SimPool pool(AtLargestSize({50, 200, 10, 200}));
    for (const ChartData& chart :
         {ChartLargestWorkSets(pool.Model, SimPool::Pool, 1), ChartSmallestWorkSets(pool.Model, SimPool::Pool, 1)}) {
        EXPECT_EQ(PointValues(chart), (std::vector<double>{10, 50, 200, 200})) << chart.Title;
        EXPECT_EQ(PointObjects(chart), (std::vector<int>{3, 1, 2, 4})) << chart.Title;
        EXPECT_EQ(chart.Axis, (AxisRange{0, 250, false})) << chart.Title;
        EXPECT_TRUE(chart.Messages.empty()) << chart.Title;
    }
}

TEST(SimGraphs, WorkSetChartsScaleToThousandsAbove9999) {
    const struct {
        std::int32_t largest;
        const char* title;
        double first, last, axisMax;
    } cases[] = {
        {9999, "Objects With Largest Max WkSet", 500, 9999, 12498.75},
        {10000, "Objects With Largest Max WkSet * 1K", 0.5, 10, 12.5},
        {12500, "Objects With Largest Max WkSet * 1K", 0.5, 12.5, 15},  // top 12.5 rounds to even
    };
    for (const auto& c : cases) {
        SimPool pool(AtLargestSize({500, c.largest}));
        const ChartData chart = ChartLargestWorkSets(pool.Model, SimPool::Pool, 1);
        EXPECT_EQ(chart.Title, c.title);
        EXPECT_EQ(PointValues(chart), (std::vector<double>{c.first, c.last})) << c.largest;
        EXPECT_DOUBLE_EQ(chart.Axis->Max, c.axisMax) << c.largest;
    }
    SimPool pool(AtLargestSize({12345, 20000}));
    const ChartData smallest = ChartSmallestWorkSets(pool.Model, SimPool::Pool, 1);
    EXPECT_EQ(smallest.Title, "Objects With Smallest Max WkSet * 1K");
    EXPECT_EQ(smallest.Points.front().ValueText, "12.345");
}

TEST(SimGraphs, WorkSetChartsWithoutAUsablePointShowZeros) {
    SimPool pool(AtLargestSize({50, 200, 10}), {1000, 2000, 3000, 4000}, {0, 0, 0, 0});
    for (const ChartData& chart :
         {ChartLargestWorkSets(pool.Model, SimPool::Pool, 1), ChartSmallestWorkSets(pool.Model, SimPool::Pool, 1)}) {
        EXPECT_EQ(PointValues(chart), (std::vector<double>{0, 0, 0})) << chart.Title;
        EXPECT_EQ(chart.Axis->Max, 0);
    }
}

// Marks are values a later pass meets: the smallest chart's mark 999,999.99
// undercuts a larger working set, and an entry no pass fills has no object.
TEST(SimGraphs, SmallestPassesMeetTheirOwnMarks) {
    SimPool marked(AtLargestSize({5, 2'000'000, 3'000'000}));
    const ChartData chart = ChartSmallestWorkSets(marked.Model, SimPool::Pool, 1);
    EXPECT_EQ(PointValues(chart), (std::vector<double>{0.005f, 1000, 1000}));
    EXPECT_EQ(PointObjects(chart), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(chart.Axis->Max, 1250);

    SimPool unpicked(AtLargestSize({20'000'000, 30'000'000}));
    const ChartData none = ChartSmallestWorkSets(unpicked.Model, SimPool::Pool, 1);
    EXPECT_EQ(PointValues(none), (std::vector<double>{20000, 20000}));
    EXPECT_EQ(PointObjects(none), (std::vector<int>{0, 0}));
    EXPECT_EQ(none.Points.front().Label, "");
}

TEST(SimGraphs, AWorkSetBeyondAnIntegerIsReportedWithItsChartsTitle) {
    SimPool pool(AtLargestSize({5, INT32_MAX}));
    const ChartData largest = ChartLargestWorkSets(pool.Model, SimPool::Pool, 1);
    EXPECT_TRUE(largest.Points.empty());
    EXPECT_EQ(largest.Messages, (std::vector<Message>{{"Loading Graph Data", "Overflow", MessageIcon::Information}}));
    SimPool huge(AtLargestSize({INT32_MAX, INT32_MAX}));
    const ChartData smallest = ChartSmallestWorkSets(huge.Model, SimPool::Pool, 1);
    EXPECT_EQ(smallest.Messages,
              (std::vector<Message>{{"Smallest Work Set Calculations", "Overflow", MessageIcon::Information}}));
}

TEST(SimGraphs, PoolSizeReadIORateNeedsANonZeroRate) {
    SimPool pool({}, {3000, 1000, 2000});
    pool.Slot().Detail7 = {0, 12, 30, 0};
    const ChartData io = ChartPoolSizeReadIORate(pool.Model, SimPool::Pool, 1);
    EXPECT_EQ(PointValues(io), (std::vector<double>{12, 30, 0})) << "a zero rate among others is plotted";
    EXPECT_TRUE(io.Messages.empty());
    pool.Slot().Detail7 = {};
    EXPECT_EQ(ChartPoolSizeReadIORate(pool.Model, SimPool::Pool, 1).Messages,
              (std::vector<Message>{{"", "Encountered ZERO IO Rates in data. Can not plot Graph", MessageIcon::None}}));
}

TEST(SimGraphs, ImprovementIsTheSpreadOverThePointsWithAWorkingSet) {
    SimPool pool({
        {{1, 1, 1, 1}, {60, 70, 85, 90}},  // spread 30
        {{1, 1, 1, 1}, {90, 90, 90, 90}},  // 0
        {{0, 5, 0, 0}, {50, 58, 99, 1}},   // points 3 and 4 do not count, point 1 does: 8
        {{1, 1, 1, 1}, {10, 18, 18, 18}},  // 8, later in the pool than the one above
    });
    const ChartData chart = ChartLargestHitRatioGain(pool.Model, SimPool::Pool, 1);
    EXPECT_EQ(chart.Title, "Objects With Largest Percentage Improvement");
    EXPECT_EQ(PointValues(chart), (std::vector<double>{0, 8, 8, 30}));
    EXPECT_EQ(PointObjects(chart), (std::vector<int>{2, 3, 4, 1})) << "of equal spreads the later object stands last";
    EXPECT_EQ(chart.Points.back().Label, "DB1.OBJ1");
    EXPECT_EQ(chart.Axis, (AxisRange{0, 37.5, false}));
}

TEST(SimGraphs, IORateReductionRanksTheRateSpread) {
    SimPool pool({
        {{1, 1, 1}, {}, {40, 30, 27.4}},  // 12.6
        {{1, 1, 1}, {}, {5, 4, 3}},       // 2
        {{1, 0, 1}, {}, {9, 0, 9}},       // point 2 does not count: 0
    });
    const ChartData chart = ChartLargestIORateReduction(pool.Model, SimPool::Pool, 1);
    EXPECT_EQ(chart.Title, "Objects With Largest I/O Rate Reduction");
    EXPECT_EQ(PointObjects(chart), (std::vector<int>{3, 2, 1}));
    EXPECT_FLOAT_EQ(static_cast<float>(chart.Points.back().Value), 12.6f);
    EXPECT_EQ(chart.Points.back().ValueText, "12.6");
    EXPECT_DOUBLE_EQ(chart.Axis->Max, 16.25) << "top 13";

    const auto option = GreatestImprovementCharts(pool.Model, SimPool::Pool, 1, 1);
    ASSERT_TRUE(option);
    EXPECT_EQ(option->Improvement.Title, chart.Title);
    EXPECT_EQ(option->PoolSize.Title, "Pool Size Versus Read IO Rate");
    EXPECT_EQ(GreatestImprovementCharts(pool.Model, SimPool::Pool, 1, 0)->Improvement.Title,
              "Objects With Largest Percentage Improvement");
    EXPECT_FALSE(GreatestImprovementCharts(pool.Model, SimPool::Pool, 1, 2));
}

TEST(SimGraphs, ASpreadBeyondASmallIntegerIsAFatalError) {
    SimPool pool({{{1, 1}, {}, {40000, 0}}});
    const ChartData chart = ChartLargestIORateReduction(pool.Model, SimPool::Pool, 1);
    EXPECT_TRUE(chart.Points.empty());
    EXPECT_EQ(chart.Title, "Objects With Largest I/O Rate Reduction");
    EXPECT_EQ(chart.Messages,
              (std::vector<Message>{{"Calculating Largest Improvements",
                                     "A fatal error has occured while Calculating Largest Improvements\n6 : Overflow",
                                     MessageIcon::Critical}}));
}

TEST(SimGraphs, APoolWithoutObjectsOrASlotThatDoesNotExistShowsNothing) {
    SimPool pool({});
    for (const int s : {1, 2, 0}) {
        const std::vector<ChartData> charts{ChartLargestWorkSets(pool.Model, SimPool::Pool, s),
                                            ChartSmallestWorkSets(pool.Model, SimPool::Pool, s),
                                            ChartLargestHitRatioGain(pool.Model, SimPool::Pool, s),
                                            ChartLargestIORateReduction(pool.Model, SimPool::Pool, s)};
        for (const ChartData& chart : charts) {
            EXPECT_TRUE(chart.Points.empty()) << chart.Title;
            EXPECT_TRUE(chart.Messages.empty()) << chart.Title;
            EXPECT_EQ(chart.Title.empty(), s != 1) << "only a slot in use names its charts";
        }
        EXPECT_FALSE(LargestWorkSetDetails(pool.Model, SimPool::Pool, s));
    }
    EXPECT_EQ(SimDetailHeadings(pool.Model, SimPool::Pool, 2), std::vector<std::string>{"Pool Size"});
    EXPECT_TRUE(ChartPoolSizeHitRatio(pool.Model, SimPool::Pool, 3).Points.empty());
}

}  // namespace
}  // namespace kov
