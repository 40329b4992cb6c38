// The top (and bottom) lists: the pool's objects ranked by one figure.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "analysis/PoolChartParts.h"
#include "common/Formats.h"
#include "model/Figures.h"
#include "views/AxisTicks.h"

namespace kov::poolcharts {

namespace {

constexpr int TopListSize = 10;
constexpr float ThousandsAbove = 99999.0f;

// Top lists: each object ranked by one key, compared in single precision.

struct ObjectKey {
    float Key = 0;
    bool Qualifies = false;  // counts towards the number of entries
};

ObjectKey Positive(double key) {
    return {Single(key), Single(key) > 0};
}

// Read I/Os of the four types per second over the collection interval.
double TypedReadIOsPerSecond(const ActivityBlock& activity, std::int32_t elapsed) {
    return PerSecond(static_cast<double>(SumFromOne(activity.ReadIOsByType)), elapsed);
}

// Indexes below 95 % system hit ratio; the rest are parked at 1.0, above
// every real candidate.
ObjectKey LowHitRatioKey(double sysHitRatio) {
    const float key = Single(sysHitRatio / 100);
    if (key > 0 && key < 0.95f) return {key, true};
    return {1.0f, false};
}

// Indexes whose sequential get pages are at least a tenth of all their get
// pages; the rest are parked at -1.
ObjectKey SequentialPrefetchKey(const ActivityBlock& activity) {
    if (activity.GetPagesByAccess[1] < 0.1 * activity.GetPages) return {-1.0f, false};
    return {Single(activity.GetPagesByAccess[1]), true};
}

// Time spent waiting for reads: each read type's I/Os by its average time.
double ReadWaitImpact(const ActivityBlock& a) {
    return static_cast<double>(a.ReadIOsByType[1]) * a.AvgSyncIOTime +
           static_cast<double>(a.ReadIOsByType[2]) * a.AvgSeqPrefIOTime +
           static_cast<double>(a.ReadIOsByType[3]) * a.AvgListPrefIOTime +
           static_cast<double>(a.ReadIOsByType[4]) * a.AvgDynPrefIOTime;
}

ObjectKey KeyOf(const ObjectRecord& object, PoolGraph graph, std::int32_t elapsed) {
    const ActivityBlock& a = object.Activity;
    switch (graph) {
        case PoolGraph::TopGetPages:
            return {Single(a.GetPages), true};
        case PoolGraph::TopSeqAccess:
            return Positive(a.GetPagesByAccess[1]);
        case PoolGraph::TopRandomIO:
            return Positive(a.ReadIOsByType[1]);
        case PoolGraph::TopWriteIOs:
            return Positive(a.WriteIOs);
        case PoolGraph::TopPagesPerWrite:
            return Positive(static_cast<double>(std::max(a.PagesWritten, 1)) / std::max(a.WriteIOs, 1));
        case PoolGraph::TopIndexesPagesRead:
            return IsIndex(object) ? Positive(a.PagesRead) : ObjectKey{};
        case PoolGraph::TopIORates:
            return Positive(PerSecond(TotalIOs(a), elapsed));
        case PoolGraph::TopUpdates:
            return Positive(a.Updates);
        case PoolGraph::LowestAppHitRatio:
            return Positive(a.AppHitRatio);
        case PoolGraph::LowestSysHitRatio:
            return {Single(a.SysHitRatio), true};
        case PoolGraph::LowestPagesPerWrite:
            return Positive(a.PagesWritten >= 1 && a.WriteIOs >= 1 ? static_cast<double>(a.PagesWritten) / a.WriteIOs
                                                                   : 0);
        case PoolGraph::IndexesBelow95SysHitRatio:
            return IsIndex(object) ? LowHitRatioKey(a.SysHitRatio) : ObjectKey{};
        case PoolGraph::IndexesAbove10SeqPrefetch:
            return IsIndex(object) ? SequentialPrefetchKey(a) : ObjectKey{};
        case PoolGraph::WorstAvgSyncIO:
            return Positive(a.AvgSyncIOTime);
        case PoolGraph::WorstMaxSyncIO:
            return Positive(a.MaxSyncIOTime);
        case PoolGraph::WorstWriteIOs:
            return Positive(WriteIOTime(a));
        case PoolGraph::WorstIORateAboveOne: {
            if (TypedReadIOsPerSecond(a, elapsed) <= 1) return {};
            const float key = Single(a.AvgSyncIOTime);
            return {key, key > 1};
        }
        default:
            if (TypedReadIOsPerSecond(a, elapsed) <= 1) return {};
            return {Single(ReadWaitImpact(a)), true};
    }
}

bool InThousands(PoolGraph graph) {
    return graph == PoolGraph::TopGetPages || graph == PoolGraph::TopSeqAccess ||
           graph == PoolGraph::TopIndexesPagesRead || graph == PoolGraph::IndexesAbove10SeqPrefetch;
}

struct TopEntry {
    float Value = 0;
    std::string Name;  // as stored, or "Duplicate Values"
    int Object = 0;
};

struct TopList {
    std::vector<TopEntry> Entries;
    bool Thousands = false;
};

// The objects' keys in pool order, changed as entries are chosen.
struct Ranking {
    const ReportModel& Model;
    ObjectRange Range;
    std::vector<float> Keys;

