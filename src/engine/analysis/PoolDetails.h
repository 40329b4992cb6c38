#pragma once
// The "Pool Info" page's labels and the three ways of changing the current
// pool: a row of the pool grid, "Next Pool" and "Previous Pool".

#include <string>
#include <string_view>
#include <vector>

#include "model/ReportModel.h"
#include "views/ViewData.h"

namespace kov {

struct PoolLabels {
    std::vector<LabelPair> Info;       // frame "Buffer Pool Info"
    std::vector<LabelPair> Threshold;  // frame "Threshold"
    std::string WindowTitle;           // "KOVGraph - BP0", or the program's title alone
};

// The analysis window's title before a pool is shown.
inline constexpr const char* kProgramTitle = "KOVGraph";

// Labels of pool p; empty, under the program's title, when there is no such pool.
PoolLabels PoolLabelsFor(const ReportModel& model, int p);
inline PoolLabels CurrentPoolLabels(const ReportModel& model) {
    return PoolLabelsFor(model, model.CurrentPool);
}

// The first simulation whose pool is pool p (names trimmed, any case); the walk stops at the first simulation without a
// pool name.
struct SimulationMatch {
    bool Found = false;
    int Position = 0;  // simulation number when found
};
SimulationMatch FindSimulationForPool(const ReportModel& model, int p);

// The pool a grid row names (names trimmed, any case); 0 when none has it.
int PoolNamed(const ReportModel& model, std::string_view gridName);

// The pool after and before pool p, without wrapping around.
int NextPool(const ReportModel& model, int p);
int PreviousPool(const ReportModel& model, int p);

// The object Next and Previous Pool show for pool p: its first (0 for none);
// a pick in the pool grid keeps the object shown before.
int FirstObjectOf(const ReportModel& model, int p);

// The simulated sizes of pool p's first simulation slot, points 1
// up to the SizeCount of the simulation found, as plain integers: the cluster
// page's pool-size list.
std::vector<std::string> PoolSizeList(const ReportModel& model, int p, const SimulationMatch& match);

}  // namespace kov
