#pragma once
// kovgraph-report --history DB --add FILE..., --history DB --list and
// --trend ... --history DB: the history database filled from statistics
// reports, its contents listed, and the trend of what it holds.

#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/Trend.h"

namespace kov {

// Stores each file's report (read on all cores, stored in argument order);
// says for each whether it was added or already stored, and lists on `err`
// those not read to their end. 0: every report stored or already there;
// 1: a report left out, or a database that cannot be used.
int RunHistoryAdd(const std::string& database, const std::vector<std::string>& files, std::ostream& out,
                  std::ostream& err, unsigned threads = 0);

// The systems stored, each with its first and last interval and its count.
int RunHistoryList(const std::string& database, std::ostream& out, std::ostream& err);

// The trend of the stored reports the filter passes, printed as the trend of
// report files is (docs/trend-json.md). 1 when the database cannot be used.
int RunHistoryTrend(const std::string& database, const TrendFilter& filter, bool json, std::ostream& out,
                    std::ostream& err);

}  // namespace kov
