#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

std::string RightAligned(long long value, int width) {
    std::string digits = std::to_string(value);
    return std::string(static_cast<std::size_t>(width) - digits.size(), ' ') + digits;
}

// Statistics of the small report and three simulations of it: 1 of BP1
// (16 points, four objects; lines 0 environment, 1 header, 2 pool line,
// 3-6 object lines), 2 of BP0 (8 points, 1000 buffers), 3 of BP2 (no objects).
class SimReader : public ::testing::Test {
protected:
    SimReader() {
        AddSimulation(source_, 3, 16, 11);
        AddSimulation(source_, 1, 8, 12);
        AddSimulation(source_, 4, 8, 13);
        statPath_ = test::WriteLines(folder_.Path("report.sta"), test::StatLines(source_));
    }

    std::string WriteSim(const Lines& lines, const std::string& name = "pool.sim") {
        return test::WriteLines(folder_.Path(name), lines);
    }
    std::string SimPath(int simNo) { return WriteSim(test::SimLines(source_, simNo), "sim" + std::to_string(simNo)); }
    void OpenStats(test::Session& s) { ASSERT_TRUE(s.OpenStats(statPath_)); }

    static int ObjectsWithResults(const ReportModel& model, int p) {
        const PoolRecord& pool = model.Pools(p);
        int count = 0;
        for (int o = pool.FirstObject; o >= 1 && o <= pool.LastObject; ++o) count += model.Objects(o).SimCount() > 0;
        return count;
    }

    test::TempFolder folder_;
    ReportModel source_ = GenerateReport(test::SmallPlan());
    std::string statPath_;
};

