#pragma once
// Inside the history database: the open connection and what its statements
// share. Only the history library's sources include this.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "history/HistoryDatabase.h"
#include "history/Sqlite.h"

namespace kov {

// A stored report's row id beside its stamp.
struct StoredReport {
    std::int64_t Id = 0;
    ReportStamp Stamp;
};

struct HistoryDatabase::State {
    std::string Path;
    sql::Database Db;
    bool Writes = false;  // opened to add reports
    // Ids of the interned object names and advice texts, filled on the
    // first add; entries made by an add that did not commit are taken out.
    bool IdsLoaded = false;
    std::unordered_map<std::string, std::int64_t> ObjectIds;  // ObjectKey(name, type)
    std::unordered_map<std::string, std::int64_t> AdviceIds;
    // Each pool's objects (by pool name) as the last add stored them: a pool
    // lists the same objects in the same order report after report, and
    // then an object's id is the one at its place, not looked up by name.
    struct StoredObject {
        std::string Name;
        std::string Type;
        std::int64_t Id = 0;  // 0: none stored at this place yet
    };
    std::unordered_map<std::string, std::vector<StoredObject>> LastPoolObjects;

    std::vector<StoredReport> StoredReports();
    // The failure in words for the user, naming the file.
    [[noreturn]] void Refuse(const sql::SqliteError& failure) const;
};

// The 14 pool-grid figures' columns of the pool table, in figure order.
const std::vector<std::string>& FigureColumns();

}  // namespace kov
