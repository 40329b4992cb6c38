#include "report/BatchReport.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>

#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "analysis/ObjectViews.h"
#include "analysis/PoolCharts.h"
#include "analysis/PoolDetails.h"
#include "analysis/ScanCost.h"
#include "analysis/SimGraphs.h"
#include "analysis/TuningRules.h"
#include "cluster/ClusterAnalysis.h"
#include "readers/ReportLoading.h"
#include "report/ExplainJson.h"
#include "report/ReportText.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

json MessagesJson(const std::vector<Message>& messages) {
    json list = json::array();
    for (const Message& m : messages)
        list.push_back({{"title", m.Title}, {"text", m.Text}, {"icon", IconName(m.Icon)}});
    return list;
}

json SimulationsJson(const ReportModel& model) {
    json list = json::array();
    for (int k = 1; k <= model.SimulationCount; ++k) {
        json entry = {{"number", k}, {"fileName", ""}, {"poolName", ""}, {"sizeCount", 0}};
        if (model.Simulations.Contains(k)) {
            const SimulationRecord& sim = model.Simulations(k);
            entry["fileName"] = sim.FileName;
            entry["poolName"] = sim.PoolName.Trimmed();
            entry["sizeCount"] = sim.SizeCount;
        }
        list.push_back(entry);
    }
    return list;
}

// A threshold as the file gives it: 50, not 50.0.
json NumberJson(double value) {
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15) return static_cast<long long>(value);
    return value;
}

json ChartJson(const ChartData& chart);

json ClusterJson(const ReportModel& model, const ClusterQuery& query, const std::string& accDir, MessageSink& sink) {
    const ClusterRun run = RunClusterAnalysis(model, accDir, query, sink);
    json members = json::object();
    const auto byCluster = MembersByCluster(model, run);
    for (std::size_t m = 0; m < byCluster.size(); ++m) members[std::to_string(m + 1)] = byCluster[m];
    return {{"threshold", NumberJson(run.Threshold)},
            {"result", run.Result},
            {"rows", FillClusterGrid(run).Rows},
            {"members", members}};
}

json SlotClustersJson(const ReportModel& model, int p, int s, const ClusterOptions& options, MessageSink& sink) {
    constexpr int kSizePoint = 1;
    json clusters = {
        {"defaultIntent", IntentKey(options.Intent)}, {"radius", options.Radius}, {"sizePoint", kSizePoint}};
    for (const UsageIntent intent : BothIntents)
        clusters[IntentKey(intent)] =
            ClusterJson(model, {p, s, kSizePoint, intent, options.Radius}, options.AccDir, sink);
    return clusters;
}

// The simulation graph page as entered with the slot's number: the
// working-set charts drawn on entering, then both options' pairs.
json SimGraphsJson(const ReportModel& model, int p, int s) {
    const auto hitRatio = GreatestImprovementCharts(model, p, s, 0);
    const auto ioRate = GreatestImprovementCharts(model, p, s, 1);
    return {{"Largest Max WorkSet", ChartJson(ChartLargestWorkSets(model, p, s))},
            {"Smallest Max WorkSet", ChartJson(ChartSmallestWorkSets(model, p, s))},
            {"Pool Size Versus System Hit Ratio", ChartJson(hitRatio->PoolSize)},
            {"Pool Size Versus Read IO Rate", ChartJson(ioRate->PoolSize)},
            {"Objects With Largest Percentage Improvement", ChartJson(hitRatio->Improvement)},
            {"Objects With Largest I/O Rate Reduction", ChartJson(ioRate->Improvement)}};
}

// The details panel as a click on the largest working set opens it.
json ObjectDetailsJson(const ReportModel& model, int p, int s) {
    const auto details = LargestWorkSetDetails(model, p, s);
    if (!details) return nullptr;
    return {{"caption", details->Caption}, {"headings", SimDetailHeadings(model, p, s)}, {"rows", details->Rows}};
}

