#include "analysis/Trend.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <tuple>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "analysis/CompareReports.h"
#include "analysis/GeneralInfo.h"
#include "analysis/TuningRules.h"
#include "common/CollectionDate.h"
#include "common/Formats.h"
#include "common/TextMatch.h"
#include "model/Figures.h"
#include "readers/ActivityConversion.h"
#include "readers/ReportFileKind.h"
#include "readers/ReportLoading.h"

namespace kov {

namespace {

ReportStamp StampOf(const SystemInfo& info, std::int32_t elapsedSeconds, const std::string& file) {
    return {file, info.System.TrimmedString() + "/" + info.SubSystem.TrimmedString(),
            info.CollectionDate.TrimmedString(), info.CollectionTime.TrimmedString(), elapsedSeconds};
}

// A date or time read as numbers sorts by the calendar whatever form its tool
// wrote; one that cannot be read sorts after every readable one, by its text.
struct TimeKey {
    std::optional<CalendarDate> Date;
    std::optional<std::array<int, 3>> Clock;
};

TimeKey KeyOf(const ReportStamp& stamp) {
    return {ReadCollectionDate(stamp.Date), ReadCollectionTime(stamp.Time)};
}

template <typename T>
int Order(const std::optional<T>& a, const std::optional<T>& b) {
    if (a && b) return *a < *b ? -1 : *b < *a ? 1 : 0;
    return a ? -1 : b ? 1 : 0;
}

int CompareStamps(const ReportStamp& a, const ReportStamp& b) {
    const TimeKey ka = KeyOf(a), kb = KeyOf(b);
    if (const int date = Order(ka.Date, kb.Date); date != 0) return date;
    if (!ka.Date && a.Date != b.Date) return a.Date < b.Date ? -1 : 1;
    if (const int clock = Order(ka.Clock, kb.Clock); clock != 0) return clock;
    if (!ka.Clock && a.Time != b.Time) return a.Time < b.Time ? -1 : 1;
    return 0;
}

std::vector<double> ComparedPoolFigures(const PoolRecord& pool, std::int32_t seconds) {
    std::vector<double> values;
    for (const Figure& figure : PoolFigures(pool, seconds)) values.push_back(ComparedValue(figure, seconds));
    return values;
}

PoolSettings SettingsOf(const PoolRecord& pool) {
    return {pool.VPSize, pool.HPSize, pool.VPSEQT, pool.HPSEQT, pool.DWQT, pool.VDWQT};
}

// "VP size 40,000 -> 60,000", one text per setting that moved.
std::vector<std::string> SettingChanges(const PoolSettings& before, const PoolSettings& after) {
    std::vector<std::string> texts;
    const auto whole = [&](const char* name, std::int32_t b, std::int32_t a) {
        if (b != a) texts.push_back(std::string(name) + " " + Grouped(b, 0) + " -> " + Grouped(a, 0));
    };
    const auto decimal = [&](const char* name, double b, double a) {
        if (b != a) texts.push_back(std::string(name) + " " + ShortestDecimal(b) + " -> " + ShortestDecimal(a));
    };
    whole("VP size", before.VPSize, after.VPSize);
    whole("HP size", before.HPSize, after.HPSize);
    whole("VPSEQT", before.VPSEQT, after.VPSEQT);
    whole("HPSEQT", before.HPSEQT, after.HPSEQT);
    decimal("DWQT", before.DWQT, after.DWQT);
    decimal("VDWQT", before.VDWQT, after.VDWQT);
    return texts;
}

// Objects of one name in one pool pair by their order, as the compare pairs
// them: the k-th "DUP" of one report with the k-th of the next.
struct NamedObjects {
    std::vector<std::size_t> Drifts;                    // positions in PoolState::Readings, in pairing order
    std::size_t Report = static_cast<std::size_t>(-1);  // the report whose objects are being paired
    std::size_t Paired = 0;                             // of this name in that report so far
};

// Looked up by the object's own name without copying it: a month of reports
// at capacity pairs millions of objects.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>()(name); }
};

// What a trend follows of one object from report to report, apart from its
// name and type: every report of a pool at capacity touches 5000 of them,
// which then lie a few to a cache line.
struct DriftReading {
    double First = 0;
    double Last = 0;
    std::size_t FirstReport = 0;
    std::size_t LastReport = 0;

