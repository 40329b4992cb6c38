// Reading the history back: every stored figure and name as it was given,
// reports in collection order whatever order they were added in, and the
// filter and pool choice of a trend.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <limits>
#include <stop_token>

#include "history/HistoryDatabase.h"
#include "history/HistoryFixtures.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using test::MakeTrendReport;
using HistoryTrendTest = test::HistoryFile;

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

TEST_F(HistoryTrendTest, FiguresNamesAndTextsReadBackAsStored) {
    struct Case {
        const char* Name;
        double Stored;
        double ReadBack;     // bit for bit
        std::int32_t Count;  // an object's get pages; its sync read I/Os are the bits inverted
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    const std::vector<Case> cases = {
        {"a sum that is not a short decimal", 0.1 + 0.2, 0.1 + 0.2, most},
        {"the smallest subnormal", std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::denorm_min(),
         0},
        {"the largest double", std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), 1},
        {"a whole number beyond 64 bits", 1e20, 1e20, 123456789},
        {"a negative rate", -12.5, -12.5, -12},
        {"infinity", inf, inf, 10},
        {"minus infinity", -inf, -inf, 100},
        {"minus zero, which SQLite keeps as zero", -0.0, 0.0, 1000},
    };
    TrendReport report = MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 2, 0);
    report.Pools[0].Figures.clear();
    for (const Case& c : cases) {
        report.Pools[0].Figures.push_back(c.Stored);
        report.Pools[0].Objects.push_back({ObjectName(c.Name), "T", c.Count, ~c.Count});
    }
    report.Pools[0].Figures.resize(14);
    report.Pools[1].Figures[3] = std::nan("");
    report.Pools[1].Name = "BP32K";
    report.Pools[1].Settings = {most, std::numeric_limits<std::int32_t>::min(), 0, 100, 0.1 + 0.2, -1};
    report.Pools[1].Advice = {std::vector<std::string>{"Pool's \"hit\" ratio < 80%", "Grüße; DROP TABLE report"},
                              std::vector<std::string>{}};
    report.Pools[1].Objects = {{"O'BRIEN.TS", "I", 1, 2}, {"", "", 3, 4}, {"O'BRIEN.TS", "I", 5, 6}};

    HistoryDatabase history(path_, HistoryDatabase::Access::Write);
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
        EXPECT_EQ(first.Objects[c].GetPages, cases[c].Count);
        EXPECT_EQ(first.Objects[c].SyncReadIOs, ~cases[c].Count);
    }
    const TrendPool& second = back.Pools[1];
    EXPECT_EQ(second.Name, "BP32K");
    EXPECT_TRUE(second.Settings == report.Pools[1].Settings);
    EXPECT_TRUE(std::isnan(second.Figures[3]));
    EXPECT_EQ(second.Advice, report.Pools[1].Advice);
    EXPECT_EQ(test::ObjectRows(second.Objects), test::ObjectRows(report.Pools[1].Objects));
}

// An object is stored by its name and type wherever it stands in its pool:
// in the same place as before, moved, with another type, or left out. Its
// counts are each report's own, never those of the report before.
TEST_F(HistoryTrendTest, ObjectsReadBackByNameAndTypeWhereverTheyMoved) {
    const std::vector<std::vector<std::pair<std::string, std::string>>> added = {
        {},
        {{"A", "T"}, {"B", "I"}, {"C", "T"}},
        {{"A", "T"}, {"B", "I"}, {"C", "T"}},
        {{"B", "I"}, {"A", "T"}, {"C", "T"}},
        {{"B", "T"}, {"A", "T"}, {"C", "T"}},
        {{"C", "T"}},
        {{"C", "T"}, {"B", "I"}},
    };
    std::vector<TrendReport> reports;
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        for (std::size_t r = 0; r < added.size(); ++r) {
            TrendReport& report = reports.emplace_back(
                MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(10 + r) + ":00:00", 1, 0));
            auto count = static_cast<std::int32_t>(10 * r);
            for (const auto& [name, type] : added[r]) report.Pools[0].Objects.push_back({name, type, ++count, -count});
            history.Add(report);
        }
    }
    HistoryDatabase history(path_, HistoryDatabase::Access::Read);
    const std::vector<TrendReport> stored = StoredReports(history);
    ASSERT_EQ(stored.size(), added.size());
    for (std::size_t r = 0; r < added.size(); ++r)
        EXPECT_EQ(test::ObjectRows(stored[r].Pools.at(0).Objects), test::ObjectRows(reports[r].Pools[0].Objects)) << r;
    EXPECT_EQ(test::QueryNumber(path_, "SELECT count(*) FROM object"), 4);

    // A name wider than a report's column was stored by no read of a report:
    // the history is refused, the name never cut short.
    test::ExecuteSql(path_, "UPDATE object SET name = 'A234567890123456789012345678' WHERE name = 'A'");
    try {
        StoredReports(history);
        ADD_FAILURE() << "a name wider than a report's column was read";
    } catch (const HistoryError& error) {
        EXPECT_NE(std::string(error.what()).find("wider than a report's column"), std::string::npos) << error.what();
    }
}

