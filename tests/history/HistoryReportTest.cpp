// kovgraph-report --history: adding reports as a DBA runs it, the list, and
// a trend read from the database equal to the trend of the same files.

#include <gtest/gtest.h>

#include "history/HistoryFixtures.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

class HistoryReportRun : public ::testing::Test {
protected:
    // Four hourly reports of the small system; BP1 grows from the third on.
    void SetUp() override {
        for (int hour = 10; hour < 14; ++hour) {
            SamplePlan plan = test::SmallPlan();
            plan.Seed = 7 + static_cast<std::uint64_t>(hour);
            plan.CollectionDate = "2026-11-30";
            plan.CollectionTime = std::to_string(hour) + ":00:00";
            if (hour >= 12) plan.Pools[2].VPSize = 1200;
            reports_.push_back(test::WriteLines(folder_.Path("r" + std::to_string(hour) + ".sta"),
                                                test::StatLines(GenerateReport(plan))));
        }
        std::vector<std::string> cut = test::StatLines(GenerateReport(test::SmallPlan()));
        cut.resize(cut.size() / 2);
        cut.back().resize(20);
        broken_ = test::WriteLines(folder_.Path("broken.sta"), cut);
        database_ = folder_.Path("history.db");
    }

    test::ReportRun Run(const std::string& arguments) { return test::RunReportProgram(folder_, arguments); }
    std::string Files(std::initializer_list<int> which) const {
        std::string files;
        for (int r : which) files += " '" + reports_[r] + "'";
        return files;
    }

    test::TempFolder folder_;
    std::vector<std::string> reports_;
    std::string broken_;
    std::string database_;
};

TEST_F(HistoryReportRun, AddingSaysWhatWasStoredSkippedAndLeftOut) {
    const std::string db = "--history '" + database_ + "'";
    const struct {
        std::string Arguments;
        int Status;
        std::vector<std::string> OutHas;
        std::string ErrorHas;
    } steps[] = {
        {db + " --add" + Files({0, 1}),
         0,
         {"Added " + reports_[0] + " (SYSA/DB2P 2026-11-30 10:00:00)\n", "Added " + reports_[1],
          "2 reports added, 0 already stored, 0 left out\n"},
         ""},
        {db + " --add" + Files({1, 2}),
         0,
         {"Skipped " + reports_[1] + ": SYSA/DB2P 2026-11-30 11:00:00 is already stored\n", "Added " + reports_[2],
          "1 report added, 1 already stored, 0 left out\n"},
         ""},
        {db + " --add '" + broken_ + "'" + Files({3}),
         1,
         {"Added " + reports_[3], "1 report added, 0 already stored, 1 left out\n"},
         "'" + broken_ + "' was not read to its end and is not stored:\n  "},
        {db + " --list", 0, {"SYSA/DB2P        4  2026-11-30 10:00:00  2026-11-30 13:00:00\n"}, ""},
        {"--history '" + broken_ + "' --add" + Files({0}), 1, {}, broken_ + " is not an SQLite database"},
        {"--history '" + folder_.Path("missing.db") + "' --list", 1, {}, "There is no history database"},
        {db, 2, {}, "--add FILE..., --list or --trend"},
        {db + " --trend" + Files({0}), 2, {}, "--history"},
        {"--add" + Files({0}), 2, {}, "--history"},
        {db + " --list --add" + Files({0}), 2, {}, "excludes"},
        {db + " --add", 2, {}, "--add"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Arguments);
        const test::ReportRun run = Run(step.Arguments);
        EXPECT_EQ(run.status, step.Status) << run.err;
        for (const std::string& text : step.OutHas) EXPECT_NE(run.out.find(text), std::string::npos) << run.out;
        EXPECT_NE(run.err.find(step.ErrorHas), std::string::npos) << run.err;
        if (step.Status == 2) {
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_EQ(test::QueryNumber(database_, "SELECT count(*) FROM report"), 4);
}

TEST_F(HistoryReportRun, ATrendFromTheDatabaseEqualsTheTrendOfTheSameFiles) {
    // Stored out of order, in two runs.
    ASSERT_EQ(Run("--history '" + database_ + "' --add" + Files({2, 0})).status, 0);
    ASSERT_EQ(Run("--history '" + database_ + "' --add" + Files({3, 1})).status, 0);
    const std::vector<std::string> choices = {
        "--json",
        "",
        "--json --system SYSA/DB2P --from 2026-11-30 --to 2026-11-30",
        "--json --system SYSA",
        "--json --from 2026-12-01",
        "--system SYSB/DB2P",
    };
    for (const std::string& choice : choices) {
        SCOPED_TRACE(choice);
        const test::ReportRun fromFiles = Run("--trend " + choice + Files({0, 1, 2, 3}));
        const test::ReportRun fromHistory = Run("--trend " + choice + " --history '" + database_ + "'");
        EXPECT_EQ(fromHistory.status, 0) << fromHistory.err;
        EXPECT_EQ(fromHistory.status, fromFiles.status);
        EXPECT_EQ(fromHistory.out, fromFiles.out);
        EXPECT_EQ(fromHistory.err, "");
    }
    // The size change of BP1 from the third report is there to be compared.
    EXPECT_NE(Run("--trend --json --history '" + database_ + "'").out.find("1,200"), std::string::npos);
}

}  // namespace
}  // namespace kov
