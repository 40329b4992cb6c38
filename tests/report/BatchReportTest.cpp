// kovgraph-report run as a DBA runs it: files in, exit status and document out.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using json = nlohmann::json;

class BatchReport : public ::testing::Test {
protected:
    BatchReport() {
        AddSimulation(source_, 3, 16, 51);  // BP1
        AddSimulation(source_, 1, 8, 52);   // BP0
        stat_ = test::WriteLines(folder_.Path("report.sta"), test::StatLines(source_));
        sim1_ = test::WriteLines(folder_.Path("bp1.sim"), test::SimLines(source_, 1));
        sim2_ = test::WriteLines(folder_.Path("bp0.sim"), test::SimLines(source_, 2));
    }

    test::ReportRun Report(const std::string& arguments) { return test::RunReportProgram(folder_, arguments); }

    test::TempFolder folder_;
    ReportModel source_ = GenerateReport(test::SmallPlan());
    std::string stat_, sim1_, sim2_;
};

TEST_F(BatchReport, ExitStatusTellsHowTheReadEnded) {
    const std::string refused = test::WriteBytes(folder_.Path("refused.txt"), "NOT A REPORT\r\n");
    const std::string consolidated = test::WriteLines(folder_.Path("all.txt"), test::ConsolidatedLines(source_));

    const struct {
        const char* what;
        std::string arguments;
        int status;
        const char* firstTitle;    // nullptr: no messages
        const char* firstSimFile;  // nullptr: no simulations
    } cases[] = {
        {"statistics refused", "--json '" + refused + "'", 1, "File IO", nullptr},
        {"statistics missing", "--json '" + folder_.Path("none.sta") + "'", 1, "Read Stat Data File", nullptr},
        {"simulation refused", "--json '" + stat_ + "' '" + refused + "'", 0, "File IO", ""},
        {"consolidated file", "--json --intent S --radius 2 '" + consolidated + "'", 0, nullptr,
         "Consolidated_SIM_BP1_1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::ReportRun run = Report(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        const json doc = json::parse(run.out, nullptr, false);
        ASSERT_FALSE(doc.is_discarded()) << run.out;
        EXPECT_EQ(doc["statsLoaded"], c.status == 0);
        if (c.firstTitle != nullptr) {
            ASSERT_FALSE(doc["messages"].empty());
            EXPECT_EQ(doc["messages"][0]["title"], c.firstTitle);
        } else {
            EXPECT_EQ(doc["messages"], json::array());
        }
        if (c.firstSimFile != nullptr) {
            ASSERT_FALSE(doc["simulations"].empty());
            EXPECT_EQ(doc["simulations"][0]["number"], 1);
            EXPECT_EQ(doc["simulations"][0]["fileName"], c.firstSimFile);
        } else {
            EXPECT_EQ(doc["simulations"], json::array());
        }
    }
}

// Each byte that is no part of a UTF-8 character becomes U+FFFD; the rest of
// the name, and of the document, stays as it was.
TEST_F(BatchReport, ANameThatIsNotUtf8HasItsInvalidBytesReplaced) {
    std::vector<std::string> lines = test::StatLines(source_);
    lines[2] = test::Overwrite(lines[2], 21, "BP\xC9\xFF\xC3\xA9 ");
    const test::ReportRun run = Report("--json '" + test::WriteLines(folder_.Path("odd.sta"), lines) + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc["pools"][0]["name"], "BP\uFFFD\uFFFD\u00E9");
    EXPECT_EQ(doc["poolGrid"]["rows"][0][0], "BP\uFFFD\uFFFD\u00E9  ");
    EXPECT_EQ(doc["pools"][1]["name"], source_.Pools(2).PoolName.Trimmed());
}

TEST_F(BatchReport, EverySimulationSlotCarriesBothIntentsClusterPages) {
    std::ofstream(folder_.Path("Rand.acc"), std::ios::binary) << "0\r\n";
    std::ofstream(folder_.Path("Seq.acc"), std::ios::binary) << "101\r\n";  // no object reaches it
    const test::ReportRun run = Report("--json --intent S --radius 0.4 --acc-dir '" + folder_.Path("") + "' '" + stat_ +
                                       "' '" + sim1_ + "' '" + sim2_ + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc["messages"], json::array());
    for (const std::size_t pool : {0u, 2u}) {
        SCOPED_TRACE(pool);
        const json& clusters = doc["pools"][pool]["simulations"][0]["clusters"];
        EXPECT_EQ(clusters["defaultIntent"], "S");
        EXPECT_EQ(clusters["radius"], 0.4);
        EXPECT_EQ(clusters["sizePoint"], 1);
        // Each page's threshold from its file (the pages themselves: the golden files).
        EXPECT_EQ(clusters["S"]["threshold"], 101);
        EXPECT_EQ(clusters["S"]["result"], -1) << "no object reaches it";
        EXPECT_EQ(clusters["R"]["threshold"], 0);
        EXPECT_GE(clusters["R"]["result"], 1) << clusters["R"].dump();
    }

    const test::ReportRun missing =
        Report("--json --acc-dir '" + folder_.Path("none") + "' '" + stat_ + "' '" + sim1_ + "'");
    const json withoutThresholds = json::parse(missing.out);
    ASSERT_EQ(withoutThresholds["messages"].size(), 2u) << "one per intent of the one slot";
    EXPECT_EQ(withoutThresholds["messages"][0],
              (json{{"title", "Cluster Analysis"},
                    {"text", "Could not open " + folder_.Path("none") + "/Rand.acc for threshold input"},
                    {"icon", "critical"}}));
}

// The findings name their check, pool and object, and the text report lists
// them (the advice's explanations are in the golden files).
TEST_F(BatchReport, ReportsTheDataChecks) {
    ActivityBlock& object = source_.Objects(6).Activity;  // in BP1
    object.ReadIOs = 2 * (object.ReadIOsByType[1] + object.ReadIOsByType[2]) + 10;
    source_.Pools(3).VPSize += 1;  // no longer among the simulated sizes
    const std::string stat = test::WriteLines(folder_.Path("spoiled.sta"), test::StatLines(source_));
    const test::ReportRun run = Report("--json '" + stat + "' '" + sim1_ + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json checks = json::parse(run.out)["dataChecks"];
    ASSERT_EQ(checks.size(), 3u) << checks.dump(1);
    EXPECT_EQ(checks[0]["check"], "read-ios-breakdown");
    EXPECT_EQ(checks[0]["pool"], "BP1");
    EXPECT_EQ(checks[0]["object"], source_.Objects(6).ObjectName.TrimmedString());
    EXPECT_EQ(checks[1]["check"], "pool-below-objects") << "the object's read I/Os now exceed the pool's";
    EXPECT_EQ(checks[2]["check"], "simulation-pool-size");
    EXPECT_TRUE(checks[2]["object"].is_null());
    EXPECT_EQ(checks[2]["text"], "simulation 1 (" + sim1_ +
                                     "): A simulation size must match original Pool Size. One of the simulated "
                                     "sizes should be " +
                                     std::to_string(source_.Pools(3).VPSize + source_.Pools(3).HPSize));

    const test::ReportRun text = Report("'" + stat + "' '" + sim1_ + "'");
    EXPECT_NE(text.out.find("\nData checks: 3\n  [read-ios-breakdown] BP1 "), std::string::npos) << text.out;
}

TEST_F(BatchReport, UsageErrorsPrintNothingOnStandardOutput) {
    for (const std::string& arguments :
         {std::string("--json"), std::string(""), "--radius=-1 '" + stat_ + "'", "--radius abc '" + stat_ + "'",
          "--radius inf '" + stat_ + "'", "--intent X '" + stat_ + "'", "--no-such-option '" + stat_ + "'"}) {
        SCOPED_TRACE(arguments);
        const test::ReportRun run = Report(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

}  // namespace
}  // namespace kov
