#include "report/CsvExport.h"

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <system_error>

#include "analysis/GeneralInfo.h"
#include "analysis/ObjectViews.h"
#include "analysis/ScanCost.h"
#include "analysis/TuningRules.h"
#include "common/AtomicFile.h"
#include "model/UsageIntent.h"
#include "readers/ReportLoading.h"
#include "views/CsvTable.h"

namespace kov {

namespace {

std::string Csv(StringTable table) {
    return CsvText(SortableTable(std::move(table)));
}

// One line per advice line, the random intent's first, as the tuning page
// shows them under each intent.
StringTable TuningAdvice(const ReportModel& model, int p) {
    StringTable advice{{"Intent", "Advice"}, {}};
    for (const UsageIntent intent : BothIntents)
        for (std::string& line : EvaluatePoolRules(model, p, intent))
            advice.Rows.push_back({IntentName(intent), std::move(line)});
    return advice;
}

StringTable SystemScanCosts(const ReportModel& model) {
    // The "None" row of an empty list names the first pool, as the window
    // shows it after loading.
    const auto cost = PopulateScanCostsForSystem(model, 1);
    return cost ? cost->List : StringTable{ScanCostHeadings(), {}};
}

StringTable PoolScanCosts(const ReportModel& model, int p) {
    const auto cost = PopulateScanCostsForPool(model, p);
    return cost ? cost->List : StringTable{ScanCostHeadings(), {}};
}

// "pool-03-BP32K-" for the third pool.
std::string PoolPrefix(const ReportModel& model, int p) {
    std::string name(model.Pools(p).PoolName.Trimmed());
    for (char& c : name) {
        const bool kept =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!kept) c = '_';
    }
    char number[16];
    std::snprintf(number, sizeof number, "%02d", p);
    return "pool-" + std::string(number) + "-" + name + "-";
}

void WriteFiles(const std::vector<CsvFile>& files, const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir))
        throw std::runtime_error("cannot make the folder '" + dir.string() + "'" + (ec ? ": " + ec.message() : ""));
    for (const CsvFile& file : files)
        WriteFileAtomically((dir / file.Name).string(), [&file](std::ostream& out) { out << file.Text; });
}

}  // namespace

std::vector<CsvFile> CsvFiles(const ReportModel& model) {
    std::vector<CsvFile> files{{"pools.csv", Csv(PoolGrid(model))}, {"scan-cost.csv", Csv(SystemScanCosts(model))}};
    for (int p = 1; p <= model.PoolCount(); ++p) {
        const std::string prefix = PoolPrefix(model, p);
        files.push_back({prefix + "objects.csv", Csv(ObjectGrid(model, p))});
        files.push_back({prefix + "tuning.csv", Csv(TuningAdvice(model, p))});
        files.push_back({prefix + "scan-cost.csv", Csv(PoolScanCosts(model, p))});
    }
    return files;
}

int RunCsvExport(const BatchOptions& options, const std::string& dir, std::ostream& messages) {
    const auto set = ReadReportSet(options.StatFile, options.SimFiles);
    for (const Message& m : set->Sink.Messages) messages << "kovgraph-report: [" << m.Title << "] " << m.Text << "\n";
    if (!set->StatsRead) {
        messages << "kovgraph-report: '" << options.StatFile << "' was not read to its end; no CSV file written\n";
        return 1;
    }
    try {
        WriteFiles(CsvFiles(set->Model), dir);
    } catch (const std::exception& failure) {
        messages << "kovgraph-report: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kov
