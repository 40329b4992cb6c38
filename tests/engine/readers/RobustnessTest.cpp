// Whatever file a user picks, reading it ends with the tables filled or a
// message saying why not; never a crash, a hang or a message the window
// cannot show.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
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

ReportModel SimulatedSource() {
    ReportModel source = GenerateReport(test::SmallPlan());
    AddSimulation(source, 3, 16, 41);
    return source;
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
    std::vector<std::string> overlong = good;
    overlong.insert(overlong.begin() + 3, std::string(ReportLineReader::MaxLineLength + 1, '*'));

    const struct {
        const char* what;
        std::string bytes;
        const char* title;  // nullptr: any message
        bool loaded;
        const char* text = nullptr;  // part of the first message's text
    } cases[] = {
        {"empty file", "", "File IO", false},
        {"binary", Noise(1 << 16, 1), nullptr, false},
        {"binary pool lines after a good header", Joined({good[0], good[1]}) + Noise(1 << 14, 2, "BPS "),
         "Read Stat Pool Information", false},
        {"NUL bytes in a counter", Joined(withNul), "Read Stat Pool Information", false},
        {"file cut inside an object line", goodText.substr(0, goodText.find("BPD") + 300),
         "Read Stat Object Information", false},
        {"LF line ends", Joined(good, "\n"), nullptr, true},
        {"no line end after the last line", goodText.substr(0, goodText.size() - 2), nullptr, true},
        {"a line one character longer", Joined(overlong), "Read Stat Pool Information", false,
         "longer than 65536 characters\"\tData Line         : \"4\""},
        {"100,000-character first line", std::string(100000, 'E'), "File IO", false, "longer than 65536"},
        {"16 MiB without a line end", std::string(16 << 20, 'x'), "File IO", false, "Data Line         : \"1\""},
        {"non-ASCII object name", Joined(nonAscii), nullptr, true},
        {"a simulation report", Joined(test::SimLines(SimulatedSource(), 1)), "Read Stat Report Information", false,
         "This is a simulation report"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string path = folder.Path("input.sta");
        test::WriteBytes(path, c.bytes);
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
            if (c.text != nullptr) {
                EXPECT_THAT(s.Sink.Messages[0].Text, HasSubstr(c.text));
            }
        }
        for (const Message& m : s.Sink.Messages) {
            EXPECT_EQ(m.Text.find('\0'), std::string::npos) << m.Title;
            EXPECT_LT(m.Text.size(), 1000u) << m.Title;
        }
    }
    test::TempFolder folder;
    test::Session s;
    s.OpenStats(test::WriteLines(folder.Path("x.sta"), nonAscii));
    EXPECT_EQ(s.Model.Objects(1).ObjectName.Trimmed(), "DB\xC9.TS\xFF\x80");
}

TEST(Robustness, AnySimulationFileEndsInResultsOrAMessage) {
    const ReportModel source = SimulatedSource();
    const std::vector<std::string> good = test::SimLines(source, 1);
    std::vector<std::string> overlong = good;
    overlong.insert(overlong.begin() + 4, "BPS " + std::string(ReportLineReader::MaxLineLength, ' '));
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> titles;
        bool fileError;
        const char* text = nullptr;  // part of the first message's text
    } cases[] = {
        {"empty file", "", {"File IO"}, true},
        {"binary", Noise(1 << 16, 3), {"File IO"}, true},
        {"environment line only", Joined({good[0]}), {"Read Simulation Report Information"}, false},
        {"binary object lines",
         Joined({good[0], good[1], good[2]}) + Noise(1 << 14, 4, "BPS "),
         {"Reading Simulation Objects"},
         false},
        {"an overlong object line",
         Joined(overlong),
         {"Read Simulation Object Information"},
         true,
         "Data Line         : \"5\""},
        {"a statistics report",
         Joined(test::StatLines(source)),
         {"Read Simulation Report Information"},
         true,
         "This is a statistics report"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string statPath = test::WriteLines(folder.Path("r.sta"), test::StatLines(source));
        const std::string path = folder.Path("input.sim");
        test::WriteBytes(path, c.bytes);
        test::Session s;
        ASSERT_TRUE(s.OpenStats(statPath));
        EXPECT_EQ(s.AddSim(path), !c.fileError);
        std::vector<std::string> titles = s.Titles();
        titles.erase(std::unique(titles.begin(), titles.end()), titles.end());
        EXPECT_EQ(titles, c.titles);
        if (c.text != nullptr && !s.Sink.Messages.empty()) {
            EXPECT_THAT(s.Sink.Messages[0].Text, HasSubstr(c.text));
        }
    }
}

