// The history database over an hourly series of capacity reports (60 pools,
// 5000 objects spread over them, BP1 grown half-way; SeriesPlan):
//   LineScan              std::getline over every report, one core: the floor
//   AddReports/threads:N  kovgraph-report --history DB --add of the series
//                         into a new database (0: all cores)
//   OnePoolTrend/BP1      the trend of one pool (84 objects a report) from the database
//   WholeTrend            the trend of every pool from the database
// Before them, the database's size against the reports' text.
//
// KOVGRAPH_HISTORY_REPORTS sets the number of reports (default 48; a month
// of hourly reports is 720, about 1.8 GB of text); the series is
// CapacitySeries.h's, kept in KOVGRAPH_TREND_FOLDER when that is set (the
// databases are made beside it and removed at the end).

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

#include "CapacitySeries.h"
#include "common/HeapPolicy.h"
#include "history/HistoryDatabase.h"
#include "report/HistoryReport.h"

namespace {

namespace fs = std::filesystem;

struct Series {
    CapacitySeries Reports;
    std::string Database;  // filled once, read by the trend benchmarks
};

Series& TheSeries() {
    static Series series;
    return series;
}

void LineScan(benchmark::State& state) {
    const Series& series = TheSeries();
    for (auto _ : state) {
        std::size_t lines = 0;
        std::string line;
        for (const std::string& file : series.Reports.Files) {
            std::ifstream in(file, std::ios::binary);
            while (std::getline(in, line)) ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * series.Reports.Bytes);
}
BENCHMARK(LineScan)->Unit(benchmark::kMillisecond)->UseRealTime();

void AddReports(benchmark::State& state) {
    const Series& series = TheSeries();
    const std::string database = (series.Reports.Folder / "add.db").string();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(database);
        std::ostringstream out;
        std::ostringstream err;
        state.ResumeTiming();
        if (kov::RunHistoryAdd(database, series.Reports.Files, out, err, static_cast<unsigned>(state.range(0))) != 0) {
            state.SkipWithError(err.str().c_str());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * series.Reports.Bytes);
}
BENCHMARK(AddReports)->ArgName("threads")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void OnePoolTrend(benchmark::State& state, const char* pool) {
    for (auto _ : state) benchmark::DoNotOptimize(kov::TrendFromHistory(TheSeries().Database, {}, pool));
}
BENCHMARK_CAPTURE(OnePoolTrend, BP1, "BP1")->Unit(benchmark::kMillisecond)->UseRealTime();

void WholeTrend(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(kov::TrendFromHistory(TheSeries().Database));
}
BENCHMARK(WholeTrend)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    kov::KeepFreedHeapForReuse();  // as the programs do
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Series& series = TheSeries();
    int status = 0;
    try {
        series.Reports = WriteCapacitySeries(ReportsWanted("KOVGRAPH_HISTORY_REPORTS", 48));
        series.Database = (series.Reports.Folder / "history.db").string();
        fs::remove(series.Database);
        std::ostringstream out;
        if (kov::RunHistoryAdd(series.Database, series.Reports.Files, out, std::cerr) != 0)
            throw std::runtime_error("the series could not be stored");
        const auto databaseBytes = fs::file_size(series.Database);
        std::printf("%zu reports: %.1f MB of text, database %.1f MB (%.3f of the text)\n", series.Reports.Files.size(),
                    static_cast<double>(series.Reports.Bytes) / 1e6, static_cast<double>(databaseBytes) / 1e6,
                    static_cast<double>(databaseBytes) / static_cast<double>(series.Reports.Bytes));
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_history_bench: " << failure.what() << "\n";
        status = 1;
    }
    benchmark::Shutdown();
    std::error_code ignored;
    for (const char* database : {"history.db", "add.db"}) {
        const fs::path path = series.Reports.Folder / database;
        for (const char* end : {"", "-wal", "-shm"}) fs::remove(path.string() + end, ignored);
    }
    if (!series.Reports.Kept) fs::remove_all(series.Reports.Folder, ignored);
    return status;
}
