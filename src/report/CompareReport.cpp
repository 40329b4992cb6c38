#include "report/CompareReport.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

#include "analysis/GeneralInfo.h"
#include "model/UsageIntent.h"
#include "readers/ReportLoading.h"
#include "report/JsonNumber.h"
#include "report/TextTable.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

json FigureJson(const FigureChange& f, Better better) {
    return {{"before", JsonNumber(f.Before)},
            {"after", JsonNumber(f.After)},
            {"change", JsonNumber(f.Change)},
            {"changePct", f.ChangePct ? JsonNumber(*f.ChangePct) : json(nullptr)},
            {"better", BetterName(better)}};
}

json FiguresJson(const std::vector<ComparedFigure>& figures) {
    json object = json::object();
    for (const ComparedFigure& figure : figures) object[figure.Name] = FigureJson(figure.Values, figure.Direction);
    return object;
}

json PerSecondNames(const std::vector<ComparedFigure>& figures) {
    json names = json::array();
    for (const ComparedFigure& figure : figures)
        if (figure.PerSecond) names.push_back(figure.Name);
    return names;
}

// Which pool figures are counts does not depend on the pool, so the list
// stands even when no pool is in both reports.
json PoolPerSecondNames() {
    json names = json::array();
    for (const Figure& figure : PoolFigures(PoolRecord{}, 0))
        if (figure.IsCount) names.push_back(figure.Name);
    return names;
}

json SideJson(const ComparedReport& report, std::int32_t seconds) {
    json messages = json::array();
    for (const Message& m : report.Messages)
        messages.push_back({{"title", m.Title}, {"text", m.Text}, {"icon", IconName(m.Icon)}});
    return {{"statsFile", report.StatFile},
            {"statsLoaded", report.StatsLoaded},
            {"messages", messages},
            {"date", report.Header.CollectionDate.TrimmedString()},
            {"time", report.Header.CollectionTime.TrimmedString()},
            {"elapsedTime", report.Header.ElapsedTime.TrimmedString()},
            {"elapsedSeconds", seconds}};
}

json TopObjectsJson(const PoolComparison& pool, const std::vector<std::size_t>& top) {
    json list = json::array();
    for (const std::size_t i : top) {
        const ObjectChange& o = pool.Objects[i];
        list.push_back({{"name", o.Name},
                        {"type", o.Type},
                        {"syncReadIOs", FigureJson(o.SyncReadIOs, ObjectSyncReadIOsBetter)},
                        {"getPages", FigureJson(o.GetPages, ObjectGetPagesBetter)}});
    }
    return list;
}

json PoolJson(const PoolComparison& pool) {
    json tuning = json::object();
    for (const UsageIntent intent : BothIntents) {
        const AdviceSplit& advice = pool.Advice[IntentIndex(intent)];
        tuning[IntentKey(intent)] = {{"added", advice.Added}, {"removed", advice.Removed}, {"kept", advice.Kept}};
    }
    return {{"name", pool.Name},
            {"beforeIndex", pool.BeforePool},
            {"afterIndex", pool.AfterPool},
            {"figures", FiguresJson(pool.Figures)},
            {"tuning", tuning},
            {"objects",
             {{"matched", pool.Objects.size()},
              {"onlyBefore", pool.ObjectsOnlyBefore},
              {"onlyAfter", pool.ObjectsOnlyAfter},
              {"syncReadIORises", TopObjectsJson(pool, pool.SyncReadRises)},
              {"syncReadIOFalls", TopObjectsJson(pool, pool.SyncReadFalls)}}}};
}

