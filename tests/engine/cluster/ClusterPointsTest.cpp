#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cluster/ClusterPoints.h"

namespace kov {
namespace {

struct Clustered {
    int Count = 0;
    std::vector<std::int32_t> Numbers;
    std::vector<std::int32_t> Seconds;
};

// One pool's maximum working sets at one simulated size (the second
// coordinate is the pool size, the same for every point).
Clustered Cluster(std::vector<std::int32_t> values, double radius, CollectingSink& sink) {
    std::vector<std::int32_t> second(values.size(), 4000);
    const int count = ClusterPoints(radius, static_cast<int>(values.size()) - 1, values, second, sink);
    return {count, values, second};
}

TEST(ClusterPoints, SplitsAtTheMeanUntilEveryClusterFitsTheRadius) {
    const struct {
        const char* what;
        std::vector<std::int32_t> values;
        double radius;
        int count;
        std::vector<std::int32_t> numbers;
    } cases[] = {
        {"z-scores -1.342..1.342: one cut at 0", {10, 20, 30, 40}, 1.2, 2, {2, 2, 1, 1}},
        {"a cluster is re-examined before the part split off", {10, 20, 30, 40}, 0.4, 4, {4, 3, 2, 1}},
        {"one far value forms the first cluster", {1, 2, 3, 4, 5, 100}, 1.2, 2, {2, 2, 2, 2, 2, 1}},
        {"a value equal to the mean stays with the upper part", {0, 5, 10}, 1.2, 2, {2, 1, 1}},
        {"equal values: deviation 0 becomes 1, one cluster", {7, 7, 7}, 1.2, 1, {1, 1, 1}},
        {"ten equal values, one other", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 2}, 0, 2, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2}},
        {"a negative radius ends like 0", {10, 20, 30}, -1, 3, {3, 2, 1}},
        {"a radius wider than every spread: one cluster", {1, 2, 3, 1000}, 7.6, 1, {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        CollectingSink sink;
        const Clustered result = Cluster(c.values, c.radius, sink);
        EXPECT_EQ(result.Count, c.count) << c.what;
        EXPECT_EQ(result.Numbers, c.numbers) << c.what;
        EXPECT_EQ(result.Seconds, std::vector<std::int32_t>(c.values.size(), -1)) << c.what;
        EXPECT_TRUE(sink.Messages.empty()) << c.what;
    }
}

TEST(ClusterPoints, RadiusZeroOnManyValuesNumbersThemFromTheLargestDown) {
    // Skewed values, in no order and with repeats, make the cut at the mean take one value at a time.
    std::vector<std::int32_t> values;
    for (int i = 0; i < 300; ++i) values.push_back(i % 2 == 0 ? i * i : 1 << (i % 20));
    std::vector<std::int32_t> distinct = values;
    std::sort(distinct.begin(), distinct.end(), std::greater<>());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    CollectingSink sink;
    const Clustered result = Cluster(values, 0, sink);
    ASSERT_EQ(result.Count, static_cast<int>(distinct.size()));
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto rank = std::find(distinct.begin(), distinct.end(), values[i]) - distinct.begin();
        EXPECT_EQ(result.Numbers[i], rank + 1) << values[i];
    }
}

TEST(ClusterPoints, NoPointsGiveNoClusters) {
    CollectingSink sink;
    std::vector<std::int32_t> none;
    EXPECT_EQ(ClusterPoints(1.2, -1, none, none, sink), 0);
    std::vector<std::int32_t> one{5};
    EXPECT_EQ(ClusterPoints(1.2, 3, one, one, sink), 0) << "fewer coordinates than the last index";
    ASSERT_EQ(sink.Messages.size(), 1u);
    EXPECT_EQ(sink.Messages[0].Title, "KOV Graphs");
}

}  // namespace
}  // namespace kov
