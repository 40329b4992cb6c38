#pragma once
// What the pool pies and the object pie share: the clipped object range of a
// pool, the three breakdowns of activity by kind (access, pages read, read
// I/Os) with their legend prefixes, side-label captions and zero messages, and
// the legend text of one slice.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/ReportModel.h"

namespace kov {

// A pool's objects, clipped to the loaded table so a damaged range never
// reads outside it. Empty for a pool without object lines.
struct ObjectRange {
    int First = 0;
    int Last = -1;
    int Count() const { return std::max(0, Last - First + 1); }
    std::size_t Size() const { return static_cast<std::size_t>(Count()); }
};

ObjectRange PoolObjects(const ReportModel& model, const PoolRecord& pool);

enum class Breakdown { Access = 1, PagesRead = 2, ReadIOs = 3 };

struct BreakdownGroups {
    std::vector<const char*> Legends;   // "Seq ", "Rnd ", ...
    std::vector<const char*> Captions;  // "Seq. Access", ...
    const char* ZeroMessage;            // shown for a zero total, or null
};

const BreakdownGroups& GroupsOf(Breakdown kind);

// "Seq " and 0.4531 give "Seq (45.3%)".
std::string PieLegend(std::string_view prefix, double share);

}  // namespace kov
