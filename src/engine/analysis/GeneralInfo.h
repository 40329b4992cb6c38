#pragma once
// The "Report Info" page: who and when the report describes, the seven
// system-wide totals, and the grid of all pools.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "views/ViewData.h"

namespace kov {

// "System", "Sub System", "DB2 Version", "DS Group", "Date", "Time",
// "Elapsed Time", with the texts exactly as stored (trailing blanks kept).
std::vector<LabelPair> HeaderLabels(const SystemInfo& info);

// A figure of the page as a number, before it is formatted. A count grows
// with the length of the collection interval, so two intervals compare it
// per second; a rate, ratio or size compares as it is.
struct Figure {
    std::string_view Name;  // the caption or grid heading it is shown under
    bool IsCount = false;
    double Value = 0;
};

// The seven totals as numbers, in label order.
std::vector<Figure> TotalFigures(const ReportModel& model, MessageSink& sink);

// "Total Read/Write IO" .. "Total 4K Buffers".
std::vector<LabelPair> Totals(const ReportModel& model, MessageSink& sink);

// VPSize + HPSize of every pool whose name does not name a larger page size
// (8K, 16K, 32K in any case). A failure is reported and gives 0.
std::int32_t Total4KBuffers(const ReportModel& model, MessageSink& sink);

// The 15 headings of grdPoolInfo, as restored after a sort.
const std::vector<std::string>& PoolGridHeadings();

// The figures of a pool-grid row after "Pool", in column order; per-second
// columns divide by the elapsed seconds (0 when the interval has no length).
std::vector<Figure> PoolFigures(const PoolRecord& pool, std::int32_t elapsedSeconds);

// One row per pool in table order; a report without pools still has one
// empty row, as the grid always shows a data row.
StringTable PoolGrid(const ReportModel& model);

}  // namespace kov
