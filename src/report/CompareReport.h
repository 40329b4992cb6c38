#pragma once
// kovgraph-report --compare BEFORE AFTER: two collection intervals compared
// through the engine's CompareReports, as JSON (docs/compare-json.md) or as
// readable text.

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/CompareReports.h"
#include "common/Message.h"

namespace kov {

struct CompareOptions {
    bool Json = false;
    std::string BeforeFile;
    std::string AfterFile;
};

// One of the two statistics reports as it was read.
struct ComparedReport {
    std::string StatFile;
    bool StatsLoaded = false;
    std::vector<Message> Messages;
    SystemInfo Header;
};

nlohmann::ordered_json BuildCompareDocument(const ReportComparison& comparison, const ComparedReport& before,
                                            const ComparedReport& after);
std::string RenderCompareText(const ReportComparison& comparison, const ComparedReport& before,
                              const ComparedReport& after);

// Reads both reports, writes the comparison to out and a line per report
// that was not read to its end to err. Returns 0 when both were read to
// their end, 1 otherwise.
int RunCompareReport(const CompareOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kov
