// The history database over a series of capacity reports (60 pools, 5000
// objects in BP1, one report an hour, BP1 grown half-way):
//   LineScan              std::getline over every report, one core: the floor
//   AddReports/threads:N  kovgraph-report --history DB --add of the series
//                         into a new database (0: all cores)
//   OnePoolTrend/BP1      the trend of BP1 (5000 objects a report) from the database
//   OnePoolTrend/BP10     the trend of a pool without objects
//   WholeTrend            the trend of every pool from the database
// Then the database's size against the reports' text.
//
// KOVGRAPH_HISTORY_REPORTS sets the number of reports (default 48; a month
// of hourly reports is 720 and takes about 1.5 GB of text).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "history/HistoryDatabase.h"
#include "readers/ReportWriter.h"
#include "report/HistoryReport.h"
#include "sampledata/SampleGenerator.h"

namespace {

namespace fs = std::filesystem;

struct Series {
    fs::path Folder;
    std::vector<std::string> Files;
    std::uintmax_t TextBytes = 0;
    std::string Database;  // filled once, read by the trend benchmarks
};

Series& TheSeries() {
    static Series series;
    return series;
}

std::string TwoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

void WriteSeries(Series& series, int reports) {
    for (int r = 0; r < reports; ++r) {
        kov::SamplePlan plan = kov::CapacityPlan();
        plan.Seed = 5000 + static_cast<std::uint64_t>(r);
        plan.CollectionDate = "2026-11-" + TwoDigits(1 + r / 24);
        plan.CollectionTime = TwoDigits(r % 24) + ":00:00";
        if (r >= reports / 2) {
            plan.Pools[0].VPSize += 40000;
            plan.Pools[0].MissFactor = 0.8;
        }
        const kov::ReportModel model = kov::GenerateReport(plan);
        const fs::path path = series.Folder / ("SYSA_DB2P_" + std::to_string(r) + ".sta");
        std::ofstream out(path, std::ios::binary);
        kov::WriteStatReport(model, out);
        out.close();
        if (!out) throw std::runtime_error("cannot write " + path.string());
        series.Files.push_back(path.string());
        series.TextBytes += fs::file_size(path);
    }
}

void LineScan(benchmark::State& state) {
    const Series& series = TheSeries();
    for (auto _ : state) {
        std::size_t lines = 0;
        std::string line;
        for (const std::string& file : series.Files) {
            std::ifstream in(file, std::ios::binary);
            while (std::getline(in, line)) ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(series.TextBytes));
}
BENCHMARK(LineScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void AddReports(benchmark::State& state) {
    const Series& series = TheSeries();
    const std::string database = (series.Folder / "add.db").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(database);
        std::ostringstream out;
        std::ostringstream err;
        state.ResumeTiming();
        if (kov::RunHistoryAdd(database, series.Files, out, err, static_cast<unsigned>(state.range(0))) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(series.TextBytes));
}
BENCHMARK(AddReports)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void OnePoolTrend(benchmark::State& state, const char* pool) {
    for (auto _ : state) benchmark::DoNotOptimize(kov::TrendFromHistory(TheSeries().Database, {}, pool));
}
BENCHMARK_CAPTURE(OnePoolTrend, BP1, "BP1")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(OnePoolTrend, BP10, "BP10")->Unit(benchmark::kMillisecond)->UseRealTime();

void WholeTrend(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kov::TrendFromHistory(TheSeries().Database));
}
BENCHMARK(WholeTrend)->Unit(benchmark::kMillisecond)->UseRealTime();

fs::path MakeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "kovgraph-history-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder under " + fs::temp_directory_path().string());
    return pattern;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const char* count = std::getenv("KOVGRAPH_HISTORY_REPORTS");
    const int reports = count != nullptr ? std::max(2, std::atoi(count)) : 48;
    Series& series = TheSeries();
    int status = 0;
    try {
        series.Folder = MakeTemporaryFolder();
        WriteSeries(series, reports);
        series.Database = (series.Folder / "history.db").string();
        std::ostringstream out;
        if (kov::RunHistoryAdd(series.Database, series.Files, out, std::cerr) != 0)
            throw std::runtime_error("the series could not be stored");
        const auto databaseBytes = fs::file_size(series.Database);
        std::printf("%d reports: %.1f MB of text, database %.1f MB (%.3f of the text)\n", reports,
                    static_cast<double>(series.TextBytes) / 1e6, static_cast<double>(databaseBytes) / 1e6,
                    static_cast<double>(databaseBytes) / static_cast<double>(series.TextBytes));
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_history_bench: " << failure.what() << "\n";
        status = 1;
    }
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(series.Folder, ignored);
    return status;
}
