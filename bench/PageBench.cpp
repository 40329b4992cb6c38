// What moving to a pool of 5000 objects costs the pages that follow it: the
// 24 pool charts, and the Object Info page's list and grid. Each must stay
// within one frame (16 ms).

#include <QApplication>
#include <benchmark/benchmark.h>

#include "pages/ObjectInfoPage.h"
#include "analysis/ObjectViews.h"
#include "analysis/PoolCharts.h"
#include "sampledata/SampleGenerator.h"

namespace {

struct Capacity {
    kov::ReportModel Model = kov::GenerateReport(kov::CapacityPlan());
    int BigPool = 1;
    Capacity() {
        for (int p = 1; p <= Model.PoolCount(); ++p)
            if (Model.Pools(p).LastObject - Model.Pools(p).FirstObject >
                Model.Pools(BigPool).LastObject - Model.Pools(BigPool).FirstObject)
                BigPool = p;
        Model.CurrentPool = BigPool;
    }
};

const Capacity& CapacityReport() {
    static const Capacity capacity;
    return capacity;
}

void AllPoolCharts(benchmark::State& state) {
    const Capacity& c = CapacityReport();
    const int types = static_cast<int>(kov::PoolGraphTypes().size());
    for (auto _ : state)
        for (int position = 1; position <= types; ++position)
            benchmark::DoNotOptimize(kov::PoolChart(c.Model, c.BigPool, position));
    state.counters["objects"] = c.Model.Pools(c.BigPool).LastObject - c.Model.Pools(c.BigPool).FirstObject + 1;
}
BENCHMARK(AllPoolCharts)->Unit(benchmark::kMillisecond);

void ObjectViewData(benchmark::State& state) {
    const Capacity& c = CapacityReport();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::ObjectListItems(c.Model, c.BigPool));
        benchmark::DoNotOptimize(kov::ObjectGrid(c.Model, c.BigPool));
    }
}
BENCHMARK(ObjectViewData)->Unit(benchmark::kMillisecond);

// The whole refill as the window does it, then the events it leaves (layout
// and the repaint of the visible rows), on a shown page.
void FillObjectInfoPage(benchmark::State& state) {
    const Capacity& c = CapacityReport();
    kov::ObjectInfoPage page;
    page.resize(1260, 740);
    page.show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.FillObjectViews(kov::ObjectListItems(c.Model, c.BigPool), kov::ObjectGrid(c.Model, c.BigPool));
        page.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(FillObjectInfoPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
