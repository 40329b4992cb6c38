#pragma once
// How big each simulated pool should be, and where a memory budget does the
// most good. Each pool that was simulated at its current size gives a curve
// of read I/O rate against memory (one point per simulated size); one size
// point is chosen per pool so that the total read I/O rate is least while
// the memory taken stays within the budget. The budget defaults to what the
// pools take today, which makes the advice a re-balance with no extra memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/PrintPages.h"
#include "model/ReportModel.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

// 4, 8, 16 or 32: the page size a pool's name says ("BP32K" holds 32 KB
// pages); any other name holds 4 KB pages.
int PageKB(std::string_view poolName);

// Buffers of pageKB kilobytes, in megabytes.
double BufferMB(std::int64_t buffers, int pageKB);

struct SizePoint {
    std::int32_t Size = 0;  // buffers
    double MB = 0;
    double ReadIORate = 0;  // reads per second the pool would do at this size
    double HitRatio = 0;    // system hit ratio at this size, percent
    // Reads per second saved per MB added since the next smaller point; none
    // at the smallest point or where the two take the same memory.
    std::optional<double> SavedPerMB;
};

// One pool's curve, its points in ascending size (simulated order kept among
// equal sizes).
struct PoolSizeCurve {
    std::string Name;
    int PageKB = 4;
    int Slot = 1;
    int SimulationNo = 0;
    std::int32_t CurrentSize = 0;
    std::size_t CurrentPoint = 0;  // the first point of the current size
    std::vector<SizePoint> Points;
};

struct SkippedPool {
    std::string Name;
    std::string Reason;
};

struct PoolSizeAdvice {
    PoolSizeCurve Curve;
    std::size_t RecommendedPoint = 0;
    std::string Because;

    const SizePoint& Current() const { return Curve.Points[Curve.CurrentPoint]; }
    const SizePoint& Recommended() const { return Curve.Points[RecommendedPoint]; }
};

struct SizeAdvice {
    double BudgetMB = 0;
    double CurrentMB = 0;
    double RecommendedMB = 0;
    double CurrentReadIORate = 0;
    double RecommendedReadIORate = 0;
    // False when even the smallest sizes take more than the budget; the
    // smallest sizes are then recommended.
    bool BudgetFits = true;
    std::vector<PoolSizeAdvice> Pools;  // report order
    std::vector<SkippedPool> Skipped;   // report order
};

// The curves of every pool with a simulation in the given slot, in report
// order; pools none of whose simulated sizes is the current size, or whose
// points cannot be weighed (a negative size), go to skipped.
void CollectSizeCurves(const ReportModel& model, int slot, std::vector<PoolSizeCurve>& curves,
                       std::vector<SkippedPool>& skipped);

// One point index per curve: the least total read I/O rate whose memory is
// within budgetKB; among equal rates the least memory, then the first in
// report order (each pool's smaller size first). Exact over the discrete
// points. None when even the smallest points exceed the budget.
std::optional<std::vector<std::size_t>> ChooseSizePoints(const std::vector<PoolSizeCurve>& curves,
                                                         std::int64_t budgetKB);

// The whole advice; budgetMB none means the pools' current total.
SizeAdvice AdviseSizes(const ReportModel& model, std::optional<double> budgetMB, int slot = 1);
SizeAdvice AdviseSizes(std::vector<PoolSizeCurve> curves, std::vector<SkippedPool> skipped,
                       std::optional<double> budgetMB);

// The budget, the memory and the read I/O rate now and as recommended, a
// line each; whether the budget fits, or why there is nothing to advise.
std::vector<std::string> SizeAdviceSummary(const SizeAdvice& advice);

// The allocation as a grid, a row per pool in report order: sizes in
// buffers, memory in MB and read I/O rates before and after.
StringTable SizeAdviceGrid(const SizeAdvice& advice);
// One pool's size points as a grid, smallest first.
StringTable SizePointsGrid(const PoolSizeCurve& curve);

// A pool's read I/O rate against its memory in MB, one point per simulated
// size; the current and the recommended points carry the value labels
// "current", "recommended" (or "current, recommended" where they are one).
ChartData SizeCurveChart(const PoolSizeAdvice& pool);

// The printed size-advice page: the budget and totals, the allocation grid
// and each pool's explanation, wrapped to the sheet.
PrintedPage SizeAdvicePrintPage(const SystemInfo& info, const SizeAdvice& advice);

}  // namespace kov
