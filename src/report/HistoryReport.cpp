#include "report/HistoryReport.h"

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>

#include "analysis/Trend.h"
#include "history/HistoryDatabase.h"
#include "readers/ReportLoading.h"
#include "report/TextTable.h"
#include "report/TrendReport.h"

namespace kov {

namespace {

// A file read: its report reduced, or why it is left out.
struct ReadFile {
    std::optional<TrendReport> Report;
    LeftOutReport LeftOut;
};

ReadFile ReadAndSummarize(const std::string& file) {
    const auto set = ReadReportSet(file);
    if (set->StatsRead) return {SummarizeReport(set->Model, file), {}};
    LeftOutReport leftOut{file, {}};
    for (const Message& message : set->Sink.Messages) leftOut.Messages.push_back(message.Text);
    if (leftOut.Messages.empty()) leftOut.Messages.push_back("it holds no statistics");
    return {std::nullopt, std::move(leftOut)};
}

// Reads the files on `threads` workers, never more than a few reports ahead
// of the one being stored, and hands each to `store` in argument order, so a
// run stores its reports in the order given whatever the threads do.
class OrderedReading {
public:
    OrderedReading(const std::vector<std::string>& files, unsigned threads)
        : files_(files), done_(files.size()), ahead_(threads + 1) {
        for (unsigned t = 0; t < threads; ++t) workers_.emplace_back([this] { Work(); });
    }
    ~OrderedReading() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
    }  // the workers join as they leave

    void ForEach(const std::function<void(ReadFile)>& store) {
        for (std::size_t f = 0; f < files_.size(); ++f) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return done_[f].has_value(); });
            ReadFile file = std::move(*done_[f]);
            done_[f].reset();
            stored_ = f + 1;
            lock.unlock();
            changed_.notify_all();
            store(std::move(file));
        }
    }

private:
    void Work() {
        for (;;) {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || next_ >= files_.size() || next_ < stored_ + ahead_; });
            if (stop_ || next_ >= files_.size()) return;
            const std::size_t f = next_++;
            lock.unlock();
            ReadFile file = ReadAndSummarize(files_[f]);
            lock.lock();
            done_[f] = std::move(file);
            lock.unlock();
            changed_.notify_all();
        }
    }

    const std::vector<std::string>& files_;
    std::vector<std::optional<ReadFile>> done_;
    const std::size_t ahead_;
    std::size_t next_ = 0;
    std::size_t stored_ = 0;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::jthread> workers_;  // last: they stop before what they use goes
};

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
        if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
        OrderedReading reading(files, static_cast<unsigned>(std::min<std::size_t>(threads, files.size())));
        reading.ForEach([&](ReadFile file) {
            if (!file.Report) {
                ++leftOut;
                err << "kovgraph-report: '" << file.LeftOut.File << "' was not read to its end and is not stored:\n";
                for (const std::string& message : file.LeftOut.Messages) err << "  " << message << "\n";
                return;
            }
            const ReportStamp& stamp = file.Report->Stamp;
            if (history.Add(*file.Report) == AddOutcome::Added) {
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
