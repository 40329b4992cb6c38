#include "analysis/CompareReports.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "analysis/GeneralInfo.h"
#include "analysis/TuningRules.h"
#include "common/Formats.h"
#include "model/Figures.h"

namespace kov {

namespace {

// Elapsed times further apart than this make per-second figures the only
// fair comparison, and the reader should know the intervals differ.
constexpr double kElapsedTolerance = 0.10;

std::vector<std::string> ElapsedWarnings(const ReportModel& before, const ReportModel& after) {
    std::vector<std::string> warnings;
    const std::int32_t b = CollectionSeconds(before);
    const std::int32_t a = CollectionSeconds(after);
    const auto describe = [](const ReportModel& m, std::int32_t s) {
        const std::string_view text = m.SysInfo.ElapsedTime.Trimmed();
        return (text.empty() ? std::string("(blank)") : std::string(text)) + " (" + std::to_string(s) + " s)";
    };
    if (std::abs(static_cast<double>(a) - b) > kElapsedTolerance * b)
        warnings.push_back("The elapsed times differ by more than 10 %: before " + describe(before, b) + ", after " +
                           describe(after, a) + ".");
    for (const auto& [model, seconds, which] : {std::tuple{&before, b, "before"}, std::tuple{&after, a, "after"}})
        if (seconds <= 0)
            warnings.push_back(std::string("The ") + which + " report's elapsed time " + describe(*model, seconds) +
                               " has no length: its per-second figures read as 0.");
    return warnings;
}

struct NamedTraits {
    std::string_view Name;
    FigureTraits Traits;
};

// The one table of which way each compared figure is better, and its unit.
constexpr NamedTraits kFigureTraits[] = {
    {"Total Read/Write IO", {Better::Down, "I/Os / s"}},
    {"Total Get Pages", {Better::None, "get pages / s"}},
    {"Total Updates", {Better::None, "updates / s"}},
    {"Overall Sys Hit Ratio", {Better::Up, "%"}},
    {"Total I/Os per second", {Better::Down, "I/Os / s"}},
    {"Pages per write", {Better::Up, "pages / write"}},
    {"Total 4K Buffers", {Better::None, "buffers"}},
    {"RIO/Sec", {Better::Down, "read I/Os / s"}},
    {"Get Pages", {Better::None, "get pages / s"}},
    {"Updates", {Better::None, "updates / s"}},
    {"Hit Ratio", {Better::Up, "%"}},
    {"I/O", {Better::Down, "I/Os / s"}},
    {"WIO/Sec", {Better::Down, "write I/Os / s"}},
    {"Pages/Write", {Better::Up, "pages / write"}},
    {"Write I/Os", {Better::Down, "write I/Os / s"}},
    {"Pages Written", {Better::None, "pages / s"}},
    {"Avg Pg Res Secs", {Better::Up, "s"}},
    {"Rand Pg Rd", {Better::Down, "pages / s"}},
    {"SP Pg Rd", {Better::Down, "pages / s"}},
    {"LP Pg Rd", {Better::Down, "pages / s"}},
    {"DynPF Pg Rd", {Better::Down, "pages / s"}},
};

std::vector<ComparedFigure> CompareFigures(const std::vector<Figure>& before, std::int32_t beforeSeconds,
                                           const std::vector<Figure>& after, std::int32_t afterSeconds) {
    std::vector<ComparedFigure> compared;
    compared.reserve(before.size());
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        compared.push_back(
            {std::string(before[i].Name), before[i].IsCount,
             CompareFigure(ComparedValue(before[i], beforeSeconds), ComparedValue(after[i], afterSeconds)),
             TraitsOf(before[i].Name).Direction});
    }
    return compared;
}

// Lines of `after` not in `before` are added, the reverse removed, the rest
// kept; a line fired twice counts twice.
AdviceSplit SplitAdvice(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    AdviceSplit split;
    std::vector<bool> matched(before.size(), false);
    for (const std::string& line : after) {
        std::size_t i = 0;
        while (i < before.size() && (matched[i] || before[i] != line)) ++i;
        if (i < before.size()) {
            matched[i] = true;
            split.Kept.push_back(line);
        } else {
            split.Added.push_back(line);
        }
    }
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!matched[i]) split.Removed.push_back(before[i]);
    return split;
}

