// The reports the window monkey walks besides the bundled samples: one of
// each kind a DBA meets that is not a clean statistics report. Small where
// the kind allows, so that thousands of actions stay quick under the
// sanitizers.
//   small.sta (+ two simulations)  five pools, one without objects
//   damaged.sta                    the second pool line broken
//   empty.sta, binary.sta          no report at all
//   comma.sta (+ a simulation)     decimal comma
//   zero.sta (+ a simulation)      an interval of no length
//   capacity.sta (+ a simulation)  60 pools and 5000 objects

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
    kov::WriteFileAtomically(path.string(), [&](std::ostream& out) { out << bytes; });
}

std::string StatText(const kov::ReportModel& model, const kov::WriteOptions& options = {}) {
    std::ostringstream out;
    kov::WriteStatReport(model, out, options);
    return out.str();
}

// The writer writes decimal points whatever the environment line says; a
// report collected with a decimal comma has commas in its number columns
// (from column 58, where no name reaches; the header line keeps its text).
std::string WithDecimalCommas(std::string text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t lineStart = text.find('\n', text.find('\n') + 1) + 1;
    while (lineStart < text.size()) {
        const std::size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
        for (std::size_t at = lineStart + 57; at + 1 < lineEnd; ++at)
            if (text[at] == '.' && digit(text[at - 1]) && digit(text[at + 1])) text[at] = ',';
        lineStart = lineEnd + 1;
    }
    return text;
}

std::string SimText(const kov::ReportModel& model, int simNo, const kov::WriteOptions& options = {}) {
    std::ostringstream out;
    kov::WriteSimReport(model, simNo, out, options);
    return out.str();
}

kov::SamplePlan SmallPlan(std::uint64_t seed) {
    kov::SamplePlan plan;
    plan.Seed = seed;
    plan.System = "SYSM";
    plan.Pools = {{"BP0", kov::PoolUse::Catalog, 3, 1000, 0, false},
                  {"BP1", kov::PoolUse::Data, 6, 800, 200, true},
                  {"BP2", kov::PoolUse::Index, 4, 500, 0, false},
                  {"BP8K0", kov::PoolUse::Data, 0, 300, 0, false},
                  {"BP32K", kov::PoolUse::SortWork, 2, 300, 0, false}};
    return plan;
}

// A set: the statistics report and a simulation of each pool named.
void WriteSet(const fs::path& folder, const std::string& stem, kov::ReportModel model,
              const std::vector<int>& simulatedPools, const kov::WriteOptions& options = {}, int points = 8) {
    for (int pool : simulatedPools) kov::AddSimulation(model, pool, points, 300 + static_cast<std::uint64_t>(pool));
    const auto decimals = [&](std::string text) {
        return options.Environment == "USA" ? text : WithDecimalCommas(std::move(text));
    };
    Write(folder / (stem + ".sta"), decimals(StatText(model, options)));
    for (int k = 1; k <= model.SimulationCount; ++k)
        Write(folder / (stem + "_" + std::string(model.Simulations(k).PoolName.Trimmed()) + ".sim"),
              decimals(SimText(model, k, options)));
}

// The report with a number column of its second pool line spoiled: read up
// to that line, then a field error.
std::string Damaged(const kov::ReportModel& model) {
    std::string text = StatText(model);
    const std::string poolLine = kov::PoolLine(model.Pools(2));
    const std::size_t at = text.find(poolLine);
    if (at == std::string::npos) throw std::runtime_error("the second pool line was not written as expected");
    text.replace(at + 458, 6, "  1x.5");
    return text;
}

std::string Binary() {
    std::string bytes =
        "\x7f"
        "ELF\x02\x01\x01";
    for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kovgraph_monkey_reports FOLDER\n";
        return 2;
    }
    try {
        const fs::path folder = argv[1];
        fs::create_directories(folder);
        const kov::ReportModel small = kov::GenerateReport(SmallPlan(21));
        WriteSet(folder, "small", small, {1, 2});
        Write(folder / "damaged.sta", Damaged(small));
        Write(folder / "empty.sta", "");
        Write(folder / "binary.sta", Binary());
        WriteSet(folder, "comma", kov::GenerateReport(SmallPlan(22)), {2}, {"GER"});
        kov::SamplePlan zero = SmallPlan(23);
        zero.ElapsedTime = "00:00:00";
        WriteSet(folder, "zero", kov::GenerateReport(zero), {3});
        WriteSet(folder, "capacity", kov::GenerateReport(kov::CapacityPlan()), {1}, {}, 8);
    } catch (const std::exception& failure) {
        std::cerr << "kovgraph_monkey_reports: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
