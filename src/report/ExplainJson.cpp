#include "report/ExplainJson.h"

#include "analysis/DataChecks.h"
#include "analysis/TuningRules.h"
#include "model/UsageIntent.h"

namespace kov {

using json = nlohmann::ordered_json;

namespace {

json NameOrNull(const std::string& name) {
    return name.empty() ? json(nullptr) : json(name);
}

}  // namespace

json TuningExplainedJson(const ReportModel& model, int p) {
    json byIntent = json::object();
    for (const UsageIntent intent : BothIntents) {
        json lines = json::array();
        for (const AdviceLine& advice : ExplainPoolRules(model, p, intent))
            lines.push_back({{"rule", advice.Rule}, {"text", advice.Text}, {"because", advice.Because}});
        byIntent[IntentKey(intent)] = lines;
    }
    return byIntent;
}

json DataChecksJson(const ReportModel& model) {
    json list = json::array();
    for (const DataFinding& finding : RunDataChecks(model))
        list.push_back({{"check", finding.Check},
                        {"pool", finding.Pool == 0 ? json(nullptr) : json(finding.PoolName)},
                        {"object", NameOrNull(finding.Object)},
                        {"text", finding.Text}});
    return list;
}

// The texts are appended piece by piece: GCC 12 warns falsely (-Wrestrict)
// on a literal put in front of a string.
std::string AdviceBecauseText(const json& explained) {
    std::string text = "         because ";
    return text.append(explained["because"].get<std::string>()).append("\n");
}

std::string DataChecksText(const json& findings) {
    std::string text = "\nData checks: ";
    text.append(std::to_string(findings.size())).append("\n");
    for (const json& finding : findings) {
        text.append("  [").append(finding["check"].get<std::string>()).append("]");
        for (const char* where : {"pool", "object"})
            if (!finding[where].is_null()) text.append(" ").append(finding[where].get<std::string>());
        text.append(": ").append(finding["text"].get<std::string>()).append("\n");
    }
    return text;
}

}  // namespace kov
