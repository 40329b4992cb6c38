// The page computations that scan a whole pool or report, on the capacity
// report (60 pools, 5000 objects, all in BP1): each must stay well under a
// frame when the DBA moves between pools.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "analysis/CompareReports.h"
#include "analysis/DataChecks.h"
#include "analysis/ScanCost.h"
#include "analysis/TuningRules.h"
#include "cluster/ClusterAnalysis.h"
#include "sampledata/SampleGenerator.h"

namespace {

const kov::ReportModel& CapacityModel() {
    static const kov::ReportModel model = kov::GenerateReport(kov::CapacityPlan());
    return model;
}

void ScanCostsForSystem(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) benchmark::DoNotOptimize(kov::PopulateScanCostsForSystem(model, 1));
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

// Once per load: every check over the 60 pools and 5000 objects.
void RunDataChecks(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) benchmark::DoNotOptimize(kov::RunDataChecks(model));
}
BENCHMARK(RunDataChecks)->Unit(benchmark::kMicrosecond);

// What a change of pool costs the two pages together, plus the report-wide list.
void ScanCostsAndRules(benchmark::State& state) {
    const kov::ReportModel& model = CapacityModel();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::PopulateScanCostsForSystem(model, 1));
        benchmark::DoNotOptimize(kov::EvaluatePoolRules(model, 1, 'R'));
    }
}
BENCHMARK(ScanCostsAndRules)->Unit(benchmark::kMicrosecond);

// Two capacity reports compared (60 pools, 5000 objects each, every object
// matched, other counters and a longer interval in the after one): what
// "Compare with..." and kovgraph-report --compare cost once both are read.
// Target: at most 50 ms.
void CompareCapacityReports(benchmark::State& state) {
    const kov::ReportModel& before = CapacityModel();
    kov::SamplePlan plan = kov::CapacityPlan();
    plan.Seed += 1;
    plan.ElapsedTime = "01:05:00";
    const kov::ReportModel after = kov::GenerateReport(plan);
    for (auto _ : state) benchmark::DoNotOptimize(kov::CompareReports(before, after));
}
BENCHMARK(CompareCapacityReports)->Unit(benchmark::kMillisecond);

// The capacity pool with a 16-point simulation in which every one of its
// 5000 objects takes part: read at least once, a working set at point 1,
// and thresholds of 0 in a folder of their own. With `distinct`, every
// object's working set differs from all others (the generated ones repeat),
// which is the worst case for radius 0: 5000 clusters.
struct ClusterBench {
    kov::ReportModel Model;
    std::string AccFolder;

    explicit ClusterBench(bool distinct) : Model(kov::GenerateReport(kov::CapacityPlan())) {
        kov::AddSimulation(Model, 1, 16, 7);
        std::int32_t index = 0;
        for (kov::ObjectRecord& object : Model.Objects) {
            if (object.Sims.empty()) continue;
            if (object.Activity.GetPages < 1) object.Activity.GetPages = 1;
            object.Activity.GetPagesByAccess[2] = object.Activity.GetPages;
            std::int32_t& workSet = object.Sims[0].Detail5[1];
            if (workSet < 1) workSet = 1;
            // Spread out by the object's place, keeping the generated order of sizes.
            if (distinct) workSet = workSet * 5000 + index++;
        }
        AccFolder = (std::filesystem::temp_directory_path() / "kovgraph-bench-acc").string();
        std::filesystem::create_directories(AccFolder);
        std::ofstream(AccFolder + "/Rand.acc") << "0\r\n";
        std::ofstream(AccFolder + "/Seq.acc") << "0\r\n";
    }
};

// One rerun of the cluster page: what each 150 ms tick of a held radius
// spinner costs.
void RunClusterAnalysis(benchmark::State& state, const ClusterBench& data, double radius) {
    kov::CollectingSink sink;
    kov::ClusterRun run;
    for (auto _ : state) {
        run = kov::RunClusterAnalysis(data.Model, data.AccFolder, {1, 1, 1, 'R', radius}, sink);
        benchmark::DoNotOptimize(run);
    }
    state.counters["members"] = static_cast<double>(run.ClusterMembers.size());
    state.counters["clusters"] = run.Result;
    if (!sink.Messages.empty()) state.SkipWithError(sink.Messages.front().Text.c_str());
}

void RunClusterAnalysisRadius04(benchmark::State& state) {
    static const ClusterBench data(false);
    RunClusterAnalysis(state, data, 0.4);
}
BENCHMARK(RunClusterAnalysisRadius04)->Unit(benchmark::kMillisecond);

void RunClusterAnalysisRadius0(benchmark::State& state) {
    static const ClusterBench data(false);
    RunClusterAnalysis(state, data, 0);
}
BENCHMARK(RunClusterAnalysisRadius0)->Unit(benchmark::kMillisecond);

void RunClusterAnalysisRadius0Distinct(benchmark::State& state) {
    static const ClusterBench data(true);
    RunClusterAnalysis(state, data, 0);
}
BENCHMARK(RunClusterAnalysisRadius0Distinct)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
