#include "history/HistoryDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "common/CollectionDate.h"
#include "history/HistoryState.h"
#include "history/PackedLists.h"
#include "model/UsageIntent.h"

namespace kov {

namespace {

// "KOVG": tells a history database from any other SQLite file.
constexpr std::int32_t ApplicationId = 0x4B4F5647;

// Each object and advice line of each pool a row again, for SQL: they are
// stored packed, a JSON text a list (see PackedLists.h). The rates are
// divided here as the trend divides them (PerSecond), so SQL sees the same
// figures.
const char* const ListViewsSql = R"sql(
CREATE VIEW pool_object (pool_id, position, object_id, get_pages, sync_read_ios, get_pages_per_sec,
                         sync_read_ios_per_sec) AS
SELECT l.pool_id, o.key, o.value ->> 0, o.value ->> 1, o.value ->> 2,
       CASE WHEN r.elapsed_seconds > 0 THEN (o.value ->> 1) * 1.0 / r.elapsed_seconds ELSE 0.0 END,
       CASE WHEN r.elapsed_seconds > 0 THEN (o.value ->> 2) * 1.0 / r.elapsed_seconds ELSE 0.0 END
FROM pool_object_list l
JOIN pool p ON p.id = l.pool_id
JOIN report r ON r.id = p.report_id
JOIN json_each(l.objects) o;
CREATE VIEW pool_advice (pool_id, intent, position, advice_id) AS
SELECT p.id, 'R', a.key, a.value FROM pool p JOIN json_each(p.random_advice) a
UNION ALL
SELECT p.id, 'S', a.key, a.value FROM pool p JOIN json_each(p.sequential_advice) a;
)sql";

// Counts are per second of the report's elapsed time, as in TrendPool.
const char* const SchemaSql = R"sql(
CREATE TABLE report (
    id INTEGER PRIMARY KEY,
    file TEXT NOT NULL,
    system TEXT NOT NULL,
    collection_date TEXT NOT NULL,
    collection_time TEXT NOT NULL,
    collected_at TEXT,
    elapsed_seconds INTEGER NOT NULL,
    UNIQUE (system, collection_date, collection_time)
);
CREATE TABLE pool (
    id INTEGER PRIMARY KEY,
    report_id INTEGER NOT NULL REFERENCES report (id),
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    vp_size INTEGER NOT NULL,
    hp_size INTEGER NOT NULL,
    vpseqt INTEGER NOT NULL,
    hpseqt INTEGER NOT NULL,
    dwqt REAL,
    vdwqt REAL,
    rio_per_sec REAL,
    get_pages_per_sec REAL,
    updates_per_sec REAL,
    hit_ratio REAL,
    io_per_sec REAL,
    wio_per_sec REAL,
    pages_per_write REAL,
    write_ios_per_sec REAL,
    pages_written_per_sec REAL,
    avg_pg_res_secs REAL,
    rand_pg_rd_per_sec REAL,
    sp_pg_rd_per_sec REAL,
    lp_pg_rd_per_sec REAL,
    dynpf_pg_rd_per_sec REAL,
    random_advice TEXT NOT NULL,
    sequential_advice TEXT NOT NULL,
    UNIQUE (report_id, position)
);
CREATE INDEX pool_by_report_and_name ON pool (report_id, name);
CREATE TABLE advice_text (
    id INTEGER PRIMARY KEY,
    text TEXT NOT NULL UNIQUE
);
CREATE TABLE object (
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    type TEXT NOT NULL,
    UNIQUE (name, type)
);
CREATE TABLE pool_object_list (
    pool_id INTEGER PRIMARY KEY REFERENCES pool (id),
    objects TEXT NOT NULL
);
)sql";

// Version 1 kept a row an object and a row an advice line; version 2 packs
// each pool's lists (see ListViewsSql).
std::vector<std::string> SchemaTables(std::int64_t version) {
    if (version == 1) return {"report", "pool", "advice_text", "pool_advice", "object", "pool_object"};
    return {"report", "pool", "advice_text", "object", "pool_object_list"};
}

std::int64_t PragmaNumber(sql::Database& db, const char* pragma) {
    sql::Statement statement(db, std::string("PRAGMA ") + pragma);
    return statement.Step() ? statement.ReadInteger(0) : 0;
}

// One key for a name and a type, whatever characters they hold; built in
// `key` so that a lookup of a known object allocates nothing.
const std::string& ObjectKey(std::string& key, std::string_view name, std::string_view type) {
    key.clear();
    key.append(std::to_string(name.size())).append(1, ':').append(name).append(type);
    return key;
}

