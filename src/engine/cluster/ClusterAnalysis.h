#pragma once
// The cluster page's analysis: which objects of the current pool take part
// (their share of random or sequential get pages reaches the threshold of
// the usage intent, and they have a maximum working set at the chosen size
// point), their clustering, and the view data of the two grids.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "model/UsageIntent.h"
#include "views/ViewData.h"

namespace kov {

// The result of one run; the grids and the member file read it until the next.
struct ClusterRun {
    int Simulation = 0;  // slot s of the run
    int SizePoint = 0;   // size point k of the run
    double Threshold = 0;
    // Object numbers of the members, in pool order, with each member's
    // maximum working set at k and its cluster number (0 = none).
    std::vector<int> ClusterMembers;
    std::vector<std::int32_t> MemberMaxWorkSet;
    std::vector<std::int32_t> ClusterOfMember;
    // -1 when fewer than three objects qualify, else the number of clusters.
    int Result = -1;
};

// The leading number of a text as a number box reads it: blanks skipped,
// then sign, digits, decimal point and exponent as far as they go. Nothing
// readable gives no value.
std::optional<double> LeadingDecimal(std::string_view text);

// The two ways a cluster radius arrives. Typed into the page's box, it is
// read while the DBA types, so half-typed text must still run: its leading
// number counts ("2abc" is 2) and text without one is 0. Given to the batch
// report, a typo must not run another analysis unnoticed: the whole text
// must be the number.
enum class RadiusText { Typed, Exact };
struct ClusterRadius {
    double Radius = 0;
    std::string Refusal;  // empty when Radius can be used
};
// A negative radius (and, for exact text, anything that is not a finite
// number) is refused, never corrected: no cluster could ever fit it.
ClusterRadius ReadClusterRadius(std::string_view text, RadiusText rule);

// Where the usage thresholds (Rand.acc, Seq.acc) are read from: beside the
// program (a build tree, or a DBA's own files there), else in the installed
// tree's share/kovgraph; the program's folder when neither holds them, so the
// message that they cannot be read names where they were expected.
std::string ThresholdFolder(const std::string& programFolder);

// "Rand.acc" (random intent) or "Seq.acc" in the folder: the leading number of
// its first comma- or line-delimited item. A file that cannot be read is
// reported as "Could not open <path> for threshold input" and gives 0.
double ReadUsageThreshold(const std::string& folder, UsageIntent intent, MessageSink& sink);

// What one run looks at: pool p, simulation slot s, size point k.
struct ClusterQuery {
    int Pool = 0;
    int Simulation = 0;
    int SizePoint = 0;
    UsageIntent Intent = UsageIntent::Random;
    double Radius = 0;
};

// One run with the threshold of the intent read from the folder.
ClusterRun RunClusterAnalysis(const ReportModel& model, const std::string& accFolder, const ClusterQuery& query,
                              MessageSink& sink);
const std::vector<std::string>& ClusterGridHeadings();        // "Object", "Smallest Max WS", "Largest Max WS"
const std::vector<std::string>& ClusterObjectGridHeadings();  // "Type", "Object", "Max Work Set"

// A grid emptied as the page empties it: headings and one blank data row.
StringTable EmptyClusterGrid(const std::vector<std::string>& headings);

// grdClusters after a run: one row per cluster, its number and the smallest
// and largest maximum working set of its members; the blank row when the run
// found none.
StringTable FillClusterGrid(const ClusterRun& run);

struct ClusterObjects {
    StringTable Grid;
    std::string StatusText;  // "12 Objects in Cluster 3"
};
// grdClusterObjects for cluster m: its members in pool order with type, long
// name and maximum working set. Cluster 0 shows nothing (no value).
std::optional<ClusterObjects> ShowClusterObjects(const ReportModel& model, const ClusterRun& run, int m);
// The rows ShowClusterObjects gives for every cluster 1..Result (element
// m - 1), made in one pass over the members.
std::vector<std::vector<std::vector<std::string>>> MembersByCluster(const ReportModel& model, const ClusterRun& run);

// The radius spinner works in tenths between 0.4 and 7.6: a step from the
// typed text (its leading number times ten, halves to even) by +1 or -1,
// kept within bounds, written in the shortest decimal form.
std::string StepRadiusText(std::string_view typed, int direction);

// The simulation-number spinner: a step from the typed number, kept within
// 1..simCount.
std::string StepSimulationNumber(std::string_view typed, int direction, int simCount);
// The whole number a box or a grid cell holds (halves to even); none when it
// holds no number.
std::optional<int> WholeNumberOf(std::string_view typed);

// The file name of pool p's simulation slot s ("" when the slot is not
// used), and its simulated pool sizes as the pool-size list shows them
// (points below 1 left out).
std::string SimulationFileName(const ReportModel& model, int p, int s);
std::vector<std::string> SimulationPoolSizes(const ReportModel& model, int p, int s);

inline constexpr const char* kClusterNotApplicable =
    "The WkSet Size for all objects in the pool is zero. Cluster Analysis not applicable";

}  // namespace kov
