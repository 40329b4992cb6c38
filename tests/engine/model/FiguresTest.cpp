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
