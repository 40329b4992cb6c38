#include "analysis/TuningRules.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "common/Formats.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kov {

namespace {

enum class ObjectMix { Mixed, TablesOnly, IndexesOnly };
enum class SortWorkPlacement { None, All, Mixed };  // where the pool's DSNDB07 objects stand

// Which system databases an object's name mentions. A pool's objects are
// walked for every report of a trend, so the name is searched once for
// "DSN" rather than once per database.
struct DatabaseMentions {
    bool SortWork = false;  // DSNDB07
    bool System = false;    // DSNRLST or DSNDB06
};

// A bit for each place of the padded name where `c` stands. With 16
// characters compared at a time the places of "DSN" cost a few compares
// instead of a call for each "D" the name holds.
template <std::size_t N>
std::uint32_t PlacesOf(const std::array<char, N>& name, char c) {
    static_assert(N >= 16 && N <= 32, "two 16-character compares cover the name");
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const auto compare = [&](std::size_t from) {
        const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name.data() + from));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(text, wanted)));
    };
    return compare(0) | (compare(N - 16) << (N - 16));
#else
    std::uint32_t places = 0;
    for (std::size_t i = 0; i < N; ++i) places |= static_cast<std::uint32_t>(name[i] == c) << i;
    return places;
#endif
}

DatabaseMentions MentionsOf(const ObjectRecord& object) {
    const std::string_view name = object.ObjectName.Padded();
    const auto& chars = object.ObjectName.Chars();
    DatabaseMentions mentions;
    for (std::uint32_t dsn = PlacesOf(chars, 'D') & (PlacesOf(chars, 'S') >> 1) & (PlacesOf(chars, 'N') >> 2); dsn != 0;
         dsn &= dsn - 1) {
        const std::string_view database = name.substr(static_cast<std::size_t>(std::countr_zero(dsn)) + 3, 4);
        if (database == "DB07") mentions.SortWork = true;
        if (database == "RLST" || database == "DB06") mentions.System = true;
    }
    return mentions;
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

bool IsSystemObject(const ObjectRecord& o, const DatabaseMentions& mentions) {
    const std::string_view type = o.ObjectType.Padded();
    return mentions.System || type == "*" || type == "U";
}

PoolCensus TakeCensus(const ReportModel& model, const PoolRecord& pool) {
    if (!model.ObjectCountersRead.Covers(PoolRuleObjectCounters))
        throw std::logic_error("the pool rules need object counters this report was read without");
    PoolCensus census;
    if (pool.FirstObject == 0) return census;
    census.Objects = pool.LastObject - pool.FirstObject + 1;
    const ObjectRange range = PoolObjects(model, pool);
    census.Others.reserve(range.Size());
    for (int index = range.First; index <= range.Last; ++index) {
        const ObjectRecord& o = model.Objects(index);
        if (o.ObjectType.Padded() == "I") ++census.Indexes;
        if (o.ObjectType.Padded() == "T") ++census.TableSpaces;
        const DatabaseMentions mentions = MentionsOf(o);
        if (IsSystemObject(o, mentions)) ++census.SystemObjects;
        (mentions.SortWork ? census.SortWork : census.Others).push_back(&o);
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
    return text + "; VDWQT is " + ShortestDecimal(pool.VDWQT) + " %, above that";
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
        // One text, too long for a line.
        // NOLINTNEXTLINE(bugprone-suspicious-missing-comma)
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

namespace {

// The rules that can fire, by the number their advice line carries.
enum class Rule {
    SeparateIndexes = 3,
    SeparateScannedIndexes = 4,
    SortWorkOwnPool = 5,
    SortWorkHiperpool = 6,
    SortWorkDedicatedPool = 8,
    MorePools = 9,
    RandomVpseqt = 10,
    FewerPools = 12,
    RandomHpseqt = 18,
    SequentialVpseqt = 20,
    SortPoolVpseqt = 21,
    SortPoolHiperpool = 22,
    LowerVdwqt = 24,
    SyncIOAbove30 = 30,
    SyncIOAbove16 = 31,
    SeqPrefetchIO = 32,
    ListPrefetchIO = 34,
    DynPrefetchIO = 36,
    HiperpoolSize = 37,
    RandomPagesHpseqt = 38,
};

// One evaluation of the rules for a pool, section by section in the order
// the advice list shows them.
class PoolRules {
public:
    // Without `explain`, the lines come without their explanations.
    PoolRules(const ReportModel& model, const PoolRecord& pool, bool explain = true)
        : model_(model),
          pool_(pool),
          census_(TakeCensus(model, pool)),
          placement_(PlacementOf(census_)),
          explain_(explain) {}

    // The advice under each intent, in BothIntents order. Only the
    // sequential thresholds depend on the intent, so the sections before and
    // after them are evaluated once for both.
    std::array<std::vector<AdviceLine>, 2> EvaluateBoth() {
        PoolCount();
        Sharing();
        SortWork();
        std::vector<AdviceLine> before = Taken();
        std::array<std::vector<AdviceLine>, 2> thresholds;
        for (const UsageIntent intent : BothIntents) {
            SequentialThresholds(intent);
            thresholds[IntentIndex(intent)] = Taken();
        }
        IOTimes();
        VerticalDeferredWrite();
        Hiperpool();
        std::vector<AdviceLine> after = Taken();
        // The lines both intents share are copied for the first and moved
        // to the second: a trend evaluates every pool of every report.
        return {Joined(before, std::move(thresholds[0]), after),
                Joined(std::move(before), std::move(thresholds[1]), std::move(after))};
    }

private:
    static std::vector<AdviceLine> Joined(std::vector<AdviceLine> lines, std::vector<AdviceLine> middle,
                                          std::vector<AdviceLine> end) {
        lines.insert(lines.end(), std::make_move_iterator(middle.begin()), std::make_move_iterator(middle.end()));
        lines.insert(lines.end(), std::make_move_iterator(end.begin()), std::make_move_iterator(end.end()));
        return lines;
    }

    // The lines fired since the last call.
    std::vector<AdviceLine> Taken() { return std::exchange(advice_, {}); }

    // `because` makes the explanation, only when one is wanted: a trend
    // keeps the lines alone, for every pool of every report.
    template <typename Because>
    void Fire(Rule rule, const Because& because) {
        const int number = static_cast<int>(rule);
        advice_.push_back(
            {number, RuleTexts()[static_cast<std::size_t>(number)], explain_ ? because() : std::string()});
    }

    void PoolCount() {
        const auto pools = [&] { return "the report holds " + Count(model_.PoolCount(), "pool", "pools"); };
        if (model_.PoolCount() < 6) Fire(Rule::MorePools, [&] { return pools() + ", fewer than 6"; });
        if (model_.PoolCount() > 12) Fire(Rule::FewerPools, [&] { return pools() + ", more than 12"; });
    }

    // What shares the pool.
    void Sharing() {
        if (census_.Objects == 0) return;
        const ObjectMix mix = MixOf(census_);
        const auto sharing = [&] {
            return Count(census_.Indexes, "index", "indexes") + " and " +
                   Count(census_.TableSpaces, "table space", "table spaces") + " share this pool";
        };
        const auto objects = [&] { return Count(census_.Objects, "object", "objects"); };
        if (mix == ObjectMix::Mixed && census_.SystemObjects != census_.Objects)
            Fire(Rule::SeparateIndexes, [&] {
                return sharing() + ", and " +
                       (census_.SystemObjects == 0 ? "none of its " + objects() + " is a system object"
                                                   : "only " + Grouped(census_.SystemObjects, 0) + " of its " +
                                                         objects() + " are system objects");
            });
        if (mix == ObjectMix::IndexesOnly && census_.IndexAccessPasses)
            Fire(Rule::SeparateScannedIndexes, [&] {
                std::string because = sharing() + ", and no object reads fewer than 10 % of its get pages at random";
                if (census_.LeastRandom != nullptr)
                    because += " (lowest: " + std::string(census_.LeastRandom->ObjectName.Trimmed()) + ", " +
                               Grouped(census_.LeastRandomShare * 100, 2) + " % of " +
                               Grouped(census_.LeastRandomTotal, 0) + ")";
                return because;
            });
    }

    void SortWork() {
        if (placement_ == SortWorkPlacement::None) return;
        if (placement_ == SortWorkPlacement::Mixed)
            Fire(Rule::SortWorkOwnPool, [&] { return SortWorkSharing(census_); });
        if (pool_.HPSize > 0)
            Fire(Rule::SortWorkHiperpool, [&] {
                return Count(static_cast<long long>(census_.SortWork.size()), "DSNDB07 object is",
                             "DSNDB07 objects are") +
                       " in this pool and HP size is " + Size(pool_.HPSize) + ", above 0";
            });
        if (pool_.PoolName.Padded().find("BP0") == std::string_view::npos && placement_ == SortWorkPlacement::Mixed)
            Fire(Rule::SortWorkDedicatedPool, [&] {
                return SortWorkSharing(census_) + "; the pool name " + std::string(pool_.PoolName.Trimmed()) +
                       " does not contain BP0";
            });
    }

    // The sequential thresholds for the way the pool is used.
    void SequentialThresholds(UsageIntent intent) {
        const auto vpseqt = [&] { return "VPSEQT is " + Pct(pool_.VPSEQT); };
        if (intent == UsageIntent::Random) {
            if (pool_.VPSEQT > 25)
                Fire(Rule::RandomVpseqt, [&] { return vpseqt() + ", above 25 % for a pool used for random access"; });
            if (pool_.HPSize > 0 && pool_.HPSEQT != 0)
                Fire(Rule::RandomHpseqt, [&] {
                    return "HP size is " + Size(pool_.HPSize) + " and HPSEQT is " + Pct(pool_.HPSEQT) +
                           ", not 0 %, for a pool used for random access";
                });
        } else {
            if (pool_.VPSEQT < 90) {
                if (placement_ == SortWorkPlacement::All)
                    Fire(Rule::SortPoolVpseqt, [&] { return vpseqt() + ", below 90 %, and " + OnlySortWork(census_); });
            } else {
                if (placement_ == SortWorkPlacement::None)
                    Fire(Rule::SequentialVpseqt, [&] {
                        return vpseqt() +
                               ", 90 % or more, for a pool used for sequential access without DSNDB07 objects";
                    });
                if (placement_ == SortWorkPlacement::All && pool_.HPSize > 0)
                    Fire(Rule::SortPoolHiperpool, [&] {
                        return vpseqt() + ", 90 % or more; " + OnlySortWork(census_) + " and HP size is " +
                               Size(pool_.HPSize);
                    });
            }
        }
    }

    // Average I/O times, in ms.
    void IOTimes() {
        const ActivityBlock& a = pool_.Activity;
        if (a.AvgSyncIOTime > 30)
            Fire(Rule::SyncIOAbove30,
                 [&] { return "average synchronous I/O " + Ms(a.AvgSyncIOTime) + ", above 30 ms"; });
        else if (a.AvgSyncIOTime > 16)
            Fire(Rule::SyncIOAbove16, [&] {
                return "average synchronous I/O " + Ms(a.AvgSyncIOTime) + ", above 16 ms and not above 30 ms";
            });
        if (a.AvgSeqPrefIOTime > 60)
            Fire(Rule::SeqPrefetchIO,
                 [&] { return "average sequential prefetch I/O " + Ms(a.AvgSeqPrefIOTime) + ", above 60 ms"; });
        if (a.AvgListPrefIOTime > 80)
            Fire(Rule::ListPrefetchIO,
                 [&] { return "average list prefetch I/O " + Ms(a.AvgListPrefIOTime) + ", above 80 ms"; });
        if (a.AvgDynPrefIOTime > 60)
            Fire(Rule::DynPrefetchIO,
                 [&] { return "average dynamic prefetch I/O " + Ms(a.AvgDynPrefIOTime) + ", above 60 ms"; });
    }

    // The advice line carries the suggested threshold after the rule's text.
    void VerticalDeferredWrite() {
        const std::optional<VdwqtSuggestion> vdwqt = SuggestVdwqt(pool_);
        if (!vdwqt || placement_ == SortWorkPlacement::All || !(pool_.VDWQT > vdwqt->Suggested)) return;
        const int number = static_cast<int>(Rule::LowerVdwqt);
        advice_.push_back({number,
                           RuleTexts()[static_cast<std::size_t>(number)] + "  " +
                               std::to_string(static_cast<long long>(vdwqt->Suggested)) + "%",
                           explain_ ? VdwqtWorking(pool_, *vdwqt) : std::string()});
    }

    void Hiperpool() {
        if (pool_.HPSize <= 0) return;
        if (pool_.HPSize < 2.0 * pool_.VPSize)
            Fire(Rule::HiperpoolSize, [&] {
                return "HP size " + Size(pool_.HPSize) + " is below twice the VP size " + Size(pool_.VPSize) + " (" +
                       Grouped(2.0 * pool_.VPSize, 0) + ")";
            });
        if (pool_.HPSEQT <= 49) return;
        const auto& g = pool_.Activity.GetPagesByAccess;
        const double total = static_cast<double>(g[1]) + g[2] + g[3];
        if (total != 0 && g[2] / total * 100 > 30)
            Fire(Rule::RandomPagesHpseqt, [&] {
                return "HPSEQT is " + Pct(pool_.HPSEQT) + ", above 49 %; random get pages " + Grouped(g[2], 0) +
                       " are " + Grouped(g[2] / total * 100, 2) + " % of the pool's " + Grouped(total, 0) +
                       " sequential, random and RID-list get pages, above 30 %";
            });
    }

    const ReportModel& model_;
    const PoolRecord& pool_;
    const PoolCensus census_;
    const SortWorkPlacement placement_;
    const bool explain_;
    std::vector<AdviceLine> advice_;
};

}  // namespace

std::vector<AdviceLine> ExplainPoolRules(const ReportModel& model, int p, UsageIntent intent) {
    if (!model.Pools.Contains(p)) return {};
    return std::move(PoolRules(model, model.Pools(p)).EvaluateBoth()[IntentIndex(intent)]);
}

std::vector<std::string> EvaluatePoolRules(const ReportModel& model, int p, UsageIntent intent) {
    return std::move(EvaluatePoolRulesForBothIntents(model, p)[IntentIndex(intent)]);
}

std::array<std::vector<std::string>, 2> EvaluatePoolRulesForBothIntents(const ReportModel& model, int p) {
    std::array<std::vector<std::string>, 2> lines;
    if (!model.Pools.Contains(p)) return lines;
    std::array<std::vector<AdviceLine>, 2> both = PoolRules(model, model.Pools(p), false).EvaluateBoth();
    for (std::size_t i = 0; i < both.size(); ++i)
        for (AdviceLine& advice : both[i]) lines[i].push_back(std::move(advice.Text));
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
