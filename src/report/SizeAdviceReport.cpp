#include "report/SizeAdviceReport.h"

#include <cmath>
#include <ostream>
#include <sstream>

#include "common/Formats.h"
#include "readers/ReportLoading.h"
#include "report/TextTable.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

// Unrounded; whole values as integers. JSON holds no inf or NaN.
json Number(double value) {
    if (!std::isfinite(value)) return nullptr;
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15) return static_cast<long long>(value);
    return value;
}

json PointsJson(const PoolSizeCurve& curve) {
    json points = json::array();
    for (const SizePoint& point : curve.Points)
        points.push_back({{"size", point.Size},
                          {"mb", Number(point.MB)},
                          {"readIORate", Number(point.ReadIORate)},
                          {"hitRatio", Number(point.HitRatio)},
                          {"savedPerMB", point.SavedPerMB ? Number(*point.SavedPerMB) : json(nullptr)}});
    return points;
}

json PoolJson(const PoolSizeAdvice& pool) {
    return {{"name", pool.Curve.Name},
            {"pageKB", pool.Curve.PageKB},
            {"slot", pool.Curve.Slot},
            {"simulationNo", pool.Curve.SimulationNo},
            {"currentSize", pool.Current().Size},
            {"recommendedSize", pool.Recommended().Size},
            {"currentMB", Number(pool.Current().MB)},
            {"recommendedMB", Number(pool.Recommended().MB)},
            {"currentReadIORate", Number(pool.Current().ReadIORate)},
            {"recommendedReadIORate", Number(pool.Recommended().ReadIORate)},
            {"because", pool.Because},
            {"points", PointsJson(pool.Curve)}};
}

}  // namespace

json BuildSizeAdviceDocument(const SizeAdvice& advice) {
    json pools = json::array();
    for (const PoolSizeAdvice& pool : advice.Pools) pools.push_back(PoolJson(pool));
    json skipped = json::array();
    for (const SkippedPool& pool : advice.Skipped) skipped.push_back({{"name", pool.Name}, {"reason", pool.Reason}});
    return {{"budgetMB", Number(advice.BudgetMB)},
            {"currentMB", Number(advice.CurrentMB)},
            {"recommendedMB", Number(advice.RecommendedMB)},
            {"budgetFits", advice.BudgetFits},
            {"readIORate",
             {{"current", Number(advice.CurrentReadIORate)}, {"recommended", Number(advice.RecommendedReadIORate)}}},
            {"pools", pools},
            {"skipped", skipped}};
}

std::string RenderSizeAdviceText(const SizeAdvice& advice) {
    std::ostringstream out;
    out << "Size advice for the simulated pools\n";
    for (const std::string& line : SizeAdviceSummary(advice)) out << line << "\n";
    if (!advice.Pools.empty()) out << "\n" << TextTable(SizeAdviceGrid(advice), 1, "  ");
    for (const PoolSizeAdvice& pool : advice.Pools)
        out << "\nPool " << pool.Curve.Name << " (simulation " << pool.Curve.SimulationNo << ")\n"
            << "  " << pool.Because << "\n"
            << TextTable(SizePointsGrid(pool.Curve), 0, "  ");
    if (!advice.Skipped.empty()) out << "\nSkipped\n";
    for (const SkippedPool& pool : advice.Skipped) out << "  " << pool.Name << ": " << pool.Reason << "\n";
    return out.str();
}

int RunSizeAdviceReport(const SizeAdviceOptions& options, std::ostream& out, std::ostream& err) {
    const auto set = ReadReportSet(options.StatFile, options.SimFiles);
    const SizeAdvice advice = AdviseSizes(set->Model, options.BudgetMB);
    if (options.Json)
        out << BuildSizeAdviceDocument(advice).dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    else
        out << RenderSizeAdviceText(advice);
    if (!set->StatsRead) {
        err << "kovgraph-report: the statistics report '" << options.StatFile << "' was not read to its end";
        for (const Message& m : set->Sink.Messages) err << "\n  " << m.Title << ": " << m.Text;
        err << "\n";
    }
    return set->StatsRead ? 0 : 1;
}

}  // namespace kov
