#include "analysis/GeneralInfo.h"

#include <array>

#include "common/Formats.h"
#include "common/TextMatch.h"
#include "model/Figures.h"

namespace kov {

namespace {

double Ratio(double numerator, double denominator) {
    return denominator != 0 ? numerator / denominator : 0.0;
}

}  // namespace

std::vector<LabelPair> HeaderLabels(const SystemInfo& s) {
    return {{"System", s.System.PaddedString()},           {"Sub System", s.SubSystem.PaddedString()},
            {"DB2 Version", s.DB2Version.PaddedString()},  {"DS Group", s.DSGroup.PaddedString()},
            {"Date", s.CollectionDate.PaddedString()},     {"Time", s.CollectionTime.PaddedString()},
            {"Elapsed Time", s.ElapsedTime.PaddedString()}};
}

std::int32_t Total4KBuffers(const ReportModel& model, MessageSink& sink) {
    std::int64_t total = 0;
    for (const PoolRecord& pool : model.Pools) {
        const std::string_view name = pool.PoolName.Padded();
        if (ContainsIgnoringCase(name, "8K") || ContainsIgnoringCase(name, "16K") || ContainsIgnoringCase(name, "32K"))
            continue;
        total += PoolSize(pool);
        if (total > INT32_MAX || total < INT32_MIN) {
            sink.Show({"Calculating Total 4K Buffers", "the total of 4K buffers exceeds a 32-bit counter",
                       MessageIcon::Information});
            return 0;
        }
    }
    return static_cast<std::int32_t>(total);
}

std::vector<Figure> TotalFigures(const ReportModel& model, MessageSink& sink) {
    double ios = 0, getPages = 0, pagesRead = 0, updates = 0, pagesWritten = 0, writeIOs = 0;
    for (const PoolRecord& pool : model.Pools) {
        const ActivityBlock& a = pool.Activity;
        ios += TotalIOs(a);
        getPages += a.GetPages;
        pagesRead += a.PagesRead;
        updates += a.Updates;
        pagesWritten += a.PagesWritten;
        writeIOs += a.WriteIOs;
    }
    const std::int32_t seconds = CollectionSeconds(model);
    return {{"Total Read/Write IO", true, ios},
            {"Total Get Pages", true, getPages},
            {"Total Updates", true, updates},
            {"Overall Sys Hit Ratio", false, Ratio(getPages - pagesRead, getPages) * 100},
            {"Total I/Os per second", false, PerSecond(ios, seconds)},
            {"Pages per write", false, Ratio(pagesWritten, writeIOs)},
            {"Total 4K Buffers", false, static_cast<double>(Total4KBuffers(model, sink))}};
}

std::vector<LabelPair> Totals(const ReportModel& model, MessageSink& sink) {
    static constexpr std::array<int, 7> decimals = {0, 0, 0, 2, 2, 2, 0};
    std::vector<LabelPair> labels;
    const std::vector<Figure> figures = TotalFigures(model, sink);
    for (std::size_t i = 0; i < figures.size(); ++i)
        labels.push_back({std::string(figures[i].Name), Grouped(figures[i].Value, decimals[i])});
    return labels;
}

const std::vector<std::string>& PoolGridHeadings() {
    static const std::vector<std::string> headings = {"Pool",       "RIO/Sec",       "Get Pages",       "Updates",
                                                      "Hit Ratio",  "I/O",           "WIO/Sec",         "Pages/Write",
                                                      "Write I/Os", "Pages Written", "Avg Pg Res Secs", "Rand Pg Rd",
                                                      "SP Pg Rd",   "LP Pg Rd",      "DynPF Pg Rd"};
    return headings;
}

std::vector<Figure> PoolFigures(const PoolRecord& pool, std::int32_t seconds) {
    const ActivityBlock& a = pool.Activity;
    const std::vector<std::string>& h = PoolGridHeadings();
    return {
        {h[1], false, PerSecond(a.ReadIOs, seconds)},
        {h[2], true, static_cast<double>(a.GetPages)},
        {h[3], true, static_cast<double>(a.Updates)},
        {h[4], false, a.SysHitRatio},
        {h[5], true, TotalIOs(a)},
        {h[6], false, PerSecond(a.WriteIOs, seconds)},
        {h[7], false, a.WriteIOs < 1 ? 0.0 : static_cast<double>(a.PagesWritten) / a.WriteIOs},
        {h[8], true, static_cast<double>(a.WriteIOs)},
        {h[9], true, static_cast<double>(a.PagesWritten)},
        {h[10], false, PageResidency(a)},
        {h[11], true, static_cast<double>(a.PagesReadByType[1])},
        {h[12], true, static_cast<double>(a.PagesReadByType[2])},
        {h[13], true, static_cast<double>(a.PagesReadByType[3])},
        {h[14], true, static_cast<double>(a.PagesReadByType[4])},
    };
}

StringTable PoolGrid(const ReportModel& model) {
    enum Format { Rate, Integer, Shortest };
    static constexpr std::array<Format, 14> formats = {Rate,    Integer, Integer,  Shortest, Integer, Rate,    Rate,
                                                       Integer, Integer, Shortest, Integer,  Integer, Integer, Integer};
    StringTable grid{PoolGridHeadings(), {}};
    const std::int32_t seconds = CollectionSeconds(model);
    for (const PoolRecord& pool : model.Pools) {
        std::vector<std::string>& row = grid.Rows.emplace_back();
        row.push_back(pool.PoolName.PaddedString());
        const std::vector<Figure> figures = PoolFigures(pool, seconds);
        for (std::size_t c = 0; c < figures.size(); ++c) {
            const double value = figures[c].Value;
            row.push_back(formats[c] == Rate      ? Grouped(value, 2)
                          : formats[c] == Integer ? PlainInteger(static_cast<long long>(value))
                                                  : ShortestDecimal(value));
        }
    }
    if (grid.Rows.empty()) grid.Rows.emplace_back(grid.Headings.size());
    return grid;
}

}  // namespace kov