// The k-th object of a name in one pool pairs with the k-th of that name in
// the other, so repeated names pair in order instead of all with one.
void CompareObjects(PoolComparison& pool, const ReportModel& before, std::int32_t beforeSeconds,
                    const ReportModel& after, std::int32_t afterSeconds) {
    const ObjectRange beforeRange = PoolObjects(before, before.Pools(pool.BeforePool));
    const ObjectRange afterRange = PoolObjects(after, after.Pools(pool.AfterPool));
    std::unordered_map<std::string_view, std::deque<int>> afterByName;
    afterByName.reserve(afterRange.Size());
    for (int o = afterRange.First; o <= afterRange.Last; ++o)
        afterByName[after.Objects(o).ObjectName.Trimmed()].push_back(o);

    const auto perSecond = [](std::int32_t count, std::int32_t seconds) { return PerSecond(count, seconds); };
    pool.Objects.reserve(beforeRange.Size());
    for (int o = beforeRange.First; o <= beforeRange.Last; ++o) {
        const ObjectRecord& b = before.Objects(o);
        const auto found = afterByName.find(b.ObjectName.Trimmed());
        if (found == afterByName.end() || found->second.empty()) {
            pool.ObjectsOnlyBefore.push_back(b.ObjectName.TrimmedString());
            continue;
        }
        const ObjectRecord& a = after.Objects(found->second.front());
        found->second.pop_front();
        pool.Objects.push_back(
            {b.ObjectName.TrimmedString(), b.ObjectType.TrimmedString(),
             CompareFigure(perSecond(b.Activity.GetPages, beforeSeconds), perSecond(a.Activity.GetPages, afterSeconds)),
             CompareFigure(perSecond(b.Activity.ReadIOsByType[1], beforeSeconds),
                           perSecond(a.Activity.ReadIOsByType[1], afterSeconds))});
    }
    for (int o = afterRange.First; o <= afterRange.Last; ++o) {
        auto& left = afterByName[after.Objects(o).ObjectName.Trimmed()];
        if (!left.empty() && left.front() == o) {
            pool.ObjectsOnlyAfter.push_back(after.Objects(o).ObjectName.TrimmedString());
            left.pop_front();
        }
    }
}

// The largest changes one way, largest first; equal changes keep the order
// of Objects. Only objects that moved that way take part.
std::vector<std::size_t> TopChanges(const std::vector<ObjectChange>& objects, bool rises) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const double change = objects[i].SyncReadIOs.Change;
        if (rises ? change > 0 : change < 0) order.push_back(i);
    }
    const auto larger = [&](std::size_t x, std::size_t y) {
        const double cx = objects[x].SyncReadIOs.Change, cy = objects[y].SyncReadIOs.Change;
        return rises ? cx > cy : cx < cy;
    };
    const std::size_t keep = std::min(order.size(), TopObjectChanges);
    std::stable_sort(order.begin(), order.end(), larger);
    order.resize(keep);
    return order;
}

PoolComparison ComparePool(const ReportModel& before, int bp, const ReportModel& after, int ap) {
    const std::int32_t bs = CollectionSeconds(before), as = CollectionSeconds(after);
    PoolComparison pool;
    pool.Name = before.Pools(bp).PoolName.TrimmedString();
    pool.BeforePool = bp;
    pool.AfterPool = ap;
    pool.Figures = CompareFigures(PoolFigures(before.Pools(bp), bs), bs, PoolFigures(after.Pools(ap), as), as);
    for (std::size_t i = 0; i < pool.Advice.size(); ++i)
        pool.Advice[i] = SplitAdvice(EvaluatePoolRules(before, bp, CompareIntents[i]),
                                     EvaluatePoolRules(after, ap, CompareIntents[i]));
    CompareObjects(pool, before, bs, after, as);
    pool.SyncReadRises = TopChanges(pool.Objects, true);
    pool.SyncReadFalls = TopChanges(pool.Objects, false);
    return pool;
}

// Signed, so a rise and a fall read apart without colour: "+1,234.50".
std::string Signed(double value, int decimals) {
    const std::string text = Grouped(value, decimals);
    return value > 0 && text.find_first_not_of("0.,") != std::string::npos ? "+" + text : text;
}

std::string Trend(double change) {
    return change > 0 ? "\u25B2 rise" : change < 0 ? "\u25BC fall" : "= same";
}

bool Whole(double value) {
    return std::nearbyint(value) == value;
}

std::string PerSecondName(const std::string& name, bool perSecond) {
    return perSecond ? name + "/Sec" : name;
}

