// How fast a trend is built from a month of hourly statistics reports at
// capacity, measured against one core merely splitting the same files into
// lines.
//
// At start-up the writer produces the series (kovgraph-make-samples
// --series N --capacity writes the same files): N hourly reports of one system of
// 60 pools and 5000 objects, N = 720 unless KOVGRAPH_TREND_REPORTS says
// otherwise. With KOVGRAPH_TREND_FOLDER the series is written there once and
// reused by later runs; without it, into a temporary folder removed at the end.
//   TrendFromFiles/0 the trend of every report, read on every core
//   TrendFromFiles/1 the same on one core
//   LineScan         ReadReportLine over every file, on one core
// After the runs a summary sets each trend against the line scan: the median
// when run with repetitions, else the mean of the runs.

#include <benchmark/benchmark.h>
#include <unistd.h>

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

#include "WallTimeReporter.h"
#include "analysis/Trend.h"
#include "readers/ReportLineReader.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace {

namespace fs = std::filesystem;

struct Series {
    std::vector<std::string> Files;
    std::int64_t Bytes = 0;
};

Series& TheSeries() {
    static Series series;
    return series;
}

int ReportCount() {
    const char* text = std::getenv("KOVGRAPH_TREND_REPORTS");
    const int count = text ? std::atoi(text) : 720;
    return count > 0 ? count : 720;
}

// The series in the folder, written where a report is missing, so that a
// folder kept between runs is written once.
void WriteSeries(const fs::path& folder, int count) {
    Series& series = TheSeries();
    const kov::SamplePlan base = kov::CapacitySeriesBase();
    for (int r = 0; r < count; ++r) {
        const kov::SamplePlan plan = kov::SeriesPlan(base, r, count);
        const fs::path path = folder / kov::SeriesFileName(plan);
        if (!fs::exists(path)) {
            const kov::ReportModel model = kov::GenerateReport(plan);
            const fs::path partial = path.string() + ".part";
            {
                std::ofstream out(partial, std::ios::binary);
                kov::WriteStatReport(model, out);
                if (!out) throw std::runtime_error("cannot write " + partial.string());
            }
            fs::rename(partial, path);
        }
        series.Files.push_back(path.string());
        series.Bytes += static_cast<std::int64_t>(fs::file_size(path));
    }
}

fs::path MakeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "kovgraph-trend-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder under " + fs::temp_directory_path().string());
    return pattern;
}

void TrendFromFiles(benchmark::State& state) {
    const Series& series = TheSeries();
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const kov::TrendResult trend = kov::TrendFromFiles(series.Files, {}, threads);
        if (!trend.LeftOut.empty() || trend.Systems.size() != 1 ||
            trend.Systems[0].Reports.size() != series.Files.size()) {
            state.SkipWithError("not every report of the series is in the trend");
            break;
        }
        benchmark::DoNotOptimize(trend.Systems.data());
    }
    state.SetBytesProcessed(state.iterations() * series.Bytes);
}

void LineScan(benchmark::State& state) {
    const Series& series = TheSeries();
    for (auto _ : state) {
        std::size_t characters = 0;
        for (const std::string& path : series.Files) {
            kov::ReportLineReader lines;
            lines.Open(path);
            while (!lines.AtEnd()) characters += lines.ReadReportLine().size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * series.Bytes);
}

// The console output, then each trend set against the line scan.
class SummaryReporter : public WallTimeReporter {
public:
    explicit SummaryReporter(OutputOptions options) : WallTimeReporter(options) {}

    void Finalize() override {
        ConsoleReporter::Finalize();
        double scan = 0;
        if (!Seconds("LineScan", scan) || scan <= 0) return;
        std::ostream& out = GetOutputStream();
        out << "\nTrend of " << TheSeries().Files.size() << " capacity reports (" << TheSeries().Bytes / 1000000
            << " MB) against one core's line scan (" << Statistic() << " wall time, "
            << std::thread::hardware_concurrency() << " cores): line scan " << scan << " s\n";
        for (const std::string name : {"TrendFromFiles/0", "TrendFromFiles/1"}) {
            double seconds = 0;
            if (!Seconds(name, seconds)) continue;
            out << "  " << name << ": " << seconds << " s, " << seconds / scan << " x the line scan\n";
        }
    }
};

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const char* kept = std::getenv("KOVGRAPH_TREND_FOLDER");
    const fs::path folder = kept ? fs::path(kept) : MakeTemporaryFolder();
    fs::create_directories(folder);
    WriteSeries(folder, ReportCount());
    benchmark::RegisterBenchmark("LineScan", LineScan)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("TrendFromFiles", TrendFromFiles)
        ->Arg(0)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    SummaryReporter reporter(benchmark::ConsoleReporter::OO_Defaults);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (!kept) fs::remove_all(folder);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return RunBenchmarks(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_trend_bench: " << failure.what() << "\n";
        return 1;
    }
}
