// Storing reports: each add whole or not at all, duplicates skipped, and a
// file that is no history database of this program refused and left as it was.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "history/HistoryDatabase.h"
#include "history/HistoryFixtures.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

using test::MakeTrendReport;
using test::QueryNumber;
using HistoryDatabaseTest = test::HistoryFile;

// A report of the same system, date and time is stored once, and an object
// name or advice text once per database.
TEST_F(HistoryDatabaseTest, ReportsNamesAndAdviceTextsAreEachStoredOnce) {
    struct Step {
        TrendReport Report;
        AddOutcome Expected;
    };
    TrendReport sameStampOtherFile = MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 1, 1, 7);
    sameStampOtherFile.Stamp.File = "copy.sta";
    const std::vector<Step> steps = {
        {MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00"), AddOutcome::Added},
        {MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00"), AddOutcome::AlreadyStored},
        {sameStampOtherFile, AddOutcome::AlreadyStored},
        {MakeTrendReport("SYSA/DB2P", "2026-11-30", "11:00:00"), AddOutcome::Added},
        {MakeTrendReport("SYSA/DB2P", "2026-12-01", "10:00:00"), AddOutcome::Added},
        {MakeTrendReport("SYSB/DB2Q", "2026-11-30", "10:00:00"), AddOutcome::Added},
    };
    std::vector<std::string> storedFiles;
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        for (std::size_t s = 0; s < steps.size(); ++s) {
            EXPECT_EQ(history.Add(steps[s].Report), steps[s].Expected) << "step " << s;
            if (steps[s].Expected == AddOutcome::Added) storedFiles.push_back(steps[s].Report.Stamp.File);
        }
    }
    // Again after reopening: the duplicate is found in the file, not in memory.
    HistoryDatabase history(path_, HistoryDatabase::Access::Write);
    EXPECT_EQ(history.Add(steps[0].Report), AddOutcome::AlreadyStored);
    std::vector<std::string> files;
    for (const ReportStamp& stamp : history.Stamps()) files.push_back(stamp.File);
    EXPECT_EQ(files, storedFiles);
    // The skipped reports left no pool behind.
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool"), 2 * 4);

    // The new connection knows the names already stored: of this report's
    // 3 pools of 4 objects, 6 objects and 3 advice texts are stored already.
    EXPECT_EQ(history.Add(MakeTrendReport("SYSA/DB2P", "2026-12-02", "10:00:00", 3, 4)), AddOutcome::Added);
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM object"), 3 * 4);
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool_object"), 4 * 2 * 3 + 3 * 4);
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM advice_text"), 1 + 3);
    // Every stored object row names an object.
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool_object WHERE object_id NOT IN (SELECT id FROM object)"), 0);
}

// A history at rest is in rollback mode, which reads from a read-only file
// or folder; while an add has it open, commits go to the log.
TEST_F(HistoryDatabaseTest, TheLogIsOnOnlyWhileReportsAreAdded) {
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00"));
        EXPECT_EQ(test::QueryTexts(path_, "PRAGMA journal_mode"), "wal\n");
    }
    EXPECT_EQ(test::QueryTexts(path_, "PRAGMA journal_mode"), "delete\n");
    for (const char* beside : {"-journal", "-wal", "-shm"})
        EXPECT_FALSE(std::filesystem::exists(path_ + beside)) << beside;
    HistoryDatabase history(path_, HistoryDatabase::Access::Write);
    EXPECT_EQ(history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", "11:00:00")), AddOutcome::Added);
    EXPECT_EQ(test::QueryTexts(path_, "PRAGMA journal_mode"), "wal\n");
}

TEST_F(HistoryDatabaseTest, EachReportCarriesItsCollectionStampInOneSortableForm) {
    const struct {
        const char* Date;
        const char* Time;
        const char* Sortable;
    } cases[] = {
        {"2026-11-30", "10:00:00", "2026-11-30 10:00:00"},
        {"30-NOV-26", "09:05", "2026-11-30 09:05:00"},
        {"12/01/2026", "23:59:59", "2026-12-01 23:59:59"},
        {"01-JAN-99", "00:00:00", "1999-01-01 00:00:00"},
        {"NOT A DATE", "10:00:00", "NULL"},
        {"2026-11-30", "later", "NULL"},
    };
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        for (const auto& c : cases) history.Add(MakeTrendReport("SYSA/DB2P", c.Date, c.Time, 1, 0));
    }
    std::string expected;
    for (const auto& c : cases) expected += c.Sortable + std::string("\n");
    EXPECT_EQ(test::QueryTexts(path_, "SELECT collected_at FROM report ORDER BY id"), expected);
}

TEST_F(HistoryDatabaseTest, AReportWhosePoolLacksFiguresIsRefusedWhole) {
    HistoryDatabase history(path_, HistoryDatabase::Access::Write);
    TrendReport report = MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 3);
    report.Pools[2].Figures.pop_back();
    EXPECT_THROW(history.Add(report), HistoryError);
    EXPECT_TRUE(history.Stamps().empty());
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool"), 0);
}

TEST_F(HistoryDatabaseTest, OpeningToReadNeedsAnExistingHistory) {
    EXPECT_THROW(HistoryDatabase(folder_.Path("missing.db"), HistoryDatabase::Access::Read), HistoryError);
    EXPECT_FALSE(std::filesystem::exists(folder_.Path("missing.db")));
    std::filesystem::create_directory(folder_.Path("folder.db"));
    EXPECT_THROW(HistoryDatabase(folder_.Path("folder.db"), HistoryDatabase::Access::Write), HistoryError);
    EXPECT_THROW(HistoryDatabase(folder_.Path("no/such/folder.db"), HistoryDatabase::Access::Write), HistoryError);
}

