#include <gtest/gtest.h>

#include "model/ReportModel.h"

namespace kov {
namespace {

TEST(ElapsedSeconds, ReadsEachPartAsALeadingNumber) {
    const struct {
        const char* text;
        std::int32_t seconds;
    } cases[] = {
        {"01:02:03", 3723}, {"00:00:00", 0}, {"01:00:00", 3600}, {"23:59:59", 86399},
        {"", 0},            {"xx:yy:zz", 0}, {"10:00", 36000 + 0 + 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ElapsedSeconds(c.text), c.seconds) << c.text;
}

TEST(FindPool, MatchesTheBlankPaddedNameSoBP1IsNotBP10) {
    ReportModel model;
    for (const char* name : {"BP10", "BP1", "BP32K", "BP8K0"}) model.Pools(model.Pools.Add()).PoolName = name;
    const struct {
        const char* simPool;
        int pool;
    } cases[] = {{"BP1", 2}, {"BP10", 1}, {"BP32K", 3}, {"BP8K0", 4}, {"BP2", 0}, {"bp1", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(model.FindPool(c.simPool), c.pool) << c.simPool;
        EXPECT_EQ(model.CurrentPool, c.pool) << c.simPool;
    }
}

TEST(ClearLoadedData, EmptiesEveryTableAndIndex) {
    ReportModel model;
    model.Pools.Add();
    model.Objects.Add();
    model.Simulations.GrowTo(2);
    model.SimulationCount = 2;
    model.CurrentPool = model.CurrentObject = 1;
    model.StatsLoaded = model.SimulationsLoaded = true;
    model.SysInfo.System = "SYSA";
    model.ClearLoadedData();
    EXPECT_EQ(model.PoolCount(), 0);
    EXPECT_EQ(model.ObjectCount(), 0);
    EXPECT_EQ(model.Simulations.Count(), 0);
    EXPECT_EQ(model.SimulationCount + model.CurrentPool + model.CurrentObject, 0);
    EXPECT_FALSE(model.StatsLoaded || model.SimulationsLoaded);
    EXPECT_TRUE(model.SysInfo.System.IsBlank());
}

TEST(OneBasedTable, RefusesEntriesBeyondItsCapacity) {
    OneBasedTable<int> table(2, "pool");
    EXPECT_EQ(table.Add(), 1);
    EXPECT_EQ(table.Add(), 2);
    EXPECT_THROW(table.Add(), CapacityError);
    EXPECT_THROW(table(0), CapacityError);
    EXPECT_THROW(table(3), CapacityError);
}

}  // namespace
}  // namespace kov
