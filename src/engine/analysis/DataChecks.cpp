#include "analysis/DataChecks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string_view>

#include "common/Formats.h"
#include "model/Figures.h"
#include "readers/ReportReader.h"

namespace kov {

namespace {

constexpr std::size_t kNamesShown = 10;

// What each counter position of the activity block is called; the two hit
// ratios (9, 10) have a check of their own.
constexpr std::string_view kPositionNames[ActivityPositions + 1] = {
    "",
    "Get Pages",
    "counter 2",
    "Sequential Get Pages",
    "Random Get Pages",
    "RID List Get Pages",
    "counter 6",
    "counter 7",
    "counter 8",
    "App Hit Ratio",
    "System Hit Ratio",
    "Avg Pg Res Secs",
    "Pages Read",
    "Synchronous Pages Read",
    "Sequential Prefetch Pages Read",
    "List Prefetch Pages Read",
    "Dynamic Prefetch Pages Read",
    "Read I/Os",
    "Synchronous Read I/Os",
    "Sequential Prefetch Read I/Os",
    "List Prefetch Read I/Os",
    "Dynamic Prefetch Read I/Os",
    "Avg Sync I/O Time",
    "Max Sync I/O Time",
    "Avg Seq Prefetch I/O Time",
    "counter 25",
    "Avg List Prefetch I/O Time",
    "counter 27",
    "Avg Dyn Prefetch I/O Time",
    "counter 29",
    "Updates",
    "Pages Written",
    "counter 32",
    "counter 33",
    "Write I/Os",
    "counter 35",
    "counter 36",
    "counter 37",
    "counter 38",
    "counter 39",
    "Write I/O Time",
};

std::string Count(double value) {
    return Grouped(value, 0);
}

// Where a finding is and what it says; the caller adds it.
struct Place {
    int Pool = 0;
    std::string PoolName;
    std::string Object;
};

class Findings {
public:
    void Add(const char* check, const Place& place, std::string text) {
        list_.push_back({check, place.Pool, place.PoolName, place.Object, std::move(text)});
    }
    std::vector<DataFinding> Take() { return std::move(list_); }

private:
    std::vector<DataFinding> list_;
};

// A named figure and its value, for the lists a finding carries.
struct Figure {
    std::string Name;
    double Value = 0;
};

// Counters are whole; thresholds and residency times may carry decimals.
std::string FigureText(double value) {
    return std::nearbyint(value) == value ? Count(value) : Grouped(value, 2);
}

std::string FigureList(const std::vector<Figure>& figures) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < figures.size() && i < kNamesShown; ++i)
        texts.push_back(figures[i].Name + " " + FigureText(figures[i].Value));
    return ListedWithMore(std::vector<std::string_view>(texts.begin(), texts.end()), figures.size());
}

// Every counter below 0; the hit ratios are left to their range check.
std::vector<Figure> NegativeCounters(const ActivityBlock& block) {
    ActivityBlock copy = block;  // ActivityField hands out writable places
    std::vector<Figure> negative;
    for (int position = 1; position <= ActivityPositions; ++position) {
        if (position == 9 || position == 10) continue;
        const ActivityFieldRef field = ActivityField(copy, position);
        const double value = field.Integer ? *field.Integer : *field.Real;
        if (value < 0) negative.push_back({std::string(kPositionNames[position]), value});
    }
    return negative;
}

void CheckNegativeCounters(const std::vector<Figure>& negative, const Place& place, Findings& findings) {
    if (!negative.empty()) findings.Add("negative-counters", place, "negative figures: " + FigureList(negative));
}

bool BeyondRounding(double difference, double total) {
    return std::fabs(difference) > std::max(kCountSlack, kCountSlackShare * std::fabs(total));
}

// Sequential + random + RID-list get pages against the get pages, read I/Os
// by type against the read I/Os. A block with a negative counter is already
// reported and its sums mean nothing, so it is left out.
void CheckBreakdowns(const ActivityBlock& a, const Place& place, Findings& findings) {
    const auto& g = a.GetPagesByAccess;
    const double getPages = static_cast<double>(g[1]) + g[2] + g[3];
    if (BeyondRounding(getPages - a.GetPages, a.GetPages))
        findings.Add("get-pages-breakdown", place,
                     "sequential " + Count(g[1]) + " + random " + Count(g[2]) + " + RID list " + Count(g[3]) + " = " +
                         Count(getPages) + " get pages, but Get Pages is " + Count(a.GetPages));
    const auto& r = a.ReadIOsByType;
    const double readIOs = static_cast<double>(r[1]) + r[2] + r[3] + r[4];
    if (BeyondRounding(readIOs - a.ReadIOs, a.ReadIOs))
        findings.Add("read-ios-breakdown", place,
                     "synchronous " + Count(r[1]) + " + sequential prefetch " + Count(r[2]) + " + list prefetch " +
                         Count(r[3]) + " + dynamic prefetch " + Count(r[4]) + " = " + Count(readIOs) +
                         " read I/Os, but Read I/Os is " + Count(a.ReadIOs));
}