    double Change() const { return Last - First; }
};

struct ObjectIdentity {
    std::string Name;
    std::string Type;
};

// The largest changes one way, largest first; equal changes keep the order
// in which the objects first appeared. Only objects that moved that way take part.
std::vector<ObjectDrift> TopDrifts(const std::vector<DriftReading>& readings,
                                   const std::vector<ObjectIdentity>& identities, bool rises) {
    std::vector<std::size_t> moved;
    for (std::size_t i = 0; i < readings.size(); ++i)
        if (rises ? readings[i].Change() > 0 : readings[i].Change() < 0) moved.push_back(i);
    std::stable_sort(moved.begin(), moved.end(), [&](std::size_t x, std::size_t y) {
        return rises ? readings[x].Change() > readings[y].Change() : readings[x].Change() < readings[y].Change();
    });
    if (moved.size() > TopObjectChanges) moved.resize(TopObjectChanges);
    std::vector<ObjectDrift> top;
    for (const std::size_t i : moved) {
        const DriftReading& reading = readings[i];
        top.push_back({identities[i].Name, identities[i].Type, reading.FirstReport, reading.LastReport, reading.First,
                       reading.Last, reading.Change()});
    }
    return top;
}

struct PoolState {
    PoolTrend Trend;
    PoolSettings Settings;  // in the last report that had the pool
    bool InLastReport = false;
    std::array<std::unordered_map<std::string, std::size_t>, 2> AdviceAt;  // text -> position in Trend.Advice
    // Each object's readings and its name, in order of first appearance.
    std::vector<DriftReading> Readings;
    std::vector<ObjectIdentity> Identities;
    std::unordered_map<std::string, NamedObjects, NameHash, std::equal_to<>> ObjectsNamed;

    void AddFigures(std::size_t report, const std::vector<double>& figures) {
        for (std::size_t f = 0; f < Trend.Figures.size() && f < figures.size(); ++f) {
            Trend.Figures[f].resize(report);
            Trend.Figures[f].push_back(figures[f]);
        }
    }

    void AddAdvice(std::size_t report, std::size_t intent, const std::vector<std::string>& lines) {
        for (const std::string& line : lines) {
            const auto [at, added] = AdviceAt[intent].try_emplace(line, Trend.Advice[intent].size());
            if (added) Trend.Advice[intent].push_back({line, {}});
            std::vector<std::size_t>& reports = Trend.Advice[intent][at->second].Reports;
            if (reports.empty() || reports.back() != report) reports.push_back(report);
        }
    }

    // A pool lists the same objects in the same order report after report,
    // and then pairing by name pairs each object with the one at its place
    // in the last report that had the pool: no name is looked up.
    void AddObjects(std::size_t report, std::int32_t seconds, const std::vector<TrendObject>& objects) {
        if (!SameOrderAsLast(objects)) {
            PairByName(report, seconds, objects);
            return;
        }
        for (std::size_t i = 0; i < objects.size(); ++i)
            Follow(Readings[LastPlaces[i].Reading], report, PerSecond(objects[i].SyncReadIOs, seconds));
    }

private:
    // Each object of the last report that had the pool, by position: its
    // reading and its name there, the name held in place so the comparison
    // runs through memory in order instead of through a heap block per name.
    struct LastPlace {
        std::size_t Reading;
        decltype(TrendObject::Name) Name;
    };
    std::vector<LastPlace> LastPlaces;

    bool SameOrderAsLast(const std::vector<TrendObject>& objects) const {
        if (objects.size() != LastPlaces.size()) return false;
        for (std::size_t i = 0; i < objects.size(); ++i)
            if (objects[i].Name.View() != LastPlaces[i].Name.View()) return false;
        return true;
    }

