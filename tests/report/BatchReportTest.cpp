// kovgraph-report run as a DBA runs it: files in, exit status and document out.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/SimGraphs.h"
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

class BatchReport : public ::testing::Test {
protected:
    BatchReport() {
        AddSimulation(source_, 3, 16, 51);  // BP1
        AddSimulation(source_, 1, 8, 52);   // BP0
        stat_ = test::WriteLines(folder_.Path("report.sta"), test::StatLines(source_));
        sim1_ = test::WriteLines(folder_.Path("bp1.sim"), test::SimLines(source_, 1));
        sim2_ = test::WriteLines(folder_.Path("bp0.sim"), test::SimLines(source_, 2));
    }

    ReportRun Report(const std::string& arguments) {
        const std::string out = folder_.Path("stdout.txt");
        const std::string err = folder_.Path("stderr.txt");
        const std::string command =
            std::string("'") + KOVGRAPH_REPORT_EXE + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWhole(out), ReadWhole(err)};
    }

    test::TempFolder folder_;
    ReportModel source_ = GenerateReport(test::SmallPlan());
    std::string stat_, sim1_, sim2_;
};

json SizesOf(const ReportModel& model, int pool) {
    json sizes = json::array();
    const int simNo = model.Pools(pool).Sim(1).SimulationNo;
    for (int k = 1; k <= model.Simulations(simNo).SizeCount; ++k)
        sizes.push_back(model.Pools(pool).Sim(1).SimPoolSize[static_cast<std::size_t>(k)]);
    return sizes;
}

TEST_F(BatchReport, DescribesAGoodReadAsJson) {
    const ReportRun run = Report("--json '" + stat_ + "' '" + sim1_ + "' '" + sim2_ + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc["statsFile"], stat_);
    EXPECT_EQ(doc["messages"], json::array());
    EXPECT_EQ(doc["statsLoaded"], true);
    EXPECT_EQ(doc["simulationsLoaded"], true);
    EXPECT_EQ(doc["header"], (json{{"System", "SYSA"},
                                   {"Sub System", "DB2P"},
                                   {"DB2 Version", "8.1 "},
                                   {"DS Group", "DSGP"},
                                   {"Date", "30-NOV-26 "},
                                   {"Time", "10:00:00"},
                                   {"Elapsed Time", "01:00:00"}}));
    EXPECT_EQ(doc["simulations"], (json{{{"number", 1}, {"fileName", sim1_}, {"poolName", "BP1"}, {"sizeCount", 16}},
                                        {{"number", 2}, {"fileName", sim2_}, {"poolName", "BP0"}, {"sizeCount", 8}}}));
    ASSERT_EQ(doc["pools"].size(), 5u);
    const char* names[] = {"BP0", "BP10", "BP1", "BP2", "BP32K"};
    for (int p = 1; p <= 5; ++p) {
        const json& pool = doc["pools"][static_cast<std::size_t>(p - 1)];
        EXPECT_EQ(pool["index"], p);
        EXPECT_EQ(pool["name"], names[p - 1]);
    }
    // Slots without their cluster pages, which have a test of their own.
    const auto slots = [&](std::size_t pool) {
        json list = doc["pools"][pool]["simulations"];
        for (json& slot : list)
            for (const char* page : {"charts", "objectDetails", "clusters"}) slot.erase(page);
        return list;
    };
    EXPECT_EQ(slots(2),
              (json{{{"slot", 1}, {"simulationNo", 1}, {"fileName", sim1_}, {"sizes", SizesOf(source_, 3)}}}));
    EXPECT_EQ(slots(0),
              (json{{{"slot", 1}, {"simulationNo", 2}, {"fileName", sim2_}, {"sizes", SizesOf(source_, 1)}}}));
    EXPECT_EQ(doc["pools"][1]["simulations"], json::array());
    for (int p = 1; p <= 5; ++p) {
        const PoolRecord& pool = source_.Pools(p);
        const json& grid = doc["pools"][static_cast<std::size_t>(p - 1)]["objectGrid"];
        EXPECT_EQ(grid["headings"].size(), 13u);
        const std::size_t objects =
            pool.FirstObject ? static_cast<std::size_t>(pool.LastObject - pool.FirstObject + 1) : 0;
        ASSERT_EQ(grid["rows"].size(), objects) << p;
        if (objects == 0) continue;
        const ObjectRecord& first = source_.Objects(pool.FirstObject);
        EXPECT_EQ(grid["rows"][0][1], first.ObjectName.Trimmed());
        EXPECT_EQ(grid["rows"][0][12], std::to_string(first.Activity.ReadIOsByType[4]));
    }
}

