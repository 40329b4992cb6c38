// The Graphic Summary page in the window: eleven charts that follow the pool
// grid as the DBA has sorted it.

#include <gtest/gtest.h>

#include <QTabWidget>

#include "UiFixture.h"
#include "analysis/GraphicSummary.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ReportInfoPage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"

namespace kov::test {
namespace {

std::vector<std::string> BarLabels(const ChartData& chart) {
    std::vector<std::string> labels;
    for (const ChartPoint& point : chart.Points) labels.push_back(point.Label);
    return labels;
}

std::vector<std::string> GridColumn(GridView* grid, std::size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : grid->Model()->Table().Rows) cells.push_back(row[column]);
    return cells;
}

TEST(GraphicSummaryPage, ElevenChartsInTheGridsOrderAtActivation) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    QTabWidget* tabs = window->GraphicSummary()->tbsGraphicSummary();
    ASSERT_EQ(tabs->count(), 11);
    EXPECT_EQ(tabs->tabText(1), "I/O per Second");
    EXPECT_EQ(tabs->tabText(6), "Avg Page Residency Secs");
    EXPECT_EQ(window->GraphicSummary()->Chart(10)->objectName(), "ChartFXDPPagesRd");
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    for (int page = 0; page < 11; ++page) {
        tabs->setCurrentIndex(page);  // a tab's chart is drawn when the tab is chosen
        const ChartData& shown = window->GraphicSummary()->Chart(page)->Shown();
        const ChartData expected = GraphicSummaryChart(grid->Model()->Table(), page);
        EXPECT_EQ(shown.Title, expected.Title);
        EXPECT_EQ(shown.Points, expected.Points) << page;
        EXPECT_EQ(shown.Axis, expected.Axis) << page;
        EXPECT_EQ(BarLabels(shown), GridColumn(grid, 0)) << page;
    }
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST(GraphicSummaryPage, ASortedGridGivesSortedBarsOnTheNextOpening) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    const std::vector<std::string> fileOrder = GridColumn(grid, 0);
    ClickHeading(grid, 2);  // "Get Pages" ascending
    ClickHeading(grid, 2);  // and descending
    ASSERT_NE(GridColumn(grid, 0), fileOrder);
    EXPECT_EQ(BarLabels(window->GraphicSummary()->Shown(2)), fileOrder);  // not yet opened
    window->tbsStats()->setCurrentIndex(PageGraphicSummary);
    EXPECT_EQ(window->StatusText(), "General Buffer Pool Report Graphic Summary");
    const ChartData& getPages = window->GraphicSummary()->Shown(2);
    EXPECT_EQ(BarLabels(getPages), GridColumn(grid, 0));
    for (std::size_t i = 1; i < getPages.Points.size(); ++i)
        EXPECT_GE(getPages.Points[i - 1].Value, getPages.Points[i].Value);
}

}  // namespace
}  // namespace kov::test
