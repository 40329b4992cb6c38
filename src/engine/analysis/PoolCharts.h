#pragma once
// The "Pool Info" page's activity chart: six pies that break the pool's
// activity down by access type, read type and object type, and eighteen
// top (or bottom) lists of the pool's objects drawn as bars whose hidden
// series carries each bar's object index for the details panel.

#include <string>
#include <vector>

#include "model/ReportModel.h"
#include "views/ChartData.h"

namespace kov {

// The graph types in the order of cboPoolGraphType, position 1 first: six
// pies, then the eighteen top and bottom lists.
enum class PoolGraph {
    AccessType = 1,
    PagesRead,
    ReadIOsByType,
    PoolGetPages,
    PoolPagesRead,
    PoolReadIOsByObjectType,
    TopGetPages,
    TopSeqAccess,
    TopRandomIO,
    TopWriteIOs,
    TopPagesPerWrite,
    TopIndexesPagesRead,
    TopIORates,
    TopUpdates,
    LowestAppHitRatio,
    LowestSysHitRatio,
    LowestPagesPerWrite,
    IndexesBelow95SysHitRatio,
    IndexesAbove10SeqPrefetch,
    WorstAvgSyncIO,
    WorstMaxSyncIO,
    WorstWriteIOs,
    WorstIORateAboveOne,
    TopIOImpactors,
};

// The texts of cboPoolGraphType, position 1 first.
const std::vector<std::string>& PoolGraphTypes();

// The chart of graph type `position` (1..24) for pool p. Bars are plotted
// with the top entry last. Nothing (a default ChartData with an empty title)
// when there is no such pool or graph type. Messages carry an empty title:
// a plain message box shows the program's name.
ChartData PoolChart(const ReportModel& model, int p, int position);

}  // namespace kov
