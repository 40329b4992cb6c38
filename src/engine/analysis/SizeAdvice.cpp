#include "analysis/SizeAdvice.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "common/Formats.h"
#include "common/TextMatch.h"
#include "common/Utf8.h"
#include "model/Figures.h"
#include "readers/ReportReader.h"

namespace kov {

int PageKB(std::string_view poolName) {
    if (ContainsIgnoringCase(poolName, "32K")) return 32;
    if (ContainsIgnoringCase(poolName, "16K")) return 16;
    if (ContainsIgnoringCase(poolName, "8K")) return 8;
    return 4;
}

double BufferMB(std::int64_t buffers, int pageKB) {
    return static_cast<double>(buffers * pageKB) / 1024.0;
}

namespace {

std::int64_t PointKB(const PoolSizeCurve& curve, std::size_t point) {
    return static_cast<std::int64_t>(curve.Points[point].Size) * curve.PageKB;
}

void FillSavedPerMB(std::vector<SizePoint>& points) {
    for (std::size_t k = 1; k < points.size(); ++k) {
        const double addedMB = points[k].MB - points[k - 1].MB;
        if (addedMB > 0) points[k].SavedPerMB = (points[k - 1].ReadIORate - points[k].ReadIORate) / addedMB;
    }
}

// The reason a pool's curve cannot take part, or empty when it can.
std::string CurveProblem(const PoolSizeCurve& curve) {
    if (curve.Points.empty()) return "the simulation has no size points";
    for (const SizePoint& point : curve.Points) {
        if (point.Size < 0) return "a simulated size is negative (" + Grouped(point.Size, 0) + ")";
        if (!std::isfinite(point.ReadIORate)) return "a simulated read I/O rate is not a number";
    }
    const bool hasCurrent = std::any_of(curve.Points.begin(), curve.Points.end(),
                                        [&](const SizePoint& point) { return point.Size == curve.CurrentSize; });
    return hasCurrent ? std::string() : SimulationSizeMismatchLine(static_cast<double>(curve.CurrentSize));
}

}  // namespace

void CollectSizeCurves(const ReportModel& model, int slot, std::vector<PoolSizeCurve>& curves,
                       std::vector<SkippedPool>& skipped) {
    for (int p = 1; p <= model.Pools.Count(); ++p) {
        const PoolRecord& pool = model.Pools(p);
        if (slot < 1 || slot > pool.SimCount || static_cast<std::size_t>(slot) > pool.Sims.size()) continue;
        const PoolSimRecord& sim = pool.Sim(slot);
        if (!model.Simulations.Contains(sim.SimulationNo)) continue;
        PoolSizeCurve curve;
        curve.Name = std::string(pool.PoolName.Trimmed());
        curve.PageKB = PageKB(pool.PoolName.Padded());
        curve.Slot = slot;
        curve.SimulationNo = sim.SimulationNo;
        curve.CurrentSize = static_cast<std::int32_t>(std::clamp<std::int64_t>(PoolSize(pool), INT32_MIN, INT32_MAX));
        const int sizes = std::clamp<int>(model.Simulations(sim.SimulationNo).SizeCount, 0, MaxSizes);
        for (int k = 1; k <= sizes; ++k) {
            const std::int32_t size = sim.SimPoolSize[static_cast<std::size_t>(k)];
            curve.Points.push_back(
                {size, BufferMB(size, curve.PageKB), ReadIORate(sim, k), SysHitRatio(sim, k), std::nullopt});
        }
        std::stable_sort(curve.Points.begin(), curve.Points.end(),
                         [](const SizePoint& a, const SizePoint& b) { return a.Size < b.Size; });
        FillSavedPerMB(curve.Points);
        if (std::string problem = CurveProblem(curve); !problem.empty()) {
            skipped.push_back({curve.Name, std::move(problem)});
            continue;
        }
        curve.CurrentPoint = static_cast<std::size_t>(
            std::find_if(curve.Points.begin(), curve.Points.end(),
                         [&](const SizePoint& point) { return point.Size == curve.CurrentSize; }) -
            curve.Points.begin());
        curves.push_back(std::move(curve));
    }
}

namespace {

// A choice of points for the first pools: its memory, its read I/O rate, and
// the partial choice it extends.
struct Partial {
    std::int64_t KB = 0;
    double Rate = 0;
    std::uint32_t Previous = 0;  // index in the previous pool's front
    std::uint32_t Point = 0;
    std::uint32_t OrderRank = 0;  // rank of the whole choice in report order
};

// The least memory the pools from some pool on can take, and a lower bound
// of the read I/O rate they can reach within a given memory: the bound lets
// pools take any mix of two neighbouring sizes on the lower convex hull of
// their curve, filled with the steepest savings per KB first. No choice of
// whole sizes does better, so a partial choice whose rate plus this bound
// exceeds a complete choice already known cannot be completed to an optimum.
class RemainingBound {
public:
    RemainingBound(const std::vector<PoolSizeCurve>& curves, std::size_t from) {
        std::vector<Segment> segments;
        for (std::size_t i = from; i < curves.size(); ++i) AddHull(curves[i], segments);
        std::sort(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) {
            return a.Saved * static_cast<double>(b.KB) > b.Saved * static_cast<double>(a.KB);
        });
        for (const Segment& segment : segments) {
            cumulativeKB_.push_back((cumulativeKB_.empty() ? 0 : cumulativeKB_.back()) + segment.KB);
            cumulativeSaved_.push_back((cumulativeSaved_.empty() ? 0 : cumulativeSaved_.back()) + segment.Saved);
        }
    }

