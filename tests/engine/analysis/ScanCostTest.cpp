#include <gtest/gtest.h>

#include "analysis/ScanCost.h"
#include "common/Formats.h"
#include "support/ModelBuilder.h"

namespace kov {
namespace {

// Pools of objects given by their sequential get pages.
ReportModel Report(std::initializer_list<std::vector<std::int32_t>> pools) {
    ReportModel model;
    model.SysInfo.ElapsedTime = "01:00:00";
    int poolNumber = 0;
    for (const auto& objects : pools) {
        test::AddPool(model, "BP" + std::to_string(poolNumber++));
        for (std::int32_t sequential : objects) {
            const std::string name = "DB.TS" + std::to_string(model.ObjectCount() + 1);
            test::AddObject(model, name, "").Activity.GetPagesByAccess[1] = sequential;
        }
    }
    return model;
}

std::vector<std::string> Column(const StringTable& table, std::size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : table.Rows) cells.push_back(std::string(TrimBlanks(row[column])));
    return cells;
}

TEST(ScanCostFormats, FollowTheDisplayPatterns) {
    const struct {
        double value;
        const char* thousandths;
        const char* upToThree;
    } cases[] = {{0.45, ".450", "0.45"}, {1234.5, "1,234.500", "1234.5"}, {9, "9.000", "9."}, {0.0001, ".000", "0."}};
    for (const auto& c : cases) {
        EXPECT_EQ(GroupedThousandths(c.value), c.thousandths) << c.value;
        EXPECT_EQ(UpToThreeDecimals(c.value), c.upToThree) << c.value;
    }
}

TEST(ScanCost, PoolListTakesTheLargestFirstAndTiesInTableOrder) {
    const ReportModel model = Report({{500, 0, 500, 800}});
    const auto cost = PopulateScanCostsForPool(model, 1);
    ASSERT_TRUE(cost);
    EXPECT_EQ(Column(cost->List, 0), (std::vector<std::string>{"DB.TS4", "DB.TS1", "DB.TS3"}));
    EXPECT_EQ(Column(cost->List, 2), (std::vector<std::string>{"800", "500", "500"}));
    EXPECT_EQ(cost->List.Rows[0][0].size(), 27u) << "object names as stored";
    EXPECT_EQ(cost->Caption, "BP0      CPU Seconds Cost = ");
    EXPECT_EQ(cost->PoolCost, ".008");
    EXPECT_EQ(cost->CollectionTime, "3,600.000");
}

TEST(ScanCost, CostCellsAndTheNoneRow) {
    const ReportModel model = Report({{1000000, 2000000}, {0, 0}, {}});
    const auto busy = PopulateScanCostsForPool(model, 1);
    EXPECT_EQ(Column(busy->List, 3), (std::vector<std::string>{"9.", "4.5"}));
    EXPECT_EQ(busy->PoolCost, "13.500");
    for (int p : {2, 3}) {
        const auto idle = PopulateScanCostsForPool(model, p);
        ASSERT_TRUE(idle) << p;
        ASSERT_EQ(idle->List.Rows.size(), 1u) << p;
        EXPECT_EQ(idle->List.Rows[0],
                  (std::vector<std::string>{"None", model.Pools(p).PoolName.PaddedString(), "", ""}));
        EXPECT_EQ(idle->PoolCost, ".000");
    }
    EXPECT_FALSE(PopulateScanCostsForPool(model, 0));

    // Without sequential access anywhere the report-wide list names the pool
    // the window shows, or none.
    const ReportModel quiet = Report({{0}, {0}});
    for (int current : {2, 0}) {
        const auto system = PopulateScanCostsForSystem(quiet, current);
        ASSERT_TRUE(system);
        EXPECT_EQ(system->List.Rows,
                  (std::vector<std::vector<std::string>>{{"None", current ? "BP1     " : "", "", ""}}));
    }
}

}  // namespace
}  // namespace kov
