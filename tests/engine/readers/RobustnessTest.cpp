// Whatever file a user picks, reading it ends with the tables filled or a
// message saying why not; never a crash, a hang or a message the window
// cannot show.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using ::testing::HasSubstr;

std::string Noise(std::size_t size, std::uint32_t seed, std::string_view lineCode = {}) {
    std::string bytes;
    while (bytes.size() < size) {
        if (!lineCode.empty()) bytes.append(lineCode);
        for (int i = 0; i < 600; ++i) {
            seed = seed * 1664525u + 1013904223u;
            bytes += static_cast<char>(seed >> 24);
        }
        if (!lineCode.empty()) bytes += "\r\n";
    }
    return bytes;
}

std::string Joined(const std::vector<std::string>& lines, std::string_view lineEnd = "\r\n") {
    std::string text;
    for (const std::string& line : lines) text.append(line).append(lineEnd);
    return text;
}

TEST(Robustness, AnyStatisticsFileEndsInTablesOrAMessage) {
    const ReportModel source = GenerateReport(test::SmallPlan());
    const std::vector<std::string> good = test::StatLines(source);
    const std::string goodText = Joined(good);
    std::vector<std::string> withNul = good;
    withNul[2] = test::Overwrite(withNul[2], 34, std::string(10, '\0'));
    std::vector<std::string> nonAscii = good;
    nonAscii[3] = test::Overwrite(nonAscii[3], 30, "DB\xC9.TS\xFF\x80" + std::string(19, ' '));
    std::vector<std::string> longLines = good;
    longLines[2] += std::string(100000 - longLines[2].size(), 'x');
    longLines.insert(longLines.begin() + 3, std::string(100000, '*'));

    const struct {
        const char* what;
        std::optional<std::string> bytes;  // nullopt: no such file
        const char* title;                 // nullptr: any message
        bool loaded;
    } cases[] = {
        {"empty file", "", "File IO", false},
        {"no such file", std::nullopt, "Read Stat Data File", false},
        {"binary", Noise(1 << 16, 1), nullptr, false},
        {"binary pool lines after a good header", Joined({good[0], good[1]}) + Noise(1 << 14, 2, "BPS "),
         "Read Stat Pool Information", false},
        {"NUL bytes in a counter", Joined(withNul), "Read Stat Pool Information", false},
        {"file cut inside an object line", goodText.substr(0, goodText.find("BPD") + 300),
         "Read Stat Object Information", false},
        {"LF line ends", Joined(good, "\n"), nullptr, true},
        {"no line end after the last line", goodText.substr(0, goodText.size() - 2), nullptr, true},
        {"100,000-character lines", Joined(longLines), nullptr, true},
        {"100,000-character first line", std::string(100000, 'E'), "File IO", false},
        {"non-ASCII object name", Joined(nonAscii), nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string path = folder.Path("input.sta");
        if (c.bytes) test::WriteBytes(path, *c.bytes);
        test::Session s;
        EXPECT_EQ(s.OpenStats(path), c.loaded);
        if (c.loaded) {
            EXPECT_TRUE(s.Sink.Messages.empty());
            EXPECT_EQ(s.Model.PoolCount(), source.PoolCount());
            EXPECT_EQ(s.Model.ObjectCount(), source.ObjectCount());
        } else {
            ASSERT_FALSE(s.Sink.Messages.empty());
            if (c.title != nullptr) {
                EXPECT_EQ(s.Sink.Messages[0].Title, c.title);
            }
        }
        for (const Message& m : s.Sink.Messages) {
            EXPECT_EQ(m.Text.find('\0'), std::string::npos) << m.Title;
            EXPECT_LT(m.Text.size(), 1000u) << m.Title;
        }
        if (!c.bytes) {
            EXPECT_THAT(s.Sink.Messages[0].Text, HasSubstr(path));
        }
    }
    test::TempFolder folder;
    test::Session s;
    s.OpenStats(test::WriteLines(folder.Path("x.sta"), nonAscii));
    EXPECT_EQ(s.Model.Objects(1).ObjectName.Trimmed(), "DB\xC9.TS\xFF\x80");
}

TEST(Robustness, AnySimulationFileEndsInResultsOrAMessage) {
    ReportModel source = GenerateReport(test::SmallPlan());
    AddSimulation(source, 3, 16, 41);
    const std::vector<std::string> good = test::SimLines(source, 1);
    const struct {
        const char* what;
        std::optional<std::string> bytes;
        std::vector<std::string> titles;
        bool fileError;
    } cases[] = {
        {"no such file", std::nullopt, {"Read Simulation File"}, true},
        {"empty file", "", {"File IO"}, true},
        {"binary", Noise(1 << 16, 3), {"File IO"}, true},
        {"environment line only", Joined({good[0]}), {"Read Simulation Report Information"}, false},
        {"binary object lines",
         Joined({good[0], good[1], good[2]}) + Noise(1 << 14, 4, "BPS "),
         {"Reading Simulation Objects"},
         false},
        {"LF line ends", Joined(good, "\n"), {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string statPath = test::WriteLines(folder.Path("r.sta"), test::StatLines(source));
        const std::string path = folder.Path("input.sim");
        if (c.bytes) test::WriteBytes(path, *c.bytes);
        test::Session s;
        ASSERT_TRUE(s.OpenStats(statPath));
        EXPECT_EQ(s.AddSim(path), !c.fileError);
        std::vector<std::string> titles = s.Titles();
        titles.erase(std::unique(titles.begin(), titles.end()), titles.end());
        EXPECT_EQ(titles, c.titles);
    }
}

}  // namespace
}  // namespace kov
