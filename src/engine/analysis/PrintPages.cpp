#include "analysis/PrintPages.h"

#include <array>
#include <cstdio>

#include "common/CollectionDate.h"
#include "common/FixedText.h"
#include "common/Formats.h"
#include "common/TextMatch.h"
#include "model/Figures.h"
#include "views/PageStatus.h"

namespace kov {

namespace {

const std::string kGap(10, ' ');

std::string Trim(std::string_view text) {
    return std::string(TrimBlanks(text));
}

std::string_view Value(const std::vector<LabelPair>& labels, std::string_view caption) {
    for (const LabelPair& label : labels)
        if (label.Caption == caption) return label.Value;
    return {};
}

PrintedPage ChartPage(std::string title, std::string subTitle, const ChartData& chart) {
    PrintedPage page;
    page.Title = std::move(title);
    page.SubTitle = std::move(subTitle);
    page.Chart = chart;
    page.Chart->Messages.clear();
    return page;
}

bool IsPrintableMember(const std::vector<std::string>& row) {
    if (row.size() < 2 || Trim(row[1]).empty()) return false;
    const std::string type = Trim(row[0]);
    return row[1].find("DSNDB06") == std::string::npos && type != "U" && type != "*";
}

}  // namespace

const char* PrintFailureTitle(int page) {
    switch (page) {
        case PageReportInfo:
            return kReportSummaryPrintTitle;
        case PageGraphicSummary:
            return kGraphicSummaryPrintTitle;
        case PageObjectInfo:
            return kObjectPrintTitle;
        case PageSimClusterAnalysis:
            return kClusterPrintTitle;
        default:
            return kPoolPrintTitle;
    }
}

std::string HeaderLine(const SystemInfo& info, bool withDSGroup) {
    std::string line =
        "System: " + info.System.TrimmedString() + kGap + "Sub System: " + info.SubSystem.TrimmedString() + kGap;
    if (withDSGroup) line += "DS Group: " + info.DSGroup.TrimmedString() + kGap;
    return line + "Date: " + info.CollectionDate.TrimmedString() + kGap +
           "Time: " + info.CollectionTime.TrimmedString();
}

std::string PrintedCollectionDate(std::string_view date, std::string_view time) {
    const std::string dateText = Trim(date), timeText = Trim(time);
    const std::optional<CalendarDate> day = ReadCollectionDate(dateText);
    const auto clock = ReadCollectionTime(timeText);
    if (!day || !clock) return dateText + "  " + timeText;
    const int hour12 = (*clock)[0] % 12 == 0 ? 12 : (*clock)[0] % 12;
    char text[48];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d   %02d:%02d %s", day->Month, day->Day, day->Year, hour12,
                  (*clock)[1], (*clock)[0] < 12 ? "AM" : "PM");
    return text;
}

std::vector<PrintedPage> ReportSummaryPages(const std::vector<LabelPair>& header, const std::vector<LabelPair>& totals,
                                            const StringTable& poolGrid) {
    constexpr std::size_t kColumns = 8;  // "Pool" .. "Pages/Write"
    PrintedPage heading;
    heading.Title = "Buffer Pool Statistics";
    heading.SubTitle = "Report Summary";
    for (const char* caption : {"System", "Sub System", "Date", "Time", "DS Group"})
        heading.Details.push_back({caption, Trim(Value(header, caption))});
    heading.Details.insert(heading.Details.end(), totals.begin(), totals.end());
    heading.LineHeadings.assign(poolGrid.Headings.begin(),
                                poolGrid.Headings.begin() + std::min(kColumns, poolGrid.Headings.size()));
    std::vector<PrintedPage> pages;
    for (std::size_t r = 0; r < poolGrid.Rows.size() || pages.empty(); r += kSummaryLinesPerPage) {
        PrintedPage page = heading;
        for (std::size_t i = r; i < std::min(r + kSummaryLinesPerPage, poolGrid.Rows.size()); ++i) {
            const auto& row = poolGrid.Rows[i];
            page.Lines.emplace_back(row.begin(), row.begin() + std::min(kColumns, row.size()));
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

PrintedPage GraphicSummaryPrintPage(const SystemInfo& info, const ChartData& chart) {
    PrintedPage page = ChartPage("Buffer Pools Graphics Summary", HeaderLine(info, true), chart);
    for (const ChartPoint& point : chart.Points) page.SupLabels.push_back({point.Label, Grouped(point.Value, 2)});
    return page;
}

PrintedPage PoolPrintPage(const SystemInfo& info, std::string_view poolName, const ChartData& chart) {
    PrintedPage page = ChartPage("Buffer Pool " + Trim(poolName), HeaderLine(info, false), chart);
    for (std::size_t i = 0; i < chart.SideLabels.size(); ++i)
        if (!chart.IsSideLabelHidden(i)) page.SupLabels.push_back(chart.SideLabels[i]);
    page.Chart->SideLabels.clear();
    page.Chart->HiddenSideLabels.clear();
    return page;
}

PrintedPage ObjectPrintPage(const SystemInfo& info, std::string_view poolName, const std::vector<LabelPair>& labels,
                            const ChartData& chart) {
    PrintedPage page = ChartPage(Trim(poolName) + " Pool Objects", HeaderLine(info, false), chart);
    page.Details = labels;
    return page;
}

PrintedPage SimGraphPrintPage(const SystemInfo& info, std::string_view poolName, const ChartData& chart) {
    return ChartPage("Buffer Pool " + Trim(poolName), HeaderLine(info, false), chart);
}

ClusterPrintHeading ClusterHeadingOf(const PoolRecord& pool, std::vector<std::string> clusterRow, char intent,
                                     std::string simulatedPoolSize) {
    return {pool.PoolName.TrimmedString(), std::move(clusterRow), intent, PoolSize(pool), std::move(simulatedPoolSize)};
}

std::vector<PrintedPage> ClusterPrintPages(const SystemInfo& info, const ClusterPrintHeading& heading,
                                           const StringTable& clusterObjects) {
    const auto cell = [&](std::size_t column) { return column < heading.Row.size() ? heading.Row[column] : ""; };
    PrintedPage first;
    first.Title = "Buffer Pool " + heading.PoolName;
    first.SubTitle = HeaderLine(info, false);
    first.SubTitle1 =
        " Cluster # = " + cell(0) + (heading.Intent == 'R' ? "  -- Random objects" : "  -- Sequential objects");
    first.SupLabels = {
        {"Collection Date", PrintedCollectionDate(info.CollectionDate.Padded(), info.CollectionTime.Padded())},
        {"Original Pool Size", PlainInteger(heading.OriginalPoolSize)},
        {"Pool Size Simulated", heading.SimulatedPoolSize},
        {"Max. WkSet", cell(2)}};
    first.LineHeadings = {"Object", "Type"};
    std::vector<PrintedPage> pages{first};
    for (const std::vector<std::string>& row : clusterObjects.Rows) {
        if (!IsPrintableMember(row)) continue;
        if (pages.back().Lines.size() == kClusterLinesPerPage) pages.push_back(first);
        pages.back().Lines.push_back({row[1], row[0]});
    }
    return pages;
}

}  // namespace kov
