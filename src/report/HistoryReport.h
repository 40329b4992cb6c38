#pragma once
// kovgraph-report --history DB --add FILE... and --history DB --list: the
// history database filled from statistics reports and its contents listed.

#include <iosfwd>
#include <string>
#include <vector>

namespace kov {

// Stores each file's report (read on all cores, stored in argument order);
// says for each whether it was added or already stored, and lists on `err`
// those not read to their end. 0: every report stored or already there;
// 1: a report left out, or a database that cannot be used.
int RunHistoryAdd(const std::string& database, const std::vector<std::string>& files, std::ostream& out,
                  std::ostream& err, unsigned threads = 0);

// The systems stored, each with its first and last interval and its count.
int RunHistoryList(const std::string& database, std::ostream& out, std::ostream& err);

}  // namespace kov
