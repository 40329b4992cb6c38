#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "cluster/ClusterAnalysis.h"
#include "support/ModelBuilder.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

struct TestObject {
    const char* Type;
    const char* LongName;
    std::int32_t GetPages, Sequential, Random, RidList;
    std::int32_t MaxWorkSet1, MaxWorkSet2;  // at size points 1 and 2
};

// Pool BP1 (after an empty BP0) with one simulation of two sizes, 1000 and 2000.
ReportModel PoolWith(const std::vector<TestObject>& objects) {
    ReportModel model;
    test::AddPool(model, "BP0");
    PoolRecord& pool = test::AddPool(model, "BP1");
    model.Simulations(model.Simulations.Add()).SizeCount = 2;
    model.SimulationCount = 1;
    pool.SimCount = 1;
    PoolSimRecord& slot = pool.SimSlot(1);
    slot.SimulationNo = 1;
    slot.SimPoolSize[1] = 1000;
    slot.SimPoolSize[2] = 2000;
    for (const TestObject& t : objects) {
        ObjectRecord& object = test::AddObject(model, std::string("DB.") + t.LongName, t.Type);
        object.LongName = t.LongName;
        object.Activity.GetPages = t.GetPages;
        object.Activity.GetPagesByAccess = {0, t.Sequential, t.Random, t.RidList};
        SimObjectRecord& simObject = object.Sims.emplace_back();
        simObject.SimulationNo = 1;
        simObject.Detail5[1] = t.MaxWorkSet1;
        simObject.Detail5[2] = t.MaxWorkSet2;
    }
    return model;
}

class ClusterAnalysis : public ::testing::Test {
protected:
    void Thresholds(const std::string& random, const std::string& sequential) {
        std::ofstream(folder_.Path("Rand.acc"), std::ios::binary) << random;
        std::ofstream(folder_.Path("Seq.acc"), std::ios::binary) << sequential;
    }
    std::string Folder() const { return folder_.Path(""); }

    test::TempFolder folder_;
    CollectingSink sink_;
};

TEST_F(ClusterAnalysis, ThresholdIsTheLeadingNumberOfTheFirstItem) {
    const struct {
        const char* content;
        double threshold;
        bool reported;
    } cases[] = {{"12.5,30\r\n", 12.5, false}, {"25\n40\n", 25, false}, {"none", 0, false}, {"", 0, true}};
    for (const auto& c : cases) {
        CollectingSink sink;
        Thresholds(c.content, c.content);
        EXPECT_DOUBLE_EQ(ReadUsageThreshold(Folder(), UsageIntent::Random, sink), c.threshold) << c.content;
        EXPECT_EQ(sink.Messages.size(), c.reported ? 1u : 0u) << c.content;
    }

    EXPECT_EQ(ReadUsageThreshold(Folder() + "missing", UsageIntent::Sequential, sink_), 0);
    EXPECT_EQ(
        sink_.Messages,
        (std::vector<Message>{{"Cluster Analysis", "Could not open " + Folder() + "missing/Seq.acc for threshold input",
                               MessageIcon::Critical}}));
}

TEST_F(ClusterAnalysis, WhichObjectsTakePart) {
    Thresholds("50", "45");
    const ReportModel base = PoolWith({
        {"T", "EQUAL.RANDOM", 100, 0, 50, 0, 10, 0},  // random share exactly 50: takes part
        {"T", "MOSTLY.SEQ", 100, 30, 45, 15, 20, 5},  // random 45 (no), sequential + RID exactly 45
        {"I", "NO.WORKSET", 100, 0, 100, 0, 0, 30},   // no working set at point 1
        {"I", "NO.GETPAGES", 0, 0, 0, 0, 40, 40},     // never read
        {"I", "RANDOM.IX", 200, 0, 200, 0, 30, 0},
        {"T", "SEQ.ONLY", 100, 100, 0, 0, 40, 1},
    });
    const struct {
        UsageIntent intent;
        int sizePoint;
        std::vector<int> members;
    } cases[] = {{UsageIntent::Random, 1, {1, 5}},
                 {UsageIntent::Sequential, 1, {2, 6}},
                 {UsageIntent::Random, 2, {3}},
                 {UsageIntent::Sequential, 2, {2, 6}},
                 {UsageIntent::Random, 17, {}}};
    for (const auto& c : cases) {
        const ClusterRun run = RunClusterAnalysis(base, Folder(), {2, 1, c.sizePoint, c.intent, 1.2}, sink_);
        EXPECT_EQ(run.ClusterMembers, c.members) << IntentLetter(c.intent) << c.sizePoint;
        EXPECT_EQ(run.Result, -1) << "under three members there is no clustering";
    }
    EXPECT_TRUE(sink_.Messages.empty());
}