    static void Follow(DriftReading& reading, std::size_t report, double syncReadIOsPerSecond) {
        reading.LastReport = report;
        reading.Last = syncReadIOsPerSecond;
    }

    void PairByName(std::size_t report, std::int32_t seconds, const std::vector<TrendObject>& objects) {
        LastPlaces.clear();
        for (const TrendObject& object : objects) {
            const double syncReadIOs = PerSecond(object.SyncReadIOs, seconds);
            auto named = ObjectsNamed.find(object.Name.View());
            if (named == ObjectsNamed.end()) named = ObjectsNamed.emplace(object.Name.String(), NamedObjects{}).first;
            NamedObjects& same = named->second;
            if (same.Report != report) same = {std::move(same.Drifts), report, 0};
            const std::size_t k = same.Paired++;
            if (k == same.Drifts.size()) {
                same.Drifts.push_back(Readings.size());
                Readings.push_back({syncReadIOs, syncReadIOs, report, report});
                Identities.push_back({object.Name.String(), object.Type.String()});
            } else {
                Follow(Readings[same.Drifts[k]], report, syncReadIOs);
            }
            LastPlaces.push_back({same.Drifts[k], object.Name});
        }
    }
};

struct SystemState {
    std::vector<ReportStamp> Reports;
    std::deque<PoolState> Pools;  // in order of first appearance
    std::unordered_map<std::string, std::size_t> PoolAt;

    PoolState& PoolNamed(const std::string& name, std::size_t report, bool& isNew) {
        const auto [at, added] = PoolAt.try_emplace(name, Pools.size());
        isNew = added;
        if (added) {
            PoolState& pool = Pools.emplace_back();
            pool.Trend.Name = name;
            pool.Trend.Figures.assign(PoolGridHeadings().size() - 1, FigureSeries(report));
        }
        return Pools[at->second];
    }

    void Add(TrendReport&& report) {
        const std::size_t r = Reports.size();
        Reports.push_back(std::move(report.Stamp));
        std::vector<bool> present(Pools.size(), false);
        for (const TrendPool& pool : report.Pools) {
            bool isNew = false;
            PoolState& state = PoolNamed(pool.Name, r, isNew);
            const std::size_t at = PoolAt[pool.Name];
            present.resize(Pools.size(), false);
            if (present[at]) continue;  // a second pool of one name: the first stands, as the compare matches it
            present[at] = true;
            if (r > 0 && !state.InLastReport) state.Trend.Events.push_back({r, "pool appears"});
            if (!isNew)
                for (std::string& text : SettingChanges(state.Settings, pool.Settings))
                    state.Trend.Events.push_back({r, std::move(text)});
            state.Settings = pool.Settings;
            state.AddFigures(r, pool.Figures);
            for (std::size_t i = 0; i < pool.Advice.size(); ++i) state.AddAdvice(r, i, pool.Advice[i]);
            state.AddObjects(r, Reports.back().ElapsedSeconds, pool.Objects);
        }
        for (std::size_t p = 0; p < Pools.size(); ++p) {
            if (Pools[p].InLastReport && !present[p]) Pools[p].Trend.Events.push_back({r, "pool disappears"});
            Pools[p].InLastReport = present[p];
        }
    }

