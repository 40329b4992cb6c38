// Reading the history back: the systems it holds, and the stored reports fed
// to a trend in collection order.

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string_view>

#include "history/HistoryState.h"
#include "model/UsageIntent.h"

namespace kov {

std::vector<SystemHistory> HistoryDatabase::List() {
    std::map<std::string, SystemHistory> systems;
    for (const ReportStamp& stamp : Stamps()) {
        SystemHistory& system = systems[stamp.System];
        if (system.Reports == 0) {
            system.System = stamp.System;
            system.First = stamp;
            system.Last = stamp;
        } else {
            if (CollectedBefore(stamp, system.First)) system.First = stamp;
            if (CollectedBefore(system.Last, stamp)) system.Last = stamp;
        }
        ++system.Reports;
    }
    std::vector<SystemHistory> list;
    list.reserve(systems.size());
    for (auto& [name, system] : systems) list.push_back(std::move(system));
    return list;
}

namespace {

// For one pool the name index finds it at once: left to itself the planner,
// which has no statistics, would rather walk all of the report's pools in
// position order to save sorting, fetching every pool row to test its name.
std::string PoolSelect(bool onePool) {
    std::string sql = "SELECT id, name, vp_size, hp_size, vpseqt, hpseqt, dwqt, vdwqt";
    for (const std::string& column : FigureColumns()) sql += ", " + column;
    sql += onePool ? " FROM pool INDEXED BY pool_by_name WHERE report_id = ? AND name = ?"
                   : " FROM pool WHERE report_id = ?";
    return sql + " ORDER BY position";
}

// The statements that read one stored report back into a TrendReport.
class StoredReportReader {
public:
    StoredReportReader(sql::Database& db, const std::string& pool)
        : poolName_(pool),
          pools_(db, PoolSelect(!pool.empty())),
          advice_(db,
                  "SELECT a.intent, t.text FROM pool_advice a JOIN advice_text t ON t.id = a.advice_id "
                  "WHERE a.pool_id = ? ORDER BY a.intent, a.position"),
          objects_(db,
                   "SELECT object_id, get_pages_per_sec, sync_read_ios_per_sec FROM pool_object "
                   "WHERE pool_id = ? ORDER BY position"),
          objectName_(db, "SELECT name, type FROM object WHERE id = ?") {}

    TrendReport Read(const StoredReport& stored) {
        TrendReport report{stored.Stamp, {}};
        pools_.Bind(1, stored.Id);
        if (!poolName_.empty()) pools_.Bind(2, poolName_);
        while (pools_.Step()) report.Pools.push_back(ReadPool());
        pools_.Reset();
        for (std::size_t p = 0; p < report.Pools.size(); ++p) ReadPoolRows(poolIds_[p], report.Pools[p]);
        poolIds_.clear();
        return report;
    }

private:
    TrendPool ReadPool() {
        poolIds_.push_back(pools_.ReadInteger(0));
        TrendPool pool;
        pool.Name = pools_.ReadText(1);
        pool.Settings = {static_cast<std::int32_t>(pools_.ReadInteger(2)),
                         static_cast<std::int32_t>(pools_.ReadInteger(3)),
                         static_cast<std::int32_t>(pools_.ReadInteger(4)),
                         static_cast<std::int32_t>(pools_.ReadInteger(5)),
                         pools_.ReadReal(6),
                         pools_.ReadReal(7)};
        for (int f = 0; f < static_cast<int>(FigureColumns().size()); ++f)
            pool.Figures.push_back(pools_.ReadReal(8 + f));
        return pool;
    }

    void ReadPoolRows(std::int64_t poolId, TrendPool& pool) {
        advice_.Bind(1, poolId);
        while (advice_.Step()) {
            const std::string letter = advice_.ReadText(0);
            const UsageIntent intent =
                IntentFromLetter(letter.empty() ? ' ' : letter.front()).value_or(UsageIntent::Random);
            pool.Advice[IntentIndex(intent)].push_back(advice_.ReadText(1));
        }
        advice_.Reset();
        objects_.Bind(1, poolId);
        while (objects_.Step()) {
            TrendObject& object = pool.Objects.emplace_back(NamedObject(objects_.ReadInteger(0)));
            object.GetPages = objects_.ReadReal(1);
            object.SyncReadIOs = objects_.ReadReal(2);
        }
        objects_.Reset();
    }

    // An object's name and type, read once per read of the history: a trend
    // of one pool needs the names of its own objects only.
    const TrendObject& NamedObject(std::int64_t id) {
        const auto [named, added] = objectNames_.try_emplace(id);
        if (added) {
            objectName_.Bind(1, id);
            const bool found = objectName_.Step();
            const bool fits = found && TakeName(named->second);
            objectName_.Reset();
            if (!fits) {
                objectNames_.erase(named);
                throw sql::SqliteError(
                    "object " + std::to_string(id) +
                        (found ? " has a name or type wider than a report's column" : " has no name"),
                    SQLITE_CORRUPT);
            }
        }
        return named->second;
    }

    // False when the stored name or type is wider than a report holds: not
    // written by this program, and not to be cut short.
    bool TakeName(TrendObject& object) {
        const std::string_view name = objectName_.ReadTextView(0);
        const std::string_view type = objectName_.ReadTextView(1);
        if (name.size() > decltype(object.Name)::Capacity || type.size() > decltype(object.Type)::Capacity)
            return false;
        object.Name = name;
        object.Type = type;
        return true;
    }

    std::string poolName_;
    sql::Statement pools_, advice_, objects_, objectName_;
    std::unordered_map<std::int64_t, TrendObject> objectNames_;
    std::vector<std::int64_t> poolIds_;
};

}  // namespace

void HistoryDatabase::ForEachReport(const TrendFilter& filter, const std::string& pool,
                                    const std::function<void(TrendReport)>& take, const std::stop_token& stop) {
    try {
        std::vector<StoredReport> reports = state_->StoredReports();
        std::erase_if(reports, [&](const StoredReport& report) { return !Passes(filter, report.Stamp); });
        std::stable_sort(reports.begin(), reports.end(), [](const StoredReport& a, const StoredReport& b) {
            return CollectedBefore(a.Stamp, b.Stamp);
        });
        StoredReportReader reader(state_->Db, pool);
        for (const StoredReport& report : reports) {
            if (stop.stop_requested()) return;
            take(reader.Read(report));
        }
    } catch (const sql::SqliteError& failure) {
        state_->Refuse(failure);
    }
}

TrendResult TrendFromHistory(const std::string& path, const TrendFilter& filter, const std::string& pool,
                             const std::stop_token& stop) {
    HistoryDatabase history(path, HistoryDatabase::Access::Read);
    TrendBuilder builder;
    history.ForEachReport(
        filter, pool, [&builder](TrendReport report) { builder.Add(std::move(report)); }, stop);
    return builder.Finish();
}

}  // namespace kov
