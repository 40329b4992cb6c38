#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/ReportFiles.h"

namespace kov {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

// Line indexes of the small report (file line = index + 1): 0 environment,
// 1 header, 2 BP0 (objects 3-5), 6 BP10 (7-8), 9 BP1 (10-13), 14 BP2, 15 BP32K.
class StatReader : public ::testing::Test {
protected:
    test::TempFolder folder_;
    ReportModel source_ = GenerateReport(test::SmallPlan());
    Lines lines_ = test::StatLines(source_);

    std::string Write(const Lines& lines) { return test::WriteLines(folder_.Path("report.sta"), lines); }
};

TEST_F(StatReader, AssignsEachPoolTheObjectLinesThatFollowIt) {
    test::Session s;
    ASSERT_TRUE(s.OpenStats(Write(lines_)));
    EXPECT_TRUE(s.Sink.Messages.empty());
    EXPECT_EQ(s.Reader.StatsStop.Reason, "") << "read to its end";
    // Each pool: its name, its object range and its simulations.
    Lines pools;
    for (const PoolRecord& pool : s.Model.Pools)
        pools.push_back(pool.PoolName.TrimmedString() + " " + std::to_string(pool.FirstObject) + "-" +
                        std::to_string(pool.LastObject) + " " + std::to_string(pool.SimCount));
    EXPECT_EQ(pools, (Lines{"BP0 1-3 0", "BP10 4-5 0", "BP1 6-9 0", "BP2 0-0 0", "BP32K 0-0 0"}));
    EXPECT_EQ(s.Model.ObjectCount(), 9);

    lines_.resize(lines_.size() - 2);  // BP1 and its objects end the file
    test::Session last;
    ASSERT_TRUE(last.OpenStats(Write(lines_)));
    EXPECT_EQ(last.Model.PoolCount(), 3);
    EXPECT_EQ(last.Model.Pools(3).FirstObject, 6);
    EXPECT_EQ(last.Model.Pools(3).LastObject, 9);
}

TEST_F(StatReader, FailuresStopTheReadAndKeepWhatCameBefore) {
    const struct {
        const char* what;
        std::function<void(Lines&)> spoil;
        const char* title;
        MessageIcon icon;
        const char* text;         // exact, for file-level messages
        int line, field, column;  // the five-part field error
        const char* description;
        int pools, objects;
    } cases[] = {
        {"first line without ENV", [](Lines& l) { l[0] = "COLLECTION REPORT USA"; }, "File IO",
         MessageIcon::Exclamation, "Incorrect File Format, Use A Flat File", 0, 0, 0, "", 0, 0},
        {"ENV is case-sensitive", [](Lines& l) { l[0] = "env USA"; }, "File IO", MessageIcon::Exclamation,
         "Incorrect File Format, Use A Flat File", 0, 0, 0, "", 0, 0},
        {"no header line", [](Lines& l) { l.resize(1); }, "Read Stat Report Information", MessageIcon::Exclamation,
         nullptr, 2, 1, 5, "header", 0, 0},
        {"blank PoolsReported", [](Lines& l) { l[1] = test::Overwrite(l[1], 67, "     "); },
         "Read Stat Report Information", MessageIcon::Exclamation, nullptr, 2, 9, 67, "blank", 0, 0},
        {"VPSize not a number", [](Lines& l) { l[6] = test::Overwrite(l[6], 34, "       12x"); },
         "Read Stat Pool Information", MessageIcon::Exclamation, nullptr, 7, 4, 34, "12x", 2, 3},
        {"decimal comma in a USA report", [](Lines& l) { l[6] = test::Overwrite(l[6], 153, "  9,5 "); },
         "Read Stat Pool Information", MessageIcon::Exclamation, nullptr, 7, 18, 153, "9,5", 2, 3},
        {"pool line ends inside its counters", [](Lines& l) { l[9].resize(298); }, "Read Stat Pool Information",
         MessageIcon::Exclamation, nullptr, 10, 33, 299, "blank", 3, 5},
        {"object counter out of range", [](Lines& l) { l[3] = test::Overwrite(l[3], 209, "9999999999"); },
         "Read Stat Object Information", MessageIcon::Exclamation, nullptr, 4, 21, 209, "9999999999", 1, 1},
        {"object lines before the first pool", [](Lines& l) { l.insert(l.begin() + 2, l[3]); }, "Read Stat File",
         MessageIcon::Information, nullptr, 0, 0, 0, "first pool", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = lines_;
        c.spoil(lines);
        test::Session s;
        EXPECT_FALSE(s.OpenStats(Write(lines)));
        EXPECT_FALSE(s.Model.StatsLoaded);
        ASSERT_EQ(s.Sink.Messages.size(), 1u);
        const Message& m = s.Sink.Messages[0];
        EXPECT_EQ(m.Title, c.title);
        EXPECT_EQ(m.Icon, c.icon);
        if (c.text != nullptr) {
            EXPECT_EQ(m.Text, c.text);
        } else if (c.line == 0) {
            EXPECT_THAT(m.Text, HasSubstr(c.description));
        } else {
            EXPECT_THAT(m.Text, StartsWith(test::kFieldErrorHead));
            EXPECT_THAT(m.Text, EndsWith(test::FieldErrorTail(c.line, c.field, c.column)));
            EXPECT_THAT(m.Text, HasSubstr(c.description));
        }
        EXPECT_EQ(s.Model.PoolCount(), c.pools);
        EXPECT_EQ(s.Model.ObjectCount(), c.objects);
        // Where the read stopped, for the window's notice: the failing line
        // and what failed there.
        if (c.line != 0) {
            EXPECT_EQ(s.Reader.StatsStop.Line, c.line);
        }
        EXPECT_GE(s.Reader.StatsStop.Line, 1);
        EXPECT_THAT(s.Reader.StatsStop.Reason, HasSubstr(c.text != nullptr ? c.text : c.description));
        if (!s.Progress.empty() && m.Icon == MessageIcon::Exclamation) {
            EXPECT_EQ(s.Progress.back(), 0);
        }
        // Refused on its environment or header line: no bar behind the message.
        if (c.line <= 2 && c.objects == 0) {
            EXPECT_THAT(s.Progress, ::testing::Each(0));
        }
    }
}

TEST_F(StatReader, EveryFailingFieldOfAnObjectLineGetsItsOwnMessage) {
    lines_[4].resize(398);  // counters 36-40 (columns 399-439) are missing
    test::Session s;
    EXPECT_FALSE(s.OpenStats(Write(lines_)));
    ASSERT_EQ(s.Sink.Messages.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s.Sink.Messages[static_cast<std::size_t>(i)].Title, "Read Stat Object Information");
        EXPECT_THAT(s.Sink.Messages[static_cast<std::size_t>(i)].Text,
                    EndsWith(test::FieldErrorTail(5, 40 + i, 399 + 10 * i)));
    }
    EXPECT_EQ(s.Model.ObjectCount(), 2);  // the failing object is kept, the read stops after it
    // ... and is read to its end: the missing long name still falls back to the short name.
    EXPECT_EQ(s.Model.Objects(2).LongName.Trimmed(), source_.Objects(2).ObjectName.Trimmed());
}

TEST_F(StatReader, LinesThatAreNeitherPoolNorObjectAreOnlyCounted) {
    for (const char* junk : {"", "* a comment", "BPX 12345", "bps lower case", "  BPS not at column 1"})
        lines_.insert(lines_.begin() + 6, junk);
    {
        test::Session s;
        ASSERT_TRUE(s.OpenStats(Write(lines_)));
        EXPECT_EQ(s.Model.PoolCount(), 5);
        EXPECT_EQ(s.Model.ObjectCount(), 9);
        EXPECT_EQ(s.Model.Pools(2).FirstObject, 4);  // BP10 still owns the objects after it
    }
    lines_[11] = test::Overwrite(lines_[11], 34, "         x");  // BP10, now file line 12
    test::Session s;
    EXPECT_FALSE(s.OpenStats(Write(lines_)));
    ASSERT_EQ(s.Sink.Messages.size(), 1u);
    EXPECT_THAT(s.Sink.Messages[0].Text, EndsWith(test::FieldErrorTail(12, 4, 34)));
}

TEST_F(StatReader, TextColumnsFollowTheirOwnRules) {
    lines_[3] = test::Overwrite(lines_[3], 457, std::string(36, ' '));
    lines_[4] = test::Overwrite(lines_[4], 457, "   PROD.LONG NAME" + std::string(19, ' '));
    lines_[5].resize(456);  // no long-name columns at all
    lines_[2] = test::Overwrite(lines_[2], 471, "data SPACE");
    lines_[6] = test::Overwrite(lines_[6], 487, " FI ");
    test::Session s;
    ASSERT_TRUE(s.OpenStats(Write(lines_)));
    EXPECT_EQ(s.Model.Objects(1).LongName.Trimmed(), source_.Objects(1).ObjectName.Trimmed());
    EXPECT_EQ(s.Model.Objects(2).LongName.Trimmed(), "PROD.LONG NAME");
    EXPECT_EQ(s.Model.Objects(3).LongName.Trimmed(), source_.Objects(3).ObjectName.Trimmed());
    EXPECT_EQ(s.Model.Pools(1).DataSpace.Padded(), "Y");
    EXPECT_EQ(s.Model.Pools(2).PoolMgt.Padded(), " FI ");  // stored untrimmed
}

TEST_F(StatReader, TheEnvironmentLineChoosesTheDecimalSeparator) {
    const struct {
        const char* environment;
        const char* dwqt;  // columns 459-464 of the first pool line
        std::optional<double> value;
    } cases[] = {
        {"ENV USA", "  12.5", 12.5},         {"ENV GER", "  12.5", 12.5},        {"ENV GER", "  12,5", 12.5},
        {"ENV USA", "  12,5", std::nullopt}, {"ENV USA ", "  12,5", 12.5},  // USA not among the last three
        {"ENV usa", "  12,5", 12.5},         {"ENVUSA", "  12,5", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.environment) + " / '" + c.dwqt + "'");
        Lines lines = lines_;
        lines[0] = c.environment;
        lines[2] = test::Overwrite(lines[2], 459, c.dwqt);
        test::Session s;
        EXPECT_EQ(s.OpenStats(Write(lines)), c.value.has_value());
        if (c.value) {
            EXPECT_EQ(s.Model.Pools(1).DWQT, *c.value);
            EXPECT_EQ(s.Model.Pools(1).Activity.SysHitRatio, source_.Pools(1).Activity.SysHitRatio);
            EXPECT_EQ(s.Model.Objects(1).ObjectName, source_.Objects(1).ObjectName);  // "." before column 58 stays
        } else {
            ASSERT_EQ(s.Sink.Messages.size(), 1u);
            EXPECT_THAT(s.Sink.Messages[0].Text, EndsWith(test::FieldErrorTail(3, 49, 459)));
        }
    }
}

