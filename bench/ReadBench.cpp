// How fast the readers take in a full-capacity collection, measured against
// the floor of merely splitting the same files into lines.
//
// At start-up the writer produces the capacity data in a temporary folder:
// one statistics report (60 pools, 5000 objects, all in BP1) and 25
// simulation reports of BP1 at 16 size points. Then:
//   ReadStatistics         the statistics report into a fresh model
//   ReadSimulations        the 25 simulation reports attached to it (the
//                          statistics read before them is not timed)
//   LineScan/statistics    std::getline over the statistics report
//   LineScan/simulations   std::getline over the 25 simulation reports
//   StoreResults           adding as many simulation slots as the 25 reports
//                          fill, the way the reader adds them, without
//                          reading: the part of ReadSimulations that is the
//                          machine's cost of fresh memory
//   StoreResults/heap      the same slots value-initialised in one block of
//                          the general heap: what the results cost in fresh
//                          4 KB pages, for comparison
// After the runs a summary sets each read against its line scan: the median
// when run with repetitions, else the mean of the runs.
//
// Results go to the console; --benchmark_out=FILE --benchmark_out_format=json
// writes them to a file as well.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>  // mkdtemp
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

#include "WallTimeReporter.h"
#include "common/HeapPolicy.h"
#include "readers/ReportLoading.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace {

namespace fs = std::filesystem;

struct CapacityFiles {
    std::string Statistics;
    std::vector<std::string> Simulations;
    std::int64_t StatisticsBytes = 0;
    std::int64_t SimulationBytes = 0;
    std::size_t ResultSlots = 0;  // object simulation slots the 25 reports fill
    std::vector<std::size_t> SlotsPerObject;
};

CapacityFiles& Files() {
    static CapacityFiles files;
    return files;
}

void WriteReport(const fs::path& path, const std::function<void(std::ostream&)>& body) {
    std::ofstream out(path, std::ios::binary);
    body(out);
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// The capacity set, written once; the model that produced it is dropped so
// that its memory does not sit under the measured reads.
void WriteCapacityFiles(const fs::path& folder) {
    CapacityFiles& files = Files();
    kov::ReportModel model = kov::GenerateReport(kov::CapacityPlan());
    for (int k = 1; k <= kov::MaxSimulations; ++k)
        kov::AddSimulation(model, 1, kov::MaxSizes, 1000 + static_cast<std::uint64_t>(k));

    files.Statistics = (folder / "capacity.sta").string();
    WriteReport(files.Statistics, [&](std::ostream& out) { kov::WriteStatReport(model, out); });
    files.StatisticsBytes = static_cast<std::int64_t>(fs::file_size(files.Statistics));
    for (int k = 1; k <= model.SimulationCount; ++k) {
        const std::string path = (folder / ("capacity_" + std::to_string(k) + ".sim")).string();
        WriteReport(path, [&](std::ostream& out) { kov::WriteSimReport(model, k, out); });
        files.Simulations.push_back(path);
        files.SimulationBytes += static_cast<std::int64_t>(fs::file_size(path));
    }
    for (const kov::ObjectRecord& object : model.Objects) {
        files.ResultSlots += object.Sims.size();
        files.SlotsPerObject.push_back(object.Sims.size());
    }
}

fs::path MakeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "kovgraph-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder under " + fs::temp_directory_path().string());
    return pattern;
}

// One load as the batch report does it: a model, a sink and a reader.
struct Session {
    kov::ReportModel Model;
    kov::CollectingSink Sink;
    kov::ReportReader Reader{Model, Sink};
};

// A read that raised any message did not read what it was meant to: the
// figure would be meaningless, so the benchmark stops with the message.
bool ReadCleanly(benchmark::State& state, const Session& session) {
    if (session.Sink.Messages.empty()) return true;
    const kov::Message& first = session.Sink.Messages.front();
    const std::string text = "the read raised \"" + first.Title + "\": " + first.Text;
    state.SkipWithError(text.c_str());
    return false;
}

