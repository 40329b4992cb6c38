#pragma once
// Small trend records for the history tests, and a look at the database
// file from outside the history library.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "analysis/Trend.h"
#include "support/ReportFiles.h"

namespace kov::test {

// A report of one system with `pools` pools, each with `objects` objects and
// advice lines shared between pools, its figures made from `seed`.
inline TrendReport MakeTrendReport(const std::string& system, const std::string& date, const std::string& time,
                                   int pools = 2, int objects = 3, double seed = 1) {
    TrendReport report{{system + "_" + date + "_" + time + ".sta", system, date, time, 3600}, {}};
    for (int p = 0; p < pools; ++p) {
        TrendPool& pool = report.Pools.emplace_back();
        pool.Name = "BP" + std::to_string(p);
        pool.Settings = {1000 * (p + 1), 10 * p, 80, 0, 50.5, 10};
        for (int f = 0; f < 14; ++f) pool.Figures.push_back(seed * (f + 1) + p / 3.0);
        pool.Advice[0] = {"Increase the pool size", "Pool " + pool.Name + " is busy"};
        if (p % 2 == 1) pool.Advice[1] = {"Increase the pool size"};
        for (int o = 0; o < objects; ++o)
            pool.Objects.push_back({"DB" + std::to_string(p) + ".TS" + std::to_string(o), o % 2 ? "I" : "T",
                                    static_cast<std::int32_t>(seed * 4) * o + 1,
                                    static_cast<std::int32_t>(seed * 1200) / (o + 3)});
    }
    return report;
}

// A pool's objects as rows that compare whole.
using ObjectRow = std::tuple<std::string, std::string, std::int32_t, std::int32_t>;
inline std::vector<ObjectRow> ObjectRows(const std::vector<TrendObject>& objects) {
    std::vector<ObjectRow> rows;
    for (const TrendObject& o : objects) rows.emplace_back(o.Name, o.Type, o.GetPages, o.SyncReadIOs);
    return rows;
}

// A history database file in a folder of its own.
class HistoryFile : public ::testing::Test {
protected:
    TempFolder folder_;
    const std::string path_ = folder_.Path("history.db");
};

// The first column of a query's rows, NULL as "NULL", one row a line.
inline std::string QueryTexts(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string rows;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) rows = sqlite3_errmsg(db);
    while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        rows += (text != nullptr ? text : "NULL") + std::string("\n");
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// The one number a query gives.
inline std::int64_t QueryNumber(const std::string& path, const std::string& sql) {
    const std::string rows = QueryTexts(path, sql);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(rows.data(), rows.data() + rows.size(), value);
    if (error != std::errc() || std::string_view(end) != "\n") throw std::runtime_error(sql + ": " + rows);
    return value;
}

inline void ExecuteSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string text = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (result != SQLITE_OK) throw std::runtime_error(sql + ": " + text);
}

}  // namespace kov::test
