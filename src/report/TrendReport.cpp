#include "report/TrendReport.h"

#include <cmath>
#include <ostream>
#include <sstream>

#include "analysis/CompareReports.h"
#include "analysis/GeneralInfo.h"
#include "common/Formats.h"
#include "report/JsonNumber.h"
#include "report/TextTable.h"

namespace kov {

namespace {

using json = nlohmann::ordered_json;

// The pool grid's headings after "Pool": the names of a trend's figures.
std::vector<std::string> FigureNames() {
    const std::vector<std::string>& headings = PoolGridHeadings();
    return {headings.begin() + 1, headings.end()};
}

json ReportsJson(const SystemTrend& system) {
    json list = json::array();
    for (const ReportStamp& s : system.Reports)
        list.push_back({{"file", s.File}, {"date", s.Date}, {"time", s.Time}, {"elapsedSeconds", s.ElapsedSeconds}});
    return list;
}

json FiguresJson(const PoolTrend& pool) {
    const std::vector<std::string> names = FigureNames();
    json figures = json::object();
    for (std::size_t f = 0; f < names.size() && f < pool.Figures.size(); ++f) {
        json series = json::array();
        for (const std::optional<double>& value : pool.Figures[f])
            series.push_back(value ? JsonNumber(*value) : json(nullptr));
        figures[names[f]] = std::move(series);
    }
    return figures;
}

json DriftsJson(const std::vector<ObjectDrift>& drifts) {
    json list = json::array();
    for (const ObjectDrift& o : drifts)
        list.push_back({{"name", o.Name},
                        {"type", o.Type},
                        {"firstReport", o.FirstReport},
                        {"lastReport", o.LastReport},
                        {"first", JsonNumber(o.First)},
                        {"last", JsonNumber(o.Last)},
                        {"change", JsonNumber(o.Change)}});
    return list;
}

json PoolJson(const PoolTrend& pool) {
    json events = json::array();
    for (const TrendEvent& e : pool.Events) events.push_back({{"report", e.Report}, {"text", e.Text}});
    json advice = json::object();
    for (std::size_t i = 0; i < pool.Advice.size(); ++i) {
        json spans = json::array();
        for (const AdviceSpan& span : pool.Advice[i]) spans.push_back({{"text", span.Text}, {"reports", span.Reports}});
        advice[std::string(1, CompareIntents[i])] = std::move(spans);
    }
    return {{"name", pool.Name},
            {"figures", FiguresJson(pool)},
            {"events", events},
            {"advice", advice},
            {"syncReadIORises", DriftsJson(pool.SyncReadIORises)},
            {"syncReadIOFalls", DriftsJson(pool.SyncReadIOFalls)}};
}

// Whole numbers without decimals, every other figure with two, as the
// compare's grids show them; a pool absent from a report shows "-".
std::string Cell(const std::optional<double>& value) {
    if (!value) return "-";
    return Grouped(*value, std::nearbyint(*value) == *value ? 0 : 2);
}

std::string When(const ReportStamp& stamp) {
    return stamp.Date + " " + stamp.Time;
}

StringTable ReportsGrid(const SystemTrend& system) {
    StringTable table{{"Report", "File", "Date", "Time", "Elapsed (s)"}, {}};
    for (std::size_t r = 0; r < system.Reports.size(); ++r) {
        const ReportStamp& s = system.Reports[r];
        table.Rows.push_back({std::to_string(r), s.File, s.Date, s.Time, std::to_string(s.ElapsedSeconds)});
    }
    return table;
}

StringTable FiguresGrid(const SystemTrend& system, const PoolTrend& pool) {
    StringTable table{{"Report"}, {}};
    for (const std::string& name : FigureNames()) table.Headings.push_back(name);
    for (std::size_t r = 0; r < system.Reports.size(); ++r) {
        std::vector<std::string>& row = table.Rows.emplace_back();
        row.push_back(std::to_string(r));
        for (const FigureSeries& series : pool.Figures)
            row.push_back(Cell(r < series.size() ? series[r] : std::nullopt));
    }
    return table;
}

StringTable AdviceGrid(const SystemTrend& system, const PoolTrend& pool) {
    StringTable table{{"Intent", "Advice", "First seen", "Last seen", "Reports"}, {}};
    for (std::size_t i = 0; i < pool.Advice.size(); ++i)
        for (const AdviceSpan& span : pool.Advice[i]) {
            if (span.Reports.empty()) continue;
            table.Rows.push_back({std::string(1, CompareIntents[i]), span.Text,
                                  When(system.Reports.at(span.Reports.front())),
                                  When(system.Reports.at(span.Reports.back())), std::to_string(span.Reports.size())});
        }
    return table;
}

StringTable DriftsGrid(const SystemTrend& system, const std::vector<ObjectDrift>& drifts) {
    StringTable table{{"Type", "Object", "From", "To", "First/Sec", "Last/Sec", "Change"}, {}};
    for (const ObjectDrift& o : drifts)
        table.Rows.push_back({o.Type, o.Name, When(system.Reports.at(o.FirstReport)),
                              When(system.Reports.at(o.LastReport)), Cell(o.First), Cell(o.Last), Cell(o.Change)});
    return table;
}

void PoolText(std::ostream& out, const SystemTrend& system, const PoolTrend& pool) {
    out << "\nPool " << pool.Name << "\n" << TextTable(FiguresGrid(system, pool), 1, "  ");
    if (!pool.Events.empty()) {
        out << "  Events:\n";
        for (const TrendEvent& e : pool.Events)
            out << "    " << When(system.Reports.at(e.Report)) << "  " << e.Text << "\n";
    }
    const StringTable advice = AdviceGrid(system, pool);
    if (!advice.Rows.empty()) out << "  Expert tuning over time:\n" << TextTable(advice, 2, "    ");
    if (!pool.SyncReadIORises.empty())
        out << "  Largest rises of Sync. I/Os/Sec:\n" << TextTable(DriftsGrid(system, pool.SyncReadIORises), 4, "    ");
    if (!pool.SyncReadIOFalls.empty())
        out << "  Largest falls of Sync. I/Os/Sec:\n" << TextTable(DriftsGrid(system, pool.SyncReadIOFalls), 4, "    ");
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "; ") + line;
    return text;
}

}  // namespace

