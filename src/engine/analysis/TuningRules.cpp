#include "analysis/TuningRules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "common/Formats.h"

namespace kov {

namespace {

enum class ObjectMix { Mixed, TablesOnly, IndexesOnly };
enum class SortWorkPlacement { None, All, Mixed };  // where the pool's DSNDB07 objects stand

bool NameContains(const ObjectRecord& object, const char* text) {
    return object.ObjectName.Padded().find(text) != std::string_view::npos;
}

// What the object rules count, found in one walk over the pool's objects,
// so each rule and its explanation read the same figures.
struct PoolCensus {
    int Objects = 0;  // the pool's object range; 0 for a pool without objects
    int Indexes = 0;
    int TableSpaces = 0;
    int SystemObjects = 0;
    std::vector<const ObjectRecord*> SortWork;  // names holding DSNDB07
    std::vector<const ObjectRecord*> Others;
    // No object reads fewer than a tenth of its sequential + random +
    // RID-list get pages at random (an object without get pages never fails).
    bool IndexAccessPasses = true;
    const ObjectRecord* LeastRandom = nullptr;  // the smallest random share among objects with get pages
    double LeastRandomShare = 0;
    double LeastRandomTotal = 0;
};

bool IsSystemObject(const ObjectRecord& o) {
    const std::string_view type = o.ObjectType.Padded();
    return NameContains(o, "DSNRLST") || NameContains(o, "DSNDB06") || type == "*" || type == "U";
}

PoolCensus TakeCensus(const ReportModel& model, const PoolRecord& pool) {
    PoolCensus census;
    if (pool.FirstObject == 0) return census;
    census.Objects = pool.LastObject - pool.FirstObject + 1;
    const ObjectRange range = PoolObjects(model, pool);
    for (int index = range.First; index <= range.Last; ++index) {
        const ObjectRecord& o = model.Objects(index);
        if (o.ObjectType.Padded() == "I") ++census.Indexes;
        if (o.ObjectType.Padded() == "T") ++census.TableSpaces;
        if (IsSystemObject(o)) ++census.SystemObjects;
        (NameContains(o, "DSNDB07") ? census.SortWork : census.Others).push_back(&o);
        const auto& g = o.Activity.GetPagesByAccess;
        const double total = static_cast<double>(g[1]) + g[2] + g[3];
        if (g[2] < 0.1 * total) census.IndexAccessPasses = false;
        if (total != 0 && (census.LeastRandom == nullptr || g[2] / total < census.LeastRandomShare)) {
            census.LeastRandom = &o;
            census.LeastRandomShare = g[2] / total;
            census.LeastRandomTotal = total;
        }
    }
    return census;
}

// Indexes and table spaces together; a pool with neither counts as indexes only.
ObjectMix MixOf(const PoolCensus& c) {
    if (c.Indexes >= 1 && c.TableSpaces >= 1) return ObjectMix::Mixed;
    if (c.TableSpaces >= 1) return ObjectMix::TablesOnly;
    return ObjectMix::IndexesOnly;
}

SortWorkPlacement PlacementOf(const PoolCensus& c) {
    const auto sortWork = static_cast<int>(c.SortWork.size());
    if (sortWork == 0) return SortWorkPlacement::None;
    return sortWork == c.Objects ? SortWorkPlacement::All : SortWorkPlacement::Mixed;
}

// "no indexes", "1 index", "12 indexes".
std::string Count(long long n, const char* one, const char* many) {
    if (n == 0) return std::string("no ") + many;
    return Grouped(static_cast<double>(n), 0) + " " + (n == 1 ? one : many);
}

std::string Size(std::int32_t buffers) {
    return Grouped(buffers, 0);
}

std::string Pct(std::int32_t percent) {
    return PlainInteger(percent) + " %";
}

std::string Ms(std::int32_t ms) {
    return PlainInteger(ms) + " ms";
}

// The first ten names in name order, then how many more.
std::string ObjectNames(const std::vector<const ObjectRecord*>& objects) {
    constexpr std::size_t kShown = 10;
    std::vector<std::string_view> names;
    names.reserve(objects.size());
    for (const ObjectRecord* o : objects) names.push_back(o->ObjectName.Trimmed());
    const std::size_t shown = std::min(kShown, names.size());
    std::partial_sort(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(shown), names.end());
    names.resize(shown);
    return ListedWithMore(names, objects.size());
}

std::string SortWorkSharing(const PoolCensus& c) {
    return Count(static_cast<long long>(c.SortWork.size()), "DSNDB07 object", "DSNDB07 objects") + " (" +
           ObjectNames(c.SortWork) + ") and " +
           Count(static_cast<long long>(c.Others.size()), "other object", "other objects") + " (" +
           ObjectNames(c.Others) + ") share this pool";
}

std::string OnlySortWork(const PoolCensus& c) {
    return "this pool holds only DSNDB07 objects (" + Count(c.Objects, "object", "objects") + ")";
}

// Two decimals, except near a half: there only the value as computed shows
// which way the rule rounds it.
std::string PercentBeforeRounding(float percent) {
    const float fraction = percent - std::floor(percent);
    return std::fabs(fraction - 0.5f) < 0.005f ? ShortestSingle(percent) : Grouped(percent, 2);
}

std::string VdwqtWorking(const PoolRecord& pool, const VdwqtSuggestion& s) {
    std::string text = "pages per write ";
    text += pool.Activity.WriteIOs != 0 ? Grouped(s.PagesPerWrite, 2) : "0 (no write I/Os)";
    text += " / VP size " + Size(pool.VPSize) + " × 100 = " + PercentBeforeRounding(s.Percent) + " %, rounds to " +
            ShortestSingle(s.Rounded) + " %";
    if (s.Suggested != s.Rounded) text += ", taken as 0 %";
    return text + "; VDWQT is " + ShortestText(pool.VDWQT) + " %, above that";
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

std::optional<VdwqtSuggestion> SuggestVdwqt(const PoolRecord& pool) {
    if (pool.VPSize == 0) return std::nullopt;
    VdwqtSuggestion s;
    s.PagesPerWrite = pool.Activity.WriteIOs != 0
                          ? static_cast<float>(pool.Activity.PagesWritten) / static_cast<float>(pool.Activity.WriteIOs)
                          : 0.0f;
    s.Percent = static_cast<float>(s.PagesPerWrite / static_cast<float>(pool.VPSize)) * 100.0f;
    const float whole = std::floor(s.Percent);
    // A fraction of exactly one half goes down.
    s.Rounded = (s.Percent - whole > 0.5f) ? whole + 1.0f : whole;
    s.Suggested = s.Rounded < 0.0f ? 0.0f : s.Rounded;
    return s;
}

std::vector<AdviceLine> ExplainPoolRules(const ReportModel& model, int p, char intent) {
    std::vector<AdviceLine> advice;
    if (!model.Pools.Contains(p)) return advice;
    const auto fire = [&](int rule, std::string because) {
        advice.push_back({rule, RuleTexts()[static_cast<std::size_t>(rule)], std::move(because)});
    };
    const PoolRecord& pool = model.Pools(p);
    const ActivityBlock& a = pool.Activity;
    const PoolCensus census = TakeCensus(model, pool);
    const SortWorkPlacement placement = PlacementOf(census);
    const std::string pools = "the report holds " + Count(model.PoolCount(), "pool", "pools");

    // 1. The number of pools.
    if (model.PoolCount() < 6) fire(9, pools + ", fewer than 6");
    if (model.PoolCount() > 12) fire(12, pools + ", more than 12");

    // 2. What shares the pool.
    if (census.Objects != 0) {
        const ObjectMix mix = MixOf(census);
        const std::string sharing = Count(census.Indexes, "index", "indexes") + " and " +
                                    Count(census.TableSpaces, "table space", "table spaces") + " share this pool";
        if (mix == ObjectMix::Mixed && census.SystemObjects != census.Objects)
            fire(3, sharing + ", and " +
                        (census.SystemObjects == 0
                             ? "none of its " + Count(census.Objects, "object", "objects") + " is a system object"
                             : "only " + Grouped(census.SystemObjects, 0) + " of its " +
                                   Count(census.Objects, "object", "objects") + " are system objects"));
        if (mix == ObjectMix::IndexesOnly && census.IndexAccessPasses) {
            std::string because = sharing + ", and no object reads fewer than 10 % of its get pages at random";
            if (census.LeastRandom != nullptr)
                because += " (lowest: " + std::string(census.LeastRandom->ObjectName.Trimmed()) + ", " +
                           Grouped(census.LeastRandomShare * 100, 2) + " % of " + Grouped(census.LeastRandomTotal, 0) +
                           ")";
            fire(4, because);
        }
    }

    // 3. Sort work objects.
    if (placement != SortWorkPlacement::None) {
        if (placement == SortWorkPlacement::Mixed) fire(5, SortWorkSharing(census));
        if (pool.HPSize > 0)
            fire(6, Count(static_cast<long long>(census.SortWork.size()), "DSNDB07 object is", "DSNDB07 objects are") +
                        " in this pool and HP size is " + Size(pool.HPSize) + ", above 0");
        if (pool.PoolName.Padded().find("BP0") == std::string_view::npos && placement == SortWorkPlacement::Mixed)
            fire(8, SortWorkSharing(census) + "; the pool name " + std::string(pool.PoolName.Trimmed()) +
                        " does not contain BP0");
    }

    // 4. Sequential thresholds for the intent.
    const std::string vpseqt = "VPSEQT is " + Pct(pool.VPSEQT);
    if (intent == 'R') {
        if (pool.VPSEQT > 25) fire(10, vpseqt + ", above 25 % for a pool used for random access");
        if (pool.HPSize > 0 && pool.HPSEQT != 0)
            fire(18, "HP size is " + Size(pool.HPSize) + " and HPSEQT is " + Pct(pool.HPSEQT) +
                         ", not 0 %, for a pool used for random access");
    } else if (intent == 'S') {
        if (pool.VPSEQT < 90) {
            if (placement == SortWorkPlacement::All) fire(21, vpseqt + ", below 90 %, and " + OnlySortWork(census));
        } else {
            if (placement == SortWorkPlacement::None)
                fire(20, vpseqt + ", 90 % or more, for a pool used for sequential access without DSNDB07 objects");
            if (placement == SortWorkPlacement::All && pool.HPSize > 0)
                fire(22, vpseqt + ", 90 % or more; " + OnlySortWork(census) + " and HP size is " + Size(pool.HPSize));
        }
    }

    // 5. I/O times, in ms.
    if (a.AvgSyncIOTime > 30)
        fire(30, "average synchronous I/O " + Ms(a.AvgSyncIOTime) + ", above 30 ms");
    else if (a.AvgSyncIOTime > 16)
        fire(31, "average synchronous I/O " + Ms(a.AvgSyncIOTime) + ", above 16 ms and not above 30 ms");
    if (a.AvgSeqPrefIOTime > 60)
        fire(32, "average sequential prefetch I/O " + Ms(a.AvgSeqPrefIOTime) + ", above 60 ms");
    if (a.AvgListPrefIOTime > 80) fire(34, "average list prefetch I/O " + Ms(a.AvgListPrefIOTime) + ", above 80 ms");
    if (a.AvgDynPrefIOTime > 60) fire(36, "average dynamic prefetch I/O " + Ms(a.AvgDynPrefIOTime) + ", above 60 ms");

    // 6. Vertical deferred write threshold.
    const std::optional<VdwqtSuggestion> vdwqt = SuggestVdwqt(pool);
    if (vdwqt && placement != SortWorkPlacement::All && pool.VDWQT > vdwqt->Suggested)
        advice.push_back({24, RuleTexts()[24] + "  " + std::to_string(static_cast<long long>(vdwqt->Suggested)) + "%",
                          VdwqtWorking(pool, *vdwqt)});

    // 7. Hiperpool.
    if (pool.HPSize > 0) {
        if (pool.HPSize < 2.0 * pool.VPSize)
            fire(37, "HP size " + Size(pool.HPSize) + " is below twice the VP size " + Size(pool.VPSize) + " (" +
                         Grouped(2.0 * pool.VPSize, 0) + ")");
        if (pool.HPSEQT > 49) {
            const auto& g = a.GetPagesByAccess;
            const double total = static_cast<double>(g[1]) + g[2] + g[3];
            if (total != 0 && g[2] / total * 100 > 30)
                fire(38, "HPSEQT is " + Pct(pool.HPSEQT) + ", above 49 %; random get pages " + Grouped(g[2], 0) +
                             " are " + Grouped(g[2] / total * 100, 2) + " % of the pool's " + Grouped(total, 0) +
                             " sequential, random and RID-list get pages, above 30 %");
        }
    }
    return advice;
}

std::vector<std::string> EvaluatePoolRules(const ReportModel& model, int p, char intent) {
    std::vector<std::string> lines;
    for (AdviceLine& advice : ExplainPoolRules(model, p, intent)) lines.push_back(std::move(advice.Text));
    return lines;
}

std::string CopiedAdvice(const AdviceLine& advice) {
    return advice.Text + "\n" + advice.Because;
}

std::string AnalysisCaption(const ReportModel& model, int p) {
    const std::string name = model.Pools.Contains(p) ? model.Pools(p).PoolName.PaddedString() : std::string(8, ' ');
    return "Buffer Pool Stat Analysis - " + name;
}

}  // namespace kov