json PoolSimulationsJson(const ReportModel& model, int p, const ClusterOptions& options, MessageSink& sink) {
    const PoolRecord& pool = model.Pools(p);
    json list = json::array();
    for (int s = 1; s <= pool.SimCount && s <= static_cast<int>(pool.Sims.size()); ++s) {
        const PoolSimRecord& slot = pool.Sim(s);
        json sizes = json::array();
        std::string fileName;
        if (model.Simulations.Contains(slot.SimulationNo)) {
            const SimulationRecord& sim = model.Simulations(slot.SimulationNo);
            fileName = sim.FileName;
            for (int k = 1; k <= sim.SizeCount; ++k) sizes.push_back(slot.SimPoolSize[static_cast<std::size_t>(k)]);
        }
        list.push_back({{"slot", s},
                        {"simulationNo", slot.SimulationNo},
                        {"fileName", fileName},
                        {"sizes", sizes},
                        {"charts", SimGraphsJson(model, p, s)},
                        {"objectDetails", ObjectDetailsJson(model, p, s)},
                        {"clusters", SlotClustersJson(model, p, s, options, sink)}});
    }
    return list;
}

json LabelsJson(const std::vector<LabelPair>& labels) {
    json object = json::object();
    for (const LabelPair& label : labels) object[label.Caption] = label.Value;
    return object;
}

json TableJson(const StringTable& table) {
    return {{"headings", table.Headings}, {"rows", table.Rows}};
}

json PoolInfoJson(const ReportModel& model, int p) {
    const PoolLabels labels = PoolLabelsFor(model, p);
    json info = LabelsJson(labels.Info);
    for (const LabelPair& label : labels.Threshold) info[label.Caption] = label.Value;
    return info;
}

const char* ChartKindName(ChartKind kind) {
    switch (kind) {
        case ChartKind::Pie:
            return "pie";
        case ChartKind::Line:
            return "line";
        case ChartKind::Bar:
            break;
    }
    return "bar";
}

// Top lists plot single-precision values; print the float's own shortest
// text (1324.224) rather than every digit of its double widening.
double PlottedValue(double value) {
    const auto single = static_cast<float>(value);
    if (static_cast<double>(single) != value) return value;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, single).ptr;
    double shortest = value;
    std::from_chars(text, end, shortest);
    return shortest;
}

// Only the bounds the analysis fixes.
json AxisJson(const AxisRange& axis) {
    json bounds = json::object();
    if (axis.MinFixed) bounds["min"] = NumberJson(PlottedValue(axis.Min));
    bounds["max"] = NumberJson(PlottedValue(axis.Max));
    return bounds;
}

json ChartJson(const ChartData& chart) {
    json document = {{"kind", ChartKindName(chart.Kind)}, {"title", chart.Title}, {"subtitle", chart.Subtitle}};
    json labels = json::object();
    for (std::size_t i = 0; i < chart.SideLabels.size(); ++i)
        if (!chart.IsSideLabelHidden(i)) labels[chart.SideLabels[i].Caption] = chart.SideLabels[i].Value;
    if (!labels.empty()) document["labels"] = labels;
    json points = json::array();
    for (const ChartPoint& point : chart.Points) {
        json entry = {{"label", point.Label}, {"value", PlottedValue(point.Value)}};
        if (chart.HasObjectSeries) entry["object"] = point.Object;
        if (point.X) entry["x"] = NumberJson(*point.X);
        points.push_back(entry);
    }
    document["points"] = points;
    if (chart.Axis) document["axis"] = AxisJson(*chart.Axis);
    if (chart.XAxis) document["xAxis"] = AxisJson(*chart.XAxis);
    document["messages"] = MessagesJson(chart.Messages);
    if (chart.Hidden) document["hidden"] = true;
    return document;
}

json PoolChartsJson(const ReportModel& model, int p) {
    json charts = json::object();
    const auto& types = PoolGraphTypes();
    for (std::size_t i = 0; i < types.size(); ++i)
        charts[types[i]] = ChartJson(PoolChart(model, p, static_cast<int>(i) + 1));
    return charts;
}

// The charts of the unsorted pool grid, as the page shows them before any sort.
json GraphicSummaryJson(const ReportModel& model) {
    json charts = json::array();
    for (const ChartData& chart : DrawGraphicSummary(PoolGrid(model))) charts.push_back(ChartJson(chart));
    return charts;
}