TEST_F(SimReader, FailuresAndWarningsOfOneSimulationFile) {
    const std::string otherPoolsObject(source_.Objects(1).ObjectName.Trimmed());
    const Lines sim1 = test::SimLines(source_, 1);
    const struct {
        const char* what;
        int simNo;
        std::function<void(Lines&)> spoil;
        const char* title;  // nullptr: no message
        MessageIcon icon;
        std::string text;  // exact, for messages other than field errors
        int line, field, column;
        const char* description;
        bool loaded;
        int poolSims, objectsWithResults;
        int beeps = 0;
        bool statsLoaded = true;
    } cases[] = {
        {"statistics not loaded", 1, [](Lines&) {}, "Simulation File", MessageIcon::Critical,
         "Please Read Statistics File First", 0, 0, 0, "", false, 0, 0, 0, false},
        {"first line without ENV", 1, [](Lines& l) { l[0] = "SIMULATION OF BP1"; }, "File IO", MessageIcon::Exclamation,
         "Incorrect File Format, Use A Flat File", 0, 0, 0, "", false, 0, 0},
        {"SizeCount not a number", 1, [](Lines& l) { l[1] = test::Overwrite(l[1], 57, "   1x"); },
         "Read Simulation Report Information", MessageIcon::Exclamation, "", 2, 8, 57, "1x", false, 0, 0},
        {"more than 16 size points", 1, [](Lines& l) { l[1] = test::Overwrite(l[1], 57, "   20"); },
         "Read Simulation Report Information", MessageIcon::Exclamation, "", 2, 43, 394, "16", false, 0, 0},
        {"no header line", 1, [](Lines& l) { l.resize(1); }, "Read Simulation Report Information",
         MessageIcon::Exclamation, "", 2, 1, 5, "header", false, 0, 0},
        {"pool line: Detail2 of point 1", 1, [](Lines& l) { l[2] = test::Overwrite(l[2], 75, "       abc"); },
         "Read Simulation Buffer Pool Information", MessageIcon::Exclamation, "", 3, 2, 75, "abc", false, 1, 0},
        {"no pool line", 1, [](Lines& l) { l.resize(2); }, "Read Simulation Buffer Pool Information",
         MessageIcon::Exclamation, "", 3, 1, 65, "pool line", false, 1, 0},
        {"collection date differs", 1, [](Lines& l) { l[1] = test::Overwrite(l[1], 29, "01-DEC-26 "); }, "ZOVOD",
         MessageIcon::Information, "The Collection Date and timestamp do not match", 0, 0, 0, "", false, 0, 0},
        {"collection date in another case", 1, [](Lines& l) { l[1] = test::Overwrite(l[1], 29, "30-nov-26"); }, nullptr,
         MessageIcon::None, "", 0, 0, 0, "", true, 1, 4},
        {"pool not in the statistics", 1, [](Lines& l) { l[1] = test::Overwrite(l[1], 51, "BP9   "); }, "KOV for DB2",
         MessageIcon::Critical, "BP9   Not found in data file. Can not process simulation data.", 0, 0, 0, "", false, 0,
         0},
        {"include flag before the header", 1,
         [](Lines& l) { l.insert(l.begin() + 1, test::Overwrite("BPO ", 21, "I")); }, "Simulation Data Warning",
         MessageIcon::Exclamation, "Included Objects will not have valid Statistical data for - BP1   ", 0, 0, 0, "",
         true, 1, 4},
        {"include object line", 1, [](Lines& l) { l.insert(l.begin() + 3, test::Overwrite("BPO ", 21, "I")); },
         "Simulation File Read Error", MessageIcon::Exclamation, "Can not analyse file containing Include Objects", 0,
         0, 0, "", false, 1, 0, 1},
        {"object of another pool", 1,
         [&](Lines& l) { l[3] = test::Overwrite(l[3], 22, FixedText<27>(otherPoolsObject).Padded()); },
         "Reading Simulation Objects", MessageIcon::Exclamation,
         "Can not located object " + otherPoolsObject + " in Buffer pool BP1     ", 0, 0, 0, "", true, 1, 3},
        {"object line field error", 1, [](Lines& l) { l[3] = test::Overwrite(l[3], 49, "       xyz"); },
         "Read Simulation Object Information", MessageIcon::Exclamation, "", 4, 4, 49, "xyz", true, 1, 4},
        {"object line for a pool without objects", 3, [&](Lines& l) { l.push_back(sim1[3]); },
         "Read Simulation Object Information", MessageIcon::Exclamation, "", 4, 1, 22, "no objects", true, 1, 0},
        {"no simulated size is the pool's size", 2,
         [](Lines& l) {
             for (int i = 1; i <= 8; ++i)
                 l[1] = test::Overwrite(l[1], SimHeaderLayout::VPSize(i).Start,
                                        RightAligned(700 + 100 * i + 100 * (i > 2), 10));
         },
         "VAVEZ - Simulation Pool Size MisMatch", MessageIcon::Exclamation,
         "A simulation size must match original Pool Size.\r\nOne of the simulated sizes should be 1000", 0, 0, 0, "",
         true, 1, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = test::SimLines(source_, c.simNo);
        c.spoil(lines);
        test::Session s;
        if (c.statsLoaded) OpenStats(s);
        const int pool = PoolOfSimulation(source_, c.simNo);
        const std::vector<int> statsProgress = s.Progress;
        s.AddSim(WriteSim(lines));
        // Refused before its object lines: no bar behind the message.
        if (c.statsLoaded && !c.loaded && c.beeps == 0) {
            EXPECT_EQ(s.Progress, statsProgress);
        }
        EXPECT_EQ(s.Model.SimulationsLoaded, c.loaded);
        EXPECT_EQ(s.Model.SimulationCount, 1);
        EXPECT_EQ(s.Sink.Beeps, c.beeps);
        if (c.title == nullptr) {
            EXPECT_TRUE(s.Sink.Messages.empty()) << ::testing::PrintToString(s.Titles());
        } else {
            ASSERT_EQ(s.Sink.Messages.size(), 1u) << ::testing::PrintToString(s.Titles());
            const Message& m = s.Sink.Messages[0];
            EXPECT_EQ(m.Title, c.title);
            EXPECT_EQ(m.Icon, c.icon);
            if (c.line == 0) {
                EXPECT_EQ(m.Text, c.text);
            } else {
                EXPECT_THAT(m.Text, StartsWith(test::kFieldErrorHead));
                EXPECT_THAT(m.Text, EndsWith(test::FieldErrorTail(c.line, c.field, c.column)));
                EXPECT_THAT(m.Text, HasSubstr(c.description));
            }
        }
        if (c.statsLoaded) {
            EXPECT_EQ(s.Model.Pools(pool).SimCount, c.poolSims);
            EXPECT_EQ(ObjectsWithResults(s.Model, pool), c.objectsWithResults);
        }
    }
}

TEST_F(SimReader, ObjectLinesInAnyOrderGoToTheFirstObjectOfTheirName) {
    // BP1's third object takes the first one's name; the report lists the
    // four object lines last to first.
    ReportModel model = GenerateReport(test::SmallPlan());
    const int first = model.Pools(3).FirstObject;
    ASSERT_EQ(model.Pools(3).LastObject, first + 3);
    model.Objects(first + 2).ObjectName = model.Objects(first).ObjectName;
    AddSimulation(model, 3, 16, 21);
    Lines lines = test::SimLines(model, 1);
    ASSERT_EQ(lines.size(), 7u);
    std::reverse(lines.begin() + 3, lines.end());

    test::Session s;
    ASSERT_TRUE(s.OpenStats(test::WriteLines(folder_.Path("same-name.sta"), test::StatLines(model))));
    EXPECT_TRUE(s.AddSim(WriteSim(lines)));
    EXPECT_TRUE(s.Sink.Messages.empty()) << ::testing::PrintToString(s.Titles());
    const struct {
        int object;
        std::vector<int> linesFrom;  // the objects whose lines it received, in order
    } cases[] = {{first, {first + 2, first}}, {first + 1, {first + 1}}, {first + 2, {}}, {first + 3, {first + 3}}};
    for (const auto& c : cases) {
        SCOPED_TRACE("object " + std::to_string(c.object));
        ASSERT_EQ(s.Model.Objects(c.object).SimCount(), static_cast<int>(c.linesFrom.size()));
        for (std::size_t k = 0; k < c.linesFrom.size(); ++k) {
            const SimObjectRecord& read = s.Model.Objects(c.object).Sim(static_cast<int>(k + 1));
            const SimObjectRecord& written = model.Objects(c.linesFrom[k]).Sim(1);
            EXPECT_EQ(read.SimValue49, written.SimValue49);
            EXPECT_EQ(read.Detail1, written.Detail1);
            EXPECT_EQ(read.Detail8, written.Detail8);
        }
    }
}

TEST_F(SimReader, NoObjectIndexOutlivesItsRead) {
    // The index of a read refers to the objects of the model it was read
    // into; after a new statistics report an object line on its own must
    // find nothing rather than the old objects.
    test::Session s;
    OpenStats(s);
    ASSERT_TRUE(s.AddSim(SimPath(1)));
    s.Model.ClearLoadedData();
    OpenStats(s);
    s.Model.Simulations.GrowTo(1);
    const Lines lines = test::SimLines(source_, 1);
    s.Reader.ReadSimObjectLine(lines[3], 1, 3);
    EXPECT_EQ(s.Titles(), std::vector<std::string>{"Reading Simulation Objects"});
    EXPECT_EQ(s.Model.Objects(s.Model.Pools(3).FirstObject).SimCount(), 0);
}

// The count of size points the header declares holds from version 8 on; a
// trailing pair of points without sizes shortens the series.
TEST_F(SimReader, SizePointsFollowTheVersionRulesAndTrailingEmptyPairs) {
    const struct {
        const char* version;  // nullptr: the header as written
        int declared, written;
        std::vector<int> emptyPoints;
        int sizeCount;
    } cases[] = {
        {"8.1", 10, 16, {}, 16},    {"7.1", 12, 8, {}, 8},        {"7.1", 3, 8, {}, 8},
        {"9.1", 3, 8, {}, 8},       {"9.1", 12, 12, {}, 12},      {nullptr, 0, 16, {7, 8}, 6},
        {nullptr, 0, 16, {16}, 16}, {nullptr, 0, 16, {6, 7}, 16}, {nullptr, 0, 16, {5, 6, 7, 8}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.version != nullptr ? c.version : "as written") + " declaring " +
                     std::to_string(c.declared) + ", empty " + ::testing::PrintToString(c.emptyPoints));
        ReportModel model = GenerateReport(test::SmallPlan());
        AddSimulation(model, 3, c.written, 5);
        Lines lines = test::SimLines(model, 1);
        if (c.version != nullptr) {
            lines[1] = test::Overwrite(lines[1], 47, FixedText<4>(c.version).Padded());
            lines[1] = test::Overwrite(lines[1], 57, RightAligned(c.declared, 5));
        }
        for (int point : c.emptyPoints) {
            lines[1] = test::Overwrite(lines[1], SimHeaderLayout::VPSize(point).Start, RightAligned(0, 10));
            lines[1] = test::Overwrite(lines[1], SimHeaderLayout::HPSize(point).Start, RightAligned(0, 10));
        }
        test::Session s;
        OpenStats(s);
        EXPECT_TRUE(s.AddSim(WriteSim(lines)));
        EXPECT_TRUE(s.Sink.Messages.empty());
        EXPECT_TRUE(s.Model.SimulationsLoaded);
        EXPECT_EQ(s.Model.Simulations(1).SizeCount, c.sizeCount);
        if (c.emptyPoints.empty()) {
            EXPECT_EQ(s.Model.Pools(3).Sim(1).SimPoolSize, model.Pools(3).Sim(1).SimPoolSize);
            EXPECT_EQ(s.Model.Simulations(1).SizeLabel, model.Simulations(1).SizeLabel);
        }
    }
}

