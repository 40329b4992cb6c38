#include <gtest/gtest.h>

#include "analysis/GeneralInfo.h"
#include "analysis/GraphicSummary.h"
#include "analysis/PoolCharts.h"
#include "analysis/PrintPages.h"
#include "cluster/ClusterAnalysis.h"
#include "support/ReportFiles.h"

namespace kov {
namespace {

SystemInfo System() {
    SystemInfo info;
    info.System = "SYSA";
    info.SubSystem = "DB2P";
    info.DSGroup = "DSGP";
    info.CollectionDate = "30-NOV-26";
    info.CollectionTime = "14:05:00";
    return info;
}

TEST(PrintedCollectionDate, MonthDayYearAndTwelveHourClock) {
    const struct {
        const char* date;
        const char* time;
        const char* printed;
    } cases[] = {
        {"30-NOV-26 ", "14:05:00", "11-30-2026   02:05 PM"}, {"01-jan-99", "00:30:00", "01-01-1999   12:30 AM"},
        {"2026-11-30", "12:00:00", "11-30-2026   12:00 PM"}, {"7/4/2026", "09:15", "07-04-2026   09:15 AM"},
        {"sometime", "10:00:00", "sometime  10:00:00"},  // no date: given as it stands
        {"30-NOV-26", "25:00:00", "30-NOV-26  25:00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(PrintedCollectionDate(c.date, c.time), c.printed) << c.date;
}

StringTable ClusterObjects(int printable, int catalog, int unprintableTypes) {
    StringTable grid{ClusterObjectGridHeadings(), {}};
    for (int i = 1; i <= printable; ++i) grid.Rows.push_back({"T", "DB1.TS" + std::to_string(i), "10"});
    for (int i = 1; i <= catalog; ++i) grid.Rows.push_back({"I", "DSNDB06.IX" + std::to_string(i), "10"});
    for (int i = 1; i <= unprintableTypes; ++i)
        grid.Rows.push_back({i % 2 ? "U" : "*", "DB1.X" + std::to_string(i), "1"});
    return grid;
}

ClusterPrintHeading Heading(UsageIntent intent) {
    return {"BP1", {"3", "120", "480"}, intent, 1200, "2400"};
}

TEST(ClusterPrintPages, TwentyFiveObjectLinesAPageWithTheHeadingOnEvery) {
    const struct {
        int printable, catalog, unprintable;
        std::vector<std::size_t> lines;
    } cases[] = {
        {60, 0, 0, {25, 25, 10}}, {50, 0, 0, {25, 25}},
        {3, 4, 4, {3}},           {0, 7, 0, {0}},  // all catalog objects: the heading page alone
        {0, 0, 0, {0}},
    };
    for (const auto& c : cases) {
        const auto pages = ClusterPrintPages(System(), Heading(UsageIntent::Random),
                                             ClusterObjects(c.printable, c.catalog, c.unprintable));
        std::vector<std::size_t> lines;
        for (const PrintedPage& page : pages) {
            lines.push_back(page.Lines.size());
            EXPECT_EQ(page.Title, "Buffer Pool BP1");
            EXPECT_EQ(page.SubTitle, HeaderLine(System(), false));
            EXPECT_EQ(page.SubTitle1, " Cluster # = 3  -- Random objects");
            EXPECT_EQ(page.SupLabels, (std::vector<LabelPair>{{"Collection Date", "11-30-2026   02:05 PM"},
                                                              {"Original Pool Size", "1200"},
                                                              {"Pool Size Simulated", "2400"},
                                                              {"Max. WkSet", "480"}}));
            for (const auto& line : page.Lines) EXPECT_EQ(line.at(1), "T");
        }
        EXPECT_EQ(lines, c.lines) << c.printable << "/" << c.catalog << "/" << c.unprintable;
    }
    const auto sequential = ClusterPrintPages(System(), Heading(UsageIntent::Sequential), ClusterObjects(1, 0, 0));
    EXPECT_EQ(sequential.at(0).SubTitle1, " Cluster # = 3  -- Sequential objects");
    EXPECT_EQ(sequential.at(0).Lines.at(0), (std::vector<std::string>{"DB1.TS1", "T"}));
}

TEST(GraphicSummaryPrintPage, EveryBarsPoolAboveItsValueWithTwoDecimals) {
    StringTable grid{PoolGridHeadings(), {2, std::vector<std::string>(15, "0")}};
    grid.Rows[0][0] = "BP0     ";
    grid.Rows[0][5] = "1234567";
    grid.Rows[1][0] = "BP1     ";
    const PrintedPage page = GraphicSummaryPrintPage(System(), GraphicSummaryChart(grid, 0));
    EXPECT_EQ(page.Title, "Buffer Pools Graphics Summary");
    EXPECT_EQ(page.SubTitle, HeaderLine(System(), true));
    EXPECT_EQ(page.SupLabels, (std::vector<LabelPair>{{"BP0     ", "1,234,567.00"}, {"BP1     ", "0.00"}}));
    ASSERT_TRUE(page.Chart && page.Chart->Axis);
    EXPECT_EQ(*page.Chart->Axis, (AxisRange{0, 1234567}));
}

TEST(PoolPrintPage, TheChartWithItsVisibleSideLabels) {
    ChartData chart;
    chart.Title = "Access Type";
    chart.SideLabels = {{"Get Pages", "10"}, {"", ""}, {"Pages Read", "4"}};
    chart.HiddenSideLabels = {1};
    chart.Messages = {{"", "no get pages", MessageIcon::None}};
    const PrintedPage page = PoolPrintPage(System(), "BP2     ", chart);
    EXPECT_EQ(page.Title, "Buffer Pool BP2");
    EXPECT_EQ(page.SupLabels, (std::vector<LabelPair>{{"Get Pages", "10"}, {"Pages Read", "4"}}));
    EXPECT_TRUE(page.Chart->Messages.empty());  // shown on screen already, not printed
    EXPECT_EQ(ObjectPrintPage(System(), "BP2     ", {}, chart).Title, "BP2 Pool Objects");
}

}  // namespace
}  // namespace kov