json BuildTrendDocument(const TrendResult& trend) {
    json systems = json::array();
    for (const SystemTrend& system : trend.Systems) {
        json pools = json::array();
        for (const PoolTrend& pool : system.Pools) pools.push_back(PoolJson(pool));
        systems.push_back({{"system", system.System}, {"reports", ReportsJson(system)}, {"pools", pools}});
    }
    json leftOut = json::array();
    for (const LeftOutReport& report : trend.LeftOut)
        leftOut.push_back({{"file", report.File}, {"messages", report.Messages}});
    return {{"systems", systems}, {"leftOut", leftOut}};
}

std::string RenderTrendText(const TrendResult& trend) {
    std::ostringstream out;
    if (trend.Systems.empty()) out << "No report is in the trend.\n";
    for (const SystemTrend& system : trend.Systems) {
        out << "Trend of " << system.System << ": " << system.Reports.size() << " report"
            << (system.Reports.size() == 1 ? "" : "s");
        if (!system.Reports.empty())
            out << ", " << When(system.Reports.front()) << " to " << When(system.Reports.back());
        out << "\nCounts are per second of each report's elapsed time, as the compare shows them; "
               "\"-\": the pool is not in that report.\n"
            << TextTable(ReportsGrid(system), 2, "  ");
        for (const PoolTrend& pool : system.Pools) PoolText(out, system, pool);
        out << "\n";
    }
    if (!trend.LeftOut.empty()) {
        out << "Left out:\n";
        for (const LeftOutReport& report : trend.LeftOut)
            out << "  " << report.File << ": " << Joined(report.Messages) << "\n";
    }
    return out.str();
}

int PrintTrend(const TrendResult& trend, bool json, std::ostream& out, std::ostream& err) {
    if (json)
        out << BuildTrendDocument(trend).dump(2, ' ', false, json::error_handler_t::replace) << "\n";
    else
        out << RenderTrendText(trend);
    for (const LeftOutReport& report : trend.LeftOut)
        err << "kovgraph-report: '" << report.File << "' is left out of the trend: " << Joined(report.Messages) << "\n";
    return trend.LeftOut.empty() ? 0 : 1;
}

int RunTrendReport(const TrendOptions& options, std::ostream& out, std::ostream& err) {
    return PrintTrend(TrendFromFiles(options.Files, options.Filter, options.Threads), options.Json, out, err);
}

}  // namespace kov