void CheckHitRatios(const ActivityBlock& a, const Place& place, Findings& findings) {
    const auto check = [&](const char* name, double ratio, const char* why) {
        if (ratio >= 0 && ratio <= 100) return;
        findings.Add("hit-ratio-range", place,
                     std::string(name) + " is " + Grouped(ratio, 2) + ", outside 0 to 100" + why);
    };
    check("App Hit Ratio", a.AppHitRatio, "");
    check("System Hit Ratio", a.SysHitRatio,
          a.SysHitRatio < 0 ? " (below 0 when prefetch reads more pages than the get pages ask for)" : "");
}

// The pool line's totals against the sums over its object lines.
struct PoolTotals {
    static constexpr int kCount = 9;
    static constexpr std::string_view kNames[kCount] = {
        "Get Pages", "Sequential Get Pages", "Random Get Pages", "RID List Get Pages", "Pages Read", "Read I/Os",
        "Updates",   "Pages Written",        "Write I/Os"};
    static std::array<double, kCount> Of(const ActivityBlock& a) {
        return {static_cast<double>(a.GetPages),
                static_cast<double>(a.GetPagesByAccess[1]),
                static_cast<double>(a.GetPagesByAccess[2]),
                static_cast<double>(a.GetPagesByAccess[3]),
                static_cast<double>(a.PagesRead),
                static_cast<double>(a.ReadIOs),
                static_cast<double>(a.Updates),
                static_cast<double>(a.PagesWritten),
                static_cast<double>(a.WriteIOs)};
    }
};

// Sums over negative counters say nothing, so a pool or any of its objects
// with one is not compared.
void CheckPoolAgainstObjects(const PoolRecord& pool, const std::array<double, PoolTotals::kCount>& sums,
                             bool anyNegative, int objects, const Place& place, Findings& findings) {
    if (objects == 0 || anyNegative) return;
    const auto totals = PoolTotals::Of(pool.Activity);
    std::string shortfalls;
    for (int i = 0; i < PoolTotals::kCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (!(totals[k] < sums[k]) || !BeyondRounding(sums[k] - totals[k], sums[k])) continue;
        if (!shortfalls.empty()) shortfalls += "; ";
        shortfalls += std::string(PoolTotals::kNames[k]) + " " + Count(totals[k]) + " against " + Count(sums[k]);
    }
    if (!shortfalls.empty())
        findings.Add("pool-below-objects", place,
                     "the pool's totals are below the sums over its " + Count(objects) +
                         (objects == 1 ? " object: " : " objects: ") + shortfalls);
}

void CheckObjects(const ReportModel& model, const PoolRecord& pool, bool poolNegative, const Place& poolPlace,
                  Findings& findings) {
    std::array<double, PoolTotals::kCount> sums{};
    bool anyNegative = poolNegative;
    const ObjectRange range = PoolObjects(model, pool);
    for (int o = range.First; o <= range.Last; ++o) {
        const ObjectRecord& object = model.Objects(o);
        const Place place{poolPlace.Pool, poolPlace.PoolName, object.ObjectName.TrimmedString()};
        const std::vector<Figure> negative = NegativeCounters(object.Activity);
        CheckNegativeCounters(negative, place, findings);
        if (negative.empty()) CheckBreakdowns(object.Activity, place, findings);
        CheckHitRatios(object.Activity, place, findings);
        anyNegative = anyNegative || !negative.empty();
        const auto values = PoolTotals::Of(object.Activity);
        for (std::size_t i = 0; i < sums.size(); ++i) sums[i] += values[i];
    }
    CheckPoolAgainstObjects(pool, sums, anyNegative, range.Count(), poolPlace, findings);
}

std::vector<Figure> NegativePoolSettings(const PoolRecord& pool) {
    std::vector<Figure> negative;
    const Figure settings[] = {{"VP Size", static_cast<double>(pool.VPSize)},
                               {"HP Size", static_cast<double>(pool.HPSize)},
                               {"VPSEQT", static_cast<double>(pool.VPSEQT)},
                               {"HPSEQT", static_cast<double>(pool.HPSEQT)},
                               {"DWQT", pool.DWQT},
                               {"VDWQT", pool.VDWQT}};
    for (const Figure& setting : settings)
        if (setting.Value < 0) negative.push_back(setting);
    return negative;
}

std::string SimulationName(const ReportModel& model, int simNo) {
    std::string name = "simulation " + std::to_string(simNo);
    if (model.Simulations.Contains(simNo) && !model.Simulations(simNo).FileName.empty())
        name += " (" + model.Simulations(simNo).FileName + ")";
    return name;
}