json TuningJson(const ReportModel& model, int p) {
    json byIntent = json::object();
    for (const UsageIntent intent : BothIntents) byIntent[IntentKey(intent)] = EvaluatePoolRules(model, p, intent);
    return byIntent;
}

json SystemScanCostJson(const ReportModel& model) {
    json scan = {{"collectionTime", ""}, {"systemCost", ""}, {"rows", json::array()}};
    // The window shows the collection time with the first pool's cost, so a
    // report without pools shows none.
    if (const auto pool = PopulateScanCostsForPool(model, 1)) scan["collectionTime"] = pool->CollectionTime;
    // The window's first pool is current after loading, and the "None" row
    // of an empty list names it.
    if (const auto cost = PopulateScanCostsForSystem(model, 1)) {
        scan["systemCost"] = cost->SystemCost;
        scan["rows"] = cost->List.Rows;
    }
    return scan;
}

json PoolScanCostJson(const ReportModel& model, int p) {
    const auto cost = PopulateScanCostsForPool(model, p);
    if (!cost) return json::object();
    return {{"caption", cost->Caption}, {"cost", cost->PoolCost}, {"rows", cost->List.Rows}};
}

json PoolsJson(const ReportModel& model, const ClusterOptions& options, MessageSink& sink) {
    json list = json::array();
    for (int p = 1; p <= model.PoolCount(); ++p) {
        const PoolRecord& pool = model.Pools(p);
        list.push_back({{"index", p},
                        {"name", pool.PoolName.Trimmed()},
                        {"info", PoolInfoJson(model, p)},
                        {"tuning", TuningJson(model, p)},
                        {"tuningExplained", TuningExplainedJson(model, p)},
                        {"scanCost", PoolScanCostJson(model, p)},
                        {"objectGrid", TableJson(ObjectGrid(model, p))},
                        {"charts", PoolChartsJson(model, p)},
                        {"simulations", PoolSimulationsJson(model, p, options, sink)}});
    }
    return list;
}

}  // namespace

json BuildReportDocument(const ReportModel& model, const std::vector<Message>& messages, const std::string& statFile,
                         const ClusterOptions& cluster) {
    // Messages raised while computing the pages come after the reading's own.
    CollectingSink pageSink;
    pageSink.Messages = messages;
    json document = {{"statsFile", statFile},
                     {"messages", json::array()},
                     {"statsLoaded", model.StatsLoaded},
                     {"simulationsLoaded", model.SimulationsLoaded},
                     {"header", LabelsJson(HeaderLabels(model.SysInfo))},
                     {"totals", LabelsJson(Totals(model, pageSink))},
                     {"poolGrid", TableJson(PoolGrid(model))},
                     {"simulations", SimulationsJson(model)},
                     {"scanCost", SystemScanCostJson(model)},
                     {"graphicSummary", GraphicSummaryJson(model)},
                     {"dataChecks", DataChecksJson(model)},
                     {"pools", json::array()}};
    document["pools"] = PoolsJson(model, cluster, pageSink);
    document["messages"] = MessagesJson(pageSink.Messages);
    return document;
}

namespace {

struct ReadReport {
    json Document;
    bool StatsRead = false;
};

// The model (over 100 MB of simulation results at full capacity) lives only
// while the document is built, so it is gone before the document is printed.
ReadReport ReadAndDescribe(const BatchOptions& options) {
    const auto set = ReadReportSet(options.StatFile, options.SimFiles);
    return {BuildReportDocument(set->Model, set->Sink.Messages, options.StatFile,
                                {options.Intent, options.Radius, options.AccDir}),
            set->StatsRead};
}

// Report names are bytes from the host; one that is not UTF-8 has its
// invalid bytes replaced (U+FFFD), never a failure.
void PrintJson(const json& document, std::ostream& out) {
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

}  // namespace

int RunBatchReport(const BatchOptions& options, std::ostream& out) {
    const ReadReport report = ReadAndDescribe(options);
    if (options.Json)
        PrintJson(report.Document, out);
    else
        out << RenderText(report.Document);
    return report.StatsRead ? 0 : 1;
}

}  // namespace kov
