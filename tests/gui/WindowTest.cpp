// The analysis window and the start-up road, with real widgets and events.

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "TrayIcon.h"
#include "UiFixture.h"
#include "frmTitle.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/ScanCostPage.h"
#include "support/ChartPoints.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov::test {
namespace {

TEST(TitleScreen, ClosesItselfAfterTwoSeconds) {
    frmTitle title;
    EXPECT_EQ(title.windowTitle(), "KOVGraph");
    QElapsedTimer clock;
    clock.start();
    title.exec();
    EXPECT_GE(clock.elapsed(), 1800);  // timers may fire a little early
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(StartUp, LoadsTheSamplesAndActivatesOnReportInfo) {
    UiHarness ui;
    auto window = ui.StartWithSamples();
    EXPECT_TRUE(ui.sink.Messages.empty());
    EXPECT_EQ(ui.endProgramCalls, 0);
    EXPECT_TRUE(ui.model.StatsLoaded);
    EXPECT_EQ(ui.model.SimulationCount, 3);
    EXPECT_EQ(ui.model.CurrentPool, 1);
    QTabWidget* tabs = window->tbsStats();
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(window->StatusText(), "General Buffer Pool Report Information");
    const bool enabled[] = {true, true, false, false, false, true, false, false};
    for (int page = 0; page < 8; ++page) EXPECT_EQ(tabs->isTabEnabled(page), enabled[page]) << page;
    EXPECT_TRUE(tabs->isTabVisible(6) && tabs->isTabVisible(7));
}

TEST(StartUp, CancelOnTheFileSelectionEndsTheProgram) {
    UiHarness ui;
    ui.onFileSelection = [](frmSelectFiles& screen) { screen.findChild<QPushButton*>("cmdQuit")->click(); };
    frmStatAnalysis window(ui.model, ui.sink, ui.state, ui.services);
    window.Form_Load();
    EXPECT_EQ(ui.endProgramCalls, 1);
}

using Grid = SamplesWindow;
TEST_F(Grid, HeadingClicksToggleOneSharedDirection) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);

    ClickHeading(grid, 2);
    EXPECT_EQ(Heading(grid, 2), "Get Pages (A)");
    for (int row = 1; row < grid->model()->rowCount(); ++row)
        EXPECT_LE(grid->Cell(row - 1, 2).toLongLong(), grid->Cell(row, 2).toLongLong());
    ClickHeading(grid, 2);
    EXPECT_EQ(Heading(grid, 2), "Get Pages (D)");
    EXPECT_EQ(grid->Cell(0, 0).trimmed(), "BP2") << "the busiest pool first";
    ClickHeading(grid, 3);
    EXPECT_EQ(Heading(grid, 3), "Updates (A)");
    EXPECT_EQ(Heading(grid, 2), "Get Pages");
    EXPECT_EQ(grid->selectionModel()->selectedRows().value(0).row(), 0);

    // A refill restores the pool order and the plain headings.
    window->ReportInfo()->FillPoolGrid(ui.model);
    EXPECT_EQ(grid->Cell(0, 0).trimmed(), "BP0");
    EXPECT_EQ(Heading(grid, 3), "Updates");
}

TEST_F(Grid, RowClickMakesThePoolCurrent) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    const struct {
        const char* pool;
        int index;
        bool simulationPages;
    } cases[] = {{"BP2", 3, true}, {"BP3", 4, false}, {"BP0", 1, true}};
    for (const auto& c : cases) {
        int row = 0;
        while (grid->Cell(row, 0).trimmed() != c.pool) ++row;
        ClickRow(grid, row);
        EXPECT_EQ(ui.model.CurrentPool, c.index) << c.pool;
        EXPECT_EQ(window->windowTitle(), QString("KOVGraph - ") + c.pool);
        for (int page = 1; page <= 7; ++page)
            EXPECT_EQ(window->tbsStats()->isTabEnabled(page), page <= 5 || c.simulationPages) << c.pool << page;
        EXPECT_EQ(window->ClusterPoolSizes().size(), c.simulationPages ? 16u : 0u);
    }
}

// The Graphic Summary follows the pool grid as the DBA has sorted it.
std::vector<std::string> GridColumn(GridView* grid, std::size_t column) {
    std::vector<std::string> cells;
    for (const auto& row : grid->Model()->Table().Rows) cells.push_back(row[column]);
    return cells;
}

using GraphicSummary = SamplesWindow;
TEST_F(GraphicSummary, ASortedGridGivesSortedBarsOnTheNextOpening) {
    GridView* grid = window->ReportInfo()->grdPoolInfo();
    const std::vector<std::string> fileOrder = GridColumn(grid, 0);
    ClickHeading(grid, 2);  // "Get Pages" ascending
    ClickHeading(grid, 2);  // and descending
    ASSERT_NE(GridColumn(grid, 0), fileOrder);
    EXPECT_EQ(PointLabels(window->GraphicSummary()->Shown(2)), fileOrder);  // not yet opened
    window->tbsStats()->setCurrentIndex(PageGraphicSummary);
    const ChartData& getPages = window->GraphicSummary()->Shown(2);
    EXPECT_EQ(PointLabels(getPages), GridColumn(grid, 0));
    for (std::size_t i = 1; i < getPages.Points.size(); ++i)
        EXPECT_GE(getPages.Points[i - 1].Value, getPages.Points[i].Value);
}

