#include "report/HistoryReport.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "analysis/Trend.h"
#include "history/HistoryDatabase.h"
#include "report/TextTable.h"
#include "report/TrendReport.h"

namespace kov {

namespace {

std::string StampText(const ReportStamp& stamp) {
    return stamp.System + " " + stamp.Date + " " + stamp.Time;
}

std::string Plural(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

int RunHistoryAdd(const std::string& database, const std::vector<std::string>& files, std::ostream& out,
                  std::ostream& err, unsigned threads) {
    std::size_t added = 0;
    std::size_t skipped = 0;
    std::size_t leftOut = 0;
    try {
        HistoryDatabase history(database, HistoryDatabase::Access::Write);
        ReadTrendReports(files, threads, [&](std::optional<TrendReport> report, const LeftOutReport& why) {
            if (!report) {
                ++leftOut;
                err << "kovgraph-report: '" << why.File << "' was not read to its end and is not stored:\n";
                for (const std::string& message : why.Messages) err << "  " << message << "\n";
                return;
            }
            const ReportStamp& stamp = report->Stamp;
            if (history.Add(*report) == AddOutcome::Added) {
                ++added;
                out << "Added " << stamp.File << " (" << StampText(stamp) << ")\n";
            } else {
                ++skipped;
                out << "Skipped " << stamp.File << ": " << StampText(stamp) << " is already stored\n";
            }
        });
    } catch (const HistoryError& error) {
        err << "kovgraph-report: " << error.what() << "\n";
        return 1;
    }
    out << Plural(added, "report") << " added, " << skipped << " already stored, " << leftOut << " left out\n";
    return leftOut == 0 ? 0 : 1;
}

int RunHistoryList(const std::string& database, std::ostream& out, std::ostream& err) {
    try {
        HistoryDatabase history(database, HistoryDatabase::Access::Read);
        StringTable table{{"System", "Reports", "First", "Last"}, {}};
        for (const SystemHistory& system : history.List())
            table.Rows.push_back({system.System, std::to_string(system.Reports),
                                  system.First.Date + " " + system.First.Time,
                                  system.Last.Date + " " + system.Last.Time});
        if (table.Rows.empty())
            out << "No reports are stored in " << database << ".\n";
        else
            out << TextTable(table, 1, "");
    } catch (const HistoryError& error) {
        err << "kovgraph-report: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

int RunHistoryTrend(const std::string& database, const TrendFilter& filter, bool json, std::ostream& out,
                    std::ostream& err) {
    TrendResult trend;
    try {
        trend = TrendFromHistory(database, filter);
    } catch (const HistoryError& error) {
        err << "kovgraph-report: " << error.what() << "\n";
        return 1;
    }
    return PrintTrend(trend, json, out, err);
}

}  // namespace kov
