// A statistics read that converts only some object counters (the trend's)
// must read exactly what a full read reads of those counters, and fail on
// the same lines with the same messages, whichever counter is damaged.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "analysis/Trend.h"
#include "analysis/TuningRules.h"
#include "readers/ActivityConversion.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using Lines = std::vector<std::string>;

// Line 3 (index) is the first object line of the small report.
constexpr int kObjectLine = 3;
int Column(int position) {
    return ActivityColumn(ObjectActivityStart, position);
}

void ExpectSameChosenCounters(const ReportModel& full, const ReportModel& partial, ActivityCounters chosen) {
    ASSERT_EQ(full.ObjectCount(), partial.ObjectCount());
    for (int o = 1; o <= full.ObjectCount(); ++o) {
        ActivityBlock a = full.Objects(o).Activity;
        ActivityBlock b = partial.Objects(o).Activity;
        for (int p = 1; p <= ActivityPositions; ++p) {
            const ActivityFieldRef x = ActivityField(a, p);
            const ActivityFieldRef y = ActivityField(b, p);
            if (chosen.Has(p)) {
                if (x.Real != nullptr)
                    EXPECT_EQ(*x.Real, *y.Real) << "object " << o << " position " << p;
                else
                    EXPECT_EQ(*x.Integer, *y.Integer) << "object " << o << " position " << p;
            } else if (y.Real != nullptr) {
                EXPECT_TRUE(std::isnan(*y.Real)) << "object " << o << " position " << p << " is not marked";
            } else {
                EXPECT_EQ(*y.Integer, NotReadCount) << "object " << o << " position " << p << " is not marked";
            }
        }
    }
}

TEST(ChosenCounters, ReadLikeAFullReadAndFailWithItsMessages) {
    const struct {
        const char* what;
        std::function<void(Lines&)> spoil;
        bool reads;
    } cases[] = {
        {"a sound report", [](Lines&) {}, true},
        {"a skipped counter not a number",
         [](Lines& l) { l[kObjectLine] = test::Overwrite(l[kObjectLine], Column(2), "    x1234"); }, false},
        {"a chosen counter not a number", [](Lines& l) { l[4] = test::Overwrite(l[4], Column(1), "       abc"); },
         false},
        {"a skipped counter blank", [](Lines& l) { l[5] = test::Overwrite(l[5], Column(30), "          "); }, false},
        {"two numbers in a skipped counter", [](Lines& l) { l[7] = test::Overwrite(l[7], Column(21), "      1 2 "); },
         false},
        {"a skipped counter out of range", [](Lines& l) { l[8] = test::Overwrite(l[8], Column(40), "2147483648"); },
         false},
        {"a skipped Real not a number", [](Lines& l) { l[10] = test::Overwrite(l[10], Column(9), " 9.5x "); }, false},
        {"a skipped counter left-aligned with a sign",
         [](Lines& l) { l[11] = test::Overwrite(l[11], Column(2), "+12       "); }, true},
        {"a skipped counter with a decimal and ten digits",
         [](Lines& l) {
             l[12] = test::Overwrite(l[12], Column(6), "     12.6 ");
             l[13] = test::Overwrite(l[13], Column(7), "2147483647");
         },
         true},
        {"an object line ending inside its counters",
         [](Lines& l) { l[kObjectLine].resize(static_cast<std::size_t>(Column(20)) + 4); }, false},
        {"a decimal-comma environment", [](Lines& l) { l[0] = "ENVIRONMENT KOVGRAPH COLLECTION GER"; }, true},
    };
    test::TempFolder folder;
    const ReportModel source = GenerateReport(test::SmallPlan());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines lines = test::StatLines(source);
        c.spoil(lines);
        const std::string path = test::WriteLines(folder.Path("report.sta"), lines);
        test::Session full;
        const bool fullRead = full.OpenStats(path);
        EXPECT_EQ(fullRead, c.reads);
        const TrendReport a = fullRead ? SummarizeReport(full.Model, path) : TrendReport{};
        test::Session partial;
        partial.Reader.ChooseObjectCounters<TrendObjectCounters>();
        EXPECT_EQ(partial.OpenStats(path), fullRead);
        EXPECT_EQ(partial.Sink.Messages, full.Sink.Messages);
        EXPECT_EQ(partial.Reader.StatsStop.Line, full.Reader.StatsStop.Line);
        EXPECT_EQ(partial.Reader.StatsStop.Reason, full.Reader.StatsStop.Reason);
        if (!fullRead) continue;
        ExpectSameChosenCounters(full.Model, partial.Model, TrendObjectCounters);
        const TrendReport b = SummarizeReport(partial.Model, path);
        ASSERT_EQ(a.Pools.size(), b.Pools.size());
        for (std::size_t p = 0; p < a.Pools.size(); ++p) {
            EXPECT_EQ(a.Pools[p].Figures, b.Pools[p].Figures);
            EXPECT_EQ(a.Pools[p].Advice, b.Pools[p].Advice);
            ASSERT_EQ(a.Pools[p].Objects.size(), b.Pools[p].Objects.size());
            for (std::size_t o = 0; o < a.Pools[p].Objects.size(); ++o) {
                EXPECT_EQ(a.Pools[p].Objects[o].GetPages, b.Pools[p].Objects[o].GetPages);
                EXPECT_EQ(a.Pools[p].Objects[o].SyncReadIOs, b.Pools[p].Objects[o].SyncReadIOs);
            }
        }
    }
}

constexpr ActivityCounters kGetPagesOnly = ActivityCounters::Of({ActivityPositionOf(&ActivityBlock::GetPages)});

// What a model read without a counter cannot be used for.
TEST(ChosenCounters, AModelReadWithoutWhatARuleNeedsIsRefused) {
    test::TempFolder folder;
    const std::string path =
        test::WriteLines(folder.Path("report.sta"), test::StatLines(GenerateReport(test::SmallPlan())));
    test::Session s;
    s.Reader.ChooseObjectCounters<kGetPagesOnly>();
    ASSERT_TRUE(s.OpenStats(path));
    EXPECT_EQ(s.Model.Objects(1).Activity.GetPagesByAccess[2], NotReadCount);
    EXPECT_THROW(EvaluatePoolRulesForBothIntents(s.Model, 1), std::logic_error);
    EXPECT_THROW(SummarizeReport(s.Model, path), std::logic_error);
}

}  // namespace
}  // namespace kov
