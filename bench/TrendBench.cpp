// How fast a trend is built from a month of hourly statistics reports at
// capacity, measured against one core merely splitting the same files into
// lines.
//
// The series is CapacitySeries.h's: N hourly reports, N = 720 unless
// KOVGRAPH_TREND_REPORTS says otherwise, kept in KOVGRAPH_TREND_FOLDER.
//   TrendFromFiles/0 the trend of every report, read on every core
//   TrendFromFiles/1 the same on one core
//   LineScan         ReadReportLine over every file, on one core
//   GetlineScan      std::getline over every file, on one core: the line
//                    scan of the read and history benchmarks
// A trend converts only the object counters it uses (TrendObjectCounters)
// and checks the others, and its objects hold their names in place, so what
// remains beside the line scan is mostly building each report's model (its
// object records), the counter check, the rules' census, the summary and
// the trend itself.
// After the runs a summary sets each trend against the line scan: the median
// when run with repetitions, else the mean of the runs. The process_s counter
// is the processor time of all threads per run, which a busy machine
// disturbs less than the wall time.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "CapacitySeries.h"
#include "WallTimeReporter.h"
#include "analysis/Trend.h"
#include "common/HeapPolicy.h"
#include "readers/ReportLineReader.h"

namespace {

namespace fs = std::filesystem;

CapacitySeries& TheSeries() {
    static CapacitySeries series;
    return series;
}

// Processor seconds of every thread of the process so far: on a shared
// machine the wall time says more about the neighbours than about the work.
double ProcessSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void CountProcessSeconds(benchmark::State& state, double start) {
    state.counters["process_s"] = benchmark::Counter(ProcessSeconds() - start, benchmark::Counter::kAvgIterations);
}

void TrendFromFiles(benchmark::State& state) {
    const CapacitySeries& series = TheSeries();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    const double start = ProcessSeconds();
    for (auto _ : state) {
        const kov::TrendResult trend = kov::TrendFromFiles(series.Files, {}, threads);
        if (!trend.LeftOut.empty() || trend.Systems.size() != 1 ||
            trend.Systems[0].Reports.size() != series.Files.size()) {
            state.SkipWithError("not every report of the series is in the trend");
            break;
        }
        benchmark::DoNotOptimize(trend.Systems.data());
    }
    CountProcessSeconds(state, start);
    state.SetBytesProcessed(state.iterations() * series.Bytes);
}

void LineScan(benchmark::State& state) {
    const CapacitySeries& series = TheSeries();
    const double start = ProcessSeconds();
    for (auto _ : state) {
        std::size_t characters = 0;
        for (const std::string& path : series.Files) {
            kov::ReportLineReader lines;
            lines.Open(path);
            while (!lines.AtEnd()) characters += lines.ReadReportLine().size();
        }
        benchmark::DoNotOptimize(characters);
    }
    CountProcessSeconds(state, start);
    state.SetBytesProcessed(state.iterations() * series.Bytes);
}

// The line scan the read and history benchmarks set their reads against.
void GetlineScan(benchmark::State& state) {
    const CapacitySeries& series = TheSeries();
    const double start = ProcessSeconds();
    for (auto _ : state) {
        std::size_t characters = 0;
        std::string line;
        for (const std::string& path : series.Files) {
            std::ifstream in(path, std::ios::binary);
            while (std::getline(in, line)) characters += line.size();
        }
        benchmark::DoNotOptimize(characters);
    }
    CountProcessSeconds(state, start);
    state.SetBytesProcessed(state.iterations() * series.Bytes);
}

// The console output, then each trend set against each line scan.
class SummaryReporter : public WallTimeReporter {
public:
    explicit SummaryReporter(OutputOptions options) : WallTimeReporter(options) {}

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        for (const std::string scanName : {"LineScan", "GetlineScan"}) {
            double scan = 0;
            if (!Seconds(scanName, scan) || scan <= 0) continue;
            out << "\nTrend of " << TheSeries().Files.size() << " capacity reports (" << TheSeries().Bytes / 1000000
                << " MB) against one core's " << scanName << " (" << Statistic() << " wall time, "
                << std::thread::hardware_concurrency() << " cores): " << scan << " s\n";
            for (const std::string name : {"TrendFromFiles/0", "TrendFromFiles/1"}) {
                double seconds = 0;
                if (!Seconds(name, seconds)) continue;
                out << "  " << name << ": " << seconds << " s, " << seconds / scan << " x the " << scanName << "\n";
            }
        }
        // How far the cores' work overlapped: on a shared machine two cores
        // may give far less than twice one, whatever the trend does.
        double all = 0;
        double one = 0;
        if (Seconds("TrendFromFiles/0", all) && Seconds("TrendFromFiles/1", one) && all > 0)
            out << "  every core against one: " << one / all << " times as fast\n";
    }
};

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TheSeries() = WriteCapacitySeries(ReportsWanted("KOVGRAPH_TREND_REPORTS", 720));
    benchmark::RegisterBenchmark("LineScan", LineScan)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("GetlineScan", GetlineScan)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("TrendFromFiles", TrendFromFiles)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    SummaryReporter reporter(benchmark::ConsoleReporter::OO_Defaults);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!TheSeries().Kept) fs::remove_all(TheSeries().Folder);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    kov::KeepFreedHeapForReuse();  // as the programs do
    try {
        return RunBenchmarks(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_trend_bench: " << failure.what() << "\n";
        return 1;
    }
}
