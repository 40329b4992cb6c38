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
    test::ExpectProgramRuns(
        folder_,
        {
            // Twice as long an interval: compared all the same, with a warning; no change % from zero.
            {"--compare '" + before_ + "' '" + after_ + "'", 0, "",
             "Warning: The elapsed times differ by more than 10 %"},
            {"--compare '" + before_ + "' '" + after_ + "' --json", 0, "", "\"changePct\": null"},
            {"--compare '" + before_ + "' '" + missing + "'", 1, "the after report '" + missing + "' was not read"},
            {"--compare '" + missing + "' '" + after_ + "' --json", 1, "the before report '" + missing + "'"},
            {"--compare '" + before_ + "'", 2, "--compare"},
            {"--compare '" + before_ + "' '" + after_ + "' '" + after_ + "'", 2, "--compare"},
            {"'" + before_ + "' --compare '" + before_ + "' '" + after_ + "'", 2, "exactly two"},
            {"", 2, "STATFILE"},
        });
}

}  // namespace
}  // namespace kov
