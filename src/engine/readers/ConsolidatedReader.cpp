// The consolidated data file: a statistics report and up to 24 simulation
// reports in one file, each part introduced by a "*CHD" line. Each part is
// read with one line of look-ahead, so the line that ends a part (and the
// last line of the file) is never taken as data.

#include "common/TextMatch.h"
#include "readers/ReportReader.h"

namespace kov {

namespace {

constexpr int kMaxConsolidatedSimulations = 24;

// "*CHD SIMULATION BP1 ..." names the simulation that follows.
std::string SimulationNameAfterMarker(std::string_view markerLine) {
    const std::size_t at = FindIgnoringCase(markerLine, "SIMULATION");
    if (at == std::string_view::npos) return {};
    return std::string(TrimBlanks(markerLine.substr(at + 10)));
}

}  // namespace

void ReportReader::ReadConsolidatedFile() {
    const PoolObjectsForgotten forgetAtEnd(*this);
    try {
        if (!StartStatisticsPart(true)) return;

        StatLineState state;
        std::string partEnd;
        if (!ReadPart([&](std::string_view line) { return HandleStatLine(line, state); }, partEnd)) {
            AbandonFile();
            return;
        }
        CloseObjectRange(state);

        int k = 0;
        while (!lines_.AtEnd()) {
            ++k;
            if (k > kMaxConsolidatedSimulations) {
                Show("Consolidated Data File",
                     "Number of simulations in the data exceed maximum limit of 24 simulations.",
                     MessageIcon::Information);
                break;
            }
            const std::string name = "Consolidated_SIM_" + SimulationNameAfterMarker(partEnd) + "_" + std::to_string(k);
            model_.Simulations.GrowTo(k);
            model_.SimulationCount = k;
            CheckEnvironment();
            if (FileError) return lines_.Close();
            ReadSimHeader(k);
            model_.Simulations(k).FileName = name;
            if (!AttachSimulation(k, name)) return lines_.Close();
            if (!ReadPart([&](std::string_view line) { return HandleSimLine(line, k); }, partEnd))
                return lines_.Close();
        }
        // After the limit message the 25th entry stays, empty.
        model_.Simulations.GrowTo(k);
        model_.SimulationCount = k;
        lines_.Close();
        SetProgress(100);
        model_.StatsLoaded = true;
        model_.SimulationsLoaded = true;
    } catch (const std::exception& failure) {
        RunTimeFailure("Read Stat File", failure);
    }
}

bool ReportReader::ReadPart(const std::function<bool(std::string_view)>& handle, std::string& partEnd) {
    partEnd.clear();
    if (lines_.AtEnd()) return true;
    std::string_view line = lines_.ReadReportLine();
    while (!IsConsolidatedMarker(line) && !lines_.AtEnd()) {
        if (!handle(line)) return false;
        line = lines_.ReadReportLine();
    }
    partEnd.assign(line);
    return true;
}

}  // namespace kov
