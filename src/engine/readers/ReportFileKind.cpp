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

// The kind is told from the lines as the file has them, whatever
// environment the last report read with the reader was in, and before the
// read proper shows any progress; the reader's settings come back however
// the telling ends.
class IdentifyingSettings {
public:
    explicit IdentifyingSettings(ReportLineReader& lines)
        : lines_(lines), decimalComma_(std::exchange(lines.DecimalComma, false)), progress_(lines) {}
    ~IdentifyingSettings() { lines_.DecimalComma = decimalComma_; }
    IdentifyingSettings(const IdentifyingSettings&) = delete;
    IdentifyingSettings& operator=(const IdentifyingSettings&) = delete;

private:
    ReportLineReader& lines_;
    bool decimalComma_;
    ProgressHeldBack progress_;
};

}  // namespace

ReportFileKind IdentifyReport(const std::string& path) {
    ReportLineReader lines;
    lines.Open(path);
    return KindOf(lines);
}

ReportFileKind IdentifyReport(ReportLineReader& lines) {
    const ReportFileKind kind = [&] {
        const IdentifyingSettings identifying(lines);
        return KindOf(lines);
    }();
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
