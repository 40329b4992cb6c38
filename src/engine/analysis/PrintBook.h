#pragma once
// The whole analysis as one printout, for the review meeting: the report
// summary, the printable graphic summary charts, then for every pool its
// pool charts, its object page and, where it was simulated, its simulation
// graph and cluster pages. Made of the same printed pages as the print button.

#include <functional>
#include <string>
#include <vector>

#include "analysis/PrintPages.h"
#include "common/Message.h"
#include "model/ReportModel.h"
#include "model/UsageIntent.h"

namespace kov {

// The pool graph types (positions in PoolGraphTypes) printed for every pool:
// where the pool's activity goes, then the objects a DBA looks at first.
const std::vector<int>& PrintedPoolGraphs();

struct PrintBookOptions {
    std::string AccDir = ".";  // holds Rand.acc and Seq.acc for the cluster pages
    UsageIntent Intent = UsageIntent::Random;
    double Radius = 1.2;
};

// The four sub-tabs of the simulation graph page as entered with slot s
// (measure "Sys Hit Ratio"): what the whole analysis prints for each slot.
std::vector<ChartData> SimGraphSubTabCharts(const ReportModel& model, int p, int s);

// Every page in print order. The cluster pages are those of the pool's first
// simulation slot at its first simulated size.
std::vector<PrintedPage> WholeAnalysisPages(const ReportModel& model, const PrintBookOptions& options,
                                            MessageSink& sink);

}  // namespace kov
