#include <gtest/gtest.h>

#include "analysis/GeneralInfo.h"

namespace kov {
namespace {

PoolRecord& AddPool(ReportModel& model, const char* name, std::int32_t vp, std::int32_t hp) {
    PoolRecord& pool = model.Pools(model.Pools.Add());
    pool.PoolName = name;
    pool.VPSize = vp;
    pool.HPSize = hp;
    return pool;
}

std::string Value(const std::vector<LabelPair>& labels, const std::string& caption) {
    for (const LabelPair& label : labels)
        if (label.Caption == caption) return label.Value;
    return "<missing " + caption + ">";
}

TEST(Total4KBuffers, CountsOnlyPoolsWithoutALargerPageSizeInTheirName) {
    const struct {
        const char* name;
        bool counts;
    } pools[] = {{"BP0", true},    {"BP8K0", false}, {"BP16K0", false}, {"BP32K", false},
                 {"bp8k1", false}, {"BP1", true},    {"BP32K9", false}, {"BP16", true}};
    ReportModel model;
    std::int32_t expected = 0;
    for (const auto& p : pools) {
        AddPool(model, p.name, 1000, 10);
        if (p.counts) expected += 1010;
    }
    CollectingSink sink;
    EXPECT_EQ(Total4KBuffers(model, sink), expected);
    EXPECT_TRUE(sink.Messages.empty());

    // Past a 32-bit counter the total is reported and taken as 0.
    AddPool(model, "BP2", 2000000000, 0);
    AddPool(model, "BP3", 2000000000, 0);
    EXPECT_EQ(Total4KBuffers(model, sink), 0);
    EXPECT_EQ(sink.Messages,
              (std::vector<Message>{{"Calculating Total 4K Buffers", "the total of 4K buffers exceeds a 32-bit counter",
                                     MessageIcon::Information}}));
}

TEST(Totals, EmptyAndIdleReportsShowZeros) {
    const struct {
        const char* elapsed;
        int pools;
    } cases[] = {{"00:00:00", 1}, {"01:00:00", 0}, {"", 2}};
    for (const auto& c : cases) {
        ReportModel model;
        model.SysInfo.ElapsedTime = c.elapsed;
        for (int p = 0; p < c.pools; ++p) AddPool(model, "BP0", 0, 0).Activity.ReadIOs = 10;
        CollectingSink sink;
        const auto totals = Totals(model, sink);
        EXPECT_EQ(Value(totals, "Overall Sys Hit Ratio"), "0.00") << c.elapsed;
        EXPECT_EQ(Value(totals, "Total I/Os per second"), "0.00") << c.elapsed;
        EXPECT_EQ(Value(totals, "Pages per write"), "0.00");
        EXPECT_EQ(Value(totals, "Total 4K Buffers"), "0");
    }
}

TEST(PoolGrid, CellsFollowTheColumnFormats) {
    ReportModel model;
    model.SysInfo.ElapsedTime = "01:00:00";
    PoolRecord& pool = AddPool(model, "BP1", 1000, 0);
    ActivityBlock& a = pool.Activity;
    a.ReadIOs = 7200;  // twice the seconds of an hour: 2 per second
    a.WriteIOs = 4;
    a.GetPages = 123456;
    a.Updates = -5;
    a.SysHitRatio = 97.5;
    a.PagesWritten = 10;
    a.Activity11 = 12.25;
    a.PagesReadByType = {0, 11, 22, 33, 44};
    PoolRecord& idle = AddPool(model, "BP2", 1000, 0);
    idle.Activity.PagesWritten = 3;

    const StringTable grid = PoolGrid(model);
    ASSERT_EQ(grid.Headings.size(), 15u);
    ASSERT_EQ(grid.Rows.size(), 2u);
    const std::vector<std::string> expected = {"BP1     ", "2.00", "123456", "-5", "97.5", "7204", "0.00", "2.50",
                                               "4",        "10",   "12.25",  "11", "22",   "33",   "44"};
    EXPECT_EQ(grid.Rows[0], expected);
    EXPECT_EQ(grid.Rows[1][7], "0.00") << "no write I/Os: pages per write reads 0";
}

TEST(PoolGrid, AReportWithoutPoolsStillHasOneEmptyRow) {
    const StringTable grid = PoolGrid(ReportModel{});
    ASSERT_EQ(grid.Rows.size(), 1u);
    EXPECT_EQ(grid.Rows[0], std::vector<std::string>(15));
}

}  // namespace
}  // namespace kov
