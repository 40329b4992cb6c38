#include "readers/ReportFileKind.h"

#include <utility>

#include "common/TextMatch.h"
#include "readers/ReportLineReader.h"

namespace kov {

namespace {

// A simulation report may have a few include lines before its header.
constexpr int kLinesLookedAt = 16;

// A consolidated file starts with its marker line; a simulation report has
// its "*BPP" header near the top; only a statistics report has object lines
// (code "BPD"), and they come before any simulation header. Anything else is
// left to the reader that was chosen.
ReportFileKind KindOf(ReportLineReader& lines) {
    try {
        if (lines.AtEnd()) return ReportFileKind::Unknown;
        if (IsConsolidatedMarker(lines.ReadReportLine())) return ReportFileKind::Consolidated;
        for (int i = 0; i < kLinesLookedAt && !lines.AtEnd(); ++i) {
            const std::string_view line = lines.ReadReportLine();
            if (line.substr(0, 4) == "*BPP") return ReportFileKind::Simulation;
            if (CodeContains(line, "BPD")) return ReportFileKind::Statistics;
        }
    } catch (const OverlongLine&) {
        // The chosen reader reports the line where it meets it.
    }
    return ReportFileKind::Unknown;
}

}  // namespace

ReportFileKind IdentifyReport(const std::string& path) {
    ReportLineReader lines;
    lines.Open(path);
    return KindOf(lines);
}

ReportFileKind IdentifyReport(ReportLineReader& lines) {
    // The kind is told from the lines as the file has them, whatever
    // environment the last report read with this reader was in.
    const bool decimalComma = std::exchange(lines.DecimalComma, false);
    const ReportFileKind kind = KindOf(lines);
    lines.DecimalComma = decimalComma;
    lines.Rewind();
    return kind;
}

std::string WrongPlaceText(ReportFileKind kind) {
    switch (kind) {
        case ReportFileKind::Statistics:
            return "This is a statistics report; choose it as the statistics file";
        case ReportFileKind::Simulation:
            return "This is a simulation report; choose it as a simulation file";
        case ReportFileKind::Consolidated:
            return "This is a consolidated data file (statistics and simulations in one); choose it as the "
                   "statistics file";
        case ReportFileKind::Unknown:
            break;
    }
    return "This is not a report file";
}

}  // namespace kov
