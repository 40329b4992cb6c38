#pragma once
// The processor time sequential access costs: every sequential get page is
// charged 9 / 2,000,000 CPU seconds. Lists the objects with the most
// sequential get pages, for the whole report and for the current pool.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/ReportModel.h"
#include "views/ViewData.h"

namespace kov {

double ScanCpuSeconds(double sequentialGetPages);

const std::vector<std::string>& ScanCostHeadings();

// Up to `slots` (object, pool) pairs in descending order of sequential get
// pages, ties in table order, objects without sequential get pages never.
using ScanEntry = std::pair<int, int>;
std::vector<ScanEntry> TopScanObjects(const ReportModel& model, const std::vector<ScanEntry>& candidates, int slots);

// The three caption labels before the first fill of the page.
std::vector<LabelPair> InitialScanCostLabels();

// The collection interval in seconds, "#,###.000".
std::string CollectionTimeText(const ReportModel& model);

struct SystemScanCost {
    std::string SystemCost;  // "#,###.000"
    StringTable List;
};
// Nothing when the report has no pools (the page is then left as it was).
// An empty list shows one "None" row naming the current pool.
std::optional<SystemScanCost> PopulateScanCostsForSystem(const ReportModel& model, int currentPool);

struct PoolScanCost {
    std::string CollectionTime;  // elapsed seconds, "#,###.000"
    std::string Caption;         // "BP0      CPU Seconds Cost = "
    std::string PoolCost;
    StringTable List;
};
// Nothing when no pool is current.
std::optional<PoolScanCost> PopulateScanCostsForPool(const ReportModel& model, int p);

}  // namespace kov
