#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using Lines = std::vector<std::string>;

// Index of the k-th "*CHD SIMULATION" line of a consolidated file.
std::size_t Section(const Lines& lines, int k) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].rfind("*CHD SIMULATION", 0) == 0 && --k == 0) return i;
    throw std::out_of_range("no such section");
}

class ConsolidatedReader : public ::testing::Test {
protected:
    ConsolidatedReader() {
        AddSimulation(source_, 3, 16, 21);  // BP1
        AddSimulation(source_, 1, 8, 22);   // BP0
        AddSimulation(source_, 4, 8, 23);   // BP2, no objects
    }
    test::TempFolder folder_;
    ReportModel source_ = GenerateReport(test::SmallPlan());
};

TEST_F(ConsolidatedReader, ReadsStatisticsAndEverySection) {
    const struct {
        const char* what;
        std::function<void(Lines&)> spoil;
        std::vector<std::string> titles;
        bool statsLoaded;
        int simulationCount;
        int beeps = 0;
    } cases[] = {
        {"as written", [](Lines&) {}, {}, true, 3},
        {"marker in lower case", [](Lines& l) { l[0] = "*chd consolidated"; }, {}, true, 3},
        {"section without ENV", [](Lines& l) { l[Section(l, 2) + 1] = "BP0 SIMULATION"; }, {"File IO"}, false, 2},
        {"section of another collection",
         [](Lines& l) { l[Section(l, 2) + 2] = test::Overwrite(l[Section(l, 2) + 2], 39, "09:59:59"); },
         {"ZOVOD"},
         false,
         2},
        {"include object line in a section",
         [](Lines& l) { l.insert(l.begin() + static_cast<long>(Section(l, 1)) + 4, test::Overwrite("BPO ", 21, "I")); },
         {"Simulation File Read Error"},
         false,
         1,
         1},
        // Each part is read one line ahead: without a closing marker the
        // file's last line (here BP0's last object) is not taken as data.
        {"no closing marker", [](Lines& l) { l.resize(Section(l, 3)); }, {}, true, 2},
        {"object of another pool in a section",
         [](Lines& l) {
             l[Section(l, 1) + 4] = test::Overwrite(l[Section(l, 1) + 4], 22, FixedText<27>("NOT.IN.BP1").Padded());
         },
         {"Reading Simulation Objects"},
         true,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = test::ConsolidatedLines(source_);
        c.spoil(lines);
        test::Session s;
        EXPECT_EQ(s.OpenStats(test::WriteLines(folder_.Path("all.txt"), lines)), c.statsLoaded);
        EXPECT_EQ(s.Titles(), c.titles);
        EXPECT_EQ(s.Model.SimulationCount, c.simulationCount);
        EXPECT_EQ(s.Model.SimulationsLoaded, c.statsLoaded);
        EXPECT_EQ(s.Sink.Beeps, c.beeps);
    }
}

TEST_F(ConsolidatedReader, NamesEachSimulationAfterItsSection) {
    test::Session s;
    ASSERT_TRUE(s.OpenStats(test::WriteLines(folder_.Path("all.txt"), test::ConsolidatedLines(source_))));
    const char* names[] = {"Consolidated_SIM_BP1_1", "Consolidated_SIM_BP0_2", "Consolidated_SIM_BP2_3"};
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(s.Model.Simulations(k).FileName, names[k - 1]);
    EXPECT_EQ(s.Progress.back(), 100);
}

TEST_F(ConsolidatedReader, ReadsAtMost24Sections) {
    ReportModel model = GenerateReport(test::SmallPlan());
    for (int k = 1; k <= 25; ++k) AddSimulation(model, 3, 8, static_cast<std::uint64_t>(k));
    test::Session s;
    EXPECT_TRUE(s.OpenStats(test::WriteLines(folder_.Path("many.txt"), test::ConsolidatedLines(model))));
    ASSERT_EQ(s.Sink.Messages.size(), 1u);
    EXPECT_EQ(s.Sink.Messages[0], (Message{"Consolidated Data File",
                                           "Number of simulations in the data exceed maximum limit of 24 simulations.",
                                           MessageIcon::Information}));
    EXPECT_TRUE(s.Model.SimulationsLoaded);
    EXPECT_EQ(s.Model.SimulationCount, 25);  // the section counter, entry 25 left empty
    EXPECT_TRUE(s.Model.Simulations(25).PoolName.IsBlank());
    EXPECT_EQ(s.Model.Pools(3).SimCount, 24);
    EXPECT_EQ(s.Model.Objects(6).SimCount(), 24);
}

}  // namespace
}  // namespace kov
