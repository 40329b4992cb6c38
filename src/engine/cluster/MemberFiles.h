#pragma once
// Member files for the host tool, one object name per line, each line ended
// by CR LF: the cluster file (the objects of the cluster shown, in the order
// the grid shows them) and the index exclude file AINDEX.KOV (every index of
// the current pool outside the catalog).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Message.h"
#include "model/ReportModel.h"
#include "views/ViewData.h"

namespace kov {

// The save dialog's filter as the dialog gives it: description|pattern pairs.
inline constexpr const char* kClusterFileFilter = "Cluster Files (*.kov)|*.kov|All Files (*.*)|*.*";
inline constexpr const char* kClusterFileProposal = "Cluster.kov";
inline constexpr const char* kIndexExcludeFileName = "AINDEX.KOV";

// "A (*.a)|*.a|B (*.*)|*.*" as Qt file-dialog filters: {"A (*.a)", "B (*.*)"}.
std::vector<std::string> DialogFilters(std::string_view pairs);

// The chosen name cut before its first "." (anywhere in the path) with ".kov"
// appended; a name without a dot just gets ".kov".
std::string ClusterFilePath(std::string_view chosen);

// The lines of the cluster file from the objects grid as shown: the trimmed
// names, except names holding "DSNDB06" (in capitals) and rows of type "U"
// or "*". No value when the grid has no data row.
std::optional<std::vector<std::string>> ClusterFileLines(const StringTable& objectsGrid);

// The lines of AINDEX.KOV for pool p: the 36-character long names
// of its indexes whose object name does not hold "DSNDB06" in any case.
std::vector<std::string> IndexExcludeLines(const ReportModel& model, int p);

// Writes the lines with CR LF endings; the old file is replaced only once the
// new one is complete. Throws std::runtime_error naming the file on failure.
void WriteMemberFile(const std::string& path, const std::vector<std::string>& lines);

// "Create Cluster File" with the name the dialog returned (empty: cancelled,
// nothing is written). The status text on success, or the message that says
// why nothing was written.
struct ClusterFileExport {
    std::string Path;        // the file written
    std::string StatusText;  // "Cluster data file created"
    std::optional<Message> Failure;
};
ClusterFileExport ExportClusterFile(std::string_view chosen, const StringTable& objectsGrid);

// "Create File - All Indexes": AINDEX.KOV in the folder when the pool has an
// index to exclude (an older file is left alone otherwise); the message
// that says what happened.
Message ExportIndexExcludeFile(const ReportModel& model, int p, const std::string& folder);

}  // namespace kov
