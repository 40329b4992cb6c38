#pragma once
// Two collection intervals side by side: did the change between them help?
// Pools are matched by trimmed name, objects by trimmed name within their
// pool. Every figure comes from the function the single-report views use
// (TotalFigures, PoolFigures, EvaluatePoolRules); counts that grow with the
// interval's length are compared per second of each report's own elapsed
// time, so intervals of different lengths compare fairly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/GeneralInfo.h"
#include "model/ReportModel.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

// One figure in both intervals. ChangePct is nothing where Before is 0.
struct FigureChange {
    double Before = 0;
    double After = 0;
    double Change = 0;
    std::optional<double> ChangePct;
};
FigureChange CompareFigure(double before, double after);

// Which way a figure moves when the pools work better: a higher hit ratio,
// page residency or pages per write; fewer I/Os, pages read and write I/Os.
// Sizes, buffer counts and the workload itself (get pages, updates) are
// neither better nor worse for moving.
enum class Better { Up, Down, None };

// How a change reads for its figure; Neutral where the figure has no better
// direction or did not move.
enum class Verdict { Better, Worse, Neutral };
Verdict VerdictOf(Better better, double change);

// The better direction and the unit of a figure named as the totals and the
// pool grid name it (without "/Sec").
struct FigureTraits {
    Better Direction = Better::None;
    const char* Unit = "";  // as compared: counts per second
};
FigureTraits TraitsOf(std::string_view figureName);
inline constexpr Better ObjectGetPagesBetter = Better::None;
inline constexpr Better ObjectSyncReadIOsBetter = Better::Down;

// A figure as two intervals compare it: a count per second of the interval's
// elapsed time, any other figure as it is.
double ComparedValue(const Figure& figure, std::int32_t elapsedSeconds);

// "up", "down", "none".
const char* BetterName(Better better);

struct ComparedFigure {
    std::string Name;        // the caption or pool-grid heading
    bool PerSecond = false;  // a count, divided by each report's elapsed seconds
    FigureChange Values;
    Better Direction = Better::None;
};

// Advice lines of one intent: fired only after, only before, in both.
struct AdviceSplit {
    std::vector<std::string> Added;
    std::vector<std::string> Removed;
    std::vector<std::string> Kept;
};

// An object found in both reports; its counts per second.
struct ObjectChange {
    std::string Name;  // trimmed
    std::string Type;  // "T", "I", ...
    FigureChange GetPages;
    FigureChange SyncReadIOs;  // synchronous read I/Os
};

struct PoolComparison {
    std::string Name;  // trimmed
    int BeforePool = 0;
    int AfterPool = 0;
    std::vector<ComparedFigure> Figures;  // the pool grid's columns after "Pool"
    std::array<AdviceSplit, 2> Advice;    // intent 'R', then 'S'
    std::vector<ObjectChange> Objects;    // matched, in the before report's order
    std::vector<std::string> ObjectsOnlyBefore;
    std::vector<std::string> ObjectsOnlyAfter;
    // Positions in Objects of the ten largest rises and falls of synchronous
    // read I/Os per second, largest first; ties keep the before report's order.
    std::vector<std::size_t> SyncReadRises;
    std::vector<std::size_t> SyncReadFalls;
};

inline constexpr std::size_t TopObjectChanges = 10;
inline constexpr char CompareIntents[2] = {'R', 'S'};

struct ReportComparison {
    std::int32_t BeforeSeconds = 0;
    std::int32_t AfterSeconds = 0;
    std::vector<std::string> Warnings;
    std::vector<ComparedFigure> Totals;
    std::vector<PoolComparison> Pools;  // matched, in the before report's order
    std::vector<std::string> PoolsOnlyBefore;
    std::vector<std::string> PoolsOnlyAfter;
};

// A report whose elapsed time is 0 has its per-second figures read as 0, as
// the pool grid shows them, and a warning says so.
ReportComparison CompareReports(const ReportModel& before, const ReportModel& after);

// The comparison as grids, for the window and the text report. Each row ends
// "Before", "After", "Change", "Change %", "Trend"; a change is signed, a
// change in percent is "n/a" where the before value is 0, and the trend is
// marked by an arrow as well as a word ("▲ rise", "▼ fall", "= same"). The
// window's grids add a last column "Verdict": "better", "worse" or "" (a
// figure without a better direction, or no change).
enum class VerdictColumn { Without, With };
StringTable CompareTotalsGrid(const ReportComparison& comparison, VerdictColumn verdicts = VerdictColumn::Without);
// One row per figure, named as the grids name it ("/Sec" added to a count).
StringTable CompareFiguresGrid(const std::vector<ComparedFigure>& figures,
                               VerdictColumn verdicts = VerdictColumn::Without);
// Every figure of every matched pool, then one row per pool found in one
// report only.
StringTable ComparePoolsGrid(const ReportComparison& comparison, VerdictColumn verdicts = VerdictColumn::Without);
// Both object figures of every matched object of one pool comparison, then
// one row per object found in one report only.
StringTable CompareObjectsGrid(const PoolComparison& pool, VerdictColumn verdicts = VerdictColumn::Without);
// The verdict cell's texts.
const char* VerdictText(Verdict verdict);

// One pool-grid figure (named as the pools grid names it, "Get Pages/Sec")
// before and after, per matched pool: two bars a pool, "<pool> before" and
// "<pool> after", the value axis from 0 with the figure's unit.
ChartData CompareFigureChart(const ReportComparison& comparison, std::string_view gridFigureName);
// The synchronous read I/Os per second of the objects at these positions of
// pool.Objects (a top list), one row each.
StringTable CompareTopObjectsGrid(const PoolComparison& pool, const std::vector<std::size_t>& positions);

// The cells of one figure after its name: before, after, change, change %,
// trend. Whole numbers show no decimals, every other figure two.
std::vector<std::string> FigureCells(const FigureChange& values);

// The comparison of the pool with this name (trimmed); nothing when the pool
// is in one report only.
const PoolComparison* FindPoolComparison(const ReportComparison& comparison, std::string_view poolName);

}  // namespace kov