// A reader waiting on a pipe with no writer would hang the test: after a grace
// period writers come and go until the read ends, and the test fails.
template <typename Read>
auto ReadWithoutHanging(const std::string& path, Read read) {
    auto result = std::async(std::launch::async, read);
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "the read of " << path << " hangs";
        do {
            const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
        } while (result.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout);
    }
    return result.get();
}

void MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

// Only a regular file can be a report; anything else is refused before it is
// opened, so nothing can wait for a writer or read an endless device.
TEST(Robustness, OnlyRegularFilesAreRead) {
    const ReportModel source = SimulatedSource();
    const struct {
        const char* what;
        std::function<std::string(const test::TempFolder&)> make;  // returns the path
        const char* reason;
    } cases[] = {
        {"FIFO",
         [](const test::TempFolder& f) {
             const std::string path = f.Path("pipe.sta");
             EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
             return path;
         },
         "it is a named pipe (FIFO), not a report file"},
        {"socket",
         [](const test::TempFolder& f) {
             const std::string path = f.Path("s.sta");
             MakeSocket(path);
             return path;
         },
         "it is a socket, not a report file"},
        {"endless device", [](const test::TempFolder&) { return std::string("/dev/zero"); },
         "it is a device, not a report file"},
        {"folder", [](const test::TempFolder& f) { return f.Path(""); }, "it is a folder, not a report file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempFolder folder;
        const std::string path = c.make(folder);
        const std::string statPath = test::WriteLines(folder.Path("r.sta"), test::StatLines(source));

        test::Session stats;
        EXPECT_FALSE(ReadWithoutHanging(path, [&] { return stats.OpenStats(path); }));
        ASSERT_EQ(stats.Titles(), std::vector<std::string>{"Read Stat Data File"});
        EXPECT_THAT(stats.Sink.Messages[0].Text, HasSubstr(c.reason));

        test::Session sim;
        ASSERT_TRUE(sim.OpenStats(statPath));
        EXPECT_FALSE(ReadWithoutHanging(path, [&] { return sim.AddSim(path); }));
        ASSERT_EQ(sim.Titles(), std::vector<std::string>{"Read Simulation File"});
        EXPECT_THAT(sim.Sink.Messages[0].Text, HasSubstr(c.reason));
    }
}

// A file that cannot be opened says why, and a long path is shortened to its
// start and its file name so that the message stays readable.
TEST(Robustness, AFileThatCannotBeOpenedSaysWhy) {
    test::TempFolder folder;
    test::WriteBytes(folder.Path("unreadable.sta"), "ENVIRONMENT USA\r\n");
    std::filesystem::permissions(folder.Path("unreadable.sta"), std::filesystem::perms::none);
    test::WriteBytes(folder.Path("file.sta"), "ENVIRONMENT USA\r\n");

    const struct {
        const char* what;
        std::string path;
        const char* reason;
        bool shortened = false;
    } cases[] = {
        {"missing", folder.Path("missing.sta"), "the file does not exist"},
        {"name too long", folder.Path(std::string(300, 'n') + ".sta"), "the name is too long", true},
        {"file used as a folder", folder.Path("file.sta") + "/x.sta", "a part of the path is not a folder"},
        {"no read permission", folder.Path("unreadable.sta"), "permission denied"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string_view(c.what) == "no read permission" && ::geteuid() == 0) continue;  // root reads anyway
        for (const bool asSimulation : {false, true}) {
            test::Session s;
            if (asSimulation) {
                s.Model.StatsLoaded = true;
                EXPECT_FALSE(s.AddSim(c.path));
            } else {
                EXPECT_FALSE(s.OpenStats(c.path));
            }
            ASSERT_EQ(s.Titles(),
                      std::vector<std::string>{asSimulation ? "Read Simulation File" : "Read Stat Data File"});
            const std::string& text = s.Sink.Messages[0].Text;
            EXPECT_THAT(text, HasSubstr(c.reason));
            const std::string fileName = std::filesystem::path(c.path).filename().string();
            EXPECT_THAT(text, HasSubstr(fileName.substr(fileName.size() - std::min<std::size_t>(20, fileName.size()))));
            EXPECT_THAT(text, HasSubstr(c.path.substr(0, 40)));
            if (c.shortened) {
                EXPECT_EQ(text.find(c.path), std::string::npos);
                EXPECT_LT(text.size(), 400u);
            } else {
                EXPECT_THAT(text, HasSubstr(c.path));
            }
        }
    }
}

}  // namespace
}  // namespace kov
