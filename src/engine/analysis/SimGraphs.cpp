#include "analysis/SimGraphs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "common/Formats.h"
#include "common/NumberText.h"
#include "model/Figures.h"
#include "views/AxisTicks.h"

namespace kov {

namespace {

constexpr int kRankedObjects = 10;
// A working set above this is drawn in thousands.
constexpr float kThousandsAbove = 9999.0f;

// A failure the charting raises, with the number the DBA's message shows.
class ChartFailure : public std::runtime_error {
public:
    ChartFailure(int number, const char* description) : std::runtime_error(description), Number(number) {}
    int Number;
};

int ErrorNumber(const std::exception& failure) {
    if (const auto* chartFailure = dynamic_cast<const ChartFailure*>(&failure)) return chartFailure->Number;
    return 5;  // a call the chart could not make
}

std::string NumberedDescription(const std::exception& failure) {
    return PlainInteger(ErrorNumber(failure)) + " : " + failure.what();
}

// value as a whole number of the chart's range; outside it the chart
// overflows.
long long Rounded(std::optional<long long> whole) {
    if (!whole) throw ChartFailure(6, "Overflow");
    return *whole;
}
long long Rounded32(double value) {
    return Rounded(WholeNumber32(value));
}
long long Rounded16(double value) {
    return Rounded(WholeNumberWithin(value, INT16_MIN, INT16_MAX));
}

std::size_t At(int k) {
    return static_cast<std::size_t>(k);
}

// What every chart of the page reads: the pool's slot, its objects and the
// number of size points of the slot's simulation.
struct SlotView {
    const PoolSimRecord* Pool = nullptr;
    ObjectRange Objects;
    int Points = 0;
};

std::optional<SlotView> ViewOf(const ReportModel& model, int p, int s) {
    const PoolSimRecord* slot = PoolSlot(model, p, s);
    if (slot == nullptr) return std::nullopt;
    const int points = model.Simulations.Contains(slot->SimulationNo)
                           ? std::clamp<int>(model.Simulations(slot->SimulationNo).SizeCount, 0, MaxSizes)
                           : 0;
    return SlotView{slot, PoolObjects(model, model.Pools(p)), points};
}

// An object that took no part in the simulation reads as all zeros.
const SimObjectRecord& ResultsOf(const ObjectRecord& o, int s) {
    static const SimObjectRecord none;
    const SimObjectRecord* results = ObjectSlot(o, s);
    return results != nullptr ? *results : none;
}

// One entry of a ranking. Name is the object's 27-character name.
struct RankEntry {
    float Value = 0;
    std::string_view Name;
    int Object = 0;
};

// The keys of a ranking, one per object of the range in pool order: the
// scratch values a selection pass marks its pick in.
template <typename KeyOf>
std::vector<double> KeysOf(const ReportModel& model, const ObjectRange& range, KeyOf&& keyOf) {
    std::vector<double> keys;
    keys.reserve(range.Size());
    for (int o = range.First; o <= range.Last; ++o) keys.push_back(keyOf(model.Objects(o)));
    return keys;
}

// n passes, each taking the largest key still unmarked as the passes see
// it: a key qualifies when it is at least the running value (and, with a
// floor, above the floor), so ties go to the object later in the pool. The
// pick is marked; the marks are the values a pass may still meet.
struct LargestPasses {
    float Mark;
    std::optional<double> Floor;
};
std::vector<RankEntry> RankLargest(const ReportModel& model, const ObjectRange& range, std::vector<double> keys, int n,
                                   const LargestPasses& passes) {
    std::vector<RankEntry> ranks;
    const std::string_view firstName = model.Objects(range.First).ObjectName.Padded();
    for (int i = 0; i < n; ++i) {
        RankEntry entry{static_cast<float>(keys[0]), firstName, 0};
        std::optional<std::size_t> pick;
        for (std::size_t j = 0; j < keys.size(); ++j) {
            const float key = static_cast<float>(keys[j]);
            if (key >= entry.Value && (!passes.Floor || keys[j] > *passes.Floor)) {
                entry = {key, model.Objects(range.First + static_cast<int>(j)).ObjectName.Padded(),
                         range.First + static_cast<int>(j)};
                pick = j;
            }
        }
        if (pick) keys[*pick] = passes.Mark;
        ranks.push_back(entry);
    }
    return ranks;
}

// n passes, each taking the smallest key below 9,999,999 (or below the first
// object's key when that is larger); ties go to the object earlier in the
// pool. A pass without a pick leaves its entry nameless. Picks are marked
// 999,999.99, which later passes can still take.
std::vector<RankEntry> RankSmallest(const ReportModel& model, const ObjectRange& range, std::vector<double> keys,
                                    int n) {
    std::vector<RankEntry> ranks;
    for (int i = 0; i < n; ++i) {
        RankEntry entry{std::max(9'999'999.0f, static_cast<float>(keys[0])), {}, 0};
        std::optional<std::size_t> pick;
        for (std::size_t j = 0; j < keys.size(); ++j) {
            const float key = static_cast<float>(keys[j]);
            if (key < entry.Value) {
                entry = {key, model.Objects(range.First + static_cast<int>(j)).ObjectName.Padded(),
                         range.First + static_cast<int>(j)};
                pick = j;
            }
        }
        if (pick) keys[*pick] = 999'999.99;
        ranks.push_back(entry);
    }
    return ranks;
}

// The largest ranked value as an integer (the first entry, replaced by any
// larger one).
template <typename Round>
long long TopOf(const std::vector<RankEntry>& ranks, Round&& round) {
    long long top = round(ranks.front().Value);
    for (std::size_t i = 1; i < ranks.size(); ++i)
        if (static_cast<double>(ranks[i].Value) > static_cast<double>(top)) top = round(ranks[i].Value);
    return top;
}

ChartPoint BarPoint(const RankEntry& entry, float value) {
    ChartPoint point{std::string(TrimBlanks(entry.Name)), value, entry.Object};
    point.ValueText = ShortestSingle(value);
    return point;
}

enum class WorkSetEnd { Largest, Smallest };

void DrawWorkSets(const ReportModel& model, int p, int s, const SlotView& view, WorkSetEnd end, ChartData& chart) {
    const bool largest = end == WorkSetEnd::Largest;
    const char* title = largest ? "Objects With Largest Max WkSet" : "Objects With Smallest Max WkSet";
    // A pool without objects has nothing to rank.
    if (view.Objects.Count() == 0) {
        chart.Title = title;
        return;
    }
    const int k = LargestSizePoint(model, p, s);
    const auto keys =
        KeysOf(model, view.Objects, [&](const ObjectRecord& o) { return MaxWorkSet(ResultsOf(o, s), k); });
    const int n = std::min(view.Objects.Count(), kRankedObjects);
    std::vector<RankEntry> ranks = largest ? RankLargest(model, view.Objects, keys, n, {-1.0f, std::nullopt})
                                           : RankSmallest(model, view.Objects, keys, n);
    const bool scaled =
        std::any_of(ranks.begin(), ranks.end(), [](const RankEntry& e) { return e.Value > kThousandsAbove; });
    long long top = TopOf(ranks, Rounded32);
    // The largest value stands last in both charts.
    if (largest) std::reverse(ranks.begin(), ranks.end());
    for (const RankEntry& entry : ranks)
        chart.Points.push_back(BarPoint(entry, scaled ? entry.Value / 1000.0f : entry.Value));
    if (scaled) top = Rounded32(static_cast<double>(top) / 1000);
    chart.Title = std::string(title) + (scaled ? " * 1K" : "");
    chart.ValueUnit = AxisUnit("buffers", scaled);
    chart.Axis = AxisRange{0, static_cast<double>(top) * 1.25, false};
}

ChartData WorkSetChart(const ReportModel& model, int p, int s, WorkSetEnd end) {
    ChartData chart;
    chart.Kind = ChartKind::Bar;
    chart.HasObjectSeries = true;
    const auto view = ViewOf(model, p, s);
    if (!view) return chart;
    try {
        DrawWorkSets(model, p, s, *view, end, chart);
    } catch (const std::exception& failure) {
        chart.Messages.push_back({end == WorkSetEnd::Largest ? "Loading Graph Data" : "Smallest Work Set Calculations",
                                  failure.what(), MessageIcon::Information});
    }
    return chart;
}

enum class Measure { HitRatio, IORate };

// The measure at size point k, of the pool or of one object.
template <typename Results>
double ValueAt(const Results& results, Measure measure, int k) {
    return measure == Measure::HitRatio ? SysHitRatio(results, k) : ReadIORate(results, k);
}

void DrawPoolSizes(const SlotView& view, Measure measure, ChartData& chart) {
    for (int k = 1; k <= view.Points; ++k) {
        const double value = ValueAt(*view.Pool, measure, k);
        ChartPoint point{"", value, 0, ShortestDecimal(value)};
        point.X = view.Pool->SimPoolSize[At(k)];
        chart.Points.push_back(point);
    }
    if (chart.Points.empty()) return;
    const auto [lowX, highX] = std::minmax_element(
        chart.Points.begin(), chart.Points.end(), [](const ChartPoint& a, const ChartPoint& b) { return *a.X < *b.X; });
    const auto [lowY, highY] =
        std::minmax_element(chart.Points.begin(), chart.Points.end(),
                            [](const ChartPoint& a, const ChartPoint& b) { return a.Value < b.Value; });
    chart.XAxis = AxisRange{*lowX->X, *highX->X};
    chart.Axis = AxisRange{lowY->Value, highY->Value};
}

// A flat line of zero rates leaves the chart nothing to scale its axis by.
bool AllRatesZero(const ChartData& chart) {
    return !chart.Points.empty() && std::all_of(chart.Points.begin(), chart.Points.end(),
                                                [](const ChartPoint& point) { return point.Value == 0; });
}

ChartData PoolSizeChart(const ReportModel& model, int p, int s, Measure measure) {
    ChartData chart;
    chart.Kind = ChartKind::Line;
    const auto view = ViewOf(model, p, s);
    if (!view) return chart;
    const bool hitRatio = measure == Measure::HitRatio;
    chart.Title = hitRatio ? "Pool Size Versus System Hit Ratio" : "Pool Size Versus Read IO Rate";
    chart.ValueUnit = hitRatio ? "%" : "I/Os / s";
    chart.XUnit = "buffers";
    try {
        DrawPoolSizes(*view, measure, chart);
    } catch (const std::exception& failure) {
        chart.Messages.push_back(
            hitRatio ? Message{"System Hit Ratio",
                               "A fatal error has occured while poltting the graph using System Hit Ratio\n" +
                                   NumberedDescription(failure),
                               MessageIcon::Critical}
                     : Message{"Plot Graph", failure.what(), MessageIcon::Information});
    }
    if (!hitRatio && AllRatesZero(chart))
        chart.Messages.push_back({"", "Encountered ZERO IO Rates in data. Can not plot Graph", MessageIcon::None});
    return chart;
}

// The spread of an object's measure over point 1 and every later point at
// which it still had a maximum working set.
double SpreadOf(const SimObjectRecord& results, int points, Measure measure) {
    double high = ValueAt(results, measure, 1), low = high;
    for (int k = 2; k <= points; ++k) {
        if (MaxWorkSet(results, k) <= 0) continue;
        high = std::max(high, ValueAt(results, measure, k));
        low = std::min(low, ValueAt(results, measure, k));
    }
    return high - low;
}

void DrawImprovements(const ReportModel& model, int s, const SlotView& view, Measure measure, ChartData& chart) {
    if (view.Objects.Count() == 0) return;
    const auto keys = KeysOf(model, view.Objects,
                             [&](const ObjectRecord& o) { return SpreadOf(ResultsOf(o, s), view.Points, measure); });
    const int m = std::min(view.Objects.Count(), kRankedObjects);
    // A hit-ratio pick is marked below a floor no pass crosses; an I/O-rate
    // pick only below every spread.
    const LargestPasses passes =
        measure == Measure::HitRatio ? LargestPasses{-9999.0f, -9999.0} : LargestPasses{-1.0f, std::nullopt};
    std::vector<RankEntry> ranks = RankLargest(model, view.Objects, keys, m, passes);
    const long long top = TopOf(ranks, Rounded16);
    std::reverse(ranks.begin(), ranks.end());
    for (const RankEntry& entry : ranks) chart.Points.push_back(BarPoint(entry, entry.Value));
    chart.Axis = AxisRange{0, static_cast<double>(top) * 1.25, false};
}

ChartData ImprovementChart(const ReportModel& model, int p, int s, Measure measure) {
    ChartData chart;
    chart.Kind = ChartKind::Bar;
    chart.HasObjectSeries = true;
    const auto view = ViewOf(model, p, s);
    if (!view) return chart;
    chart.Title = measure == Measure::HitRatio ? "Objects With Largest Percentage Improvement"
                                               : "Objects With Largest I/O Rate Reduction";
    chart.ValueUnit = measure == Measure::HitRatio ? "%" : "I/Os / s";
    try {
        DrawImprovements(model, s, *view, measure, chart);
    } catch (const std::exception& failure) {
        chart.Points.clear();
        chart.Messages.push_back(
            {"Calculating Largest Improvements",
             "A fatal error has occured while Calculating Largest Improvements\n" + NumberedDescription(failure),
             MessageIcon::Critical});
    }
    return chart;
}

}  // namespace

int LargestSizePoint(const ReportModel& model, int p, int s) {
    const auto view = ViewOf(model, p, s);
    if (!view) return 0;
    std::int32_t best = 0;
    int result = 0;
    for (int k = 1; k <= view->Points; ++k) {
        if (GetPagesAt(*view->Pool, k) < 1 || best >= view->Pool->SimPoolSize[At(k)]) continue;
        best = view->Pool->SimPoolSize[At(k)];
        result = k;
    }
    return result;
}

ChartData ChartLargestWorkSets(const ReportModel& model, int p, int s) {
    return WorkSetChart(model, p, s, WorkSetEnd::Largest);
}

ChartData ChartSmallestWorkSets(const ReportModel& model, int p, int s) {
    return WorkSetChart(model, p, s, WorkSetEnd::Smallest);
}

ChartData ChartPoolSizeHitRatio(const ReportModel& model, int p, int s) {
    return PoolSizeChart(model, p, s, Measure::HitRatio);
}

ChartData ChartPoolSizeReadIORate(const ReportModel& model, int p, int s) {
    return PoolSizeChart(model, p, s, Measure::IORate);
}

ChartData ChartLargestHitRatioGain(const ReportModel& model, int p, int s) {
    return ImprovementChart(model, p, s, Measure::HitRatio);
}

ChartData ChartLargestIORateReduction(const ReportModel& model, int p, int s) {
    return ImprovementChart(model, p, s, Measure::IORate);
}

std::optional<ImprovementCharts> GreatestImprovementCharts(const ReportModel& model, int p, int s, int option) {
    switch (option) {
        case 0:
            return ImprovementCharts{ChartPoolSizeHitRatio(model, p, s), ChartLargestHitRatioGain(model, p, s)};
        case 1:
            return ImprovementCharts{ChartPoolSizeReadIORate(model, p, s), ChartLargestIORateReduction(model, p, s)};
        default:
            return std::nullopt;
    }
}

std::vector<std::string> SimDetailHeadings(const ReportModel& model, int p, int s) {
    std::vector<std::string> headings{"Pool Size"};
    const auto view = ViewOf(model, p, s);
    if (!view || view->Pool->SimulationNo <= 0) return headings;
    for (int k = 1; k <= view->Points; ++k) headings.push_back(PlainInteger(view->Pool->SimPoolSize[At(k)]));
    return headings;
}

const std::vector<std::string>& SimDetailRowTexts() {
    static const std::vector<std::string> texts{"Get Pages", "Avg Work Set", "Max Work Set", "Sytem Hit Ratio",
                                                "I/O per second"};
    return texts;
}

SimObjectDetails ShowSimObjectDetails(const ReportModel& model, int p, int s, int object, std::string_view name) {
    SimObjectDetails details{"Object - " + std::string(TrimBlanks(name)), {}};
    const auto view = ViewOf(model, p, s);
    if (!view || !model.Objects.Contains(object)) return details;
    const SimObjectRecord& results = ResultsOf(model.Objects(object), s);
    const auto& texts = SimDetailRowTexts();
    for (std::size_t row = 0; row < texts.size(); ++row) {
        std::vector<std::string> cells{texts[row]};
        for (int k = 1; k <= view->Points; ++k) {
            switch (row) {
                case 0:
                    cells.push_back(PlainInteger(GetPagesAt(results, k)));
                    break;
                case 1:
                    cells.push_back(PlainInteger(AvgWorkSet(results, k)));
                    break;
                case 2:
                    cells.push_back(PlainInteger(MaxWorkSet(results, k)));
                    break;
                case 3:
                    cells.push_back(ShortestDecimal(SysHitRatio(results, k)));
                    break;
                default:
                    cells.push_back(ShortestDecimal(ReadIORate(results, k)));
                    break;
            }
        }
        details.Rows.push_back(std::move(cells));
    }
    return details;
}

std::optional<SimObjectDetails> LargestWorkSetDetails(const ReportModel& model, int p, int s) {
    const ChartData chart = ChartLargestWorkSets(model, p, s);
    if (chart.Points.empty()) return std::nullopt;
    return ShowSimObjectDetails(model, p, s, chart.Points.back().Object, chart.Points.back().Label);
}

}  // namespace kov
