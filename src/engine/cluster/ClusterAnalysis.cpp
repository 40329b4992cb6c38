#include "cluster/ClusterAnalysis.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cluster/ClusterPoints.h"
#include "common/Formats.h"
#include "common/NumberText.h"
#include "model/Figures.h"

namespace kov {

namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsSizePoint(int k) {
    return k >= 1 && k <= MaxSizes;
}

// The share of the object's get pages that the intent is about, in percent.
double AccessShare(const ActivityBlock& activity, UsageIntent intent) {
    const auto& byAccess = activity.GetPagesByAccess;
    const double pages = intent == UsageIntent::Sequential
                             ? static_cast<double>(byAccess[1]) + static_cast<double>(byAccess[3])
                             : static_cast<double>(byAccess[2]);
    return pages / static_cast<double>(activity.GetPages) * 100;
}

}  // namespace

std::optional<double> LeadingDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    bool digits = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, digits = true) number += text[i];
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        for (; i < text.size() && IsDigit(text[i]); ++i, digits = true) number += text[i];
    }
    if (!digits) return std::nullopt;
    // An exponent counts only when digits follow it ("2e" reads as 2).
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '-' || text[j] == '+') exponent += text[j++];
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j) exponent += text[j];
            number += exponent;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    // Beyond a double's range: strtod gives the infinity or the zero it tends to.
    if (error == std::errc::result_out_of_range) return std::strtod(number.c_str(), nullptr);
    if (error != std::errc()) return std::nullopt;
    return value;
}

ClusterRadius ReadClusterRadius(std::string_view text, RadiusText rule) {
    if (rule == RadiusText::Typed) {
        const double radius = LeadingDecimal(text).value_or(0);
        if (radius < 0) return {radius, "The cluster radius must be 0 or more"};
        return {radius, ""};
    }
    double radius = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), radius);
    if (error != std::errc() || end != text.data() + text.size() || !(radius >= 0) || std::isinf(radius))
        return {0, "the radius must be a number of 0 or more, not '" + std::string(text) + "'"};
    return {radius, ""};
}

std::string ThresholdFolder(const std::string& programFolder) {
    std::error_code ec;
    for (const std::filesystem::path& folder :
         {std::filesystem::path(programFolder), std::filesystem::path(programFolder) / ".." / "share" / "kovgraph"})
        if (std::filesystem::is_regular_file(folder / "Rand.acc", ec)) return folder.lexically_normal().string();
    return programFolder;
}

double ReadUsageThreshold(const std::string& folder, UsageIntent intent, MessageSink& sink) {
    const std::string path = folder + (intent == UsageIntent::Random ? "/Rand.acc" : "/Seq.acc");
    std::ifstream in(path, std::ios::binary);
    std::string item;
    char c = 0;
    while (in.get(c) && c != ',' && c != '\r' && c != '\n') item += c;
    // An empty file has no first item to read, and a folder reads nothing.
    if (!in.is_open() || in.bad() || (item.empty() && !in)) {
        sink.Show({"Cluster Analysis", "Could not open " + path + " for threshold input", MessageIcon::Critical});
        return 0;
    }
    return LeadingDecimal(item).value_or(0);
}

ClusterRun RunClusterAnalysis(const ReportModel& model, const std::string& accFolder, const ClusterQuery& query,
                              MessageSink& sink) {
    ClusterRun run;
    run.Simulation = query.Simulation;
    run.SizePoint = query.SizePoint;
    run.Threshold = ReadUsageThreshold(accFolder, query.Intent, sink);
    const int sizePoint = query.SizePoint;
    const PoolSimRecord* poolSlot = PoolSlot(model, query.Pool, run.Simulation);
    if (poolSlot == nullptr || !IsSizePoint(sizePoint)) return run;

    const ObjectRange range = PoolObjects(model, model.Pools(query.Pool));
    for (int o = range.First; o <= range.Last; ++o) {
        const ObjectRecord& object = model.Objects(o);
        if (object.Activity.GetPages < 1) continue;
        const SimObjectRecord* slot = ObjectSlot(object, run.Simulation);
        const std::int32_t maxWorkSet = slot ? MaxWorkSet(*slot, sizePoint) : 0;
        if (maxWorkSet < 1) continue;
        if (AccessShare(object.Activity, query.Intent) < run.Threshold) continue;
        run.ClusterMembers.push_back(o);
        run.MemberMaxWorkSet.push_back(maxWorkSet);
    }
    const std::size_t n = run.ClusterMembers.size();
    run.ClusterOfMember.assign(n, 0);
    if (n < 3) return run;

    std::vector<std::int32_t> xValues = run.MemberMaxWorkSet;
    std::vector<std::int32_t> yValues(n, poolSlot->SimPoolSize[static_cast<std::size_t>(sizePoint)]);
    run.Result = ClusterPoints(query.Radius, static_cast<int>(n) - 1, xValues, yValues, sink);
    if (run.Result > 0) run.ClusterOfMember = std::move(xValues);
    return run;
}

const std::vector<std::string>& ClusterGridHeadings() {
    static const std::vector<std::string> headings{"Object", "Smallest Max WS", "Largest Max WS"};
    return headings;
}

const std::vector<std::string>& ClusterObjectGridHeadings() {
    static const std::vector<std::string> headings{"Type", "Object", "Max Work Set"};
    return headings;
}

