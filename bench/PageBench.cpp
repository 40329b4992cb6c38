// What moving to a pool of 5000 objects costs the pages that follow it: the
// 24 pool charts, the Object Info page's list and grid, and the simulation
// graph page at 16 size points. Each must stay within one frame (16 ms).
// And the whole window on the capacity report: from Next to its first
// complete fill (target 100 ms), and one Next Pool with every refresh step
// (one frame). The graphic summary of 60 pools fills within one frame too.
// The trend window redraws a month of 60 pools without a noticeable wait.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <functional>

#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "analysis/ObjectViews.h"
#include "analysis/PoolCharts.h"
#include "analysis/SimGraphs.h"
#include "analysis/TrendViews.h"
#include "common/AtomicFile.h"
#include "frmStatAnalysis.h"
#include "frmTrend.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/SimGraphPage.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"
#include "snapshot/WindowSnapshot.h"

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

// The graphic summary of the capacity report's 60 pools as the window fills
// it on opening the page: the eleven charts' data from the pool grid, the
// chosen tab's chart drawn (60 named bars, a scrolling chart), then the events
// it leaves, on a shown page. Target: one frame.
void FillGraphicSummaryPage(benchmark::State& state) {
    const Capacity& c = CapacityReport();
    const kov::StringTable poolGrid = kov::PoolGrid(c.Model);
    kov::GraphicSummaryPage page;
    page.resize(1260, 740);
    page.show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.ShowCharts(kov::DrawGraphicSummary(poolGrid));
        page.repaint();
        QApplication::processEvents();
    }
    state.counters["pools"] = static_cast<double>(poolGrid.Rows.size());
}
BENCHMARK(FillGraphicSummaryPage)->Unit(benchmark::kMillisecond);

// A window over the capacity report with desktop services that never block.
struct CapacityWindow {
    kov::ReportModel Model = kov::GenerateReport(kov::CapacityPlan());
    kov::CollectingSink Sink;
    kov::AppState State;
    kov::frmStatAnalysis Window{Model, Sink, State, Services()};

    static kov::AppServices Services() {
        kov::AppServices services;
        services.RunModal = [](QDialog&) {};
        services.EndProgram = [] {};
        return services;
    }
    CapacityWindow() {
        Model.StatsLoaded = true;
        Window.resize(1280, 800);
    }
    void Settle() {
        Window.repaint();
        QApplication::processEvents();
    }
};

// Next closes the file selection and shows the window; showing it fills
// every page (header, pool grid, totals, charts, objects, tuning, scan cost).
void WindowFirstFill(benchmark::State& state) {
    CapacityWindow c;
    for (auto _ : state) {
        c.Window.show();
        c.Settle();
        state.PauseTiming();
        c.Window.hide();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(WindowFirstFill)->Unit(benchmark::kMillisecond);

// One pool step onto the pool of 5000 objects (from its empty neighbour, so
// every view really changes), on the Pool Info page, with every view that
// follows the pool refreshed and repainted. Next and Previous run the same
// refresh; the capacity report's big pool is the first, so Previous reaches it.
void NextPoolStep(benchmark::State& state) {
    CapacityWindow c;
    c.Window.show();
    c.Window.SelectPoolFromGrid(QString::fromStdString(c.Model.Pools(1).PoolName.TrimmedString()));
    c.Window.tbsStats()->setCurrentIndex(2);
    c.Settle();
    for (auto _ : state) {
        state.PauseTiming();
        c.Window.cmdNextPool_Click();
        c.Settle();
        state.ResumeTiming();
        c.Window.cmdPreviousPool_Click();
        c.Settle();
    }
    state.counters["objects"] = c.Model.Pools(1).LastObject - c.Model.Pools(1).FirstObject + 1;
}
BENCHMARK(NextPoolStep)->Unit(benchmark::kMillisecond);
// The capacity pool simulated at 16 sizes, current as the window keeps it.
kov::ReportModel& SimulatedCapacity() {
    static kov::ReportModel model = [] {
        kov::ReportModel simulated = kov::GenerateReport(kov::CapacityPlan());
        kov::AddSimulation(simulated, 1, kov::MaxSizes, 16);
        simulated.CurrentPool = 1;
        simulated.CurrentSimulation = 1;
        return simulated;
    }();
    return model;
}

void SimGraphViewData(benchmark::State& state) {
    const kov::ReportModel& model = SimulatedCapacity();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kov::ChartLargestWorkSets(model, 1, 1));
        benchmark::DoNotOptimize(kov::ChartSmallestWorkSets(model, 1, 1));
        benchmark::DoNotOptimize(kov::GreatestImprovementCharts(model, 1, 1, 0));
        benchmark::DoNotOptimize(kov::SimDetailHeadings(model, 1, 1));
    }
    state.counters["objects"] = model.Pools(1).LastObject - model.Pools(1).FirstObject + 1;
}
BENCHMARK(SimGraphViewData)->Unit(benchmark::kMillisecond);

