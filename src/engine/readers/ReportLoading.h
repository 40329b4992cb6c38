#pragma once
// The two ways a user loads reports, shared by the file-selection screen and
// the batch report so both number, match and refuse files identically.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Message.h"
#include "readers/ReportReader.h"

namespace kov {

// A new statistics report (or consolidated data file): the model is cleared
// first, then the file is read. Returns true when it was read to its end.
inline bool OpenStatisticsReport(ReportModel& model, ReportReader& reader, const std::string& path) {
    model.ClearLoadedData();
    model.StatFileName = std::string(TrimBlanks(path));
    reader.ReadStatDataFile();
    return model.StatsLoaded;
}

// What a front end says, for as long as the loaded statistics report stays
// loaded, when its read stopped early (`stop`: where that read stopped);
// empty when it was read to its end or no report was chosen.
inline std::string UnfinishedReadNotice(const ReportModel& model, const ReportReader::ReadStop& stop) {
    if (model.StatsLoaded || model.StatFileName.empty()) return {};
    const std::string reason = stop.Reason.empty() ? "it ends early" : stop.Reason;
    return "This report was not read to its end (line " + std::to_string(std::max(1, stop.Line)) + ": " + reason +
           "); the pages show what was read before it.";
}

// A whole set as the batch programs take it: the statistics report, then each
// simulation report in the order given. Returns true when the statistics
// report was read to its end.
inline bool LoadReportSet(ReportModel& model, ReportReader& reader, const std::string& statFile,
                          const std::vector<std::string>& simFiles) {
    const bool statsRead = OpenStatisticsReport(model, reader, statFile);
    for (const std::string& path : simFiles) reader.AddSimulationFile(path);
    return statsRead;
}

// A report set read for a program that reports on it once, with the messages
// the reading raised. Held by pointer: the model is large (over 100 MB of
// simulation results at full capacity), so callers free it before printing.
struct LoadedReportSet {
    ReportModel Model;
    CollectingSink Sink;
    bool StatsRead = false;
};

inline std::unique_ptr<LoadedReportSet> ReadReportSet(const std::string& statFile,
                                                      const std::vector<std::string>& simFiles = {}) {
    auto set = std::make_unique<LoadedReportSet>();
    ReportReader reader(set->Model, set->Sink);
    set->StatsRead = LoadReportSet(set->Model, reader, statFile, simFiles);
    return set;
}

}  // namespace kov
