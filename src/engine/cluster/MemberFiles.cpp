#include "cluster/MemberFiles.h"

#include <ostream>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/FixedText.h"
#include "common/TextMatch.h"

namespace kov {

std::vector<std::string> DialogFilters(std::string_view pairs) {
    std::vector<std::string> filters;
    bool description = true;
    while (true) {
        const std::size_t bar = pairs.find('|');
        if (description) filters.emplace_back(pairs.substr(0, bar));
        description = !description;
        if (bar == std::string_view::npos) break;
        pairs.remove_prefix(bar + 1);
    }
    return filters;
}

std::string ClusterFilePath(std::string_view chosen) {
    return std::string(chosen.substr(0, chosen.find('.'))) + ".kov";
}

std::optional<std::vector<std::string>> ClusterFileLines(const StringTable& objectsGrid) {
    if (objectsGrid.Rows.empty()) return std::nullopt;
    std::vector<std::string> lines;
    for (const auto& row : objectsGrid.Rows) {
        const std::string_view type = TrimBlanks(!row.empty() ? std::string_view(row[0]) : std::string_view());
        const std::string_view name = TrimBlanks(row.size() > 1 ? std::string_view(row[1]) : std::string_view());
        // Catalog objects and the grid's utility and marker rows are not members.
        if (name.find("DSNDB06") != std::string_view::npos || type == "U" || type == "*") continue;
        lines.emplace_back(name);
    }
    return lines;
}

std::vector<std::string> IndexExcludeLines(const ReportModel& model, int p) {
    std::vector<std::string> lines;
    if (!model.Pools.Contains(p)) return lines;
    const ObjectRange range = PoolObjects(model, model.Pools(p));
    for (int o = range.First; o <= range.Last; ++o) {
        const ObjectRecord& object = model.Objects(o);
        if (ContainsIgnoringCase(object.ObjectName.Padded(), "DSNDB06")) continue;
        if (object.ObjectType.Padded() == "I") lines.push_back(object.LongName.PaddedString());
    }
    return lines;
}

void WriteMemberFile(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(path, [&](std::ostream& out) {
        for (const std::string& line : lines) out << line << "\r\n";
    });
}

ClusterFileExport ExportClusterFile(std::string_view chosen, const StringTable& objectsGrid) {
    ClusterFileExport result;
    if (chosen.empty()) return result;
    const auto lines = ClusterFileLines(objectsGrid);
    if (!lines) return result;
    result.Path = ClusterFilePath(chosen);
    try {
        WriteMemberFile(result.Path, *lines);
        result.StatusText = "Cluster data file created";
    } catch (const std::exception& failure) {
        result.Failure =
            Message{"Create Cluster File", "The cluster file " + result.Path + " was not written: " + failure.what(),
                    MessageIcon::Critical};
    }
    return result;
}

Message ExportIndexExcludeFile(const ReportModel& model, int p, const std::string& folder) {
    const std::vector<std::string> lines = IndexExcludeLines(model, p);
    if (lines.empty()) return {"No Exclude Members", "File Not Created", MessageIcon::Information};
    const std::string path = folder.empty() ? std::string(kIndexExcludeFileName) : folder + "/" + kIndexExcludeFileName;
    try {
        WriteMemberFile(path, lines);
    } catch (const std::exception& failure) {
        return {"All Index Exclude Objects", "File <AINDEX.KOV> not created: " + std::string(failure.what()),
                MessageIcon::Critical};
    }
    return {"All Index Exclude Objects", "File <AINDEX.KOV> created.", MessageIcon::Information};
}

}  // namespace kov
