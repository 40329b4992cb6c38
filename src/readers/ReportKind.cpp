#include "readers/ReportKind.h"

#include "common/TextMatch.h"
#include "readers/ReportLineReader.h"

namespace kov {

namespace {

// A simulation report may have a few include lines before its header.
constexpr int kLinesLookedAt = 16;

}  // namespace

// A consolidated file starts with its marker line; a simulation report has
// its "*BPP" header near the top; only a statistics report has object lines
// (code "BPD"), and they come before any simulation header. Anything else is
// left to the reader that was chosen.
ReportKind IdentifyReport(const std::string& path) {
    ReportLineReader lines;
    lines.Open(path);
    try {
        if (lines.AtEnd()) return ReportKind::Unknown;
        if (IsConsolidatedMarker(lines.ReadReportLine())) return ReportKind::Consolidated;
        for (int i = 0; i < kLinesLookedAt && !lines.AtEnd(); ++i) {
            const std::string_view line = lines.ReadReportLine();
            if (line.substr(0, 4) == "*BPP") return ReportKind::Simulation;
            if (CodeContains(line, "BPD")) return ReportKind::Statistics;
        }
    } catch (const OverlongLine&) {
        // The chosen reader reports the line where it meets it.
    }
    return ReportKind::Unknown;
}

std::string WrongPlaceText(ReportKind kind) {
    switch (kind) {
        case ReportKind::Statistics: return "This is a statistics report; choose it as the statistics file";
        case ReportKind::Simulation: return "This is a simulation report; choose it as a simulation file";
        case ReportKind::Consolidated:
            return "This is a consolidated data file (statistics and simulations in one); choose it as the "
                   "statistics file";
        case ReportKind::Unknown: break;
    }
    return "This is not a report file";
}

}  // namespace kov