TEST_F(BatchReport, GraphicSummaryFollowsThePoolGridInFileOrder) {
    const ReportRun run = Report("--json '" + stat_ + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json doc = json::parse(run.out);
    const json& charts = doc["graphicSummary"];
    ASSERT_EQ(charts.size(), 11u);
    EXPECT_EQ(charts[0]["title"], "Buffer Pool Versus I/O");
    EXPECT_EQ(charts[10]["title"], "Buffer Pool Versus DynPF Pages Rd");
    const json& rows = doc["poolGrid"]["rows"];
    const json& io = charts[0]["points"];
    ASSERT_EQ(io.size(), rows.size());
    double low = 1e300, high = -1e300;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(io[r]["label"], rows[r][0]);  // as the cell shows it, blanks kept
        const double value = std::stod(rows[r][5].get<std::string>());
        EXPECT_EQ(io[r]["value"], value);
        low = std::min(low, value);
        high = std::max(high, value);
    }
    EXPECT_EQ(charts[0]["axis"], (json{{"min", low}, {"max", high}}));
}

TEST_F(BatchReport, ExitStatusTellsHowTheReadEnded) {
    std::vector<std::string> noEnv = test::StatLines(source_);
    noEnv[0] = "NOT A REPORT";
    const std::string refused = test::WriteLines(folder_.Path("refused.sta"), noEnv);
    std::vector<std::string> simNoEnv = test::SimLines(source_, 1);
    simNoEnv[0] = "NOT A REPORT";
    const std::string badSim = test::WriteLines(folder_.Path("bad.sim"), simNoEnv);
    std::vector<std::string> oddName = test::StatLines(source_);
    oddName[2] = test::Overwrite(oddName[2], 21, "BP\xC9\xFF    ");
    const std::string odd = test::WriteLines(folder_.Path("odd.sta"), oddName);
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
        {"simulation refused", "--json '" + stat_ + "' '" + badSim + "'", 0, "File IO", ""},
        {"consolidated file", "--json --intent S --radius 2 '" + consolidated + "'", 0, nullptr,
         "Consolidated_SIM_BP1_1"},
        {"pool name that is not UTF-8", "--json '" + odd + "'", 0, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ReportRun run = Report(c.arguments);
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

TEST_F(BatchReport, EverySimulationSlotCarriesBothIntentsClusterPages) {
    std::ofstream(folder_.Path("Rand.acc"), std::ios::binary) << "0\r\n";
    std::ofstream(folder_.Path("Seq.acc"), std::ios::binary) << "101\r\n";  // no object reaches it
    const ReportRun run = Report("--json --intent S --radius 0.4 --acc-dir '" + folder_.Path("") + "' '" + stat_ +
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
        EXPECT_EQ(clusters["S"],
                  (json{{"threshold", 101}, {"result", -1}, {"rows", {{"", "", ""}}}, {"members", json::object()}}));

        // Random, threshold 0: every object read at least once with a working
        // set is a member of exactly one cluster, the clusters running from
        // the largest working sets down.
        const json& random = clusters["R"];
        EXPECT_EQ(random["threshold"], 0);
        const int result = random["result"];
        ASSERT_GE(result, 1) << random.dump();
        ASSERT_EQ(random["rows"].size(), static_cast<std::size_t>(result));
        ASSERT_EQ(random["members"].size(), static_cast<std::size_t>(result));
        std::size_t members = 0;
        long previousSmallest = std::numeric_limits<long>::max();
        for (int m = 1; m <= result; ++m) {
            const json& row = random["rows"][static_cast<std::size_t>(m - 1)];
            EXPECT_EQ(row[0], std::to_string(m));
            const long smallest = std::stol(row[1].get<std::string>());
            const long largest = std::stol(row[2].get<std::string>());
            EXPECT_LT(largest, previousSmallest);
            previousSmallest = smallest;
            for (const json& member : random["members"][std::to_string(m)]) {
                const long workSet = std::stol(member[2].get<std::string>());
                EXPECT_TRUE(workSet >= smallest && workSet <= largest) << member.dump();
                ++members;
            }
        }
        const ReportModel& model = source_;
        const PoolRecord& source = model.Pools(pool == 0 ? 1 : 3);
        std::size_t expected = 0;
        for (int o = source.FirstObject; o <= source.LastObject; ++o)
            if (model.Objects(o).Activity.GetPages >= 1 && model.Objects(o).Sims.at(0).Detail5[1] >= 1) ++expected;
        EXPECT_EQ(members, expected);
    }

    const ReportRun text = Report("--radius 0.4 --acc-dir '" + folder_.Path("") + "' '" + stat_ + "' '" + sim1_ + "'");
    EXPECT_NE(text.out.find("Cluster analysis, Random, radius 0.4, size point 1, threshold 0: "), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("Cluster analysis, Sequential, radius 0.4, size point 1, threshold 101: not applicable"),
              std::string::npos);

    const ReportRun missing = Report("--json --acc-dir '" + folder_.Path("none") + "' '" + stat_ + "' '" + sim1_ + "'");
    const json withoutThresholds = json::parse(missing.out);
    ASSERT_EQ(withoutThresholds["messages"].size(), 2u) << "one per intent of the one slot";
    EXPECT_EQ(withoutThresholds["messages"][0],
              (json{{"title", "Cluster Analysis"},
                    {"text", "Could not open " + folder_.Path("none") + "/Rand.acc for threshold input"},
                    {"icon", "critical"}}));
}

// Points as the report prints them, from the engine's chart of the same read:
// each value as the chart writes it beside its point.
json PointsOf(const ChartData& chart) {
    json points = json::array();
    for (const ChartPoint& point : chart.Points) {
        json entry = {{"label", point.Label}, {"value", std::stod(point.ValueText)}};
        if (point.Object != 0) entry["object"] = point.Object;
        if (point.X) entry["x"] = *point.X;
        points.push_back(entry);
    }
    return points;
}

TEST_F(BatchReport, EverySimulationSlotCarriesItsSimGraphPage) {
    AddSimulation(source_, 4, 8, 53);  // BP2, a pool without objects
    const std::string sim3 = test::WriteLines(folder_.Path("bp2.sim"), test::SimLines(source_, 3));
    const ReportRun run = Report("--json '" + stat_ + "' '" + sim1_ + "' '" + sim2_ + "' '" + sim3 + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const json doc = json::parse(run.out);
    test::Session read;
    ASSERT_TRUE(read.OpenStats(stat_));
    for (const std::string& sim : {sim1_, sim2_, sim3}) read.AddSim(sim);

    for (const int p : {1, 3}) {
        SCOPED_TRACE(p);
        const json& slot = doc["pools"][static_cast<std::size_t>(p - 1)]["simulations"][0];
        const json& charts = slot["charts"];
        const std::pair<const char*, ChartData> expected[] = {
            {"Largest Max WorkSet", ChartLargestWorkSets(read.Model, p, 1)},
            {"Smallest Max WorkSet", ChartSmallestWorkSets(read.Model, p, 1)},
            {"Pool Size Versus System Hit Ratio", ChartPoolSizeHitRatio(read.Model, p, 1)},
            {"Pool Size Versus Read IO Rate", ChartPoolSizeReadIORate(read.Model, p, 1)},
            {"Objects With Largest Percentage Improvement", ChartLargestHitRatioGain(read.Model, p, 1)},
            {"Objects With Largest I/O Rate Reduction", ChartLargestIORateReduction(read.Model, p, 1)}};
        ASSERT_EQ(charts.size(), std::size(expected));
        for (const auto& [name, chart] : expected) {
            const json& shown = charts[name];
            EXPECT_EQ(shown["title"], chart.Title) << name;
            EXPECT_EQ(shown["subtitle"], "");
            EXPECT_EQ(shown["points"], PointsOf(chart)) << name;
            ASSERT_FALSE(chart.Points.empty()) << name;
            if (chart.XAxis) {
                EXPECT_EQ(shown["kind"], "line");
                EXPECT_EQ(shown["xAxis"], (json{{"min", chart.XAxis->Min}, {"max", chart.XAxis->Max}}));
                EXPECT_EQ(shown["axis"], (json{{"min", chart.Axis->Min}, {"max", chart.Axis->Max}}));
            } else {
                EXPECT_EQ(shown["kind"], "bar");
                EXPECT_EQ(shown["axis"], (json{{"max", chart.Axis->Max}})) << "only the top is fixed";
                EXPECT_FALSE(shown.contains("xAxis"));
            }
        }
        const json& details = slot["objectDetails"];
        const ChartPoint& largest = expected[0].second.Points.back();
        EXPECT_EQ(details["caption"], "Object - " + largest.Label);
        EXPECT_EQ(details["headings"], SimDetailHeadings(read.Model, p, 1));
        ASSERT_EQ(details["rows"].size(), 5u);
        EXPECT_EQ(details["rows"][2][0], "Max Work Set");
        const int k = LargestSizePoint(read.Model, p, 1);
        EXPECT_EQ(details["rows"][2][static_cast<std::size_t>(k)],
                  std::to_string(read.Model.Objects(largest.Object).Sim(1).Detail5[static_cast<std::size_t>(k)]));
    }

    const json& empty = doc["pools"][3]["simulations"][0];
    EXPECT_EQ(empty["objectDetails"], nullptr);
    EXPECT_EQ(empty["charts"]["Largest Max WorkSet"]["points"], json::array());
    EXPECT_EQ(empty["charts"]["Objects With Largest I/O Rate Reduction"]["points"], json::array());
    EXPECT_EQ(empty["charts"]["Pool Size Versus System Hit Ratio"]["points"].size(), 8u);
    EXPECT_EQ(doc["messages"], json::array());
}

TEST_F(BatchReport, UsageErrorsPrintNothingOnStandardOutput) {
    for (const std::string& arguments :
         {std::string("--json"), std::string(""), "--radius=-1 '" + stat_ + "'", "--radius abc '" + stat_ + "'",
          "--radius inf '" + stat_ + "'", "--intent X '" + stat_ + "'", "--no-such-option '" + stat_ + "'"}) {
        SCOPED_TRACE(arguments);
        const ReportRun run = Report(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

}  // namespace
}  // namespace kov
