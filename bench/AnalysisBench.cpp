// The page computations that scan a whole pool or report, on the capacity
// report (60 pools, 5000 objects, all in BP1): each must stay well under a
// frame when the DBA moves between pools.

#include <benchmark/benchmark.h>

#include "analysis/ScanCost.h"
#include "analysis/TuningRules.h"
#include "sampledata/SampleGenerator.h"

namespace {

const kov::ReportModel& CapacityModel() {
    static const kov::ReportModel model = [] {
        kov::ReportModel m = kov::GenerateReport(kov::CapacityPlan());
        m.CurrentPool = 1;
        return m;
    }();
    return model;
}

void ScanCostsForSystem(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) benchmark::DoNotOptimize(kov::PopulateScanCostsForSystem(model));
}
BENCHMARK(ScanCostsForSystem)->Unit(benchmark::kMicrosecond);

void ScanCostsForPool(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) benchmark::DoNotOptimize(kov::PopulateScanCostsForPool(model, 1));
}
BENCHMARK(ScanCostsForPool)->Unit(benchmark::kMicrosecond);

void EvaluatePoolRules(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) benchmark::DoNotOptimize(kov::EvaluatePoolRules(model, 1, 'R'));
}
BENCHMARK(EvaluatePoolRules)->Unit(benchmark::kMicrosecond);

// What a change of pool costs the two pages together, plus the report-wide list.
void ScanCostsAndRules(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::PopulateScanCostsForSystem(model));
        benchmark::DoNotOptimize(kov::EvaluatePoolRules(model, 1, 'R'));
    }
}
BENCHMARK(ScanCostsAndRules)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
