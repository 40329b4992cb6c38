#include "analysis/GeneralInfo.h"

#include "common/Formats.h"
#include "common/TextMatch.h"

namespace kov {

namespace {

// Per-second figures over an interval of no length read as zero.
double PerSecond(double count, std::int32_t seconds) {
    return seconds > 0 ? count / seconds : 0.0;
}

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
        total += static_cast<std::int64_t>(pool.VPSize) + pool.HPSize;
        if (total > INT32_MAX || total < INT32_MIN) {
            sink.Show({"Calculating Total 4K Buffers", "the total of 4K buffers exceeds a 32-bit counter",
                       MessageIcon::Information});
            return 0;
        }
    }
    return static_cast<std::int32_t>(total);
}

std::vector<LabelPair> Totals(const ReportModel& model, MessageSink& sink) {
    double ios = 0, getPages = 0, pagesRead = 0, updates = 0, pagesWritten = 0, writeIOs = 0;
    for (const PoolRecord& pool : model.Pools) {
        const ActivityBlock& a = pool.Activity;
        ios += static_cast<double>(a.ReadIOs) + a.WriteIOs;
        getPages += a.GetPages;
        pagesRead += a.PagesRead;
        updates += a.Updates;
        pagesWritten += a.PagesWritten;
        writeIOs += a.WriteIOs;
    }
    const std::int32_t seconds = ElapsedSeconds(model.SysInfo.ElapsedTime.Trimmed());
    return {{"Total Read/Write IO", Grouped(ios, 0)},
            {"Total Get Pages", Grouped(getPages, 0)},
            {"Total Updates", Grouped(updates, 0)},
            {"Overall Sys Hit Ratio", Grouped(Ratio(getPages - pagesRead, getPages) * 100, 2)},
            {"Total I/Os per second", Grouped(PerSecond(ios, seconds), 2)},
            {"Pages per write", Grouped(Ratio(pagesWritten, writeIOs), 2)},
            {"Total 4K Buffers", Grouped(Total4KBuffers(model, sink), 0)}};
}

const std::vector<std::string>& PoolGridHeadings() {
    static const std::vector<std::string> headings = {"Pool",       "RIO/Sec",       "Get Pages",       "Updates",
                                                      "Hit Ratio",  "I/O",           "WIO/Sec",         "Pages/Write",
                                                      "Write I/Os", "Pages Written", "Avg Pg Res Secs", "Rand Pg Rd",
                                                      "SP Pg Rd",   "LP Pg Rd",      "DynPF Pg Rd"};
    return headings;
}

StringTable PoolGrid(const ReportModel& model) {
    StringTable grid{PoolGridHeadings(), {}};
    const std::int32_t seconds = ElapsedSeconds(model.SysInfo.ElapsedTime.Trimmed());
    for (const PoolRecord& pool : model.Pools) {
        const ActivityBlock& a = pool.Activity;
        grid.Rows.push_back({
            pool.PoolName.PaddedString(),
            Grouped(PerSecond(a.ReadIOs, seconds), 2),
            PlainInteger(a.GetPages),
            PlainInteger(a.Updates),
            ShortestText(a.SysHitRatio),
            PlainInteger(static_cast<long long>(a.ReadIOs) + a.WriteIOs),
            Grouped(PerSecond(a.WriteIOs, seconds), 2),
            Grouped(a.WriteIOs < 1 ? 0.0 : static_cast<double>(a.PagesWritten) / a.WriteIOs, 2),
            PlainInteger(a.WriteIOs),
            PlainInteger(a.PagesWritten),
            ShortestText(a.Activity11),
            PlainInteger(a.PagesReadByType[1]),
            PlainInteger(a.PagesReadByType[2]),
            PlainInteger(a.PagesReadByType[3]),
            PlainInteger(a.PagesReadByType[4]),
        });
    }
    if (grid.Rows.empty()) grid.Rows.emplace_back(grid.Headings.size());
    return grid;
}

}  // namespace kov
