// kovgraph-report --compare run as a DBA runs it: exit status and messages
// (the document itself is compared with its golden file).

#include <gtest/gtest.h>

#include <string>

#include "support/ReportFiles.h"

namespace kov {
namespace {

class CompareReportRun : public ::testing::Test {
protected:
    CompareReportRun() {
        before_ = test::WriteLines(folder_.Path("before.sta"), test::StatLines(GenerateReport(test::SmallPlan())));
        SamplePlan later = test::SmallPlan();
        later.ElapsedTime = "02:00:00";
        later.Pools.pop_back();
        after_ = test::WriteLines(folder_.Path("after.sta"), test::StatLines(GenerateReport(later)));
    }

    test::ReportRun Run(const std::string& arguments) { return test::RunReportProgram(folder_, arguments); }

    test::TempFolder folder_;
    std::string before_, after_;
};

TEST_F(CompareReportRun, ExitStatusNamesTheReportThatWasNotRead) {
    const std::string missing = folder_.Path("missing.sta");
    const struct {
        std::string arguments;
        int status;
        std::string errorHas, outHas;
    } cases[] = {
        // Twice as long an interval: compared all the same, with a warning; no change % from zero.
        {"--compare '" + before_ + "' '" + after_ + "'", 0, "", "Warning: The elapsed times differ by more than 10 %"},
        {"--compare '" + before_ + "' '" + after_ + "' --json", 0, "", "\"changePct\": null"},
        {"--compare '" + before_ + "' '" + missing + "'", 1, "the after report '" + missing + "' was not read"},
        {"--compare '" + missing + "' '" + after_ + "' --json", 1, "the before report '" + missing + "'"},
        {"--compare '" + before_ + "'", 2, "--compare"},
        {"--compare '" + before_ + "' '" + after_ + "' '" + after_ + "'", 2, "--compare"},
        {"'" + before_ + "' --compare '" + before_ + "' '" + after_ + "'", 2, "exactly two"},
        {"", 2, "STATFILE"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.arguments);
        const test::ReportRun run = Run(k.arguments);
        EXPECT_EQ(run.status, k.status);
        EXPECT_NE(run.err.find(k.errorHas), std::string::npos) << run.err;
        EXPECT_NE(run.out.find(k.outHas), std::string::npos) << run.out;
        // A usage error prints nothing; a failed read still prints the comparison of what was read.
        EXPECT_EQ(run.out.empty(), k.status == 2);
    }
}

}  // namespace
}  // namespace kov
