#include "report/ReportText.h"

#include <algorithm>
#include <array>
#include <sstream>
#include <utility>

#include "analysis/ScanCost.h"
#include "cluster/ClusterAnalysis.h"
#include "model/UsageIntent.h"
#include "report/ExplainJson.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

std::string Text(const json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

json ScanHeadings() {
    return ScanCostHeadings();
}

// A grid as aligned columns, each as wide as its widest cell.
std::string TextTable(const json& table) {
    std::vector<std::size_t> widths;
    const auto measure = [&](const json& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], Text(row[c]).size());
        }
    };
    measure(table["headings"]);
    for (const auto& row : table["rows"]) measure(row);
    std::ostringstream out;
    const auto print = [&](const json& row) {
        out << " ";
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string cell = Text(row[c]);
            out << " " << std::string(widths[c] - cell.size(), ' ') << cell;
        }
        out << "\n";
    };
    print(table["headings"]);
    for (const auto& row : table["rows"]) print(row);
    return out.str();
}

// Both intents' cluster pages, the default first.
std::string ClustersText(const json& clusters) {
    std::ostringstream out;
    std::array<UsageIntent, 2> order = BothIntents;
    if (Text(clusters["defaultIntent"]) != IntentKey(order[0])) std::swap(order[0], order[1]);
    for (const UsageIntent intent : order) {
        const json& page = clusters[IntentKey(intent)];
        out << "       Cluster analysis, " << IntentName(intent) << ", radius " << Text(clusters["radius"])
            << ", size point " << Text(clusters["sizePoint"]) << ", threshold " << Text(page["threshold"]) << ": ";
        const int result = page["result"].get<int>();
        if (result < 0) {
            out << "not applicable (fewer than three objects qualify)\n";
            continue;
        }
        out << result << (result == 1 ? " cluster\n" : " clusters\n");
        out << TextTable({{"headings", ClusterGridHeadings()}, {"rows", page["rows"]}});
        for (const auto& [m, rows] : page["members"].items()) {
            out << "       Cluster " << m << "\n";
            out << TextTable({{"headings", ClusterObjectGridHeadings()}, {"rows", rows}});
        }
    }
    return out.str();
}

// One simulation graph: its title, then a line per point (size, label, value).
std::string SimChartText(const std::string& name, const json& chart) {
    std::ostringstream out;
    out << "       " << name << ": " << Text(chart["title"]);
    if (chart.contains("axis")) out << " (value axis up to " << Text(chart["axis"]["max"]) << ")";
    out << "\n";
    for (const auto& point : chart["points"]) {
        out << "        ";
        if (point.contains("x")) out << " " << Text(point["x"]);
        if (!Text(point["label"]).empty()) out << " " << Text(point["label"]);
        out << " " << Text(point["value"]) << "\n";
    }
    for (const auto& m : chart["messages"]) out << "         Message: " << Text(m["text"]) << "\n";
    return out.str();
}

std::string SimGraphsText(const json& slot) {
    std::string text;
    for (const auto& [name, chart] : slot["charts"].items()) text += SimChartText(name, chart);
    const json& details = slot["objectDetails"];
    if (!details.is_null())
        text += "       " + Text(details["caption"]) + "\n" +
                TextTable({{"headings", details["headings"]}, {"rows", details["rows"]}});
    return text;
}

}  // namespace

std::string RenderText(const json& document) {
    std::ostringstream out;
    out << "Statistics report: " << Text(document["statsFile"]) << "\n";
    out << "Read to its end: " << (document["statsLoaded"].get<bool>() ? "yes" : "no")
        << "; simulations loaded: " << (document["simulationsLoaded"].get<bool>() ? "yes" : "no") << "\n";
    for (const auto& m : document["messages"])
        out << "Message [" << Text(m["title"]) << "] (" << Text(m["icon"]) << "): " << Text(m["text"]) << "\n";
    out << "\nReport Info\n";
    for (const auto& [caption, value] : document["header"].items())
        out << "  " << caption << ": " << Text(value) << "\n";
    for (const auto& [caption, value] : document["totals"].items())
        out << "  " << caption << ": " << Text(value) << "\n";
    out << "\n" << TextTable(document["poolGrid"]);
    if (!document["simulations"].empty()) out << "\nSimulations\n";
    for (const auto& sim : document["simulations"])
        out << "  " << Text(sim["number"]) << ". " << Text(sim["poolName"]) << "  " << Text(sim["sizeCount"])
            << " size points  " << Text(sim["fileName"]) << "\n";
    const json& scan = document["scanCost"];
    out << "\nScan Cost\n  Overall Collection Time = " << Text(scan["collectionTime"])
        << "\n  System CPU Seconds Cost = " << Text(scan["systemCost"]) << "\n";
    if (!scan["rows"].empty()) out << TextTable({{"headings", ScanHeadings()}, {"rows", scan["rows"]}});
    out << DataChecksText(document["dataChecks"]);
    out << "\nPools\n";
    for (const auto& pool : document["pools"]) {
        out << "  " << Text(pool["index"]) << ". " << Text(pool["name"]) << "\n     ";
        for (const auto& [caption, value] : pool["info"].items()) out << " " << caption << ":" << Text(value);
        out << "\n";
        for (const UsageIntent intent : BothIntents) {
            out << "     Expert tuning, " << IntentName(intent) << ":\n";
            for (const auto& line : pool["tuningExplained"][IntentKey(intent)])
                out << "     " << Text(line["text"]) << "\n" << AdviceBecauseText(line);
        }
        if (pool["scanCost"].contains("caption")) {
            out << "     " << Text(pool["scanCost"]["caption"]) << Text(pool["scanCost"]["cost"]) << "\n";
            out << TextTable({{"headings", ScanHeadings()}, {"rows", pool["scanCost"]["rows"]}});
        }
        if (!pool["objectGrid"]["rows"].empty()) out << "     Objects:\n" << TextTable(pool["objectGrid"]);
        for (const auto& slot : pool["simulations"]) {
            out << "     simulation slot " << Text(slot["slot"]) << ": simulation " << Text(slot["simulationNo"])
                << " (" << Text(slot["fileName"]) << ") sizes";
            for (const auto& size : slot["sizes"]) out << " " << Text(size);
            out << "\n";
            if (slot.contains("charts")) out << SimGraphsText(slot);
            if (slot.contains("clusters")) out << ClustersText(slot["clusters"]);
        }
    }
    return out.str();
}

}  // namespace kov
