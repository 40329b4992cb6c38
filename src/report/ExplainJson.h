#pragma once
// The batch report's account of why: each advice line with the figures behind
// it, and the data checks' findings on the loaded reports.

#include <nlohmann/json.hpp>
#include <string>

#include "model/ReportModel.h"

namespace kov {

// {"R": [{"rule": 10, "text": "...", "because": "..."}, ...], "S": [...]},
// the same lines in the same order as the pool's "tuning".
nlohmann::ordered_json TuningExplainedJson(const ReportModel& model, int p);

// [{"check": "...", "pool": "BP1" or null, "object": "DB1.TS1" or null, "text": "..."}, ...]
nlohmann::ordered_json DataChecksJson(const ReportModel& model);

// The text report's lines for one advice entry's explanation and for the findings.
std::string AdviceBecauseText(const nlohmann::ordered_json& explained);
std::string DataChecksText(const nlohmann::ordered_json& findings);

}  // namespace kov