TEST_F(SimReader, AFailedReadKeepsItsNumber) {
    Lines otherCollection = test::SimLines(source_, 1);
    otherCollection[1] = test::Overwrite(otherCollection[1], 39, "11:00:00");
    test::Session s;
    OpenStats(s);
    s.Model.CurrentPool = 2;  // the window's; no read may move it
    EXPECT_FALSE(s.AddSim(WriteSim(otherCollection, "other.sim")));
    EXPECT_TRUE(s.AddSim(SimPath(1)));
    EXPECT_EQ(s.Model.SimulationCount, 2);
    EXPECT_EQ(s.Model.Pools(3).SimCount, 1);
    EXPECT_EQ(s.Model.Pools(3).Sim(1).SimulationNo, 2);
    EXPECT_EQ(s.Model.Objects(6).Sim(1).SimulationNo, 2);
    EXPECT_TRUE(s.Model.Simulations(1).FileName.empty());  // never attached

    // A simulation of a pool the statistics do not hold attaches nowhere.
    Lines unknownPool = test::SimLines(source_, 1);
    unknownPool[1] = test::Overwrite(unknownPool[1], 51, "BP99  ");
    s.AddSim(WriteSim(unknownPool, "unknown.sim"));
    EXPECT_EQ(s.Model.CurrentPool, 2);
    EXPECT_EQ(s.Titles(), (std::vector<std::string>{"ZOVOD", "KOV for DB2"}));
    EXPECT_EQ(s.Model.Pools(3).SimCount, 1);
}