StringTable EmptyClusterGrid(const std::vector<std::string>& headings) {
    return {headings, {std::vector<std::string>(headings.size())}};
}

StringTable FillClusterGrid(const ClusterRun& run) {
    StringTable grid = EmptyClusterGrid(ClusterGridHeadings());
    if (run.Result < 1) return grid;
    std::vector<std::int32_t> smallest(static_cast<std::size_t>(run.Result) + 1, 2'000'000'000);
    std::vector<std::int32_t> largest(smallest.size(), 0);
    std::vector<bool> seen(smallest.size(), false);
    for (std::size_t i = 0; i < run.ClusterOfMember.size(); ++i) {
        const std::int32_t m = run.ClusterOfMember[i];
        if (m < 1 || m > run.Result) continue;
        const auto slot = static_cast<std::size_t>(m);
        smallest[slot] = std::min(smallest[slot], run.MemberMaxWorkSet[i]);
        largest[slot] = std::max(largest[slot], run.MemberMaxWorkSet[i]);
        seen[slot] = true;
    }
    grid.Rows.clear();
    for (std::size_t m = 1; m < smallest.size(); ++m)
        grid.Rows.push_back({PlainInteger(static_cast<long long>(m)), PlainInteger(seen[m] ? smallest[m] : 0),
                             PlainInteger(largest[m])});
    return grid;
}

namespace {

std::vector<std::string> MemberRow(const ObjectRecord& o, std::int32_t maxWorkSet) {
    return {o.ObjectType.TrimmedString(), o.LongName.TrimmedString(), PlainInteger(maxWorkSet)};
}

}  // namespace

std::optional<ClusterObjects> ShowClusterObjects(const ReportModel& model, const ClusterRun& run, int m) {
    if (m == 0) return std::nullopt;
    ClusterObjects shown{EmptyClusterGrid(ClusterObjectGridHeadings()), {}};
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < run.ClusterOfMember.size(); ++i) {
        if (run.ClusterOfMember[i] != m || !model.Objects.Contains(run.ClusterMembers[i])) continue;
        rows.push_back(MemberRow(model.Objects(run.ClusterMembers[i]), run.MemberMaxWorkSet[i]));
    }
    shown.StatusText = PlainInteger(static_cast<long long>(rows.size())) + " Objects in Cluster " + PlainInteger(m);
    if (!rows.empty()) shown.Grid.Rows = std::move(rows);
    return shown;
}

std::vector<std::vector<std::vector<std::string>>> MembersByCluster(const ReportModel& model, const ClusterRun& run) {
    std::vector<std::vector<std::vector<std::string>>> clusters(static_cast<std::size_t>(std::max(run.Result, 0)));
    for (std::size_t i = 0; i < run.ClusterOfMember.size(); ++i) {
        const std::int32_t m = run.ClusterOfMember[i];
        if (m < 1 || m > run.Result || !model.Objects.Contains(run.ClusterMembers[i])) continue;
        clusters[static_cast<std::size_t>(m - 1)].push_back(
            MemberRow(model.Objects(run.ClusterMembers[i]), run.MemberMaxWorkSet[i]));
    }
    return clusters;
}

std::string StepRadiusText(std::string_view typed, int direction) {
    constexpr double kLeast = 4, kMost = 76;  // tenths
    const double tenths = std::nearbyint(LeadingDecimal(typed).value_or(0) * 10) + direction;
    // Bounds first, so text beyond any integer still steps to a bound.
    const double kept = std::isnan(tenths) ? kLeast : std::clamp(tenths, kLeast, kMost);
    return ShortestDecimal(kept / 10);
}

std::optional<int> WholeNumberOf(std::string_view typed) {
    const std::optional<double> number = LeadingDecimal(typed);
    if (!number || !(std::fabs(*number) < 1e9)) return std::nullopt;
    return static_cast<int>(std::nearbyint(*number));
}

std::string StepSimulationNumber(std::string_view typed, int direction, int simCount) {
    const double number = std::nearbyint(LeadingDecimal(typed).value_or(0)) + direction;
    const double most = std::max(simCount, 1);
    return PlainInteger(static_cast<long long>(std::isnan(number) ? 1 : std::clamp(number, 1.0, most)));
}

std::string SimulationFileName(const ReportModel& model, int p, int s) {
    const PoolSimRecord* slot = PoolSlot(model, p, s);
    if (slot == nullptr || !model.Simulations.Contains(slot->SimulationNo)) return {};
    return model.Simulations(slot->SimulationNo).FileName;
}

std::vector<std::string> SimulationPoolSizes(const ReportModel& model, int p, int s) {
    std::vector<std::string> sizes;
    const PoolSimRecord* slot = PoolSlot(model, p, s);
    if (slot == nullptr || !model.Simulations.Contains(slot->SimulationNo)) return sizes;
    const int count = std::min<int>(model.Simulations(slot->SimulationNo).SizeCount, MaxSizes);
    for (int k = 1; k <= count; ++k) {
        const std::int32_t size = slot->SimPoolSize[static_cast<std::size_t>(k)];
        if (size >= 1) sizes.push_back(PlainInteger(size));
    }
    return sizes;
}

}  // namespace kov
