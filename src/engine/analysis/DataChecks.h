#pragma once
// Checks on the loaded reports' own figures, run once per load: counters a
// collector cannot have produced, breakdowns and totals that disagree, an
// interval without length, simulations that cannot describe the pool. A
// finding never stops the analysis; it tells the DBA which figures to
// distrust before acting on advice built from them. The thresholds are
// described in docs/data-checks.md.

#include <cstddef>
#include <string>
#include <vector>

#include "model/ReportModel.h"

namespace kov {

struct DataFinding {
    std::string Check;     // stable name of the check, e.g. "negative-counters"
    int Pool = 0;          // the pool concerned; 0 when the finding is about the report
    std::string PoolName;  // trimmed; empty when Pool is 0
    std::string Object;    // trimmed object name; empty when the finding is about a pool or the report
    std::string Text;
};

// A breakdown or a pool total may differ from what it should equal by this
// much before it counts: the rounding of up to four parts, or a thousandth
// of the total for collectors that scale large counters.
inline constexpr double kCountSlack = 2;
inline constexpr double kCountSlackShare = 0.001;
// A simulated hit ratio may fall by this many points as the pool grows
// (two values printed with two decimals) before it counts.
inline constexpr double kHitRatioSlack = 0.05;

// Every finding for the loaded reports: the report first, then each pool in
// file order with its objects and its simulations. Linear in the objects.
std::vector<DataFinding> RunDataChecks(const ReportModel& model);

// "Data checks: no findings", "Data checks: 1 finding", "Data checks: 12 findings".
std::string DataChecksCaption(std::size_t findings);

// A finding as the list shows it: where, then what ("BP1 DB1.TS1: ...").
std::string FindingLine(const DataFinding& finding);

}  // namespace kov
