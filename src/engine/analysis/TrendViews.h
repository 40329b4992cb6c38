#pragma once
// What the trend window shows of a trend: the line chart of one pool-grid
// figure over the reports for the chosen pools, with the settings' changes
// marked on the time axis; the advice timeline, the events, the objects that
// grew or fell most, the reports and the reports left out, as grids.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Trend.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

// The 14 pool-grid figures a trend follows, named as the compare's pools grid
// names them ("Get Pages/Sec" for a count per second), in column order.
const std::vector<std::string>& TrendFigureNames();

// "2026-12-03 10:00:00": when a report was collected.
std::string CollectedAt(const ReportStamp& stamp);

// The pool of this name in a system's trend; nothing when it has none.
const PoolTrend* FindPoolTrend(const SystemTrend& system, const std::string& pool);

// One figure (a position in TrendFigureNames) of the chosen pools over the
// system's reports: x is the report's position, a line per pool that breaks
// where the pool is absent, a marker at each event of a chosen pool, date
// labels under the axis; past eight pools a note that hovering names a line
// (the colours repeat). A point's label names its report (when, file), its
// value text the figure as the grids write it. Pools the system does not have
// are left out.
ChartData TrendFigureChart(const SystemTrend& system, std::size_t figure, const std::vector<std::string>& pools);

// The date labels under the time axis: at most `most`, evenly spread, the
// first report always among them and the last one too where two or more
// fit. Each says only what differs from the label before it: the first in
// full, then the month and day where the date changes, the year only where
// it changes, else the time ("2026-11-30 10:00", "12-03 10:00", "22:00");
// seconds only where they are not zero.
std::vector<XMark> TrendTimeLabels(const SystemTrend& system, std::size_t most);

// The date label sets a chart chooses from by its width, densest first:
// labels at round times (each 5 minutes up to each 12 hours, midnights,
// Mondays, first days of months), the first report's label alone last.
std::vector<std::vector<XMark>> TrendTimeLabelSets(const SystemTrend& system);

// Pool, intent, advice, first seen, last seen, reports: each advice line of
// the chosen pools with the span of reports in which it fired.
StringTable TrendAdviceGrid(const SystemTrend& system, const std::vector<std::string>& pools);

// Pool, report (when), event: the chosen pools' changes of settings, their
// appearing and disappearing, in time order.
StringTable TrendEventsGrid(const SystemTrend& system, const std::vector<std::string>& pools);

// Pool, type, object, first seen, last seen, first and last synchronous read
// I/Os per second, change: the ten largest rises (or falls) of each chosen pool.
enum class Drift { Rises, Falls };
StringTable TrendDriftGrid(const SystemTrend& system, const std::vector<std::string>& pools, Drift drift);

// Report number, date, time, elapsed seconds, file.
StringTable TrendReportsGrid(const SystemTrend& system);

// One line over the window's choosers: which system, how many reports over
// which time, and how many reports were left out. No system: only the latter.
std::string TrendSummary(const TrendResult& result, const SystemTrend* system);

// "Reading 720 statistics reports…": what the window says while it reads.
std::string TrendReadingText(std::size_t files);

// File and message, a row per message of each report left out.
StringTable LeftOutGrid(const std::vector<LeftOutReport>& leftOut);

// One message of a report left out, to be read whole beside the grid: each
// part the reader separates with a tab ("Error Description : ...", "Data
// Line : ...") on a line of its own.
std::string LeftOutDetail(std::string_view message);

}  // namespace kov