    SystemTrend Finish(const std::string& system) {
        SystemTrend trend{system, std::move(Reports), {}};
        for (PoolState& pool : Pools) {
            for (FigureSeries& series : pool.Trend.Figures) series.resize(trend.Reports.size());
            pool.Trend.SyncReadIORises = TopDrifts(pool.Readings, pool.Identities, true);
            pool.Trend.SyncReadIOFalls = TopDrifts(pool.Readings, pool.Identities, false);
            trend.Pools.push_back(std::move(pool.Trend));
        }
        return trend;
    }
};

std::string StampText(const ReportStamp& stamp) {
    return stamp.System + " " + stamp.Date + " " + stamp.Time;
}

// What the reader said, one line per message, as the batch report shows
// them; a read that stopped without a word still says where it stopped.
std::vector<std::string> ReadingMessages(const LoadedReportSet& set, const ReportReader::ReadStop& stop) {
    std::vector<std::string> lines;
    for (const Message& m : set.Sink.Messages) lines.push_back(m.Title + ": " + m.Text);
    if (lines.empty())
        lines.push_back("The report was not read to its end (line " + std::to_string(std::max(1, stop.Line)) + ": " +
                        (stop.Reason.empty() ? "it ends early" : stop.Reason) + ").");
    return lines;
}

// One report read whole and reduced, or why it is left out.
struct ReadOutcome {
    std::optional<TrendReport> Report;
    LeftOutReport LeftOut;
};

ReadOutcome ReadForTrend(const std::string& file) try {
    auto set = std::make_unique<LoadedReportSet>();
    ReportReader reader(set->Model, set->Sink);
    reader.ChooseObjectCounters<TrendObjectCounters>();
    set->StatsRead = OpenStatisticsReport(set->Model, reader, file);
    if (set->StatsRead) return {SummarizeReport(set->Model, file), {}};
    return {std::nullopt, {file, ReadingMessages(*set, reader.StatsStop)}};
} catch (const std::exception& failure) {
    return {std::nullopt, {file, {std::string("The report could not be read: ") + failure.what()}}};
}

// The header alone, read the way the full read starts, so that a folder of a
// month of reports can be filtered and put in order before any is read whole.
// Nothing when the header cannot be read; the full read then says why.
std::optional<ReportStamp> ReadStamp(const std::string& file) {
    try {
        ReportModel model;
        CollectingSink sink;
        ReportReader reader(model, sink);
        model.StatFileName = std::string(TrimBlanks(file));
        const ReportFileKind kind = reader.OpenStatisticsFile();
        if (kind == ReportFileKind::Simulation) return std::nullopt;
        if (!reader.StartStatisticsPart(kind == ReportFileKind::Consolidated)) return std::nullopt;
        return StampOf(model.SysInfo, CollectionSeconds(model), file);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

unsigned ThreadsToUse(unsigned threads) {
    if (threads == 0) threads = std::thread::hardware_concurrency();
    return std::max(1u, threads);
}

// The reads of one run, on workers that live for the whole run (a thread
// started for every report cost a tenth of the time): each worker takes the
// next file as it finishes one, at most `window` files ahead of the
// hand-over, which takes the outcomes in the files' order.
template <typename Outcome>
class OrderedReads {
public:
    OrderedReads(const std::vector<std::string>& files, std::size_t window, const std::stop_token& stop)
        : files_(files), window_(window), stop_(stop) {}

    // A worker: reads until every file is begun, the hand-over has ended or
    // a stop is requested.
    template <typename Read>
    void Work(Read& read) {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return ended_ || next_ == files_.size() || next_ < handed_ + window_; });
            if (ended_ || next_ == files_.size() || stop_.stop_requested()) return;
            const std::size_t file = next_++;
            ahead_.emplace_back();
            lock.unlock();
            Outcome outcome = read(files_[file]);
            lock.lock();
            ahead_[file - handed_] = std::move(outcome);
            changed_.notify_all();
        }
    }

    // Hands each outcome to `use` in the files' order, until all are handed
    // over or a stop is requested.
    template <typename Use>
    void HandOver(Use& use) {
        std::unique_lock lock(mutex_);
        while (handed_ < files_.size() && !stop_.stop_requested()) {
            // A stop may come while nothing is being read: the workers begin
            // no more, so this wait must end on the stop.
            if (!changed_.wait(lock, stop_, [&] { return !ahead_.empty() && ahead_.front().has_value(); })) return;
            Outcome outcome = std::move(*ahead_.front());
            ahead_.pop_front();
            ++handed_;
            changed_.notify_all();
            lock.unlock();
            use(std::move(outcome));
            lock.lock();
        }
    }

