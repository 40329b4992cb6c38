// kovgraph-report --csv: every grid as a CSV file that reads back, cell for
// cell, as the grid the window shows.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "analysis/GeneralInfo.h"
#include "analysis/ObjectViews.h"
#include "analysis/ScanCost.h"
#include "analysis/TuningRules.h"
#include "report/CsvExport.h"
#include "support/CsvReader.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

namespace fs = std::filesystem;

void ExpectReadsAsGrid(const test::CsvRecords& records, const StringTable& grid) {
    ASSERT_EQ(records.size(), grid.Rows.size() + 1);
    EXPECT_EQ(records[0], grid.Headings);
    for (std::size_t r = 0; r < grid.Rows.size(); ++r) {
        EXPECT_EQ(records[r + 1].size(), grid.Headings.size()) << "row " << r;
        test::ExpectFieldsAreCells(records[r + 1], grid.Rows[r]);
    }
}

class CsvExport : public ::testing::Test {
protected:
    CsvExport() {
        AddSimulation(model_, 3, 16, 51);
        stat_ = test::WriteLines(folder_.Path("report.sta"), test::StatLines(model_));
    }

    test::TempFolder folder_;
    ReportModel model_ = GenerateReport(test::SmallPlan());
    std::string stat_;
};

TEST_F(CsvExport, EveryFileReadsBackAsItsGrid) {
    const std::vector<CsvFile> files = CsvFiles(model_);
    std::vector<std::string> names;
    for (const CsvFile& file : files) names.push_back(file.Name);
    std::vector<std::string> expected = {"pools.csv", "scan-cost.csv"};
    const char* pools[] = {"pool-01-BP0-", "pool-02-BP10-", "pool-03-BP1-", "pool-04-BP2-", "pool-05-BP32K-"};
    for (const char* pool : pools)
        for (const char* grid : {"objects.csv", "tuning.csv", "scan-cost.csv"})
            expected.push_back(pool + std::string(grid));
    ASSERT_EQ(names, expected);

    ExpectReadsAsGrid(test::ReadCsv(files[0].Text), PoolGrid(model_));
    ExpectReadsAsGrid(test::ReadCsv(files[1].Text), PopulateScanCostsForSystem(model_, 1)->List);
    for (int p = 1; p <= model_.PoolCount(); ++p) {
        SCOPED_TRACE(p);
        const std::size_t first = 2 + 3 * static_cast<std::size_t>(p - 1);
        ExpectReadsAsGrid(test::ReadCsv(files[first].Text), ObjectGrid(model_, p));
        StringTable advice{{"Intent", "Advice"}, {}};
        for (const auto& [intent, name] :
             {std::pair{UsageIntent::Random, "Random"}, std::pair{UsageIntent::Sequential, "Sequential"}})
            for (const std::string& line : EvaluatePoolRules(model_, p, intent)) advice.Rows.push_back({name, line});
        EXPECT_FALSE(advice.Rows.empty());
        ExpectReadsAsGrid(test::ReadCsv(files[first + 1].Text), advice);
        ExpectReadsAsGrid(test::ReadCsv(files[first + 2].Text), PopulateScanCostsForPool(model_, p)->List);
    }
}

TEST_F(CsvExport, APoolNameThatIsNoFileNameIsWrittenWithUnderscores) {
    model_.Pools(1).PoolName = "B/\xC9 P";
    EXPECT_EQ(CsvFiles(model_)[2].Name, "pool-01-B___P-objects.csv");
}

TEST_F(CsvExport, TheProgramWritesEveryFileCompleteOrSaysWhyNot) {
    const std::string out = folder_.Path("new/deeper");
    ASSERT_EQ(test::RunReportProgram(folder_, "--csv '" + out + "' '" + stat_ + "'").status, 0);
    std::set<std::string> written;
    for (const auto& entry : fs::directory_iterator(out)) written.insert(entry.path().filename().string());
    std::set<std::string> expected;
    for (const CsvFile& file : CsvFiles(model_)) {
        expected.insert(file.Name);
        EXPECT_EQ(test::ReadWhole(out + "/" + file.Name), file.Text) << file.Name;
    }
    EXPECT_EQ(written, expected) << "no temporary file is left";

    std::ofstream(folder_.Path("plain-file")) << "x";
    const struct {
        std::string arguments;
        int status;
        const char* says;
    } cases[] = {
        {"--csv '" + folder_.Path("plain-file/sub") + "' '" + stat_ + "'", 1, "cannot make the folder"},
        {"--csv '" + folder_.Path("none") + "' '" + folder_.Path("none.sta") + "'", 1, "no CSV file written"},
        {"--json --csv '" + folder_.Path("none") + "' '" + stat_ + "'", 2, "excludes"},
        {"--csv '" + folder_.Path("none") + "'", 2, "STATFILE"},
        {"--csv '' '" + stat_ + "'", 2, "DIR is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const test::ReportRun run = test::RunReportProgram(folder_, c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(folder_.Path("none")));
}

}  // namespace
}  // namespace kov