TEST(ClusterInputs, NumberBoxesAndSpinners) {
    const struct {
        const char* text;
        std::optional<double> number;
    } numbers[] = {{" -0.5", -0.5}, {".5x", 0.5}, {"2e1", 20}, {"2e", 2}, {"", std::nullopt}, {"-", std::nullopt}};
    for (const auto& c : numbers) EXPECT_EQ(LeadingDecimal(c.text), c.number) << c.text;

    const struct {
        const char* typed;
        int direction;
        const char* text;
    } radius[] = {{"7.9", +1, "7.6"}, {"0.1", -1, "0.4"}, {"1.25", -1, "1.1"}, {"1.35", +1, "1.5"},
                  {"0.9", +1, "1"},   {"-3", +1, "0.4"},  {"abc", -1, "0.4"},  {"1e999", -1, "7.6"}};
    for (const auto& c : radius) EXPECT_EQ(StepRadiusText(c.typed, c.direction), c.text) << c.typed << c.direction;

    EXPECT_EQ(StepSimulationNumber("1", -1, 3), "1");
    EXPECT_EQ(StepSimulationNumber("2.5", +1, 3), "3") << "2.5 rounds to 2";
    EXPECT_EQ(StepSimulationNumber("x", +1, 3), "1");
}

TEST(ClusterInputs, RadiusTextIsReadByTheRuleOfItsFrontEnd) {
    const std::string typedRefusal = "The cluster radius must be 0 or more";
    const auto exactRefusal = [](const char* text) {
        return "the radius must be a number of 0 or more, not '" + std::string(text) + "'";
    };
    const struct {
        const char* text;
        double typedRadius;
        bool typedRefused;
        double exactRadius;
        bool exactRefused;
    } cases[] = {
        {"1.5", 1.5, false, 1.5, false}, {"0", 0, false, 0, false},
        {"2abc", 2, false, 0, true},     {"", 0, false, 0, true},
        {" 2", 2, false, 0, true},       {"-0.5", -0.5, true, 0, true},
        {"nan", 0, false, 0, true},      {"inf", 0, false, 0, true},
        {"+1", 1, false, 0, true},       {"1e999", HUGE_VAL, false, 0, true},
    };
    for (const auto& c : cases) {
        const ClusterRadius typed = ReadClusterRadius(c.text, RadiusText::Typed);
        EXPECT_EQ(typed.Radius, c.typedRadius) << c.text;
        EXPECT_EQ(typed.Refusal, c.typedRefused ? typedRefusal : "") << c.text;
        const ClusterRadius exact = ReadClusterRadius(c.text, RadiusText::Exact);
        EXPECT_EQ(exact.Refusal, c.exactRefused ? exactRefusal(c.text) : "") << c.text;
        if (!c.exactRefused) {
            EXPECT_EQ(exact.Radius, c.exactRadius) << c.text;
        }
    }
}

// The thresholds beside the program win (a build tree, or a DBA's own), then
// the installed tree's share/kovgraph; without either the program's folder
// is named, so the message says where they were expected.
TEST(ThresholdFolder, BesideTheProgramThenTheInstalledShare) {
    const struct {
        const char* What;
        std::vector<std::string> Files;  // under the prefix
        std::string Expected;            // under the prefix
    } cases[] = {
        {"build tree", {"bin/Rand.acc", "share/kovgraph/Rand.acc"}, "bin"},
        {"installed", {"share/kovgraph/Rand.acc"}, "share/kovgraph"},
        {"neither", {"share/kovgraph/Seq.acc"}, "bin"},
    };
    for (const auto& c : cases) {
        test::TempFolder prefix;
        std::filesystem::create_directories(prefix.Path("bin"));
        for (const std::string& file : c.Files) {
            std::filesystem::create_directories(std::filesystem::path(prefix.Path(file)).parent_path());
            std::ofstream(prefix.Path(file)) << "50\n";
        }
        EXPECT_EQ(std::filesystem::path(ThresholdFolder(prefix.Path("bin"))),
                  std::filesystem::path(prefix.Path(c.Expected)))
            << c.What;
    }
}

}  // namespace
}  // namespace kov