// The reader warned when the report was read; the finding keeps it in view.
void CheckSimulatedSizes(const PoolRecord& pool, const PoolSimRecord& slot, int sizes, const std::string& name,
                         const Place& place, Findings& findings) {
    const auto poolSize = static_cast<double>(PoolSize(pool));
    for (int k = 1; k <= sizes; ++k)
        if (slot.SimPoolSize[static_cast<std::size_t>(k)] == poolSize) return;
    std::string text = name + ": ";
    text.append(SimulationSizeMismatchLine(poolSize));
    findings.Add("simulation-pool-size", place, std::move(text));
}

// A larger pool keeps every page a smaller one keeps, so its hit ratio
// cannot be lower; the highest ratio of the smaller sizes is the bound.
void CheckHitRatioRises(const PoolSimRecord& slot, int sizes, const std::string& name, const Place& place,
                        Findings& findings) {
    std::vector<int> bySize(static_cast<std::size_t>(std::max(sizes, 0)));
    std::iota(bySize.begin(), bySize.end(), 1);
    const auto sizeAt = [&](int k) { return slot.SimPoolSize[static_cast<std::size_t>(k)]; };
    std::stable_sort(bySize.begin(), bySize.end(), [&](int a, int b) { return sizeAt(a) < sizeAt(b); });
    int best = 0;
    for (const int k : bySize) {
        if (best != 0 && sizeAt(k) > sizeAt(best) && SysHitRatio(slot, best) - SysHitRatio(slot, k) > kHitRatioSlack) {
            findings.Add("simulation-hit-ratio-falls", place,
                         name + ": the system hit ratio falls from " + Grouped(SysHitRatio(slot, best), 2) + " at " +
                             Count(sizeAt(best)) + " buffers to " + Grouped(SysHitRatio(slot, k), 2) + " at " +
                             Count(sizeAt(k)) + " buffers");
            return;
        }
        if (best == 0 || SysHitRatio(slot, k) > SysHitRatio(slot, best)) best = k;
    }
}

void CheckSimulations(const ReportModel& model, const PoolRecord& pool, const Place& place, Findings& findings) {
    const int slots = std::min(static_cast<int>(pool.SimCount), static_cast<int>(pool.Sims.size()));
    for (int s = 1; s <= slots; ++s) {
        const PoolSimRecord& slot = pool.Sim(s);
        if (!model.Simulations.Contains(slot.SimulationNo)) continue;
        const int sizes = std::clamp<int>(model.Simulations(slot.SimulationNo).SizeCount, 0, MaxSizes);
        const std::string name = SimulationName(model, slot.SimulationNo);
        CheckSimulatedSizes(pool, slot, sizes, name, place, findings);
        CheckHitRatioRises(slot, sizes, name, place, findings);
    }
}

void CheckElapsedTime(const ReportModel& model, Findings& findings) {
    const std::string_view elapsed = model.SysInfo.ElapsedTime.Trimmed();
    if (ElapsedSeconds(elapsed) > 0) return;
    const std::string what = elapsed.empty() ? "the report gives no elapsed time"
                                             : "the elapsed time \"" + std::string(elapsed) + "\" is no time at all";
    findings.Add("elapsed-time", {},
                 what + ": every per-second figure (RIO/Sec, WIO/Sec, Total I/Os per second) is meaningless");
}

}  // namespace

std::vector<DataFinding> RunDataChecks(const ReportModel& model) {
    Findings findings;
    if (model.StatsLoaded || model.PoolCount() > 0) CheckElapsedTime(model, findings);
    for (int p = 1; p <= model.PoolCount(); ++p) {
        const PoolRecord& pool = model.Pools(p);
        const Place place{p, pool.PoolName.TrimmedString(), ""};
        std::vector<Figure> negative = NegativePoolSettings(pool);
        const std::vector<Figure> counters = NegativeCounters(pool.Activity);
        negative.insert(negative.end(), counters.begin(), counters.end());
        CheckNegativeCounters(negative, place, findings);
        if (counters.empty()) CheckBreakdowns(pool.Activity, place, findings);
        CheckHitRatios(pool.Activity, place, findings);
        CheckObjects(model, pool, !counters.empty(), place, findings);
        CheckSimulations(model, pool, place, findings);
    }
    return findings.Take();
}

std::string DataChecksCaption(std::size_t findings) {
    if (findings == 0) return "Data checks: no findings";
    return "Data checks: " + Grouped(static_cast<double>(findings), 0) + (findings == 1 ? " finding" : " findings");
}

std::string FindingLine(const DataFinding& finding) {
    std::string where = finding.Pool == 0          ? "Report"
                        : finding.PoolName.empty() ? "Pool " + std::to_string(finding.Pool)
                                                   : finding.PoolName;
    if (!finding.Object.empty()) where += " " + finding.Object;
    return where + ": " + finding.Text;
}

}  // namespace kov
