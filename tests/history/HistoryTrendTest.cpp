// Reading the history back: every stored figure and name as it was given,
// reports in collection order whatever order they were added in, and the
// filter and pool choice of a trend.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <stop_token>

#include "history/HistoryDatabase.h"
#include "history/HistoryFixtures.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using test::MakeTrendReport;

std::vector<TrendReport> StoredReports(HistoryDatabase& history, const TrendFilter& filter = {},
                                       const std::string& pool = {}) {
    std::vector<TrendReport> reports;
    history.ForEachReport(filter, pool, [&](TrendReport report) { reports.push_back(std::move(report)); });
    return reports;
}

// A case's text as an object's name: as wide as a report's column holds.
std::string_view ObjectName(std::string_view text) {
    return text.substr(0, decltype(TrendObject::Name)::Capacity);
}

TEST(HistoryTrendTest, FiguresNamesAndTextsReadBackAsStored) {
    struct Case {
        const char* Name;
        double Stored;
        double ReadBack;  // bit for bit
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases = {
        {"a sum that is not a short decimal", 0.1 + 0.2, 0.1 + 0.2},
        {"the smallest subnormal", std::numeric_limits<double>::denorm_min(),
         std::numeric_limits<double>::denorm_min()},
        {"the largest double", std::numeric_limits<double>::max(), std::numeric_limits<double>::max()},
        {"a whole number beyond 64 bits", 1e20, 1e20},
        {"a negative rate", -12.5, -12.5},
        {"infinity", inf, inf},
        {"minus infinity", -inf, -inf},
        {"minus zero, which SQLite keeps as zero", -0.0, 0.0},
    };
    TrendReport report = MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 2, 0);
    report.Pools[0].Figures.clear();
    for (const Case& c : cases) {
        report.Pools[0].Figures.push_back(c.Stored);
        report.Pools[0].Objects.push_back({ObjectName(c.Name), "T", c.Stored, -c.Stored});
    }
    report.Pools[0].Figures.resize(14);
    report.Pools[1].Figures[3] = std::nan("");
    report.Pools[1].Name = "BP32K";
    report.Pools[1].Settings = {
        std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min(), 0, 100, 0.1 + 0.2, -1};
    report.Pools[1].Advice = {std::vector<std::string>{"Pool's \"hit\" ratio < 80%", "Grüße; DROP TABLE report"},
                              std::vector<std::string>{}};
    report.Pools[1].Objects = {{"O'BRIEN.TS", "I", 1, 2}, {"", "", 3, 4}, {"O'BRIEN.TS", "I", 5, 6}};

    test::TempFolder folder;
    HistoryDatabase history(folder.Path("history.db"), HistoryDatabase::Access::Write);
    history.Add(report);
    const std::vector<TrendReport> stored = StoredReports(history);
    ASSERT_EQ(stored.size(), 1u);
    const TrendReport& back = stored[0];
    EXPECT_EQ(back.Stamp.File, report.Stamp.File);
    EXPECT_EQ(back.Stamp.ElapsedSeconds, 3600);
    ASSERT_EQ(back.Pools.size(), 2u);
    const TrendPool& first = back.Pools[0];
    ASSERT_EQ(first.Objects.size(), cases.size());
    for (std::size_t c = 0; c < cases.size(); ++c) {
        SCOPED_TRACE(cases[c].Name);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(first.Figures[c]), std::bit_cast<std::uint64_t>(cases[c].ReadBack));
        EXPECT_EQ(first.Objects[c].Name, ObjectName(cases[c].Name));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(first.Objects[c].GetPages),
                  std::bit_cast<std::uint64_t>(cases[c].ReadBack));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(first.Objects[c].SyncReadIOs),
                  std::bit_cast<std::uint64_t>(-cases[c].ReadBack == 0 ? 0.0 : -cases[c].ReadBack));
    }
    const TrendPool& second = back.Pools[1];
    EXPECT_EQ(second.Name, "BP32K");
    EXPECT_TRUE(second.Settings == report.Pools[1].Settings);
    EXPECT_TRUE(std::isnan(second.Figures[3]));
    EXPECT_EQ(second.Advice, report.Pools[1].Advice);
    EXPECT_EQ(test::ObjectRows(second.Objects), test::ObjectRows(report.Pools[1].Objects));
}

