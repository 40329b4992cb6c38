#include "analysis/ScanCost.h"

#include "common/Formats.h"
#include "model/Figures.h"

namespace kov {

namespace {

constexpr int kTopSlots = 20;

std::int32_t SequentialGetPages(const ObjectRecord& object) {
    return object.Activity.GetPagesByAccess[1];
}

void AddPoolObjects(const ReportModel& model, int p, std::vector<ScanEntry>& candidates) {
    const ObjectRange range = PoolObjects(model, model.Pools(p));
    for (int o = range.First; o <= range.Last; ++o) candidates.emplace_back(o, p);
}

std::string PoolNameOf(const ReportModel& model, int p) {
    return model.Pools.Contains(p) ? model.Pools(p).PoolName.PaddedString() : "";
}

// The "None" row names a pool: the current one for the report-wide list,
// the listed pool for its own list.
StringTable ScanList(const ReportModel& model, const std::vector<ScanEntry>& top, const std::string& nonePool) {
    StringTable list{ScanCostHeadings(), {}};
    for (const auto& [o, p] : top) {
        const ObjectRecord& object = model.Objects(o);
        list.Rows.push_back({object.ObjectName.PaddedString(), model.Pools(p).PoolName.PaddedString(),
                             PlainInteger(SequentialGetPages(object)),
                             UpToThreeDecimals(ScanCpuSeconds(SequentialGetPages(object)))});
    }
    if (list.Rows.empty()) list.Rows.push_back({"None", nonePool, "", ""});
    return list;
}

}  // namespace

std::vector<LabelPair> InitialScanCostLabels() {
    return {{"Overall Collection Time = ", ""}, {"System CPU Seconds Cost = ", ""}, {"Pool CPU Seconds Cost = ", ""}};
}

std::string CollectionTimeText(const ReportModel& model) {
    return GroupedThousandths(CollectionSeconds(model));
}

double ScanCpuSeconds(double sequentialGetPages) {
    return sequentialGetPages * 9.0 / 2000000.0;
}

const std::vector<std::string>& ScanCostHeadings() {
    static const std::vector<std::string> headings = {"Object Name", "Pool", "Sequential GetPages", "CPU-Seconds Cost"};
    return headings;
}

std::vector<ScanEntry> TopScanObjects(const ReportModel& model, const std::vector<ScanEntry>& candidates, int slots) {
    // Slot by slot, the largest not yet chosen: the earlier of equal values
    // wins because only a strictly greater value replaces the best so far.
    std::vector<ScanEntry> top;
    std::vector<bool> chosen(candidates.size(), false);
    for (int k = 0; k < slots; ++k) {
        std::int32_t best = 0;
        std::size_t bestIndex = candidates.size();
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            const std::int32_t value = SequentialGetPages(model.Objects(candidates[i].first));
            if (value > best && !chosen[i]) {
                best = value;
                bestIndex = i;
            }
        }
        if (bestIndex == candidates.size()) break;  // later slots would find nothing either
        chosen[bestIndex] = true;
        top.push_back(candidates[bestIndex]);
    }
    return top;
}

std::optional<SystemScanCost> PopulateScanCostsForSystem(const ReportModel& model, int currentPool) {
    if (model.PoolCount() < 1) return std::nullopt;
    std::vector<ScanEntry> candidates;
    for (int p = 1; p <= model.PoolCount(); ++p) AddPoolObjects(model, p, candidates);
    double sequential = 0;
    for (const ObjectRecord& object : model.Objects) sequential += SequentialGetPages(object);
    return SystemScanCost{
        GroupedThousandths(ScanCpuSeconds(sequential)),
        ScanList(model, TopScanObjects(model, candidates, kTopSlots), PoolNameOf(model, currentPool))};
}

std::optional<PoolScanCost> PopulateScanCostsForPool(const ReportModel& model, int p) {
    if (p < 1 || !model.Pools.Contains(p)) return std::nullopt;
    std::vector<ScanEntry> candidates;
    AddPoolObjects(model, p, candidates);
    double sequential = 0;
    for (const auto& [o, pool] : candidates) sequential += SequentialGetPages(model.Objects(o));
    const int slots = std::min(static_cast<int>(candidates.size()), kTopSlots);
    return PoolScanCost{
        CollectionTimeText(model),
        model.Pools(p).PoolName.PaddedString() + " CPU Seconds Cost = ", GroupedThousandths(ScanCpuSeconds(sequential)),
        ScanList(model, TopScanObjects(model, candidates, slots), model.Pools(p).PoolName.PaddedString())};
}

}  // namespace kov
