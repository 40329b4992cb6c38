// Reading the history back: the systems it holds, and the stored reports fed
// to a trend in collection order.

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string_view>

#include "history/HistoryState.h"
#include "history/PackedLists.h"
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
    sql += ", random_advice, sequential_advice";
    sql += onePool ? " FROM pool INDEXED BY pool_by_report_and_name WHERE report_id = ? AND name = ?"
                   : " FROM pool WHERE report_id = ?";
    return sql + " ORDER BY position";
}

// The statements that read one stored report back into a TrendReport.
class StoredReportReader {
public:
    StoredReportReader(sql::Database& db, const std::string& pool)
        : poolName_(pool),
          pools_(db, PoolSelect(!pool.empty())),
          objects_(db, "SELECT objects FROM pool_object_list WHERE pool_id = ?"),
          adviceText_(db, "SELECT text FROM advice_text WHERE id = ?"),
          objectName_(db, "SELECT name, type FROM object WHERE id = ?") {}

    TrendReport Read(const StoredReport& stored) {
        TrendReport report{stored.Stamp, {}};
        pools_.Bind(1, stored.Id);
        if (!poolName_.empty()) pools_.Bind(2, poolName_);
        while (pools_.Step()) report.Pools.push_back(ReadPool());
        pools_.Reset();
        for (std::size_t p = 0; p < report.Pools.size(); ++p) ReadObjects(poolIds_[p], report.Pools[p]);
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
        const int figures = static_cast<int>(FigureColumns().size());
        for (int f = 0; f < figures; ++f) pool.Figures.push_back(pools_.ReadReal(8 + f));
        for (const UsageIntent intent : BothIntents) {
            const int column = 8 + figures + static_cast<int>(IntentIndex(intent));
            if (!UnpackIds(pools_.ReadTextView(column), ids_)) throw Damaged("advice lines", poolIds_.back());
            for (const std::int64_t id : ids_) pool.Advice[IntentIndex(intent)].push_back(AdviceText(id));
        }
        return pool;
    }

    static sql::SqliteError Damaged(const std::string& list, std::int64_t poolId) {
        return sql::SqliteError("the " + list + " of pool row " + std::to_string(poolId) + " do not read",
                                SQLITE_CORRUPT);
    }

    void ReadObjects(std::int64_t poolId, TrendPool& pool) {
        objects_.Bind(1, poolId);
        if (objects_.Step()) {
            if (!UnpackObjects(objects_.ReadTextView(0), unpacked_)) throw Damaged("objects", poolId);
            pool.Objects.reserve(unpacked_.size());
            for (const PackedObject& stored : unpacked_) {
                TrendObject& object = pool.Objects.emplace_back(NamedObject(stored.Id));
                object.GetPages = stored.GetPages;
                object.SyncReadIOs = stored.SyncReadIOs;
            }
        }
        objects_.Reset();
    }

    // Each advice line's text, read once per read of the history.
    const std::string& AdviceText(std::int64_t id) {
        const auto [text, added] = adviceTexts_.try_emplace(id);
        if (added) {
            adviceText_.Bind(1, id);
            const bool found = adviceText_.Step();
            if (found) text->second = adviceText_.ReadText(0);
            adviceText_.Reset();
            if (!found) {
                adviceTexts_.erase(text);
                throw sql::SqliteError("advice line " + std::to_string(id) + " has no text", SQLITE_CORRUPT);
            }
        }
        return text->second;
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
    sql::Statement pools_, objects_, adviceText_, objectName_;
    std::vector<PackedObject> unpacked_;
    std::vector<std::int64_t> ids_;
    std::unordered_map<std::int64_t, std::string> adviceTexts_;
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