// Objects are stored many to a statement: every count around a statement's
// rows keeps each object's place and figures.
TEST(HistoryTrendTest, EveryObjectOfAPoolReadsBackInItsPlace) {
    test::TempFolder folder;
    HistoryDatabase history(folder.Path("history.db"), HistoryDatabase::Access::Write);
    const std::vector<int> counts = {0, 1, 49, 50, 51, 100, 123};
    for (std::size_t c = 0; c < counts.size(); ++c)
        history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(10 + c) + ":00:00", 2, counts[c],
                                    static_cast<double>(c + 1)));
    const std::vector<TrendReport> stored = StoredReports(history);
    ASSERT_EQ(stored.size(), counts.size());
    for (std::size_t c = 0; c < counts.size(); ++c) {
        SCOPED_TRACE(std::to_string(counts[c]) + " objects");
        const TrendReport expected = MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(10 + c) + ":00:00", 2,
                                                     counts[c], static_cast<double>(c + 1));
        for (std::size_t p = 0; p < 2; ++p)
            EXPECT_EQ(test::ObjectRows(stored[c].Pools[p].Objects), test::ObjectRows(expected.Pools[p].Objects)) << p;
    }
}

// An object is stored by its name and type wherever it stands in its pool:
// in the same place as before, moved, with another type, or left out.
TEST(HistoryTrendTest, ObjectsReadBackByNameAndTypeWhereverTheyMoved) {
    using Objects = std::vector<std::pair<std::string, std::string>>;
    const std::vector<Objects> added = {
        {{"A", "T"}, {"B", "I"}, {"C", "T"}},
        {{"A", "T"}, {"B", "I"}, {"C", "T"}},
        {{"B", "I"}, {"A", "T"}, {"C", "T"}},
        {{"B", "T"}, {"A", "T"}, {"C", "T"}},
        {{"C", "T"}},
        {{"C", "T"}, {"B", "I"}},
    };
    test::TempFolder folder;
    const std::string path = folder.Path("history.db");
    {
        HistoryDatabase history(path, HistoryDatabase::Access::Write);
        for (std::size_t r = 0; r < added.size(); ++r) {
            TrendReport report = MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(10 + r) + ":00:00", 1, 0);
            for (const auto& [name, type] : added[r]) report.Pools[0].Objects.push_back({name, type, 1, 2});
            history.Add(report);
        }
    }
    HistoryDatabase history(path, HistoryDatabase::Access::Read);
    const std::vector<TrendReport> stored = StoredReports(history);
    ASSERT_EQ(stored.size(), added.size());
    for (std::size_t r = 0; r < added.size(); ++r) {
        Objects readBack;
        for (const TrendObject& object : stored[r].Pools.at(0).Objects) readBack.emplace_back(object.Name, object.Type);
        EXPECT_EQ(readBack, added[r]) << r;
    }
    EXPECT_EQ(test::QueryNumber(path, "SELECT count(*) FROM object"), 4);

    // A name wider than a report's column was stored by no read of a report:
    // the history is refused, the name never cut short.
    test::ExecuteSql(path, "UPDATE object SET name = 'A234567890123456789012345678' WHERE name = 'A'");
    try {
        StoredReports(history);
        ADD_FAILURE() << "a name wider than a report's column was read";
    } catch (const HistoryError& error) {
        EXPECT_NE(std::string(error.what()).find("wider than a report's column"), std::string::npos) << error.what();
    }
}

TEST(HistoryTrendTest, AStopEndsTheReadingBetweenReports) {
    test::TempFolder folder;
    HistoryDatabase history(folder.Path("history.db"), HistoryDatabase::Access::Write);
    for (int hour = 10; hour < 14; ++hour)
        history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(hour) + ":00:00"));
    std::stop_source stop;
    std::vector<std::string> times;
    history.ForEachReport(
        {}, {},
        [&](TrendReport report) {
            times.push_back(report.Stamp.Time);
            if (times.size() == 2) stop.request_stop();
        },
        stop.get_token());
    EXPECT_EQ(times, (std::vector<std::string>{"10:00:00", "11:00:00"}));
}