// A commit appends to the write-ahead log without waiting for the disk, so
// an add of many reports is not held up by a flush per report. A killed run
// keeps every report it committed; only a machine that stops (power, kernel)
// may lose the last ones, which the next add stores again. The log is
// flushed into the database when the run closes it.
void WriteAheadLogging(sql::Database& db) {
    db.Execute("PRAGMA journal_mode = WAL");
    db.Execute("PRAGMA synchronous = NORMAL");
}

// "2026-11-30 10:00:00" whatever form the header wrote, so that SQL sorts
// reports in time order; nothing when the date or time cannot be read.
std::optional<std::string> SortableStamp(const ReportStamp& stamp) {
    const std::optional<CalendarDate> date = ReadCollectionDate(stamp.Date);
    const std::optional<std::array<int, 3>> time = ReadCollectionTime(stamp.Time);
    if (!date || !time) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date->Year, date->Month, date->Day, (*time)[0],
                  (*time)[1], (*time)[2]);
    return std::string(text);
}

void CreateSchema(sql::Database& db) {
    sql::Transaction transaction(db);
    db.Execute(SchemaSql);
    db.Execute(ListViewsSql);
    db.Execute("PRAGMA application_id = " + std::to_string(ApplicationId));
    db.Execute("PRAGMA user_version = " + std::to_string(HistorySchemaVersion));
    transaction.Commit();
}

// SQLite heads a finding with a line naming the database ("*** in database
// main ***"); the message keeps the finding itself, on one line.
std::string FirstQuickCheckFinding(sql::Database& db) {
    sql::Statement check(db, "PRAGMA quick_check(1)");
    const std::string finding = check.Step() ? check.ReadText(0) : "no answer";
    if (finding == "ok") return {};
    std::string said;
    std::istringstream lines(finding);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.starts_with("*** in database")) continue;
        said += (said.empty() ? "" : "; ") + line;
    }
    return said.empty() ? finding : said;
}

// Version 1's rows of objects and advice lines packed a pool a list (the
// rates it kept turned back into the report's counts), in one transaction
// with the new version number: an upgrade that stops half-way leaves
// version 1 whole.
void UpgradeFromVersion1(sql::Database& db) {
    sql::Transaction transaction(db);
    db.Execute(R"sql(
ALTER TABLE pool ADD COLUMN random_advice TEXT NOT NULL DEFAULT '[]';
ALTER TABLE pool ADD COLUMN sequential_advice TEXT NOT NULL DEFAULT '[]';
UPDATE pool SET
    random_advice = (SELECT json_group_array(advice_id) FROM (SELECT advice_id FROM pool_advice a
                     WHERE a.pool_id = pool.id AND a.intent = 'R' ORDER BY a.position)),
    sequential_advice = (SELECT json_group_array(advice_id) FROM (SELECT advice_id FROM pool_advice a
                         WHERE a.pool_id = pool.id AND a.intent = 'S' ORDER BY a.position));
DROP TABLE pool_advice;
DROP INDEX IF EXISTS pool_by_name;
CREATE INDEX pool_by_report_and_name ON pool (report_id, name);
CREATE TABLE pool_object_list (pool_id INTEGER PRIMARY KEY REFERENCES pool (id), objects TEXT NOT NULL);
)sql");
    {
        sql::Statement rows(db,
                            "SELECT o.pool_id, o.object_id, o.get_pages_per_sec, o.sync_read_ios_per_sec, "
                            "r.elapsed_seconds FROM pool_object o JOIN pool p ON p.id = o.pool_id "
                            "JOIN report r ON r.id = p.report_id ORDER BY o.pool_id, o.position");
        sql::Statement insert(db, "INSERT INTO pool_object_list (pool_id, objects) VALUES (?, ?)");
        std::vector<PackedObject> objects;
        std::string text;
        std::int64_t poolId = 0;
        const auto store = [&] {
            if (objects.empty()) return;
            PackObjects(objects, text);
            insert.Bind(1, poolId).Bind(2, std::string_view(text)).Run();
            objects.clear();
        };
        while (rows.Step()) {
            if (rows.ReadInteger(0) != poolId) store();
            poolId = rows.ReadInteger(0);
            const auto seconds = static_cast<std::int32_t>(rows.ReadInteger(4));
            objects.push_back({rows.ReadInteger(1), CountFromRate(rows.ReadReal(2), seconds),
                               CountFromRate(rows.ReadReal(3), seconds)});
        }
        store();
    }
    db.Execute("DROP TABLE pool_object");
    db.Execute(ListViewsSql);
    db.Execute("PRAGMA user_version = 2");
    transaction.Commit();
}

