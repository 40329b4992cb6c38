#pragma once
// Synthetic report data whose counters agree with each other the way a real
// collection's do: hit ratios match get pages and pages read, pool lines are
// the sums of their objects, simulated hit ratios pass through the measured
// one at the pool's real size. Used for the bundled samples, the benchmark's
// capacity data and test fixtures. Deterministic for a given seed.

#include <cstdint>
#include <string>
#include <vector>

#include "model/ReportModel.h"

namespace kov {

// What kind of work a pool carries decides its access pattern.
enum class PoolUse { Catalog, Data, Index, Warehouse, SortWork, Lob };

struct PoolPlan {
    std::string Name;
    PoolUse Use = PoolUse::Data;
    int Objects = 0;
    std::int32_t VPSize = 0;
    std::int32_t HPSize = 0;
    bool DataSpace = false;
    // Scales the share of get pages that miss the pool: below 1 after the
    // pool grew, above 1 after it shrank. The random draws stay the same, so
    // a report made with another factor differs in the misses alone.
    double MissFactor = 1.0;
};

struct SamplePlan {
    std::vector<PoolPlan> Pools;
    std::uint64_t Seed = 1;
    std::string System = "SYSA";
    std::string SubSystem = "DB2P";
    std::string DB2Version = "8.1";
    std::string DSGroup = "DSGP";
    std::string CollectionDate = "2026-11-30";
    std::string CollectionTime = "10:00:00";
    std::string ElapsedTime = "01:00:00";
};

// The statistics part: header, pools and objects, no simulations.
ReportModel GenerateReport(const SamplePlan& plan);

// Replays pool p at `points` simulated sizes (one of them the pool's own
// VP + HP size) and attaches the results as the next simulation.
// Returns the simulation number.
int AddSimulation(ReportModel& model, int pool, int points, std::uint64_t seed);

// The bundled sample system: eight pools, about 300 objects.
SamplePlan BundledSamplePlan();

// The bundled system a week later, after its DBA grew BP1 (its hiperpool
// given up for a larger virtual pool) and shrank BP2, so that BP1 misses
// fewer pages and BP2 more; BP32K was dropped, BP4 added, and BP16K0 took two
// more LOB table spaces. The interval has the same length, so the pools
// nobody touched compare unchanged. The after report of a comparison.
SamplePlan ChangedSamplePlan();

// Capacity data: 60 pools and 5000 objects, all in the first pool so that a
// simulation of it carries 5000 objects.
SamplePlan CapacityPlan();

// Report `report` (from 0) of an hourly series of `count` reports of the base
// system, the first collected 2026-11-01 00:00:00: every pool's misses drift
// with the hour of the day and slowly over the series, and the second pool's
// virtual pool grows by half from the series' middle report on, after which
// it misses fewer pages. The draws stay the same, so objects keep their names
// and their counters move with the misses alone.
SamplePlan SeriesPlan(const SamplePlan& base, int report, int count);

// "SYSA_DB2P_20261101_00.sta": system, subsystem, collection date and hour.
std::string SeriesFileName(const SamplePlan& plan);

// The largest system a series holds: 60 pools and 5000 objects spread over
// them, so that every pool has objects to rise and fall.
SamplePlan CapacitySeriesBase();

}  // namespace kov
