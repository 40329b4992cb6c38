// kovgraph-report --compare run as a DBA runs it: exit status and messages
// (the document itself is compared with its golden file).

#include <gtest/gtest.h>

#include <string>

#include "support/ReportFiles.h"

namespace kov {
namespace {

TEST(CompareReportRun, ExitStatusNamesTheReportThatWasNotRead) {
    test::TempFolder folder;
    const std::string before =
        test::WriteLines(folder.Path("before.sta"), test::StatLines(GenerateReport(test::SmallPlan())));
    SamplePlan later = test::SmallPlan();
    later.ElapsedTime = "02:00:00";
    later.Pools.pop_back();
    const std::string after = test::WriteLines(folder.Path("after.sta"), test::StatLines(GenerateReport(later)));
    const std::string missing = folder.Path("missing.sta");
    test::ExpectProgramRuns(
        folder,
        {
            // Twice as long an interval: compared all the same, with a warning; no change % from zero.
            {"--compare '" + before + "' '" + after + "'", 0, "",
             "Warning: The elapsed times differ by more than 10 %"},
            {"--compare '" + before + "' '" + after + "' --json", 0, "", "\"changePct\": null"},
            {"--compare '" + before + "' '" + missing + "'", 1, "the after report '" + missing + "' was not read"},
            {"--compare '" + missing + "' '" + after + "' --json", 1, "the before report '" + missing + "'"},
            {"--compare '" + before + "'", 2, "--compare"},
            {"--compare '" + before + "' '" + after + "' '" + after + "'", 2, "--compare"},
            {"'" + before + "' --compare '" + before + "' '" + after + "'", 2, "exactly two"},
            {"", 2, "STATFILE"},
        });
}

}  // namespace
}  // namespace kov
