// Renders every screen once under the sanitizers. With KOVGRAPH_SCREENSHOTS
// set to a folder, the pictures are saved there to be looked at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <functional>
#include <tuple>

#include "UiFixture.h"
#include "analysis/TrendViews.h"
#include "frmTrend.h"
#include "pages/ClusterPage.h"
#include "pages/DataChecksStrip.h"
#include "pages/ExpertTuningPage.h"
#include "pages/GraphicSummaryPage.h"
#include "pages/ObjectInfoPage.h"
#include "pages/PoolInfoPage.h"
#include "pages/ReportInfoPage.h"
#include "pages/SimGraphPage.h"
#include "print/ChartImage.h"
#include "sampledata/SampleGenerator.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov::test {

void SaveScreenshot(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    const QString folder = qEnvironmentVariable("KOVGRAPH_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder)) picture.save(folder + "/" + name + ".png");
}

namespace {

// One picture: the page and simulation sub-tab to show (-1 leaves them),
// then what is done on it.
struct Shot {
    const char* Name;
    int Page = -1, SimTab = -1;
    void (*Act)(frmStatAnalysis&) = nullptr;
};

void Take(frmStatAnalysis& window, std::initializer_list<Shot> shots) {
    for (const Shot& shot : shots) {
        if (shot.Page >= 0) window.tbsStats()->setCurrentIndex(shot.Page);
        if (shot.SimTab >= 0) window.SimGraphs()->tbsSimGraphs()->setCurrentIndex(shot.SimTab);
        if (shot.Act) shot.Act(window);
        SaveScreenshot(window, shot.Name);
    }
}

void ClickLastBar(ChartWidget* chart) {
    emit chart->ObjectClicked(chart->Shown().Points.back().Object);
}

TEST(Screenshots, FileSelectionAndPages) {
    UiHarness ui;
    ui.onFileSelection = [](frmSelectFiles& screen) {
        screen.resize(screen.sizeHint());
        screen.OpenStatisticsFile(SampleStat());
        screen.OpenSimulationFiles(SampleSims());
        SaveScreenshot(screen, "file-selection");
        screen.cmdNext_Click();
    };
    auto window = ui.Start();
    using W = frmStatAnalysis&;
    Take(*window,
         {{"page0-report-info"},
          {"page1-graphic-summary", 1},
          {"page2-pool-info", -1, -1, [](W w) { w.SelectPoolFromGrid("BP1"), w.tbsStats()->setCurrentIndex(2); }},
          {"page2-top-get-pages", -1, -1, [](W w) { w.PoolInfo()->SelectGraphType(6), w.RefreshPoolCharts(); }},
          {"page2-details-panel", -1, -1, [](W w) { ClickLastBar(w.PoolInfo()->Chart()); }},
          {"page3-object-info", 3, -1,
           [](W w) { w.ObjectInfo()->lvObjects()->setCurrentItem(w.ObjectInfo()->lvObjects()->topLevelItem(2)); }},
          {"page3-pages-read", -1, -1,
           [](W w) { w.ObjectInfo()->cboObjectGraphType()->setCurrentIndex(1), w.ShowObjectDetails(); }},
          {"page4-expert-tuning", 4},
          {"page4-advice-explained", -1, -1, [](W w) { w.ExpertTuning()->lstBPAnalysis()->setCurrentRow(3); }},
          {"page5-scan-cost", 5},
          {"page6-largest-work-sets", 6, 0},
          {"page6-smallest-work-sets", -1, 1},
          {"page6-optimal-pool-sizes", -1, 2},
          {"page6-largest-improvement", -1, 3},
          {"page6-io-rate-reduction", -1, -1, [](W w) { w.SimGraphs()->optGreatestImprovement(1)->click(); }},
          {"page6-pool-size-io-rate", -1, 2},
          {"page6-details-panel", -1, 0, [](W w) { ClickLastBar(w.SimGraphs()->Chart(SimGraphPage::LargestWorkSet)); }},
          {"page7-cluster-analysis", 7, -1,
           [](W w) { w.Cluster()->grdClusters()->selectRow(2), emit w.Cluster()->grdClusters()->RowChosen(2); }},
          {"page7-radius-refused", -1, -1, [](W w) { w.Cluster()->txtClusterRadius()->setText("-1"); }}});
    EXPECT_TRUE(ui.sink.Messages.empty());
}

// The strip on a report with damaged pool and object counters.
TEST(Screenshots, DataChecksStrip) {
    ReportModel model = GenerateReport(BundledSamplePlan());
    model.Pools(2).Activity.GetPages = model.Pools(2).Activity.Updates = -999999999;
    model.Objects(model.Pools(3).FirstObject).Activity.SysHitRatio = -3.5;
    UiHarness ui;
    QTemporaryDir folder;
    Take(*ui.StartWith(WriteStatFile(model, folder.filePath("damaged.sta"))),
         {{"page0-data-checks-closed"}, {"page0-data-checks-open", -1, -1, [](frmStatAnalysis& w) {
                                             w.ReportInfo()->DataChecks()->cmdDataChecks()->click();
                                         }}});
}

// Charts at the sizes that hid things: ten equal values, the lowest hit
// ratios, a pie with an empty slice and one of negative counters, and the
// graphic summary of 60 pools from top to bottom.
TEST(Screenshots, ChartsAtEverySize) {
    ReportModel model = GenerateReport(CapacityPlan());
    PoolRecord& equal = model.Pools(1);  // the capacity report's pool of 5000 objects
    for (int o = equal.FirstObject; o <= equal.LastObject; ++o) model.Objects(o).Activity.AvgSyncIOTime = 12;
    equal.Activity.GetPagesByAccess[3] = 0;
    model.Pools(2).Activity.PagesReadByType[1] = -7175;
    UiHarness ui;
    QTemporaryDir folder;
    auto window = ui.StartWith(WriteStatFile(model, folder.filePath("sixty.sta")));
    for (const auto& [pool, graphType, name] : {std::tuple{1, 19, "charts-equal-avg-sync-io"},
                                                {1, 15, "charts-lowest-sys-hit-ratio"},
                                                {1, 0, "charts-pie-zero-slice"},
                                                {2, 1, "charts-pie-negative-counters"}}) {
        window->SelectPoolFromGrid(QString::fromStdString(ui.model.Pools(pool).PoolName.TrimmedString()));
        window->tbsStats()->setCurrentIndex(2);
        window->PoolInfo()->SelectGraphType(graphType);
        window->RefreshPoolCharts();
        SaveScreenshot(*window, name);
    }
    window->tbsStats()->setCurrentIndex(1);
    window->GraphicSummary()->tbsGraphicSummary()->setCurrentIndex(0);
    QScrollBar* bar = nullptr;
    for (QWidget* up = window->GraphicSummary()->Chart(0); up && !bar; up = up->parentWidget())
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) bar = scroll->verticalScrollBar();
    ASSERT_NE(bar, nullptr);
    QApplication::processEvents();
    EXPECT_GT(bar->maximum(), 0) << "sixty pools outgrow the page";
    for (const auto& [at, name] : {std::pair{0, "top"}, {1, "middle"}, {2, "bottom"}}) {
        bar->setValue(bar->maximum() * at / 2);
        SaveScreenshot(*window, QString("charts-graphic-summary-60-") + name);
    }
}

// A month of hourly reports of three pools: BP1 grown at the 240th report
// (its hit ratio climbs after), BP2 absent for a day.
TEST(Screenshots, TrendWindow) {
    constexpr std::size_t kReports = 720;
    SystemTrend system{"SYSA/DB2P", {}, {}};
    for (std::size_t i = 0; i < kReports; ++i) {
        const auto twoDigits = [](std::size_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
        const std::string day = "2026-11-" + twoDigits(1 + i / 24), time = twoDigits(i % 24) + ":00:00";
        system.Reports.push_back({"SYSA_DB2P_" + std::to_string(i) + ".sta", system.System, day, time, 3600});
    }
    for (const auto& [name, base, lift] : {std::tuple{"BP0", 95.0, 0.0}, {"BP1", 82.0, 9.0}, {"BP2", 70.0, -3.0}}) {
        PoolTrend& pool = system.Pools.emplace_back();
        pool.Name = name;
        pool.Figures.assign(TrendFigureNames().size(), FigureSeries(kReports));
        for (std::size_t i = 0; i < kReports; ++i)
            pool.Figures[3][i] =
                std::min(99.9, base + 2 * std::sin(static_cast<double>(i) * 6.2832 / 24) + (i >= 240 ? lift : 0));
    }
    system.Pools[1].Events = {{240, "VP size 40,000 -> 60,000"}};
    for (std::size_t i = 480; i < 504; ++i) system.Pools[2].Figures[3][i].reset();
    system.Pools[2].Events = {{480, "pool disappears"}, {504, "pool appears"}};
    TrendResult result;
    result.Systems = {system};
    result.LeftOut = {{"SYSA_DB2P_broken.sta", {"The report ends before its first pool."}}};

    frmTrend window;
    window.ShowTrend(result);
    for (int row = 0; row < window.lstTrendPools()->count(); ++row)
        window.lstTrendPools()->item(row)->setCheckState(Qt::Checked);
    window.show();
    SaveScreenshot(window, "trend-hit-ratio-three-pools");
    const QImage image = ChartImage(window.chartTrendFigure()->Shown(), QSize(1000, 600));
    EXPECT_FALSE(image.isNull());
    if (const QString folder = qEnvironmentVariable("KOVGRAPH_SCREENSHOTS"); !folder.isEmpty())
        image.save(folder + "/trend-hit-ratio-image.png");
    window.tbsTrend()->setCurrentWidget(window.grdTrendEvents());
    SaveScreenshot(window, "trend-events");
}

}  // namespace
}  // namespace kov::test
