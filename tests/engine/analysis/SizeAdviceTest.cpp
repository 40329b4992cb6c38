#include <gtest/gtest.h>

#include <random>

#include "analysis/SizeAdvice.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

struct TestPoint {
    std::int32_t Size;
    double Rate;
};

PoolSizeCurve Curve(std::string name, std::int32_t current, const std::vector<TestPoint>& points) {
    PoolSizeCurve curve;
    curve.PageKB = PageKB(name);
    curve.Name = std::move(name);
    curve.CurrentSize = current;
    for (const TestPoint& p : points) curve.Points.push_back({p.Size, BufferMB(p.Size, curve.PageKB), p.Rate, 0, {}});
    for (std::size_t k = 0; k < curve.Points.size(); ++k)
        if (curve.Points[k].Size == current) {
            curve.CurrentPoint = k;
            break;
        }
    return curve;
}

std::vector<std::int32_t> RecommendedSizes(const SizeAdvice& advice) {
    std::vector<std::int32_t> sizes;
    for (const PoolSizeAdvice& pool : advice.Pools) sizes.push_back(pool.Recommended().Size);
    return sizes;
}

// Every choice tried; the rule is least rate, then least memory, then the
// first choice met when each pool's points are walked smallest first in
// report order.
std::optional<std::vector<std::size_t>> BruteForce(const std::vector<PoolSizeCurve>& curves, std::int64_t budgetKB) {
    std::optional<std::vector<std::size_t>> best;
    double bestRate = 0;
    std::int64_t bestKB = 0;
    std::vector<std::size_t> at(curves.size(), 0);
    for (;;) {
        double rate = 0;
        std::int64_t kb = 0;
        for (std::size_t i = 0; i < curves.size(); ++i) {
            rate += curves[i].Points[at[i]].ReadIORate;
            kb += static_cast<std::int64_t>(curves[i].Points[at[i]].Size) * curves[i].PageKB;
        }
        if (kb <= budgetKB && (!best || rate < bestRate || (rate == bestRate && kb < bestKB))) {
            best = at;
            bestRate = rate;
            bestKB = kb;
        }
        std::size_t i = curves.size();
        while (i > 0 && ++at[i - 1] == curves[i - 1].Points.size()) at[--i] = 0;
        if (i == 0) break;
    }
    return best;
}

TEST(PageKB, NameSaysThePageSize) {
    const std::vector<std::pair<std::string, int>> cases = {{"BP0", 4},    {"BP8K0", 8},     {"bp16k1", 16},
                                                            {"BP32K", 32}, {"BP32K16K", 32}, {"BP49", 4}};
    for (const auto& [name, kb] : cases) EXPECT_EQ(PageKB(name), kb) << name;
    EXPECT_DOUBLE_EQ(BufferMB(40000, 4), 156.25);
    EXPECT_DOUBLE_EQ(BufferMB(1000, 32), 31.25);
}

// BP1's curve falls steeply only at its largest size: a walk that grows the
// pool with the best saving per MB first gives BP2 the memory and never
// reaches the drop.
TEST(SizeAdvice, FindsTheOptimumWhereAGreedyWalkStops) {
    std::vector<PoolSizeCurve> curves = {
        Curve("BP1", 3000, {{1000, 100}, {2000, 99}, {3000, 98}, {4000, 10}}),
        Curve("BP2", 3000, {{1000, 60}, {2000, 50}, {3000, 40}, {4000, 38}}),
    };
    const SizeAdvice advice = AdviseSizes(curves, {}, std::nullopt);
    EXPECT_TRUE(advice.BudgetFits);
    EXPECT_EQ(RecommendedSizes(advice), (std::vector<std::int32_t>{4000, 2000}));
    EXPECT_DOUBLE_EQ(advice.RecommendedReadIORate, 60);
    EXPECT_DOUBLE_EQ(advice.CurrentReadIORate, 138);
    EXPECT_DOUBLE_EQ(advice.BudgetMB, advice.CurrentMB);
    EXPECT_DOUBLE_EQ(advice.RecommendedMB, advice.CurrentMB);
    EXPECT_EQ(advice.Pools[0].Because,
              "BP1 3,000 \u2192 4,000 buffers (+3.9 MB): read I/O 98.0/s \u2192 10.0/s; the memory comes from BP2 "
              "3,000 \u2192 2,000 (\u22123.9 MB), where it saved 10.0 reads/s.");
    EXPECT_EQ(advice.Pools[1].Because,
              "BP2 3,000 \u2192 2,000 buffers (\u22123.9 MB): read I/O 40.0/s \u2192 50.0/s; its memory does more good "
              "in BP1.");
}

