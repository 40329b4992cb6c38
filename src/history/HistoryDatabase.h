#pragma once
// The history of many collection intervals in one SQLite file: each
// statistics report reduced to a `TrendReport` and stored in one
// transaction, read back in collection order into a `TrendBuilder`, so a
// trend from the database equals the trend from the same files. The schema
// and its version rule are in docs/history.md.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "analysis/Trend.h"

namespace kov {

// The schema this program writes; a database of a newer one is refused.
inline constexpr std::int32_t HistorySchemaVersion = 2;

// A database that cannot be used, in words for the user (it names the file).
class HistoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One system's stored intervals.
struct SystemHistory {
    std::string System;
    ReportStamp First;  // the earliest collection date and time
    ReportStamp Last;   // the latest
    std::size_t Reports = 0;
};

enum class AddOutcome { Added, AlreadyStored };

class HistoryDatabase {
public:
    // Read: the database must exist; nothing is written to it.
    // Write: made when the file does not exist; an existing file is checked
    // whole before anything is written to it.
    enum class Access { Read, Write };

    // Throws HistoryError for a file that is not a history database of this
    // program (not SQLite, damaged, another program's, a newer schema); such
    // a file is left as it was.
    HistoryDatabase(const std::string& path, Access access);
    ~HistoryDatabase();
    HistoryDatabase(HistoryDatabase&&) noexcept;
    HistoryDatabase(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(const HistoryDatabase&) = delete;
    HistoryDatabase& operator=(HistoryDatabase&&) = delete;

    // One transaction: the report is stored whole or not at all. A report of
    // the same system, date and time already stored is left as it is.
    AddOutcome Add(const TrendReport& report);

    // Every stored report's stamp, in the order stored.
    std::vector<ReportStamp> Stamps();

    // Systems by identity, each with its first and last interval.
    std::vector<SystemHistory> List();

    // Hands `take` the stored reports the filter passes one at a time, in
    // collection order; with a pool name, each report carries that pool alone.
    // Once `stop` is requested no further report is read.
    void ForEachReport(const TrendFilter& filter, const std::string& pool, const std::function<void(TrendReport)>& take,
                       const std::stop_token& stop = {});

    struct State;  // the connection; defined inside the history library

private:
    std::unique_ptr<State> state_;
};

// The trend of the stored reports the filter passes (one pool when named);
// once `stop` is requested, that of the reports read so far.
TrendResult TrendFromHistory(const std::string& path, const TrendFilter& filter = {}, const std::string& pool = {},
                             const std::stop_token& stop = {});

}  // namespace kov
