#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <stop_token>

#include "analysis/CompareReports.h"
#include "analysis/DataChecks.h"
#include "analysis/GeneralInfo.h"
#include "analysis/Trend.h"
#include "common/CollectionDate.h"
#include "report/TrendReport.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using test::TempFolder;

ReportStamp Stamp(const std::string& file, const std::string& system, const std::string& date,
                  const std::string& time) {
    return {file, system, date, time, 3600};
}

// Report r of an hourly series of system S/D, from 10:00.
ReportStamp Hour(std::size_t r) {
    return Stamp(std::to_string(r), "S/D", "2026-11-30", std::to_string(10 + r) + ":00");
}

// A report of one pool with these settings, advice and objects (name, sync
// read I/Os per second).
TrendReport OnePool(const ReportStamp& stamp, const std::string& pool, PoolSettings settings = {},
                    const std::vector<std::pair<std::string, double>>& objects = {},
                    std::array<std::vector<std::string>, 2> advice = {}) {
    TrendPool p{pool, settings, std::vector<double>(14, 1.0), std::move(advice), {}};
    for (const auto& [name, sync] : objects)
        p.Objects.push_back({name, "T", 0, static_cast<std::int32_t>(sync * stamp.ElapsedSeconds)});
    return {stamp, {p}};
}

// The files of a trend's reports, or of the reports left out, in order.
template <typename List>
std::vector<std::string> Files(const List& list) {
    std::vector<std::string> files;
    for (const auto& item : list) files.push_back(item.File);
    return files;
}

// A drift as "name first..last: before -> after (change)", every value exact.
std::string DriftText(const ObjectDrift& o) {
    std::ostringstream out;
    out << std::setprecision(17) << o.Name << " " << o.FirstReport << ".." << o.LastReport << ": " << o.First << " -> "
        << o.Last << " (" << o.Change << ")";
    return out.str();
}

std::vector<std::string> DriftTexts(const std::vector<ObjectDrift>& drifts) {
    std::vector<std::string> texts;
    for (const ObjectDrift& o : drifts) texts.push_back(DriftText(o));
    return texts;
}

using Events = std::vector<std::pair<std::size_t, std::string>>;

Events EventsOf(const PoolTrend& pool) {
    Events events;
    for (const TrendEvent& e : pool.Events) events.emplace_back(e.Report, e.Text);
    return events;
}

// Everything a trend holds, exactly, as the batch report's document, so
// that two trends compare whole.
std::string Describe(const TrendResult& result) {
    return BuildTrendDocument(result).dump();
}