// A history of a few reports, large enough to span many pages.
void WriteHistory(const std::string& path) {
    HistoryDatabase history(path, HistoryDatabase::Access::Write);
    for (int hour = 10; hour < 14; ++hour)
        history.Add(MakeTrendReport("SYSA/DB2P", "2026-11-30", std::to_string(hour) + ":00:00", 3, 400, hour));
}

void Spoil(const std::string& path, std::size_t offset, std::size_t length) {
    std::string bytes = test::ReadWhole(path);
    for (std::size_t b = offset; b < offset + length && b < bytes.size(); ++b) bytes[b] = static_cast<char>(0xA5 ^ b);
    test::WriteBytes(path, bytes);
}

TEST_F(HistoryDatabaseTest, AFileThatIsNoHistoryOfThisProgramIsRefusedAndLeftAsItWas) {
    // Each file is a history of a few reports, then spoiled, unless it is
    // something else altogether.
    struct Case {
        const char* Name;
        bool FromHistory;
        std::function<void(const std::string&)> Make;
        const char* Words;  // what the refusal says
        // Found only by the whole check before a write: the stored reports
        // all read back without touching the page.
        bool OnlyBeforeAWrite = false;
    };
    const auto sql = [](const std::string& statement) {
        return [statement](const std::string& path) { test::ExecuteSql(path, statement); };
    };
    const std::vector<Case> cases = {
        {"a statistics report", false,
         [](const std::string& path) { test::WriteBytes(path, "BPH STATISTICS      KOVCOLL V1R1    SYSADB2P\r\n"); },
         "is not an SQLite database"},
        {"a damaged header", true, [](const std::string& path) { Spoil(path, 0, 16); }, "is not an SQLite database"},
        {"damaged pages", true, [](const std::string& path) { Spoil(path, 4096, std::size_t{4096} * 6); },
         "is damaged"},
        {"a damaged last page", true,
         [](const std::string& path) { Spoil(path, std::filesystem::file_size(path) - 16384 + 8, 64); }, "is damaged",
         true},
        {"a truncated file", true,
         [](const std::string& path) { std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2); },
         "is damaged"},
        {"another program's database", false, sql("CREATE TABLE report (id INTEGER); INSERT INTO report VALUES (1);"),
         "another program"},
        {"a newer schema", true, sql("PRAGMA user_version = " + std::to_string(HistorySchemaVersion + 1)),
         "written by a newer KOVGraph"},
        {"a history missing a table", true, sql("DROP TABLE pool_object_list"), "table pool_object_list is missing"},
    };
    for (const Case& c : cases) {
        for (const auto access : {HistoryDatabase::Access::Read, HistoryDatabase::Access::Write}) {
            if (c.OnlyBeforeAWrite && access == HistoryDatabase::Access::Read) continue;
            SCOPED_TRACE(std::string(c.Name) + (access == HistoryDatabase::Access::Read ? ", read" : ", write"));
            test::TempFolder folder;
            const std::string path = folder.Path("history.db");
            if (c.FromHistory) WriteHistory(path);
            c.Make(path);
            const std::string before = test::ReadWhole(path);
            std::string refusal;
            try {
                HistoryDatabase history(path, access);
                // A page damaged beyond the schema shows when it is read.
                history.Stamps();
                history.ForEachReport({}, "", [](const TrendReport&) {});
                if (access == HistoryDatabase::Access::Write)
                    history.Add(MakeTrendReport("SYSA/DB2P", "2026-12-01", "10:00:00"));
            } catch (const HistoryError& error) {
                refusal = error.what();
            }
            EXPECT_NE(refusal.find(c.Words), std::string::npos) << refusal;
            EXPECT_NE(refusal.find(path), std::string::npos) << refusal;
            EXPECT_EQ(refusal.find('\n'), std::string::npos) << refusal;  // one line, for a message box or stderr
            EXPECT_EQ(test::ReadWhole(path), before);
            for (const char* beside : {"-journal", "-wal", "-shm"})
                EXPECT_FALSE(std::filesystem::exists(path + beside)) << beside;
        }
    }
}

// A run killed while it adds a report (its pages partly written to the log
// already) loses none of the reports added before and keeps nothing of the
// one it was adding.
TEST_F(HistoryDatabaseTest, AnAddKilledHalfWayLeavesTheReportsAddedBefore) {
    const std::string log = path_ + "-wal";
    const TrendReport first = MakeTrendReport("SYSA/DB2P", "2026-11-30", "10:00:00", 2, 50);
    // Far larger than SQLite's page cache, so pages reach the log before commit.
    const TrendReport large = MakeTrendReport("SYSA/DB2P", "2026-11-30", "11:00:00", 3, 25000);
    {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        history.Add(first);
    }
    ASSERT_FALSE(std::filesystem::exists(log));  // closing moved the log into the database
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        HistoryDatabase history(path_, HistoryDatabase::Access::Write);
        history.Add(large);
        _exit(0);
    }
    // Killed once a megabyte of the large report is in the log, well before its commit.
    bool halfWay = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!halfWay && std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        const auto size = std::filesystem::file_size(log, error);
        halfWay = !error && size > 1000000;
        if (!halfWay) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(halfWay) << "the add was not caught half-way";
    ASSERT_TRUE(WIFSIGNALED(status));

    HistoryDatabase history(path_, HistoryDatabase::Access::Write);  // checks every page
    ASSERT_EQ(history.Stamps().size(), 1u);
    EXPECT_EQ(history.Stamps()[0].Time, "10:00:00");
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool_object"), 2 * 50);
    EXPECT_EQ(history.Add(large), AddOutcome::Added);
    EXPECT_EQ(QueryNumber(path_, "SELECT count(*) FROM pool_object"), 2 * 50 + 3 * 25000);
}

}  // namespace
}  // namespace kov