    // The hand-over has ended: no worker waits for room any longer.
    void End() {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        changed_.notify_all();
    }

private:
    const std::vector<std::string>& files_;
    const std::size_t window_;
    const std::stop_token& stop_;
    std::mutex mutex_;
    std::condition_variable_any changed_;       // wakes on a stop as well
    std::deque<std::optional<Outcome>> ahead_;  // outcomes from file handed_ on, in the files' order
    std::size_t next_ = 0;                      // the next file to begin
    std::size_t handed_ = 0;                    // outcomes handed over so far
    bool ended_ = false;
};

// Runs `read` over the files on `threads` workers and hands each outcome to
// `use` in the files' order. Up to eight outcomes a worker may wait ahead of
// the hand-over: a report that reads slowly, or a `use` that stores slowly
// (the history's add), then holds no worker idle, while memory stays flat
// (an outcome is a report's summary; only the reads under way hold a model). A stop ends it between reports: the
// reads under way run to their end (a read cannot be left half-way) and are
// dropped.
template <typename Read, typename Use>
void ReadInOrder(const std::vector<std::string>& files, unsigned threads, const std::stop_token& stop, Read read,
                 Use use) {
    if (threads == 1) {
        for (const std::string& file : files) {
            if (stop.stop_requested()) return;
            use(read(file));
        }
        return;
    }
    OrderedReads<std::invoke_result_t<Read, const std::string&>> reads(files, 8 * std::size_t{threads}, stop);
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back([&] { reads.Work(read); });
    // However the hand-over ends (done, a stop, `use` throwing), the workers
    // stop waiting for room; they are joined after their reads under way.
    try {
        reads.HandOver(use);
    } catch (...) {
        reads.End();
        throw;
    }
    reads.End();
}

}  // namespace

bool CollectedBefore(const ReportStamp& a, const ReportStamp& b) {
    return CompareStamps(a, b) < 0;
}

TrendReport SummarizeReport(const ReportModel& model, const std::string& file) {
    if (!model.ObjectCountersRead.Covers(TrendObjectCounters))
        throw std::logic_error("a trend needs object counters this report was read without");
    const std::int32_t seconds = CollectionSeconds(model);
    TrendReport report{StampOf(model.SysInfo, seconds, file), {}};
    report.Pools.reserve(static_cast<std::size_t>(model.PoolCount()));
    for (int p = 1; p <= model.PoolCount(); ++p) {
        const PoolRecord& record = model.Pools(p);
        TrendPool& pool = report.Pools.emplace_back();
        pool.Name = record.PoolName.TrimmedString();
        pool.Settings = SettingsOf(record);
        pool.Figures = ComparedPoolFigures(record, seconds);
        pool.Advice = EvaluatePoolRulesForBothIntents(model, p);
        const ObjectRange range = PoolObjects(model, record);
        pool.Objects.reserve(range.Size());
        for (int o = range.First; o <= range.Last; ++o) {
            const ObjectRecord& object = model.Objects(o);
            pool.Objects.push_back({TrimmedText(object.ObjectName), TrimmedText(object.ObjectType),
                                    object.Activity.GetPages, object.Activity.ReadIOsByType[1]});
        }
    }
    return report;
}

bool Passes(const TrendFilter& filter, const ReportStamp& stamp) {
    if (!filter.System.empty()) {
        const std::string_view system = TrimBlanks(filter.System);
        const std::string_view ownSystem = std::string_view(stamp.System).substr(0, stamp.System.find('/'));
        if (!EqualIgnoringCase(system, stamp.System) && !EqualIgnoringCase(system, ownSystem)) return false;
    }
    if (filter.FromDate.empty() && filter.ToDate.empty()) return true;
    const std::optional<CalendarDate> date = ReadCollectionDate(stamp.Date);
    if (!date) return false;  // a date that cannot be read is in no range
    const auto outside = [&](const std::string& bound, bool from) {
        if (bound.empty()) return false;
        const std::optional<CalendarDate> limit = ReadCollectionDate(bound);
        return !limit || (from ? *date < *limit : *limit < *date);
    };
    return !outside(filter.FromDate, true) && !outside(filter.ToDate, false);
}

