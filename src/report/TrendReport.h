#pragma once
// kovgraph-report --trend: many collection intervals of each system in time
// order, built by the engine's trend (analysis/Trend.h), as JSON
// (docs/trend-json.md) or as readable text.

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "analysis/Trend.h"

namespace kov {

// Where a trend's reports come from. Report files are read whole; a history
// database, when one is given, holds the same reduced reports.
enum class TrendSource { Files };

struct TrendOptions {
    bool Json = false;
    TrendFilter Filter;
    TrendSource Source = TrendSource::Files;
    std::vector<std::string> Files;
    unsigned Threads = 0;  // 0: every core
};

nlohmann::ordered_json BuildTrendDocument(const TrendResult& trend);
std::string RenderTrendText(const TrendResult& trend);

// Prints a trend from any source to out, and a line per report left out to
// err. Returns 0 when no report was left out, 1 otherwise.
int PrintTrend(const TrendResult& trend, bool json, std::ostream& out, std::ostream& err);

// Builds the trend of the options' source and prints it (PrintTrend).
int RunTrendReport(const TrendOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kov
