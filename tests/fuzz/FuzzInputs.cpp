#include "FuzzInputs.h"

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/DataChecks.h"
#include "analysis/TuningRules.h"
#include "common/Message.h"
#include "common/NumberField.h"
#include "readers/ReportLoading.h"
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"

namespace kov::fuzz {

namespace {

[[noreturn]] void Fault(const std::string& what) {
    std::fprintf(stderr, "fuzz fault: %s\n", what.c_str());
    std::abort();
}

// The readers read files, so each input goes to one file of this process, on
// a memory file system where there is one; removed when the process ends.
struct InputFile {
    InputFile() {
        const std::filesystem::path folder =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        Path = (folder / ("kovgraph-fuzz-" + std::to_string(::getpid()) + ".txt")).string();
    }
    ~InputFile() { std::remove(Path.c_str()); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::string Path;
};

const std::string& InputPath() {
    static const InputFile file;
    return file.Path;
}

const std::string& WriteInput(std::string_view bytes) {
    const std::string& path = InputPath();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fault("cannot write the input file " + path);
    return path;
}

// What the window does with whatever was read: the data checks, and the
// explained advice of every pool under both intents.
void CheckAndAdvise(const ReportModel& model) {
    (void)RunDataChecks(model);
    for (int p = 1; p <= model.PoolCount(); ++p)
        for (const UsageIntent intent : BothIntents) (void)ExplainPoolRules(model, p, intent);
}

bool ReadAsStatistics(std::string_view bytes) {
    ReportModel model;
    CollectingSink sink;
    ReportReader reader(model, sink);
    const bool loaded = OpenStatisticsReport(model, reader, WriteInput(bytes));
    CheckAndAdvise(model);
    return loaded;
}

// Two small collections, one from a USA environment and one writing decimal
// commas: the fuzzer's simulation seeds are written for them.
std::vector<ReportModel> LoadStatisticsReports() {
    SamplePlan plan;
    plan.Seed = 7;
    plan.Pools = {{"BP0", PoolUse::Catalog, 3, 1000, 0, false},
                  {"BP1", PoolUse::Data, 4, 800, 200, true},
                  {"BP2", PoolUse::Data, 0, 500, 0, false}};
    std::vector<ReportModel> loaded;
    for (const char* environment : {"USA", "GER"}) {
        std::ostringstream text;
        WriteStatReport(GenerateReport(plan), text, WriteOptions{environment});
        ReportModel model;
        CollectingSink sink;
        ReportReader reader(model, sink);
        if (!OpenStatisticsReport(model, reader, WriteInput(text.str())))
            Fault("the statistics report for the simulation inputs does not load");
        loaded.push_back(std::move(model));
    }
    return loaded;
}

const std::vector<ReportModel>& StatisticsReports() {
    static const std::vector<ReportModel> reports = LoadStatisticsReports();
    return reports;
}

void CheckFits(double value, NumberKind kind) {
    if (!std::isfinite(value)) Fault("a number field gave " + std::to_string(value));
    if (kind == NumberKind::Double) return;
    const double limit = kind == NumberKind::Int16 ? 32767.0 : 2147483647.0;
    if (value != std::nearbyint(value) || value > limit || value < -limit - 1)
        Fault("an integer field gave " + std::to_string(value));
}

}  // namespace

bool ReadStatisticsInput(std::string_view bytes) {
    return ReadAsStatistics(bytes);
}

int StatisticsReportCount() {
    return static_cast<int>(StatisticsReports().size());
}

bool ReadSimulationInput(std::string_view bytes) {
    if (bytes.empty()) return false;
    const auto& reports = StatisticsReports();
    ReportModel model = reports[static_cast<unsigned char>(bytes[0]) % reports.size()];
    CollectingSink sink;
    ReportReader reader(model, sink);
    const bool loaded = reader.AddSimulationFile(WriteInput(bytes.substr(1))) && model.SimulationsLoaded;
    CheckAndAdvise(model);
    return loaded;
}

bool ReadConsolidatedInput(std::string_view bytes) {
    std::string text = "*CHD FUZZ CONSOLIDATED DATA\r\n";
    text.append(bytes);
    return ReadAsStatistics(text);
}

bool ParseNumberInput(std::string_view bytes) {
    if (bytes.empty()) return false;
    const auto choice = static_cast<unsigned char>(bytes[0]);
    const NumberKind kind = std::array{NumberKind::Int16, NumberKind::Int32, NumberKind::Double}[choice % 3];
    const bool decimalComma = (choice & 0x80) != 0;
    const std::string_view field = bytes.substr(1);
    try {
        CheckFits(ParseNumberField(field, kind, decimalComma), kind);
        return true;
    } catch (const FieldError&) {
        for (const char c : QuotableFieldText(field))
            if (static_cast<unsigned char>(c) < 0x20) Fault("a control byte in the quoted field text");
        return false;
    }
}

}  // namespace kov::fuzz