TEST_F(SimReader, TheTwentySixthSimulationIsRefused) {
    test::Session s;
    OpenStats(s);
    const std::string path = SimPath(1);
    for (int k = 1; k <= MaxSimulations; ++k) ASSERT_TRUE(s.AddSim(path)) << k;
    EXPECT_TRUE(s.Sink.Messages.empty());
    EXPECT_FALSE(s.AddSim(path));
    ASSERT_EQ(s.Sink.Messages.size(), 2u);
    EXPECT_EQ(s.Sink.Messages[0].Title, "Read Simulation Report Information");
    EXPECT_THAT(s.Sink.Messages[0].Text, HasSubstr("at most 25"));
    EXPECT_THAT(s.Sink.Messages[0].Text, EndsWith(test::FieldErrorTail(2, 1, 5)));
    EXPECT_EQ(s.Sink.Messages[1].Title, "Read Simulation File");
    EXPECT_EQ(s.Sink.Messages[1].Icon, MessageIcon::Information);
    EXPECT_EQ(s.Model.SimulationCount, MaxSimulations);
    EXPECT_EQ(s.Model.Pools(3).SimCount, MaxSimulations);
    EXPECT_EQ(s.Model.Objects(6).SimCount(), MaxSimulations);
}

}  // namespace
}  // namespace kov