// A bar of the graphic summary (or its pool's name) picks its pool as the
// pool grid does, and opens Pool Info on it.
TEST_F(GraphicSummary, AClickOnAPoolsBarOpensPoolInfoOnThatPool) {
    window->tbsStats()->setCurrentIndex(PageGraphicSummary);
    GraphicSummaryPage& page = *window->GraphicSummary();
    page.tbsGraphicSummary()->setCurrentIndex(0);
    QApplication::processEvents();
    ChartWidget& chart = *page.Chart(0);
    const int bar = 5;
    const std::string pool(TrimBlanks(chart.Shown().Points[bar].Label));  // the grid cell, as shown
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, chart.CategoryLabelCentre(bar));
    EXPECT_EQ(window->tbsStats()->currentIndex(), PagePoolInfo);
    ASSERT_TRUE(ui.model.Pools.Contains(ui.model.CurrentPool));
    EXPECT_EQ(ui.model.Pools(ui.model.CurrentPool).PoolName.TrimmedString(), pool);
}

using Pages = SamplesWindow;
TEST_F(Pages, StatusTextAndPrintButtonFollowThePage) {
    window->SelectPoolFromGrid("BP1");
    auto* print = window->findChild<QPushButton*>("cmdPrint");
    const struct {
        int page;
        const char* status;
        bool print;
    } steps[] = {{2, "Buffer Pool details", true},
                 {4, "Buffer Pool Statistical Analysis", false},
                 {5, "Buffer Pool Statistical Analysis", false},  // the scan-cost page changes neither
                 {3, "Object details", true},
                 {5, "Object details", true},
                 {1, "General Buffer Pool Report Graphic Summary", true},
                 {6, "Simulation Graphs", true},
                 {7, "Cluster Analysis details", true},
                 {0, "General Buffer Pool Report Information", true}};
    for (const auto& step : steps) {
        window->tbsStats()->setCurrentIndex(step.page);
        EXPECT_EQ(window->StatusText(), step.status) << step.page;
        EXPECT_EQ(print->isVisibleTo(window.get()), step.print) << step.page;
        EXPECT_EQ(window->findChild<QPushButton*>("cmdClusterCreateFile")->isVisibleTo(window.get()), step.page == 7);
        EXPECT_EQ(window->findChild<QPushButton*>("cmdCreateFile")->isVisibleTo(window.get()), step.page == 6);
    }
}

TEST_F(Pages, NextAndPreviousPoolStopAtTheEnds) {
    window->SelectPoolFromGrid("BP32K");
    auto* next = window->PoolInfo()->cmdNextPool();
    auto* previous = window->PoolInfo()->cmdPreviousPool();
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(ui.model.CurrentPool, 8);
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(ui.model.CurrentPool, 7);
    EXPECT_EQ(window->windowTitle(), "KOVGraph - BP16K0");
    EXPECT_EQ(ui.model.CurrentObject, ui.model.Pools(7).FirstObject);
    for (int i = 0; i < 10; ++i) QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(ui.model.CurrentPool, 1);
    EXPECT_TRUE(window->tbsStats()->isTabEnabled(6)) << "BP0 has a simulation";
}

using ScanCost = SamplesWindow;
TEST_F(ScanCost, DoubleClickOnTheWindowRefreshesBothLists) {
    window->ScanCost()->grdScanCost()->SetTable({});
    QTest::mouseDClick(window.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->ScanCost()->grdScanCost()->model()->rowCount(), 20);
}

using Back = SamplesWindow;
TEST_F(Back, ReturnsToTheFileSelectionWithTheLoadedReports) {
    window->SelectPoolFromGrid("BP2");
    int shown = 0;
    ui.onFileSelection = [&](frmSelectFiles& screen) {
        ++shown;
        EXPECT_EQ(screen.findChild<QLabel*>("lblStatFile")->text(), SampleStat());
        EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->count(), 3);
        EXPECT_EQ(screen.findChild<QComboBox*>("cboFiles")->currentIndex(), 0);
        EXPECT_FALSE(window->isVisible());
        screen.cmdNext_Click();
    };
    window->findChild<QPushButton*>("cmdBack")->click();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.model.PoolCount(), 8) << "Back keeps the loaded report";
    EXPECT_EQ(ui.model.CurrentPool, 1) << "the activation starts again at the first pool";
    EXPECT_FALSE(ui.model.SimulationsLoaded);
}

TEST_F(Back, QuittingOnTheFileSelectionEndsWithoutShowingTheWindow) {
    ui.onFileSelection = [&](frmSelectFiles& screen) {
        screen.cmdQuit_Click();
        ui.state.QuitRequested = true;
    };
    window->cmdBack_Click();
    EXPECT_GE(ui.endProgramCalls, 1);
    EXPECT_FALSE(window->isVisible());
}

