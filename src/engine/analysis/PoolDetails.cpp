#include "analysis/PoolDetails.h"

#include <algorithm>

#include "common/Formats.h"
#include "common/TextMatch.h"

namespace kov {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    a = TrimBlanks(a);
    b = TrimBlanks(b);
    return a.size() == b.size() && FindIgnoringCase(a, b) == 0;
}

// Every value label: two blanks, then the value.
std::string ValueLabel(std::string_view text) {
    return "  " + std::string(text);
}
std::string ValueLabel(double number) {
    return ValueLabel(SignPositioned(number));
}

}  // namespace

PoolLabels PoolLabelsFor(const ReportModel& model, int p) {
    if (!model.Pools.Contains(p)) return {{}, {}, kProgramTitle};
    const PoolRecord& pool = model.Pools(p);
    const bool dataSpace = pool.DataSpace.Trimmed() == "Y";
    // A pool without object lines has no range; it holds no objects.
    const int objects = pool.FirstObject == 0 ? 0 : pool.LastObject - pool.FirstObject + 1;
    PoolLabels labels;
    labels.Info = {{"Name", ValueLabel(pool.PoolName.Trimmed())},
                   {"Objects", ValueLabel(objects)},
                   {dataSpace ? "VP DS Size" : "VP Size", ValueLabel(pool.VPSize)},
                   {dataSpace ? "HP DS Size" : "HP Size", ValueLabel(pool.HPSize)},
                   {"Cast Out", ValueLabel(pool.CastOut.Padded())},
                   {"Pool Mgt", ValueLabel(pool.PoolMgt.Padded())}};
    labels.Threshold = {{"VPSEQT", ValueLabel(pool.VPSEQT)},
                        {"HPSEQT", ValueLabel(pool.HPSEQT)},
                        {"DWQT", ValueLabel(pool.DWQT)},
                        {"VDWQT", ValueLabel(pool.VDWQT)}};
    labels.WindowTitle = std::string(kProgramTitle) + " - " + std::string(pool.PoolName.Trimmed());
    return labels;
}

SimulationMatch FindSimulationForPool(const ReportModel& model, int p) {
    if (!model.Pools.Contains(p)) return {};
    const std::string_view poolName = model.Pools(p).PoolName.Padded();
    const int last = std::min(model.SimulationCount, model.Simulations.Count());
    for (int k = 1; k <= last; ++k) {
        const SimulationRecord& sim = model.Simulations(k);
        if (sim.PoolName.IsBlank()) break;
        if (SameName(sim.PoolName.Padded(), poolName)) return {true, k};
    }
    return {};
}

int PoolNamed(const ReportModel& model, std::string_view gridName) {
    for (int p = 1; p <= model.PoolCount(); ++p)
        if (SameName(model.Pools(p).PoolName.Padded(), gridName)) return p;
    return 0;
}

int NextPool(const ReportModel& model, int p) {
    return p < model.PoolCount() ? p + 1 : model.PoolCount();
}

int PreviousPool(const ReportModel&, int p) {
    return p > 1 ? p - 1 : 1;
}

int FirstObjectOf(const ReportModel& model, int p) {
    return model.Pools.Contains(p) ? model.Pools(p).FirstObject : 0;
}

std::vector<std::string> PoolSizeList(const ReportModel& model, int p, const SimulationMatch& match) {
    std::vector<std::string> sizes;
    if (!match.Found || !model.Pools.Contains(p)) return sizes;
    const PoolRecord& pool = model.Pools(p);
    if (pool.Sims.empty()) return sizes;
    const int count = std::min<int>(model.Simulations(match.Position).SizeCount, MaxSizes);
    for (int k = 1; k <= count; ++k)
        sizes.push_back(PlainInteger(pool.Sim(1).SimPoolSize[static_cast<std::size_t>(k)]));
    return sizes;
}

}  // namespace kov
