// kovgraph-report --compare run as a DBA runs it: exit status, messages and
// the document's shape.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using json = nlohmann::json;

struct ReportRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CompareReportRun : public ::testing::Test {
protected:
    CompareReportRun() {
        before_ = test::WriteLines(folder_.Path("before.sta"), test::StatLines(GenerateReport(test::SmallPlan())));
        SamplePlan later = test::SmallPlan();
        later.ElapsedTime = "02:00:00";
        later.Pools.pop_back();
        after_ = test::WriteLines(folder_.Path("after.sta"), test::StatLines(GenerateReport(later)));
    }

    ReportRun Run(const std::string& arguments) {
        const std::string out = folder_.Path("stdout.txt");
        const std::string err = folder_.Path("stderr.txt");
        const std::string command =
            std::string("'") + KOVGRAPH_REPORT_EXE + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWhole(out), ReadWhole(err)};
    }

    test::TempFolder folder_;
    std::string before_, after_;
};

TEST_F(CompareReportRun, ComparesTwoReportsAsJsonWithPerSecondCountsAndNullPercentFromZero) {
    const ReportRun run = Run("--compare '" + before_ + "' '" + after_ + "' --json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc["before"]["elapsedSeconds"], 3600);
    EXPECT_EQ(doc["after"]["elapsedSeconds"], 7200);
    ASSERT_EQ(doc["warnings"].size(), 1u);
    EXPECT_NE(doc["warnings"][0].get<std::string>().find("more than 10 %"), std::string::npos);
    EXPECT_EQ(doc["poolsOnlyBefore"], json::array({"BP32K"}));
    EXPECT_NE(std::find(doc["perSecond"]["poolFigures"].begin(), doc["perSecond"]["poolFigures"].end(), "Get Pages"),
              doc["perSecond"]["poolFigures"].end());
    // Same counts over twice the time: every per-second figure halves.
    const json& getPages = doc["pools"][0]["figures"]["Get Pages"];
    EXPECT_DOUBLE_EQ(getPages["after"].get<double>() * 2, getPages["before"].get<double>());
    EXPECT_DOUBLE_EQ(getPages["changePct"].get<double>(), -50.0);
    for (const json& pool : doc["pools"])
        for (const auto& [name, figure] : pool["figures"].items()) {
            ASSERT_TRUE(figure["before"].is_number()) << name;
            EXPECT_TRUE(figure["changePct"].is_null() == (figure["before"].get<double>() == 0)) << name;
        }
}

TEST_F(CompareReportRun, ExitStatusNamesTheReportThatWasNotRead) {
    const std::string missing = folder_.Path("missing.sta");
    const struct {
        std::string arguments;
        int status;
        std::string errorHas;
    } cases[] = {
        {"--compare '" + before_ + "' '" + missing + "'", 1, "the after report '" + missing + "' was not read"},
        {"--compare '" + missing + "' '" + after_ + "' --json", 1, "the before report '" + missing + "'"},
        {"--compare '" + before_ + "'", 2, "--compare"},
        {"--compare '" + before_ + "' '" + after_ + "' '" + after_ + "'", 2, "--compare"},
        {"'" + before_ + "' --compare '" + before_ + "' '" + after_ + "'", 2, "exactly two"},
        {"", 2, "STATFILE"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.arguments);
        const ReportRun run = Run(k.arguments);
        EXPECT_EQ(run.status, k.status);
        EXPECT_NE(run.err.find(k.errorHas), std::string::npos) << run.err;
        // A usage error prints nothing; a failed read still prints the comparison of what was read.
        EXPECT_EQ(run.out.empty(), k.status == 2);
    }
}

}  // namespace
}  // namespace kov