    std::int64_t LeastKB() const { return leastKB_; }

    double LeastRateWithin(std::int64_t kb) const {
        const std::int64_t extra = kb - leastKB_;
        if (extra <= 0 || cumulativeKB_.empty()) return baseRate_;
        const auto full = static_cast<std::size_t>(std::upper_bound(cumulativeKB_.begin(), cumulativeKB_.end(), extra) -
                                                   cumulativeKB_.begin());
        if (full == cumulativeKB_.size()) return baseRate_ - cumulativeSaved_.back();
        const double before = full == 0 ? 0 : cumulativeSaved_[full - 1];
        const std::int64_t beforeKB = full == 0 ? 0 : cumulativeKB_[full - 1];
        const double share =
            static_cast<double>(extra - beforeKB) / static_cast<double>(cumulativeKB_[full] - beforeKB);
        return baseRate_ - before - share * (cumulativeSaved_[full] - before);
    }

private:
    struct Segment {
        std::int64_t KB;
        double Saved;
    };

    // The falling part of the curve's lower convex hull, from its cheapest
    // point (the lowest rate among equal memory) to its lowest rate.
    void AddHull(const PoolSizeCurve& curve, std::vector<Segment>& segments) {
        std::vector<std::pair<std::int64_t, double>> points;
        for (std::size_t k = 0; k < curve.Points.size(); ++k)
            points.emplace_back(PointKB(curve, k), curve.Points[k].ReadIORate);
        std::sort(points.begin(), points.end());
        std::vector<std::pair<std::int64_t, double>> hull;
        for (const auto& point : points) {
            if (!hull.empty() && point.first == hull.back().first) continue;    // a cheaper rate came first
            if (!hull.empty() && point.second >= hull.back().second) continue;  // no saving: never on the falling hull
            while (hull.size() >= 2) {
                const auto& [x1, y1] = hull[hull.size() - 2];
                const auto& [x2, y2] = hull.back();
                // Drop the middle point when it lies on or above the chord.
                if ((y2 - y1) * static_cast<double>(point.first - x1) <
                    (point.second - y1) * static_cast<double>(x2 - x1))
                    break;
                hull.pop_back();
            }
            hull.push_back(point);
        }
        leastKB_ += hull.front().first;
        baseRate_ += hull.front().second;
        for (std::size_t k = 1; k < hull.size(); ++k)
            segments.push_back({hull[k].first - hull[k - 1].first, hull[k - 1].second - hull[k].second});
    }