TEST(HistoryTrendTest, ReportsComeInCollectionOrderThroughTheFilter) {
    test::TempFolder folder;
    HistoryDatabase history(folder.Path("history.db"), HistoryDatabase::Access::Write);
    // Added out of order, two systems interleaved; SYSB lacks BP1 on the 2nd.
    const std::vector<TrendReport> added = {
        MakeTrendReport("SYSA/DB2P", "2026-12-02", "00:00:00"),
        MakeTrendReport("SYSB/DB2Q", "2026-12-02", "10:00:00", 1),
        MakeTrendReport("SYSA/DB2P", "2026-11-30", "23:00:00"),
        MakeTrendReport("SYSA/DB2P", "2026-12-01", "09:00:00"),
        MakeTrendReport("SYSB/DB2Q", "2026-11-30", "10:00:00"),
        MakeTrendReport("SYSA/DB2P", "2026-12-01", "08:00:00"),
    };
    for (const TrendReport& report : added) history.Add(report);
    struct Case {
        TrendFilter Filter;
        std::string Pool;
        std::vector<std::string> Expected;  // system date time: pools
    };
    const std::vector<Case> cases = {
        {{},
         "",
         {"SYSB/DB2Q 2026-11-30 10:00:00: BP0 BP1", "SYSA/DB2P 2026-11-30 23:00:00: BP0 BP1",
          "SYSA/DB2P 2026-12-01 08:00:00: BP0 BP1", "SYSA/DB2P 2026-12-01 09:00:00: BP0 BP1",
          "SYSA/DB2P 2026-12-02 00:00:00: BP0 BP1", "SYSB/DB2Q 2026-12-02 10:00:00: BP0"}},
        {{"SYSB/DB2Q", "", ""}, "BP1", {"SYSB/DB2Q 2026-11-30 10:00:00: BP1", "SYSB/DB2Q 2026-12-02 10:00:00:"}},
        {{"SYSA/DB2P", "2026-12-01", "2026-12-01"},
         "BP0",
         {"SYSA/DB2P 2026-12-01 08:00:00: BP0", "SYSA/DB2P 2026-12-01 09:00:00: BP0"}},
        {{"", "2026-12-02", ""}, "BP7", {"SYSA/DB2P 2026-12-02 00:00:00:", "SYSB/DB2Q 2026-12-02 10:00:00:"}},
        {{"SYSC/DB2R", "", ""}, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Filter.System + " " + c.Filter.FromDate + ".." + c.Filter.ToDate + " " + c.Pool);
        std::vector<std::string> seen;
        for (const TrendReport& report : StoredReports(history, c.Filter, c.Pool)) {
            std::string line = report.Stamp.System + " " + report.Stamp.Date + " " + report.Stamp.Time + ":";
            for (const TrendPool& pool : report.Pools) line += " " + pool.Name;
            seen.push_back(line);
        }
        EXPECT_EQ(seen, c.Expected);
    }
}

TEST(HistoryTrendTest, TheListGivesEachSystemsFirstAndLastInterval) {
    test::TempFolder folder;
    const std::string path = folder.Path("history.db");
    {
        HistoryDatabase history(path, HistoryDatabase::Access::Write);
        for (const auto& [system, date, time] : std::vector<std::tuple<std::string, std::string, std::string>>{
                 {"SYSB/DB2Q", "2026-12-01", "10:00:00"},
                 {"SYSA/DB2P", "2026-12-01", "09:00:00"},
                 {"SYSA/DB2P", "2026-11-30", "23:00:00"},
                 {"SYSA/DB2P", "2026-12-01", "10:00:00"},
             })
            history.Add(MakeTrendReport(system, date, time, 1, 1));
    }
    HistoryDatabase history(path, HistoryDatabase::Access::Read);
    const std::vector<SystemHistory> list = history.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].System, "SYSA/DB2P");
    EXPECT_EQ(list[0].Reports, 3u);
    EXPECT_EQ(list[0].First.Date + " " + list[0].First.Time, "2026-11-30 23:00:00");
    EXPECT_EQ(list[0].Last.Date + " " + list[0].Last.Time, "2026-12-01 10:00:00");
    EXPECT_EQ(list[1].System, "SYSB/DB2Q");
    EXPECT_EQ(list[1].Reports, 1u);
    EXPECT_EQ(list[1].First.Time, list[1].Last.Time);
    // Reading wrote nothing: an add through a reading connection is refused.
    EXPECT_THROW(history.Add(MakeTrendReport("SYSA/DB2P", "2026-12-05", "10:00:00")), HistoryError);
}

}  // namespace
}  // namespace kov