const std::vector<std::string>& FigureHeadings() {
    static const std::vector<std::string> headings{"Before", "After", "Change", "Change %", "Trend"};
    return headings;
}

StringTable GridWithKeys(std::vector<std::string> keys, VerdictColumn verdicts) {
    StringTable table{std::move(keys), {}};
    table.Headings.insert(table.Headings.end(), FigureHeadings().begin(), FigureHeadings().end());
    if (verdicts == VerdictColumn::With) table.Headings.emplace_back("Verdict");
    return table;
}

std::vector<std::string> Row(std::vector<std::string> keys, const FigureChange& values, Better better,
                             VerdictColumn verdicts) {
    std::vector<std::string> cells = FigureCells(values);
    keys.insert(keys.end(), cells.begin(), cells.end());
    if (verdicts == VerdictColumn::With) keys.emplace_back(VerdictText(VerdictOf(better, values.Change)));
    return keys;
}

// A pool or object of one report only: its name, then "only in ..." under
// "Trend" (and an empty verdict).
std::vector<std::string> LoneRow(std::vector<std::string> keys, std::size_t width, const char* side,
                                 VerdictColumn verdicts) {
    const std::size_t trend = verdicts == VerdictColumn::With ? width - 2 : width - 1;
    keys.resize(trend);
    keys.push_back(std::string("only in ") + side);
    keys.resize(width);
    return keys;
}

}  // namespace

Verdict VerdictOf(Better better, double change) {
    if (better == Better::None || change == 0) return Verdict::Neutral;
    return (change > 0) == (better == Better::Up) ? Verdict::Better : Verdict::Worse;
}

FigureTraits TraitsOf(std::string_view figureName) {
    for (const NamedTraits& named : kFigureTraits)
        if (named.Name == figureName) return named.Traits;
    return {};
}

const char* BetterName(Better better) {
    switch (better) {
        case Better::Up:
            return "up";
        case Better::Down:
            return "down";
        case Better::None:
            break;
    }
    return "none";
}

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
        case Verdict::Better:
            return "better";
        case Verdict::Worse:
            return "worse";
        case Verdict::Neutral:
            break;
    }
    return "";
}

double ComparedValue(const Figure& figure, std::int32_t elapsedSeconds) {
    return figure.IsCount ? PerSecond(figure.Value, elapsedSeconds) : figure.Value;
}

FigureChange CompareFigure(double before, double after) {
    FigureChange change{before, after, after - before, std::nullopt};
    if (before != 0) change.ChangePct = (after - before) / std::fabs(before) * 100;
    return change;
}

ReportComparison CompareReports(const ReportModel& before, const ReportModel& after) {
    ReportComparison result;
    result.BeforeSeconds = CollectionSeconds(before);
    result.AfterSeconds = CollectionSeconds(after);
    result.Warnings = ElapsedWarnings(before, after);
    CollectingSink sink;  // the 4K-buffer total's overflow, kept as a warning
    result.Totals = CompareFigures(TotalFigures(before, sink), result.BeforeSeconds, TotalFigures(after, sink),
                                   result.AfterSeconds);
    for (const Message& message : sink.Messages) result.Warnings.push_back(message.Title + ": " + message.Text);

    std::map<std::string_view, int> afterPools;
    for (int p = after.PoolCount(); p >= 1; --p) afterPools[after.Pools(p).PoolName.Trimmed()] = p;  // first wins
    std::vector<bool> afterMatched(static_cast<std::size_t>(after.PoolCount()) + 1, false);
    for (int p = 1; p <= before.PoolCount(); ++p) {
        const auto found = afterPools.find(before.Pools(p).PoolName.Trimmed());
        if (found == afterPools.end() || afterMatched[static_cast<std::size_t>(found->second)]) {
            result.PoolsOnlyBefore.push_back(before.Pools(p).PoolName.TrimmedString());
            continue;
        }
        afterMatched[static_cast<std::size_t>(found->second)] = true;
        result.Pools.push_back(ComparePool(before, p, after, found->second));
    }
    for (int p = 1; p <= after.PoolCount(); ++p)
        if (!afterMatched[static_cast<std::size_t>(p)])
            result.PoolsOnlyAfter.push_back(after.Pools(p).PoolName.TrimmedString());
    return result;
}

std::vector<std::string> FigureCells(const FigureChange& values) {
    const int decimals = Whole(values.Before) && Whole(values.After) ? 0 : 2;
    return {Grouped(values.Before, decimals), Grouped(values.After, decimals), Signed(values.Change, decimals),
            values.ChangePct ? Signed(*values.ChangePct, 1) : "n/a", Trend(values.Change)};
}

