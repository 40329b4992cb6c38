#include <gtest/gtest.h>

#include "analysis/PoolDetails.h"

namespace kov {
namespace {

ReportModel ModelWithPools(std::initializer_list<const char*> names) {
    ReportModel model;
    for (const char* name : names) model.Pools(model.Pools.Add()).PoolName = name;
    return model;
}

void AddSimulationFor(ReportModel& model, const char* poolName, int sizeCount) {
    const int k = ++model.SimulationCount;
    model.Simulations.GrowTo(k);
    model.Simulations(k).PoolName = poolName;
    model.Simulations(k).SizeCount = static_cast<std::int16_t>(sizeCount);
}

TEST(PoolLabels, DataSpacePoolsUseTheirOwnSizeCaptions) {
    ReportModel model = ModelWithPools({"BP1", "BP2"});
    model.Pools(1).DataSpace = "Y";
    model.Pools(2).DataSpace = "N";
    EXPECT_EQ(PoolLabelsFor(model, 1).Info[2].Caption, "VP DS Size");
    EXPECT_EQ(PoolLabelsFor(model, 1).Info[3].Caption, "HP DS Size");
    EXPECT_EQ(PoolLabelsFor(model, 2).Info[2].Caption, "VP Size");
    EXPECT_EQ(PoolLabelsFor(model, 2).Info[1].Value, "   0") << "a pool without object lines holds no objects";
    EXPECT_TRUE(PoolLabelsFor(model, 3).Info.empty());
}

TEST(FindSimulationForPool, WalksUntilTheFirstSimulationWithoutAPool) {
    const struct {
        std::vector<const char*> simPools;
        bool found;
        int position;
    } cases[] = {
        {{"bp1"}, true, 1}, {{"BP2", "BP1"}, true, 2}, {{"BP2", "", "BP1"}, false, 0}, {{"BP10"}, false, 0},
        {{}, false, 0},
    };
    for (const auto& c : cases) {
        ReportModel model = ModelWithPools({"BP1"});
        for (const char* pool : c.simPools) AddSimulationFor(model, pool, 8);
        const SimulationMatch match = FindSimulationForPool(model, 1);
        EXPECT_EQ(match.Found, c.found) << c.simPools.size();
        EXPECT_EQ(match.Position, c.position) << c.simPools.size();
    }
}

TEST(PoolNavigation, GridNamesMatchTrimmedAndInAnyCase) {
    ReportModel model = ModelWithPools({"BP0", "BP1"});
    model.Pools(2).FirstObject = 4;
    EXPECT_EQ(PoolNamed(model, "  bp1    "), 2);
    EXPECT_EQ(PoolNamed(model, "BP9"), 0);
    EXPECT_EQ(FirstObjectOf(model, 2), 4);
    EXPECT_EQ(FirstObjectOf(model, 9), 0);
}

TEST(PoolSizeList, ListsTheFirstSlotsSizesUpToTheSimulationsPointCount) {
    ReportModel model = ModelWithPools({"BP1"});
    AddSimulationFor(model, "BP1", 3);
    PoolSimRecord& slot = model.Pools(1).SimSlot(1);
    slot.SimPoolSize = {0, 1000, 2000, 3000, 4000};
    EXPECT_EQ(PoolSizeList(model, 1, FindSimulationForPool(model, 1)),
              (std::vector<std::string>{"1000", "2000", "3000"}));
    EXPECT_TRUE(PoolSizeList(model, 1, SimulationMatch{}).empty());
}

}  // namespace
}  // namespace kov