struct TrendBuilder::State {
    std::map<std::string, SystemState> Systems;
    std::vector<LeftOutReport> LeftOut;
};

TrendBuilder::TrendBuilder() : state_(std::make_unique<State>()) {}
TrendBuilder::~TrendBuilder() = default;

void TrendBuilder::Add(TrendReport report) {
    SystemState& system = state_->Systems[report.Stamp.System];
    if (!system.Reports.empty()) {
        const ReportStamp& last = system.Reports.back();
        const int order = CompareStamps(last, report.Stamp);
        if (order == 0) {
            LeaveOut({report.Stamp.File,
                      {"Another report of " + StampText(report.Stamp) + " is in the trend already (" + last.File +
                       "); this one is left out."}});
            return;
        }
        if (order > 0) {
            LeaveOut({report.Stamp.File,
                      {"The report (" + StampText(report.Stamp) + ") came after a later one of its system (" +
                       last.Date + " " + last.Time + "); it is left out."}});
            return;
        }
    }
    system.Add(std::move(report));
}

void TrendBuilder::LeaveOut(LeftOutReport report) {
    state_->LeftOut.push_back(std::move(report));
}

TrendResult TrendBuilder::Finish() {
    TrendResult result;
    for (auto& [name, system] : state_->Systems) result.Systems.push_back(system.Finish(name));
    result.LeftOut = std::move(state_->LeftOut);
    state_->Systems.clear();
    return result;
}

TrendResult BuildTrends(std::vector<TrendReport> reports, std::vector<LeftOutReport> leftOut) {
    std::stable_sort(reports.begin(), reports.end(),
                     [](const TrendReport& a, const TrendReport& b) { return CollectedBefore(a.Stamp, b.Stamp); });
    TrendBuilder builder;
    for (LeftOutReport& report : leftOut) builder.LeaveOut(std::move(report));
    for (TrendReport& report : reports) builder.Add(std::move(report));
    return builder.Finish();
}

TrendResult TrendFromFiles(const std::vector<std::string>& files, const TrendFilter& filter, unsigned threads,
                           const std::stop_token& stop) {
    // Stamps first: cheap, and they decide which files are read and in what
    // order. A file whose header cannot be read is read whole after the
    // others, so that its messages say why.
    std::vector<std::pair<ReportStamp, std::string>> stamped;
    std::vector<std::string> unstamped;
    const unsigned workers = ThreadsToUse(threads);
    std::size_t stamps = 0;  // handed over in the files' order
    ReadInOrder(files, workers, stop, ReadStamp, [&](const std::optional<ReportStamp>& stamp) {
        const std::string& file = files[stamps++];
        if (!stamp)
            unstamped.push_back(file);
        else if (Passes(filter, *stamp))
            stamped.emplace_back(*stamp, file);
    });
    if (stop.stop_requested()) return {};
    std::stable_sort(stamped.begin(), stamped.end(),
                     [](const auto& a, const auto& b) { return CollectedBefore(a.first, b.first); });
    std::vector<std::string> order;
    order.reserve(stamped.size() + unstamped.size());
    for (const auto& [stamp, file] : stamped) order.push_back(file);
    order.insert(order.end(), unstamped.begin(), unstamped.end());

    TrendBuilder builder;
    ReadInOrder(order, workers, stop, ReadForTrend, [&](ReadOutcome outcome) {
        if (!outcome.Report)
            builder.LeaveOut(std::move(outcome.LeftOut));
        else if (Passes(filter, outcome.Report->Stamp))
            builder.Add(std::move(*outcome.Report));
    });
    return builder.Finish();
}

void ReadTrendReports(const std::vector<std::string>& files, unsigned threads,
                      const std::function<void(std::optional<TrendReport>, LeftOutReport)>& use,
                      const std::stop_token& stop) {
    ReadInOrder(files, ThreadsToUse(threads), stop, ReadForTrend,
                [&use](ReadOutcome outcome) { use(std::move(outcome.Report), std::move(outcome.LeftOut)); });
}

}  // namespace kov
