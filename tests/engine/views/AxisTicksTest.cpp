#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/AxisTicks.h"

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

}  // namespace
}  // namespace kov
