#pragma once
// Page 6, "Sim Graph Analysis": what one simulation of a pool would change.
// The ten objects with the largest and the smallest maximum working set at
// the largest simulated size, the pool's hit ratio or read I/O rate against
// the simulated pool size, the ten objects whose hit ratio rises (or I/O
// rate falls) most across the sizes, and one object's results size point by
// size point. Every function works on pool p and its simulation slot s;
// a pool, slot or object that does not exist gives an empty view.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ReportModel.h"
#include "views/ChartData.h"
#include "views/ViewData.h"

namespace kov {

// The size point with the largest simulated pool size among those where the
// pool had get pages; the first of equal sizes wins. 0 when there is none
// (every value taken there then reads 0).
int LargestSizePoint(const ReportModel& model, int p, int s);

// chartLImprove and chartSImprove: bars of the maximum working sets at
// LargestSizePoint, ascending from the first point to the last, each bar's
// object in its hidden series; in thousands (" * 1K") once a value passes 9999.
ChartData ChartLargestWorkSets(const ReportModel& model, int p, int s);
ChartData ChartSmallestWorkSets(const ReportModel& model, int p, int s);

// chartOptPoolSize: the pool's system hit ratio or read I/O rate at every
// size point, against the simulated pool size.
ChartData ChartPoolSizeHitRatio(const ReportModel& model, int p, int s);
ChartData ChartPoolSizeReadIORate(const ReportModel& model, int p, int s);

// chartObjLargestImp: the ten objects whose hit ratio (I/O rate) spreads
// most over the size points where they still had a working set.
ChartData ChartLargestHitRatioGain(const ReportModel& model, int p, int s);
ChartData ChartLargestIORateReduction(const ReportModel& model, int p, int s);

// The two charts an optGreatestImprovement option draws: option 0 "Sys Hit
// Ratio", option 1 "I/O Rate". Any other option draws nothing.
struct ImprovementCharts {
    ChartData PoolSize;
    ChartData Improvement;
};
std::optional<ImprovementCharts> GreatestImprovementCharts(const ReportModel& model, int p, int s, int option);

inline constexpr const char* kSysHitRatioOption = "Sys Hit Ratio";
inline constexpr const char* kIORateOption = "I/O Rate";

// lvSimObjectDetails: "Pool Size", then one column per size point headed by
// its simulated pool size (none while the slot has no simulation); the five
// row texts, "Get Pages" first.
std::vector<std::string> SimDetailHeadings(const ReportModel& model, int p, int s);
const std::vector<std::string>& SimDetailRowTexts();

// The details panel for one object of slot s. Rows is empty when there is
// no such object: the list then keeps what it showed.
struct SimObjectDetails {
    std::string Caption;                         // "Object - DB1.TS1"
    std::vector<std::vector<std::string>> Rows;  // row text, then one cell per size point
};
SimObjectDetails ShowSimObjectDetails(const ReportModel& model, int p, int s, int object, std::string_view name);

// The panel as a click on the last point of the largest working-set chart
// opens it; none for a pool without objects.
std::optional<SimObjectDetails> LargestWorkSetDetails(const ReportModel& model, int p, int s);

}  // namespace kov
