// kovgraph-report --trend run as a DBA runs it: exit status, messages, and
// the document's figures against the compare's own document.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "support/ReportFiles.h"

namespace kov {
namespace {

class TrendReportRun : public ::testing::Test {
protected:
    TrendReportRun() {
        const struct {
            const char* file;
            const char* date;
            const char* time;
            std::int32_t bp1Size;
            double missFactor;
        } reports[] = {
            {"c.sta", "2026-12-01", "10:00:00", 1600, 0.6},
            {"a.sta", "2026-11-30", "10:00:00", 800, 1.0},
            {"b.sta", "2026-11-30", "11:00:00", 800, 1.3},
        };
        for (const auto& r : reports)
            files_.push_back(test::WriteLines(folder_.Path(r.file), test::StatLines(GenerateReport(test::DriftedPlan(
                                                                        r.date, r.time, r.missFactor, r.bp1Size)))));
    }

    test::ReportRun Run(const std::string& arguments) { return test::RunReportProgram(folder_, arguments); }
    std::string All() const { return "'" + files_[0] + "' '" + files_[1] + "' '" + files_[2] + "'"; }

    test::TempFolder folder_;
    std::vector<std::string> files_;  // c, a, b: against their collection order
};

TEST_F(TrendReportRun, ExitStatusSaysWhetherEveryReportIsInTheTrend) {
    const std::string missing = "'" + folder_.Path("missing.sta") + "'";
    const std::string twice = "'" + files_[1] + "'";
    test::ExpectProgramRuns(
        folder_,
        {
            {"--trend " + All(), 0, "", "Trend of SYSA/DB2P: 3 reports, 2026-11-30 10:00:00 to 2026-12-01 10:00:00"},
            {"--trend " + All(), 0, "", "2026-12-01 10:00:00  VP size 800 -> 1,600"},
            {"--trend --json " + All(), 0, "", "\"text\": \"VP size 800 -> 1,600\""},
            {"--trend --system sysa --from 2026-11-30 --to 11/30/2026 " + All(), 0, "", "2 reports"},
            {"--trend --system SYSB " + All(), 0, "", "No report is in the trend."},
            {"--trend " + All() + " " + missing, 1, "missing.sta' is left out of the trend", "3 reports"},
            {"--trend --json " + All() + " " + twice, 1, "is in the trend already", "\"leftOut\": [\n    {"},
            {"--trend", 2, "--trend", ""},
            {"--trend --from yesterday " + All(), 2, "not a date", ""},
            {"--system SYSA " + All(), 2, "--system", ""},
            {"--trend --compare " + All(), 2, "--compare", ""},
            {"--trend --advise-sizes " + All(), 2, "--advise-sizes", ""},
        });
}

TEST_F(TrendReportRun, DocumentHoldsTheComparesFiguresForEveryConsecutivePair) {
    const test::ReportRun trendRun = Run("--trend --json " + All());
    ASSERT_EQ(trendRun.status, 0) << trendRun.err;
    const nlohmann::json trend = nlohmann::json::parse(trendRun.out);
    ASSERT_EQ(trend["systems"].size(), 1u);
    const nlohmann::json& system = trend["systems"][0];
    EXPECT_EQ(system["system"], "SYSA/DB2P");
    EXPECT_EQ(trend["leftOut"], nlohmann::json::array());
    ASSERT_EQ(system["reports"].size(), 3u);
    const std::string inOrder[] = {files_[1], files_[2], files_[0]};
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_EQ(system["reports"][r]["file"], inOrder[r]);
        EXPECT_EQ(system["reports"][r]["elapsedSeconds"], 3600);
    }
    ASSERT_EQ(system["pools"].size(), 5u);
    for (const nlohmann::json& pool : system["pools"]) {
        EXPECT_EQ(pool["figures"].size(), 14u);
        for (const auto& [name, series] : pool["figures"].items()) EXPECT_EQ(series.size(), 3u) << name;
        EXPECT_TRUE(pool["advice"].contains("R") && pool["advice"].contains("S"));
    }
    for (std::size_t r = 0; r + 1 < 3; ++r) {
        const test::ReportRun compareRun = Run("--compare '" + inOrder[r] + "' '" + inOrder[r + 1] + "' --json");
        ASSERT_EQ(compareRun.status, 0) << compareRun.err;
        const nlohmann::json compare = nlohmann::json::parse(compareRun.out);
        for (const nlohmann::json& pool : compare["pools"]) {
            const nlohmann::json* trendPool = nullptr;
            for (const nlohmann::json& p : system["pools"])
                if (p["name"] == pool["name"]) trendPool = &p;
            ASSERT_NE(trendPool, nullptr);
            for (const auto& [name, figure] : pool["figures"].items()) {
                SCOPED_TRACE(pool["name"].get<std::string>() + " " + name + " report " + std::to_string(r));
                EXPECT_EQ((*trendPool)["figures"][name][r], figure["before"]);
                EXPECT_EQ((*trendPool)["figures"][name][r + 1], figure["after"]);
            }
        }
    }
}

}  // namespace
}  // namespace kov
