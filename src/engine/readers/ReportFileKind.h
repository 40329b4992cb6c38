#pragma once
// Which of the three report kinds a file is, told by its first lines, so that
// a report chosen in the wrong place is named for what it is instead of
// failing at some field of its second line.

#include <string>

namespace kov {

enum class ReportFileKind { Unknown, Statistics, Simulation, Consolidated };

class ReportLineReader;

// Reads at most the first few lines. Throws std::runtime_error when the file
// cannot be opened (see OpenReportFile).
ReportFileKind IdentifyReport(const std::string& path);
// The same from a reader just opened, which is left at the first line again,
// so that the file is opened once to be told and read.
ReportFileKind IdentifyReport(ReportLineReader& lines);

// "This is a simulation report; choose it as a simulation file", and so on.
std::string WrongPlaceText(ReportFileKind kind);

}  // namespace kov