// Added out of order, two systems interleaved; SYSB lacks BP1 on the 2nd.
// Read through a reading connection, which refuses to add.
TEST_F(HistoryTrendTest, ReportsComeInCollectionOrderThroughTheFilterTheListAndAStop) {
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        for (const TrendReport& report : {
                 MakeTrendReport("SYSA/DB2P", "2026-12-02", "00:00:00"),
                 MakeTrendReport("SYSB/DB2Q", "2026-12-02", "10:00:00", 1),
                 MakeTrendReport("SYSA/DB2P", "2026-11-30", "23:00:00"),
                 MakeTrendReport("SYSA/DB2P", "2026-12-01", "09:00:00"),
                 MakeTrendReport("SYSB/DB2Q", "2026-11-30", "10:00:00"),
                 MakeTrendReport("SYSA/DB2P", "2026-12-01", "08:00:00"),
             })
            history.Add(report);
    }
    HistoryDatabase history(path_, HistoryDatabase::Access::Read);
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

    // The list gives each system's first and last interval.
    std::vector<std::string> list;
    for (const SystemHistory& s : history.List())
        list.push_back(s.System + " " + std::to_string(s.Reports) + ": " + s.First.Date + " " + s.First.Time + " to " +
                       s.Last.Date + " " + s.Last.Time);
    EXPECT_EQ(list, (std::vector<std::string>{"SYSA/DB2P 4: 2026-11-30 23:00:00 to 2026-12-02 00:00:00",
                                              "SYSB/DB2Q 2: 2026-11-30 10:00:00 to 2026-12-02 10:00:00"}));

    // A stop ends the reading between reports.
    std::stop_source stop;
    std::vector<std::string> times;
    history.ForEachReport(
        {}, {},
        [&](TrendReport report) {
            times.push_back(report.Stamp.Time);
            if (times.size() == 2) stop.request_stop();
        },
        stop.get_token());
    EXPECT_EQ(times, (std::vector<std::string>{"10:00:00", "23:00:00"}));
    EXPECT_THROW(history.Add(MakeTrendReport("SYSA/DB2P", "2026-12-05", "10:00:00")), HistoryError);
}

// A pool's packed lists as a damaged page or a hand-made UPDATE may leave
// them: read only when they are the lists the program writes, never guessed at.
TEST_F(HistoryTrendTest, PackedListsThatDoNotReadAreRefused) {
    const std::string objects = "UPDATE pool_object_list SET objects = ";
    const std::string advice = "UPDATE pool SET sequential_advice = ";
    // The update, and the objects or sequential advice lines then read.
    std::vector<std::pair<std::string, std::size_t>> cases = {
        {objects + "'[]'", 0}, {objects + "'[[1,2,3]]'", 1}, {objects + "'[[1,-2147483648,2147483647],[1,0,-0]]'", 2},
        {advice + "'[]'", 0},  {advice + "'[2,1,2]'", 3},
    };
    // Refused: no list the program writes, or one that names no stored
    // object (7) or advice line (9).
    for (const char* text :
         {"", "[", "[[1,2,3]", "[[1,2]]", "[[1,2,3],]", "[[1,2,3,4]]", "[[x,2,3]]", "[[1.5,2,3]]", "[[1,2.5,3]]",
          "[[1,2e3,3]]", "[[1,null,3]]", "[[1,,3]]", "[[1,2147483648,3]]", "[[1,2,3]] ", "[[7,2,3]]"})
        cases.emplace_back(objects + "'" + text + "'", std::string::npos);
    for (const char* text : {"[1,]", "[\"Increase the pool size\"]", "[9]"})
        cases.emplace_back(advice + "'" + text + "'", std::string::npos);
    for (const auto& [update, read] : cases) {
        SCOPED_TRACE(update);
        std::filesystem::remove(path_);
        HistoryDatabase(path_, HistoryDatabase::Access::Write)
            .Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00", 1, 1));
        test::ExecuteSql(path_, update);
        try {
            HistoryDatabase history(path_, HistoryDatabase::Access::Read);
            const TrendPool pool = StoredReports(history).at(0).Pools.at(0);
            EXPECT_EQ(update.starts_with(objects) ? pool.Objects.size() : pool.Advice[1].size(), read);
        } catch (const HistoryError& error) {
            EXPECT_EQ(read, std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find(path_ + " is damaged"), std::string::npos) << error.what();
        }
    }
}