// Telling the report's kind reads its first lines before the read proper;
// the bar must not move for them and then go back.
TEST_F(StatReader, ProgressRisesStepByStepAndEndsAt100) {
    test::Session s;
    ASSERT_TRUE(s.OpenStats(Write(lines_)));
    ASSERT_FALSE(s.Progress.empty());
    for (std::size_t i = 1; i < s.Progress.size(); ++i)
        EXPECT_LT(s.Progress[i - 1], s.Progress[i])
            << "progress went from " << s.Progress[i - 1] << "% to " << s.Progress[i] << "%";
    EXPECT_EQ(s.Progress.back(), 100);
}

// 60 pools and 5000 objects (all in the first pool), written once.
class StatCapacity : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        model_ = new ReportModel(GenerateReport(CapacityPlan()));
        lines_ = new Lines(test::StatLines(*model_));
    }
    static void TearDownTestSuite() {
        delete lines_;
        delete model_;
    }
    static inline ReportModel* model_ = nullptr;
    static inline Lines* lines_ = nullptr;
    test::TempFolder folder_;
};

TEST_F(StatCapacity, AFullReportLoads) {
    test::Session s;
    ASSERT_TRUE(s.OpenStats(test::WriteLines(folder_.Path("full.sta"), *lines_)));
    EXPECT_TRUE(s.Sink.Messages.empty());
    EXPECT_EQ(s.Model.PoolCount(), MaxPools);
    EXPECT_EQ(s.Model.ObjectCount(), MaxObjects);
    EXPECT_EQ(s.Model.Pools(1).LastObject, MaxObjects);
    EXPECT_EQ(s.Model.Pools(MaxPools).FirstObject, 0);
}

// The line after the full report, file line 5063, is refused in its first field.
TEST_F(StatCapacity, OneLineMoreIsAFieldError) {
    const struct {
        std::string extraLine;
        const char* title;
        const char* description;
    } cases[] = {
        {PoolLine(model_->Pools(2)), "Read Stat Pool Information",
         "the pool table is full: at most 60 pools can be loaded"},
        {ObjectLine(model_->Objects(1)), "Read Stat Object Information",
         "the object table is full: at most 5000 objects can be loaded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Lines lines = *lines_;
        lines.push_back(c.extraLine);
        test::Session s;
        EXPECT_FALSE(s.OpenStats(test::WriteLines(folder_.Path("over.sta"), lines)));
        const std::string text = std::string(test::kFieldErrorHead) + c.description + test::FieldErrorTail(5063, 1, 5);
        EXPECT_EQ(s.Sink.Messages, (std::vector<Message>{{c.title, text, MessageIcon::Exclamation}}));
        EXPECT_EQ(s.Model.PoolCount(), MaxPools);
        EXPECT_EQ(s.Model.ObjectCount(), MaxObjects);
    }
}

}  // namespace
}  // namespace kov
