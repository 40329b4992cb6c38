// Writes the bundled sample reports (or, with --capacity, a full-capacity
// set; with --changed, the samples' system a week later, for a before/after
// comparison; with --series N, N hourly reports of one system for a trend,
// of the samples' system or, with --capacity as well, of 60 pools and 5000
// objects) into a folder. The samples in the repository were made with this.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace {

void Write(const std::filesystem::path& path, const std::function<void(std::ostream&)>& body) {
    kov::WriteFileAtomically(path.string(), body);
    std::cout << "wrote " << path.string() << "\n";
}

void WriteSamples(const std::filesystem::path& folder) {
    kov::ReportModel model = kov::GenerateReport(kov::BundledSamplePlan());
    kov::AddSimulation(model, 2, 16, 101);  // BP1
    kov::AddSimulation(model, 3, 16, 102);  // BP2
    kov::AddSimulation(model, 1, 16, 103);  // BP0
    const std::string stem = "SYSA_DB2P_20261130";
    Write(folder / (stem + ".sta"), [&](std::ostream& out) { kov::WriteStatReport(model, out); });
    for (int k = 1; k <= model.SimulationCount; ++k) {
        std::string name = stem;
        name.append("_").append(model.Simulations(k).PoolName.Trimmed()).append(".sim");
        Write(folder / name, [&](std::ostream& out) { kov::WriteSimReport(model, k, out); });
    }
    Write(folder / (stem + "_consolidated.txt"), [&](std::ostream& out) { kov::WriteConsolidatedFile(model, out); });
    // Share of random (Rand.acc) or sequential-and-RID (Seq.acc) get pages, in
    // percent, from which an object takes part in the cluster analysis.
    Write(folder / "Rand.acc", [](std::ostream& out) { out << "50\r\n"; });
    Write(folder / "Seq.acc", [](std::ostream& out) { out << "50\r\n"; });
}

void WriteChanged(const std::filesystem::path& folder) {
    const kov::ReportModel model = kov::GenerateReport(kov::ChangedSamplePlan());
    Write(folder / "SYSA_DB2P_20261207.sta", [&](std::ostream& out) { kov::WriteStatReport(model, out); });
}

void WriteCapacity(const std::filesystem::path& folder) {
    kov::ReportModel model = kov::GenerateReport(kov::CapacityPlan());
    for (int k = 1; k <= kov::MaxSimulations; ++k) kov::AddSimulation(model, 1, kov::MaxSizes, 1000 + k);
    Write(folder / "capacity.sta", [&](std::ostream& out) { kov::WriteStatReport(model, out); });
    for (int k = 1; k <= model.SimulationCount; ++k)
        Write(folder / ("capacity_" + std::to_string(k) + ".sim"),
              [&](std::ostream& out) { kov::WriteSimReport(model, k, out); });
}

void WriteSeries(const std::filesystem::path& folder, int count, bool capacity) {
    const kov::SamplePlan base = capacity ? kov::CapacitySeriesBase() : kov::BundledSamplePlan();
    for (int r = 0; r < count; ++r) {
        const kov::SamplePlan plan = kov::SeriesPlan(base, r, count);
        const kov::ReportModel model = kov::GenerateReport(plan);
        Write(folder / kov::SeriesFileName(plan), [&](std::ostream& out) { kov::WriteStatReport(model, out); });
    }
}

// "--series N [--capacity]": the number of reports, or nothing when the
// arguments are not that.
std::optional<int> SeriesCount(const std::vector<std::string>& options, bool& capacity) {
    if (options.empty() || options[0] != "--series" || options.size() < 2 || options.size() > 3) return std::nullopt;
    capacity = options.size() == 3;
    if (capacity && options[2] != "--capacity") return std::nullopt;
    int count = 0;
    const auto [end, error] = std::from_chars(options[1].data(), options[1].data() + options[1].size(), count);
    if (error != std::errc() || end != options[1].data() + options[1].size() || count < 1 || count > 100000)
        return std::nullopt;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> options(argv + 1, argv + std::max(1, argc - 1));
    bool seriesAtCapacity = false;
    const std::optional<int> count = argc >= 4 ? SeriesCount(options, seriesAtCapacity) : std::nullopt;
    if (count && argv[argc - 1][0] != '-') {
        try {
            std::filesystem::create_directories(argv[argc - 1]);
            WriteSeries(argv[argc - 1], *count, seriesAtCapacity);
        } catch (const std::exception& failure) {
            std::cerr << "kovgraph-make-samples: " << failure.what() << "\n";
            return 1;
        }
        return 0;
    }
    const std::string option = argc == 3 ? argv[1] : "";
    // A folder name starting with "-" is an option mistyped (or --help), not
    // a place to write samples into.
    const bool folderGiven = (argc == 2 || argc == 3) && argv[argc - 1][0] != '-';
    if (!folderGiven || (argc == 3 && option != "--capacity" && option != "--changed")) {
        std::cerr << "usage: kovgraph-make-samples [--capacity | --changed | --series N [--capacity]] FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[argc - 1];
    try {
        std::filesystem::create_directories(folder);
        if (option == "--capacity")
            WriteCapacity(folder);
        else if (option == "--changed")
            WriteChanged(folder);
        else
            WriteSamples(folder);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph-make-samples: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