TEST(SizeAdvice, BudgetBounds) {
    const std::vector<PoolSizeCurve> curves = {
        Curve("BP1", 2000, {{1000, 100}, {2000, 80}, {3000, 70}}),
        Curve("BP8K0", 1000, {{500, 30}, {1000, 20}, {2000, 5}}),
    };
    struct Case {
        const char* What;
        double BudgetMB;
        bool Fits;
        std::vector<std::int32_t> Sizes;
    };
    // BP1 takes 3.90625 MB per 1000 buffers, BP8K0 7.8125 MB per 1000.
    const std::vector<Case> cases = {
        {"below the smallest sizes", 5.0, false, {1000, 500}},
        {"exactly the smallest sizes", 3.90625 + 3.90625, true, {1000, 500}},
        {"above every largest size", 1000.0, true, {3000, 2000}},
        {"doubled", 2 * (7.8125 + 7.8125), true, {3000, 2000}},
    };
    for (const Case& c : cases) {
        const SizeAdvice advice = AdviseSizes(curves, {}, c.BudgetMB);
        EXPECT_EQ(advice.BudgetFits, c.Fits) << c.What;
        EXPECT_EQ(RecommendedSizes(advice), c.Sizes) << c.What;
        EXPECT_LE(advice.RecommendedMB, c.Fits ? c.BudgetMB : 1e9) << c.What;
    }
    const SizeAdvice tooSmall = AdviseSizes(curves, {}, 5.0);
    EXPECT_NE(tooSmall.Pools[0].Because.find("even the smallest simulated sizes take more than the budget of 5.0 MB"),
              std::string::npos);
    const SizeAdvice larger = AdviseSizes(curves, {}, 1000.0);
    EXPECT_NE(larger.Pools[0].Because.find("the memory comes from the larger budget"), std::string::npos);
}

TEST(SizeAdvice, PoolsWithoutTheirCurrentSizeAreSkipped) {
    ReportModel model;
    for (const char* name : {"BP0", "BP1", "BP2"}) test::AddPool(model, name).VPSize = 2000;
    model.Pools(3).HPSize = 500;  // 2,500 buffers: not among the simulated sizes
    for (int p : {2, 3}) {
        model.Simulations(model.Simulations.Add()).SizeCount = 3;
        model.Pools(p).SimCount = 1;
        PoolSimRecord& slot = model.Pools(p).SimSlot(1);
        slot.SimulationNo = static_cast<std::int16_t>(model.Simulations.Count());
        const std::int32_t sizes[] = {3000, 1000, 2000};  // not in ascending order
        for (std::size_t k = 1; k <= 3; ++k) {
            slot.SimPoolSize[k] = sizes[k - 1];
            slot.Detail7[k] = 10000.0 / sizes[k - 1];
            slot.Detail8[k] = sizes[k - 1] / 100.0;
        }
    }
    const SizeAdvice advice = AdviseSizes(model, std::nullopt);
    ASSERT_EQ(advice.Pools.size(), 1U);
    EXPECT_EQ(advice.Pools[0].Curve.Name, "BP1");
    EXPECT_EQ(advice.Pools[0].Curve.Points[0].Size, 1000);
    EXPECT_FALSE(advice.Pools[0].Curve.Points[0].SavedPerMB.has_value());
    EXPECT_NEAR(*advice.Pools[0].Curve.Points[1].SavedPerMB, (10.0 - 5.0) / BufferMB(1000, 4), 1e-12);
    EXPECT_EQ(advice.Pools[0].Current().Size, 2000);
    ASSERT_EQ(advice.Skipped.size(), 1U);
    EXPECT_EQ(advice.Skipped[0].Name, "BP2");
    EXPECT_EQ(advice.Skipped[0].Reason,
              "A simulation size must match original Pool Size. One of the simulated sizes should be 2500");
}

// Ties included: whole rates make equal totals common, and equal sizes give
// choices of equal memory.
TEST(SizeAdvice, AgreesWithBruteForceOnRandomSmallCases) {
    std::mt19937 random(20261207);
    const char* names[] = {"BP1", "BP8K1", "BP16K1", "BP32K1", "BP2", "BP3"};
    for (int round = 0; round < 400; ++round) {
        const int pools = std::uniform_int_distribution<int>(1, 6)(random);
        std::vector<PoolSizeCurve> curves;
        for (int p = 0; p < pools; ++p) {
            const int points = std::uniform_int_distribution<int>(1, 5)(random);
            std::vector<TestPoint> curve;
            std::int32_t size = 0;
            for (int k = 0; k < points; ++k) {
                size += std::uniform_int_distribution<std::int32_t>(0, 4)(random) * 250;  // equal sizes too
                // Whole rates make exact ties common, halves make them rarer.
                curve.push_back({size, std::uniform_int_distribution<int>(0, 40)(random) / 2.0});
            }
            curves.push_back(Curve(names[p], curve[0].Size, curve));
        }
        std::int64_t smallestKB = 0, largestKB = 0;
        for (const PoolSizeCurve& c : curves) {
            smallestKB += static_cast<std::int64_t>(c.Points.front().Size) * c.PageKB;
            largestKB += static_cast<std::int64_t>(c.Points.back().Size) * c.PageKB;
        }
        const std::int64_t budgetKB =
            std::uniform_int_distribution<std::int64_t>(smallestKB - 1000, largestKB + 1000)(random);
        EXPECT_EQ(ChooseSizePoints(curves, budgetKB), BruteForce(curves, budgetKB)) << "round " << round;
    }
}

}  // namespace
}  // namespace kov
