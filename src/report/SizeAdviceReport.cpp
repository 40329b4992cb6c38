#include "report/SizeAdviceReport.h"

#include <cmath>
#include <ostream>
#include <sstream>

#include "common/Formats.h"
#include "readers/ReportLoading.h"
#include "report/JsonNumber.h"
#include "report/TextTable.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

json PointsJson(const PoolSizeCurve& curve) {
    json points = json::array();
    for (const SizePoint& point : curve.Points)
        points.push_back({{"size", point.Size},
                          {"mb", JsonNumber(point.MB)},
                          {"readIORate", JsonNumber(point.ReadIORate)},
                          {"hitRatio", JsonNumber(point.HitRatio)},
                          {"savedPerMB", point.SavedPerMB ? JsonNumber(*point.SavedPerMB) : json(nullptr)}});
    return points;
}

json PoolJson(const PoolSizeAdvice& pool) {
    return {{"name", pool.Curve.Name},
            {"pageKB", pool.Curve.PageKB},
            {"slot", pool.Curve.Slot},
            {"simulationNo", pool.Curve.SimulationNo},
            {"currentSize", pool.Current().Size},
            {"recommendedSize", pool.Recommended().Size},
            {"currentMB", JsonNumber(pool.Current().MB)},
            {"recommendedMB", JsonNumber(pool.Recommended().MB)},
            {"currentReadIORate", JsonNumber(pool.Current().ReadIORate)},
            {"recommendedReadIORate", JsonNumber(pool.Recommended().ReadIORate)},
            {"because", pool.Because},
            {"points", PointsJson(pool.Curve)}};
}

}  // namespace

json BuildSizeAdviceDocument(const SizeAdvice& advice) {
    json pools = json::array();
    for (const PoolSizeAdvice& pool : advice.Pools) pools.push_back(PoolJson(pool));
    json skipped = json::array();
    for (const SkippedPool& pool : advice.Skipped) skipped.push_back({{"name", pool.Name}, {"reason", pool.Reason}});
    return {{"budgetMB", JsonNumber(advice.BudgetMB)},
            {"currentMB", JsonNumber(advice.CurrentMB)},
            {"recommendedMB", JsonNumber(advice.RecommendedMB)},
            {"budgetFits", advice.BudgetFits},
            {"readIORate",
             {{"current", JsonNumber(advice.CurrentReadIORate)},
              {"recommended", JsonNumber(advice.RecommendedReadIORate)}}},
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