std::string TableMissing(sql::Database& db, std::int64_t version) {
    std::set<std::string> present;
    sql::Statement tables(db, "SELECT name FROM sqlite_schema WHERE type = 'table'");
    while (tables.Step()) present.insert(tables.ReadText(0));
    for (const std::string& table : SchemaTables(version))
        if (present.count(table) == 0) return table;
    return {};
}

}  // namespace

const std::vector<std::string>& FigureColumns() {
    static const std::vector<std::string> columns = {"rio_per_sec",      "get_pages_per_sec",  "updates_per_sec",
                                                     "hit_ratio",        "io_per_sec",         "wio_per_sec",
                                                     "pages_per_write",  "write_ios_per_sec",  "pages_written_per_sec",
                                                     "avg_pg_res_secs",  "rand_pg_rd_per_sec", "sp_pg_rd_per_sec",
                                                     "lp_pg_rd_per_sec", "dynpf_pg_rd_per_sec"};
    return columns;
}

void HistoryDatabase::State::Refuse(const sql::SqliteError& failure) const {
    switch (failure.Code()) {
        case SQLITE_NOTADB:
            throw HistoryError(Path + " is not an SQLite database; it is left as it is.");
        case SQLITE_CORRUPT:
            throw HistoryError(Path + " is damaged (" + failure.what() + "); it is left as it is.");
        case SQLITE_READONLY:
            throw HistoryError(Path + " cannot be written (" + failure.what() + "); it is left as it is.");
        default:
            throw HistoryError("History database " + Path + ": " + failure.what());
    }
}

namespace {

// The checks of an existing file, from the cheapest: whose file it is, which
// schema it holds, and (before a write) that every page reads. A history of
// an earlier schema is checked whole and brought up to this one, to read or
// to write.
void CheckOrCreate(sql::Database& db, const std::string& path, HistoryDatabase::Access access) {
    const std::int64_t applicationId = PragmaNumber(db, "application_id");
    const std::int64_t version = PragmaNumber(db, "user_version");
    const std::int64_t objects = PragmaNumber(db, "schema_version") == 0 ? 0 : 1;
    if (applicationId == 0 && version == 0 && objects == 0) {
        if (access == HistoryDatabase::Access::Read) throw HistoryError(path + " holds no history yet.");
        // Rows come in key order: larger pages split less often. Only a new
        // database can take it, before its log.
        db.Execute("PRAGMA page_size = 16384");
        WriteAheadLogging(db);
        CreateSchema(db);
        return;
    }
    if (applicationId != ApplicationId)
        throw HistoryError(path + " is an SQLite database of another program, not a KOVGraph history; it is left " +
                           "as it is.");
    if (version > HistorySchemaVersion)
        throw HistoryError(path + " holds history schema version " + std::to_string(version) +
                           ", written by a newer KOVGraph; this program reads versions up to " +
                           std::to_string(HistorySchemaVersion) + ". It is left as it is.");
    if (version < 1) throw HistoryError(path + " is damaged (no schema version); it is left as it is.");
    if (const std::string missing = TableMissing(db, version); !missing.empty())
        throw HistoryError(path + " is damaged (table " + missing + " is missing); it is left as it is.");
    if (access == HistoryDatabase::Access::Read && version == HistorySchemaVersion) return;
    if (const std::string finding = FirstQuickCheckFinding(db); !finding.empty())
        throw HistoryError(path + " is damaged (" + finding + "); it is left as it is.");
    if (version == 1) UpgradeFromVersion1(db);
}

}  // namespace

HistoryDatabase::HistoryDatabase(const std::string& path, Access access) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) throw HistoryError(path + " is not a file.");
    if (!exists && access == Access::Read) throw HistoryError("There is no history database " + path + ".");
    // Opened for writing even to read: the write-ahead log of an add that
    // was killed is recovered on first use, which needs write access.
    const int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    try {
        state_ = std::make_unique<State>(State{path, sql::Database(path, flags)});
        CheckOrCreate(state_->Db, path, access);
        if (access == Access::Read) state_->Db.Execute("PRAGMA query_only = 1");
        if (access == Access::Write) {
            WriteAheadLogging(state_->Db);
            state_->Writes = true;
        }
    } catch (const sql::SqliteError& failure) {
        if (state_ != nullptr) state_->Refuse(failure);
        throw HistoryError("Cannot open history database " + path + ": " + failure.what());
    }
}

