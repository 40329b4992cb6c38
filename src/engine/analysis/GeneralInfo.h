#pragma once
// The "Report Info" page: who and when the report describes, the seven
// system-wide totals, and the grid of all pools.

#include <cstdint>
#include <string>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "views/ViewData.h"

namespace kov {

// "System", "Sub System", "DB2 Version", "DS Group", "Date", "Time",
// "Elapsed Time", with the texts exactly as stored (trailing blanks kept).
std::vector<LabelPair> HeaderLabels(const SystemInfo& info);

// "Total Read/Write IO" .. "Total 4K Buffers".
std::vector<LabelPair> Totals(const ReportModel& model, MessageSink& sink);

// VPSize + HPSize of every pool whose name does not name a larger page size
// (8K, 16K, 32K in any case). A failure is reported and gives 0.
std::int32_t Total4KBuffers(const ReportModel& model, MessageSink& sink);

// The 15 headings of grdPoolInfo, as restored after a sort.
const std::vector<std::string>& PoolGridHeadings();

// One row per pool in table order; a report without pools still has one
// empty row, as the grid always shows a data row.
StringTable PoolGrid(const ReportModel& model);

}  // namespace kov