StringTable CompareFiguresGrid(const std::vector<ComparedFigure>& figures, VerdictColumn verdicts) {
    StringTable table = GridWithKeys({"Figure"}, verdicts);
    for (const ComparedFigure& figure : figures)
        table.Rows.push_back(
            Row({PerSecondName(figure.Name, figure.PerSecond)}, figure.Values, figure.Direction, verdicts));
    return table;
}

StringTable CompareTotalsGrid(const ReportComparison& comparison, VerdictColumn verdicts) {
    return CompareFiguresGrid(comparison.Totals, verdicts);
}

StringTable ComparePoolsGrid(const ReportComparison& comparison, VerdictColumn verdicts) {
    StringTable table = GridWithKeys({"Pool", "Figure"}, verdicts);
    for (const PoolComparison& pool : comparison.Pools)
        for (const ComparedFigure& figure : pool.Figures)
            table.Rows.push_back(Row({pool.Name, PerSecondName(figure.Name, figure.PerSecond)}, figure.Values,
                                     figure.Direction, verdicts));
    for (const std::string& name : comparison.PoolsOnlyBefore)
        table.Rows.push_back(LoneRow({name}, table.Headings.size(), "before", verdicts));
    for (const std::string& name : comparison.PoolsOnlyAfter)
        table.Rows.push_back(LoneRow({name}, table.Headings.size(), "after", verdicts));
    return table;
}

StringTable CompareObjectsGrid(const PoolComparison& pool, VerdictColumn verdicts) {
    StringTable table = GridWithKeys({"Type", "Object", "Figure"}, verdicts);
    table.Rows.reserve(2 * pool.Objects.size() + pool.ObjectsOnlyBefore.size() + pool.ObjectsOnlyAfter.size());
    for (const ObjectChange& object : pool.Objects) {
        table.Rows.push_back(
            Row({object.Type, object.Name, "Get Pages/Sec"}, object.GetPages, ObjectGetPagesBetter, verdicts));
        table.Rows.push_back(
            Row({object.Type, object.Name, "Sync. I/Os/Sec"}, object.SyncReadIOs, ObjectSyncReadIOsBetter, verdicts));
    }
    for (const std::string& name : pool.ObjectsOnlyBefore)
        table.Rows.push_back(LoneRow({"", name}, table.Headings.size(), "before", verdicts));
    for (const std::string& name : pool.ObjectsOnlyAfter)
        table.Rows.push_back(LoneRow({"", name}, table.Headings.size(), "after", verdicts));
    return table;
}

StringTable CompareTopObjectsGrid(const PoolComparison& pool, const std::vector<std::size_t>& positions) {
    StringTable table = GridWithKeys({"Type", "Object"}, VerdictColumn::Without);
    for (const std::size_t i : positions)
        table.Rows.push_back(Row({pool.Objects[i].Type, pool.Objects[i].Name}, pool.Objects[i].SyncReadIOs,
                                 ObjectSyncReadIOsBetter, VerdictColumn::Without));
    return table;
}

ChartData CompareFigureChart(const ReportComparison& comparison, std::string_view gridFigureName) {
    ChartData chart;
    chart.Kind = ChartKind::Bar;
    chart.Title = std::string(gridFigureName) + " Before And After";
    // The first pool stands on top, its "before" bar above its "after" bar.
    for (auto pool = comparison.Pools.rbegin(); pool != comparison.Pools.rend(); ++pool)
        for (const ComparedFigure& figure : pool->Figures) {
            if (PerSecondName(figure.Name, figure.PerSecond) != gridFigureName) continue;
            const int decimals = Whole(figure.Values.Before) && Whole(figure.Values.After) ? 0 : 2;
            chart.ValueUnit = TraitsOf(figure.Name).Unit;
            chart.Points.push_back(
                {pool->Name + " after", figure.Values.After, 0, Grouped(figure.Values.After, decimals)});
            chart.Points.push_back(
                {pool->Name + " before", figure.Values.Before, 0, Grouped(figure.Values.Before, decimals)});
        }
    return chart;
}

const PoolComparison* FindPoolComparison(const ReportComparison& comparison, std::string_view poolName) {
    const std::string_view name = TrimBlanks(poolName);
    for (const PoolComparison& pool : comparison.Pools)
        if (pool.Name == name) return &pool;
    return nullptr;
}

}  // namespace kov