// An add ends with the log moved into the file and the file back in
// rollback mode: a history at rest then reads from a read-only file or
// folder (an archive, a share), which a file in log mode cannot. Another
// program still at the file keeps it in log mode until it ends.
HistoryDatabase::~HistoryDatabase() {
    if (state_ == nullptr || !state_->Writes) return;
    try {
        state_->Db.Execute("PRAGMA journal_mode = DELETE");
    } catch (const sql::SqliteError&) {
    }
}
HistoryDatabase::HistoryDatabase(HistoryDatabase&&) noexcept = default;

std::vector<StoredReport> HistoryDatabase::State::StoredReports() {
    std::vector<StoredReport> reports;
    sql::Statement select(
        Db, "SELECT id, file, system, collection_date, collection_time, elapsed_seconds FROM report ORDER BY id");
    while (select.Step()) {
        StoredReport& report = reports.emplace_back();
        report.Id = select.ReadInteger(0);
        report.Stamp = {select.ReadText(1), select.ReadText(2), select.ReadText(3), select.ReadText(4),
                        static_cast<std::int32_t>(select.ReadInteger(5))};
    }
    return reports;
}

std::vector<ReportStamp> HistoryDatabase::Stamps() {
    try {
        std::vector<ReportStamp> stamps;
        for (StoredReport& report : state_->StoredReports()) stamps.push_back(std::move(report.Stamp));
        return stamps;
    } catch (const sql::SqliteError& failure) {
        state_->Refuse(failure);
    }
}

namespace {

// The statements of one add, prepared once per report; the interned ids it
// makes are remembered so that a failed add takes them out of the caches.
class StoredReportWriter {
public:
    explicit StoredReportWriter(HistoryDatabase::State& state)
        : state_(state),
          report_(state.Db,
                  "INSERT INTO report (file, system, collection_date, collection_time, collected_at, "
                  "elapsed_seconds) VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"),
          pool_(state.Db, PoolInsert()),
          adviceText_(state.Db, "INSERT INTO advice_text (text) VALUES (?) ON CONFLICT DO NOTHING"),
          adviceId_(state.Db, "SELECT id FROM advice_text WHERE text = ?"),
          objects_(state.Db, "INSERT INTO pool_object_list (pool_id, objects) VALUES (?, ?)"),
          objectName_(state.Db, "INSERT INTO object (name, type) VALUES (?, ?) ON CONFLICT DO NOTHING"),
          objectId_(state.Db, "SELECT id FROM object WHERE name = ? AND type = ?") {}

    // False when the report's system, date and time are already stored.
    bool Write(const TrendReport& report) {
        const ReportStamp& stamp = report.Stamp;
        report_.Bind(1, stamp.File).Bind(2, stamp.System).Bind(3, stamp.Date).Bind(4, stamp.Time);
        if (const std::optional<std::string> at = SortableStamp(stamp))
            report_.Bind(5, *at);
        else
            report_.BindNull(5);
        report_.Bind(6, std::int64_t{stamp.ElapsedSeconds}).Run();
        if (state_.Db.Changes() == 0) return false;
        const std::int64_t reportId = state_.Db.LastInsertId();
        for (std::size_t p = 0; p < report.Pools.size(); ++p) WritePool(reportId, p, report.Pools[p]);
        return true;
    }

    // The ids this add interned, taken out again when it does not commit.
    void Forget() {
        state_.LastPoolObjects.clear();
        for (const std::string& key : newObjects_) state_.ObjectIds.erase(key);
        for (const std::string& text : newAdvice_) state_.AdviceIds.erase(text);
    }

private:
    static std::string PoolInsert() {
        std::string columns = "report_id, position, name, vp_size, hp_size, vpseqt, hpseqt, dwqt, vdwqt";
        std::string values = "?, ?, ?, ?, ?, ?, ?, ?, ?";
        for (const std::string& column : FigureColumns()) {
            columns += ", " + column;
            values += ", ?";
        }
        return "INSERT INTO pool (" + columns + ", random_advice, sequential_advice) VALUES (" + values + ", ?, ?)";
    }