    TopEntry EntryFor(std::size_t k) const {
        return {Keys[k], ObjectAt(Model, Range, k).ObjectName.PaddedString(), Range.First + static_cast<int>(k)};
    }
};

// The largest key n times; among equal keys the last in pool order. A chosen
// object is parked at -1 so it is not chosen again.
std::vector<TopEntry> RepeatedMaximum(Ranking& ranking, int n) {
    std::vector<TopEntry> entries;
    for (int i = 0; i < n && !ranking.Keys.empty(); ++i) {
        std::size_t chosen = 0;
        for (std::size_t k = 0; k < ranking.Keys.size(); ++k)
            if (ranking.Keys[k] >= ranking.Keys[chosen]) chosen = k;
        entries.push_back(ranking.EntryFor(chosen));
        ranking.Keys[chosen] = -1.0f;
    }
    return entries;
}

struct MinimumRule {
    float Start;  // the entry value before the walk
    bool (*Eligible)(float key);
    float Parked;  // where a chosen object's key goes
};

// The smallest eligible key n times; among equal keys the first in pool
// order. An entry that finds no object keeps the start value.
std::vector<TopEntry> RepeatedMinimum(Ranking& ranking, int n, const MinimumRule& rule) {
    std::vector<TopEntry> entries;
    for (int i = 0; i < n && !ranking.Keys.empty(); ++i) {
        TopEntry entry{rule.Start, "", 0};
        std::optional<std::size_t> chosen;
        if (ranking.Keys[0] > rule.Start) entry = ranking.EntryFor(*(chosen = 0));
        for (std::size_t k = 0; k < ranking.Keys.size(); ++k)
            if (rule.Eligible(ranking.Keys[k]) && ranking.Keys[k] < entry.Value)
                entry = ranking.EntryFor(*(chosen = k));
        if (chosen) ranking.Keys[*chosen] = rule.Parked;
        entries.push_back(entry);
    }
    return entries;
}

// Keys by position with "the first position from p on whose key is below x"
// in logarithmic time: the replay of the exchange sort below asks this once
// per move.
class KeyTree {
public:
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    explicit KeyTree(const std::vector<TopEntry>& entries)
        : size_(entries.size()), min_(4 * std::max<std::size_t>(size_, 1)) {
        if (size_ > 0) Build(1, 0, size_ - 1, entries);
    }
    void Set(std::size_t position, float key) { Set(1, 0, size_ - 1, position, key); }
    std::size_t FirstBelow(std::size_t from, float key) const {
        return from < size_ ? Find(1, 0, size_ - 1, from, key) : None;
    }

private:
    void Build(std::size_t node, std::size_t lo, std::size_t hi, const std::vector<TopEntry>& entries) {
        if (lo == hi) {
            min_[node] = entries[lo].Value;
            return;
        }
        const std::size_t mid = lo + (hi - lo) / 2;
        Build(2 * node, lo, mid, entries);
        Build(2 * node + 1, mid + 1, hi, entries);
        min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
    }
    void Set(std::size_t node, std::size_t lo, std::size_t hi, std::size_t position, float key) {
        if (lo == hi) {
            min_[node] = key;
            return;
        }
        const std::size_t mid = lo + (hi - lo) / 2;
        if (position <= mid)
            Set(2 * node, lo, mid, position, key);
        else
            Set(2 * node + 1, mid + 1, hi, position, key);
        min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
    }
    std::size_t Find(std::size_t node, std::size_t lo, std::size_t hi, std::size_t from, float key) const {
        if (hi < from || !(min_[node] < key)) return None;
        if (lo == hi) return lo;
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::size_t left = Find(2 * node, lo, mid, from, key);
        return left != None ? left : Find(2 * node + 1, mid + 1, hi, from, key);
    }

