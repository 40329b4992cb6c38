#pragma once
// Printed pages as view data: the texts and the chart a page carries, made
// from the same view data the window shows. The page painter lays them out
// on paper; nothing here knows about printers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Records.h"
#include "model/UsageIntent.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

struct PrintedPage {
    std::string Title;      // centred at the top
    std::string SubTitle;   // the header line naming the report
    std::string SubTitle1;  // a second subtitle, e.g. the cluster number
    // Caption above value, side by side in a row (the pool names and bar
    // values of a summary chart, the cluster's sizes).
    std::vector<LabelPair> SupLabels;
    // Caption and value beside each other, one pair a line.
    std::vector<LabelPair> Details;
    std::optional<ChartData> Chart;
    // Lines of text in columns under their headings (pool grid rows, cluster
    // objects).
    std::vector<std::string> LineHeadings;
    std::vector<std::vector<std::string>> Lines;
};

// Why a page could not be composed: the message box a print routine shows
// (its page's title, the failure's description, the information icon).
inline constexpr const char* kReportSummaryPrintTitle = "Report Summary Printing";
inline constexpr const char* kGraphicSummaryPrintTitle = "Graphics Summary";
inline constexpr const char* kPoolPrintTitle = "Buffer Pool Graphs";
inline constexpr const char* kObjectPrintTitle = "Object Graphs";
inline constexpr const char* kClusterPrintTitle = "Cluster Analysis";

// The title of the print failure message of an analysis window page.
const char* PrintFailureTitle(int page);

// "System: SYSA          Sub System: DB2P          [DS Group: ...          ]Date: ...          Time: ...".
std::string HeaderLine(const SystemInfo& info, bool withDSGroup);

// The collection date and time as "mm-dd-yyyy   hh:mm AM/PM"; a date that
// does not read as one is given as it stands.
std::string PrintedCollectionDate(std::string_view date, std::string_view time);

// Pool grid lines a report summary page holds.
inline constexpr std::size_t kSummaryLinesPerPage = 30;

// The report summary: the five header values, the totals and columns 0..7 of
// every pool grid row in the grid's order; more pools continue on further
// pages under the same heading. `header` are the Report Info page's labels.
std::vector<PrintedPage> ReportSummaryPages(const std::vector<LabelPair>& header, const std::vector<LabelPair>& totals,
                                            const StringTable& poolGrid);

// One of the printable graphic summary charts with each bar's pool and value.
PrintedPage GraphicSummaryPrintPage(const SystemInfo& info, const ChartData& chart);

// The pool chart shown for the pool named, with its visible side labels.
PrintedPage PoolPrintPage(const SystemInfo& info, std::string_view poolName, const ChartData& chart);

// The object breakdown shown: its visible label pairs and its pie.
PrintedPage ObjectPrintPage(const SystemInfo& info, std::string_view poolName, const std::vector<LabelPair>& labels,
                            const ChartData& chart);

// One chart of the simulation graph page for the pool named.
PrintedPage SimGraphPrintPage(const SystemInfo& info, std::string_view poolName, const ChartData& chart);

// What heads every page of a cluster's printout.
struct ClusterPrintHeading {
    std::string PoolName;          // trimmed
    std::vector<std::string> Row;  // the cluster grid row: number, smallest and largest max WS
    UsageIntent Intent = UsageIntent::Random;
    long long OriginalPoolSize = 0;  // VP + HP size
    std::string SimulatedPoolSize;   // the pool-size list's text
};

// The heading of a cluster of pool p: its grid row, the intent it was
// clustered for and the simulated size's text as the pool-size list shows it.
ClusterPrintHeading ClusterHeadingOf(const PoolRecord& pool, std::vector<std::string> clusterRow, UsageIntent intent,
                                     std::string simulatedPoolSize);

inline constexpr std::size_t kClusterLinesPerPage = 25;

// The cluster's member objects (rows of the cluster object grid: type, name,
// max work set) at most 25 a page, catalog objects (DSNDB06) and types "U"
// and "*" left out; a cluster with no printable member gives its heading page.
std::vector<PrintedPage> ClusterPrintPages(const SystemInfo& info, const ClusterPrintHeading& heading,
                                           const StringTable& clusterObjects);

}  // namespace kov
