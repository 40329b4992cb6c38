#include "analysis/PrintBook.h"

#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "analysis/ObjectViews.h"
#include "analysis/PoolCharts.h"
#include "analysis/SimGraphs.h"
#include "analysis/SizeAdvice.h"
#include "cluster/ClusterAnalysis.h"
#include "common/Formats.h"

namespace kov {

namespace {

void Append(std::vector<PrintedPage>& pages, std::vector<PrintedPage> more) {
    for (PrintedPage& page : more) pages.push_back(std::move(page));
}

// The object page as the window shows it on choosing the pool: its first
// object broken down by access type.
void AppendObjectPage(std::vector<PrintedPage>& pages, const ReportModel& model, const PoolRecord& pool) {
    const ObjectRange objects = PoolObjects(model, pool);
    if (objects.Count() == 0) return;
    const std::optional<ObjectBreakdown> breakdown = ObjectBreakdownFor(model, objects.First, 1);
    if (!breakdown || !breakdown->Chart) return;
    std::vector<LabelPair> labels = breakdown->Labels;
    if (breakdown->HideLastLabel && labels.size() > 4) labels.erase(labels.begin() + 4);
    pages.push_back(ObjectPrintPage(model.SysInfo, pool.PoolName.Padded(), labels, *breakdown->Chart));
}

void AppendClusterPages(std::vector<PrintedPage>& pages, const ReportModel& model, int p,
                        const PrintBookOptions& options, MessageSink& sink) {
    constexpr int kSlot = 1, kSizePoint = 1;
    const PoolRecord& pool = model.Pools(p);
    if (pool.Sims.empty()) return;
    const ClusterRun run =
        RunClusterAnalysis(model, options.AccDir, {p, kSlot, kSizePoint, options.Intent, options.Radius}, sink);
    if (run.Result < 1) return;
    const std::int32_t simulated = pool.Sim(kSlot).SimPoolSize[static_cast<std::size_t>(kSizePoint)];
    ClusterPrintHeading heading =
        ClusterHeadingOf(pool, {}, options.Intent, simulated >= 1 ? PlainInteger(simulated) : "");
    const StringTable clusters = FillClusterGrid(run);
    const auto members = MembersByCluster(model, run);
    for (std::size_t m = 0; m < members.size() && m < clusters.Rows.size(); ++m) {
        heading.Row = clusters.Rows[m];
        Append(pages, ClusterPrintPages(model.SysInfo, heading, {ClusterObjectGridHeadings(), members[m]}));
    }
}

}  // namespace

const std::vector<int>& PrintedPoolGraphs() {
    // "Access Type", "Top Get Pages", "Top Random I/O", "Lowest Sys. Hit Ratio", "Top I/O Impactors".
    static const std::vector<int> positions = {1, 7, 9, 16, 24};
    return positions;
}

std::vector<ChartData> SimGraphSubTabCharts(const ReportModel& model, int p, int s) {
    return {ChartLargestWorkSets(model, p, s), ChartSmallestWorkSets(model, p, s), ChartPoolSizeHitRatio(model, p, s),
            ChartLargestHitRatioGain(model, p, s)};
}

std::vector<PrintedPage> WholeAnalysisPages(const ReportModel& model, const PrintBookOptions& options,
                                            MessageSink& sink) {
    const StringTable poolGrid = PoolGrid(model);
    std::vector<PrintedPage> pages = ReportSummaryPages(HeaderLabels(model.SysInfo), Totals(model, sink), poolGrid);
    for (int page = 0; page < kPrintableGraphicSummaryPages; ++page)
        pages.push_back(GraphicSummaryPrintPage(model.SysInfo, GraphicSummaryChart(poolGrid, page)));
    if (model.SimulationCount > 0)
        pages.push_back(SizeAdvicePrintPage(model.SysInfo, AdviseSizes(model, std::nullopt)));
    for (int p = 1; p <= model.PoolCount(); ++p) {
        const PoolRecord& pool = model.Pools(p);
        for (const int position : PrintedPoolGraphs())
            pages.push_back(PoolPrintPage(model.SysInfo, pool.PoolName.Padded(), PoolChart(model, p, position)));
        AppendObjectPage(pages, model, pool);
        if (pool.SimCount < 1) continue;
        for (int s = 1; s <= pool.SimCount; ++s)
            for (const ChartData& chart : SimGraphSubTabCharts(model, p, s))
                pages.push_back(SimGraphPrintPage(model.SysInfo, pool.PoolName.Padded(), chart));
        AppendClusterPages(pages, model, p, options, sink);
    }
    return pages;
}

}  // namespace kov