    std::int64_t leastKB_ = 0;
    double baseRate_ = 0;
    std::vector<std::int64_t> cumulativeKB_;
    std::vector<double> cumulativeSaved_;
};

// The read I/O rate of some complete choice within the budget: each pool at
// its smallest point, then every pool grown greedily by the best saving per
// KB while the budget lasts. The optimum is never above it.
double FeasibleRate(const std::vector<PoolSizeCurve>& curves, std::int64_t budgetKB) {
    std::vector<std::size_t> chosen(curves.size(), 0);
    std::int64_t kb = 0;
    for (std::size_t i = 0; i < curves.size(); ++i) kb += PointKB(curves[i], 0);
    for (;;) {
        double bestGain = 0;
        std::size_t bestPool = curves.size(), bestPoint = 0;
        for (std::size_t i = 0; i < curves.size(); ++i)
            for (std::size_t k = chosen[i] + 1; k < curves[i].Points.size(); ++k) {
                const std::int64_t added = PointKB(curves[i], k) - PointKB(curves[i], chosen[i]);
                const double saved = curves[i].Points[chosen[i]].ReadIORate - curves[i].Points[k].ReadIORate;
                if (kb + added > budgetKB || saved <= 0) continue;
                const double gain = saved / static_cast<double>(std::max<std::int64_t>(added, 1));
                if (gain > bestGain) bestGain = gain, bestPool = i, bestPoint = k;
            }
        if (bestPool == curves.size()) break;
        kb += PointKB(curves[bestPool], bestPoint) - PointKB(curves[bestPool], chosen[bestPool]);
        chosen[bestPool] = bestPoint;
    }
    double rate = 0;
    for (std::size_t i = 0; i < curves.size(); ++i) rate += curves[i].Points[chosen[i]].ReadIORate;
    return rate;
}

// Partials in memory order; along the kept front memory rises and the rate
// falls strictly, so each kept partial is the best use of its memory.
std::vector<Partial> ParetoFront(std::vector<Partial> candidates) {
    std::sort(candidates.begin(), candidates.end(), [](const Partial& a, const Partial& b) {
        if (a.KB != b.KB) return a.KB < b.KB;
        if (a.Rate != b.Rate) return a.Rate < b.Rate;
        return a.OrderRank != b.OrderRank ? a.OrderRank < b.OrderRank : a.Point < b.Point;
    });
    std::vector<Partial> front;
    double bestRate = std::numeric_limits<double>::infinity();
    for (const Partial& partial : candidates)
        if (partial.Rate < bestRate) {
            front.push_back(partial);
            bestRate = partial.Rate;
        }
    // Report-order ranks of the kept partials, for the next pool's ties.
    std::vector<std::uint32_t> order(front.size());
    std::iota(order.begin(), order.end(), 0U);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return front[a].OrderRank != front[b].OrderRank ? front[a].OrderRank < front[b].OrderRank
                                                        : front[a].Point < front[b].Point;
    });
    for (std::uint32_t rank = 0; rank < order.size(); ++rank) front[order[rank]].OrderRank = rank;
    return front;
}

}  // namespace

std::optional<std::vector<std::size_t>> ChooseSizePoints(const std::vector<PoolSizeCurve>& curves,
                                                         std::int64_t budgetKB) {
    std::vector<RemainingBound> remaining;
    for (std::size_t i = 0; i <= curves.size(); ++i) remaining.emplace_back(curves, i);
    if (remaining[0].LeastKB() > budgetKB) return std::nullopt;
    if (curves.empty()) return std::vector<std::size_t>{};
    const double known = FeasibleRate(curves, budgetKB);
    const double slack = 1e-9 * std::max(1.0, std::abs(known));

    std::vector<std::vector<Partial>> fronts;
    std::vector<Partial> front{Partial{}};
    for (std::size_t i = 0; i < curves.size(); ++i) {
        std::vector<Partial> candidates;
        candidates.reserve(front.size() * curves[i].Points.size());
        for (std::uint32_t e = 0; e < front.size(); ++e)
            for (std::uint32_t k = 0; k < curves[i].Points.size(); ++k) {
                const Partial next{front[e].KB + PointKB(curves[i], k), front[e].Rate + curves[i].Points[k].ReadIORate,
                                   e, k, front[e].OrderRank};
                const RemainingBound& rest = remaining[i + 1];
                if (next.KB + rest.LeastKB() > budgetKB) continue;
                if (next.Rate + rest.LeastRateWithin(budgetKB - next.KB) > known + slack) continue;
                candidates.push_back(next);
            }
        fronts.push_back(std::move(front));
        front = ParetoFront(std::move(candidates));
    }
    // The front's last partial has the least rate, and the least memory of it.
    std::vector<std::size_t> chosen(curves.size());
    std::uint32_t at = static_cast<std::uint32_t>(front.size() - 1);
    for (std::size_t i = curves.size(); i-- > 0;) {
        const Partial& partial = i + 1 == curves.size() ? front[at] : fronts[i + 1][at];
        chosen[i] = partial.Point;
        at = partial.Previous;
    }
    return chosen;
}