    std::size_t size_;
    std::vector<float> min_;
};

// One pass of the exchange sort for position i: walking j = i+1.., entry j is
// swapped into i whenever its key is below the one i holds. Only the chain of
// ever smaller keys moves: i takes the last of them and each takes the place
// of the one after it.
void ExchangeSortPass(std::vector<TopEntry>& entries, KeyTree& keys, std::size_t i) {
    std::vector<std::size_t> chain{i};
    for (std::size_t next; (next = keys.FirstBelow(chain.back() + 1, entries[chain.back()].Value)) != KeyTree::None;)
        chain.push_back(next);
    TopEntry smallest = std::move(entries[chain.back()]);
    for (std::size_t t = chain.size() - 1; t > 0; --t) {
        entries[chain[t]] = std::move(entries[chain[t - 1]]);
        keys.Set(chain[t], entries[chain[t]].Value);
    }
    entries[i] = std::move(smallest);
    keys.Set(i, entries[i].Value);
}

// One bar per distinct key, smallest first, skipping keys of exactly 1.0. A
// key several objects share is named "Duplicate Values" and points to one of
// them; which one follows from an exchange sort, so its passes are replayed
// exactly, but only as far as the bars reach.
std::vector<TopEntry> DistinctMinimum(const Ranking& ranking, int n) {
    std::vector<TopEntry> sorted;
    for (std::size_t k = 0; k < ranking.Keys.size(); ++k)
        if (ranking.Keys[k] != 1.0f) sorted.push_back(ranking.EntryFor(k));
    KeyTree keys(sorted);
    std::vector<std::size_t> starts;
    for (std::size_t j = 0; static_cast<int>(starts.size()) < n && j < sorted.size(); ++j) {
        ExchangeSortPass(sorted, keys, j);
        if (j == 0 || sorted[j].Value != sorted[j - 1].Value)
            starts.push_back(j);
        else
            sorted[j - 1].Name = "Duplicate Values";
    }
    std::vector<TopEntry> entries;
    entries.reserve(starts.size());
    for (std::size_t start : starts) entries.push_back(sorted[start]);
    return entries;
}

std::vector<TopEntry> SelectEntries(Ranking& ranking, PoolGraph graph, int n) {
    static const MinimumRule positiveHitRatio{999999.0f, [](float key) { return key > 0; }, 999999.99f};
    static const MinimumRule anyHitRatio{9999999.0f, [](float) { return true; }, 999999.99f};
    static const MinimumRule belowOne{1.0f, [](float key) { return key != 0; }, 1.0f};
    switch (graph) {
        case PoolGraph::LowestAppHitRatio:
            return RepeatedMinimum(ranking, n, positiveHitRatio);
        case PoolGraph::LowestSysHitRatio:
            return RepeatedMinimum(ranking, n, anyHitRatio);
        case PoolGraph::LowestPagesPerWrite:
            return DistinctMinimum(ranking, n);
        case PoolGraph::IndexesBelow95SysHitRatio:
            return RepeatedMinimum(ranking, n, belowOne);
        default:
            return RepeatedMaximum(ranking, n);
    }
}

// Keys start afresh for every list, so nothing of an earlier ranking leaks
// into this one. At most ten entries and never fewer than two; the ones no
// object filled stay 0 with no name.
TopList TopObjects(const ReportModel& model, const ObjectRange& range, PoolGraph graph) {
    const std::int32_t elapsed = CollectionSeconds(model);
    Ranking ranking{model, range, {}};
    TopList list;
    int qualifying = 0;
    for (std::size_t k = 0; k < range.Size(); ++k) {
        const ObjectKey key = KeyOf(ObjectAt(model, range, k), graph, elapsed);
        ranking.Keys.push_back(key.Key);
        qualifying += key.Qualifies ? 1 : 0;
        list.Thousands = list.Thousands || (InThousands(graph) && key.Key > ThousandsAbove);
    }
    list.Entries = SelectEntries(ranking, graph, std::min(qualifying, TopListSize));
    if (list.Entries.size() < 2) list.Entries.resize(2);
    return list;
}

// Beside every top list: the pool's own get pages by access and its read I/Os.
void TopListSideLabels(const PoolRecord& pool, ChartData& chart) {
    const ActivityBlock& a = pool.Activity;
    chart.SideLabels = {{"Seq. Access", PlainInteger(a.GetPagesByAccess[1])},
                        {"Rnd. Access", PlainInteger(a.GetPagesByAccess[2])},
                        {"RID List", PlainInteger(a.GetPagesByAccess[3])},
                        {"Total", PlainInteger(a.GetPages)},
                        {"Sync I/O", ShortestDecimal(static_cast<double>(SumFromOne(a.ReadIOsByType)))}};
}

// A blank bar (no object filled it) carries no value label; a value in
// thousands keeps two decimals of the thousand.
std::string ValueLabel(const TopEntry& entry, float value, bool thousands, PoolGraph graph) {
    if (entry.Object == 0 && entry.Name.empty()) return {};
    return Grouped(value, thousands ? 2 : GraphOf(graph).ValueDecimals);
}

// The top entry is plotted last; the value axis spans the plotted values.
void DrawBars(const TopList& list, PoolGraph graph, ChartData& chart) {
    chart.HasObjectSeries = true;
    for (auto entry = list.Entries.rbegin(); entry != list.Entries.rend(); ++entry) {
        const float value = list.Thousands ? entry->Value / 1000.0f : entry->Value;
        chart.Points.push_back({std::string(TrimBlanks(entry->Name)), value, entry->Object,
                                ValueLabel(*entry, value, list.Thousands, graph)});
    }
    const auto [low, high] =
        std::minmax_element(chart.Points.begin(), chart.Points.end(),
                            [](const ChartPoint& a, const ChartPoint& b) { return a.Value < b.Value; });
    chart.Axis = AxisRange{low->Value, high->Value};
    chart.Subtitle = std::string(GraphOf(graph).Title) + (list.Thousands ? " * 1K" : "");
    chart.ValueUnit = AxisUnit(GraphOf(graph).Unit, list.Thousands);
}

}  // namespace

void TopListChart(const ReportModel& model, const PoolRecord& pool, PoolGraph graph, ChartData& chart) {
    chart.Kind = ChartKind::Bar;
    TopListSideLabels(pool, chart);
    DrawBars(TopObjects(model, PoolObjects(model, pool), graph), graph, chart);
}

}  // namespace kov::poolcharts