using Finish = SamplesWindow;
TEST_F(Finish, EndsTheProgramAndRemovesTheTrayIcon) {
    window->findChild<QPushButton*>("cmdFinish")->click();
    EXPECT_EQ(ui.endProgramCalls, 1);
    EXPECT_TRUE(ui.state.QuitRequested);
    EXPECT_FALSE(window->Tray()->IsShown());
}

using PoolChart = SamplesWindow;
TEST_F(PoolChart, FollowsTheGraphTypeAndThePool) {
    PoolInfoPage* page = window->PoolInfo();
    EXPECT_EQ(page->GraphPosition(), 1) << "activation selects the first graph type";
    EXPECT_EQ(page->Chart()->Shown().Title, "Buffer Pool - BP0     ");

    auto* types = window->findChild<QComboBox*>("cboPoolGraphType");
    ASSERT_EQ(types->count(), 24);
    types->setCurrentIndex(6);
    emit types->activated(6);

    window->cmdNextPool_Click();
    EXPECT_EQ(page->Chart()->Shown().Title, "Buffer Pool - BP1     ");
    EXPECT_EQ(page->GraphPosition(), 7) << "the chosen graph type stays";
}

TEST_F(PoolChart, TheGraphTypeListOpensWideUnderItsBoxInsideTheWindow) {
    window->tbsStats()->setTabEnabled(2, true);
    window->tbsStats()->setCurrentIndex(2);
    auto* types = window->findChild<QComboBox*>("cboPoolGraphType");
    for (const QPoint place : {QPoint(0, 0), QPoint(600, 40)}) {  // the box near the screen's edge, then inside
        window->move(place);
        QApplication::processEvents();
        types->showPopup();
        QApplication::processEvents();
        const QWidget* popup = types->view()->window();
        ASSERT_NE(popup, window.get());
        const QRect area = popup->geometry();
        const QRect across = window->frameGeometry().intersected(types->screen()->availableGeometry());
        EXPECT_EQ(area.width(), std::min(3 * types->width(), across.width()));
        EXPECT_GE(area.left(), across.left()) << "inside the window and the screen";
        EXPECT_LE(area.right(), across.right());
        const int underBox = types->mapToGlobal(QPoint(0, types->height())).y();
        const int screenBottom = types->screen()->availableGeometry().bottom();
        if (underBox + area.height() - 1 <= screenBottom) {
            EXPECT_EQ(area.top(), underBox) << "under its box";
        } else {
            EXPECT_EQ(area.bottom(), screenBottom) << "as low as the screen lets it";
        }
        const int boxRight = types->mapToGlobal(QPoint(types->width(), 0)).x();
        if (boxRight - 3 * types->width() >= across.left()) {
            EXPECT_EQ(area.right() + 1, boxRight);
        }
        types->hidePopup();
    }
}

using PoolDetailsPanel = SamplesWindow;
TEST_F(PoolDetailsPanel, ABarClickOpensItAndReplacingTheChartClosesIt) {
    window->tbsStats()->setTabEnabled(2, true);
    window->tbsStats()->setCurrentIndex(2);
    PoolInfoPage* page = window->PoolInfo();
    QWidget* panel = page->pnlPoolDetails();
    EXPECT_FALSE(panel->isVisible());

    const int object = ui.model.Pools(1).FirstObject;
    emit page->Chart()->ObjectClicked(object);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(window->findChild<QLabel*>("lblPanelData_0")->text(),
              "  " + QString::number(ui.model.Objects(object).Activity.GetPages));
    EXPECT_EQ(window->findChild<QLabel*>("lblPanelHeading")->text().toStdString(),
              ui.model.Objects(object).ObjectName.Trimmed())
        << "the panel names its object";

    emit page->Chart()->ObjectClicked(0);  // no object behind the click: nothing changes
    EXPECT_TRUE(panel->isVisible());
    window->findChild<QPushButton*>("cmdClosePoolDetails")->click();
    EXPECT_FALSE(panel->isVisible());

    // Escape closes it, and so does the chart it came from replaced: another
    // graph type, another pool, a page.
    window->SelectPoolFromGrid("BP0");
    const std::vector<std::pair<const char*, std::function<void()>>> replacements = {
        {"Escape", [&] { QTest::keyClick(page->Chart(), Qt::Key_Escape); }},
        {"graph type", [&] { emit page->GraphTypeChosen(8); }},
        {"Next Pool", [&] { page->cmdNextPool()->click(); }},
        {"page switch", [&] { window->tbsStats()->setCurrentIndex(0); }},
    };
    for (const auto& [what, replace] : replacements) {
        window->tbsStats()->setCurrentIndex(2);
        emit page->Chart()->ObjectClicked(ui.model.Pools(ui.model.CurrentPool).FirstObject);
        ASSERT_TRUE(panel->isVisible()) << what;
        replace();
        EXPECT_FALSE(panel->isVisibleTo(window.get())) << what;
    }
}

}  // namespace
}  // namespace kov::test
