// Renders the screens on the samples. With KOVGRAPH_SCREENSHOTS set to a
// folder, the pictures are saved there to be looked at.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
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
#include <fstream>

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
#include "readers/ReportWriter.h"
#include "sampledata/SampleGenerator.h"
#include "widgets/ChartWidget.h"
#include "widgets/GridView.h"

namespace kov::test {

void SaveScreenshot(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    const QString folder = qEnvironmentVariable("KOVGRAPH_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        picture.save(folder + "/" + name + ".png");
    }
}

namespace {

TEST(Screenshots, FileSelectionAndPages) {
    UiHarness ui;
    ui.onFileSelection = [](frmSelectFiles& screen) {
        screen.resize(screen.sizeHint());
        screen.OpenStatisticsFile(SampleStat());
        screen.OpenSimulationFiles(SampleSims());
        SaveScreenshot(screen, "file-selection");
        screen.cmdNext_Click();
    };
    frmStatAnalysis window(ui.model, ui.sink, ui.state, ui.services);
    window.Form_Load();
    window.show();
    SaveScreenshot(window, "page0-report-info");
    window.tbsStats()->setCurrentIndex(1);
    SaveScreenshot(window, "page1-graphic-summary");
    window.SelectPoolFromGrid("BP1");
    window.tbsStats()->setCurrentIndex(2);
    SaveScreenshot(window, "page2-pool-info");
    window.PoolInfo()->SelectGraphType(6);  // Top Get Pages
    window.RefreshPoolCharts();
    SaveScreenshot(window, "page2-top-get-pages");
    emit window.PoolInfo()->Chart()->ObjectClicked(window.PoolInfo()->Chart()->Shown().Points.back().Object);
    SaveScreenshot(window, "page2-details-panel");
    window.tbsStats()->setCurrentIndex(3);
    QTreeWidget* list = window.ObjectInfo()->lvObjects();
    list->setCurrentItem(list->topLevelItem(2));
    SaveScreenshot(window, "page3-object-info");
    window.ObjectInfo()->cboObjectGraphType()->setCurrentIndex(1);
    window.ShowObjectDetails();
    SaveScreenshot(window, "page3-pages-read");
    window.tbsStats()->setCurrentIndex(4);
    SaveScreenshot(window, "page4-expert-tuning");
    window.ExpertTuning()->lstBPAnalysis()->setCurrentRow(3);
    SaveScreenshot(window, "page4-advice-explained");
    window.tbsStats()->setCurrentIndex(5);
    SaveScreenshot(window, "page5-scan-cost");
    window.tbsStats()->setCurrentIndex(6);
    SimGraphPage* sim = window.SimGraphs();
    const char* subTabs[] = {"page6-largest-work-sets", "page6-smallest-work-sets", "page6-optimal-pool-sizes",
                             "page6-largest-improvement"};
    for (int tab : {0, 1, 2, 3}) {
        sim->tbsSimGraphs()->setCurrentIndex(tab);
        SaveScreenshot(window, subTabs[tab]);
    }
    sim->optGreatestImprovement(1)->click();
    SaveScreenshot(window, "page6-io-rate-reduction");
    sim->tbsSimGraphs()->setCurrentIndex(2);
    SaveScreenshot(window, "page6-pool-size-io-rate");
    sim->tbsSimGraphs()->setCurrentIndex(0);
    ChartWidget* largest = sim->Chart(SimGraphPage::LargestWorkSet);
    emit largest->ObjectClicked(largest->Shown().Points.back().Object);
    SaveScreenshot(window, "page6-details-panel");
    window.tbsStats()->setCurrentIndex(7);
    GridView* clusters = window.Cluster()->grdClusters();
    clusters->selectRow(2);
    emit clusters->RowChosen(2);
    SaveScreenshot(window, "page7-cluster-analysis");
    window.Cluster()->txtClusterRadius()->setText("-1");
    SaveScreenshot(window, "page7-radius-refused");
    window.Cluster()->txtClusterRadius()->setText("1.2");
    EXPECT_TRUE(ui.sink.Messages.empty());
}

// The window opened on this model, written as a statistics report at path.
std::unique_ptr<frmStatAnalysis> StartOnReport(UiHarness& ui, const ReportModel& model, const QString& path) {
    {
        std::ofstream out(QFile::encodeName(path).toStdString(), std::ios::binary);
        WriteStatReport(model, out);
    }
    ui.onFileSelection = [path](frmSelectFiles& screen) {
        screen.OpenStatisticsFile(path);
        screen.cmdNext_Click();
    };
    return ui.Start();
}

// The strip opened on a report with a damaged pool line and a simulation
// that misses its pool's size.
TEST(Screenshots, DataChecksStrip) {
    QTemporaryDir folder;
    ReportModel model = GenerateReport(BundledSamplePlan());
    model.Pools(2).Activity.GetPages = -999999999;
    model.Pools(2).Activity.Updates = -999999999;
    model.Objects(model.Pools(3).FirstObject).Activity.SysHitRatio = -3.5;
    UiHarness ui;
    auto window = StartOnReport(ui, model, folder.filePath("damaged.sta"));
    SaveScreenshot(*window, "page0-data-checks-closed");
    window->ReportInfo()->DataChecks()->cmdDataChecks()->click();
    SaveScreenshot(*window, "page0-data-checks-open");
}

// Charts at the sizes that hid things: ten equal values, the lowest hit
// ratios, a pie with an empty slice and one of negative counters, and the
// graphic summary of 60 pools from top to bottom.
TEST(Screenshots, ChartsAtEverySize) {
    QTemporaryDir folder;
    ReportModel model = GenerateReport(CapacityPlan());
    const int withObjects = 1;  // the capacity report's pool of 5000 objects
    PoolRecord& equal = model.Pools(withObjects);
    for (int o = equal.FirstObject; o <= equal.LastObject; ++o) model.Objects(o).Activity.AvgSyncIOTime = 12;
    equal.Activity.GetPagesByAccess[3] = 0;
    const int damaged = withObjects + 1;
    model.Pools(damaged).Activity.PagesReadByType[1] = -7175;
    UiHarness ui;
    auto window = StartOnReport(ui, model, folder.filePath("sixty.sta"));
    const auto poolChart = [&](int pool, int graphType, const QString& name) {
        window->SelectPoolFromGrid(QString::fromStdString(ui.model.Pools(pool).PoolName.TrimmedString()));
        window->tbsStats()->setCurrentIndex(2);
        window->PoolInfo()->SelectGraphType(graphType);
        window->RefreshPoolCharts();
        SaveScreenshot(*window, name);
    };
    poolChart(withObjects, 19, "charts-equal-avg-sync-io");
    poolChart(withObjects, 15, "charts-lowest-sys-hit-ratio");
    poolChart(withObjects, 0, "charts-pie-zero-slice");
    poolChart(damaged, 1, "charts-pie-negative-counters");
    window->tbsStats()->setCurrentIndex(1);
    window->GraphicSummary()->tbsGraphicSummary()->setCurrentIndex(0);
    QWidget* chart = window->GraphicSummary()->Chart(0);
    QScrollArea* scroll = nullptr;
    for (QWidget* up = chart->parentWidget(); up && !scroll; up = up->parentWidget())
        scroll = qobject_cast<QScrollArea*>(up);
    ASSERT_NE(scroll, nullptr);
    QApplication::processEvents();
    QScrollBar* bar = scroll->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0) << "sixty pools outgrow the page";
    for (const auto& [at, name] : {std::pair{0, "top"}, std::pair{1, "middle"}, std::pair{2, "bottom"}}) {
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
        const std::string day = std::to_string(1 + i / 24), hour = std::to_string(i % 24);
        system.Reports.push_back({"SYSA_DB2P_" + std::to_string(i) + ".sta", system.System,
                                  "2026-11-" + std::string(day.size() < 2 ? "0" : "") + day,
                                  std::string(hour.size() < 2 ? "0" : "") + hour + ":00:00", 3600});
    }
    const auto pool = [&](const char* name, double base, double lift) {
        PoolTrend trend;
        trend.Name = name;
        trend.Figures.assign(TrendFigureNames().size(), FigureSeries(kReports));
        for (std::size_t i = 0; i < kReports; ++i) {
            const double daily = 2 * std::sin(static_cast<double>(i) * 6.2832 / 24);
            trend.Figures[3][i] = std::min(99.9, base + daily + (i >= 240 ? lift : 0));
        }
        return trend;
    };
    system.Pools = {pool("BP0", 95, 0), pool("BP1", 82, 9), pool("BP2", 70, -3)};
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
    const QString folder = qEnvironmentVariable("KOVGRAPH_SCREENSHOTS");
    if (!folder.isEmpty()) image.save(folder + "/trend-hit-ratio-image.png");
    window.tbsTrend()->setCurrentWidget(window.grdTrendEvents());
    SaveScreenshot(window, "trend-events");
}

}  // namespace
}  // namespace kov::test
