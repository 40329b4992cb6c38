#pragma once
// What the pool pies and the object pie share: the three breakdowns of activity by kind (access, pages read, read
// I/Os) with their legend prefixes, side-label captions and zero messages, and
// the legend text of one slice.

#include <string>
#include <string_view>
#include <vector>

#include "model/ReportModel.h"
#include "views/ChartData.h"

namespace kov {

enum class Breakdown { Access = 1, PagesRead = 2, ReadIOs = 3 };

struct BreakdownGroups {
    std::vector<const char*> Legends;   // "Seq ", "Rnd ", ...
    std::vector<const char*> Captions;  // "Seq. Access", ...
    const char* ZeroMessage;            // shown for a zero total, or null
};

const BreakdownGroups& GroupsOf(Breakdown kind);

// "Seq " and 0.4531 give "Seq (45.3%)".
std::string PieLegend(std::string_view prefix, double share);

// A pie of a damaged report, with counters below 0, cannot show shares: each
// slice is written with its counter as it is, and the chart says why.
void MarkNegativeCounters(ChartData& pie);

}  // namespace kov