std::string NameList(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

void SideText(std::ostream& out, const char* which, const ComparedReport& report, std::int32_t seconds) {
    out << which << report.StatFile << "\n        " << report.Header.CollectionDate.Trimmed() << " "
        << report.Header.CollectionTime.Trimmed() << ", elapsed " << report.Header.ElapsedTime.Trimmed() << " ("
        << seconds << " s); read to its end: " << (report.StatsLoaded ? "yes" : "no") << "\n";
    for (const Message& m : report.Messages)
        out << "        Message [" << m.Title << "] (" << IconName(m.Icon) << "): " << m.Text << "\n";
}

void PoolText(std::ostream& out, const PoolComparison& pool) {
    out << "\nPool " << pool.Name << "\n" << TextTable(CompareFiguresGrid(pool.Figures), 1, "  ");
    for (const UsageIntent intent : BothIntents) {
        const AdviceSplit& advice = pool.Advice[IntentIndex(intent)];
        out << "  Expert tuning, " << IntentName(intent) << ":\n";
        for (const auto& [mark, lines] :
             {std::pair{"+ ", &advice.Added}, std::pair{"- ", &advice.Removed}, std::pair{"= ", &advice.Kept}})
            for (const std::string& line : *lines) out << "    " << mark << line << "\n";
    }
    out << "  Objects in both reports: " << pool.Objects.size() << "\n";
    if (!pool.ObjectsOnlyBefore.empty())
        out << "  Objects only in before: " << NameList(pool.ObjectsOnlyBefore) << "\n";
    if (!pool.ObjectsOnlyAfter.empty()) out << "  Objects only in after: " << NameList(pool.ObjectsOnlyAfter) << "\n";
    if (!pool.SyncReadRises.empty())
        out << "  Largest rises of Sync. I/Os/Sec:\n"
            << TextTable(CompareTopObjectsGrid(pool, pool.SyncReadRises), 2, "    ");
    if (!pool.SyncReadFalls.empty())
        out << "  Largest falls of Sync. I/Os/Sec:\n"
            << TextTable(CompareTopObjectsGrid(pool, pool.SyncReadFalls), 2, "    ");
}

ComparedReport Described(const std::string& path, LoadedReportSet& set) {
    ComparedReport report;
    report.StatFile = path;
    report.StatsLoaded = set.StatsRead;
    report.Messages = std::move(set.Sink.Messages);
    report.Header = set.Model.SysInfo;
    return report;
}

// Why a report was not read to its end, in one line.
std::string Failure(const ComparedReport& report) {
    std::string why;
    for (const Message& m : report.Messages) why += (why.empty() ? "" : "; ") + m.Text;
    return why.empty() ? "it holds no statistics" : why;
}

}  // namespace

json BuildCompareDocument(const ReportComparison& comparison, const ComparedReport& before,
                          const ComparedReport& after) {
    json pools = json::array();
    for (const PoolComparison& pool : comparison.Pools) pools.push_back(PoolJson(pool));
    return {{"before", SideJson(before, comparison.BeforeSeconds)},
            {"after", SideJson(after, comparison.AfterSeconds)},
            {"warnings", comparison.Warnings},
            {"perSecond",
             {{"totals", PerSecondNames(comparison.Totals)},
              {"poolFigures", PoolPerSecondNames()},
              {"objectFigures", {"syncReadIOs", "getPages"}}}},
            {"totals", FiguresJson(comparison.Totals)},
            {"poolsOnlyBefore", comparison.PoolsOnlyBefore},
            {"poolsOnlyAfter", comparison.PoolsOnlyAfter},
            {"pools", pools}};
}

std::string RenderCompareText(const ReportComparison& comparison, const ComparedReport& before,
                              const ComparedReport& after) {
    std::ostringstream out;
    out << "Comparison of two collection intervals\n";
    SideText(out, "Before: ", before, comparison.BeforeSeconds);
    SideText(out, "After:  ", after, comparison.AfterSeconds);
    for (const std::string& warning : comparison.Warnings) out << "Warning: " << warning << "\n";
    out << "Counts are compared per second of each report's elapsed time (figures named .../Sec).\n";
    out << "\nReport totals\n" << TextTable(CompareTotalsGrid(comparison), 1, "  ");
    if (!comparison.PoolsOnlyBefore.empty())
        out << "\nPools only in before: " << NameList(comparison.PoolsOnlyBefore) << "\n";
    if (!comparison.PoolsOnlyAfter.empty())
        out << (comparison.PoolsOnlyBefore.empty() ? "\n" : "")
            << "Pools only in after: " << NameList(comparison.PoolsOnlyAfter) << "\n";
    for (const PoolComparison& pool : comparison.Pools) PoolText(out, pool);
    return out.str();
}

int RunCompareReport(const CompareOptions& options, std::ostream& out, std::ostream& err) {
    const auto beforeSet = ReadReportSet(options.BeforeFile);
    const auto afterSet = ReadReportSet(options.AfterFile);
    const ComparedReport before = Described(options.BeforeFile, *beforeSet);
    const ComparedReport after = Described(options.AfterFile, *afterSet);
    const ReportComparison comparison = CompareReports(beforeSet->Model, afterSet->Model);
    if (options.Json) {
        out << BuildCompareDocument(comparison, before, after).dump(2, ' ', false, json::error_handler_t::replace)
            << "\n";
    } else {
        out << RenderCompareText(comparison, before, after);
    }
    for (const auto& [which, report] : {std::pair{"before", &before}, std::pair{"after", &after}})
        if (!report->StatsLoaded)
            err << "kovgraph-report: the " << which << " report '" << report->StatFile
                << "' was not read to its end: " << Failure(*report) << "\n";
    return before.StatsLoaded && after.StatsLoaded ? 0 : 1;
}

}  // namespace kov