// Entering page 6 as the window does (both working-set charts, the hit-ratio
// pair, the detail columns), then the events it leaves, on a shown page.
void FillSimGraphPage(benchmark::State& state) {
    kov::CollectingSink sink;
    kov::SimGraphPage page(SimulatedCapacity(), sink);
    page.resize(1260, 740);
    page.show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.EnterPage();
        page.DrawImprovementCharts(0);
        page.ShowSimDetailColumns();
        page.repaint();
        QApplication::processEvents();
    }
    if (!sink.Messages.empty()) state.SkipWithError("the page raised a message");
}
BENCHMARK(FillSimGraphPage)->Unit(benchmark::kMillisecond);

// The capacity set on disk as kovgraph-make-samples --capacity writes it
// (25 simulations of the pool of 5000 objects), with the threshold files.
struct CapacityFiles {
    QTemporaryDir Folder;
    kov::snapshot::SnapshotOptions Options;
    CapacityFiles() {
        kov::ReportModel model = kov::GenerateReport(kov::CapacityPlan());
        for (int k = 1; k <= kov::MaxSimulations; ++k) kov::AddSimulation(model, 1, kov::MaxSizes, 1000 + k);
        const auto write = [this](const QString& name, const std::function<void(std::ostream&)>& content) {
            kov::WriteFileAtomically(Folder.filePath(name).toStdString(), content);
            return Folder.filePath(name);
        };
        Options.Files.StatFile = write("capacity.sta", [&](std::ostream& out) { kov::WriteStatReport(model, out); });
        for (int k = 1; k <= model.SimulationCount; ++k)
            Options.Files.SimFiles << write(QString("capacity_%1.sim").arg(k),
                                            [&](std::ostream& out) { kov::WriteSimReport(model, k, out); });
        for (const char* name : {"Rand.acc", "Seq.acc"}) write(name, [](std::ostream& out) { out << "50\r\n"; });
        Options.AccDir = Folder.path();
    }
};

// kovgraph --snapshot of the capacity set without the file write: reading,
// Next, and every page filled and read back (24 graph types of 60 pools, 25
// simulation slots of 5000 objects with both intents' clusters). A measure
// of how fast every page fills.
void WholeSnapshotOfCapacity(benchmark::State& state) {
    const CapacityFiles files;
    std::size_t pools = 0;
    for (auto _ : state) pools = kov::snapshot::TakeSnapshot(files.Options).Document["pools"].size();
    state.counters["pools"] = static_cast<double>(pools);
}
BENCHMARK(WholeSnapshotOfCapacity)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// A month of hourly reports of 60 pools, as the trend window holds it: every
// figure drifting, a size change in every tenth pool, ten rising and ten
// falling objects and two advice lines a pool.
kov::TrendResult MonthOfCapacity() {
    constexpr std::size_t kReports = 720;
    kov::SystemTrend system;
    system.System = "SYSA/DB2P";
    for (std::size_t i = 0; i < kReports; ++i) {
        const std::string day = std::to_string(101 + i / 24).substr(1);
        const std::string hour = std::to_string(100 + i % 24).substr(1);
        system.Reports.push_back(
            {"r" + std::to_string(i) + ".sta", system.System, "2026-11-" + day, hour + ":00:00", 3600});
    }
    for (int p = 0; p < kov::MaxPools; ++p) {
        kov::PoolTrend pool;
        pool.Name = "BP" + std::to_string(p);
        pool.Figures.assign(kov::TrendFigureNames().size(), kov::FigureSeries(kReports));
        for (std::size_t f = 0; f < pool.Figures.size(); ++f)
            for (std::size_t i = 0; i < kReports; ++i)
                pool.Figures[f][i] = 90 + static_cast<double>((i * 7 + f + static_cast<std::size_t>(p)) % 10);
        if (p % 10 == 1) pool.Events.push_back({kReports / 2, "VP size 6,000 -> 9,000"});
        for (int k = 0; k < 10; ++k) {
            pool.SyncReadIORises.push_back({"TS" + std::to_string(k), "T", 0, kReports - 1, 1, 2.0 + k, 1.0 + k});
            pool.SyncReadIOFalls.push_back({"IX" + std::to_string(k), "I", 0, kReports - 1, 9, 1, -8});
        }
        pool.Advice[0] = {{"Increase the pool size", {0, 1, 2}}, {"Review the objects", {5, 6}}};
        system.Pools.push_back(std::move(pool));
    }
    kov::TrendResult result;
    result.Systems.push_back(std::move(system));
    return result;
}

// The trend window with all 60 pools chosen: another figure chosen redraws
// the chart of 60 lines over 720 reports and the four grids of the pools.
void TrendWindowAllPools(benchmark::State& state) {
    kov::frmTrend window;
    window.ShowTrend(MonthOfCapacity());
    {
        const QSignalBlocker quiet(window.lstTrendPools());
        for (int row = 0; row < window.lstTrendPools()->count(); ++row)
            window.lstTrendPools()->item(row)->setCheckState(Qt::Checked);
    }
    window.resize(1300, 820);
    window.show();
    QApplication::processEvents();
    int figure = 0;
    for (auto _ : state) {
        figure = figure == 3 ? 4 : 3;
        window.cboTrendFigure()->setCurrentIndex(figure);
        window.repaint();
        QApplication::processEvents();
    }
    state.counters["pools"] = static_cast<double>(window.ChosenPools().size());
}
BENCHMARK(TrendWindowAllPools)->Unit(benchmark::kMillisecond);

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