    void WritePool(std::int64_t reportId, std::size_t position, const TrendPool& pool) {
        const PoolSettings& s = pool.Settings;
        pool_.Bind(1, reportId).Bind(2, static_cast<std::int64_t>(position)).Bind(3, pool.Name);
        pool_.Bind(4, std::int64_t{s.VPSize}).Bind(5, std::int64_t{s.HPSize});
        pool_.Bind(6, std::int64_t{s.VPSEQT}).Bind(7, std::int64_t{s.HPSEQT}).Bind(8, s.DWQT).Bind(9, s.VDWQT);
        int column = 10;
        for (const double figure : pool.Figures) pool_.Bind(column++, figure);
        for (const UsageIntent intent : BothIntents) {
            adviceIds_.clear();
            for (const std::string& line : pool.Advice[IntentIndex(intent)]) adviceIds_.push_back(AdviceId(line));
            PackIds(adviceIds_, packedText_);
            pool_.Bind(column++, std::string_view(packedText_));
        }
        pool_.Run();
        const std::int64_t poolId = state_.Db.LastInsertId();
        std::vector<HistoryDatabase::State::StoredObject>& last = state_.LastPoolObjects[pool.Name];
        last.resize(pool.Objects.size());
        packed_.resize(pool.Objects.size());
        for (std::size_t o = 0; o < pool.Objects.size(); ++o) {
            const TrendObject& object = pool.Objects[o];
            packed_[o] = {StoredObjectId(object, last[o]), object.GetPages, object.SyncReadIOs};
        }
        PackObjects(packed_, packedText_);
        objects_.Bind(1, poolId).Bind(2, std::string_view(packedText_)).Run();
    }

    // `atPlace`: the object stored at this place of the pool last time.
    std::int64_t StoredObjectId(const TrendObject& object, HistoryDatabase::State::StoredObject& atPlace) {
        if (atPlace.Id == 0 || object.Name != atPlace.Name || object.Type != atPlace.Type)
            atPlace = {object.Name.String(), object.Type.String(), ObjectId(object.Name, object.Type)};
        return atPlace.Id;
    }

    std::int64_t AdviceId(const std::string& text) {
        if (const auto known = state_.AdviceIds.find(text); known != state_.AdviceIds.end()) return known->second;
        adviceText_.Bind(1, text).Run();
        adviceId_.Bind(1, text);
        const std::int64_t id = adviceId_.Step() ? adviceId_.ReadInteger(0) : 0;
        adviceId_.Reset();
        state_.AdviceIds.emplace(text, id);
        newAdvice_.push_back(text);
        return id;
    }

    std::int64_t ObjectId(std::string_view name, std::string_view type) {
        const std::string& key = ObjectKey(key_, name, type);
        if (const auto known = state_.ObjectIds.find(key); known != state_.ObjectIds.end()) return known->second;
        objectName_.Bind(1, name).Bind(2, type).Run();
        objectId_.Bind(1, name).Bind(2, type);
        const std::int64_t id = objectId_.Step() ? objectId_.ReadInteger(0) : 0;
        objectId_.Reset();
        state_.ObjectIds.emplace(key, id);
        newObjects_.push_back(key);
        return id;
    }

    HistoryDatabase::State& state_;
    sql::Statement report_, pool_, adviceText_, adviceId_, objects_, objectName_, objectId_;
    std::string key_;
    std::vector<std::int64_t> adviceIds_;
    std::vector<PackedObject> packed_;
    std::string packedText_;
    std::vector<std::string> newObjects_;
    std::vector<std::string> newAdvice_;
};

void LoadInternedIds(HistoryDatabase::State& state) {
    sql::Statement objects(state.Db, "SELECT id, name, type FROM object");
    std::string key;
    while (objects.Step())
        state.ObjectIds.emplace(ObjectKey(key, objects.ReadText(1), objects.ReadText(2)), objects.ReadInteger(0));
    sql::Statement advice(state.Db, "SELECT id, text FROM advice_text");
    while (advice.Step()) state.AdviceIds.emplace(advice.ReadText(1), advice.ReadInteger(0));
    state.IdsLoaded = true;
}

}  // namespace

AddOutcome HistoryDatabase::Add(const TrendReport& report) {
    for (const TrendPool& pool : report.Pools)
        if (pool.Figures.size() != FigureColumns().size())
            throw HistoryError("Pool " + pool.Name + " of " + report.Stamp.File + " has " +
                               std::to_string(pool.Figures.size()) + " figures instead of " +
                               std::to_string(FigureColumns().size()) + "; the report is not stored.");
    try {
        sql::Transaction transaction(state_->Db);
        if (!state_->IdsLoaded) LoadInternedIds(*state_);
        StoredReportWriter writer(*state_);
        try {
            if (!writer.Write(report)) return AddOutcome::AlreadyStored;
            transaction.Commit();
        } catch (...) {
            writer.Forget();
            throw;
        }
        return AddOutcome::Added;
    } catch (const sql::SqliteError& failure) {
        state_->Refuse(failure);
    }
}

}  // namespace kov
