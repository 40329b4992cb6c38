// kovgraph-report --advise-sizes run as a DBA runs it on the samples: exit
// status, usage errors and a document that holds together.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/ReportFiles.h"

namespace kov {
namespace {

const std::string kSamples = std::string("'") + KOVGRAPH_SAMPLES + "/SYSA_DB2P_20261130";
const std::string kSampleSet =
    kSamples + ".sta' " + kSamples + "_BP0.sim' " + kSamples + "_BP1.sim' " + kSamples + "_BP2.sim'";

class SizeAdviceRun : public ::testing::Test {
protected:
    test::ReportRun Run(const std::string& arguments) { return test::RunReportProgram(folder_, arguments); }
    test::TempFolder folder_;
};

TEST_F(SizeAdviceRun, ExitStatusAndUsage) {
    test::ExpectProgramRuns(
        folder_,
        {
            {"--advise-sizes " + kSampleSet, 0, "", "BP1 stays at 100,000 buffers (390.6 MB)"},
            {"--advise-sizes --budget-mb 0 " + kSampleSet, 0, "",
             "No choice of simulated sizes fits the budget: the smallest sizes are recommended."},
            {"--advise-sizes " + kSamples + ".sta'", 0, "", "No simulation report was loaded."},
            {"--advise-sizes '" + folder_.Path("missing.sta") + "'", 1, "was not read to its end", "Size advice"},
            {"--advise-sizes --budget-mb -5 " + kSampleSet, 2, "the budget is a number of MB, 0 or more: -5", ""},
            {"--advise-sizes --budget-mb lots " + kSampleSet, 2, "the budget is a number of MB", ""},
            {"--budget-mb 100 " + kSampleSet, 2, "--budget-mb requires --advise-sizes", ""},
            {"--advise-sizes --csv '" + folder_.Path("out") + "' " + kSampleSet, 2, "excludes", ""},
        });
}

// With twice the memory every pool may grow: the document's totals are the
// sums of its pools, and each recommendation is one of the pool's points.
TEST_F(SizeAdviceRun, DoubledBudgetDocumentAddsUp) {
    const test::ReportRun run = Run("--advise-sizes --budget-mb 1562.5 --json " + kSampleSet);
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["budgetMB"], 1562.5);
    EXPECT_EQ(doc["currentMB"], 781.25);
    ASSERT_EQ(doc["pools"].size(), 3U);
    double recommendedMB = 0, recommendedRate = 0;
    for (const nlohmann::json& pool : doc["pools"]) {
        SCOPED_TRACE(pool["name"].get<std::string>());
        recommendedMB += pool["recommendedMB"].get<double>();
        recommendedRate += pool["recommendedReadIORate"].get<double>();
        EXPECT_GT(pool["recommendedSize"].get<int>(), pool["currentSize"].get<int>());
        bool found = false;
        for (const nlohmann::json& point : pool["points"])
            found = found ||
                    (point["size"] == pool["recommendedSize"] && point["readIORate"] == pool["recommendedReadIORate"]);
        EXPECT_TRUE(found);
        EXPECT_TRUE(pool["points"][0]["savedPerMB"].is_null());
    }
    EXPECT_DOUBLE_EQ(doc["recommendedMB"].get<double>(), recommendedMB);
    EXPECT_LE(recommendedMB, 1562.5);
    EXPECT_DOUBLE_EQ(doc["readIORate"]["recommended"].get<double>(), recommendedRate);
    EXPECT_LT(recommendedRate, doc["readIORate"]["current"].get<double>());
    EXPECT_TRUE(doc["skipped"].empty());
}

}  // namespace
}  // namespace kov