TEST(Trend, ReportsFollowTheirCollectionDateAndTimeWhateverTheOrderGivenAndTheFormWritten) {
    const struct {
        const char* name;
        std::vector<ReportStamp> given;
        std::vector<std::string> expected;
    } cases[] = {
        {"iso dates, reversed",
         {Stamp("c", "S/D", "2026-12-02", "10:00:00"), Stamp("b", "S/D", "2026-12-01", "10:00:00"),
          Stamp("a", "S/D", "2026-11-30", "23:00:00")},
         {"a", "b", "c"}},
        {"same day, by time, hour 9 before hour 10",
         {Stamp("late", "S/D", "2026-11-30", "10:00:00"), Stamp("early", "S/D", "2026-11-30", "9:00:00")},
         {"early", "late"}},
        {"month names and slashes are read as dates, not text",
         {Stamp("dec", "S/D", "01-DEC-26", "00:00:00"), Stamp("nov", "S/D", "11/30/2026", "23:59:59"),
          Stamp("jan", "S/D", "2027-01-01", "00:00:00")},
         {"nov", "dec", "jan"}},
        {"unreadable dates after readable ones",
         {Stamp("odd", "S/D", "yesterday", "10:00:00"), Stamp("ok", "S/D", "2026-11-30", "10:00:00")},
         {"ok", "odd"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<TrendReport> reports;
        for (const ReportStamp& stamp : k.given) reports.push_back(OnePool(stamp, "BP0"));
        const TrendResult result = BuildTrends(reports);
        ASSERT_EQ(result.Systems.size(), 1u);
        EXPECT_EQ(Files(result.Systems[0].Reports), k.expected);
        EXPECT_TRUE(result.LeftOut.empty());
    }
}

TEST(Trend, SystemsFormSeparateTrendsAndARepeatedStampIsLeftOutAndListed) {
    const TrendResult result = BuildTrends({
        OnePool(Stamp("b2", "SYSB/DB2Q", "2026-11-30", "11:00:00"), "BP0"),
        OnePool(Stamp("a1", "SYSA/DB2P", "2026-11-30", "10:00:00"), "BP0"),
        OnePool(Stamp("b1", "SYSB/DB2Q", "2026-11-30", "10:00:00"), "BP0"),
        OnePool(Stamp("a1-again", "SYSA/DB2P", "2026-11-30", "10:00:00"), "BP9"),
        OnePool(Stamp("a2", "SYSA/DB2P", "2026-11-30", "11:00:00"), "BP0"),
    });
    ASSERT_EQ(result.Systems.size(), 2u);
    EXPECT_EQ(result.Systems[0].System, "SYSA/DB2P");
    EXPECT_EQ(Files(result.Systems[0].Reports), (std::vector<std::string>{"a1", "a2"}));
    EXPECT_EQ(result.Systems[1].System, "SYSB/DB2Q");
    EXPECT_EQ(Files(result.Systems[1].Reports), (std::vector<std::string>{"b1", "b2"}));
    ASSERT_EQ(result.Systems[0].Pools.size(), 1u);  // the duplicate's pool BP9 is nowhere
    ASSERT_EQ(Files(result.LeftOut), std::vector<std::string>{"a1-again"});
    ASSERT_EQ(result.LeftOut[0].Messages.size(), 1u);
    EXPECT_NE(result.LeftOut[0].Messages[0].find("a1"), std::string::npos);
    EXPECT_NE(result.LeftOut[0].Messages[0].find("2026-11-30 10:00:00"), std::string::npos);
}

TEST(Trend, BuilderLeavesOutAReportThatComesOutOfOrder) {
    TrendBuilder builder;
    builder.Add(OnePool(Stamp("b", "S/D", "2026-12-01", "10:00:00"), "BP0"));
    builder.Add(OnePool(Stamp("a", "S/D", "2026-11-30", "10:00:00"), "BP0"));
    const TrendResult result = builder.Finish();
    EXPECT_EQ(Files(result.Systems.at(0).Reports), std::vector<std::string>{"b"});
    EXPECT_EQ(Files(result.LeftOut), std::vector<std::string>{"a"});
}

TEST(Trend, SettingChangesAndPoolsComingAndGoingAreEventsOfTheReportWhereTheyHappen) {
    const PoolSettings base{40000, 0, 80, 80, 50, 10};
    const auto changed = [&](auto change) {
        PoolSettings s = base;
        change(s);
        return s;
    };
    const struct {
        const char* name;
        PoolSettings second;
        std::vector<std::string> texts;
    } settingCases[] = {
        {"VP size", changed([](PoolSettings& s) { s.VPSize = 60000; }), {"VP size 40,000 -> 60,000"}},
        {"HP size", changed([](PoolSettings& s) { s.HPSize = 1500; }), {"HP size 0 -> 1,500"}},
        {"VPSEQT", changed([](PoolSettings& s) { s.VPSEQT = 60; }), {"VPSEQT 80 -> 60"}},
        {"HPSEQT", changed([](PoolSettings& s) { s.HPSEQT = 0; }), {"HPSEQT 80 -> 0"}},
        {"DWQT", changed([](PoolSettings& s) { s.DWQT = 30.5; }), {"DWQT 50 -> 30.5"}},
        {"VDWQT", changed([](PoolSettings& s) { s.VDWQT = 5; }), {"VDWQT 10 -> 5"}},
        {"two at once, in a fixed order",
         changed([](PoolSettings& s) {
             s.VDWQT = 5;
             s.VPSize = 20000;
         }),
         {"VP size 40,000 -> 20,000", "VDWQT 10 -> 5"}},
        {"nothing moved", base, {}},
    };
    for (const auto& k : settingCases) {
        SCOPED_TRACE(k.name);
        const TrendResult result = BuildTrends(
            {OnePool(Hour(0), "BP1", base), OnePool(Hour(1), "BP1", base), OnePool(Hour(2), "BP1", k.second)});
        Events expected;
        for (const std::string& text : k.texts) expected.emplace_back(2, text);
        EXPECT_EQ(EventsOf(result.Systems.at(0).Pools.at(0)), expected);
    }

    // BP2 is missing from the second report; BP3 first comes in the third
    // with other settings than BP2's, which must not count as a change.
    TrendReport first = OnePool(Hour(0), "BP1", base);
    first.Pools.push_back(OnePool(first.Stamp, "BP2", base).Pools[0]);
    TrendReport second = OnePool(Hour(1), "BP1", base);
    TrendReport third = OnePool(Hour(2), "BP3", {1, 2, 3, 4, 5, 6});
    third.Pools.push_back(OnePool(third.Stamp, "BP2", changed([](PoolSettings& s) { s.VPSize = 1000; })).Pools[0]);
    const TrendResult result = BuildTrends({third, first, second});
    const SystemTrend& trend = result.Systems.at(0);
    ASSERT_EQ(trend.Pools.size(), 3u);
    EXPECT_EQ(trend.Pools[0].Name, "BP1");
    EXPECT_EQ(EventsOf(trend.Pools[0]), (Events{{2, "pool disappears"}}));
    EXPECT_EQ(trend.Pools[1].Name, "BP2");
    EXPECT_EQ(EventsOf(trend.Pools[1]),
              (Events{{1, "pool disappears"}, {2, "pool appears"}, {2, "VP size 40,000 -> 1,000"}}));
    EXPECT_EQ(trend.Pools[2].Name, "BP3");
    EXPECT_EQ(EventsOf(trend.Pools[2]), (Events{{2, "pool appears"}}));
    // Absent pools have no value in that report; every series spans all reports.
    for (const FigureSeries& series : trend.Pools[1].Figures) EXPECT_EQ(series, (FigureSeries{1.0, std::nullopt, 1.0}));
    for (const FigureSeries& series : trend.Pools[2].Figures)
        EXPECT_EQ(series, (FigureSeries{std::nullopt, std::nullopt, 1.0}));
}

TEST(Trend, AdviceLinesKeepTheReportsInWhichTheyFired) {
    using Advice = std::array<std::vector<std::string>, 2>;
    const Advice reports[] = {
        {{{"grow the pool"}, {}}},
        {{{"grow the pool", "lower VDWQT", "grow the pool"}, {"raise VPSEQT"}}},
        {{{}, {"raise VPSEQT"}}},
        {{{"grow the pool"}, {}}},
    };
    std::vector<TrendReport> given;
    for (std::size_t r = 0; r < std::size(reports); ++r) given.push_back(OnePool(Hour(r), "BP1", {}, {}, reports[r]));
    const TrendResult result = BuildTrends(given);
    std::vector<std::string> spans;  // "intent text: reports"
    for (std::size_t intent = 0; intent < 2; ++intent)
        for (const AdviceSpan& span : result.Systems.at(0).Pools.at(0).Advice[intent]) {
            spans.push_back(std::to_string(intent) + " " + span.Text + ":");
            for (const std::size_t r : span.Reports) spans.back() += " " + std::to_string(r);
        }
    // "grow the pool" fired twice in report 1: listed once.
    EXPECT_EQ(spans, (std::vector<std::string>{"0 grow the pool: 0 1 3", "0 lower VDWQT: 1", "1 raise VPSEQT: 1 2"}));
}

TEST(Trend, ObjectsDriftFromTheirFirstToTheirLastReportAndTheTopListsFollowTheCompareRules) {
    using Objects = std::vector<std::pair<std::string, double>>;
    Objects first, last;
    for (int i = 0; i < 12; ++i) {
        first.emplace_back("UP" + std::to_string(i), 10);
        last.emplace_back("UP" + std::to_string(i), 10 + (i < 6 ? 5 : i));  // UP0..UP5 tie at +5
    }
    // GONE is in the first report only: no drift at all. LATE is first seen
    // in the middle report. The k-th DUP pairs with the k-th.
    first.insert(first.end(), {{"DOWN", 50}, {"SAME", 7}, {"GONE", 1}});
    const Objects middle{{"LATE", 100}, {"DUP", 1}, {"DUP", 3}};
    last.insert(last.end(), {{"DOWN", 20}, {"SAME", 7}, {"LATE", 40}, {"DUP", 2}, {"DUP", 9}});
    const TrendResult result = BuildTrends(
        {OnePool(Hour(0), "BP0", {}, first), OnePool(Hour(1), "BP0", {}, middle), OnePool(Hour(2), "BP0", {}, last)});
    const PoolTrend& pool = result.Systems.at(0).Pools.at(0);
    std::vector<std::string> rises;
    for (const ObjectDrift& o : pool.SyncReadIORises) rises.push_back(o.Name);
    EXPECT_EQ(rises,
              (std::vector<std::string>{"UP11", "UP10", "UP9", "UP8", "UP7", "UP6", "DUP", "UP0", "UP1", "UP2"}));
    EXPECT_EQ(DriftText(pool.SyncReadIORises[6]), "DUP 1..2: 3 -> 9 (6)");  // the second DUP
    EXPECT_EQ(DriftTexts(pool.SyncReadIOFalls),
              (std::vector<std::string>{"LATE 1..2: 100 -> 40 (-60)", "DOWN 0..2: 50 -> 20 (-30)"}));
}

// Objects pair by name and, among equal names, by order, however often a
// pool keeps its order, changes it or is missing from a report.
TEST(Trend, ObjectsPairByNameWhetherThePoolKeepsItsOrderOrNot) {
    using Objects = std::vector<std::pair<std::string, double>>;
    const std::vector<Objects> series = {
        {{"X", 5}, {"DUP", 1}, {"DUP", 10}, {"Y", 7}},
        {{"X", 6}, {"DUP", 2}, {"DUP", 20}, {"Y", 7}},  // the same order
        {{"DUP", 3}, {"X", 6}, {"DUP", 30}, {"Y", 2}},  // X moved between the DUPs
        {{"DUP", 4}, {"X", 8}, {"DUP", 45}, {"Y", 1}},  // that order kept
        {},                                             // the pool without objects
        {{"DUP", 4}, {"X", 8}, {"Y", 9}, {"DUP", 50}},  // Y before the second DUP
    };
    std::vector<TrendReport> reports;
    for (std::size_t r = 0; r < series.size(); ++r) reports.push_back(OnePool(Hour(r), "BP0", {}, series[r]));
    const TrendResult result = BuildTrends(reports);
    const PoolTrend& pool = result.Systems.at(0).Pools.at(0);
    // Rises and falls in one list, by their change.
    std::vector<ObjectDrift> drifts = pool.SyncReadIORises;
    drifts.insert(drifts.end(), pool.SyncReadIOFalls.begin(), pool.SyncReadIOFalls.end());
    // Equal changes keep the order of first appearance: X before the first DUP.
    EXPECT_EQ(DriftTexts(drifts), (std::vector<std::string>{"DUP 0..5: 10 -> 50 (40)", "X 0..5: 5 -> 8 (3)",
                                                            "DUP 0..5: 1 -> 4 (3)", "Y 0..5: 7 -> 9 (2)"}));
}

// Reports of the small sample system with the interval, misses and a pool's
// size moved, so that every figure and many objects differ between them.
std::vector<ReportModel> DriftingSeries() {
    const struct {
        const char* time;
        const char* elapsed;
        double missFactor;
        std::int32_t bp1Size;
    } steps[] = {{"10:00:00", "01:00:00", 1.0, 800},
                 {"11:00:00", "00:59:30", 1.4, 800},
                 {"12:00:00", "01:10:00", 0.7, 1600},
                 {"13:00:00", "00:00:00", 1.0, 1600}};
    std::vector<ReportModel> models;
    for (const auto& step : steps) {
        SamplePlan plan = test::DriftedPlan("2026-11-30", step.time, step.missFactor, step.bp1Size);
        plan.ElapsedTime = step.elapsed;
        models.push_back(GenerateReport(plan));
    }
    return models;
}

TEST(Trend, EveryConsecutivePairShowsTheComparesBeforeAndAfter) {
    const std::vector<ReportModel> models = DriftingSeries();
    std::vector<TrendReport> reports;
    for (std::size_t r = 0; r < models.size(); ++r)
        reports.push_back(SummarizeReport(models[r], "r" + std::to_string(r)));
    const TrendResult result = BuildTrends(reports);
    ASSERT_EQ(result.Systems.size(), 1u);
    const SystemTrend& trend = result.Systems[0];
    EXPECT_EQ(trend.System, "SYSA/DB2P");
    EXPECT_EQ(trend.Reports[1].ElapsedSeconds, 3570);
    for (std::size_t r = 0; r + 1 < models.size(); ++r) {
        const ReportComparison compared = CompareReports(models[r], models[r + 1]);
        ASSERT_EQ(compared.Pools.size(), trend.Pools.size());
        for (std::size_t p = 0; p < compared.Pools.size(); ++p) {
            const PoolComparison& pool = compared.Pools[p];
            ASSERT_EQ(trend.Pools[p].Name, pool.Name);
            ASSERT_EQ(pool.Figures.size(), 14u);
            for (std::size_t f = 0; f < pool.Figures.size(); ++f) {
                SCOPED_TRACE(pool.Name + " " + pool.Figures[f].Name + " report " + std::to_string(r));
                EXPECT_EQ(PoolGridHeadings()[f + 1], pool.Figures[f].Name);
                EXPECT_EQ(trend.Pools[p].Figures[f][r], pool.Figures[f].Values.Before);
                EXPECT_EQ(trend.Pools[p].Figures[f][r + 1], pool.Figures[f].Values.After);
            }
        }
    }
    // Between two reports the trend's top lists are the compare's.
    const TrendResult pair = BuildTrends({reports[1], reports[2]});
    const ReportComparison compared = CompareReports(models[1], models[2]);
    for (std::size_t p = 0; p < compared.Pools.size(); ++p) {
        const PoolComparison& pool = compared.Pools[p];
        const PoolTrend& drifted = pair.Systems.at(0).Pools.at(p);
        for (const auto& [positions, drifts] : {std::pair{&pool.SyncReadRises, &drifted.SyncReadIORises},
                                                std::pair{&pool.SyncReadFalls, &drifted.SyncReadIOFalls}}) {
            ASSERT_EQ(positions->size(), drifts->size()) << pool.Name;
            for (std::size_t i = 0; i < positions->size(); ++i) {
                EXPECT_EQ((*drifts)[i].Name, pool.Objects[(*positions)[i]].Name);
                EXPECT_EQ((*drifts)[i].Change, pool.Objects[(*positions)[i]].SyncReadIOs.Change);
            }
        }
    }
    EXPECT_EQ(EventsOf(trend.Pools[2]), (Events{{2, "VP size 800 -> 1,600"}}));
}

TEST(Trend, FiltersTakeOneSystemAndADateRangeWithBothEndsIncluded) {
    const ReportStamp stamp = Stamp("f", "SYSA/DB2P", "30-NOV-26", "10:00:00");
    const struct {
        TrendFilter filter;
        bool passes;
    } cases[] = {
        {{}, true},
        {{"SYSA/DB2P", "", ""}, true},
        {{"sysa", "", ""}, true},  // the system alone, in any case
        {{"SYSB", "", ""}, false},
        {{"DB2P", "", ""}, false},
        {{"", "2026-11-30", "2026-11-30"}, true},
        {{"", "2026-12-01", ""}, false},
        {{"", "", "2026-11-29"}, false},
        {{"", "11/01/2026", "12/31/2026"}, true},
        {{"", "not a date", ""}, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.filter.System + "|" + k.filter.FromDate + "|" + k.filter.ToDate);
        EXPECT_EQ(Passes(k.filter, stamp), k.passes);
    }
    EXPECT_FALSE(Passes({"", "2026-11-01", ""}, Stamp("f", "S/D", "garbled", "10:00")));
}

class TrendFiles : public ::testing::Test {
protected:
    TempFolder folder;

    std::string Write(const std::string& name, const ReportModel& model) {
        return test::WriteLines(folder.Path(name), test::StatLines(model));
    }
};

TEST_F(TrendFiles, ReadsOnAnyNumberOfThreadsToTheSameTrendAndListsUnreadReports) {
    const std::vector<ReportModel> models = DriftingSeries();
    std::vector<std::string> files;
    // Named against their collection order, so that the name order is wrong.
    for (std::size_t r = 0; r < models.size(); ++r)
        files.push_back(Write("z" + std::to_string(models.size() - r) + ".sta", models[r]));
    std::vector<std::string> lines = test::StatLines(models[0]);
    lines[2] = test::Overwrite(lines[2], 34, "       12x");  // the first pool's VP size is no number
    files.insert(files.begin() + 1, test::WriteLines(folder.Path("broken.sta"), lines));
    files.push_back(test::WriteBytes(folder.Path("empty.sta"), ""));
    files.push_back(folder.Path("missing.sta"));

    const TrendResult one = TrendFromFiles(files, {}, 1);
    ASSERT_EQ(one.Systems.size(), 1u);
    EXPECT_EQ(Files(one.Systems[0].Reports), (std::vector<std::string>{files[0], files[2], files[3], files[4]}));
    EXPECT_EQ(Files(one.LeftOut), (std::vector<std::string>{files[1], files[5], files[6]}));
    for (const LeftOutReport& left : one.LeftOut) EXPECT_FALSE(left.Messages.empty()) << left.File;
    for (const unsigned threads : {2u, 4u, 0u}) EXPECT_EQ(Describe(TrendFromFiles(files, {}, threads)), Describe(one));

    std::vector<TrendReport> reports;
    for (std::size_t r = 0; r < models.size(); ++r)
        reports.push_back(SummarizeReport(models[r], files[r == 0 ? 0 : r + 1]));
    const TrendResult fromModels = BuildTrends(reports);
    EXPECT_EQ(Describe(fromModels), Describe(TrendResult{one.Systems, {}}));

    const TrendResult filtered = TrendFromFiles(files, {"", "2026-12-01", ""}, 4);
    EXPECT_TRUE(filtered.Systems.empty());
    // A header that cannot be read is listed whatever the filter; the broken
    // report's header says it is outside the range, so it is not read at all.
    EXPECT_EQ(Files(filtered.LeftOut), (std::vector<std::string>{files[5], files[6]}));
}

// A stop requested while reading ends the read between reports: one asked
// for before the start reads none, one asked for by the second report's
// receiver gets no third. A receiver that fails (the history database
// refusing a write) ends the reading with its error. Both hold with more
// reports left than the workers may read ahead of the receiver (eight each).
TEST_F(TrendFiles, AStopOrAFailingReceiverEndsTheReadingBetweenReports) {
    std::vector<std::string> files;
    const std::vector<ReportModel> models = DriftingSeries();
    for (int copy = 0; files.size() < 24; ++copy)
        for (std::size_t r = 0; r < models.size(); ++r)
            files.push_back(Write(std::to_string(copy) + "-" + std::to_string(r) + ".sta", models[r]));
    for (const unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        std::stop_source before;
        before.request_stop();
        const TrendResult none = TrendFromFiles(files, {}, threads, before.get_token());
        EXPECT_TRUE(none.Systems.empty());
        EXPECT_TRUE(none.LeftOut.empty());

        std::stop_source during;
        std::vector<std::string> handed;
        ReadTrendReports(
            files, threads,
            [&](std::optional<TrendReport> report, const LeftOutReport&) {
                ASSERT_TRUE(report.has_value());
                handed.push_back(report->Stamp.File);
                if (handed.size() == 2) during.request_stop();
            },
            during.get_token());
        EXPECT_EQ(handed, (std::vector<std::string>{files[0], files[1]}));

        std::size_t received = 0;
        const auto failOnSecond = [&](std::optional<TrendReport>, const LeftOutReport&) {
            if (++received == 2) throw std::runtime_error("the disk is full");
        };
        EXPECT_THROW(ReadTrendReports(files, threads, failOnSecond), std::runtime_error);
        EXPECT_EQ(received, 2u);
    }
}

TEST_F(TrendFiles, TakesConsolidatedFilesAsStatisticsReportsAndLeavesSimulationReportsOut) {
    SamplePlan plan = test::SmallPlan();
    plan.CollectionTime = "11:00:00";
    ReportModel withSimulation = GenerateReport(plan);
    AddSimulation(withSimulation, 3, 8, 11);
    const std::vector<std::string> files = {
        test::WriteLines(folder.Path("later.txt"), test::ConsolidatedLines(withSimulation)),
        test::WriteLines(folder.Path("bp1.sim"), test::SimLines(withSimulation, 1)),
        Write("earlier.sta", GenerateReport(test::SmallPlan())),
    };
    const TrendResult result = TrendFromFiles(files, {}, 2);
    ASSERT_EQ(result.Systems.size(), 1u);
    EXPECT_EQ(Files(result.Systems[0].Reports), (std::vector<std::string>{files[2], files[0]}));
    EXPECT_EQ(result.Systems[0].Pools.size(), 5u);
    ASSERT_EQ(Files(result.LeftOut), std::vector<std::string>{files[1]});
    ASSERT_FALSE(result.LeftOut[0].Messages.empty());
    EXPECT_NE(result.LeftOut[0].Messages[0].find("simulation"), std::string::npos) << result.LeftOut[0].Messages[0];
}

TEST(TrendSeries, HourlyReportsAreConsistentAndOneSizeChangesHalfWay) {
    constexpr int kCount = 50;  // crosses a day and the middle report
    const struct {
        const char* name;
        SamplePlan base;
        std::size_t pools;
        int objects;
    } cases[] = {
        {"samples' system", BundledSamplePlan(), 8, 296},
        {"capacity", CapacitySeriesBase(), static_cast<std::size_t>(MaxPools), MaxObjects},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<TrendReport> reports;
        for (const int r : {49, 0, 24, 25, 1}) {
            const SamplePlan plan = SeriesPlan(k.base, r, kCount);
            const ReportModel model = GenerateReport(plan);
            EXPECT_EQ(model.ObjectCount(), k.objects);
            const std::vector<DataFinding> findings = RunDataChecks(model);
            EXPECT_TRUE(findings.empty()) << r << ": " << FindingLine(findings.front());
            reports.push_back(SummarizeReport(model, plan.CollectionDate + " " + plan.CollectionTime));
        }
        const TrendResult result = BuildTrends(reports);
        ASSERT_EQ(result.Systems.size(), 1u);
        EXPECT_EQ(Files(result.Systems[0].Reports),
                  (std::vector<std::string>{"2026-11-01 00:00:00", "2026-11-01 01:00:00", "2026-11-02 00:00:00",
                                            "2026-11-02 01:00:00", "2026-11-03 01:00:00"}));
        const SystemTrend& trend = result.Systems[0];
        ASSERT_EQ(trend.Pools.size(), k.pools);
        for (std::size_t p = 0; p < trend.Pools.size(); ++p) {
            std::vector<std::size_t> at;  // report 25 of 50 stands at position 3
            for (const TrendEvent& event : trend.Pools[p].Events) at.push_back(event.Report);
            EXPECT_EQ(at, p == 1 ? std::vector<std::size_t>{3} : std::vector<std::size_t>{}) << trend.Pools[p].Name;
            // Misses drift, so the hit ratio moves between the hours.
            EXPECT_NE(trend.Pools[p].Figures[3][0], trend.Pools[p].Figures[3][4]) << trend.Pools[p].Name;
        }
    }
}

TEST(CollectionDate, ReadsTheFormsCollectionToolsWrite) {
    const struct {
        const char* text;
        std::optional<CalendarDate> date;
    } cases[] = {
        {"2026-11-30", CalendarDate{2026, 11, 30}},
        {"30-NOV-26", CalendarDate{2026, 11, 30}},
        {"30-nov-1999", CalendarDate{1999, 11, 30}},
        {"11/30/2026", CalendarDate{2026, 11, 30}},
        {"11/30/45", CalendarDate{1945, 11, 30}},
        {"2026-13-01", std::nullopt},
        {"30-11", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        EXPECT_EQ(ReadCollectionDate(k.text), k.date);
    }
    EXPECT_EQ(ReadCollectionTime("9:05"), (std::array<int, 3>{9, 5, 0}));
    EXPECT_EQ(ReadCollectionTime("23:59:58"), (std::array<int, 3>{23, 59, 58}));
    EXPECT_EQ(ReadCollectionTime("10:00:61"), std::nullopt);
    EXPECT_EQ(ReadCollectionTime("24:00"), std::nullopt);
}

}  // namespace
}  // namespace kov