namespace {

std::string SignedMB(double mb) {
    return (mb < 0 ? "\u2212" : "+") + Grouped(std::abs(mb), 1) + " MB";
}

std::string SizeChange(const PoolSizeAdvice& pool) {
    return pool.Curve.Name + " " + Grouped(pool.Current().Size, 0) + " \u2192 " + Grouped(pool.Recommended().Size, 0);
}

std::string RateChange(const PoolSizeAdvice& pool) {
    return "read I/O " + Grouped(pool.Current().ReadIORate, 1) + "/s \u2192 " +
           Grouped(pool.Recommended().ReadIORate, 1) + "/s";
}

std::string JoinedWithAnd(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

std::string ExplainGrowth(const SizeAdvice& advice) {
    std::vector<std::string> donors;
    for (const PoolSizeAdvice& other : advice.Pools)
        if (other.Recommended().Size < other.Current().Size)
            donors.push_back(SizeChange(other) + " (" + SignedMB(other.Recommended().MB - other.Current().MB) +
                             "), where it saved " +
                             Grouped(other.Recommended().ReadIORate - other.Current().ReadIORate, 1) + " reads/s");
    if (advice.RecommendedMB > advice.CurrentMB) donors.push_back("the larger budget");
    return donors.empty() ? std::string() : "; the memory comes from " + JoinedWithAnd(donors);
}

std::string ExplainShrink(const SizeAdvice& advice) {
    std::vector<std::string> takers;
    for (const PoolSizeAdvice& other : advice.Pools)
        if (other.Recommended().Size > other.Current().Size) takers.push_back(other.Curve.Name);
    if (takers.empty()) return "; the smaller budget takes its memory";
    return "; its memory does more good in " + JoinedWithAnd(takers);
}

std::string Explain(const SizeAdvice& advice, const PoolSizeAdvice& pool) {
    std::string text;
    if (pool.Recommended().Size == pool.Current().Size) {
        text = pool.Curve.Name + " stays at " + Grouped(pool.Current().Size, 0) + " buffers (" +
               Grouped(pool.Current().MB, 1) + " MB): read I/O " + Grouped(pool.Current().ReadIORate, 1) + "/s";
    } else {
        text = SizeChange(pool) + " buffers (" + SignedMB(pool.Recommended().MB - pool.Current().MB) +
               "): " + RateChange(pool);
        text += pool.Recommended().Size > pool.Current().Size ? ExplainGrowth(advice) : ExplainShrink(advice);
    }
    if (!advice.BudgetFits)
        text +=
            "; even the smallest simulated sizes take more than the budget of " + Grouped(advice.BudgetMB, 1) + " MB";
    return text + ".";
}

}  // namespace

SizeAdvice AdviseSizes(std::vector<PoolSizeCurve> curves, std::vector<SkippedPool> skipped,
                       std::optional<double> budgetMB) {
    SizeAdvice advice;
    advice.Skipped = std::move(skipped);
    std::int64_t currentKB = 0;
    for (const PoolSizeCurve& curve : curves) {
        currentKB += PointKB(curve, curve.CurrentPoint);
        advice.CurrentReadIORate += curve.Points[curve.CurrentPoint].ReadIORate;
    }
    advice.CurrentMB = static_cast<double>(currentKB) / 1024.0;
    advice.BudgetMB = budgetMB.value_or(advice.CurrentMB);
    const std::int64_t budgetKB =
        budgetMB ? static_cast<std::int64_t>(std::floor(*budgetMB * 1024.0 + 1e-6)) : currentKB;

    std::optional<std::vector<std::size_t>> chosen = ChooseSizePoints(curves, budgetKB);
    advice.BudgetFits = chosen.has_value();
    if (!chosen) chosen = std::vector<std::size_t>(curves.size(), 0);

    for (std::size_t i = 0; i < curves.size(); ++i) {
        PoolSizeAdvice pool{std::move(curves[i]), (*chosen)[i], {}};
        advice.RecommendedMB += pool.Recommended().MB;
        advice.RecommendedReadIORate += pool.Recommended().ReadIORate;
        advice.Pools.push_back(std::move(pool));
    }
    for (PoolSizeAdvice& pool : advice.Pools) pool.Because = Explain(advice, pool);
    return advice;
}

SizeAdvice AdviseSizes(const ReportModel& model, std::optional<double> budgetMB, int slot) {
    std::vector<PoolSizeCurve> curves;
    std::vector<SkippedPool> skipped;
    CollectSizeCurves(model, slot, curves, skipped);
    return AdviseSizes(std::move(curves), std::move(skipped), budgetMB);
}

std::vector<std::string> SizeAdviceSummary(const SizeAdvice& advice) {
    std::vector<std::string> lines{"Budget " + Grouped(advice.BudgetMB, 1) + " MB; the pools take " +
                                   Grouped(advice.CurrentMB, 1) + " MB now and " + Grouped(advice.RecommendedMB, 1) +
                                   " MB as recommended."};
    if (!advice.BudgetFits)
        lines.push_back("No choice of simulated sizes fits the budget: the smallest sizes are recommended.");
    lines.push_back("Read I/O " + Grouped(advice.CurrentReadIORate, 1) + "/s now, " +
                    Grouped(advice.RecommendedReadIORate, 1) + "/s as recommended.");
    if (advice.Pools.empty())
        lines.push_back(advice.Skipped.empty() ? "No simulation report was loaded."
                                               : "No pool was simulated at its current size.");
    return lines;
}

StringTable SizeAdviceGrid(const SizeAdvice& advice) {
    StringTable grid{{"Pool", "Page KB", "Current Size", "Recommended Size", "Current MB", "Recommended MB",
                      "Change MB", "Current Read I/O/s", "Recommended Read I/O/s"},
                     {}};
    for (const PoolSizeAdvice& pool : advice.Pools) {
        const double change = pool.Recommended().MB - pool.Current().MB;
        grid.Rows.push_back({pool.Curve.Name, Grouped(pool.Curve.PageKB, 0), Grouped(pool.Current().Size, 0),
                             Grouped(pool.Recommended().Size, 0), Grouped(pool.Current().MB, 1),
                             Grouped(pool.Recommended().MB, 1), (change > 0 ? "+" : "") + Grouped(change, 1),
                             Grouped(pool.Current().ReadIORate, 1), Grouped(pool.Recommended().ReadIORate, 1)});
    }
    return grid;
}

StringTable SizePointsGrid(const PoolSizeCurve& curve) {
    StringTable grid{{"Size", "MB", "Read I/O/s", "Hit Ratio", "Saved Reads/s per MB"}, {}};
    for (const SizePoint& point : curve.Points)
        grid.Rows.push_back({Grouped(point.Size, 0), Grouped(point.MB, 1), Grouped(point.ReadIORate, 1),
                             Grouped(point.HitRatio, 1), point.SavedPerMB ? Grouped(*point.SavedPerMB, 3) : ""});
    return grid;
}

ChartData SizeCurveChart(const PoolSizeAdvice& pool) {
    ChartData chart;
    chart.Kind = ChartKind::Line;
    chart.Title = pool.Curve.Name + " Read I/O Rate Versus Memory (MB)";
    chart.ValueUnit = "reads / s";
    chart.XUnit = "MB";
    const std::vector<SizePoint>& points = pool.Curve.Points;
    for (std::size_t k = 0; k < points.size(); ++k) {
        std::string mark;
        if (k == pool.Curve.CurrentPoint) mark = "current";
        if (k == pool.RecommendedPoint) mark += mark.empty() ? "recommended" : ", recommended";
        chart.Points.push_back({Grouped(points[k].Size, 0), points[k].ReadIORate, 0, mark, points[k].MB});
    }
    if (points.empty()) return chart;
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(),
                            [](const SizePoint& a, const SizePoint& b) { return a.ReadIORate < b.ReadIORate; });
    chart.Axis = AxisRange{std::min(0.0, low->ReadIORate), high->ReadIORate, true};
    chart.XAxis = AxisRange{points.front().MB, points.back().MB, true};
    return chart;
}

