#pragma once
// Expert tuning: a fixed table of numbered rules evaluated against the
// current pool, its objects and the number of pools, under the pool usage
// intent (random or sequential). Each rule that applies adds its line,
// and with it the figures it compared and the bound it compared them with,
// so a DBA sees why before acting.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/ReportModel.h"
#include "model/UsageIntent.h"

namespace kov {

inline constexpr int RuleCount = 38;

// Slots 1..38 of the rule texts, exactly as shown; slot 0 is empty.
const std::vector<std::string>& RuleTexts();

// One advice line and why it was given.
struct AdviceLine {
    int Rule = 0;
    std::string Text;     // the line as the list shows it
    std::string Because;  // the figures the rule compared and its bound
};

// Rule 24's working, in single precision as the rule computes it.
struct VdwqtSuggestion {
    float PagesPerWrite = 0;  // 0 when the pool made no write I/Os
    float Percent = 0;        // pages per write / VP size x 100
    float Rounded = 0;        // to the nearest whole percent, a half going down
    float Suggested = 0;      // Rounded, never below 0
};
// None when the pool has no VP size.
std::optional<VdwqtSuggestion> SuggestVdwqt(const PoolRecord& pool);

// The counters of an object line the rules read: its get pages by access
// (sequential, random, RID list). A model whose reader skipped any of them
// is refused (std::logic_error).
inline constexpr ActivityCounters PoolRuleObjectCounters = ActivityCounters::Of(
    {ActivityPositionOf(&ActivityBlock::GetPagesByAccess, 1), ActivityPositionOf(&ActivityBlock::GetPagesByAccess, 2),
     ActivityPositionOf(&ActivityBlock::GetPagesByAccess, 3)});

// The advice for pool p under the intent, in the order the rules fire.
std::vector<AdviceLine> ExplainPoolRules(const ReportModel& model, int p, UsageIntent intent);
// The same advice, the lines only.
std::vector<std::string> EvaluatePoolRules(const ReportModel& model, int p, UsageIntent intent);
// The lines under each intent, in BothIntents order; the pool's objects are
// walked once for both, which counts when a month of reports is summarised.
std::array<std::vector<std::string>, 2> EvaluatePoolRulesForBothIntents(const ReportModel& model, int p);

// What Copy puts on the clipboard: the line, then its explanation.
std::string CopiedAdvice(const AdviceLine& advice);

// "Buffer Pool Stat Analysis - " and the pool name as stored (8 characters).
std::string AnalysisCaption(const ReportModel& model, int p);

}  // namespace kov
