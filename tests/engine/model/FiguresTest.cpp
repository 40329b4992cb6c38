#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "common/NumberText.h"
#include "model/Figures.h"

namespace kov {
namespace {

// Sizes at the 32-bit edges add up without wrapping.
TEST(Figures, PoolSizeIsVirtualPlusHiperpoolInSixtyFourBits) {
    const struct {
        std::int32_t vp, hp;
        std::int64_t size;
    } cases[] = {{20000, 0, 20000},
                 {800, 200, 1000},
                 {INT32_MAX, INT32_MAX, 2LL * INT32_MAX},
                 {INT32_MIN, -1, static_cast<std::int64_t>(INT32_MIN) - 1}};
    for (const auto& c : cases) {
        PoolRecord pool;
        pool.VPSize = c.vp;
        pool.HPSize = c.hp;
        EXPECT_EQ(PoolSize(pool), c.size) << c.vp << " + " << c.hp;
    }
}

// An interval that reads as no time at all, or less, gives 0 per second.
TEST(Figures, PerSecondOfTheCollectionInterval) {
    const struct {
        const char* elapsed;
        double count;
        double perSecond;
    } cases[] = {{"01:00:00", 7200, 2}, {"00:00:03", 1, 1.0 / 3}, {"00:00:00", 500, 0},
                 {"", 500, 0},          {"-1:00:00", 10, 0},      {"00:01:00", -60, -1}};
    for (const auto& c : cases) {
        ReportModel model;
        model.SysInfo.ElapsedTime = c.elapsed;
        EXPECT_DOUBLE_EQ(PerSecond(c.count, CollectionSeconds(model)), c.perSecond) << c.elapsed;
    }
}

TEST(Figures, SizePointFiguresReadTheirColumns) {
    PoolSimRecord pool;
    pool.Detail1[3] = 40, pool.Detail7[3] = 12.5, pool.Detail8[3] = 97.25;
    EXPECT_EQ(GetPagesAt(pool, 3), 40);
    EXPECT_EQ(ReadIORate(pool, 3), 12.5);
    EXPECT_EQ(SysHitRatio(pool, 3), 97.25);
    SimObjectRecord object;
    object.Detail1[2] = 9, object.Detail4[2] = 100, object.Detail5[2] = 250, object.Detail7[2] = 1.5;
    object.Detail8[2] = 60;
    EXPECT_EQ(GetPagesAt(object, 2), 9);
    EXPECT_EQ(AvgWorkSet(object, 2), 100);
    EXPECT_EQ(MaxWorkSet(object, 2), 250);
    EXPECT_EQ(ReadIORate(object, 2), 1.5);
    EXPECT_EQ(SysHitRatio(object, 2), 60);
    EXPECT_EQ(MaxWorkSet(object, 3), 0);
}

// Halves go to the even neighbour; a value that rounds beyond the range (or
// no number at all) has no whole number there.
TEST(WholeNumber, HalvesToEvenWithinThirtyTwoBits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::optional<long long> whole;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-2.5, -2},
                 {2147483646.5, 2147483646},
                 {2147483647.4, 2147483647},
                 {2147483647.5, std::nullopt},
                 {-2147483648.5, -2147483648LL},
                 {-2147483649.0, std::nullopt},
                 {nan, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(WholeNumber32(c.value), c.whole) << c.value;
    EXPECT_EQ(WholeNumberWithin(32767.5, INT16_MIN, INT16_MAX), std::nullopt);
    EXPECT_EQ(WholeNumberWithin(32766.5, INT16_MIN, INT16_MAX), 32766);
}

}  // namespace
}  // namespace kov
