// The simulation graph page with real widgets: entering it, the number boxes
// it shares with the cluster page, the measure options and the details panel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include "UiFixture.h"
#include "analysis/SimGraphs.h"
#include "pages/ClusterPage.h"
#include "pages/SimGraphPage.h"
#include "views/PageStatus.h"
#include "widgets/ChartWidget.h"
#include "widgets/SpinButtons.h"

namespace kov::test {
namespace {

// The samples with BP1 simulated twice (the second time from a copy of its
// report), BP1 current and page 6 entered.
class SimGraphWindow : public ::testing::Test {
protected:
    UiHarness ui;
    QTemporaryDir folder;
    QString secondBP1;
    std::unique_ptr<frmStatAnalysis> window;
    SimGraphPage* page = nullptr;
    ClusterPage* cluster = nullptr;

    SimGraphWindow() {
        secondBP1 = folder.filePath("BP1-again.sim");
        QFile::copy(SamplePath("SYSA_DB2P_20261130_BP1.sim"), secondBP1);
        window = ui.StartWith(SampleStat(), SampleSims() << secondBP1);
        window->SelectPoolFromGrid("BP1");
        window->tbsStats()->setCurrentIndex(PageSimGraphAnalysis);
        page = window->SimGraphs();
        cluster = window->Cluster();
    }

    int Pool() const { return ui.model.CurrentPool; }
    const ChartData& Shown(SimGraphPage::SubTab tab) const { return page->Shown(tab); }
    void Reenter() const {
        window->tbsStats()->setCurrentIndex(PageReportInfo);
        window->tbsStats()->setCurrentIndex(PageSimGraphAnalysis);
    }
};

TEST_F(SimGraphWindow, EnteringShowsThePoolSizesWithTheHitRatio) {
    EXPECT_EQ(page->tbsSimGraphs()->currentIndex(), SimGraphPage::OptimalPoolSizes);
    EXPECT_TRUE(page->optGreatestImprovement(0)->isChecked());
    EXPECT_EQ(Shown(SimGraphPage::OptimalPoolSizes).Title, "Pool Size Versus System Hit Ratio");
    EXPECT_FALSE(page->pnlSimAnalysisDetails()->isVisible());

    page->optGreatestImprovement(1)->click();
    EXPECT_EQ(Shown(SimGraphPage::OptimalPoolSizes).Title, "Pool Size Versus Read IO Rate");
    Reenter();
    EXPECT_TRUE(page->optGreatestImprovement(0)->isChecked()) << "entering goes back to the hit ratio";
    EXPECT_EQ(Shown(SimGraphPage::OptimalPoolSizes).Title, "Pool Size Versus System Hit Ratio");
    EXPECT_TRUE(ui.sink.Messages.empty());
}

TEST_F(SimGraphWindow, BothNumberBoxesShowOneSimulation) {
    ClickSpinner(page->updnSimNo(), true);
    EXPECT_EQ(page->txtSimNo()->text(), "2");
    EXPECT_EQ(cluster->txtSimNo()->text(), "2") << "the cluster page's box follows page 6";
    EXPECT_EQ(ui.model.CurrentSimulation, 2);
    EXPECT_EQ(page->lblSimFileName()->text(), secondBP1);
    EXPECT_EQ(cluster->lblSimFileName()->text(), secondBP1);
    EXPECT_EQ(cluster->cmbPoolSize()->count(), 16);
    ClickSpinner(page->updnSimNo(), true);
    EXPECT_EQ(page->txtSimNo()->text(), "2") << "BP1 has two simulations";

    ClickSpinner(cluster->updnSimNo(), false);
    EXPECT_EQ(page->txtSimNo()->text(), "1") << "page 6's box follows the cluster page";
    ClickSpinner(cluster->updnSimNo(), false);
    EXPECT_EQ(cluster->txtSimNo()->text(), "1");
    EXPECT_EQ(page->lblSimFileName()->text(), SamplePath("SYSA_DB2P_20261130_BP1.sim"));
    EXPECT_TRUE(ui.sink.Messages.empty());
}

// The working-set charts follow the number only when the page is entered;
// a number beyond the pool's simulations empties the rest without a word.
TEST_F(SimGraphWindow, ANumberOutsideThePoolsSimulationsShowsNothing) {
    const std::vector<ChartPoint> largest = Shown(SimGraphPage::LargestWorkSet).Points;
    page->txtSimNo()->setText("5");
    EXPECT_EQ(cluster->txtSimNo()->text(), "5");
    EXPECT_EQ(ui.model.CurrentSimulation, 5);
    EXPECT_EQ(Shown(SimGraphPage::LargestWorkSet).Points, largest) << "drawn on entering only";
    EXPECT_TRUE(Shown(SimGraphPage::OptimalPoolSizes).Points.empty());
    EXPECT_TRUE(Shown(SimGraphPage::LargestImprovement).Points.empty());
    EXPECT_EQ(page->lblSimFileName()->text(), "");
    EXPECT_EQ(Headings(page->lvSimObjectDetails()), QStringList{"Pool Size"});
    EXPECT_EQ(cluster->cmbPoolSize()->count(), 0);
    Reenter();
    EXPECT_TRUE(Shown(SimGraphPage::LargestWorkSet).Points.empty());

    page->txtSimNo()->setText("x");
    EXPECT_EQ(ui.model.CurrentSimulation, 5) << "text that is no number changes nothing";
    const std::vector<Message> clusterOnly(ui.sink.Messages.size(),
                                           {"Cluster Analysis", kClusterNotApplicable, MessageIcon::Critical});
    EXPECT_EQ(ui.sink.Messages, clusterOnly) << "only the cluster analysis says it cannot run";
}

TEST_F(SimGraphWindow, AClickedBarOpensTheObjectsDetails) {
    page->tbsSimGraphs()->setCurrentIndex(SimGraphPage::LargestWorkSet);
    window->resize(1280, 800);
    QApplication::processEvents();
    ChartWidget* chart = page->Chart(SimGraphPage::LargestWorkSet);
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(page->pnlSimAnalysisDetails()->isVisible()) << "the background is no point";

    const int last = static_cast<int>(chart->Shown().Points.size()) - 1;
    ClickBar(chart, last);
    ASSERT_TRUE(page->pnlSimAnalysisDetails()->isVisible());
    const auto expected = LargestWorkSetDetails(ui.model, Pool(), 1);
    EXPECT_EQ(page->lblSimObjName()->text().toStdString(), expected->Caption);
    EXPECT_EQ(page->lvSimObjectDetails()->Model()->Table().Rows, expected->Rows);

    QTest::mouseClick(page->cmdClose(), Qt::LeftButton);
    EXPECT_FALSE(page->pnlSimAnalysisDetails()->isVisible());
    page->tbsSimGraphs()->setCurrentIndex(SimGraphPage::LargestImprovement);
    EXPECT_TRUE(page->pnlSimAnalysisDetails()->isVisible()) << "another sub-tab shows it again";
    EXPECT_EQ(page->lblSimObjName()->text().toStdString(), expected->Caption);

    ChartWidget* improvement = page->Chart(SimGraphPage::LargestImprovement);
    ClickBar(improvement, 0);
    EXPECT_EQ(page->lblSimObjName()->text().toStdString(), "Object - " + improvement->Shown().Points.front().Label);
    QTest::keyClick(page->tbsSimGraphs(), Qt::Key_Escape);
    EXPECT_FALSE(page->pnlSimAnalysisDetails()->isVisible()) << "Escape closes it";
}

}  // namespace
}  // namespace kov::test
