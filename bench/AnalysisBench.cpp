// The page computations that scan a whole pool or report, on the capacity
// report (60 pools, 5000 objects, all in BP1): each must stay well under a
// frame when the DBA moves between pools.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "analysis/CompareReports.h"
#include "analysis/DataChecks.h"
#include "analysis/ScanCost.h"
#include "analysis/SizeAdvice.h"
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
    for (auto _ : state) benchmark::DoNotOptimize(kov::EvaluatePoolRules(model, 1, kov::UsageIntent::Random));
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
        benchmark::DoNotOptimize(kov::EvaluatePoolRules(model, 1, kov::UsageIntent::Random));
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
        run = kov::RunClusterAnalysis(data.Model, data.AccFolder, {1, 1, 1, kov::UsageIntent::Random, radius}, sink);
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

// 25 pools of 20 simulated sizes each, of mixed page sizes and sizes that
// share no common step, so few partial choices coincide in memory; each curve
// falls with size and drops steeply somewhere, as working sets fit.
std::vector<kov::PoolSizeCurve> ManyCurves() {
    std::mt19937 random(7);
    std::vector<kov::PoolSizeCurve> curves;
    const char* pageNames[] = {"BP", "BP8K", "BP16K", "BP32K"};
    for (int p = 0; p < 25; ++p) {
        kov::PoolSizeCurve curve;
        curve.Name = std::string(pageNames[p % 4]) + std::to_string(p);
        curve.PageKB = kov::PageKB(curve.Name);
        const std::int32_t step = 997 + 131 * p;
        const int drop = std::uniform_int_distribution<int>(3, 18)(random);
        double rate = std::uniform_real_distribution<double>(500, 5000)(random);
        for (int k = 0; k < 20; ++k) {
            const std::int32_t size = step * (k + 1);
            curve.Points.push_back({size, kov::BufferMB(size, curve.PageKB), rate, 0, {}});
            rate *= k == drop ? 0.3 : std::uniform_real_distribution<double>(0.9, 0.99)(random);
        }
        curve.CurrentPoint = 9;
        curve.CurrentSize = curve.Points[9].Size;
        curves.push_back(std::move(curve));
    }
    return curves;
}

// The exact allocation for the pools' current memory, and for twice as much.
void ChooseSizePoints(benchmark::State& state) {
    const std::vector<kov::PoolSizeCurve> curves = ManyCurves();
    std::int64_t currentKB = 0;
    for (const kov::PoolSizeCurve& curve : curves)
        currentKB += static_cast<std::int64_t>(curve.CurrentSize) * curve.PageKB;
    const std::int64_t budgetKB = currentKB * state.range(0);
    for (auto _ : state) benchmark::DoNotOptimize(kov::ChooseSizePoints(curves, budgetKB));
}
BENCHMARK(ChooseSizePoints)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
