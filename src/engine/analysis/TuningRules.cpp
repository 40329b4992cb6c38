#include "analysis/TuningRules.h"

#include <cmath>

namespace kov {

namespace {

bool HasObjects(const PoolRecord& pool) {
    return pool.FirstObject != 0;
}

template <typename Visit>
void ForEachObject(const ReportModel& model, const PoolRecord& pool, Visit&& visit) {
    const ObjectRange range = PoolObjects(model, pool);
    for (int o = range.First; o <= range.Last; ++o) visit(model.Objects(o));
}

int ObjectsInPool(const PoolRecord& pool) {
    return HasObjects(pool) ? pool.LastObject - pool.FirstObject + 1 : 0;
}

bool NameContains(const ObjectRecord& object, const char* text) {
    return object.ObjectName.Padded().find(text) != std::string_view::npos;
}

}  // namespace

const std::vector<std::string>& RuleTexts() {
    static const std::vector<std::string> texts = {
        "",
        "  Rule # 1 - Guaranteed Better Performance With more than one 4K Pool",
        "  Rule # 2 - Separate Indexes and DSNDB07 from Table Spaces",
        "  Rule # 3 - Separate Indexes from Table Spaces",
        "  Rule # 4 - Separate Scanned Indexes from Random Indexes",
        "  Rule # 5 - Move Sort Work Objects into their own pool",
        "  Rule # 6 - Evaluate HP benefit for pool with DSNDB07",
        "  Rule # 7 - All 4K-DSNDB07 objects should be in the same pool",
        "  Rule # 8 - DSNDB07 should have a dedicated pool",
        "  Rule # 9 - The system probably need a few more pools for efficiency",
        "  Rule # 10 - VP Sequential Threshold should not be > 25% for Random Pools",
        "  Rule # 11 - VP Sequential Threshold should not provide < 128 buffers.",
        "  Rule # 12 - The system has too many pools. Combining into fewer pools will probably save memory, improve "
        "performance, and reduce administrative efforts",
        "  Rule # 13 - ",
        "  Rule # 14 - ",
        "  Rule # 15 - VP Sequential Threshold should not be > 25% for Random Pools",
        "  Rule # 16 - VP Sequential Threshold should not provide < 256 buffers.",
        "  Rule # 17 - ",
        "  Rule # 18 - HP should not cache Seq. Pages for a Random Pool. HPSEQT should be 0",
        "  Rule # 19 - ",
        "  Rule # 20 - VPSEQT should not be > 90% to allow some random pages to stay resident",
        "  Rule # 21 - VPSEQT for dedicated sort pool should be > 90% to 95%",
        "  Rule # 22 - Evaluate the HP benefit for dedicated a pool dedicated to DSNDB07",
        "  Rule # 23 - ",
        "  Rule # 24 - Lower the VDWQT to :",
        "  Rule # 25 - ",
        "  Rule # 26 - Lower the DWQT to :",
        "  Rule # 27 - ",
        "  Rule # 28 - ",
        "  Rule # 29 - ",
        "  Rule # 30 - Avg. Synchronous I/O times too high > 30Ms",
        "  Rule # 31 - Avg. Synchronous I/O times too high > 16Ms",
        "  Rule # 32 - Avg. Sequential Prefetch I/O times too high > 60Ms",
        "  Rule # 33 - ",
        "  Rule # 34 - Avg. List Prefetch I/O times too high > 80Ms",
        "  Rule # 35 - ",
        "  Rule # 36 - Avg. Dynamic Prefetch I/O times too high > 60Ms",
        "  Rule # 37 - HPs should normally be at least twice the VP Size",
        "  Rule # 38 - Reduce the HPSEQT to favor the random access objects",
    };
    return texts;
}

ObjectMix ClassifyPoolObjectMix(const ReportModel& model, int p) {
    int indexes = 0, tables = 0;
    ForEachObject(model, model.Pools(p), [&](const ObjectRecord& o) {
        if (o.ObjectType.Padded() == "I") ++indexes;
        if (o.ObjectType.Padded() == "T") ++tables;
    });
    if (indexes >= 1 && tables >= 1) return ObjectMix::Mixed;
    if (tables >= 1) return ObjectMix::TablesOnly;
    return ObjectMix::IndexesOnly;
}

bool AllSystemObjects(const ReportModel& model, int p) {
    int system = 0;
    ForEachObject(model, model.Pools(p), [&](const ObjectRecord& o) {
        const std::string_view type = o.ObjectType.Padded();
        if (NameContains(o, "DSNRLST") || NameContains(o, "DSNDB06") || type == "*" || type == "U") ++system;
    });
    const PoolRecord& pool = model.Pools(p);
    return system == pool.LastObject - pool.FirstObject + 1;
}

bool CheckIndexAccess(const ReportModel& model, int p) {
    bool pass = true;
    ForEachObject(model, model.Pools(p), [&](const ObjectRecord& o) {
        const auto& g = o.Activity.GetPagesByAccess;
        const double total = static_cast<double>(g[1]) + g[2] + g[3];
        if (g[2] < 0.1 * total) pass = false;
    });
    return pass;
}

SortWorkPlacement Dsndb07Placement(const ReportModel& model, int p) {
    int sortWork = 0;
    ForEachObject(model, model.Pools(p), [&](const ObjectRecord& o) {
        if (NameContains(o, "DSNDB07")) ++sortWork;
    });
    if (sortWork == 0) return SortWorkPlacement::None;
    return sortWork == ObjectsInPool(model.Pools(p)) ? SortWorkPlacement::All : SortWorkPlacement::Mixed;
}

bool SuggestedVdwqt(const PoolRecord& pool, float& percent) {
    if (pool.VPSize == 0) return false;
    const float pagesPerWrite = pool.Activity.WriteIOs != 0 ? static_cast<float>(pool.Activity.PagesWritten) /
                                                                  static_cast<float>(pool.Activity.WriteIOs)
                                                            : 0.0f;
    float p = static_cast<float>(pagesPerWrite / static_cast<float>(pool.VPSize)) * 100.0f;
    const float whole = std::floor(p);
    // A fraction of exactly one half goes down.
    p = (p - whole > 0.5f) ? whole + 1.0f : whole;
    percent = p < 0.0f ? 0.0f : p;
    return true;
}

std::vector<std::string> EvaluatePoolRules(const ReportModel& model, int p, char intent) {
    std::vector<std::string> advice;
    if (!model.Pools.Contains(p)) return advice;
    const auto fire = [&](int rule) { advice.push_back(RuleTexts()[static_cast<std::size_t>(rule)]); };
    const PoolRecord& pool = model.Pools(p);
    const ActivityBlock& a = pool.Activity;
    const bool hasObjects = HasObjects(pool);
    const SortWorkPlacement placement = Dsndb07Placement(model, p);

    // 1. The number of pools.
    if (model.PoolCount() < 6) fire(9);
    if (model.PoolCount() > 12) fire(12);

    // 2. What shares the pool.
    if (hasObjects) {
        const ObjectMix mix = ClassifyPoolObjectMix(model, p);
        if (mix == ObjectMix::Mixed && !AllSystemObjects(model, p)) fire(3);
        if (mix == ObjectMix::IndexesOnly && CheckIndexAccess(model, p)) fire(4);
    }

    // 3. Sort work objects.
    if (placement != SortWorkPlacement::None) {
        if (placement == SortWorkPlacement::Mixed) fire(5);
        if (pool.HPSize > 0) fire(6);
        if (pool.PoolName.Padded().find("BP0") == std::string_view::npos && placement == SortWorkPlacement::Mixed)
            fire(8);
    }

    // 4. Sequential thresholds for the intent.
    if (intent == 'R') {
        if (pool.VPSEQT > 25) fire(10);
        if (pool.HPSize > 0 && pool.HPSEQT != 0) fire(18);
    } else if (intent == 'S') {
        if (pool.VPSEQT < 90) {
            if (placement == SortWorkPlacement::All) fire(21);
        } else {
            if (placement == SortWorkPlacement::None) fire(20);
            if (placement == SortWorkPlacement::All && pool.HPSize > 0) fire(22);
        }
    }

    // 5. I/O times, in ms.
    if (a.AvgSyncIOTime > 30)
        fire(30);
    else if (a.AvgSyncIOTime > 16)
        fire(31);
    if (a.AvgSeqPrefIOTime > 60) fire(32);
    if (a.AvgListPrefIOTime > 80) fire(34);
    if (a.AvgDynPrefIOTime > 60) fire(36);

    // 6. Vertical deferred write threshold.
    float suggested = 0;
    if (SuggestedVdwqt(pool, suggested) && placement != SortWorkPlacement::All && pool.VDWQT > suggested)
        advice.push_back(RuleTexts()[24] + "  " + std::to_string(static_cast<long long>(suggested)) + "%");

    // 7. Hiperpool.
    if (pool.HPSize > 0) {
        if (pool.HPSize < 2.0 * pool.VPSize) fire(37);
        if (pool.HPSEQT > 49) {
            const auto& g = a.GetPagesByAccess;
            const double total = static_cast<double>(g[1]) + g[2] + g[3];
            if (total != 0 && g[2] / total * 100 > 30) fire(38);
        }
    }
    return advice;
}

std::string AnalysisCaption(const ReportModel& model, int p) {
    const std::string name = model.Pools.Contains(p) ? model.Pools(p).PoolName.PaddedString() : std::string(8, ' ');
    return "Buffer Pool Stat Analysis - " + name;
}

}  // namespace kov
