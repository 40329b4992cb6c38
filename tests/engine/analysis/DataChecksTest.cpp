#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/DataChecks.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

// The small report (BP0: objects 1-3, BP10: 4-5, BP1: 6-9, BP2 and BP32K
// empty) with a simulation of BP1 (VP 800 + HP 200) at eight sizes.
ReportModel Consistent() {
    ReportModel model = GenerateReport(test::SmallPlan());
    AddSimulation(model, 3, 8, 11);
    return model;
}

std::vector<DataFinding> FindingsOf(const ReportModel& model, const std::string& check) {
    std::vector<DataFinding> found;
    for (DataFinding& finding : RunDataChecks(model))
        if (finding.Check == check) found.push_back(std::move(finding));
    return found;
}

TEST(DataChecks, AConsistentReportHasNoFindings) {
    const auto findings = RunDataChecks(Consistent());
    EXPECT_TRUE(findings.empty()) << FindingLine(findings.front());
    EXPECT_EQ(DataChecksCaption(0), "Data checks: no findings");
    EXPECT_EQ(DataChecksCaption(1), "Data checks: 1 finding");
    EXPECT_EQ(DataChecksCaption(1200), "Data checks: 1,200 findings");
}

// Each check on a spoiled figure: a case that fires (with the place and text
// it reports) and the case at its edge that does not.
TEST(DataChecks, EachCheckFiresBeyondItsEdgeOnly) {
    const auto object6 = [](ReportModel& m) -> ActivityBlock& { return m.Objects(6).Activity; };
    const auto bp1 = [](ReportModel& m) -> PoolRecord& { return m.Pools(3); };
    const auto getPages = [=](std::int32_t total, std::int32_t seq, std::int32_t rand, std::int32_t rid) {
        return [=](ReportModel& m) { object6(m).GetPages = total, object6(m).GetPagesByAccess = {0, seq, rand, rid}; };
    };
    const auto readIOs = [=](std::int32_t sync) {
        return [=](ReportModel& m) { object6(m).ReadIOs = 10, object6(m).ReadIOsByType = {0, sync, 2, 3, 1}; };
    };
    const auto setUpdates = [=](ReportModel& m, std::int32_t pool) {
        for (int o = 6; o <= 9; ++o) m.Objects(o).Activity.Updates = 500;
        bp1(m).Activity.Updates = pool;
    };
    // Simulated sizes 1,000 .. 8,000 with hit ratios rising by one a point.
    const auto risingSimulation = [=](ReportModel& m) -> PoolSimRecord& {
        PoolSimRecord& slot = bp1(m).Sim(1);
        for (std::size_t k = 1; k <= 8; ++k) {
            slot.SimPoolSize[k] = static_cast<std::int32_t>(1000 * k);
            slot.Detail8[k] = 50.0 + static_cast<double>(k);
        }
        return slot;
    };
    const struct {
        const char* what;
        std::function<void(ReportModel&)> spoil;
        const char* check;
        int pool, object;  // where the finding is; 0 for none
        const char* text;  // nullptr: the check finds nothing
    } cases[] = {
        {"object counter below 0", [=](ReportModel& m) { object6(m).Activity29 = -1; }, "negative-counters", 3, 6,
         "negative figures: counter 29 -1"},
        {"object counter at 0", [=](ReportModel& m) { object6(m).Activity29 = 0; }, "negative-counters", 0, 0, nullptr},
        {"pool thresholds below 0", [](ReportModel& m) { m.Pools(1).VDWQT = -0.5, m.Pools(1).HPSEQT = -2; },
         "negative-counters", 1, 0, "negative figures: HPSEQT -2, VDWQT -0.50"},
        {"get pages 3 short", getPages(100, 50, 30, 17), "get-pages-breakdown", 3, 6,
         "sequential 50 + random 30 + RID list 17 = 97 get pages, but Get Pages is 100"},
        {"get pages 2 short", getPages(100, 50, 30, 18), "get-pages-breakdown", 0, 0, nullptr},
        {"a thousandth short", getPages(1000000, 999000, 0, 0), "get-pages-breakdown", 0, 0, nullptr},
        {"beyond a thousandth", getPages(1000000, 998999, 0, 0), "get-pages-breakdown", 3, 6,
         "sequential 998,999 + random 0 + RID list 0 = 998,999 get pages, but Get Pages is 1,000,000"},
        {"read I/Os 3 short", readIOs(1), "read-ios-breakdown", 3, 6,
         "synchronous 1 + sequential prefetch 2 + list prefetch 3 + dynamic prefetch 1 = 7 read I/Os, but Read I/Os "
         "is 10"},
        {"read I/Os 2 short", readIOs(2), "read-ios-breakdown", 0, 0, nullptr},
        {"pool 3 below its objects", [=](ReportModel& m) { setUpdates(m, 1997); }, "pool-below-objects", 3, 0,
         "the pool's totals are below the sums over its 4 objects: Updates 1,997 against 2,000"},
        {"pool 2 below its objects", [=](ReportModel& m) { setUpdates(m, 1998); }, "pool-below-objects", 0, 0, nullptr},
        {"pool below its objects with a negative counter",
         [=](ReportModel& m) { setUpdates(m, 150), bp1(m).Activity.GetPagesByAccess[2] = -1; }, "pool-below-objects", 0,
         0, nullptr},
        {"pool below its objects with a negative counter, told once",
         [=](ReportModel& m) { setUpdates(m, 150), bp1(m).Activity.GetPagesByAccess[2] = -1; }, "negative-counters", 3,
         0, "negative figures: Random Get Pages -1"},
        {"hit ratio above 100", [=](ReportModel& m) { object6(m).SysHitRatio = 100.01; }, "hit-ratio-range", 3, 6,
         "System Hit Ratio is 100.01, outside 0 to 100"},
        {"hit ratio 100", [=](ReportModel& m) { object6(m).SysHitRatio = 100; }, "hit-ratio-range", 0, 0, nullptr},
        {"hit ratio below 0", [=](ReportModel& m) { object6(m).SysHitRatio = -0.5; }, "hit-ratio-range", 3, 6,
         "System Hit Ratio is -0.50, outside 0 to 100 (below 0 when prefetch reads more pages than the get pages "
         "ask for)"},
        {"zero elapsed time", [](ReportModel& m) { m.SysInfo.ElapsedTime = "00:00:00"; }, "elapsed-time", 0, 0,
         "the elapsed time \"00:00:00\" is no time at all: every per-second figure (RIO/Sec, WIO/Sec, Total I/Os "
         "per second) is meaningless"},
        {"no elapsed time", [](ReportModel& m) { m.SysInfo.ElapsedTime = ""; }, "elapsed-time", 0, 0,
         "the report gives no elapsed time: every per-second figure (RIO/Sec, WIO/Sec, Total I/Os per second) is "
         "meaningless"},
        {"one second", [](ReportModel& m) { m.SysInfo.ElapsedTime = "00:00:01"; }, "elapsed-time", 0, 0, nullptr},
        {"pool size not simulated", [=](ReportModel& m) { bp1(m).VPSize = 801; }, "simulation-pool-size", 3, 0,
         "simulation 1: A simulation size must match original Pool Size. One of the simulated sizes should be 1001"},
        {"hit ratio falls 0.06", [=](ReportModel& m) { risingSimulation(m).Detail8[3] = 51.94; },
         "simulation-hit-ratio-falls", 3, 0,
         "simulation 1: the system hit ratio falls from 52.00 at 2,000 buffers to 51.94 at 3,000 buffers"},
        {"hit ratio falls 0.04", [=](ReportModel& m) { risingSimulation(m).Detail8[3] = 51.96; },
         "simulation-hit-ratio-falls", 0, 0, nullptr},
        {"sizes listed largest first",
         [=](ReportModel& m) {
             PoolSimRecord& slot = risingSimulation(m);
             for (std::size_t k = 1; k <= 8; ++k) slot.SimPoolSize[k] = static_cast<std::int32_t>(1000 * (9 - k));
             for (std::size_t k = 1; k <= 8; ++k) slot.Detail8[k] = 60.0 - static_cast<double>(k);
         },
         "simulation-hit-ratio-falls", 0, 0, nullptr},
    };
    for (const auto& c : cases) {
        ReportModel model = Consistent();
        c.spoil(model);
        const auto found = FindingsOf(model, c.check);
        if (c.text == nullptr) {
            EXPECT_TRUE(found.empty()) << c.what << ": " << FindingLine(found.front());
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << c.what;
        const DataFinding& finding = found.front();
        EXPECT_EQ(finding.Pool, c.pool) << c.what;
        EXPECT_EQ(finding.PoolName, c.pool ? model.Pools(c.pool).PoolName.Trimmed() : "") << c.what;
        EXPECT_EQ(finding.Object, c.object ? model.Objects(c.object).ObjectName.Trimmed() : "") << c.what;
        EXPECT_EQ(finding.Text, c.text) << c.what;
    }
}

// Every counter at -999,999,999: every pool and object says so, the first
// ten counters listed and the rest counted.
TEST(DataChecks, CountersOfMinusNineHundredMillionAreFound) {
    ReportModel model = GenerateReport(test::SmallPlan());
    for (ActivityBlock* block : {&model.Pools(1).Activity, &model.Objects(1).Activity})
        for (int position = 1; position <= ActivityPositions; ++position)
            if (const ActivityFieldRef field = ActivityField(*block, position); field.Integer)
                *field.Integer = -999999999;
    const auto negative = FindingsOf(model, "negative-counters");
    ASSERT_EQ(negative.size(), 2u);
    EXPECT_EQ(negative.front().Text.rfind("negative figures: Get Pages -999,999,999, counter 2 -999,999,999, ", 0), 0u);
    EXPECT_NE(negative.front().Text.find(" and "), std::string::npos) << "more than ten are counted, not listed";
}

}  // namespace
}  // namespace kov