namespace {

// Words of text in lines of at most width characters (a longer word stands
// alone), measured in characters so arrows and signs count once.
std::vector<std::string> Wrapped(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (!line.empty() && CharacterCount(line) + 1 + CharacterCount(word) > width) {
            lines.push_back(std::move(line));
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        start = end + 1;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The grid columns that fit a sheet: names, sizes, the memory moved, rates.
constexpr std::size_t kPrintedColumns[] = {0, 2, 3, 6, 7, 8};

}  // namespace

PrintedPage SizeAdvicePrintPage(const SystemInfo& info, const SizeAdvice& advice) {
    PrintedPage page;
    page.Title = "Size Advice";
    page.SubTitle = HeaderLine(info, false);
    for (std::string& line : SizeAdviceSummary(advice)) page.Details.push_back({"", std::move(line)});
    const StringTable grid = SizeAdviceGrid(advice);
    for (const std::size_t c : kPrintedColumns) page.LineHeadings.push_back(grid.Headings[c]);
    for (const auto& row : grid.Rows) {
        std::vector<std::string> line;
        for (const std::size_t c : kPrintedColumns) line.push_back(row[c]);
        page.Lines.push_back(std::move(line));
    }
    for (const PoolSizeAdvice& pool : advice.Pools) {
        std::string caption = pool.Curve.Name;
        for (std::string& line : Wrapped(pool.Because, 90)) page.Details.push_back({std::exchange(caption, ""), line});
    }
    for (const SkippedPool& pool : advice.Skipped) {
        std::string caption = pool.Name;
        for (std::string& line : Wrapped("skipped: " + pool.Reason, 90))
            page.Details.push_back({std::exchange(caption, ""), line});
    }
    return page;
}

}  // namespace kov
