#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/ReportLineReader.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

// Each line is kept only after AtEnd, which may read on: a line read must
// stay whole until the next one is read.
std::vector<std::string> ReadAll(ReportLineReader& reader, const std::string& path) {
    reader.Open(path);
    std::vector<std::string> lines;
    bool atEnd = reader.AtEnd();
    while (!atEnd) {
        const std::string_view line = reader.ReadReportLine();
        atEnd = reader.AtEnd();
        lines.emplace_back(line);
    }
    return lines;
}

TEST(ReportLineReader, SplitsLinesWhateverTheLineEnd) {
    const std::string longestLine(ReportLineReader::MaxLineLength, 'x');
    // The first read takes 65,536 bytes: the CR is its last byte, the LF the
    // first of the next read.
    const std::string crAtChunkEnd(65535, 'y');
    // The LF is the first read's last byte: the next line needs a new read.
    const std::string lineFillingTheFirstRead(65535, 'z');
    const struct {
        const char* what;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"CR LF", "ENV USA\r\nBPS 1\r\n", {"ENV USA", "BPS 1"}},
        {"mixed", "A\r\nB\nC\r\n", {"A", "B", "C"}},
        {"no end on the last line", "A\r\nB", {"A", "B"}},
        {"blank lines", "\r\n\r\nA\r\n", {"", "", "A"}},
        {"CR only", "ENV USA\rBPS 1\r", {"ENV USA", "BPS 1"}},
        {"CR alone inside a CR LF file", "A\rB\r\n", {"A", "B"}},
        {"CR LF split between reads", crAtChunkEnd + "\r\nB\r\n", {crAtChunkEnd, "B"}},
        {"CR at the very end", "A\r", {"A"}},
        {"a line ending with the first read", lineFillingTheFirstRead + "\nB\n", {lineFillingTheFirstRead, "B"}},
        {"NUL bytes", std::string("A\0B\r\n", 5), {std::string("A\0B", 3)}},
        {"empty file", "", {}},
        {"the longest line allowed", "A\r\n" + longestLine + "\r\nB\r\n", {"A", longestLine, "B"}},
        {"the longest line allowed, last", longestLine, {longestLine}},
    };
    test::TempFolder folder;
    for (const auto& c : cases) {
        ReportLineReader reader;
        EXPECT_EQ(ReadAll(reader, test::WriteBytes(folder.Path("lines.txt"), c.bytes)), c.lines) << c.what;
        EXPECT_EQ(reader.ReadLineNumber(), static_cast<int>(c.lines.size())) << c.what;
        EXPECT_THROW(reader.ReadReportLine(), EndOfReport) << c.what;
    }
}

TEST(ReportLineReader, DecimalCommaStartsAfterColumn57) {
    test::TempFolder folder;
    std::string line(70, ' ');
    line[56] = '.';  // column 57: part of an object name
    line[57] = '.';  // column 58: inside the first counter
    line[69] = '.';
    ReportLineReader reader;
    reader.Open(test::WriteLines(folder.Path("comma.txt"), {line}));
    reader.DecimalComma = true;
    const std::string read(reader.ReadReportLine());
    EXPECT_EQ(read[56], '.');
    EXPECT_EQ(read[57], ',');
    EXPECT_EQ(read[69], ',');
}

// Identifying a report reads its first lines and rewinds: the read that
// follows must start at the first line as the file has it, whatever was read.
TEST(ReportLineReader, RewindStartsAgainAtTheFirstLineAsTheFileHasIt) {
    std::vector<std::string> lines;
    for (int i = 0; i < 2000; ++i) lines.push_back("LINE " + std::to_string(i) + std::string(60, ' ') + "1.5");
    const struct {
        const char* what;
        int linesRead;
        bool decimalComma;
    } cases[] = {
        {"nothing read", 0, false},  {"a few lines, from the buffer", 17, false}, {"past the first read", 1500, false},
        {"to the end", 2000, false}, {"lines given decimal commas", 3, true},
    };
    test::TempFolder folder;
    const std::string path = test::WriteLines(folder.Path("lines.txt"), lines);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ReportLineReader reader;
        reader.Open(path);
        reader.DecimalComma = c.decimalComma;
        for (int i = 0; i < c.linesRead; ++i) reader.ReadReportLine();
        reader.DecimalComma = false;
        reader.Rewind();
        EXPECT_EQ(reader.ReadLineNumber(), 0);
        EXPECT_EQ(reader.ReadByteCount(), 0);
        std::vector<std::string> again;
        while (!reader.AtEnd()) again.emplace_back(reader.ReadReportLine());
        EXPECT_EQ(again, lines);
    }
}

// The percent is the byte count's share of the file, rounded down, told
// once each time it moves, and starts again from nothing after a rewind.
TEST(ReportLineReader, PercentFollowsTheByteCountAndIsToldOnlyWhenItMoves) {
    const struct {
        const char* what;
        std::vector<std::size_t> lengths;  // of the lines, before the line end
    } cases[] = {
        {"lines much shorter than a percent", std::vector<std::size_t>(500, 3)},
        {"lines of several percents", {40, 0, 250, 7, 99, 1, 1, 1, 180}},
        {"lines landing on percent boundaries", std::vector<std::size_t>(100, 98)},
        {"one line", {12}},
    };
    test::TempFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines;
        for (const std::size_t length : c.lengths) lines.emplace_back(length, 'x');
        const std::string path = test::WriteLines(folder.Path("percent.txt"), lines);
        std::vector<int> told;
        ReportLineReader reader([&](int percent) { told.push_back(percent); });
        for (int pass = 0; pass < 2; ++pass) {
            reader.Open(path);
            if (pass == 1) {
                for (std::size_t i = 0; i < lines.size() / 2; ++i) reader.ReadReportLine();
                reader.Rewind();
            }
            told.clear();
            std::vector<int> expected;
            while (!reader.AtEnd()) {
                reader.ReadReportLine();
                const auto percent =
                    static_cast<int>(std::min<std::int64_t>(100, reader.ReadByteCount() * 100 / reader.ReadFileSize()));
                ASSERT_EQ(reader.Percent(), percent) << "after line " << reader.ReadLineNumber();
                if (expected.empty() || expected.back() != percent) expected.push_back(percent);
            }
            EXPECT_EQ(told, expected) << (pass == 0 ? "read once" : "read again after a rewind");
        }
    }
}

}  // namespace
}  // namespace kov