// Schema version 1 kept a row an object, its counts per second, and a row an
// advice line. Such a history is packed when it is first opened, even to
// read, and every object and advice line comes back as it was given.
TEST_F(HistoryTrendTest, AVersion1HistoryIsPackedWhenOpened) {
    const std::vector<TrendReport> added = {MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 3, 4, 1.5),
                                            MakeTrendReport("SYSA/DB2P", "2026-11-30", "11:00:00", 2, 0, 2.5)};
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        for (const TrendReport& report : added) history.Add(report);
    }
    test::ExecuteSql(path_, R"sql(
        CREATE TABLE object_rows (pool_id INTEGER NOT NULL, position INTEGER NOT NULL, object_id INTEGER NOT NULL,
                                  get_pages_per_sec REAL, sync_read_ios_per_sec REAL,
                                  PRIMARY KEY (pool_id, position)) WITHOUT ROWID;
        INSERT INTO object_rows
            SELECT pool_id, position, object_id, get_pages_per_sec, sync_read_ios_per_sec FROM pool_object;
        CREATE TABLE advice_rows (pool_id INTEGER NOT NULL, intent TEXT NOT NULL, position INTEGER NOT NULL,
                                  advice_id INTEGER NOT NULL, PRIMARY KEY (pool_id, intent, position)) WITHOUT ROWID;
        INSERT INTO advice_rows SELECT pool_id, intent, position, advice_id FROM pool_advice;
        DROP VIEW pool_object;
        DROP VIEW pool_advice;
        DROP TABLE pool_object_list;
        DROP INDEX pool_by_report_and_name;
        CREATE INDEX pool_by_name ON pool (name, report_id);
        ALTER TABLE pool DROP COLUMN random_advice;
        ALTER TABLE pool DROP COLUMN sequential_advice;
        ALTER TABLE object_rows RENAME TO pool_object;
        ALTER TABLE advice_rows RENAME TO pool_advice;
        PRAGMA user_version = 1;)sql");
    const auto lists = [](const std::vector<TrendReport>& reports) {
        std::vector<std::pair<std::array<std::vector<std::string>, 2>, std::vector<test::ObjectRow>>> pools;
        for (const TrendReport& report : reports)
            for (const TrendPool& pool : report.Pools) pools.emplace_back(pool.Advice, test::ObjectRows(pool.Objects));
        return pools;
    };
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Read);
        EXPECT_EQ(lists(StoredReports(history)), lists(added));
    }
    EXPECT_EQ(test::QueryNumber(path_, "PRAGMA user_version"), HistorySchemaVersion);
    HistoryDatabase history(path_, HistoryDatabase::Access::Write);
    EXPECT_EQ(history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", "12:00:00")), AddOutcome::Added);
    std::vector<TrendReport> packed = StoredReports(history);
    ASSERT_EQ(packed.size(), 3u);
    packed.pop_back();
    EXPECT_EQ(lists(packed), lists(added));
    EXPECT_EQ(test::QueryNumber(path_, "SELECT count(*) FROM pool_object"), 3 * 4 + 2 * 3);
    EXPECT_EQ(test::QueryNumber(path_, "SELECT count(*) FROM pool_advice"), (3 * 2 + 1) + (2 * 2 + 1) + (2 * 2 + 1));
}

}  // namespace
}  // namespace kov