void ReadStatistics(benchmark::State& state) {
    const CapacityFiles& files = Files();
    for (auto _ : state) {
        Session session;
        const bool loaded = kov::OpenStatisticsReport(session.Model, session.Reader, files.Statistics);
        if (!ReadCleanly(state, session)) break;
        if (!loaded || session.Model.ObjectCount() != kov::MaxObjects) {
            state.SkipWithError("the statistics report was not read to its end");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * files.StatisticsBytes);
}

void ReadSimulations(benchmark::State& state) {
    const CapacityFiles& files = Files();
    for (auto _ : state) {
        state.PauseTiming();
        auto session = std::make_unique<Session>();
        kov::OpenStatisticsReport(session->Model, session->Reader, files.Statistics);
        state.ResumeTiming();

        for (const std::string& path : files.Simulations) session->Reader.AddSimulationFile(path);

        state.PauseTiming();
        const bool clean = ReadCleanly(state, *session);
        const bool complete = session->Model.SimulationsLoaded &&
                              session->Model.Objects(1).SimCount() == static_cast<int>(files.Simulations.size());
        session.reset();  // freeing the slots is not part of reading
        state.ResumeTiming();
        if (!clean) break;
        if (!complete) {
            state.SkipWithError("the simulation reports were not all attached");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * files.SimulationBytes);
}

std::size_t ScanLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::size_t characters = 0;
    while (std::getline(in, line)) characters += line.size();
    return characters;
}

void LineScan(benchmark::State& state, const std::vector<std::string>& paths, std::int64_t bytes) {
    for (auto _ : state) {
        std::size_t characters = 0;
        for (const std::string& path : paths) characters += ScanLines(path);
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void StoreResults(benchmark::State& state) {
    const std::vector<std::size_t>& perObject = Files().SlotsPerObject;
    const std::size_t most = perObject.empty() ? 0 : *std::max_element(perObject.begin(), perObject.end());
    for (auto _ : state) {
        auto objects = std::make_unique<std::vector<kov::SimSlots<kov::SimObjectRecord>>>(perObject.size());
        for (std::size_t k = 0; k < most; ++k)  // one simulation after the other, as they attach
            for (std::size_t o = 0; o < perObject.size(); ++o)
                if (k < perObject[o]) (*objects)[o].emplace_back().SimulationNo = static_cast<std::int16_t>(k + 1);
        benchmark::DoNotOptimize(objects->data());
        benchmark::ClobberMemory();
        state.PauseTiming();
        objects.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(Files().ResultSlots * sizeof(kov::SimObjectRecord)) / 1e6;
}

void StoreResultsInHeap(benchmark::State& state) {
    const std::size_t slots = Files().ResultSlots;
    for (auto _ : state) {
        auto results = std::make_unique<std::vector<kov::SimObjectRecord>>(slots);
        benchmark::DoNotOptimize(results->data());
        state.PauseTiming();
        results.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = static_cast<double>(slots * sizeof(kov::SimObjectRecord)) / 1e6;
}

// The console output, then each read set against its line scan.
class SummaryReporter : public WallTimeReporter {
public:
    explicit SummaryReporter(OutputOptions options) : WallTimeReporter(options) {}

    void Finalize() override {
        ConsoleReporter::Finalize();
        const CapacityFiles& files = Files();
        std::string lines =
            Compare("statistics report", "ReadStatistics", "LineScan/statistics", files.StatisticsBytes);
        const std::string simulations = Compare(std::to_string(files.Simulations.size()) + " simulation reports",
                                                "ReadSimulations", "LineScan/simulations", files.SimulationBytes);
        lines += simulations;
        double storeSeconds = 0;
        if (!simulations.empty() && Seconds("StoreResults", storeSeconds)) {
            char text[200];
            std::snprintf(text, sizeof text, "  of which fresh memory for the %zu result slots (%.0f MB): %.1f ms",
                          files.ResultSlots,
                          static_cast<double>(files.ResultSlots * sizeof(kov::SimObjectRecord)) / 1e6,
                          storeSeconds * 1e3);
            lines += text;
            double heapSeconds = 0;
            if (Seconds("StoreResults/heap", heapSeconds)) {
                std::snprintf(text, sizeof text, " (in 4 KB heap pages: %.1f ms)", heapSeconds * 1e3);
                lines += text;
            }
            lines += "\n";
        }
        if (lines.empty()) return;  // a filter left out every read or its line scan
        GetOutputStream() << "\nReading against the line scan of the same bytes (" << Statistic() << " wall time):\n"
                          << lines;
    }

private:
    std::string Compare(const std::string& what, const std::string& read, const std::string& scan,
                        std::int64_t bytes) const {
        double readSeconds = 0;
        double scanSeconds = 0;
        if (!Seconds(read, readSeconds) || !Seconds(scan, scanSeconds)) return {};
        const double megabytes = static_cast<double>(bytes) / 1e6;
        char text[256];
        std::snprintf(text, sizeof text,
                      "  %-24s %7.1f MB   read %8.1f ms %7.0f MB/s   line scan %8.1f ms %7.0f MB/s   ratio %.2fx\n",
                      what.c_str(), megabytes, readSeconds * 1e3, megabytes / readSeconds, scanSeconds * 1e3,
                      megabytes / scanSeconds, readSeconds / scanSeconds);
        return text;
    }
};

}  // namespace

int main(int argc, char** argv) {
    kov::KeepFreedHeapForReuse();  // as the programs do
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    fs::path folder;
    try {
        folder = MakeTemporaryFolder();
        WriteCapacityFiles(folder);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_read_bench: cannot write the capacity reports: " << failure.what() << "\n";
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
        return 1;
    }

    const CapacityFiles& files = Files();
    const auto milliseconds = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    milliseconds(benchmark::RegisterBenchmark("ReadStatistics", ReadStatistics));
    milliseconds(benchmark::RegisterBenchmark("ReadSimulations", ReadSimulations));
    milliseconds(benchmark::RegisterBenchmark("LineScan/statistics", LineScan,
                                              std::vector<std::string>{files.Statistics}, files.StatisticsBytes));
    milliseconds(
        benchmark::RegisterBenchmark("LineScan/simulations", LineScan, files.Simulations, files.SimulationBytes));
    milliseconds(benchmark::RegisterBenchmark("StoreResults", StoreResults));
    milliseconds(benchmark::RegisterBenchmark("StoreResults/heap", StoreResultsInHeap));

    // Colour only on a terminal, so that a log or a pipe stays plain text.
    const bool terminal = isatty(fileno(stdout)) != 0;
    SummaryReporter reporter(terminal ? benchmark::ConsoleReporter::OO_Color : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
