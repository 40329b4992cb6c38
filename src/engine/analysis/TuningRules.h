#pragma once
// Expert tuning: a fixed table of numbered rules evaluated against the
// current pool, its objects and the number of pools, under the pool usage
// intent ('R' random, 'S' sequential). Each rule that applies adds its line.

#include <string>
#include <vector>

#include "model/ReportModel.h"

namespace kov {

inline constexpr int RuleCount = 38;

// Slots 1..38 of the rule texts, exactly as shown; slot 0 is empty.
const std::vector<std::string>& RuleTexts();

enum class ObjectMix { Mixed, TablesOnly, IndexesOnly };
enum class SortWorkPlacement { None, All, Mixed };  // where the pool's DSNDB07 objects stand

// Classifications of pool p's objects. A pool without objects has no range
// to classify; the evaluation leaves its object rules out.
ObjectMix ClassifyPoolObjectMix(const ReportModel& model, int p);
bool AllSystemObjects(const ReportModel& model, int p);
bool CheckIndexAccess(const ReportModel& model, int p);
SortWorkPlacement Dsndb07Placement(const ReportModel& model, int p);

// The suggested vertical deferred write threshold of rule 24, in percent,
// worked out in single precision; false when the pool has no VP size.
bool SuggestedVdwqt(const PoolRecord& pool, float& percent);

// The advice lines for pool p under the intent, in the order the rules fire.
std::vector<std::string> EvaluatePoolRules(const ReportModel& model, int p, char intent);

// "Buffer Pool Stat Analysis - " and the pool name as stored (8 characters).
std::string AnalysisCaption(const ReportModel& model, int p);

}  // namespace kov
