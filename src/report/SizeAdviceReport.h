#pragma once
// kovgraph-report --advise-sizes [--budget-mb MB] [--json] STATFILE SIMFILE...:
// the engine's size advice as JSON (docs/size-advice.md) or readable text.

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "analysis/SizeAdvice.h"

namespace kov {

struct SizeAdviceOptions {
    bool Json = false;
    std::optional<double> BudgetMB;
    std::string StatFile;
    std::vector<std::string> SimFiles;
};

nlohmann::ordered_json BuildSizeAdviceDocument(const SizeAdvice& advice);
std::string RenderSizeAdviceText(const SizeAdvice& advice);

// Reads the reports and prints the advice; the messages of a statistics
// report not read to its end go to err. Returns 0 when it was read to its
// end, 1 otherwise.
int RunSizeAdviceReport(const SizeAdviceOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kov
